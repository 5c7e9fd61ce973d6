// The bodies of the kernel loops (see KernelLoops.h). Included, without an
// include guard, inside one namespace per instruction set, after defining
// ZORV_LANES (doubles per hardware vector: 2 for SSE2, 4 for AVX2) and
// ZORV_FMA (1 when fused multiply-add is available); it
// includes nothing itself, so that a target pragma around it reaches no
// library code.
//
// Every loop works on eight logical lanes held in 8/ZORV_LANES hardware
// vectors and adds the lanes in one fixed tree at the end. With ZORV_FMA set
// multiply-adds are fused, so the two builds may differ in the last bits;
// each of them always gives the same result.
//
// Exponential: Cody–Waite reduction x = n·ln 2 + r, |r| ≤ ln 2 / 2 (the
// two-part ln 2 of fdlibm), exp(r) by its Taylor polynomial of degree 13
// (truncation below 5e-18 relative), scaled by 2^n built in the exponent
// bits; arguments below −708 give 0 (their terms are far below a sum's last
// digit). Normal distribution: Abramowitz and Stegun (1964), 26.2.17, with
// the seven-digit constants of NormalCdf.

constexpr int W = ZORV_LANES;
constexpr int P = 8 / W;
using vn = double __attribute__((vector_size(W * 8)));
using vm = long long __attribute__((vector_size(W * 8)));

#define ZORV_INLINE inline __attribute__((always_inline))

ZORV_INLINE vn splat(double v) { return vn{} + v; }

// a·b + c, fused where the build has it.
ZORV_INLINE vn mad(vn a, vn b, vn c) {
#if ZORV_FMA
    return __builtin_ia32_vfmaddpd256(a, b, c);
#else
    return a * b + c;
#endif
}
ZORV_INLINE vn mad(vn a, double b, vn c) { return mad(a, splat(b), c); }
ZORV_INLINE vn mad(vn a, vn b, double c) { return mad(a, b, splat(c)); }
ZORV_INLINE vn mad(vn a, double b, double c) { return mad(a, splat(b), splat(c)); }

ZORV_INLINE vn load(const double* p) {
    vn v;
    __builtin_memcpy(&v, p, sizeof v);
    return v;
}

ZORV_INLINE void store(double* p, vn v) { __builtin_memcpy(p, &v, sizeof v); }

ZORV_INLINE vn select(vm mask, vn yes, vn no) {
    const vm y = __builtin_bit_cast(vm, yes), n = __builtin_bit_cast(vm, no);
    return __builtin_bit_cast(vn, (y & mask) | (n & ~mask));
}

// The eight logical lanes added in a fixed tree.
ZORV_INLINE double reduce(const vn (&v)[P]) {
    double l[8];
    for (int p = 0; p < P; ++p) store(l + p * W, v[p]);
    return ((l[0] + l[1]) + (l[2] + l[3])) + ((l[4] + l[5]) + (l[6] + l[7]));
}

// Lanes k of part p with j + p·W + k < end.
ZORV_INLINE vm below(std::size_t j, int p, std::size_t end) {
    vn lane = {};
    for (int k = 0; k < W; ++k) lane[k] = static_cast<double>(p * W + k);
    return lane + static_cast<double>(j) < static_cast<double>(end);
}

// exp(x) for x ≤ 0.
ZORV_INLINE vn expNegative(vn x) {
    const double magic = 6755399441055744.0;  // 1.5·2^52: rounds to an integer in the low bits
    const long long magicBits = 0x4338000000000000LL;
    const vm tiny = x < -708.0;
    const vn xc = select(tiny, splat(-708.0), x);
    const vn k = mad(xc, 1.4426950408889634, magic);
    const vn n = k - magic;
    vn r = mad(n, -6.93147180369123816490e-01, xc);
    r = mad(n, -1.90821492927058770002e-10, r);
    vn p = splat(1.0 / 6227020800.0);
    p = mad(p, r, 1.0 / 479001600.0);
    p = mad(p, r, 1.0 / 39916800.0);
    p = mad(p, r, 1.0 / 3628800.0);
    p = mad(p, r, 1.0 / 362880.0);
    p = mad(p, r, 1.0 / 40320.0);
    p = mad(p, r, 1.0 / 5040.0);
    p = mad(p, r, 1.0 / 720.0);
    p = mad(p, r, 1.0 / 120.0);
    p = mad(p, r, 1.0 / 24.0);
    p = mad(p, r, 1.0 / 6.0);
    p = mad(p, r, 0.5);
    p = mad(p, r, 1.0);
    p = mad(p, r, 1.0);
    const vm bits = ((__builtin_bit_cast(vm, k) - magicBits) + 1023) << 52;
    const vn scaled = p * __builtin_bit_cast(vn, bits);
    return __builtin_bit_cast(vn, __builtin_bit_cast(vm, scaled) & ~tiny);
}

ZORV_INLINE vn normalCdf(vn z) {
    const vm negative = z < 0.0;
    const vn az = select(negative, -z, z);
    const vn t = 1.0 / (1.0 + 0.2316419 * az);
    const vn phi = 0.3989423 * expNegative(-z * z / 2.0);
    const vn p =
        1.0 - phi * t * (0.3193815 + t * (-0.3565638 + t * (1.781478 + t * (-1.821256 + t * 1.330274))));
    return select(negative, 1.0 - p, p);
}

ZORV_INLINE vn masked(vm mask, vn v) { return __builtin_bit_cast(vn, __builtin_bit_cast(vm, v) & mask); }

ZORV_INLINE void lscvRowsImpl(const double* x, const std::uint32_t* end, std::size_t r0, std::size_t r1,
                              double invH2, bool derivative, double* out) {
    const double rootHalf = 0.70710678118654752440;
    vn accF[P] = {};
    vn accD[P] = {};
    for (std::size_t i = r0; i < r1; ++i) {
        const double xi = x[i];
        const std::size_t e = end[i];
        for (std::size_t j = i + 1; j < e; j += 8) {
            const bool full = j + 8 <= e;
            for (int p = 0; p < P; ++p) {
                const vn diff = load(x + j + p * W) - xi;
                const vn t = diff * diff * invH2;
                const vn e1 = expNegative(t * -0.25);
                const vn e2 = e1 * e1;
                vn f = (0.5 * t - 1.0) * rootHalf * e1 - 2.0 * (t - 1.0) * e2;
                vn d = {};
                if (derivative) d = t * ((rootHalf * (0.5 * t - 3.0)) * e1 - 4.0 * (t - 3.0) * e2);
                if (!full) {
                    const vm m = below(j, p, e);
                    f = masked(m, f);
                    if (derivative) d = masked(m, d);
                }
                accF[p] += f;
                if (derivative) accD[p] += d;
            }
        }
    }
    out[0] = reduce(accF);
    out[1] = derivative ? reduce(accD) : 0.0;
}

void lscvRows(const double* x, const std::uint32_t* end, std::size_t r0, std::size_t r1, double invH2,
              bool derivative, double* out) {
    if (derivative)
        lscvRowsImpl(x, end, r0, r1, invH2, true, out);
    else
        lscvRowsImpl(x, end, r0, r1, invH2, false, out);
}

void gaussRows(const double* x, const std::uint32_t* begin, const std::uint32_t* end, std::size_t r0,
               std::size_t r1, double invH, double* out) {
    for (std::size_t i = r0; i < r1; ++i) {
        const double xi = x[i];
        const std::size_t e = end[i];
        vn acc[P] = {};
        for (std::size_t j = begin[i]; j < e; j += 8) {
            for (int p = 0; p < P; ++p) {
                const vn u = (xi - load(x + j + p * W)) * invH;
                vn g = expNegative(-0.5 * (u * u));
                if (j + 8 > e) g = masked(below(j, p, e), g);
                acc[p] += g;
            }
        }
        out[i - r0] = reduce(acc);
    }
}

double gaussSum(const double* x, const double* scale, const double* weight, std::size_t j0, std::size_t j1,
                double m) {
    vn acc[P] = {};
    for (std::size_t j = j0; j < j1; j += 8) {
        for (int p = 0; p < P; ++p) {
            const std::size_t o = j + p * W;
            const vn u = (m - load(x + o)) * load(scale + o);
            vn g = load(weight + o) * expNegative(-0.5 * (u * u));
            if (j + 8 > j1) g = masked(below(j, p, j1), g);
            acc[p] += g;
        }
    }
    return reduce(acc);
}

double cdfSum(const double* x, const double* scale, const double* low, std::size_t i0, std::size_t i1,
              double v) {
    vn acc[P] = {};
    for (std::size_t i = i0; i < i1; i += 8) {
        for (int p = 0; p < P; ++p) {
            const std::size_t o = i + p * W;
            vn c = normalCdf((v - load(x + o)) * load(scale + o)) - load(low + o);
            if (i + 8 > i1) c = masked(below(i, p, i1), c);
            acc[p] += c;
        }
    }
    return reduce(acc);
}

void cdfSums(const double* x, const double* scale, const double* low, std::size_t i0, std::size_t i1,
             const double* m, std::size_t count, double* out) {
    // Each point k keeps its own sum over i in sample order; lanes run over
    // the points, so no reduction tree is involved.
    for (std::size_t k = 0; k < count; k += 8) {
        vn mk[P], acc[P] = {};
        for (int p = 0; p < P; ++p) mk[p] = load(m + k + p * W);
        for (std::size_t i = i0; i < i1; ++i) {
            const double xi = x[i], si = scale[i], li = low[i];
            for (int p = 0; p < P; ++p) acc[p] += normalCdf((mk[p] - xi) * si) - li;
        }
        for (int p = 0; p < P; ++p) store(out + k + p * W, load(out + k + p * W) + acc[p]);
    }
}

void cdfAt(const double* x, const double* scale, std::size_t i0, std::size_t i1, double v, double* out) {
    for (std::size_t i = i0; i < i1; i += W) {
        const vn c = normalCdf((v - load(x + i)) * load(scale + i));
        for (int k = 0; k < W && i + k < i1; ++k) out[i - i0 + k] = c[k];
    }
}

#undef ZORV_INLINE

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
// Exponential: table-driven Cody–Waite reduction (Tang, ACM TOMS 15, 1989)
// x = (64·n + j)·ln 2 / 64 + r, |r| ≤ ln 2 / 128, with the two-part ln 2 of
// fdlibm; e^x = 2^n · 2^(j/64) · e^r, e^r − 1 by its Taylor polynomial of
// degree 5 (truncation below 4e-17 relative) in Estrin's form, 2^(j/64) from
// a table of correctly rounded values and 2^n added into its exponent bits.
// Within 1.5 ulp of e^x for −708 ≤ x ≤ 0; arguments below −708 give exactly 0
// (their terms are far below a sum's last digit). Normal distribution:
// Abramowitz and Stegun (1964), 26.2.17, with the seven-digit constants of
// NormalCdf.

constexpr int W = ZORV_LANES;
constexpr int P = 8 / W;
using vn = double __attribute__((vector_size(W * 8)));
using vm = long long __attribute__((vector_size(W * 8)));
using vu = unsigned long long __attribute__((vector_size(W * 8)));  // bit arithmetic that wraps

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

// 2^(j/64), j = 0 … 63, correctly rounded.
alignas(64) constexpr double kExp2Sixtyfourths[64] = {
    0x1.0000000000000p+0, 0x1.02c9a3e778061p+0, 0x1.059b0d3158574p+0, 0x1.0874518759bc8p+0,
    0x1.0b5586cf9890fp+0, 0x1.0e3ec32d3d1a2p+0, 0x1.11301d0125b51p+0, 0x1.1429aaea92de0p+0,
    0x1.172b83c7d517bp+0, 0x1.1a35beb6fcb75p+0, 0x1.1d4873168b9aap+0, 0x1.2063b88628cd6p+0,
    0x1.2387a6e756238p+0, 0x1.26b4565e27cddp+0, 0x1.29e9df51fdee1p+0, 0x1.2d285a6e4030bp+0,
    0x1.306fe0a31b715p+0, 0x1.33c08b26416ffp+0, 0x1.371a7373aa9cbp+0, 0x1.3a7db34e59ff7p+0,
    0x1.3dea64c123422p+0, 0x1.4160a21f72e2ap+0, 0x1.44e086061892dp+0, 0x1.486a2b5c13cd0p+0,
    0x1.4bfdad5362a27p+0, 0x1.4f9b2769d2ca7p+0, 0x1.5342b569d4f82p+0, 0x1.56f4736b527dap+0,
    0x1.5ab07dd485429p+0, 0x1.5e76f15ad2148p+0, 0x1.6247eb03a5585p+0, 0x1.6623882552225p+0,
    0x1.6a09e667f3bcdp+0, 0x1.6dfb23c651a2fp+0, 0x1.71f75e8ec5f74p+0, 0x1.75feb564267c9p+0,
    0x1.7a11473eb0187p+0, 0x1.7e2f336cf4e62p+0, 0x1.82589994cce13p+0, 0x1.868d99b4492edp+0,
    0x1.8ace5422aa0dbp+0, 0x1.8f1ae99157736p+0, 0x1.93737b0cdc5e5p+0, 0x1.97d829fde4e50p+0,
    0x1.9c49182a3f090p+0, 0x1.a0c667b5de565p+0, 0x1.a5503b23e255dp+0, 0x1.a9e6b5579fdbfp+0,
    0x1.ae89f995ad3adp+0, 0x1.b33a2b84f15fbp+0, 0x1.b7f76f2fb5e47p+0, 0x1.bcc1e904bc1d2p+0,
    0x1.c199bdd85529cp+0, 0x1.c67f12e57d14bp+0, 0x1.cb720dcef9069p+0, 0x1.d072d4a07897cp+0,
    0x1.d5818dcfba487p+0, 0x1.da9e603db3285p+0, 0x1.dfc97337b9b5fp+0, 0x1.e502ee78b3ff6p+0,
    0x1.ea4afa2a490dap+0, 0x1.efa1bee615a27p+0, 0x1.f50765b6e4540p+0, 0x1.fa7c1819e90d8p+0,
};

// The table as integers less j·2^46: adding m·2^46 (m = 64·n + j) to entry
// j gives the bits of 2^n·2^(j/64) in one step.
struct Exp2Bits {
    long long bits[64];
};
constexpr Exp2Bits exp2Bits() {
    Exp2Bits t{};
    for (int j = 0; j < 64; ++j)
        t.bits[j] = __builtin_bit_cast(long long, kExp2Sixtyfourths[j]) - (static_cast<long long>(j) << 46);
    return t;
}
alignas(64) constexpr Exp2Bits kExp2Bits = exp2Bits();

// table[index_k] in each lane.
ZORV_INLINE vm lookup(const long long* table, vm index) {
#if ZORV_LANES == 4 && defined(__clang__)
    return __builtin_ia32_gatherq_q256(vm{}, table, index, vm{} - 1, 8);
#elif ZORV_LANES == 4
    return __builtin_ia32_gatherdiv4di(vm{}, table, index, vm{} - 1, 8);
#else
    vm v;
    for (int k = 0; k < W; ++k) v[k] = table[index[k]];
    return v;
#endif
}

// max(x, lower); a NaN x stays NaN.
ZORV_INLINE vn atLeast(vn x, double lower) {
#if ZORV_LANES == 4
    return __builtin_ia32_maxpd256(splat(lower), x);
#else
    return __builtin_ia32_maxpd(splat(lower), x);
#endif
}

// exp(x) for −708 ≤ x ≤ 0 (lanes outside give values of no meaning, never
// a fault).
ZORV_INLINE vn expInRange(vn x) {
    const double shifter = 6755399441055744.0;  // 1.5·2^52: rounds to an integer in the low bits
    // k holds m = round(64·x/ln 2) = 64·n + j in its low mantissa bits.
    const vn k = mad(x, 92.332482616893656, shifter);  // 64/ln 2
    const vn m = k - shifter;
    vn r = mad(m, -6.93147180369123816490e-01 / 64.0, x);  // exact: the high part has 32 bits
    r = mad(m, -1.90821492927058770002e-10 / 64.0, r);
    const vm kb = __builtin_bit_cast(vm, k);
    // 2^n·2^(j/64): bits 6 … 17 of m land in the exponent, bits 0 … 5 cancel.
    // In unsigned lanes: the sum carries into the sign bit by design.
    const vu bits =
        __builtin_bit_cast(vu, lookup(kExp2Bits.bits, kb & 63)) + (__builtin_bit_cast(vu, kb) << 46);
    const vn scale = __builtin_bit_cast(vn, bits);
    // e^r − 1 = r + r²·((1/2 + r/6) + r²·(1/24 + r/120)).
    const vn r2 = r * r;
    const vn q = mad(r2, mad(r, 1.0 / 120.0, 1.0 / 24.0), mad(r, 1.0 / 6.0, 0.5));
    const vn em1 = mad(r2, q, r);
    return mad(scale, em1, scale);
}

// exp(x) for x ≤ 0.
ZORV_INLINE vn expNegative(vn x) {
    const vm tiny = x < -708.0;
    return __builtin_bit_cast(vn, __builtin_bit_cast(vm, expInRange(atLeast(x, -708.0))) & ~tiny);
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

// With a = −t/4, e1 = e^a and e2 = e1² the terms of a pair are
//   f = 2·e2 − (1/√2)·e1 + 8·a·e2 − √2·a·e1
//   d = (8/√2)·a²·e1 + (12/√2)·a·e1 − 64·a²·e2 − 48·a·e2,
// so each lane keeps the six sums of e1 and e2 times 1, a and a², one
// exponential serves a pair, and the sums are combined once per call.
ZORV_INLINE void lscvRowsImpl(const double* x, const std::uint32_t* end, std::size_t r0, std::size_t r1,
                              double invH2, bool derivative, double* out) {
    const double rootHalf = 0.70710678118654752440;
    const double c = invH2 * -0.25;
    vn s0[P] = {}, s1[P] = {}, s2[P] = {};  // Σ e1, Σ a·e1, Σ a²·e1
    vn q0[P] = {}, q1[P] = {}, q2[P] = {};  // Σ e2, Σ a·e2, Σ a²·e2
    for (std::size_t i = r0; i < r1; ++i) {
        const double xi = x[i];
        const std::size_t e = end[i];
        for (std::size_t j = i + 1; j < e; j += 8) {
            const bool full = j + 8 <= e;
#pragma GCC unroll 4
            for (int p = 0; p < P; ++p) {
                const vn diff = load(x + j + p * W) - xi;
                const vn a = diff * diff * c;
                // a ≥ −75 inside the window; lanes past its end are masked.
                vn e1 = expInRange(a);
                if (!full) e1 = masked(below(j, p, e), e1);
                const vn e2 = e1 * e1;
                const vn ae1 = a * e1, ae2 = a * e2;
                s0[p] += e1;
                s1[p] += ae1;
                q0[p] += e2;
                q1[p] += ae2;
                if (derivative) {
                    s2[p] = mad(a, ae1, s2[p]);
                    q2[p] = mad(a, ae2, q2[p]);
                }
            }
        }
    }
    const double S0 = reduce(s0), S1 = reduce(s1), Q0 = reduce(q0), Q1 = reduce(q1);
    out[0] = (2.0 * Q0 - rootHalf * S0) + (8.0 * Q1 - 2.0 * rootHalf * S1);
    out[1] = derivative
                 ? (8.0 * rootHalf * reduce(s2) - 64.0 * reduce(q2)) + (12.0 * rootHalf * S1 - 48.0 * Q1)
                 : 0.0;
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
                // u²/2 ≤ 150 inside the window; lanes past its end are masked.
                vn g = expInRange(-0.5 * (u * u));
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

void expAt(const double* x, std::size_t count, double* out) {
    for (std::size_t i = 0; i < count; i += W) {
        vn v = {};
        for (int k = 0; k < W && i + k < count; ++k) v[k] = x[i + k];
        const vn e = expNegative(v);
        for (int k = 0; k < W && i + k < count; ++k) out[i + k] = e[k];
    }
}

#undef ZORV_INLINE

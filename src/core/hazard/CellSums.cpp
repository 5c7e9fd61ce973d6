#include "hazard/CellSums.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "hazard/ChunkPool.h"

namespace zorv {

namespace {

constexpr double kReach = 17.320508075688772;  // √300, the reach of the pair loop [bandwidths]
constexpr double kCramer = 1.0864348;          // κ of Cramér's inequality, rounded up
constexpr double kRootTwo = 1.4142135623730950488;
constexpr std::size_t kMaxOrder = 40;
constexpr std::size_t kCellChunk = 256;  // cells per chunk of the sums

// A kernel as Σ c·G_σ^(q): the function's (0) and the derivative's (1).
struct Term {
    double c, sigma;
    int q;
};
const std::vector<Term>& kernelTerms(int kernel) {
    static const std::vector<Term> function{{kRootTwo, kRootTwo, 2}, {-2.0, 1.0, 2}};
    static const std::vector<Term> derivative{
        {8.0 / kRootTwo, kRootTwo, 4}, {12.0 / kRootTwo, kRootTwo, 2}, {-4.0, 1.0, 4}, {-12.0, 1.0, 2}};
    return kernel == 0 ? function : derivative;
}

// K^(s)(u) for s = 0 … p−1.
void kernelDerivatives(int kernel, double u, std::size_t p, double* out) {
    std::fill(out, out + p, 0.0);
    std::array<double, kMaxOrder + 8> he{};
    for (const Term& t : kernelTerms(kernel)) {
        const double v = u / t.sigma;
        const std::size_t top = p + static_cast<std::size_t>(t.q);
        he[0] = 1.0;
        he[1] = v;
        for (std::size_t k = 1; k + 1 <= top; ++k) he[k + 1] = v * he[k] - static_cast<double>(k) * he[k - 1];
        const double g = std::exp(-0.5 * v * v);
        for (std::size_t s = 0; s < p; ++s) {
            const std::size_t j = s + static_cast<std::size_t>(t.q);
            const double sign = j % 2 ? -1.0 : 1.0;
            out[s] += t.c * sign * std::pow(t.sigma, -static_cast<double>(j)) * he[j] * g;
        }
    }
}

// Cramér's bound of |K^(k)| over |u| ≥ from.
double kernelBound(int kernel, std::size_t k, double from) {
    double b = 0.0;
    for (const Term& t : kernelTerms(kernel)) {
        const double j = static_cast<double>(k) + t.q;
        b += std::fabs(t.c) * kCramer *
             std::exp(0.5 * std::lgamma(j + 1.0) - j * std::log(t.sigma) -
                      from * from / (4.0 * t.sigma * t.sigma));
    }
    return b;
}

}  // namespace

CellSums::CellSums(const double* x, std::size_t n, double h, double target, std::size_t order)
    : x_(x), n_(n), h_(h), width_(0.5 * h) {
    const double lo = n ? x[0] : 0.0;
    const std::size_t cells = n ? static_cast<std::size_t>((x[n - 1] - lo) / width_) + 1 : 0;
    first_.assign(cells + 1, n);
    count_.assign(cells, 0.0);
    radius_ = 0.0;
    std::size_t cell = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t c = std::min(cells - 1, static_cast<std::size_t>((x[i] - lo) / width_));
        while (cell <= c) first_[cell++] = i;
        count_[c] += 1.0;
        const double centre = lo + (static_cast<double>(c) + 0.5) * width_;
        radius_ = std::max(radius_, std::fabs(x[i] - centre) / h);
    }
    while (cell < cells) first_[cell++] = n;
    // Pairs of cells k apart are at least (k − 1)·w apart: beyond these
    // offsets every pair lies past the reach of the pair loop.
    offsets_ = static_cast<std::size_t>(std::floor(kReach * h / width_)) + 2;
    pairsAt_.assign(offsets_, 0.0);
    for (std::size_t a = 0; a < cells; ++a) {
        if (count_[a] == 0.0) continue;
        pairsAt_[0] += 0.5 * count_[a] * (count_[a] - 1.0);
        for (std::size_t k = 1; k < offsets_ && a + k < cells; ++k) pairsAt_[k] += count_[a] * count_[a + k];
    }
    double counted = 0.0;
    for (const double pk : pairsAt_) counted += pk;
    const double nn = static_cast<double>(n);
    beyond_ = std::max(0.0, 0.5 * nn * (nn - 1.0) - counted);

    if (order != 0) {
        p_ = std::min(order, kMaxOrder);
    } else {
        p_ = kMaxOrder;
        for (std::size_t p = 8; p <= kMaxOrder; p += 4)
            if (boundAt(p, 0) <= target) {
                p_ = p;
                break;
            }
    }
    bound_[0] = boundAt(p_, 0);
    bound_[1] = boundAt(p_, 1);
}

double CellSums::boundAt(std::size_t p, int kernel) const {
    // (2r)^p / p! of the Lagrange remainder, times max |K^(p)| near each offset.
    const double pd = static_cast<double>(p);
    const double lead = radius_ > 0.0 ? std::exp(pd * std::log(2.0 * radius_) - std::lgamma(pd + 1.0)) : 0.0;
    double b = 0.0;
    for (std::size_t k = 0; k < offsets_; ++k) {
        if (pairsAt_[k] == 0.0) continue;
        const double from = std::max(0.0, static_cast<double>(k) * width_ / h_ - 2.0 * radius_);
        b += pairsAt_[k] * lead * kernelBound(kernel, p, from);
    }
    const double far = static_cast<double>(offsets_ - 1) * width_ / h_;
    return b + beyond_ * kernelBound(kernel, 0, far);
}

double CellSums::cost() const {
    const double p = static_cast<double>(p_);
    return static_cast<double>(n_) * p +
           static_cast<double>(cells()) * static_cast<double>(offsets_) * (0.5 * p * p + 4.0 * p);
}

bool CellSums::sums(bool derivative, double* out, const std::function<bool()>& stop) const {
    out[0] = out[1] = 0.0;
    const std::size_t C = cells(), p = p_, K = offsets_;
    if (n_ < 2) return true;
    // The kernels' derivatives at the offsets' distances.
    std::vector<double> dk(2 * K * p);
    for (std::size_t k = 0; k < K; ++k)
        for (int kernel = 0; kernel < (derivative ? 2 : 1); ++kernel)
            kernelDerivatives(kernel, static_cast<double>(k) * width_ / h_, p, &dk[(kernel * K + k) * p]);

    // The moments a_A[m] of every cell.
    const double lo = x_[0];
    std::vector<double> moments(C * p, 0.0);
    const std::size_t chunks = (C + kCellChunk - 1) / kCellChunk;
    const auto cellsOf = [C](std::size_t c) {
        return std::pair<std::size_t, std::size_t>{c * kCellChunk, std::min(C, (c + 1) * kCellChunk)};
    };
    ChunkPool& pool = ChunkPool::shared();
    if (!pool.run(
            chunks,
            [&](std::size_t c) {
                const auto [from, to] = cellsOf(c);
                for (std::size_t a = from; a < to; ++a) {
                    double* m = &moments[a * p];
                    const double centre = lo + (static_cast<double>(a) + 0.5) * width_;
                    for (std::size_t i = first_[a]; i < first_[a + 1]; ++i) {
                        const double d = (x_[i] - centre) / h_;
                        double power = 1.0;
                        for (std::size_t s = 0; s < p; ++s) {
                            m[s] += power;
                            power *= d / static_cast<double>(s + 1);
                        }
                    }
                }
            },
            stop))
        return false;

    std::vector<std::array<double, 2>> partial(chunks, {0.0, 0.0});
    const bool done = pool.run(
        chunks,
        [&](std::size_t c) {
            const auto [from, to] = cellsOf(c);
            std::vector<double> flipped(p), conv(p);
            double f = 0.0, d = 0.0;
            for (std::size_t a = from; a < to; ++a) {
                if (count_[a] == 0.0) continue;
                const double* ma = &moments[a * p];
                for (std::size_t l = 0; l < p; ++l) flipped[l] = l % 2 ? -ma[l] : ma[l];
                for (std::size_t k = 0; k < K && a + k < C; ++k) {
                    if (count_[a + k] == 0.0) continue;
                    const double* mb = &moments[(a + k) * p];
                    for (std::size_t s = 0; s < p; ++s) {
                        double v = 0.0;
                        for (std::size_t m = 0; m <= s; ++m) v += mb[m] * flipped[s - m];
                        conv[s] = v;
                    }
                    const double weight = k == 0 ? 0.5 : 1.0;
                    const double* df = &dk[k * p];
                    double vf = 0.0;
                    for (std::size_t s = 0; s < p; ++s) vf += df[s] * conv[s];
                    f += weight * vf;
                    if (derivative) {
                        const double* dd = &dk[(K + k) * p];
                        double vd = 0.0;
                        for (std::size_t s = 0; s < p; ++s) vd += dd[s] * conv[s];
                        d += weight * vd;
                    }
                }
            }
            partial[c] = {f, d};
        },
        stop);
    if (!done) return false;
    for (const auto& q : partial) {
        out[0] += q[0];
        out[1] += q[1];
    }
    // The diagonal of the ordered pairs of each cell: n·K(0) / 2.
    out[0] -= 0.5 * static_cast<double>(n_) * dk[0];
    out[1] -= derivative ? 0.5 * static_cast<double>(n_) * dk[K * p] : 0.0;
    if (!derivative) out[1] = 0.0;
    return true;
}

}  // namespace zorv

#include "hazard/LowRankPairSums.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "hazard/ChunkPool.h"

namespace zorv {

namespace {

constexpr std::size_t kPointChunk = 2048;  // sample values per chunk of the weights
constexpr std::size_t kRowChunk = 32;      // kernel rows per chunk of the quadratic form
constexpr double kRootHalf = 0.70710678118654752440;
constexpr double kReach = 17.320508075688772;  // √300: t > 300 → e^(−t/4) < 3e-33

// The terms of one pair at u = d/h, t = u²: the function's and the derivative's.
struct Terms {
    double function, derivative;
};
Terms kernels(double u) {
    const double t = u * u;
    const double e1 = std::exp(-0.25 * t), e2 = e1 * e1;
    return {(0.5 * t - 1.0) * kRootHalf * e1 - 2.0 * (t - 1.0) * e2,
            t * (kRootHalf * (0.5 * t - 3.0) * e1 - 4.0 * (t - 3.0) * e2)};
}

}  // namespace

std::size_t LowRankDegree(double range, double h) {
    if (!(range > 0.0) || !std::isfinite(range) || !(std::fabs(h) > 0.0) || !std::isfinite(h)) return 0;
    const double beta = range / (2.0 * std::fabs(h));
    const double p = std::ceil(10.0 * beta + 40.0);
    return p < 1e9 ? static_cast<std::size_t>(p) : 0;
}

bool LowRankLscv(const double* x, std::size_t n, double h, std::size_t p, bool derivative, double* out,
                 const std::function<bool()>& stop) {
    out[0] = out[1] = 0.0;
    if (n < 2 || p == 0) return true;
    const double lo = x[0], hi = x[n - 1];
    const double mid = 0.5 * (lo + hi), half = 0.5 * (hi - lo);
    const std::size_t m = p + 1;
    std::vector<double> node(m);
    for (std::size_t k = 0; k < m; ++k)
        node[k] = std::cos(std::numbers::pi * static_cast<double>(k) / static_cast<double>(p));

    // The Chebyshev moments μ_r = Σ_j T_r(s_j) of the sample mapped onto
    // [−1, 1], by the recurrence T_{r+1} = 2·s·T_r − T_{r−1}, eight values at
    // a time in per-lane sums added in a fixed order.
    const std::size_t pointChunks = (n + kPointChunk - 1) / kPointChunk;
    std::vector<double> partial(pointChunks * m, 0.0);
    bool done = ChunkPool::shared().run(
        pointChunks,
        [&](std::size_t c) {
            std::vector<double> lanes(m * 8, 0.0);
            const std::size_t j0 = c * kPointChunk, j1 = std::min(n, j0 + kPointChunk);
            for (std::size_t j = j0; j < j1; j += 8) {
                double s[8], in[8], previous[8], current[8];
                for (int l = 0; l < 8; ++l) {
                    const bool used = j + l < j1;
                    s[l] = used ? (x[j + l] - mid) / half : 0.0;
                    in[l] = used ? 1.0 : 0.0;
                    previous[l] = in[l];
                    current[l] = s[l] * in[l];
                }
                for (int l = 0; l < 8; ++l) lanes[l] += previous[l];
                for (int l = 0; l < 8; ++l) lanes[8 + l] += current[l];
                for (std::size_t r = 2; r < m; ++r) {
                    double* acc = lanes.data() + r * 8;
                    for (int l = 0; l < 8; ++l) {
                        const double next = 2.0 * s[l] * current[l] - previous[l];
                        previous[l] = current[l];
                        current[l] = next;
                        acc[l] += next;
                    }
                }
            }
            double* mu = partial.data() + c * m;
            for (std::size_t r = 0; r < m; ++r) {
                const double* v = lanes.data() + r * 8;
                mu[r] = ((v[0] + v[1]) + (v[2] + v[3])) + ((v[4] + v[5]) + (v[6] + v[7]));
            }
        },
        stop);
    if (!done) return false;
    std::vector<double> moment(m, 0.0);
    for (std::size_t c = 0; c < pointChunks; ++c)
        for (std::size_t r = 0; r < m; ++r) moment[r] += partial[c * m + r];

    // w_k = Σ_j ℓ_k(s_j) = (2/p)·c_k·Σ''_r T_r(t_k)·μ_r (c_k and the double
    // prime halve the first and last terms), T_r(t_k) = cos(π·r·k/p).
    std::vector<double> cosine(2 * p);
    for (std::size_t i = 0; i < 2 * p; ++i)
        cosine[i] = std::cos(std::numbers::pi * static_cast<double>(i) / static_cast<double>(p));
    std::vector<double> weight(m, 0.0);
    const std::size_t rowChunks = (m + kRowChunk - 1) / kRowChunk;
    done = ChunkPool::shared().run(
        rowChunks,
        [&](std::size_t c) {
            const std::size_t k1 = std::min(m, (c + 1) * kRowChunk);
            for (std::size_t k = c * kRowChunk; k < k1; ++k) {
                double sum = 0.5 * moment[0];
                std::size_t index = 0;
                for (std::size_t r = 1; r < p; ++r) {
                    index += k;
                    if (index >= 2 * p) index -= 2 * p;
                    sum += cosine[index] * moment[r];
                }
                sum += 0.5 * cosine[(p * k) % (2 * p)] * moment[p];
                weight[k] = (2.0 / static_cast<double>(p)) * (k == 0 || k == p ? 0.5 : 1.0) * sum;
            }
        },
        stop);
    if (!done) return false;

    // Σ_{k,l} w_k·K(t_k − t_l)·w_l over the upper triangle, doubled off the diagonal.
    const double beta = half / std::fabs(h);
    std::vector<Terms> rows(rowChunks, Terms{0.0, 0.0});
    done = ChunkPool::shared().run(
        rowChunks,
        [&](std::size_t c) {
            Terms acc{0.0, 0.0};
            const std::size_t k1 = std::min(m, (c + 1) * kRowChunk);
            for (std::size_t k = c * kRowChunk; k < k1; ++k) {
                double f = 0.0, d = 0.0;
                // The nodes fall with l: beyond the reach the terms are below 1e-30.
                for (std::size_t l = k + 1; l < m && beta * (node[k] - node[l]) <= kReach; ++l) {
                    const Terms t = kernels(beta * (node[k] - node[l]));
                    f += t.function * weight[l];
                    d += t.derivative * weight[l];
                }
                const Terms diagonal = kernels(0.0);
                acc.function += weight[k] * (diagonal.function * weight[k] + 2.0 * f);
                acc.derivative += weight[k] * (diagonal.derivative * weight[k] + 2.0 * d);
            }
            rows[c] = acc;
        },
        stop);
    if (!done) return false;
    Terms total{0.0, 0.0};
    for (const Terms& r : rows) {
        total.function += r.function;
        total.derivative += r.derivative;
    }
    const double nd = static_cast<double>(n);
    out[0] = 0.5 * (total.function - nd * kernels(0.0).function);
    out[1] = derivative ? 0.5 * total.derivative : 0.0;
    return true;
}

}  // namespace zorv

#pragma once
// The sums over a magnitude sample that the kernel estimator is made of,
// evaluated fast: the sample is kept sorted, pairs and neighbours too far
// apart to contribute to a double result are skipped, the inner loops run
// eight values at a time (KernelLoops.h) and the outer loops in chunks on all
// cores (ChunkPool.h). Chunks depend only on the sample and the bandwidth, and
// their partial sums are added in chunk order, so a result never changes
// between runs, thread counts or instruction sets.
//
// Sums whose loops poll for a stop return false when the stop test answered
// true (the caller raises the cancel failure).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace zorv {

class KernelSums {
public:
    using Stop = std::function<bool()>;

    // The sample in record order.
    explicit KernelSums(const std::vector<double>& sample);

    std::size_t size() const { return n_; }

    // Over the pairs i < j, with t = (x_j − x_i)²/h²:
    //   function   = Σ (0.5·t − 1)·(1/√2)·e^(−t/4) − 2·(t − 1)·e^(−t/2)
    //   derivative = Σ t·((1/√2)·(0.5·t − 3)·e^(−t/4) − 4·(t − 3)·e^(−t/2))
    // (derivative only when asked for, else 0). Pairs with t > 300 are left
    // out: their terms are below 1e-30. Where the pairs in reach outnumber
    // the work of interpolating the kernels (a wide h), the sums are
    // interpolated instead (LowRankPairSums.h).
    struct LscvParts {
        double function = 0.0;
        double derivative = 0.0;
    };
    bool lscv(double h, bool derivative, LscvParts& out, const Stop& stop) const;

    // out[i] = Σ_j exp(−0.5·((x_i − x_j)/h)²) for every sample value, in
    // record order; neighbours beyond √120·h are left out (together they
    // change a sum by less than 4e-17 of itself).
    bool densitySums(double h, std::vector<double>& out, const Stop& stop) const;

    // Σ_j exp(−0.5·((m − x_j)/h)²).
    double gaussSum(double m, double h) const;

    // The adaptive kernel: factors λ (record order) and the bandwidth h.
    void setAdaptive(const std::vector<double>& lambda, double h);
    // Σ_j (1/λ_j)·exp(−0.5·((m − x_j)/(λ_j·h))²).
    double adaptiveGaussSum(double m) const;
    // Σ_i (Φ(z_i(v)) − Φ(z_i(lower))), z_i(v) = (v − x_i)/(λ_i·h).
    double adaptiveCdfSum(double v, double lower) const;
    // The same at `count` points at once: out[k] = Σ_i (Φ(z_i(m_k)) − Φ(z_i(lower))).
    bool adaptiveCdfSums(const double* m, std::size_t count, double lower, double* out,
                         const Stop& stop) const;

private:
    const double* lowAt(double lower) const;

    std::size_t n_;
    std::vector<double> x_;              // sorted ascending, padded
    std::vector<std::uint32_t> record_;  // record index of each sorted value
    std::vector<double> ones_;           // padded
    std::vector<double> scale_;          // 1/(λ·h), sorted order, padded
    std::vector<double> weight_;         // 1/λ, sorted order, padded
    double h_ = 0.0;
    mutable double lowerCached_ = 0.0;
    mutable bool lowValid_ = false;
    mutable std::vector<double> low_;  // Φ(z_i(lower)), padded
};

}  // namespace zorv

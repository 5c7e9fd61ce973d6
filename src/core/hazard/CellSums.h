#pragma once
// The cross-validation pair sums of KernelSums::lscv for a large sample, by
// Taylor expansions of the kernels between cells instead of a loop over the
// pairs (the idea of the fast Gauss transform: L. Greengard and J. Strain,
// SIAM J. Sci. Stat. Comput. 12, 1991, here on a uniform grid in one
// dimension).
//
// The sorted sample is cut into cells of width h/2; with c_A the centre of
// cell A and δ_i = (x_i − c_A)/h (|δ_i| ≤ r, r about 1/4), the distance of a
// pair i ∈ A, j ∈ B is u = Δ + δ_j − δ_i in bandwidths, Δ = (c_B − c_A)/h,
// and a kernel K expands about Δ as
//   Σ_{i∈A, j∈B} K(u) = Σ_{s<p} K^(s)(Δ) Σ_{m+l=s} a_B[m]·(−1)^l·a_A[l],
//   a_A[m] = Σ_{i∈A} δ_i^m / m!,
// so that a pair of cells costs p² operations whatever the events in them.
// Both kernels are sums of derivatives of Gaussians: with G_σ(u) =
// e^(−u²/(2σ²)), the function's kernel is √2·G''_√2 − 2·G''_1 and the
// derivative's (8·G''''_√2 + 12·G''_√2)/√2 − 4·(G''''_1 + 3·G''_1), and
// G_σ^(k)(u) = (−1)^k σ^(−k) He_k(u/σ) G_σ(u) (He the Hermite polynomials).
//
// The error is bounded rigorously. The Lagrange remainder of the expansion
// of a pair is at most (2r)^p/p! · max |K^(p)| over [Δ − 2r, Δ + 2r], and
// Cramér's inequality |He_k(v)| e^(−v²/4) ≤ κ √(k!), κ = 1.0864348 (H. Cramér,
// Mathematical Methods of Statistics, 1946, §12.6; M. Abramowitz and
// I. A. Stegun, 22.14.17), gives |G_σ^(k)(u)| ≤ κ √(k!) σ^(−k) e^(−u²/(4σ²));
// summed over the pairs of each cell offset, with the pairs beyond the reach
// of the sums (t > 300, as the loop leaves them out) bounded by their count
// and the kernels' largest value there. The bound holds against the exact
// pair sums up to the rounding of the double arithmetic.

#include <cstddef>
#include <functional>
#include <vector>

namespace zorv {

class CellSums {
public:
    // The ascending sample x[0 … n−1] at the bandwidth h > 0. The order p is
    // the smallest of 8, 12, … 40 whose bound on the function's sum is below
    // `target` (the largest if none is), or `order` when that is not 0.
    CellSums(const double* x, std::size_t n, double h, double target, std::size_t order = 0);

    std::size_t cells() const { return count_.size(); }
    std::size_t order() const { return p_; }
    // Operations of sums() (for the choice between the ways of summing).
    double cost() const;
    // The bounds of |sums − exact pair sums| of the function and of the
    // derivative (over the pairs i < j).
    double functionBound() const { return bound_[0]; }
    double derivativeBound() const { return bound_[1]; }

    // out[0] the function's sum over the pairs i < j, out[1] the
    // derivative's (0 unless `derivative`). Cells are summed in chunks of
    // fixed size added in order, so the result does not depend on the
    // number of threads. Returns false when `stop` answered true.
    bool sums(bool derivative, double* out, const std::function<bool()>& stop) const;

private:
    double boundAt(std::size_t p, int kernel) const;

    const double* x_;
    std::size_t n_;
    double h_;
    double width_;   // of a cell [magnitude]
    double radius_;  // largest |δ|
    std::size_t offsets_;
    std::vector<std::size_t> first_;  // first sample value of each cell, and n
    std::vector<double> count_;       // values in each cell
    std::vector<double> pairsAt_;     // Σ_A n_A·n_(A+k) for each offset k
    double beyond_ = 0.0;             // pairs beyond the last offset
    std::size_t p_ = 0;
    double bound_[2] = {0.0, 0.0};
};

}  // namespace zorv

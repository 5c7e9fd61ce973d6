#pragma once
// The inner loops of the kernel estimator: Gaussian and normal-distribution
// sums over a sample, eight values at a time. They are compiled once for the
// baseline x86-64 instruction set and once for AVX2 with fused multiply-add,
// and chosen at run time. Each adds its lanes and chunks in a fixed order, so
// its results never change from run to run; the two builds may differ in the
// last bits (fused multiply-adds round once).
//
// Arrays of sample values and per-point factors must be readable eight
// values past their last used index (callers pad them).

#include <cstddef>
#include <cstdint>

namespace zorv::kernel {

struct Loops {
    // Rows r0 … r1−1 of the cross-validation sums over a sample sorted
    // ascending: for each row i the pairs j = i+1 … end[i]−1, with
    // t = (x_j − x_i)²·invH2,
    //   out[0] = Σ (0.5·t − 1)·(1/√2)·e^(−t/4) − 2·(t − 1)·e^(−t/2)
    //   out[1] = Σ t·((1/√2)·(0.5·t − 3)·e^(−t/4) − 4·(t − 3)·e^(−t/2))
    // (out[1] only when `derivative`, else 0).
    void (*lscvRows)(const double* x, const std::uint32_t* end, std::size_t r0, std::size_t r1, double invH2,
                     bool derivative, double* out);
    // out[i − r0] = Σ_{j = begin[i]}^{end[i]−1} exp(−0.5·((x_i − x_j)·invH)²) for the rows r0 … r1−1.
    void (*gaussRows)(const double* x, const std::uint32_t* begin, const std::uint32_t* end, std::size_t r0,
                      std::size_t r1, double invH, double* out);
    // Σ_{j = j0}^{j1−1} weight_j·exp(−0.5·((m − x_j)·scale_j)²).
    double (*gaussSum)(const double* x, const double* scale, const double* weight, std::size_t j0,
                       std::size_t j1, double m);
    // Σ_{i = i0}^{i1−1} (Φ((v − x_i)·scale_i) − low_i), Φ the seven-digit
    // normal distribution function.
    double (*cdfSum)(const double* x, const double* scale, const double* low, std::size_t i0, std::size_t i1,
                     double v);
    // The same for `count` points m (a multiple of 8) at once:
    // out[k] = Σ_i (Φ((m_k − x_i)·scale_i) − low_i).
    void (*cdfSums)(const double* x, const double* scale, const double* low, std::size_t i0, std::size_t i1,
                    const double* m, std::size_t count, double* out);
    // out[i − i0] = Φ((v − x_i)·scale_i).
    void (*cdfAt)(const double* x, const double* scale, std::size_t i0, std::size_t i1, double v,
                  double* out);
    // out[i] = e^(x_i) for x_i ≤ 0 by the exponential of these loops (0 below −708).
    void (*expAt)(const double* x, std::size_t count, double* out);
};

enum class Isa { Portable, Avx2Fma };

// The loops for the running processor.
const Loops& loops();
// The loops of one build; nullptr when the processor cannot run it.
const Loops* loopsFor(Isa isa);
// Makes loops() return the loops of one build (tests compare the builds);
// false, and no change, when the processor cannot run it.
bool select(Isa isa);

}  // namespace zorv::kernel

#pragma once
// Magnitudes given at a resolution (0.1, 0.01, …) and the remedy for their
// ties in kernel estimation: each magnitude replaced by a value drawn
// uniformly from its rounding interval [m − Δ/2, m + Δ/2), so the sample is
// continuous again and the least-squares cross-validation no longer
// degenerates on equal values (M. P. Wand and M. C. Jones, Kernel Smoothing,
// Chapman and Hall 1995, section 3.5, on discretised data; the same
// "jittering" is the usual practice in seismology for rounded catalogues).
// The draws come from a seeded generator, so a run repeats exactly.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zorv {

// The coarsest step of 1, 0.5, 0.1, 0.05, 0.01, 0.005, 0.001 and 0.0001
// [magnitude units] that every value is a multiple of (within 1e-9); 0 when
// none is (magnitudes computed from energies, say).
double magnitudeResolution(const std::vector<double>& magnitudes);

// The number of values equal to another value of the sample.
std::size_t tiedMagnitudes(const std::vector<double>& magnitudes);

// Each value moved to a uniform draw from [m − Δ/2, m + Δ/2); a draw below
// `lower` (the completeness threshold, itself on the grid) is reflected
// above it, so the sample keeps to m ≥ lower. The generator is the 64-bit
// Mersenne twister with the given seed, its draws turned into doubles by
// their upper 53 bits, so the values do not depend on the library's
// distributions.
void randomiseWithinRounding(std::vector<double>& magnitudes, double resolution, double lower,
                             std::uint64_t seed);

}  // namespace zorv

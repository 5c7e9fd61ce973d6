#pragma once
// Binomial and multinomial variates from a 64-bit Mersenne Twister, the same
// on every standard library (the standard distributions are not).
//
// Binomial(n, p): for n·min(p, 1−p) < 10 inversion by sequential search of
// the probability function from 0; above, the transformed rejection with
// decomposition BTRD of W. Hörmann, The generation of binomial random
// variates, J. Statist. Comput. Simul. 46 (1993) 101–110, whose expected
// cost does not grow with n. A multinomial draw of n events over bins of
// probabilities p_i is the chain of binomials n_i ~ Binomial(n − Σ_{j<i} n_j,
// p_i / Σ_{j≥i} p_j).

#include <cstdint>
#include <random>
#include <vector>

namespace zorv {

// A uniform variate in [0, 1) from the top 53 bits of a draw.
inline double unitDraw(std::mt19937_64& g) { return static_cast<double>(g() >> 11) * 0x1.0p-53; }

// A variate of Binomial(n, p); n ≥ 0, p in [0, 1].
std::int64_t binomialDraw(std::mt19937_64& g, std::int64_t n, double p);

// Fills `out` (resized to weights.size()) with a multinomial draw of n events
// over bins of probabilities proportional to `weights` (non-negative counts).
void multinomialDraw(std::mt19937_64& g, std::int64_t n, const std::vector<std::int64_t>& weights,
                     std::vector<std::int64_t>& out);

}  // namespace zorv

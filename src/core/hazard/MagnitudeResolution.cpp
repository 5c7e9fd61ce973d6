#include "hazard/MagnitudeResolution.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace zorv {

double magnitudeResolution(const std::vector<double>& m) {
    if (m.empty()) return 0.0;
    for (const double step : {1.0, 0.5, 0.1, 0.05, 0.01, 0.005, 0.001, 0.0001}) {
        const bool onGrid = std::all_of(m.begin(), m.end(), [step](double v) {
            const double k = v / step;
            return std::fabs(k - std::round(k)) <= 1e-9 * std::max(1.0, std::fabs(k));
        });
        if (onGrid) return step;
    }
    return 0.0;
}

std::size_t tiedMagnitudes(const std::vector<double>& m) {
    std::vector<double> s = m;
    std::sort(s.begin(), s.end());
    std::size_t tied = 0;
    for (std::size_t i = 0; i < s.size(); ++i)
        if ((i > 0 && s[i] == s[i - 1]) || (i + 1 < s.size() && s[i] == s[i + 1])) ++tied;
    return tied;
}

void randomiseWithinRounding(std::vector<double>& m, double resolution, double lower, std::uint64_t seed) {
    std::mt19937_64 generator(seed);
    for (double& v : m) {
        const double u = static_cast<double>(generator() >> 11) * 0x1.0p-53;  // [0, 1)
        double drawn = v + (u - 0.5) * resolution;
        if (drawn < lower) drawn = 2.0 * lower - drawn;
        v = drawn;
    }
}

}  // namespace zorv

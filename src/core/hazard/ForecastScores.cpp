#include "hazard/ForecastScores.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zorv {

namespace {
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
}

double BrierScore(const std::vector<double>& p, const std::vector<int>& happened) {
    if (p.empty()) return kNaN;
    double s = 0.0;
    for (std::size_t k = 0; k < p.size(); ++k) {
        const double d = p[k] - (happened[k] != 0 ? 1.0 : 0.0);
        s += d * d;
    }
    return s / static_cast<double>(p.size());
}

double BaseRate(const std::vector<int>& happened) {
    if (happened.empty()) return kNaN;
    double s = 0.0;
    for (const int o : happened) s += o != 0 ? 1.0 : 0.0;
    return s / static_cast<double>(happened.size());
}

double ClimatologyBrierScore(const std::vector<int>& happened) {
    const double o = BaseRate(happened);
    return o * (1.0 - o);
}

double BrierSkillScore(const std::vector<double>& p, const std::vector<int>& happened) {
    const double reference = ClimatologyBrierScore(happened);
    if (!(reference > 0.0)) return kNaN;
    return 1.0 - BrierScore(p, happened) / reference;
}

std::vector<ReliabilityBin> ReliabilityTable(const std::vector<double>& p, const std::vector<int>& happened,
                                             int bins) {
    std::vector<ReliabilityBin> out(static_cast<std::size_t>(std::max(bins, 1)));
    std::vector<double> sumP(out.size(), 0.0), sumO(out.size(), 0.0);
    const double width = 1.0 / static_cast<double>(out.size());
    for (std::size_t b = 0; b < out.size(); ++b) {
        out[b].from = static_cast<double>(b) * width;
        out[b].to = b + 1 == out.size() ? 1.0 : static_cast<double>(b + 1) * width;
    }
    for (std::size_t k = 0; k < p.size(); ++k) {
        const double v = std::clamp(p[k], 0.0, 1.0);
        // v·bins, not v/width: 0.3/0.1 is 2.9999999999999996 and would put 0.3 a bin low.
        const std::size_t b = std::min(
            out.size() - 1, static_cast<std::size_t>(std::floor(v * static_cast<double>(out.size()))));
        ++out[b].count;
        sumP[b] += v;
        sumO[b] += happened[k] != 0 ? 1.0 : 0.0;
    }
    for (std::size_t b = 0; b < out.size(); ++b) {
        const double n = out[b].count;
        out[b].meanForecast = n > 0 ? sumP[b] / n : kNaN;
        out[b].observedFrequency = n > 0 ? sumO[b] / n : kNaN;
    }
    return out;
}

double ExpectedEventCount(const std::vector<double>& p) {
    double s = 0.0;
    for (const double v : p) s += v >= 1.0 ? std::numeric_limits<double>::infinity() : -std::log1p(-v);
    return s;
}

double PoissonCdf(int k, double mean) {
    if (k < 0) return 0.0;
    if (!(mean > 0.0)) return 1.0;
    if (std::isinf(mean)) return 0.0;
    // Terms e^(−μ)·μ^i/i! in logarithms, so that large counts do not overflow.
    double s = 0.0;
    const double logMean = std::log(mean);
    for (int i = 0; i <= k; ++i) s += std::exp(-mean + i * logMean - std::lgamma(i + 1.0));
    return std::min(1.0, s);
}

NumberTest PoissonNumberTest(double expected, int observed) {
    NumberTest t;
    t.expected = expected;
    t.observed = observed;
    t.atLeast = 1.0 - PoissonCdf(observed - 1, expected);
    t.atMost = PoissonCdf(observed, expected);
    return t;
}

}  // namespace zorv

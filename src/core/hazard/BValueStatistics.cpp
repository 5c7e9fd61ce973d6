#include "hazard/BValueStatistics.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zorv {

namespace {
constexpr double kLn10 = 2.30258509299404568402;
constexpr double kLog10e = 0.43429448190325182765;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
}  // namespace

SampleMoments sampleMoments(std::span<const double> m) {
    SampleMoments out;
    out.n = m.size();
    if (m.empty()) return out;
    double sum = 0.0;
    for (double v : m) sum += v;
    out.mean = sum / static_cast<double>(m.size());
    double ss = 0.0;
    for (double v : m) ss += (v - out.mean) * (v - out.mean);
    out.sumSquares = ss;
    return out;
}

double akiUtsuB(std::span<const double> m, double mc, double binWidth, std::size_t* used) {
    const double threshold = mc - binWidth / 2.0;
    // Binned magnitudes lie on the bin centres only up to rounding.
    const double take = binWidth > 0.0 ? threshold : mc;
    double sum = 0.0;
    std::size_t n = 0;
    for (double v : m)
        if (v >= take) {
            sum += v;
            ++n;
        }
    if (used) *used = n;
    if (n < 2) return 0.0;
    const double excess = sum / static_cast<double>(n) - threshold;
    return excess > 0.0 ? kLog10e / excess : 0.0;
}

BinnedB tintiMulargiaB(double meanAboveMc, std::size_t n, double binWidth) {
    BinnedB out;
    out.n = n;
    if (!(binWidth > 0.0) || n < 2 || !(meanAboveMc > 0.0)) {
        out.b = out.standardError = kNaN;
        return out;
    }
    const double ratio = binWidth / meanAboveMc;
    out.b = std::log1p(ratio) / (kLn10 * binWidth);
    const double p = 1.0 / (1.0 + ratio);
    out.standardError = (1.0 - p) / (kLn10 * binWidth * std::sqrt(static_cast<double>(n) * p));
    return out;
}

BinnedB tintiMulargiaB(std::span<const double> m, double mc, double binWidth) {
    const double take = mc - binWidth / 2.0;
    double sum = 0.0;
    std::size_t n = 0;
    for (double v : m)
        if (v >= take) {
            sum += v;
            ++n;
        }
    return tintiMulargiaB(n > 0 ? sum / static_cast<double>(n) - mc : 0.0, n, binWidth);
}

double akiStandardError(double b, std::size_t n) {
    return n > 0 ? b / std::sqrt(static_cast<double>(n)) : 0.0;
}

double shiBoltStandardError(double b, const SampleMoments& s) {
    if (s.n < 2) return 0.0;
    const double n = static_cast<double>(s.n);
    return kLn10 * b * b * std::sqrt(s.sumSquares / (n * (n - 1.0)));
}

double shiBoltStandardError(double b, std::span<const double> m) {
    return shiBoltStandardError(b, sampleMoments(m));
}

double truncatedFisherInformation(double beta, double range) {
    if (!(beta > 0.0) || !(range > 0.0)) return 0.0;
    const double x = beta * range;
    // 1 − x² / (4 sinh²(x/2)) loses every digit for small x: its series.
    if (x < 1e-3) return range * range * (1.0 / 12.0 - x * x / 240.0);
    // Past x ≈ 1400 sinh overflows and the second term is 0 anyway.
    if (x > 700.0) return 1.0 / (beta * beta);
    const double s = std::sinh(x / 2.0);
    return 1.0 / (beta * beta) - range * range / (4.0 * s * s);
}

double truncatedBetaStandardError(double beta, double range, std::size_t n) {
    const double info = truncatedFisherInformation(beta, range);
    if (n == 0 || !(info > 0.0)) return 0.0;
    return 1.0 / std::sqrt(static_cast<double>(n) * info);
}

BPositive bPositive(std::span<const double> m, double threshold, double binWidth) {
    BPositive out;
    const double take = binWidth > 0.0 ? threshold - binWidth / 2.0 : threshold;
    double sum = 0.0;
    std::size_t n = 0;
    for (std::size_t i = 1; i < m.size(); ++i) {
        const double d = m[i] - m[i - 1];
        if (d >= take) {
            sum += d;
            ++n;
        }
    }
    out.differences = n;
    if (n < 2) return out;
    const double excess = sum / static_cast<double>(n) - threshold;
    if (!(excess > 0.0)) return out;
    out.b = binWidth > 0.0 ? std::log10(1.0 + binWidth / excess) / binWidth : kLog10e / excess;
    out.standardError = akiStandardError(out.b, n);
    return out;
}

double utsuDeltaAic(double b1, std::size_t n1, double b2, std::size_t n2) {
    if (!(b1 > 0.0) || !(b2 > 0.0) || n1 == 0 || n2 == 0) return kNaN;
    const double N1 = static_cast<double>(n1), N2 = static_cast<double>(n2), N = N1 + N2;
    return -2.0 * N * std::log(N) + 2.0 * N1 * std::log(N1 + N2 * b1 / b2) +
           2.0 * N2 * std::log(N1 * b2 / b1 + N2) - 2.0;
}

double utsuProbability(double b1, std::size_t n1, double b2, std::size_t n2) {
    return std::exp(-utsuDeltaAic(b1, n1, b2, n2) / 2.0 - 2.0);
}

double utsuLikelihoodRatioPValue(double b1, std::size_t n1, double b2, std::size_t n2) {
    const double statistic = utsuDeltaAic(b1, n1, b2, n2) + 2.0;
    if (std::isnan(statistic)) return kNaN;
    // Rounding can leave the statistic a hair below 0 for equal b-values.
    return std::erfc(std::sqrt(std::max(statistic, 0.0) / 2.0));
}

}  // namespace zorv

#include "hazard/NonParametricHazard.h"

#include <algorithm>
#include <cmath>

#include "hazard/HazardErrors.h"
#include "hazard/KernelSums.h"
#include "hazard/MaximumMagnitude.h"
#include "hazard/Numerics.h"
#include "text/NumberFormat.h"

namespace zorv {

namespace {
constexpr double kRootHalf = 0.70710678118654752440;      // 1/√2
constexpr double kInvRootTwoPi = 0.39894228040143267794;  // 1/√(2π)
}  // namespace

NonParametricHazard::NonParametricHazard(const AnalysisSettings& settings, Table* dataset, double requestedH,
                                         double requestedMMax, Options options, Progress* progress,
                                         Construction construction)
    : HKernel(settings, dataset, progress),
      requestedH(requestedH),
      requestedMMax(requestedMMax),
      options(options) {
    RandomiseTies();
    if (construction == Construction::SampleOnly) return;
    SettleSmoothingFactor();
    BuildAdaptiveKernel();
    EstimateMaximumMagnitude();
}

NonParametricHazard::NonParametricHazard(const AnalysisSettings& settings, const std::vector<double>& sample,
                                         double requestedH, double requestedMMax, Options options,
                                         Construction construction)
    : HKernel(settings, nullptr), requestedH(requestedH), requestedMMax(requestedMMax), options(options) {
    if (sample.empty()) throw ENoRecords();
    x = sample;
    largestObserved = *std::max_element(x.begin(), x.end());
    smallestObserved = *std::min_element(x.begin(), x.end());
    if (construction == Construction::SampleOnly) return;
    SettleSmoothingFactor();
    BuildAdaptiveKernel();
    EstimateMaximumMagnitude();
}

NonParametricHazard::~NonParametricHazard() = default;

KernelSums& NonParametricHazard::Sums() const {
    if (!sums) sums = std::make_unique<KernelSums>(x);
    return *sums;
}

void NonParametricHazard::Inform(const std::string& title, const std::string& text, bool error) const {
    if (progressWindow) progressWindow->inform(title, text, error);
}

ScaleHints NonParametricHazard::GetScaleHints() const {
    ScaleHints hints;
    hints.H = requestedH;
    hints.MMaxEst = requestedMMax;
    hints.VariableUpperLimit = VariableUpperLimit();
    return hints;
}

// ---- cross-validation

void NonParametricHazard::EvaluateLscv(double at, bool derivative) const {
    if (lscv.valid && lscv.h == at && (lscv.hasDerivative || !derivative)) return;
    const double n = static_cast<double>(x.size());
    LscvValue v;
    v.h = at;
    v.valid = true;
    v.hasDerivative = derivative;
    if (std::isnan(at)) {
        v.function = v.derivative = at;
    } else {
        KernelSums::LscvParts parts;
        if (!Sums().lscv(at, derivative, parts, [this] { return IsCancelled(); })) throw EBreakProcess();
        v.function = n * (2.0 - kRootHalf) - 2.0 * n + 2.0 * parts.function;
        v.derivative = parts.derivative / at;
    }
    lscv = v;
}

double NonParametricHazard::LscvFunction(double at) const {
    EvaluateLscv(at, newtonSearch);
    return lscv.function;
}

double NonParametricHazard::LscvDerivative(double at) const {
    EvaluateLscv(at, true);
    if (lscv.derivative == 0.0) throw EDerivZero();
    return lscv.derivative;
}

void NonParametricHazard::SettleSmoothingFactor() {
    h = requestedH;
    if (requestedH != -1.0) return;
    const AnalysisSettings& s = settings_;
    const StepMonitor monitor = [this](int step) {
        SetProgressPosition(step);
        CheckCancel();
    };
    const RealFunction f = [this](double at) { return LscvFunction(at); };
    bool found = false;
    if (s.UseRTNI) {
        StartProgress("Poszukiwanie optymalnego współczynnika gładkości (RTNI)", 0, s.Iterations);
        newtonSearch = true;
        try {
            h = RTNI(
                f, [this](double at) { return LscvDerivative(at); }, s.RTNIStart, s.Epsilon, s.Iterations,
                monitor);
            found = true;
        } catch (const EBreakProcess&) {
            newtonSearch = false;
            throw;
        } catch (const HazardError&) {
        }
        newtonSearch = false;
    }
    if (s.UseRTMI && !found) {
        StartProgress("Poszukiwanie optymalnego współczynnika gładkości (RTMI)", 0, s.Iterations);
        try {
            h = RTMI(f, s.RTMIStart, s.RTMIEnd, s.Epsilon, s.Iterations, monitor);
            found = true;
        } catch (const EBreakProcess&) {
            throw;
        } catch (const HazardError&) {
        }
    }
    const std::string alternative = formatGeneral(s.H, s.UserLocale);
    if (!s.UseRTNI && !s.UseRTMI) {
        Inform("Wyłączone użycie procedur RTNI / RTMI",
               "Wyłączone użycie procedur RTNI / RTMI. Zostanie wybrany alternatywny współczynnik gładkości "
               "h = " +
                   alternative + ".",
               false);
        h = s.H;
        found = true;
    }
    if (!found) {
        Inform("Nie odnaleziono optymalnego współczynnika gładkości",
               "Program nie mógł odnaleźć optymalnego współczynnika gładkości dla badanej próby. Zostanie "
               "wybrany "
               "alternatywny współczynnik h = " +
                   alternative + ".",
               true);
        h = s.H;
    }
    requestedH = h;
}

// ---- adaptive kernel

void NonParametricHazard::BuildAdaptiveKernel() {
    const std::size_t n = x.size();
    StartProgress("Tworzenie jądra adaptacyjnego", 0, static_cast<int>(2 * n));
    try {
        // A factor that is not positive makes every density meaningless.
        if (!(h > 0.0) || !std::isfinite(h)) throw EHFactorBelowZero();
        std::vector<double> density;
        if (!Sums().densitySums(h, density, [this] { return IsCancelled(); })) throw EBreakProcess();
        const double scale = 1.0 / (static_cast<double>(n) * h);
        double logSum = 0.0;
        for (std::size_t i = 0; i < n; ++i) {
            density[i] = scale * (density[i] * kInvRootTwoPi);
            SetProgressPosition(static_cast<int>(i));
            CheckCancel();
            if (!(density[i] > 0.0) || !std::isfinite(density[i]))
                throw AnalysisError(
                    "Gęstość estymatora jądrowego w punkcie próby nie jest dodatnią liczbą skończoną");
            logSum += std::log(density[i]);
        }
        g = std::exp(logSum / static_cast<double>(n));
        lambda.resize(n);
        for (std::size_t i = 0; i < n; ++i) {
            SetProgressPosition(static_cast<int>(n + i));
            CheckCancel();
            lambda[i] = 1.0 / std::sqrt(density[i] / g);
            if (!std::isfinite(lambda[i]) || !(lambda[i] > 0.0))
                throw AnalysisError(
                    "Lokalny współczynnik szerokości jądra nie jest dodatnią liczbą skończoną");
        }
        Sums().setAdaptive(lambda, h);
        cdfDenominatorValid = false;
    } catch (const EBreakProcess&) {
        throw;
    } catch (const std::exception&) {
        Inform("Problem...",
               "Wystąpił problem przy obliczaniu jądra adaptacyjnego [ H=" +
                   formatGeneral(h, settings_.UserLocale) + "]. Proces wstrzymany...",
               true);
        throw;
    }
}

double NonParametricHazard::KernelDensity(double m) const {
    const double n = static_cast<double>(x.size());
    return (1.0 / (n * h)) * (Sums().gaussSum(m, h) * kInvRootTwoPi);
}

double NonParametricHazard::AdaptiveKernelDensity(double m) const {
    const double n = static_cast<double>(x.size());
    return (1.0 / (n * h)) * (Sums().adaptiveGaussSum(m) * kInvRootTwoPi);
}

double NonParametricHazard::CdfDenominator(double lower, double upper) const {
    if (!cdfDenominatorValid || cdfLower != lower || cdfUpper != upper) {
        cdfDenominator = Sums().adaptiveCdfSum(upper, lower);
        cdfLower = lower;
        cdfUpper = upper;
        cdfDenominatorValid = true;
    }
    return cdfDenominator;
}

double NonParametricHazard::AdaptiveKernelCdf(double m, double lower, double upper) const {
    if (m < lower) return 0.0;
    if (m > upper) return 1.0;
    return Sums().adaptiveCdfSum(m, lower) / CdfDenominator(lower, upper);
}

// ---- maximum magnitude

void NonParametricHazard::EstimateMaximumMagnitude() {
    if (requestedMMax != -1.0) {
        mMaxEst = requestedMMax;
        return;
    }
    const AnalysisSettings& s = settings_;
    StartProgress("Obliczanie estymatora maksymalnej magnitudy", 0, s.Iterations);
    MMaxIteration it;
    it.lower = mMin;
    it.largestObserved = largestObserved;
    it.sampleSize = SampleSize();
    it.epsilon = s.Epsilon;
    it.passLimit = s.IntegralIterations;
    it.valueLimit = s.MMaxLimit;
    it.variableUpperLimit = VariableUpperLimit();
    MMaxMonitor monitor;
    monitor.pass = [this](int k) {
        SetProgressPosition(k);
        CheckCancel();
    };
    monitor.next = [this, &s](double estimate) {
        mMaxEst = estimate;
        StartProgress("Obliczanie MMaxEst (" + formatMask(estimate, "0.000000", s.UserLocale) + ")", 0,
                      s.Iterations);
    };
    std::vector<double> sumsAt;
    const TruncatedDistribution F = [&](double upper, const double* m, double* out, std::size_t count) {
        sumsAt.resize(count);
        if (!Sums().adaptiveCdfSums(m, count, mMin, sumsAt.data(), [this] { return IsCancelled(); }))
            throw EBreakProcess();
        const double denominator = CdfDenominator(mMin, upper);
        for (std::size_t k = 0; k < count; ++k)
            out[k] = m[k] < mMin ? 0.0 : m[k] > upper ? 1.0 : sumsAt[k] / denominator;
    };
    mMaxEst = IterateMMax(it, F, monitor);
    requestedMMax = mMaxEst;
}

}  // namespace zorv

#include "spatial/NodeEstimator.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "hazard/BValueStatistics.h"
#include "hazard/HazardErrors.h"
#include "hazard/NonParametricBootstrap.h"
#include "hazard/NonParametricHazard.h"
#include "hazard/ParametricBootstrap.h"
#include "hazard/TimeVariations.h"
#include "spatial/RateRatio.h"

namespace zorv {

namespace {

using Q = MapQuantity;
constexpr double kDaysPerYear = 365.25;
constexpr double kInfinity = std::numeric_limits<double>::infinity();

std::size_t at(Q q) { return static_cast<std::size_t>(q); }

bool asked(const HazardMapParameters& p, Q q) {
    return std::find(p.quantities.begin(), p.quantities.end(), q) != p.quantities.end();
}

bool needsThreshold(Q q) { return q != Q::Count && q != Q::Energy && q != Q::LogEnergy && q != Q::Mc; }

// The kernel estimator on a node's magnitudes (all at or above the
// threshold), its smoothing factor searched as for one selection.
class NodeKernel : public NonParametricHazard {
public:
    NodeKernel(const AnalysisSettings& settings, const std::vector<double>& sample, bool variableUpperLimit)
        : NonParametricHazard(settings, sample, -1.0, -1.0,
                              {0, 0, static_cast<std::uint8_t>(variableUpperLimit)}) {}
    bool WriteReport(ReportLines&) override { return false; }
};

// The settings of the node's estimators: the threshold as MMin, the map's
// minimum as the smallest sample, nothing shown.
AnalysisSettings nodeSettings(const NodeContext& c, double threshold) {
    AnalysisSettings s = c.settings;
    s.MMin = threshold;
    s.MinSampleSize = c.parameters.sampling.minEvents;
    s.WithProgress = false;
    return s;
}

// The node's sample above the threshold and what the normalisation makes
// of its counts.
struct Exposure {
    std::vector<double> magnitudes;  // ≥ threshold, record order
    double years = 0.0;              // the rate's divisor [year × reference areas]
    double timeUnits = 0.0;          // the hazard's divisor [time unit × reference areas]
    std::string failure;             // why there is no rate
};

Exposure exposureOf(const NodeEvents& e, const NodeContext& c, double threshold) {
    const HazardMapParameters& p = c.parameters;
    Exposure x;
    double first = 0.0, last = 0.0;
    for (std::size_t i = 0; i < e.magnitudes.size(); ++i) {
        if (!(e.magnitudes[i] >= threshold)) continue;
        // As the estimators read a sample: the span from its first event to
        // its last in record order.
        if (x.magnitudes.empty()) first = e.days[i];
        last = e.days[i];
        x.magnitudes.push_back(e.magnitudes[i]);
    }
    if (p.normalisation == MapNormalisation::AreaAndTime) {
        const double areas = e.area / p.referenceArea;
        x.years = c.spanDays / kDaysPerYear * areas;
        x.timeUnits = timeUnitCount(c.spanDays, p.unit) * areas;
    } else {
        x.years = (last - first) / kDaysPerYear;
        x.timeUnits = timeUnitCount(last - first, p.unit);
    }
    if (!(x.timeUnits > 0.0) || !(x.years > 0.0)) x.failure = ESamplePeriodTooShort().what();
    return x;
}

// The quantities that need neither β nor the kernel, for the node and for
// each of its bootstrap replicates.
struct Basic {
    std::array<double, kMapQuantityCount> value;
    std::array<std::string, kMapQuantityCount> failure;
    double bError = kNoValue, bPositiveError = kNoValue, threshold = kNoValue;
    Basic() { value.fill(kNoValue); }
};

void fail(Basic& b, const HazardMapParameters& p, const std::string& why, bool thresholdOnly) {
    for (Q q : p.quantities)
        if ((!thresholdOnly || needsThreshold(q)) && std::isnan(b.value[at(q)]) && b.failure[at(q)].empty())
            b.failure[at(q)] = why;
}

Basic evaluateBasic(const NodeEvents& e, const NodeContext& c, Exposure* exposure) {
    const HazardMapParameters& p = c.parameters;
    const AnalysisSettings& s = c.settings;
    Basic r;
    const double n = static_cast<double>(e.magnitudes.size());
    r.value[at(Q::Count)] = n;
    const double energy = std::accumulate(e.energies.begin(), e.energies.end(), 0.0);
    const double energyDivisor = p.normalisation == MapNormalisation::AreaAndTime
                                     ? c.spanDays / kDaysPerYear * e.area / p.referenceArea
                                     : 1.0;
    if (energyDivisor > 0.0) {
        r.value[at(Q::Energy)] = energy / energyDivisor;
        if (energy > 0.0) r.value[at(Q::LogEnergy)] = std::log10(energy / energyDivisor);
    }

    const bool wantMc =
        asked(p, Q::Mc) || (p.threshold == MapThreshold::NodeCompleteness &&
                            std::any_of(p.quantities.begin(), p.quantities.end(), needsThreshold));
    std::optional<double> mc;
    if (wantMc) {
        mc = WindowCompletenessMagnitude(e.magnitudes, WindowCompleteness{true, p.mcMethod, p.mcBinWidth});
        if (mc) r.value[at(Q::Mc)] = *mc;
    }
    if (!mc && asked(p, Q::Mc)) r.failure[at(Q::Mc)] = kNoCompleteness;
    if (p.threshold == MapThreshold::NodeCompleteness && !mc) {
        fail(r, p, kNoCompleteness, true);
        return r;
    }
    const double threshold = p.threshold == MapThreshold::MMin ? s.MMin : std::max(*mc, s.MMin);
    r.threshold = threshold;
    Exposure x = exposureOf(e, c, threshold);
    const double above = static_cast<double>(x.magnitudes.size());
    if (x.failure.empty()) r.value[at(Q::Rate)] = above / x.years;
    if (x.magnitudes.size() < static_cast<std::size_t>(p.sampling.minEvents)) {
        fail(r, p, kTooFewAbove, true);
        if (exposure) *exposure = std::move(x);
        return r;
    }
    // Aki–Utsu over the magnitudes its bin rule takes; the Shi–Bolt error
    // over the same ones.
    const double take = p.bBinWidth > 0.0 ? threshold - p.bBinWidth / 2.0 : threshold;
    std::vector<double> used;
    for (double m : e.magnitudes)
        if (m >= take) used.push_back(m);
    const double b = akiUtsuB(used, threshold, p.bBinWidth);
    if (b > 0.0) {
        r.value[at(Q::BValue)] = b;
        r.bError = shiBoltStandardError(b, used);
        const double count = p.normalisation == MapNormalisation::AreaAndTime ? r.value[at(Q::Rate)] : above;
        if (count > 0.0) r.value[at(Q::AValue)] = std::log10(count) + b * threshold;
    }
    const BPositive plus = bPositive(x.magnitudes, p.bPositiveDelta, p.bBinWidth);
    if (plus.b > 0.0) {
        r.value[at(Q::BPositive)] = plus.b;
        r.bPositiveError = plus.standardError;
    }
    if (!(b > 0.0)) r.failure[at(Q::BValue)] = r.failure[at(Q::AValue)] = "Brak oszacowania b";
    if (!(plus.b > 0.0)) r.failure[at(Q::BPositive)] = "Brak oszacowania b";
    if (!x.failure.empty()) {
        r.failure[at(Q::Rate)] = x.failure;
        if (std::isnan(r.value[at(Q::AValue)])) r.failure[at(Q::AValue)] = x.failure;
    }
    if (exposure) *exposure = std::move(x);
    return r;
}

// The note of an estimator's failure; the user's stop passes on.
std::string failureText() {
    try {
        throw;
    } catch (const EBreakProcess&) {
        throw;
    } catch (...) {
        return TimeVariationsNote(std::current_exception());
    }
}

NodeEvents replicateOf(const NodeEvents& e, std::vector<std::uint32_t> pick) {
    // Record order, as b-positive and the sample's span read it.
    std::sort(pick.begin(), pick.end());
    NodeEvents r;
    r.area = e.area;
    for (std::uint32_t i : pick) {
        r.magnitudes.push_back(e.magnitudes[i]);
        r.energies.push_back(e.energies[i]);
        r.days.push_back(e.days[i]);
    }
    return r;
}

BootstrapOptions nodeBootstrap(const HazardMapParameters& p, std::uint64_t node) {
    BootstrapOptions o = p.bootstrap;
    // The nodes run in parallel already; each draws its own streams.
    o.threads = 1;
    o.seed ^= (node + 1) * 0x9e3779b97f4a7c15ULL;
    return o;
}

}  // namespace

NodeResult EvaluateNode(const NodeEvents& e, const NodeContext& c, std::uint64_t node, const StopTest& stop) {
    const HazardMapParameters& p = c.parameters;
    NodeResult r;
    if (e.magnitudes.size() < static_cast<std::size_t>(p.sampling.minEvents)) {
        r.value[at(Q::Count)] = static_cast<double>(e.magnitudes.size());
        for (Q q : p.quantities)
            if (q != Q::Count) r.failure[at(q)] = kTooFewEvents;
        return r;
    }
    Exposure x;
    Basic basic = evaluateBasic(e, c, &x);
    r.value = basic.value;
    r.failure = basic.failure;
    r.bError = basic.bError;
    r.bPositiveError = basic.bPositiveError;
    r.threshold = basic.threshold;
    r.above = static_cast<int>(x.magnitudes.size());
    const bool sampleReady = !std::isnan(r.threshold) && r.above >= p.sampling.minEvents;
    const auto check = [&stop] {
        if (stop && stop()) throw EBreakProcess();
    };
    const auto step = [&check](int) { check(); };

    const bool parametric = std::any_of(p.quantities.begin(), p.quantities.end(), needsParametric);
    const bool kernel = std::any_of(p.quantities.begin(), p.quantities.end(), needsNonParametric);
    const double m = p.magnitude, D = p.duration;
    const bool bands = p.bootstrap.enabled;
    const auto failAll = [&](bool (*family)(Q), const std::string& why) {
        for (Q q : p.quantities)
            if (family(q) && r.failure[at(q)].empty()) r.failure[at(q)] = why;
    };
    if (parametric && sampleReady) {
        try {
            const AnalysisSettings s = nodeSettings(c, r.threshold);
            const int n = r.above;
            const std::vector<double>& xs = x.magnitudes;
            // As the parametric analysis of one selection estimates them.
            const double meanExcess = std::accumulate(xs.begin(), xs.end(), 0.0) / n - r.threshold;
            const double largest = *std::max_element(xs.begin(), xs.end());
            const JointEstimate j =
                EstimateBetaMMax(meanExcess, largest, n, r.threshold, s, p.variableUpperLimit, check);
            r.value[at(Q::MMaxParametric)] = j.mMax;
            if (!x.failure.empty()) {
                r.failure[at(Q::Hazard)] = r.failure[at(Q::ReturnPeriod)] = x.failure;
            } else {
                const ParametricModel model{r.threshold, j.beta, j.mMax, n / x.timeUnits};
                r.value[at(Q::Hazard)] = model.hazard(m, D);
                const double t = model.returnPeriod(m);
                if (t < kInfinity)
                    r.value[at(Q::ReturnPeriod)] = t;
                else
                    r.failure[at(Q::ReturnPeriod)] = "Magnituda m powyżej MMax";
            }
            if (bands) {
                const ParametricBands b = BootstrapParametric(
                    xs, r.threshold, x.timeUnits, s, p.variableUpperLimit, nodeBootstrap(p, node), step);
                r.band[at(Q::MMaxParametric)] = b.of([](const ParametricModel& v) { return v.mMax; });
                if (x.failure.empty()) {
                    r.band[at(Q::Hazard)] = b.of([m, D](const ParametricModel& v) { return v.hazard(m, D); });
                    r.band[at(Q::ReturnPeriod)] =
                        b.of([m](const ParametricModel& v) { return v.returnPeriod(m); });
                }
            }
        } catch (...) {
            failAll(needsParametric, failureText());
        }
    }
    if (kernel && sampleReady) {
        try {
            const AnalysisSettings s = nodeSettings(c, r.threshold);
            check();
            const NodeKernel k(s, x.magnitudes, p.variableUpperLimit);
            r.smoothing = k.SmoothingFactor();
            r.value[at(Q::MMaxNonParametric)] = k.MMaxEst();
            NonParametricReplicate estimate;
            estimate.rate = x.failure.empty() ? r.above / x.timeUnits : 0.0;
            estimate.cdf = {k.AdaptiveKernelCdf(m, r.threshold, k.MMaxEst())};
            if (!x.failure.empty()) {
                r.failure[at(Q::NpHazard)] = r.failure[at(Q::NpReturnPeriod)] = x.failure;
            } else {
                r.value[at(Q::NpHazard)] = estimate.hazard(0, D);
                const double t = estimate.returnPeriod(0);
                if (t < kInfinity)
                    r.value[at(Q::NpReturnPeriod)] = t;
                else
                    r.failure[at(Q::NpReturnPeriod)] = "Magnituda m powyżej MMax";
            }
            if (bands) {
                NonParametricBootstrapRequest request;
                request.sampleH = k.SmoothingFactor();
                request.variableUpperLimit = p.variableUpperLimit;
                request.timeUnits = x.failure.empty() ? x.timeUnits : 0.0;
                request.magnitudes = {m};
                const NonParametricBands b =
                    BootstrapNonParametric(x.magnitudes, s, request, nodeBootstrap(p, node), step);
                r.band[at(Q::MMaxNonParametric)] =
                    b.of([](const NonParametricReplicate& v) { return v.mMax; });
                if (x.failure.empty()) {
                    r.band[at(Q::NpHazard)] =
                        b.of([D](const NonParametricReplicate& v) { return v.hazard(0, D); });
                    r.band[at(Q::NpReturnPeriod)] =
                        b.of([](const NonParametricReplicate& v) { return v.returnPeriod(0); });
                }
            }
        } catch (...) {
            failAll(needsNonParametric, failureText());
        }
    }
    if (bands) {
        // The other quantities from the node's events drawn again.
        const BootstrapOptions o = nodeBootstrap(p, node);
        std::vector<std::vector<double>> values(kMapQuantityCount);
        for (int k = 0; k < o.replicates; ++k) {
            check();
            std::mt19937_64 stream = ReplicateStream(o.seed, k);
            const Basic b =
                evaluateBasic(replicateOf(e, ResampleIndices(stream, e.magnitudes.size())), c, nullptr);
            for (Q q : p.quantities)
                if (!needsParametric(q) && !needsNonParametric(q) && q != Q::Count)
                    values[at(q)].push_back(b.value[at(q)]);
        }
        for (Q q : p.quantities)
            if (!values[at(q)].empty() && !std::isnan(r.value[at(q)]))
                r.band[at(q)] = PercentileBand(std::move(values[at(q)]), o.level);
    }
    return r;
}

ChangeResult EvaluateChange(const NodeEvents& e, const NodeContext& c) {
    const HazardMapParameters& p = c.parameters;
    const AnalysisSettings& s = c.settings;
    ChangeResult r;
    if (e.magnitudes.size() < static_cast<std::size_t>(p.sampling.minEvents)) {
        r.failure = kTooFewEvents;
        return r;
    }
    double threshold = s.MMin;
    if (p.threshold == MapThreshold::NodeCompleteness) {
        const std::optional<double> mc =
            WindowCompletenessMagnitude(e.magnitudes, WindowCompleteness{true, p.mcMethod, p.mcBinWidth});
        if (!mc) {
            r.failure = kNoCompleteness;
            return r;
        }
        threshold = std::max(*mc, s.MMin);
    }
    r.threshold = threshold;
    const DayPeriod periods[2] = {*p.before, *p.after};
    std::vector<double> sample[2];
    const double take = p.bBinWidth > 0.0 ? threshold - p.bBinWidth / 2.0 : threshold;
    for (std::size_t i = 0; i < e.magnitudes.size(); ++i) {
        const double day = std::floor(e.days[i]);
        for (int k = 0; k < 2; ++k)
            if (day >= periods[k].first && day <= periods[k].last && e.magnitudes[i] >= take)
                sample[k].push_back(e.magnitudes[i]);
    }
    // Both periods see the node's one circle: the area cancels from the
    // ratio, and only the lengths of the periods count.
    const double areas = p.normalisation == MapNormalisation::AreaAndTime ? e.area / p.referenceArea : 1.0;
    double exposure[2];
    for (int k = 0; k < 2; ++k) exposure[k] = (periods[k].last - periods[k].first + 1) / kDaysPerYear * areas;
    r.before = static_cast<std::int64_t>(sample[0].size());
    r.after = static_cast<std::int64_t>(sample[1].size());
    r.rateBefore = r.before / exposure[0];
    r.rateAfter = r.after / exposure[1];
    const RateRatioEstimate ratio =
        PoissonRateRatio(r.before, exposure[0], r.after, exposure[1], 1.0 - p.significance);
    if (!std::isnan(ratio.ratio)) {
        r.ratio = ratio.ratio;
        r.ratioLower = ratio.lower;
        r.ratioUpper = ratio.upper;
        r.ratioSignificant = ratio.significant() ? 1 : 0;
    }
    const std::size_t least = static_cast<std::size_t>(p.sampling.minEvents) / 2;
    if (sample[0].size() < std::max<std::size_t>(least, 2) ||
        sample[1].size() < std::max<std::size_t>(least, 2)) {
        r.failure = "Za mało zjawisk w jednym z okresów";
        return r;
    }
    const double b1 = akiUtsuB(sample[0], threshold, p.bBinWidth);
    const double b2 = akiUtsuB(sample[1], threshold, p.bBinWidth);
    if (!(b1 > 0.0) || !(b2 > 0.0)) {
        r.failure = "Brak oszacowania b";
        return r;
    }
    r.bBefore = b1;
    r.bAfter = b2;
    r.bDifference = b2 - b1;
    r.utsuProbability = utsuProbability(b1, sample[0].size(), b2, sample[1].size());
    r.pValue = utsuLikelihoodRatioPValue(b1, sample[0].size(), b2, sample[1].size());
    r.bSignificant = r.pValue < p.significance ? 1 : 0;
    return r;
}

}  // namespace zorv

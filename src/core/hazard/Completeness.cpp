#include "hazard/Completeness.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

#include "hazard/BValueStatistics.h"
#include "hazard/BinomialDraw.h"
#include "hazard/HazardErrors.h"

namespace zorv {

namespace {

constexpr double kLog10E = 0.43429448190325182765;
constexpr double kLn10 = 2.30258509299404568402;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::string tooSmallText(int needed) {
    return "Za mało zdarzeń do oszacowania magnitudy kompletności (potrzeba co najmniej " +
           std::to_string(needed) + ")";
}

// The statistics of the events at or above every bin, from the top down:
// count n, the sum J of (j − i) over them and the sum Q of (j − i)², in bins.
struct TailSums {
    std::vector<std::int64_t> n;
    std::vector<double> J;
    std::vector<double> Q;
};

TailSums tailSums(const MagnitudeHistogram& h) {
    const std::size_t K = h.size();
    TailSums t{std::vector<std::int64_t>(K + 1, 0), std::vector<double>(K + 1, 0.0),
               std::vector<double>(K + 1, 0.0)};
    // Moving the origin one bin down adds 1 to every offset:
    // J_i = J_{i+1} + n_{i+1}, Q_i = Q_{i+1} + 2 J_{i+1} + n_{i+1}.
    for (std::size_t i = K; i-- > 0;) {
        t.n[i] = t.n[i + 1] + h.counts[i];
        t.J[i] = t.J[i + 1] + static_cast<double>(t.n[i + 1]);
        t.Q[i] = t.Q[i + 1] + 2.0 * t.J[i + 1] + static_cast<double>(t.n[i + 1]);
    }
    return t;
}

McBFit fitOf(const TailSums& t, std::size_t i, double dM) {
    McBFit f;
    f.events = t.n[i];
    if (f.events < 2) {
        f.b = f.sigma = kNaN;
        return f;
    }
    const double n = static_cast<double>(f.events);
    const double meanOffset = t.J[i] / n;  // mean(M) − Mc in bins
    f.b = kLog10E / (dM * (meanOffset + 0.5));
    const double squares = std::max(0.0, t.Q[i] - n * meanOffset * meanOffset) * dM * dM;
    f.sigma = kLn10 * f.b * f.b * std::sqrt(squares / (n * (n - 1.0)));
    const BinnedB exact = tintiMulargiaB(meanOffset * dM, static_cast<std::size_t>(f.events), dM);
    f.bTintiMulargia = exact.b;
    f.sigmaTintiMulargia = exact.standardError;
    return f;
}

// R [%] of the law fitted at bin i against the bins from i up.
double residualPercent(const MagnitudeHistogram& h, std::size_t i, const McBFit& f) {
    const double dM = h.binWidth;
    const double n = static_cast<double>(f.events);
    const double q = std::pow(10.0, -f.b * dM);
    double modelled = n * (1.0 - q);  // S_i; S_{j+1} = q·S_j
    double misfit = 0.0;
    for (std::size_t j = i; j < h.size(); ++j) {
        misfit += std::abs(static_cast<double>(h.counts[j]) - modelled);
        modelled *= q;
    }
    return 100.0 - 100.0 * misfit / n;
}

// The largest distance between the empirical distribution of the bins from
// i up and the binned exponential law F(bin j) = 1 − q^(j−i+1).
double ksDistance(const MagnitudeHistogram& h, std::size_t i, const McBFit& f) {
    const double n = static_cast<double>(f.events);
    const double q = std::pow(10.0, -f.b * h.binWidth);
    double tail = 1.0;  // q^(j−i+1) after the update
    double below = 0.0;
    double d = 0.0;
    for (std::size_t j = i; j < h.size(); ++j) {
        below += static_cast<double>(h.counts[j]);
        tail *= q;
        d = std::max(d, std::abs(below / n - (1.0 - tail)));
    }
    return d;
}

int stabilityWindow(const McOptions& o) {
    return std::max(1, static_cast<int>(std::lround(o.stabilityRange / o.binWidth)));
}

bool candidate(const TailSums& t, std::size_t i, const McOptions& o) {
    return t.n[i] >= std::max<std::int64_t>(2, o.minEvents);
}

// b_ave over the window from bin i, NaN when the window leaves the candidates.
double bAverage(const TailSums& t, std::size_t i, std::size_t K, const McOptions& o) {
    const int w = stabilityWindow(o);
    double sum = 0.0;
    for (int k = 0; k < w; ++k) {
        const std::size_t j = i + static_cast<std::size_t>(k);
        if (j >= K || !candidate(t, j, o)) return kNaN;
        sum += fitOf(t, j, o.binWidth).b;
    }
    return sum / w;
}

double sampleDeviation(const std::vector<double>& v) {
    if (v.size() < 2) return kNaN;
    double mean = 0.0;
    for (double x : v) mean += x;
    mean /= static_cast<double>(v.size());
    double ss = 0.0;
    for (double x : v) ss += (x - mean) * (x - mean);
    return std::sqrt(ss / static_cast<double>(v.size() - 1));
}

}  // namespace

EMcSampleTooSmall::EMcSampleTooSmall(int needed) : HazardError(tooSmallText(needed).c_str()) {}

EMcBinWidth::EMcBinWidth() : HazardError("Szerokość przedziału magnitudy musi być liczbą dodatnią") {}

const std::vector<McMethod>& allMcMethods() {
    static const std::vector<McMethod> all{McMethod::MaxCurvature,    McMethod::MaxCurvatureCorrected,
                                           McMethod::GoodnessOfFit90, McMethod::GoodnessOfFit95,
                                           McMethod::BValueStability, McMethod::KolmogorovSmirnov};
    return all;
}

const char* mcMethodName(McMethod method) {
    switch (method) {
        case McMethod::MaxCurvature: return "maxc";
        case McMethod::MaxCurvatureCorrected: return "maxc+0.2";
        case McMethod::GoodnessOfFit90: return "gof90";
        case McMethod::GoodnessOfFit95: return "gof95";
        case McMethod::BValueStability: return "mbs";
        case McMethod::KolmogorovSmirnov: return "ks";
    }
    return "";
}

const char* mcMethodCaption(McMethod method) {
    switch (method) {
        case McMethod::MaxCurvature: return "Maksymalna krzywizna";
        case McMethod::MaxCurvatureCorrected: return "Maksymalna krzywizna + 0,2";
        case McMethod::GoodnessOfFit90: return "Dobroć dopasowania 90 %";
        case McMethod::GoodnessOfFit95: return "Dobroć dopasowania 95 %";
        case McMethod::BValueStability: return "Stabilność wartości b";
        case McMethod::KolmogorovSmirnov: return "Test Kołmogorowa–Smirnowa";
    }
    return "";
}

std::optional<McMethod> mcMethodOfName(const std::string& name) {
    for (McMethod m : allMcMethods())
        if (name == mcMethodName(m)) return m;
    return std::nullopt;
}

double MagnitudeHistogram::centre(std::size_t i) const {
    return static_cast<double>(firstBin + static_cast<std::int64_t>(i)) * binWidth;
}

std::int64_t MagnitudeHistogram::cumulative(std::size_t i) const {
    std::int64_t n = 0;
    for (std::size_t j = i; j < counts.size(); ++j) n += counts[j];
    return n;
}

std::int64_t magnitudeBin(double magnitude, double binWidth) {
    return static_cast<std::int64_t>(std::floor(magnitude / binWidth + 0.5 + 1e-9));
}

MagnitudeHistogram binMagnitudes(const std::vector<double>& magnitudes, double binWidth) {
    if (!(binWidth > 0.0) || !std::isfinite(binWidth)) throw EMcBinWidth();
    MagnitudeHistogram h;
    h.binWidth = binWidth;
    std::int64_t lo = std::numeric_limits<std::int64_t>::max();
    std::int64_t hi = std::numeric_limits<std::int64_t>::min();
    for (double m : magnitudes) {
        if (!std::isfinite(m)) continue;
        const std::int64_t k = magnitudeBin(m, binWidth);
        lo = std::min(lo, k);
        hi = std::max(hi, k);
    }
    if (lo > hi) return h;
    h.firstBin = lo;
    h.counts.assign(static_cast<std::size_t>(hi - lo + 1), 0);
    for (double m : magnitudes)
        if (std::isfinite(m)) ++h.counts[static_cast<std::size_t>(magnitudeBin(m, binWidth) - lo)];
    return h;
}

McBFit fitBAbove(const MagnitudeHistogram& h, std::size_t i) { return fitOf(tailSums(h), i, h.binWidth); }

std::optional<double> mcMaxCurvature(const MagnitudeHistogram& h) {
    if (h.counts.empty()) return std::nullopt;
    const auto top = std::max_element(h.counts.begin(), h.counts.end());  // the first of equal ones
    return h.centre(static_cast<std::size_t>(top - h.counts.begin()));
}

std::optional<double> mcGoodnessOfFit(const MagnitudeHistogram& h, double levelPercent, const McOptions& o) {
    const TailSums t = tailSums(h);
    for (std::size_t i = 0; i < h.size(); ++i) {
        if (!candidate(t, i, o)) break;
        if (residualPercent(h, i, fitOf(t, i, h.binWidth)) >= levelPercent) return h.centre(i);
    }
    return std::nullopt;
}

std::optional<double> mcBValueStability(const MagnitudeHistogram& h, const McOptions& o) {
    const TailSums t = tailSums(h);
    for (std::size_t i = 0; i < h.size(); ++i) {
        if (!candidate(t, i, o)) break;
        const McBFit f = fitOf(t, i, h.binWidth);
        const double average = bAverage(t, i, h.size(), o);
        if (std::isnan(average)) break;
        if (std::abs(average - f.b) <= f.sigma) return h.centre(i);
    }
    return std::nullopt;
}

std::optional<double> mcKolmogorovSmirnov(const MagnitudeHistogram& h, const McOptions& o) {
    const TailSums t = tailSums(h);
    std::optional<double> best;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < h.size(); ++i) {
        if (!candidate(t, i, o)) break;
        const double d = ksDistance(h, i, fitOf(t, i, h.binWidth));
        if (d < bestDistance) {
            bestDistance = d;
            best = h.centre(i);
        }
    }
    return best;
}

std::optional<double> mcOf(McMethod method, const MagnitudeHistogram& h, const McOptions& o) {
    switch (method) {
        case McMethod::MaxCurvature: return mcMaxCurvature(h);
        case McMethod::MaxCurvatureCorrected: {
            const auto mc = mcMaxCurvature(h);
            if (!mc) return mc;
            return *mc + o.maxCurvatureShift;
        }
        case McMethod::GoodnessOfFit90: return mcGoodnessOfFit(h, 90.0, o);
        case McMethod::GoodnessOfFit95: return mcGoodnessOfFit(h, 95.0, o);
        case McMethod::BValueStability: return mcBValueStability(h, o);
        case McMethod::KolmogorovSmirnov: return mcKolmogorovSmirnov(h, o);
    }
    return std::nullopt;
}

std::vector<McCandidate> mcCandidates(const MagnitudeHistogram& h, const McOptions& o) {
    const TailSums t = tailSums(h);
    std::vector<McCandidate> out(h.size());
    for (std::size_t i = 0; i < h.size(); ++i) {
        McCandidate& c = out[i];
        c.magnitude = h.centre(i);
        c.events = t.n[i];
        if (!candidate(t, i, o)) {
            c.b = c.sigma = c.residualPercent = c.bAverage = c.ksDistance = kNaN;
            continue;
        }
        const McBFit f = fitOf(t, i, h.binWidth);
        c.b = f.b;
        c.sigma = f.sigma;
        c.residualPercent = residualPercent(h, i, f);
        c.bAverage = bAverage(t, i, h.size(), o);
        c.ksDistance = ksDistance(h, i, f);
    }
    return out;
}

CompletenessResult estimateCompleteness(const std::vector<double>& magnitudes, const McOptions& o,
                                        const std::vector<McMethod>& methods, Progress* progress) {
    CompletenessResult r;
    r.histogram = binMagnitudes(magnitudes, o.binWidth);
    const MagnitudeHistogram& h = r.histogram;
    const std::int64_t total = h.cumulative(0);
    if (total == 0) throw ENoRecords();
    const int needed = std::max(2, o.minEvents);
    if (total < needed) throw EMcSampleTooSmall(needed);

    const TailSums t = tailSums(h);
    for (McMethod m : methods) {
        McEstimate e;
        e.method = m;
        e.sigma = kNaN;
        e.mc = mcOf(m, h, o);
        if (e.mc) {
            const std::int64_t k = magnitudeBin(*e.mc, o.binWidth) - h.firstBin;
            if (k >= 0 && k < static_cast<std::int64_t>(h.size()))
                e.fit = fitOf(t, static_cast<std::size_t>(k), o.binWidth);
            else
                e.fit = {0, kNaN, kNaN, kNaN, kNaN};
        }
        r.estimates.push_back(e);
    }

    const int resamples = std::max(0, o.bootstrapResamples);
    if (resamples == 0 || methods.empty()) return r;

    // A resample of the events is a multinomial draw of the bin counts with
    // the sample's bin frequencies: it costs the bins, not the events.
    std::mt19937_64 generator(o.seed);
    std::vector<std::vector<double>> draws(methods.size());
    MagnitudeHistogram resample = h;
    if (progress) progress->start("Szacowanie niepewności magnitudy kompletności...", 0, resamples);
    for (int s = 0; s < resamples; ++s) {
        if (progress) {
            if (progress->isCancelled()) throw EBreakProcess();
            progress->setPosition(s);
        }
        multinomialDraw(generator, total, h.counts, resample.counts);
        for (std::size_t k = 0; k < methods.size(); ++k)
            if (const auto mc = mcOf(methods[k], resample, o)) draws[k].push_back(*mc);
    }
    if (progress) {
        progress->setPosition(resamples);
        progress->hide();
    }
    r.resamples = resamples;
    for (std::size_t k = 0; k < methods.size(); ++k) {
        r.estimates[k].resamplesWithEstimate = static_cast<int>(draws[k].size());
        r.estimates[k].sigma = sampleDeviation(draws[k]);
    }
    return r;
}

}  // namespace zorv

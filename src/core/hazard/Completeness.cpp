#include "hazard/Completeness.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <random>

#include "hazard/BValueStatistics.h"
#include "hazard/BinomialDraw.h"
#include "hazard/ChunkPool.h"
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

// The geometric law of bin offsets truncated at the top bin: of K bins,
// P(j) = (1 − q) q^j / (1 − q^K), F(j) = (1 − q^(j+1)) / (1 − q^K). Where
// the catalogue's law is truncated (as mining catalogues are) the unbounded
// law departs from it by the missing tail, which a test on millions of
// events rejects at every candidate; where it is not, the top bin holds
// about one event and the two laws differ by far less than a test can see.
double truncatedCdf(double q, std::size_t j, std::size_t bins) {
    if (q >= 1.0) return static_cast<double>(j + 1) / static_cast<double>(bins);
    const double lq = std::log(q);
    return std::expm1(static_cast<double>(j + 1) * lq) / std::expm1(static_cast<double>(bins) * lq);
}

// The maximum-likelihood ratio q of that law for a mean offset k̄ [bins]:
// the root of q/(1 − q) − K q^K/(1 − q^K) = k̄, increasing from 0 at q = 0 to
// (K − 1)/2 at q = 1 (the uniform law), by bisection.
double truncatedGeometricRatio(double meanOffset, std::size_t bins) {
    if (!(meanOffset > 0.0) || bins < 2) return 0.0;
    const double K = static_cast<double>(bins);
    if (meanOffset >= (K - 1.0) / 2.0) return 1.0;
    const auto mean = [K](double q) {
        const double qK = std::pow(q, K);
        return q / (1.0 - q) - K * qK / (1.0 - qK);
    };
    double lo = 0.0, hi = 1.0;
    for (int k = 0; k < 200 && hi - lo > 1e-13; ++k) {
        const double mid = 0.5 * (lo + hi);
        if (mid >= 1.0 || mean(mid) > meanOffset)
            hi = mid;
        else
            lo = mid;
    }
    return 0.5 * (lo + hi);
}

// The largest distance between the distribution of `bins` counts of n
// events and the truncated geometric law of ratio q over them.
double geometricKsDistance(const std::int64_t* counts, std::size_t bins, double n, double q) {
    double below = 0.0;
    double d = 0.0;
    if (q >= 1.0 || !(q > 0.0)) {
        for (std::size_t j = 0; j < bins; ++j) {
            below += static_cast<double>(counts[j]);
            d = std::max(d, std::abs(below / n - truncatedCdf(q, j, bins)));
        }
        return d;
    }
    // F(j) = (1 − q^(j+1)) / (1 − q^K), q^(j+1) by products.
    const double scale = 1.0 / -std::expm1(static_cast<double>(bins) * std::log(q));
    double power = 1.0;
    for (std::size_t j = 0; j < bins; ++j) {
        below += static_cast<double>(counts[j]);
        power *= q;
        d = std::max(d, std::abs(below / n - (1.0 - power) * scale));
    }
    return d;
}

// Of the events at or above bin j of the truncated geometric law of ratio
// q over `bins` bins, the share P(j) / (1 − F(j − 1)) = (1 − q)/(1 − q^(K−j))
// that stay in it.
std::vector<double> truncatedStayShares(double q, std::size_t bins) {
    std::vector<double> stay(bins, 1.0);
    for (std::size_t j = 0; j + 1 < bins; ++j) {
        const double rest = static_cast<double>(bins - j);
        stay[j] = q >= 1.0 ? 1.0 / rest : -std::expm1(std::log(q)) / -std::expm1(rest * std::log(q));
    }
    return stay;
}

// The distance of a sample of n offsets drawn from the law of the stay
// shares to the law fitted to the sample itself.
double simulatedKsDistance(std::mt19937_64& g, std::int64_t n, const std::vector<double>& stay,
                           std::vector<std::int64_t>& counts) {
    const std::size_t bins = stay.size();
    counts.assign(bins, 0);
    std::int64_t left = n;
    double offsets = 0.0;
    for (std::size_t j = 0; j < bins && left > 0; ++j) {
        const std::int64_t here = binomialDraw(g, left, stay[j]);
        counts[j] = here;
        left -= here;
        offsets += static_cast<double>(j) * static_cast<double>(here);
    }
    const double events = static_cast<double>(n);
    return geometricKsDistance(counts.data(), bins, events, truncatedGeometricRatio(offsets / events, bins));
}

// The generator of the test's samples at the bin of index k (splitmix64 of
// the seed and the bin), so that a verdict depends on neither the order of
// the candidates nor the histogram's first bin.
std::mt19937_64 ksGenerator(std::uint64_t seed, std::int64_t k) {
    std::uint64_t z = seed + 0x9E3779B97F4A7C15ull * (static_cast<std::uint64_t>(k) + 1u);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return std::mt19937_64(z ^ (z >> 31));
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
        case McMethod::KolmogorovSmirnovMinimum: return "ks-min";
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
        case McMethod::KolmogorovSmirnovMinimum: return "Minimum odległości Kołmogorowa–Smirnowa";
    }
    return "";
}

std::optional<McMethod> mcMethodOfName(const std::string& name) {
    for (McMethod m : allMcMethods())
        if (name == mcMethodName(m)) return m;
    if (name == mcMethodName(McMethod::KolmogorovSmirnovMinimum)) return McMethod::KolmogorovSmirnovMinimum;
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

namespace {

struct KsObserved {
    std::int64_t n = 0;
    std::size_t bins = 0;   // from the candidate to the top
    double q = 0.0;         // of the law fitted at the candidate
    double distance = 0.0;  // D
};

KsObserved ksObserved(const MagnitudeHistogram& h, const TailSums& t, std::size_t i) {
    KsObserved k;
    k.n = t.n[i];
    k.bins = h.size() - i;
    const double n = static_cast<double>(k.n);
    k.q = truncatedGeometricRatio(t.J[i] / n, k.bins);
    k.distance = geometricKsDistance(h.counts.data() + i, k.bins, n, k.q);
    return k;
}

// Simulations needed at or beyond D for p ≥ the significance.
int ksNeeded(const McOptions& o) {
    return static_cast<int>(std::ceil(o.ksSignificance * std::max(1, o.ksSimulations) - 1e-9));
}

// The verdict of the test at candidate i; it stops as soon as the count of
// simulated distances at or beyond D settles it either way.
bool ksAccepts(const MagnitudeHistogram& h, const TailSums& t, std::size_t i, const McOptions& o) {
    const KsObserved obs = ksObserved(h, t, i);
    const int simulations = std::max(1, o.ksSimulations);
    const int needed = ksNeeded(o);
    if (needed <= 0) return true;
    std::mt19937_64 g = ksGenerator(o.seed, h.firstBin + static_cast<std::int64_t>(i));
    const std::vector<double> stay = truncatedStayShares(obs.q, obs.bins);
    std::vector<std::int64_t> counts;
    int beyond = 0;
    for (int s = 0; s < simulations; ++s) {
        if (simulatedKsDistance(g, obs.n, stay, counts) >= obs.distance && ++beyond >= needed) return true;
        if (beyond + (simulations - s - 1) < needed) return false;
    }
    return false;
}

}  // namespace

McKsTest mcKsTest(const MagnitudeHistogram& h, std::size_t i, const McOptions& o) {
    const TailSums t = tailSums(h);
    if (i >= h.size() || !candidate(t, i, o)) return {kNaN, kNaN};
    const KsObserved obs = ksObserved(h, t, i);
    const int simulations = std::max(1, o.ksSimulations);
    std::mt19937_64 g = ksGenerator(o.seed, h.firstBin + static_cast<std::int64_t>(i));
    const std::vector<double> stay = truncatedStayShares(obs.q, obs.bins);
    std::vector<std::int64_t> counts;
    int beyond = 0;
    for (int s = 0; s < simulations; ++s)
        if (simulatedKsDistance(g, obs.n, stay, counts) >= obs.distance) ++beyond;
    return {obs.distance, static_cast<double>(beyond) / simulations};
}

std::optional<double> mcKolmogorovSmirnov(const MagnitudeHistogram& h, const McOptions& o) {
    const TailSums t = tailSums(h);
    for (std::size_t i = 0; i < h.size(); ++i) {
        if (!candidate(t, i, o)) break;
        if (ksAccepts(h, t, i, o)) return h.centre(i);
    }
    return std::nullopt;
}

std::optional<double> mcKolmogorovSmirnovMinimum(const MagnitudeHistogram& h, const McOptions& o) {
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
        case McMethod::KolmogorovSmirnovMinimum: return mcKolmogorovSmirnovMinimum(h, o);
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
    // the sample's bin frequencies: it costs the bins, not the events. The
    // draws come one after another from the one generator; the estimators
    // then run on them on several threads, each resample into its own slots,
    // so the spread does not depend on the threads.
    if (progress) progress->start("Szacowanie niepewności magnitudy kompletności...", 0, resamples);
    std::mt19937_64 generator(o.seed);
    std::vector<MagnitudeHistogram> drawn(static_cast<std::size_t>(resamples), h);
    for (MagnitudeHistogram& d : drawn) multinomialDraw(generator, total, h.counts, d.counts);
    const std::size_t M = methods.size();
    std::vector<std::optional<double>> estimates(drawn.size() * M);
    std::atomic<int> done{0};
    const bool finished = ChunkPool::shared().run(
        drawn.size(),
        [&](std::size_t s) {
            for (std::size_t k = 0; k < M; ++k) estimates[s * M + k] = mcOf(methods[k], drawn[s], o);
            done.fetch_add(1, std::memory_order_relaxed);
        },
        [progress, &done] {
            if (!progress) return false;
            progress->setPosition(done.load(std::memory_order_relaxed));
            return progress->isCancelled();
        });
    if (!finished) throw EBreakProcess();
    if (progress) {
        progress->setPosition(resamples);
        progress->hide();
    }
    std::vector<std::vector<double>> draws(M);
    for (std::size_t s = 0; s < drawn.size(); ++s)
        for (std::size_t k = 0; k < M; ++k)
            if (const auto& mc = estimates[s * M + k]) draws[k].push_back(*mc);
    r.resamples = resamples;
    for (std::size_t k = 0; k < methods.size(); ++k) {
        r.estimates[k].resamplesWithEstimate = static_cast<int>(draws[k].size());
        r.estimates[k].sigma = sampleDeviation(draws[k]);
    }
    return r;
}

}  // namespace zorv

#pragma once
// The completeness magnitude Mc of a sample of magnitudes: the smallest
// magnitude above which the catalogue holds every event, estimated from the
// frequency–magnitude distribution of the binned magnitudes by
//
//  - maximum curvature: the bin of the most events (S. Wiemer and M. Wyss,
//    Minimum magnitude of completeness in earthquake catalogs, Bull. Seismol.
//    Soc. Am. 90, 2000), optionally + 0.2 (J. Woessner and S. Wiemer,
//    Assessing the quality of earthquake catalogues, Bull. Seismol. Soc. Am.
//    95, 2005);
//  - goodness of fit (Wiemer & Wyss 2000): the lowest candidate at which the
//    Gutenberg–Richter law fitted above it explains R ≥ 90 % or 95 % of the
//    observed per-bin counts,
//      R = 100 − 100 · Σ_{j≥i} |n_j − S_j| / Σ_{j≥i} n_j;
//  - b-value stability (W. Cao and S. Gao, Geophys. Res. Lett. 29, 2002,
//    with the criterion of Woessner & Wiemer 2005): the lowest candidate at
//    which |b_ave − b(Mc)| ≤ δb(Mc), b_ave the mean of b over the ΔM/dM bins
//    from Mc (ΔM = 0.5) and δb the Shi–Bolt error of b(Mc);
//  - Kolmogorov–Smirnov test (A. Clauset, C. R. Shalizi and M. E. J. Newman,
//    Power-law distributions in empirical data, SIAM Review 51, 2009, as
//    completeness tests use it): the lowest candidate at which the binned
//    exponential law fitted to the magnitudes above it is not rejected, the
//    p-value of the largest distance D between the two distributions being
//    at least ksSignificance. The law fitted at a candidate is the
//    geometric law of the bin offsets truncated at the top bin, with the
//    maximum-likelihood ratio q (without the truncation q = k̄ / (1 + k̄),
//    k̄ the mean offset in bins: the Tinti–Mulargia b); the p-value is the
//    share of ksSimulations samples of the same size and bins drawn from
//    that law, each fitted anew, whose distance is at least D.
//    The samples come from a generator seeded by the seed and the bin, so
//    a run repeats exactly;
//  - Kolmogorov–Smirnov minimum: the candidate minimising D for the law of
//    the Aki–Utsu b, q = 10^(−b·dM). Known to drift upwards on large
//    samples, where every small departure from the law counts; kept for
//    comparison, outside allMcMethods().
//
// A magnitude m belongs to the bin of centre k·dM with
// k·dM − dM/2 ≤ m < k·dM + dM/2. Candidates are the bin centres holding at
// least minEvents events at or above them. The b-value of a candidate Mc is
// the Aki–Utsu maximum-likelihood estimate on the binned magnitudes
// b = log10(e) / (mean(M ≥ Mc) − (Mc − dM/2)) (K. Aki, Bull. Earthquake Res.
// Inst. 43, 1965; T. Utsu, 1965), with the Shi–Bolt standard error
// δb = ln(10) · b² · sqrt(Σ (M − mean)² / (n (n − 1))) (Y. Shi and B. A. Bolt,
// Bull. Seismol. Soc. Am. 72, 1982).
//
// The spread of each estimate is the standard deviation of the estimates on
// bootstrap resamples (as many events as the sample, drawn with replacement
// by a seeded generator, so a run repeats exactly). Every estimator sees only
// the bin counts, so a resample is drawn as its bin counts: a multinomial
// draw with the sample's bin frequencies, the law of the counts of events
// drawn one by one (BinomialDraw.h). All magnitudes are in
// magnitude units.

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "base/HazardError.h"
#include "base/Progress.h"

namespace zorv {

enum class McMethod : std::uint8_t {
    MaxCurvature,           // MAXC
    MaxCurvatureCorrected,  // MAXC + 0.2
    GoodnessOfFit90,
    GoodnessOfFit95,
    BValueStability,
    KolmogorovSmirnov,         // the test
    KolmogorovSmirnovMinimum,  // the distance minimum
};

// The methods of the dialogs and of the command line's default, in the order
// above without the distance minimum.
const std::vector<McMethod>& allMcMethods();
// The short name of the command line (maxc, maxc+0.2, gof90, gof95, mbs, ks,
// ks-min) and the Polish caption of tables and dialogs.
const char* mcMethodName(McMethod method);
const char* mcMethodCaption(McMethod method);
std::optional<McMethod> mcMethodOfName(const std::string& name);

struct McOptions {
    double binWidth = 0.1;           // dM [magnitude]
    int minEvents = 25;              // events at or above a candidate
    double maxCurvatureShift = 0.2;  // the Woessner–Wiemer correction [magnitude]
    double stabilityRange = 0.5;     // ΔM of the b-value stability [magnitude]
    int bootstrapResamples = 200;    // 0: no spread
    std::uint64_t seed = 20050101;   // of the bootstrap generator and the test's samples
    int ksSimulations = 100;         // samples behind each p-value of the test
    double ksSignificance = 0.1;     // the test accepts at p ≥ this
};

// The sample has too few events for an estimate.
class EMcSampleTooSmall : public HazardError {
public:
    explicit EMcSampleTooSmall(int needed);
};

// The bin width is not a positive number.
class EMcBinWidth : public HazardError {
public:
    EMcBinWidth();
};

// The frequency–magnitude distribution: counts of the bins from the lowest
// to the highest occupied one, empty bins between included.
struct MagnitudeHistogram {
    double binWidth = 0.1;      // dM [magnitude]
    std::int64_t firstBin = 0;  // index k of the first bin; its centre k·dM
    std::vector<std::int64_t> counts;

    std::size_t size() const { return counts.size(); }
    double centre(std::size_t i) const;
    // Events at or above bin i.
    std::int64_t cumulative(std::size_t i) const;
};

// The bin index k of a magnitude (see above; a rounding error of 1e-9 bins is
// forgiven so that 0.15 with dM = 0.1 goes to the bin of 0.2).
std::int64_t magnitudeBin(double magnitude, double binWidth);

// Bins the finite magnitudes; non-finite ones are left out. Raises
// EMcBinWidth for a bin width that is not positive.
MagnitudeHistogram binMagnitudes(const std::vector<double>& magnitudes, double binWidth);

// The Aki–Utsu b-value and its Shi–Bolt error of the events at or above bin
// i, and beside them the exact b of binned magnitudes of Tinti and Mulargia
// (1987) with its error (BValueStatistics.h); NaN for fewer than two events
// (the Tinti–Mulargia b also when every event lies in bin i).
struct McBFit {
    std::int64_t events = 0;
    double b = 0.0;
    double sigma = 0.0;
    double bTintiMulargia = std::numeric_limits<double>::quiet_NaN();
    double sigmaTintiMulargia = std::numeric_limits<double>::quiet_NaN();
};
McBFit fitBAbove(const MagnitudeHistogram& h, std::size_t i);

// The estimators on one histogram; nullopt when there is none (no candidate
// reaches the goodness-of-fit level or is stable, or none has minEvents
// events). The returned value is a magnitude.
std::optional<double> mcMaxCurvature(const MagnitudeHistogram& h);
std::optional<double> mcGoodnessOfFit(const MagnitudeHistogram& h, double levelPercent, const McOptions& o);
std::optional<double> mcBValueStability(const MagnitudeHistogram& h, const McOptions& o);
std::optional<double> mcKolmogorovSmirnov(const MagnitudeHistogram& h, const McOptions& o);
std::optional<double> mcKolmogorovSmirnovMinimum(const MagnitudeHistogram& h, const McOptions& o);

// The test at bin i of h: the distance D to the fitted geometric law and its
// p-value from o.ksSimulations samples (all of them, without the early stop
// of mcKolmogorovSmirnov, which gives the same verdict). NaN for a bin that
// is no candidate.
struct McKsTest {
    double distance = 0.0;
    double pValue = 0.0;
};
McKsTest mcKsTest(const MagnitudeHistogram& h, std::size_t i, const McOptions& o);
std::optional<double> mcOf(McMethod method, const MagnitudeHistogram& h, const McOptions& o);

// The per-candidate measures behind the estimators, for charts and checks:
// R [%] of the goodness of fit, b_ave and δb of the stability and the
// Kolmogorov–Smirnov distance D, NaN where a candidate has fewer than
// minEvents events (b_ave also where its window reaches such a bin).
struct McCandidate {
    double magnitude = 0.0;
    std::int64_t events = 0;
    double b = 0.0;
    double sigma = 0.0;
    double residualPercent = 0.0;  // R
    double bAverage = 0.0;
    double ksDistance = 0.0;
};
std::vector<McCandidate> mcCandidates(const MagnitudeHistogram& h, const McOptions& o);

struct McEstimate {
    McMethod method = McMethod::MaxCurvature;
    std::optional<double> mc;                                 // nullopt: no estimate on the sample
    double sigma = std::numeric_limits<double>::quiet_NaN();  // bootstrap standard deviation;
                                                              // NaN below two estimates
    int resamplesWithEstimate = 0;
    McBFit fit;  // b above mc
};

struct CompletenessResult {
    MagnitudeHistogram histogram;
    std::vector<McEstimate> estimates;  // in the order asked for
    int resamples = 0;
};

// Estimates Mc by each method on the sample and its bootstrap spread.
// Raises EMcBinWidth, ENoRecords when no magnitude is finite,
// EMcSampleTooSmall below minEvents events, and EBreakProcess when the user
// stops the bootstrap (`progress` may be null).
CompletenessResult estimateCompleteness(const std::vector<double>& magnitudes, const McOptions& o,
                                        const std::vector<McMethod>& methods, Progress* progress = nullptr);

}  // namespace zorv

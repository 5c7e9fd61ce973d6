#pragma once
// Statistics of the Gutenberg–Richter b-value beside the truncated estimate
// of the magnitude distribution: the Aki–Utsu maximum-likelihood b with its
// two standard errors, the standard error of the truncated estimate β, the
// b-positive estimate from magnitude differences, and the Utsu test of two
// b-values. Magnitudes are in magnitude units, b and β in 1/magnitude.

#include <cstddef>
#include <span>

namespace zorv {

// What the b-value analyses add when asked to: the "sigma" and "P_UTSU"
// columns and the statistics block of the report.
struct BStatisticsOptions {
    bool enabled = false;
    double positiveThreshold = 0.2;  // δ of b-positive [magnitude]
    double binWidth = 0.0;           // ΔM [magnitude]; 0 for continuous magnitudes
    // The Aki–Utsu b of every period or zone beside the truncated one, with
    // its Shi–Bolt error (columns "b_AKI", "sigma_AKI" and a second series):
    // it needs no maximum magnitude, so it exists wherever the sample does.
    bool aki = false;
    friend bool operator==(const BStatisticsOptions&, const BStatisticsOptions&) = default;
};

// The mean and the sum of squared deviations Σ(Mi − M̄)² of a sample.
struct SampleMoments {
    std::size_t n = 0;
    double mean = 0.0;
    double sumSquares = 0.0;
};
SampleMoments sampleMoments(std::span<const double> m);

// Aki (1965) maximum-likelihood b with the bin correction of Utsu (1965):
//
//   b = log10(e) / (M̄ − (Mc − ΔM/2)),
//
// over the magnitudes M ≥ Mc − ΔM/2 of `m` (the rest is left out). ΔM = 0
// for continuous magnitudes. `used` receives the number of magnitudes
// taken. 0 when fewer than two are taken or their mean is not above the
// corrected threshold.
double akiUtsuB(std::span<const double> m, double mc, double binWidth, std::size_t* used = nullptr);

// The exact maximum-likelihood b of magnitudes given in bins of width ΔM
// (S. Tinti and F. Mulargia, Confidence intervals of b values for grouped
// magnitudes, Bull. Seismol. Soc. Am. 77, 1987): the bin offsets above Mc
// follow a geometric law, whose estimate is
//
//   β = ln(1 + ΔM / (M̄ − Mc)) / ΔM,  b = β / ln 10,
//
// over the magnitudes M ≥ Mc − ΔM/2 (Mc a bin centre), with the standard
// error of the same paper, from the Fisher information of the geometric law,
//
//   σ(b) = (1 − p) / (ln 10 · ΔM · √(n p)),  p = exp(−β ΔM) = (M̄ − Mc) / (M̄ − Mc + ΔM).
//
// As ΔM → 0 both become Aki's: b → log10(e) / (M̄ − Mc), σ → b / √n. b and
// σ are NaN for ΔM ≤ 0, fewer than two magnitudes or a mean not above Mc.
struct BinnedB {
    double b = 0.0;
    double standardError = 0.0;
    std::size_t n = 0;  // magnitudes taken
};
BinnedB tintiMulargiaB(std::span<const double> m, double mc, double binWidth);
// The same from n magnitudes of mean offset M̄ − Mc [magnitude].
BinnedB tintiMulargiaB(double meanAboveMc, std::size_t n, double binWidth);

// Aki (1965): σ(b) = b / √n.
double akiStandardError(double b, std::size_t n);

// Shi and Bolt (1982): σ(b) = ln 10 · b² · √(Σ(Mi − M̄)² / (n (n − 1))); the
// paper's 2.30 is ln 10 rounded. 0 for fewer than two magnitudes.
double shiBoltStandardError(double b, const SampleMoments& moments);
double shiBoltStandardError(double b, std::span<const double> m);

// The standard error of β of the doubly truncated exponential distribution
// on [Mmin, Mmax] (the truncated estimate of ParametricHazard), with the
// range r = Mmax − Mmin taken as known. The log-likelihood of n events,
// x_i = M_i − Mmin,
//
//   ln L(β) = n ln β − β Σ x_i − n ln(1 − exp(−β r)),
//
// has the second derivative −n I(β), the same for every sample, with the
// Fisher information per event
//
//   I(β) = 1/β² − r² exp(β r) / (exp(β r) − 1)² = 1/β² − r² / (4 sinh²(β r / 2)),
//
// which is also the variance of x under the distribution. So
// σ(β) = 1 / √(n I(β)); σ(b) = σ(β) / ln 10. As r → ∞ this becomes the
// Aki error β/√n; as β r → 0, √(12 / n) / r (the uniform distribution).
// 0 for n = 0, β ≤ 0 or r ≤ 0.
double truncatedFisherInformation(double beta, double range);
double truncatedBetaStandardError(double beta, double range, std::size_t n);

// b-positive (van der Elst 2021): the differences d_i = M_i − M_{i−1} of
// consecutive events (in time order) at least the threshold δ follow the
// exponential law of the magnitudes with the same b above δ, whatever the
// completeness of each event. Continuous magnitudes (ΔM = 0):
//
//   b+ = log10(e) / (mean(d) − δ),  d ≥ δ;
//
// magnitudes binned at ΔM (δ a multiple of ΔM) use the discrete form of
// the estimator for the geometric law of the differences (Tinti and
// Mulargia 1987, as in van der Elst 2021):
//
//   b+ = log10(1 + ΔM / (mean(d) − δ)) / ΔM,  d ≥ δ − ΔM/2,
//
// with the error b+ / √n+. b is 0 when fewer than two differences are
// taken or their mean is not above δ.
struct BPositive {
    double b = 0.0;
    double standardError = 0.0;
    std::size_t differences = 0;  // n+, the differences taken
};
BPositive bPositive(std::span<const double> magnitudesInTimeOrder, double threshold, double binWidth);

// Utsu (1992) test of two b-values from samples of n1 and n2 events: the
// difference of the Akaike information criteria of one common b and of two
// separate ones,
//
//   ΔAIC = −2N ln N + 2 n1 ln(n1 + n2 b1/b2) + 2 n2 ln(n1 b2/b1 + n2) − 2,
//
// N = n1 + n2, and the probability that the two samples have one b,
//
//   P ≈ exp(−ΔAIC/2 − 2)
//
// (as used by Schorlemmer et al. 2004). The approximation is made for the
// significant differences (small P): for equal b-values ΔAIC = −2 and P
// reaches its largest value e⁻¹. ΔAIC + 2 is the likelihood-ratio statistic,
// χ² with one degree of freedom under one common b; its tail
// erfc(√((ΔAIC + 2)/2)) is the p-value proper, 1 for equal b-values.
// NaN when a b-value is not positive or a sample is empty.
double utsuDeltaAic(double b1, std::size_t n1, double b2, std::size_t n2);
double utsuProbability(double b1, std::size_t n1, double b2, std::size_t n2);
double utsuLikelihoodRatioPValue(double b1, std::size_t n1, double b2, std::size_t n2);

}  // namespace zorv

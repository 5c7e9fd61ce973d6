#pragma once
// Scores of probability forecasts of a binary event (an event of at least
// magnitude m within the horizon) against what happened.
//
// Brier score BS = (1/N)·Σ (p_k − o_k)², o_k ∈ {0, 1} (G. W. Brier, Mon.
// Weather Rev. 78, 1950); the climatological forecast is the constant base
// rate ō = (1/N)·Σ o_k, whose score is ō·(1 − ō), and the Brier skill score
// BSS = 1 − BS/BS_clim (positive: better than climatology; undefined, NaN,
// when the event always or never happened).
//
// Reliability table: the forecasts grouped in equal probability bins, each
// with its count, mean forecast and observed frequency (A. H. Murphy and
// R. L. Winkler, Appl. Statist. 36, 1987).
//
// Poisson number test (J. D. Zechar, M. C. Gerstenberger and D. A. Rhoades,
// Bull. Seismol. Soc. Am. 100, 2010): each forecast probability p_k of at
// least one event is the Poisson rate μ_k = −ln(1 − p_k) of events in its
// period; with N_exp = Σ μ_k and N_obs the events observed,
//   δ₁ = P(N ≥ N_obs) = 1 − F(N_obs − 1; N_exp),  δ₂ = P(N ≤ N_obs) = F(N_obs; N_exp),
// F the Poisson distribution function. A small δ₁ says the forecast
// expected too few events, a small δ₂ too many.

#include <vector>

namespace zorv {

double BrierScore(const std::vector<double>& p, const std::vector<int>& happened);
// The base rate ō of the sequence.
double BaseRate(const std::vector<int>& happened);
// BS of the climatological forecast ō·(1 − ō).
double ClimatologyBrierScore(const std::vector<int>& happened);
double BrierSkillScore(const std::vector<double>& p, const std::vector<int>& happened);

struct ReliabilityBin {
    double from = 0.0, to = 0.0;  // [from, to), the last bin closed
    int count = 0;
    double meanForecast = 0.0;       // NaN when empty
    double observedFrequency = 0.0;  // NaN when empty
};
std::vector<ReliabilityBin> ReliabilityTable(const std::vector<double>& p, const std::vector<int>& happened,
                                             int bins = 10);

// Σ −ln(1 − p_k); a probability of 1 gives an infinite expectation.
double ExpectedEventCount(const std::vector<double>& p);
// Poisson F(k; μ) = P(N ≤ k); 0 for k < 0.
double PoissonCdf(int k, double mean);
struct NumberTest {
    double expected = 0.0;
    int observed = 0;
    double atLeast = 1.0;  // δ₁
    double atMost = 1.0;   // δ₂
};
NumberTest PoissonNumberTest(double expected, int observed);

}  // namespace zorv

#pragma once
// What to try when an estimator fails on a real catalogue, said in the
// seismologist's terms and with the sample's own figures: how many events
// reach MMin when there are too few of them; how far the largest event
// stands above the Gutenberg–Richter law fitted to the sample when the
// joint β–Mmax loop or the maximum-magnitude equation does not converge
// (with a pointer to the comparison of maximum-magnitude estimators); the
// ties of rounded magnitudes when the smoothing factor collapses. The
// failure's own message stays first; the advice follows it.

#include <cstddef>
#include <exception>
#include <string>
#include <vector>

#include "catalogue/AnalysisSettings.h"
#include "hazard/HazardAnalysis.h"

namespace zorv {

class Table;

// The figures of the sample the advice quotes.
struct FailureSample {
    std::size_t events = 0;     // with a magnitude
    std::size_t aboveMMin = 0;  // of those, at or above MMin
    double mMin = 0;
    double largest = 0;  // the largest magnitude (of the events at or above MMin)
    // The Aki–Utsu b-value of the events at or above MMin, binned
    // (mean − (MMin − ΔM/2)) when the magnitudes have a resolution ΔM; 0
    // when it cannot be found (fewer than two events, no spread).
    double bValue = 0;
    // The magnitude the fitted law expects the largest of the events to
    // have, where N·10^(−b(M − M0)) = 1: M0 + log10(N)/b with M0 = MMin (or
    // MMin − ΔM/2); 0 without a b-value.
    double expectedLargest = 0;
    double resolution = 0;  // 0.1, 0.01, …; 0 when none
    std::size_t tied = 0;   // events whose magnitude another one has
    int minSampleSize = 0;
};

FailureSample DescribeFailureSample(const std::vector<double>& magnitudes, const AnalysisSettings& settings);
// The magnitudes of the records the table presents: the magnitude field,
// else those of the energy field by log10 E = a·M + b.
FailureSample DescribeFailureSample(const Table& sample, const AnalysisSettings& settings);

// The largest event counts as standing far above the law from this many
// magnitude units over the expected largest one.
inline constexpr double kFarAboveTheLaw = 0.5;

// The sentences to add to the failure's message; empty when there is
// nothing to add (the user's stop, a failure of another kind).
std::string FailureAdvice(std::exception_ptr failure, const FailureSample& sample, const Locale& locale);

// DescribeHazardFailure with the advice on a line of its own after the text.
HazardFailureMessage DescribeHazardFailure(std::exception_ptr failure, const FailureSample& sample,
                                           const Locale& locale);

}  // namespace zorv

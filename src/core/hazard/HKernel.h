#pragma once
// The magnitude sample of the kernel hazard estimators: the magnitudes of the
// analysed catalogue at or above the completeness threshold MMin, in record
// order, with the dates of the first and last of them and the smallest and
// largest magnitude observed.

#include <string>
#include <vector>

#include "analysis/DBDialogs.h"

namespace zorv {

class HKernel : public DBDialogs {
public:
    // Reads the sample. Raises ENoRecords when the catalogue is empty or no
    // magnitude reaches MMin, and EBreakProcess when the user stops the
    // reading or declines to go on with a sample smaller than MinSampleSize
    // (asked only while the progress window is shown). The analysis' date
    // span becomes that of the qualifying events.
    HKernel(const AnalysisSettings& settings, Table* dataset, Progress* progress);

    double LowerBound() const { return mMin; }
    int RecordCount() const { return recordCount; }
    // Magnitudes of all records, in record order.
    const std::vector<double>& RecordMagnitudes() const { return records; }
    int SampleSize() const { return static_cast<int>(x.size()); }
    // The magnitudes ≥ MMin, in record order.
    const std::vector<double>& Sample() const { return x; }
    double LargestObserved() const { return largestObserved; }
    // The resolution of the sample's magnitudes (0 when they have none), the
    // number of tied values, and whether the ties were spread over their
    // rounding intervals (RandomiseTiedMagnitudes).
    double MagnitudeResolution() const { return resolution; }
    std::size_t TiedMagnitudes() const { return ties; }
    bool MagnitudesRandomised() const { return randomised; }
    // The report lines of the above; none for a sample without ties.
    void WriteResolutionLines(std::vector<std::string>& lines) const;
    double SmallestObserved() const { return smallestObserved; }

protected:
    // Light construction for an estimator whose sample its caller supplies:
    // nothing is read, and the sample stays empty.
    HKernel(const AnalysisSettings& settings, Progress* progress);

    // Finds the resolution and the ties of the sample read, and, with
    // RandomiseTiedMagnitudes, spreads tied magnitudes over their rounding
    // intervals (the kernel estimators call it; the parametric estimators
    // take the magnitudes as given).
    void RandomiseTies();

    double mMin;
    int recordCount = 0;
    std::vector<double> records;
    std::vector<double> x;
    double largestObserved = 0.0;
    double smallestObserved = 10000.0;
    double resolution = 0.0;
    std::size_t ties = 0;
    bool randomised = false;
};

}  // namespace zorv

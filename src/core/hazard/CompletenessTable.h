#pragma once
// The completeness-magnitude analysis of a catalogue sample: the magnitudes
// of every selected event (the completeness threshold MMin is what is being
// estimated, so it does not narrow the sample), the estimates of Mc by the
// methods asked for with their bootstrap spread, and the frequency–magnitude
// distribution as its result table ("Magnituda" the bin centre, "Liczba" the
// events of the bin, "Liczba_kum" the events at or above it).

#include <vector>

#include "analysis/DBDialogs.h"
#include "hazard/Completeness.h"

namespace zorv {

// The magnitudes of the dataset's records as it presents them, in record
// order.
std::vector<double> datasetMagnitudes(const AnalysisSettings& settings, Table* dataset);

class CompletenessTable : public DBDialogs {
public:
    // Raises ENoRecords for an empty dataset and the failures of
    // estimateCompleteness.
    CompletenessTable(const AnalysisSettings& settings, Table* dataset, const McOptions& options,
                      const std::vector<McMethod>& methods, Progress* progress = nullptr);

    const CompletenessResult& Result() const { return result; }
    const McOptions& Options() const { return options; }
    int SampleSize() const { return sampleSize; }

    // Opening, sample, bin width, one line per estimate, the table.
    bool WriteReport(ReportLines& lines) override;

private:
    McOptions options;
    CompletenessResult result;
    int sampleSize = 0;
};

// "1,23 ± 0,04" in the user's locale; "brak" without an estimate and no
// spread where it is NaN.
std::string formatMcEstimate(const McEstimate& e, const Locale& locale);

}  // namespace zorv

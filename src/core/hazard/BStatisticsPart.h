#pragma once
// What the b statistics add to an analysis of b-values (per period or per
// zone): the options it runs with, the columns "sigma" and "P_UTSU" of its
// table, and the statistics of the whole sample that end its report.

#include <memory>
#include <string>
#include <vector>

#include "catalogue/AnalysisSettings.h"
#include "hazard/BValueStatistics.h"
#include "report/ReportLines.h"
#include "report/ReportScope.h"
#include "table/Table.h"

namespace zorv {

struct BSampleStatistics;

class BStatisticsPart {
public:
    const BStatisticsOptions& Statistics() const { return statistics_; }

protected:
    explicit BStatisticsPart(const BStatisticsOptions& options);
    ~BStatisticsPart();
    BStatisticsPart(const BStatisticsPart&) = delete;
    BStatisticsPart& operator=(const BStatisticsPart&) = delete;

    // Appends "sigma" and "P_UTSU" when the statistics are on, then
    // "b_AKI" and "sigma_AKI" when the Aki–Utsu b is.
    void AddStatisticsFields(FieldDefs& fields) const;
    // The fields shown with the mask of b: "b", and "b_AKI" when on.
    std::vector<std::string> BFields() const;
    // The values of "b_AKI" and "sigma_AKI" for the dataset's current view,
    // appended to the row when the Aki–Utsu b is on (null where it has none).
    void AppendAki(const AnalysisSettings& settings, Table* dataset, std::vector<Value>& row) const;
    // Estimates the statistics over the dataset's current view, when on.
    void EstimateSampleStatistics(const AnalysisSettings& settings, Table* dataset);
    // Ends the report with them, when on.
    void WriteSampleStatistics(const ReportScope& analysis, ReportLines& lines) const;

    BStatisticsOptions statistics_;

private:
    std::unique_ptr<BSampleStatistics> sample_;
};

}  // namespace zorv

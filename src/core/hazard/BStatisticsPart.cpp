#include "hazard/BStatisticsPart.h"

#include "hazard/BStatisticsReport.h"

namespace zorv {

BStatisticsPart::BStatisticsPart(const BStatisticsOptions& options) : statistics_(options) {}

BStatisticsPart::~BStatisticsPart() = default;

void BStatisticsPart::AddStatisticsFields(FieldDefs& fields) const {
    if (!statistics_.enabled) return;
    fields.emplace_back("sigma", FieldType::Float);
    fields.emplace_back("P_UTSU", FieldType::Float);
}

void BStatisticsPart::EstimateSampleStatistics(const AnalysisSettings& settings, Table* dataset) {
    if (statistics_.enabled)
        sample_ =
            std::make_unique<BSampleStatistics>(EstimateBSampleStatistics(settings, dataset, statistics_));
}

void BStatisticsPart::WriteSampleStatistics(const ReportScope& analysis, ReportLines& lines) const {
    if (statistics_.enabled) WriteBSampleStatistics(analysis, lines, *sample_, statistics_);
}

}  // namespace zorv

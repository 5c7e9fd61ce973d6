#include "hazard/BStatisticsPart.h"

#include "hazard/BStatisticsReport.h"

namespace zorv {

BStatisticsPart::BStatisticsPart(const BStatisticsOptions& options) : statistics_(options) {}

BStatisticsPart::~BStatisticsPart() = default;

void BStatisticsPart::AddStatisticsFields(FieldDefs& fields) const {
    if (statistics_.enabled) {
        fields.emplace_back("sigma", FieldType::Float);
        fields.emplace_back("P_UTSU", FieldType::Float);
    }
    if (statistics_.aki) {
        fields.emplace_back("b_AKI", FieldType::Float);
        fields.emplace_back("sigma_AKI", FieldType::Float);
    }
}

std::vector<std::string> BStatisticsPart::BFields() const {
    if (!statistics_.aki) return {"b"};
    return {"b", "b_AKI"};
}

void BStatisticsPart::AppendAki(const AnalysisSettings& settings, Table* dataset,
                                std::vector<Value>& row) const {
    if (!statistics_.aki) return;
    const AkiEstimate a = EstimateAkiB(settings, dataset, statistics_.binWidth);
    row.push_back(a.b > 0.0 ? Value::real(a.b) : Value{});
    row.push_back(a.b > 0.0 ? Value::real(a.shiBoltError) : Value{});
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

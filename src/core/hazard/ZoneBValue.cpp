#include "hazard/ZoneBValue.h"

#include "hazard/BEstimate.h"
#include "hazard/BStatisticsReport.h"

namespace zorv {

DBZoneBChanges::DBZoneBChanges(const AnalysisSettings& settings, Table* dataset,
                               std::vector<std::string> zones_, Progress* progress,
                               const BStatisticsOptions& statistics)
    : DBZones(settings, dataset, std::move(zones_), progress), BStatisticsPart(statistics) {
    // "Opis" is wide enough for the longest failure text.
    FieldDefs fields{{"b", FieldType::Float}, {"Beta", FieldType::Float}, {"Opis", FieldType::String, 30}};
    AddStatisticsFields(fields);
    CreateZoneTable(fields, BFields());
    title = "Współczynnik b";
    leftAxisTitle = "Współczynnik b";
    // The zone loop replaces the dataset's filter; the whole sample and the
    // rest of each zone are read with none and with the zone's complement.
    const std::string sampleFilter = dataset_->filter();
    const bool sampleFiltered = dataset_->filtered();
    RunZoneLoop([&](const std::string& zone) {
        const BEstimate estimate = EstimateB(settings_, dataset_, TimeUnit::Quarters);
        const bool known = estimate.beta != 0.0;
        std::vector<Value> row{
            Value{}, Value::text(zone), known ? Value::real(bFromBeta(estimate.beta)) : Value{},
            known ? Value::real(estimate.beta) : Value{}, Value::text(estimate.description)};
        // Read before the statistics turn the filter to the rest of the zone.
        std::vector<Value> aki;
        AppendAki(settings_, dataset_, aki);
        if (statistics_.enabled) {
            row.push_back(known ? Value::real(shiBoltErrorOf(estimate)) : Value{});
            BEstimate rest;
            if (known) {
                dataset_->setFilter("NOT (" + dataset_->filter() + ")");
                rest = EstimateB(settings_, dataset_, TimeUnit::Quarters);
            }
            row.push_back(rest.beta != 0.0
                              ? Value::real(utsuProbability(bFromBeta(estimate.beta), estimate.moments.n,
                                                            bFromBeta(rest.beta), rest.moments.n))
                              : Value{});
        }
        row.insert(row.end(), aki.begin(), aki.end());
        resultTable->appendRecord(row);
    });
    if (statistics_.enabled) {
        const std::string lastZone = dataset_->filter();
        dataset_->setFilter(sampleFilter);
        dataset_->setFiltered(sampleFiltered);
        EstimateSampleStatistics(settings_, dataset_);
        dataset_->setFilter(lastZone);
        dataset_->setFiltered(true);
    }
}

bool DBZoneBChanges::WriteReport(ReportLines& lines) {
    DBZones::WriteReport(lines);
    WriteSampleStatistics(*this, lines);
    return true;
}

}  // namespace zorv

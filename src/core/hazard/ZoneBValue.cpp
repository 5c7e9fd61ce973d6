#include "hazard/ZoneBValue.h"

#include "hazard/BValue.h"

namespace zorv {

DBZoneBChanges::DBZoneBChanges(const AnalysisSettings& settings, Table* dataset,
                               std::vector<std::string> zones_, Progress* progress)
    : DBZones(settings, dataset, std::move(zones_), progress) {
    // "Opis" is wide enough for the longest failure text.
    CreateZoneTable({{"b", FieldType::Float}, {"Beta", FieldType::Float}, {"Opis", FieldType::String, 30}},
                    {"b"});
    title = "Współczynnik b";
    leftAxisTitle = "Współczynnik b";
    RunZoneLoop([&](const std::string& zone) {
        const BEstimate estimate = EstimateB(settings_, dataset_, TimeUnit::Quarters);
        const bool known = estimate.beta != 0.0;
        resultTable->appendRecord(
            {Value{}, Value::text(zone), known ? Value::real(bFromBeta(estimate.beta)) : Value{},
             known ? Value::real(estimate.beta) : Value{}, Value::text(estimate.description)});
    });
}

}  // namespace zorv

#include "analysis/ZoneStatistics.h"

#include <cmath>

#include "report/ReportWriter.h"

namespace zorv {

namespace {
// A text literal of the filter language ('' stands for a quote).
std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        out += c;
        if (c == '\'') out += '\'';
    }
    return out + "'";
}

void filterTo(Table& t, const std::string& expression) {
    t.setFilter(expression);
    t.setFiltered(true);
}
}  // namespace

std::string zoneFilterExpression(const std::string& departmentField, const std::string& zone,
                                 const std::string& separator) {
    if (!separator.empty() && zone.find(separator) != std::string::npos)
        return departmentField + " = " + quoted(zone);
    return departmentField + " = " + quoted(zone + separator + "*");
}

DBZones::DBZones(const AnalysisSettings& settings, Table* dataset, std::vector<std::string> zones_,
                 Progress* progress)
    : DBSort(settings, dataset, progress), zones(std::move(zones_)) {
    bottomAxisTitle = "Strefa";
}

void DBZones::SelectZone(const std::string& zone) {
    filterTo(*dataset_, zoneFilterExpression(settings_.DepartmentField, zone, settings_.ZoneSeparator));
}

Table& DBZones::CreateZoneTable(const FieldDefs& fields, const std::vector<std::string>& energyFields) {
    FieldDefs all{{"Strefa", FieldType::String, 10}};
    all.insert(all.end(), fields.begin(), fields.end());
    Table& t = CreateResultTable(all, energyFields);
    t.setName(settings_.OutputDir + settings_.FilePrefix + std::to_string(analysisCount()) + ".db");
    return t;
}

bool DBZones::WriteReport(ReportLines& lines) {
    WriteReportOpening(*this, lines, title);
    lines.push_back(ReportMarker(*this, "<p>"));
    WriteTableText(lines);
    return true;
}

DBZoneTotalActivity::DBZoneTotalActivity(const AnalysisSettings& settings, Table* dataset,
                                         std::vector<std::string> zones_, Progress* progress)
    : DBZones(settings, dataset, std::move(zones_), progress) {
    CreateZoneTable({{"Aktywnosc", FieldType::Integer}, {"Energia", FieldType::Float}}, {"Energia"});
    title = "Aktywność sejsmiczna w strefach";
    leftAxisTitle = "Liczba zjawisk";
    RunZoneLoop([&](const std::string& zone) {
        std::int64_t count = 0;
        double energy = 0.0;
        ForEachInZone([&](std::size_t row) {
            const double e = ReadEnergy(row);
            count += countsInTotalActivity(e);
            energy += e;
        });
        resultTable->appendRecord({Value{}, Value::text(zone), Value::integer(count), Value::real(energy)});
    });
}

DBZoneEnergyReleased::DBZoneEnergyReleased(const AnalysisSettings& settings, Table* dataset,
                                           std::vector<std::string> zones_, Progress* progress)
    : DBZones(settings, dataset, std::move(zones_), progress) {
    CreateZoneTable({{"Energia", FieldType::Float}}, {"Energia"});
    title = "Energia wyzwolona w strefach";
    leftAxisTitle = "Energia wyzwolona";
    RunZoneLoop([&](const std::string& zone) {
        double energy = 0.0;
        ForEachInZone([&](std::size_t row) { energy += ReadEnergy(row); });
        resultTable->appendRecord({Value{}, Value::text(zone), Value::real(energy)});
    });
}

DBZoneActivityOverTreshold::DBZoneActivityOverTreshold(const AnalysisSettings& settings, Table* dataset,
                                                       std::vector<std::string> zones_, Progress* progress)
    : DBZones(settings, dataset, std::move(zones_), progress) {
    CreateZoneTable({{"Aktywnosc", FieldType::Float}});
    title = "Aktywność powyżej progu kompletności katalogu";
    leftAxisTitle = "Aktywność";
    const double mmin = settings_.MMin;
    RunZoneLoop([&](const std::string& zone) {
        double count = 0;
        ForEachInZone([&](std::size_t row) { count += ReadMagnitude(row) >= mmin ? 1.0 : 0.0; });
        resultTable->appendRecord({Value{}, Value::text(zone), Value::real(count)});
    });
}

DBZoneActivity::DBZoneActivity(const AnalysisSettings& settings, Table* dataset,
                               std::vector<std::string> zones_, bool energyClasses_, int maxClass,
                               Progress* progress)
    : DBGraphs(settings, dataset, PeriodKind::WholeSpan, progress),
      energyClasses(energyClasses_),
      zoneCount(static_cast<std::int32_t>(zones_.size())),
      N(maxClass),
      zones(std::move(zones_)) {
    FieldDefs fields{{"Strefa", FieldType::String, 10}, {"Aktywnosc", FieldType::Integer}};
    if (energyClasses) {
        for (int k = 0; k <= N; ++k)
            fields.emplace_back(settings_.EnergyChar + std::to_string(k), FieldType::Integer);
        fields.emplace_back("Energia", FieldType::Float);
    }
    CreateResultTable(fields, {"Energia"});
    resultTable->setName(settings_.OutputDir + settings_.FilePrefix + std::to_string(analysisCount()) +
                         ".db");
    title = "Aktywność sejsmiczna w strefach";
    bottomAxisTitle = "Strefa";
    leftAxisTitle = "Aktywność";
    rightAxisTitle = "Energia wyzwolona";
    StartProgress("Analiza bazy danych", 0, 100);
    SetProgressRange(0, zoneCount);
    std::vector<std::int64_t> counts(static_cast<std::size_t>(N) + 1);
    for (std::size_t i = 0; i < zones.size(); ++i) {
        SetProgressPosition(static_cast<int>(i));
        CheckCancel();
        filterTo(*dataset_,
                 zoneFilterExpression(settings_.DepartmentField, zones[i], settings_.ZoneSeparator));
        const std::size_t n = dataset_->recordCount();
        std::vector<Value> values{Value{}, Value::text(zones[i]),
                                  Value::integer(static_cast<std::int64_t>(n))};
        if (energyClasses) {
            std::fill(counts.begin(), counts.end(), 0);
            double energy = 0.0;
            for (std::size_t r = 0; r < n; ++r) {
                const double e = ReadEnergy(dataset_->rowOfRecord(r));
                ++counts[static_cast<std::size_t>(energyClass(e, N))];
                energy += e;
            }
            for (auto c : counts) values.push_back(Value::integer(c));
            values.push_back(Value::real(energy));
        }
        resultTable->appendRecord(values);
    }
    HideProgress();
    resultTable->first();
}

bool DBZoneActivity::WriteReport(ReportLines& lines) {
    WriteReportOpening(*this, lines, title);
    lines.push_back(ReportMarker(*this, "<p>"));
    WriteTableText(lines);
    return true;
}

}  // namespace zorv

#include "analysis/ActivitySeries.h"

#include <cmath>

#include "report/ReportWriter.h"

namespace zorv {

int energyClass(double energy, int maxClass) {
    if (!(energy > 0.0)) return 0;
    const double k = std::trunc(std::log10(energy));
    if (k < 0.0) return 0;
    if (k > maxClass) return maxClass;
    return static_cast<int>(k);
}

bool countsInTotalActivity(double energy) { return energy > 0.0 && std::log10(energy) >= 3.0; }

bool DBSeries::WriteReport(ReportLines& lines) {
    WriteReportOpening(*this, lines, heading);
    lines.push_back(ReportMarker(*this, "<p>"));
    WriteTableText(lines);
    return true;
}

void DBSeries::Accumulate(const std::vector<std::string>& fields) {
    Table& t = *resultTable;
    std::vector<int> idx;
    for (const auto& name : fields) idx.push_back(t.requireField(name));
    std::vector<Value> previous;
    t.first();
    for (std::size_t i = 0; i < t.recordCount(); ++i) {
        t.setRecNo(i + 1);
        if (i > 0) {
            t.edit();
            for (std::size_t k = 0; k < idx.size(); ++k) {
                const Value cur = t.fieldValue(idx[k]);
                if (cur.kind() == Value::Kind::Float)
                    t.setFieldValue(idx[k], Value::real(cur.toDouble() + previous[k].toDouble()));
                else
                    t.setFieldValue(idx[k], Value::integer(cur.toInt() + previous[k].toInt()));
            }
            t.post();
        }
        previous.clear();
        for (int f : idx) previous.push_back(t.fieldValue(f));
    }
    t.first();
}

// ---------------------------------------------------------------- classes

DBActivity::DBActivity(const AnalysisSettings& settings, Table* dataset, PeriodKind kind, int maxClass,
                       Progress* progress)
    : DBSeries(settings, dataset, kind, progress), N(maxClass) {
    FieldDefs fields{{"Okres", FieldType::String, 20}};
    for (int k = 0; k <= N; ++k)
        fields.emplace_back(settings_.EnergyChar + std::to_string(k), FieldType::Integer);
    fields.emplace_back("Suma", FieldType::Integer);
    fields.emplace_back("Energia", FieldType::Float);
    CreateResultTable(fields, {"Energia"});
    title = heading = periodAdjective(kind) + "aktywność sejsmiczna";
    bottomAxisTitle = periodAxisCaption(kind);
    leftAxisTitle = "Aktywność";
    rightAxisTitle = "Energia wyzwolona";
    std::vector<std::int64_t> counts(static_cast<std::size_t>(N) + 1);
    RunPeriodLoop([&] {
        std::fill(counts.begin(), counts.end(), 0);
        std::int64_t total = 0;
        double energy = 0.0;
        ForEachSelected([&](std::size_t row) {
            const double e = ReadEnergy(row);
            ++counts[static_cast<std::size_t>(energyClass(e, N))];
            ++total;
            energy += e;
        });
        std::vector<Value> values{Value{}, Value::text(periodLabel)};
        for (auto c : counts) values.push_back(Value::integer(c));
        values.push_back(Value::integer(total));
        values.push_back(Value::real(energy));
        resultTable->appendRecord(values);
    });
    resultTable->first();
}

DBActivityC::DBActivityC(const AnalysisSettings& settings, Table* dataset, PeriodKind kind, int maxClass,
                         Progress* progress)
    : DBActivity(settings, dataset, kind, maxClass, progress) {
    title = heading = periodAdjective(kind) + "skumulowana aktywność sejsmiczna";
    rightAxisTitle = "Skumulowana energia wyzwolona";
    std::vector<std::string> fields;
    for (int k = 0; k <= N; ++k) fields.push_back(settings_.EnergyChar + std::to_string(k));
    fields.push_back("Suma");
    fields.push_back("Energia");
    Accumulate(fields);
}

ActivityOverTreshold::ActivityOverTreshold(const AnalysisSettings& settings, Table* dataset, PeriodKind kind,
                                           Progress* progress)
    : DBSeries(settings, dataset, kind, progress) {
    CreateResultTable({{"Okres", FieldType::String, 20}, {"Aktywnosc", FieldType::Integer}});
    title = "Liczba zjawisk powyżej progu kompletności katalogu";
    heading = periodAdjective(kind) + "liczba zjawisk powyżej progu kompletności";
    bottomAxisTitle = periodAxisCaption(kind);
    leftAxisTitle = "Liczba zjawisk";
    const double mmin = settings_.MMin;
    RunPeriodLoop([&] {
        std::int64_t count = 0;
        ForEachSelected([&](std::size_t row) { count += ReadMagnitude(row) >= mmin; });
        resultTable->appendRecord({Value{}, Value::text(periodLabel), Value::integer(count)});
    });
    resultTable->first();
}

DBActivityOverTresholdC::DBActivityOverTresholdC(const AnalysisSettings& settings, Table* dataset,
                                                 PeriodKind kind, Progress* progress)
    : ActivityOverTreshold(settings, dataset, kind, progress) {
    title = periodAdjective(kind) + "skumulowana liczba zjawisk powyżej progu kompletności";
    heading = title;
    rightAxisTitle = "Liczba zjawisk";
    Accumulate({"Aktywnosc"});
}

DBTotalActivity::DBTotalActivity(const AnalysisSettings& settings, Table* dataset, PeriodKind kind,
                                 Progress* progress)
    : DBSeries(settings, dataset, kind, progress) {
    CreateResultTable(
        {{"Okres", FieldType::String, 20}, {"Aktywnosc", FieldType::Integer}, {"Energia", FieldType::Float}},
        {"Energia"});
    title = heading = "Całkowita " + periodAdjective(kind) + "aktywność sejsmiczna";
    bottomAxisTitle = periodAxisCaption(kind);
    leftAxisTitle = "Aktywność";
    rightAxisTitle = "Energia wyzwolona";
    RunPeriodLoop([&] {
        std::int64_t count = 0;
        double energy = 0.0;
        ForEachSelected([&](std::size_t row) {
            const double e = ReadEnergy(row);
            count += countsInTotalActivity(e);
            energy += e;
        });
        resultTable->appendRecord(
            {Value{}, Value::text(periodLabel), Value::integer(count), Value::real(energy)});
    });
    resultTable->first();
}

DBTotalActivityC::DBTotalActivityC(const AnalysisSettings& settings, Table* dataset, PeriodKind kind,
                                   Progress* progress)
    : DBTotalActivity(settings, dataset, kind, progress) {
    title = heading = "Całkowita " + periodAdjective(kind) + "skumulowana aktywność sejsmiczna";
    rightAxisTitle = "Skumulowana energia wyzwolona";
    Accumulate({"Aktywnosc", "Energia"});
}

DBBarEnReleased::DBBarEnReleased(const AnalysisSettings& settings, Table* dataset, PeriodKind kind,
                                 Progress* progress)
    : DBSeries(settings, dataset, kind, progress) {
    CreateResultTable({{"Okres", FieldType::String, 20}, {"Energia", FieldType::Float}}, {"Energia"});
    title = heading = periodAdjective(kind) + "energia wyzwolona";
    bottomAxisTitle = periodAxisCaption(kind);
    leftAxisTitle = rightAxisTitle = "Energia wyzwolona";
    RunPeriodLoop([&] {
        double energy = 0.0;
        ForEachSelected([&](std::size_t row) { energy += ReadEnergy(row); });
        resultTable->appendRecord({Value{}, Value::text(periodLabel), Value::real(energy)});
    });
    resultTable->first();
}

DBBarEnReleasedC::DBBarEnReleasedC(const AnalysisSettings& settings, Table* dataset, PeriodKind kind,
                                   Progress* progress)
    : DBBarEnReleased(settings, dataset, kind, progress) {
    title = heading = periodAdjective(kind) + "skumulowana energia wyzwolona";
    leftAxisTitle = rightAxisTitle = "Skumulowana energia wyzwolona";
    Accumulate({"Energia"});
}

DBLineEnReleased::DBLineEnReleased(const AnalysisSettings& settings, Table* dataset, PeriodKind kind,
                                   Progress* progress)
    : DBSeries(settings, dataset, kind, progress) {
    CreateResultTable(
        {{"Okres", FieldType::String, 20}, {"X", FieldType::Integer}, {"Energia", FieldType::Float}},
        {"Energia"});
    title = heading = "Energia wyzwolona";
    bottomAxisTitle = periodAxisCaption(kind);
    leftAxisTitle = rightAxisTitle = "Energia wyzwolona";
    if (!hasData) return;
    RunPeriodLoop([&] {
        // Consecutive events of one day are summed into one row.
        bool first = true;
        std::int32_t day = 0;
        double sum = 0.0;
        auto append = [&](std::int32_t d, double e) {
            resultTable->appendRecord({Value{}, Value::text(periodLabel), Value::integer(d), Value::real(e)});
        };
        ForEachSelected([&](std::size_t row) {
            const std::int32_t d = DayOfRow(row);
            if (first) {
                day = d;
                first = false;
            }
            if (d == day) {
                sum += ReadEnergy(row);
            } else {
                append(day, sum);
                sum = ReadEnergy(row);
            }
            day = d;
        });
        if (sum > 0.0) append(day, sum);
    });
    resultTable->first();
}

DBLineEnReleasedC::DBLineEnReleasedC(const AnalysisSettings& settings, Table* dataset, PeriodKind kind,
                                     Progress* progress)
    : DBLineEnReleased(settings, dataset, kind, progress) {
    title = heading = "Skumulowana en. wyzwolona";
    leftAxisTitle = rightAxisTitle = "Skumulowana energia wyzwolona";
    Accumulate({"Energia"});
}

}  // namespace zorv

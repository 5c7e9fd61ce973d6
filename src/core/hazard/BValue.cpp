#include "hazard/BValue.h"

#include "hazard/BStatisticsReport.h"

namespace zorv {

namespace {
// Narrows the dataset's selection to `expression` for the lifetime of the
// object and restores its previous filter afterwards.
class FilterScope {
public:
    FilterScope(Table& t, const std::string& expression)
        : table(t), text(t.filter()), wasFiltered(t.filtered()) {
        const bool narrow = wasFiltered && !text.empty();
        table.setFilter(narrow ? "(" + text + ") AND (" + expression + ")" : expression);
        table.setFiltered(true);
    }
    ~FilterScope() {
        table.setFilter(text);
        table.setFiltered(wasFiltered);
    }
    FilterScope(const FilterScope&) = delete;
    FilterScope& operator=(const FilterScope&) = delete;

private:
    Table& table;
    std::string text;
    bool wasFiltered;
};
}  // namespace

DBBChanges::DBBChanges(const AnalysisSettings& settings, Table* dataset, PeriodKind kind, Progress* progress,
                       const BStatisticsOptions& statistics)
    : DBSeries(settings, dataset, kind, progress), BStatisticsPart(statistics) {
    // "Opis" is wide enough for the longest failure text.
    FieldDefs fields{
        {"Okres", FieldType::String, 20}, {"b", FieldType::Float}, {"Opis", FieldType::String, 30}};
    AddStatisticsFields(fields);
    Table& t = CreateResultTable(fields, BFields());
    title = heading = periodAdjective(kind) + "zmiana współczynnika b";
    bottomAxisTitle = periodAxisCaption(kind);
    leftAxisTitle = "Współczynnik b";
    const TimeUnit unit = kind == PeriodKind::Months ? TimeUnit::Months : TimeUnit::Quarters;
    BEstimate previous;  // the nearest earlier period with an estimate
    RunPeriodLoop([&] {
        BEstimate estimate;
        if (periodKind == PeriodKind::WholeSpan) {
            estimate = EstimateB(settings_, dataset_, unit);
        } else {
            const FilterScope period(*dataset_, filterExpression);
            estimate = EstimateB(settings_, dataset_, unit);
        }
        const bool known = estimate.beta != 0.0;
        std::vector<Value> row{Value{}, Value::text(periodLabel),
                               known ? Value::real(bFromBeta(estimate.beta)) : Value{},
                               Value::text(estimate.description)};
        if (statistics_.enabled) {
            row.push_back(known ? Value::real(shiBoltErrorOf(estimate)) : Value{});
            const bool compared = known && previous.beta != 0.0;
            row.push_back(compared
                              ? Value::real(utsuProbability(bFromBeta(previous.beta), previous.moments.n,
                                                            bFromBeta(estimate.beta), estimate.moments.n))
                              : Value{});
            if (known) previous = estimate;
        }
        if (statistics_.aki) {
            if (periodKind == PeriodKind::WholeSpan) {
                AppendAki(settings_, dataset_, row);
            } else {
                const FilterScope period(*dataset_, filterExpression);
                AppendAki(settings_, dataset_, row);
            }
        }
        t.appendRecord(row);
    });
    EstimateSampleStatistics(settings_, dataset_);
    t.first();
}

bool DBBChanges::WriteReport(ReportLines& lines) {
    DBSeries::WriteReport(lines);
    WriteSampleStatistics(*this, lines);
    return true;
}

}  // namespace zorv

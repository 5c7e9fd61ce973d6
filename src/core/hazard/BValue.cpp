#include "hazard/BValue.h"

#include "hazard/BStatisticsReport.h"
#include "hazard/HazardErrors.h"

namespace zorv {

namespace {
constexpr double kLn10 = 2.30258509299404568402;

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

double bFromBeta(double beta) { return beta / kLn10; }

std::string bFailureText(const std::exception& failure) {
    if (dynamic_cast<const EBreakProcess*>(&failure)) throw EBreakProcess();
    if (dynamic_cast<const ENoRecords*>(&failure)) return "Brak rekordów";
    if (dynamic_cast<const ESampleTooLow*>(&failure)) return "Za mała próba danych";
    if (dynamic_cast<const EZeroNotFound*>(&failure)) return "Brak miejsca zerowego";
    if (dynamic_cast<const EHFactorBelowZero*>(&failure)) return "Brak miejsca zerowego";
    if (dynamic_cast<const ETooManyIterations*>(&failure)) return "Przekroczony limit iteracji";
    if (dynamic_cast<const ETooLargeMagnitude*>(&failure)) return "Całka nie jest zbieżna";
    return "Nieznany wyjątek";
}

BEstimate EstimateB(const AnalysisSettings& settings, Table* dataset, TimeUnit unit) {
    BEstimate out;
    try {
        const ParametricHazard estimator(settings, dataset, unit, true);
        out.beta = estimator.Beta();
        out.moments = sampleMoments(estimator.Sample());
        out.range = estimator.MMaxEst() - estimator.LowerBound();
    } catch (const EBreakProcess&) {
        throw;
    } catch (const AnalysisError& e) {
        out.beta = 0.0;
        out.description = bFailureText(e);
    }
    return out;
}

DBBChanges::DBBChanges(const AnalysisSettings& settings, Table* dataset, PeriodKind kind, Progress* progress,
                       const BStatisticsOptions& statistics)
    : DBSeries(settings, dataset, kind, progress), statistics_(statistics) {
    // "Opis" is wide enough for the longest failure text.
    FieldDefs fields{
        {"Okres", FieldType::String, 20}, {"b", FieldType::Float}, {"Opis", FieldType::String, 30}};
    if (statistics_.enabled) {
        fields.emplace_back("sigma", FieldType::Float);
        fields.emplace_back("P_UTSU", FieldType::Float);
    }
    Table& t = CreateResultTable(fields, {"b"});
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
        t.appendRecord(row);
    });
    if (statistics_.enabled)
        sampleStatistics_ =
            std::make_unique<BSampleStatistics>(EstimateBSampleStatistics(settings_, dataset_, statistics_));
    t.first();
}

bool DBBChanges::WriteReport(ReportLines& lines) {
    DBSeries::WriteReport(lines);
    if (statistics_.enabled) WriteBSampleStatistics(*this, lines, *sampleStatistics_, statistics_);
    return true;
}

DBBChanges::~DBBChanges() = default;

}  // namespace zorv

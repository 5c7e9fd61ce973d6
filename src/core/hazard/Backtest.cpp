#include "hazard/Backtest.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "base/AnalysisError.h"
#include "hazard/HazardErrors.h"
#include "hazard/Hrds.h"
#include "hazard/MMaxEstimators.h"
#include "hazard/ParametricHazard.h"
#include "hazard/RowsTable.h"
#include "report/ReportWriter.h"
#include "text/DateText.h"
#include "text/Dates.h"
#include "text/NumberFormat.h"

namespace zorv {

namespace {

constexpr double kDaysPerMonth = 365.25 / 12.0;

// The progress of the inner estimators: nothing shown, nothing asked, only
// the user's stop passed on.
class CancelOnly : public Progress {
public:
    explicit CancelOnly(Progress* outer) : outer_(outer) {}
    void start(const std::string&, int, int) override {}
    void setRange(int, int) override {}
    void setPosition(int) override {}
    void hide() override {}
    bool isCancelled() const override { return outer_->isCancelled(); }
    bool confirm(const std::string&) override { return true; }

private:
    Progress* outer_;
};

struct Event {
    double day;
    double magnitude;
    std::uint32_t row;
};

}  // namespace

std::optional<std::string> BacktestProblem(const BacktestParameters& p) {
    if (p.horizonDays < 7) return "Horyzont prognozy musi wynosić co najmniej 7 dni.";
    if (p.windowDays < 0) return "Długość okna nie może być ujemna.";
    if (p.windowDays > 0 && p.windowDays < p.horizonDays)
        return "Okno przeszłości nie może być krótsze od horyzontu prognozy.";
    return std::nullopt;
}

FamilyScores ScoreForecasts(const std::vector<BacktestOrigin>& origins, bool parametric, int bins) {
    FamilyScores s;
    std::vector<double> p;
    std::vector<int> o;
    int observed = 0;
    for (const BacktestOrigin& a : origins) {
        const double v = parametric ? a.parametric : a.nonParametric;
        if (std::isnan(v)) {
            ++s.failures;
            continue;
        }
        p.push_back(v);
        o.push_back(a.eventsAbove > 0 ? 1 : 0);
        observed += a.eventsAbove;
    }
    s.forecasts = static_cast<int>(p.size());
    s.reliability = ReliabilityTable(p, o, bins);
    if (p.empty()) return s;
    s.brier = BrierScore(p, o);
    s.baseRate = BaseRate(o);
    s.climatologyBrier = ClimatologyBrierScore(o);
    s.skill = BrierSkillScore(p, o);
    s.number = PoissonNumberTest(ExpectedEventCount(p), observed);
    return s;
}

Backtest::Backtest(const AnalysisSettings& settings, Table* dataset, const BacktestParameters& p,
                   Progress* progress)
    : DBDialogs(settings, dataset, progress), parameters(p) {
    if (const auto problem = BacktestProblem(p)) throw AnalysisError(*problem);
    title = "Weryfikacja prognoz hazardu";
    bottomAxisTitle = "Prawdopodobieństwo prognozowane";
    leftAxisTitle = "Częstość obserwowana";
    Run();
    parametricScores = ScoreForecasts(origins, true);
    nonParametricScores = ScoreForecasts(origins, false);
    FillTable();
    HideProgress();
    hasData = true;
}

void Backtest::Run() {
    Table& t = *dataset_;
    const int dateField = t.fieldIndex(settings_.DateField);
    std::vector<Event> events;
    if (dateField >= 0) {
        const Column& dates = t.column(dateField);
        for (std::size_t i = 0; i < t.recordCount(); ++i) {
            const std::size_t row = t.rowOfRecord(i);
            if (dates.isNull(row)) continue;
            events.push_back({dates.numberAt(row), ReadMagnitude(row), static_cast<std::uint32_t>(row)});
        }
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const Event& a, const Event& b) { return a.day < b.day; });
    const double mMin = settings_.MMin;
    if (std::none_of(events.begin(), events.end(), [&](const Event& e) { return e.magnitude >= mMin; }))
        throw ENoRecords();
    const int first = wholeDays(events.front().day);
    const int last = wholeDays(events.back().day);
    firstDate = first;
    lastDate = last;
    SetDateSpan(first, last);

    const int D = parameters.horizonDays;
    const int count = std::max(0, (last + 1 - first) / D - 1);
    StartProgress("Weryfikacja prognoz hazardu...", 0, std::max(count, 1));

    AnalysisSettings inner = settings_;
    inner.WithProgress = progressWindow != nullptr;
    CancelOnly cancel(progressWindow);
    Progress* innerProgress = progressWindow ? &cancel : nullptr;
    const double horizonMonths = D / kDaysPerMonth;

    // The kernel estimate kept between origins.
    double keptH = -1.0, keptMMax = -1.0, keptLargest = 0.0;
    std::size_t keptAt = 0;  // index of the first event after the origin of the last estimate

    std::vector<std::uint32_t> rows;
    std::size_t end = 0;    // events before the origin: [0, end)
    std::size_t begin = 0;  // the window's first event
    for (int k = 1; k <= count; ++k) {
        SetProgressPosition(k - 1);
        CheckCancel();
        BacktestOrigin o;
        o.day = first + k * D;
        while (end < events.size() && events[end].day < o.day) ++end;
        if (parameters.windowDays > 0)
            while (begin < end && events[begin].day < o.day - parameters.windowDays) ++begin;
        for (std::size_t i = end; i < events.size() && events[i].day < o.day + D; ++i)
            o.eventsAbove += events[i].magnitude >= parameters.magnitude;

        rows.clear();
        double largest = -INFINITY;
        std::size_t fresh = 0;
        for (std::size_t i = begin; i < end; ++i) {
            rows.push_back(events[i].row);
            if (events[i].magnitude >= mMin) {
                ++o.pastEvents;
                largest = std::max(largest, events[i].magnitude);
                fresh += i >= keptAt;
            }
        }
        if (o.pastEvents < settings_.MinSampleSize) {
            o.parametricNote = o.nonParametricNote = "Zbyt mała próba";
            origins.push_back(o);
            continue;
        }
        Table past = TableOfRows(t, rows);
        try {
            const ParametricHazard e(inner, &past, TimeUnit::Months, false, innerProgress);
            if (!(e.TimeUnitCountValue() > 0.0)) throw ESamplePeriodTooShort();
            o.parametric = e.Hazard(parameters.magnitude, horizonMonths);
        } catch (const EBreakProcess&) {
            throw;
        } catch (...) {
            o.parametricNote = MMaxFailureText(std::current_exception());
        }
        CheckCancel();
        try {
            const bool again = keptH <= 0.0 || largest != keptLargest ||
                               10 * fresh >= static_cast<std::size_t>(o.pastEvents);
            EstimateRequest request;
            request.h = again ? -1.0 : keptH;
            request.mMax = again ? -1.0 : keptMMax;
            request.variableUpperLimit = false;
            const Hrds e(inner, &past, TimeUnit::Months, request, innerProgress);
            if (again) {
                keptH = e.SmoothingFactor();
                keptMMax = e.MMaxEst();
                keptLargest = largest;
                keptAt = end;
                o.reestimated = true;
                ++reestimations;
            }
            o.nonParametric = e.HazardAt(parameters.magnitude, horizonMonths);
        } catch (const EBreakProcess&) {
            throw;
        } catch (...) {
            o.nonParametricNote = MMaxFailureText(std::current_exception());
        }
        origins.push_back(o);
    }
    SetProgressPosition(count);
    CheckCancel();
}

void Backtest::FillTable() {
    Table& t = CreateResultTable({{"Klasa", FieldType::String, 12},
                                  {"Srodek", FieldType::Float},
                                  {"N_P", FieldType::Integer},
                                  {"Prognoza_P", FieldType::Float},
                                  {"Czestosc_P", FieldType::Float},
                                  {"N_NP", FieldType::Integer},
                                  {"Prognoza_NP", FieldType::Float},
                                  {"Czestosc_NP", FieldType::Float}});
    for (const char* name : {"Srodek", "Prognoza_P", "Czestosc_P", "Prognoza_NP", "Czestosc_NP"})
        t.setDisplayFormat(t.requireField(name), settings_.ProbabilityMask);
    const Locale& loc = settings_.UserLocale;
    const auto value = [](double v) { return std::isnan(v) ? Value{} : Value::real(v); };
    for (std::size_t b = 0; b < parametricScores.reliability.size(); ++b) {
        const ReliabilityBin& p = parametricScores.reliability[b];
        const ReliabilityBin& n = nonParametricScores.reliability[b];
        t.appendRecord({Value{},
                        Value::text(formatMask(p.from, "0.0", loc) + "–" + formatMask(p.to, "0.0", loc)),
                        Value::real(0.5 * (p.from + p.to)), Value::integer(p.count), value(p.meanForecast),
                        value(p.observedFrequency), Value::integer(n.count), value(n.meanForecast),
                        value(n.observedFrequency)});
    }
    t.first();
}

bool Backtest::WriteReport(ReportLines& lines) {
    const Locale& loc = settings_.UserLocale;
    const auto number = [&](double v, const char* mask) {
        return std::isnan(v) ? std::string("—") : formatMask(v, mask, loc);
    };
    WriteReportOpening(*this, lines, title);
    WriteCommonParameters(*this, lines, 3);
    lines.push_back(ReportLabel("Magnituda prognozowana m:") +
                    FormatMagnitudeEnergy(*this, parameters.magnitude));
    lines.push_back(ReportLabel("Horyzont prognozy D:") + std::to_string(parameters.horizonDays) + " dni");
    lines.push_back(ReportLabel("Próba przeszłości:") +
                    (parameters.windowDays > 0 ? "okno " + std::to_string(parameters.windowDays) + " dni"
                                               : std::string("cała przeszłość")));
    lines.push_back(ReportLabel("Liczba prognoz:") + std::to_string(origins.size()));
    lines.push_back(ReportLabel("Nowe estymacje h i MMax:") + std::to_string(reestimations));
    lines.push_back(ReportMarker(*this, "<p>"));
    for (const bool parametric : {true, false}) {
        const FamilyScores& s = parametric ? parametricScores : nonParametricScores;
        lines.push_back(parametric ? "  Hazard parametryczny" : "  Hazard nieparametryczny");
        lines.push_back(ReportLabel("Prognozy / bez prognozy:") + std::to_string(s.forecasts) + " / " +
                        std::to_string(s.failures));
        lines.push_back(ReportLabel("Wynik Briera:") + number(s.brier, "0.0000"));
        lines.push_back(ReportLabel("Częstość klimatologiczna:") + number(s.baseRate, "0.0000"));
        lines.push_back(ReportLabel("Wynik Briera klimatologii:") + number(s.climatologyBrier, "0.0000"));
        lines.push_back(ReportLabel("Umiejętność Briera (BSS):") + number(s.skill, "0.0000"));
        lines.push_back(ReportLabel("Test liczby zjawisk:") + "obserwowane " +
                        std::to_string(s.number.observed) + ", oczekiwane " +
                        number(s.number.expected, "0.00"));
        lines.push_back(ReportLabel("P(N >= obserwowane):") + number(s.number.atLeast, "0.0000"));
        lines.push_back(ReportLabel("P(N <= obserwowane):") + number(s.number.atMost, "0.0000"));
        lines.push_back("");
    }
    const std::string separator = columnSeparator().empty() ? "\t" : columnSeparator();
    lines.push_back("  Prognozy w kolejnych okresach (data, próba, P param., P nieparam., zjawiska >= m):");
    for (const BacktestOrigin& o : origins) {
        std::string line =
            "  " + formatDate(o.day, loc) + separator + std::to_string(o.pastEvents) + separator +
            (std::isnan(o.parametric) ? o.parametricNote : number(o.parametric, "0.0000")) + separator +
            (std::isnan(o.nonParametric) ? o.nonParametricNote : number(o.nonParametric, "0.0000")) +
            separator + std::to_string(o.eventsAbove);
        lines.push_back(line);
    }
    lines.push_back(ReportMarker(*this, "<p>"));
    WriteTableText(lines);
    return true;
}

}  // namespace zorv

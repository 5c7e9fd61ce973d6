#include "hazard/TimeVariations.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "base/AnalysisError.h"
#include "hazard/BandText.h"
#include "hazard/HazardErrors.h"
#include "hazard/RowsTable.h"
#include "report/ReportWriter.h"
#include "text/DateText.h"
#include "text/DateTimeText.h"
#include "text/Dates.h"
#include "text/NumberFormat.h"

namespace zorv {

namespace {
constexpr double kLn10 = 2.30258509299404568402;
// A record without a date belongs to no window.
constexpr std::int32_t kNoDay = INT32_MIN;

}  // namespace

std::optional<double> WindowCompletenessMagnitude(const std::vector<double>& magnitudes,
                                                  const WindowCompleteness& c) {
    McOptions o;
    o.binWidth = c.binWidth;
    o.bootstrapResamples = 0;
    try {
        return estimateCompleteness(magnitudes, o, {c.method}).estimates.front().mc;
    } catch (const ENoRecords&) {
    } catch (const EMcSampleTooSmall&) {
    }
    return std::nullopt;
}

std::string TimeVariationsNote(std::exception_ptr failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const ESampleTooLow&) {
        return "Zbyt mała ilość rekordów";
    } catch (const ETooManyIterations&) {
        return "Przekroczony limit iteracji";
    } catch (const EHFactorBelowZero&) {
        return "Brak miejsca zerowego";
    } catch (const ENoRecords&) {
        return "Brak rekordów";
    } catch (const ETooLargeMagnitude&) {
        return "Całka nie jest zbieżna";
    } catch (const ESamplePeriodTooShort&) {
        return "Zbyt krótki okres próby";
    } catch (...) {
        return "Nieznany wyjątek";
    }
}

TimeVariations::TimeVariations(const AnalysisSettings& settings, Table* selection,
                               const TimeVariationsParameters& p, Progress* progress)
    : ParametricHazard(settings, progress), parameters(p) {
    unit = p.unit;
    variableUpperLimit = p.variableUpperLimit;
    SetDataset(selection);
    if (p.windowStep < 1) throw AnalysisError("Krok przemieszczania okna musi być większy od zera.");
    if (p.windowWidth < 1) throw AnalysisError("Szerokość okna musi być większa od zera.");
    if (p.completeness.enabled && !(p.completeness.binWidth > 0.0)) throw EMcBinWidth();
    title = kTimeVariationsCaption;
    RunWindows();
}

void TimeVariations::RunWindows() {
    Table& copy = *dataset_;
    copy.setFiltered(false);
    copy.setFilter("");
    const std::size_t count = copy.physicalCount();
    if (count == 0) throw ENoRecords();

    // Whole days of every record, read once: a window compares them
    // directly, both ends included.
    const int dateField = copy.fieldIndex(settings_.DateField);
    std::vector<std::int32_t> days(count, kNoDay);
    if (dateField >= 0) {
        const Column& c = copy.column(dateField);
        for (std::size_t r = 0; r < count; ++r)
            if (!c.isNull(r)) days[r] = wholeDays(c.numberAt(r));
    }
    // With the completeness, the magnitudes of every record, read once: Mc
    // is estimated on all the window's events, those below MMin included.
    const bool withMc = parameters.completeness.enabled;
    std::vector<double> magnitudes;
    if (withMc) {
        magnitudes.resize(count);
        for (std::size_t r = 0; r < count; ++r) magnitudes[r] = ReadMagnitude(r);
    }
    first = days.front() == kNoDay ? 0 : days.front();
    last = days.back() == kNoDay ? 0 : days.back();
    firstDate = first;
    lastDate = last;
    const int span = last - first;
    windowCountFormula = (span - parameters.windowWidth) / parameters.windowStep + 1;

    const bool withBands = parameters.bootstrap.enabled;
    FieldDefs fields{{"Data", FieldType::Integer}};
    std::vector<std::string> masked;
    for (const char* name : {"Beta", "b", "Lambda", "MMaxEst", "Hazard", "MRP"}) {
        masked.push_back(name);
        if (withBands) {
            masked.push_back(BandFieldName(name, false));
            masked.push_back(BandFieldName(name, true));
        }
    }
    for (const std::string& name : masked) fields.emplace_back(name, FieldType::Float);
    for (const FieldDef& f : FieldDefs{{"Opis", FieldType::String, 30},
                                       {"OkresStart", FieldType::Integer},
                                       {"OkresKoniec", FieldType::Integer},
                                       {"DataStart", FieldType::Date},
                                       {"DataKoniec", FieldType::Date},
                                       {"LZdarzen", FieldType::Integer},
                                       {"DoAnalizy", FieldType::Integer}})
        fields.push_back(f);
    if (withBands) fields.emplace_back("NieudRepl", FieldType::Integer);
    if (withMc) fields.emplace_back("Mc", FieldType::Float);
    Table& t = CreateResultTable(fields);
    for (const std::string& name : masked)
        t.setDisplayFormat(t.requireField(name), settings_.ProbabilityMask);
    if (withMc) t.setDisplayFormat(t.requireField("Mc"), settings_.ProbabilityMask);
    // Record slot of a field (slot 0 is the record number "Numer").
    const auto slot = [&t](const std::string& name) {
        return static_cast<std::size_t>(t.requireField(name));
    };
    const std::size_t dataSlot = slot("Data"), opisSlot = slot("Opis"), startSlot = slot("OkresStart"),
                      endSlot = slot("OkresKoniec"), dateStartSlot = slot("DataStart"),
                      dateEndSlot = slot("DataKoniec"), countSlot = slot("LZdarzen"),
                      analysedSlot = slot("DoAnalizy");
    // The value and, with the bands, its band from the window's replicates.
    const auto put = [&](std::vector<Value>& record, const char* name, double value,
                         const ParametricBands* bands,
                         const std::function<double(const ParametricModel&)>& quantity) {
        record[slot(name)] = Value::real(value);
        if (!bands) return;
        const Band band = bands->of(quantity);
        if (std::isfinite(band.lower)) record[slot(BandFieldName(name, false))] = Value::real(band.lower);
        if (std::isfinite(band.upper)) record[slot(BandFieldName(name, true))] = Value::real(band.upper);
    };

    AnalysisSettings windowSettings = settings_;
    windowSettings.MinSampleSize = parameters.minEvents;
    windowSettings.WithProgress = false;

    StartProgress("Analiza danych...", 0, std::max(windowCountFormula, 1));
    std::vector<std::uint32_t> rows;
    std::vector<double> windowMagnitudes;
    int start = first;
    int end = first + parameters.windowWidth;
    for (int index = 0;; ++index) {
        SetProgressPosition(index);
        if (IsCancelled()) {
            HideProgress();
            throw EBreakProcess();
        }
        rows.clear();
        for (std::size_t r = 0; r < count; ++r)
            if (days[r] >= start && days[r] <= end) rows.push_back(static_cast<std::uint32_t>(r));

        std::vector<Value> record(t.fields().size());
        record[dataSlot] = Value::integer(static_cast<std::int64_t>(std::trunc((start + end) * 0.5)));
        record[startSlot] = Value::integer(start);
        record[endSlot] = Value::integer(end);
        record[dateStartSlot] = Value::date(start);
        record[dateEndSlot] = Value::date(end);
        record[countSlot] = Value::integer(static_cast<std::int64_t>(rows.size()));
        // Before the parametric estimate, which may fail where Mc does not.
        if (withMc) {
            windowMagnitudes.clear();
            for (const std::uint32_t r : rows) windowMagnitudes.push_back(magnitudes[r]);
            if (const auto mc = WindowCompletenessMagnitude(windowMagnitudes, parameters.completeness))
                record[slot("Mc")] = Value::real(*mc);
            else
                ++windowsWithoutMc;
        }
        try {
            if (static_cast<int>(rows.size()) < parameters.minEvents) throw ESampleTooLow();
            Table window = TableOfRows(copy, rows);
            const ParametricHazard estimate(windowSettings, &window, unit, variableUpperLimit);
            // A span under three days has no length in months or quarters,
            // and so no activity rate.
            if (!(estimate.TimeUnitCountValue() > 0.0)) throw ESamplePeriodTooShort();
            mMaxEst = estimate.MMaxEst();
            mMin = estimate.LowerBound();
            n = estimate.SampleSize();
            beta = estimate.Beta();
            activityRate = estimate.ActivityRate();
            std::optional<ParametricBands> bands;
            if (withBands) {
                BootstrapOptions o = parameters.bootstrap;
                // Each window draws its own replicates.
                o.seed ^= static_cast<std::uint64_t>(index) * 0x9e3779b97f4a7c15ULL;
                bands = BootstrapParametric(estimate.Sample(), mMin, estimate.TimeUnitCountValue(),
                                            windowSettings, variableUpperLimit, o, [this](int) {
                                                if (IsCancelled()) throw EBreakProcess();
                                            });
                record[slot("NieudRepl")] = Value::integer(bands->failed);
                replicatesFailed += bands->failed;
                replicatesRun += o.replicates;
            }
            const ParametricBands* bb = bands ? &*bands : nullptr;
            put(record, "Beta", beta, bb, [](const ParametricModel& m) { return m.beta; });
            put(record, "b", beta / kLn10, bb, [](const ParametricModel& m) { return m.beta / kLn10; });
            put(record, "Lambda", activityRate, bb, [](const ParametricModel& m) { return m.rate; });
            put(record, "MMaxEst", mMaxEst, bb, [](const ParametricModel& m) { return m.mMax; });
            if (bb) {
                // No Mmax below the window's largest magnitude (BoundedMMaxBand).
                const Band b = BoundedMMaxBand(bb->of([](const ParametricModel& m) { return m.mMax; }),
                                               estimate.LargestObserved())
                                   .band;
                if (std::isfinite(b.lower))
                    record[slot(BandFieldName("MMaxEst", false))] = Value::real(b.lower);
                if (std::isfinite(b.upper))
                    record[slot(BandFieldName("MMaxEst", true))] = Value::real(b.upper);
            }
            const double hm = parameters.hazardMagnitude, hd = parameters.hazardPeriod;
            if (hm < mMaxEst)
                put(record, "Hazard", estimate.Hazard(hm, hd), bb,
                    [hm, hd](const ParametricModel& m) { return m.hazard(hm, hd); });
            const double rm = parameters.returnMagnitude;
            if (rm < mMaxEst)
                put(record, "MRP", estimate.MeanReturnPeriod(rm), bb,
                    [rm](const ParametricModel& m) { return m.returnPeriod(rm); });
            record[analysedSlot] = Value::integer(n);
        } catch (const EBreakProcess&) {
            HideProgress();
            throw;
        } catch (...) {
            record[opisSlot] = Value::text(TimeVariationsNote(std::current_exception()));
        }
        t.appendRecord(record);
        ++windowsWritten;

        start += parameters.windowStep;
        end += parameters.windowStep;
        if (end > last) break;
    }
    HideProgress();
    t.first();
    hasData = true;
}

std::string TimeVariations::ReturnPeriodLabel() const {
    return "Średni okres powrotu zjawiska o magnitudzie m =" +
           FormatMagnitudeEnergy(*this, parameters.returnMagnitude);
}

std::string TimeVariations::HazardLabel() const {
    return "Prawd. przekroczenia magnitudy m = " + FormatMagnitudeEnergy(*this, parameters.hazardMagnitude) +
           " w przeciągu " + formatGeneral(parameters.hazardPeriod, settings_.UserLocale) +
           (unit == TimeUnit::Months ? " miesięcy" : " kwartałów");
}

bool TimeVariations::WriteReport(ReportLines& lines) {
    const Locale& loc = settings_.UserLocale;
    const bool months = unit == TimeUnit::Months;
    // This report's labels are a column wider than those of the other
    // analyses.
    WriteReportTitle(*this, lines);
    lines.push_back(ReportMarker(*this, "<H2>"));
    lines.push_back(title);
    lines.push_back(ReportMarker(*this, "<H3>"));
    lines.push_back("  Data utworzenia pliku:             " + formatDateTime(reportClock(), loc));
    if (!settings_.CoordinateSystem.empty())
        lines.push_back("  Układ współrzędnych X/Y:           " + settings_.CoordinateSystem);
    lines.push_back("  Okres czasu:                       " + formatDate(first, loc) + " do " +
                    formatDate(last, loc));
    lines.push_back("  Próg kompletności katalogu:        " + FormatMagnitudeEnergy(*this, settings_.MMin));
    lines.push_back("  Zależność Energia - Magnituda:    LogE = " + formatGeneral(settings_.a, loc) +
                    " · m + " + formatGeneral(settings_.b, loc));
    lines.push_back("");
    // The windows written, not the formula's count, which is negative for a
    // selection shorter than the window.
    lines.push_back("  Liczba okien                       " + std::to_string(windowsWritten));
    lines.push_back("  Szerokość okna                     " + std::to_string(parameters.windowWidth) +
                    " dni");
    lines.push_back("  Krok okna                          " + std::to_string(parameters.windowStep) + " dni");
    lines.push_back("");
    lines.push_back("  Hazard sejsmiczny:");
    lines.push_back("   Prawdopodobieństwo przekroczenia magnitudy " +
                    FormatMagnitudeEnergy(*this, parameters.hazardMagnitude));
    lines.push_back("   Liczba okresów D = " + formatGeneral(parameters.hazardPeriod, loc) +
                    (months ? " miesięcy" : " kwartałów"));
    lines.push_back("");
    lines.push_back(std::string("  Średni okres powrotu ") +
                    (months ? " (w miesiącach)" : " (w kwartałach)"));
    lines.push_back("   Średni okres powrotu zjawiska o magnitudzie " +
                    FormatMagnitudeEnergy(*this, parameters.returnMagnitude) + ":");
    if (parameters.bootstrap.enabled) {
        lines.push_back("");
        lines.push_back(BandHeading(parameters.bootstrap, loc) + " w każdym oknie): kolumny _lo i _hi");
        lines.push_back("   Nieudane replikacje (wszystkie okna): " + std::to_string(replicatesFailed) +
                        " z " + std::to_string(replicatesRun));
    }
    if (parameters.completeness.enabled) {
        lines.push_back("");
        lines.push_back(
            "  Magnituda kompletności Mc w każdym oknie (kolumna Mc), ze wszystkich zjawisk okna:");
        lines.push_back(std::string("   Metoda: ") + mcMethodCaption(parameters.completeness.method));
        lines.push_back("   Szerokość przedziału magnitudy: " +
                        formatGeneral(parameters.completeness.binWidth, loc));
        lines.push_back("   Okna bez oszacowania: " + std::to_string(windowsWithoutMc) + " z " +
                        std::to_string(windowsWritten));
    }
    return true;
}

bool TimeVariations::WriteTableText(ReportLines& lines) {
    if (!resultTable) return false;
    WriteTableHeader(*this, lines, *resultTable);
    WriteTableRows(*this, lines, *resultTable, {"Data"});
    return true;
}

}  // namespace zorv

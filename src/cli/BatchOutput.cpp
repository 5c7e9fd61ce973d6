#include "BatchOutput.h"

#include <cstdio>

#include "BatchError.h"
#include "BatchOptions.h"
#include "hazard/Backtest.h"
#include "hazard/Hrds.h"
#include "hazard/LSCV.h"
#include "hazard/NonParametricHazard.h"
#include "hazard/ParametricTables.h"
#include "hazard/TimeVariations.h"
#include "report/ReportWriter.h"
#include "text/NumberFormat.h"

namespace zorv {

namespace {

void printNonParametric(const NonParametricHazard& e, HazardKind kind, const Locale& loc) {
    std::string line = "n = " + std::to_string(e.SampleSize());
    if (kind != HazardKind::SmoothingFactor)
        line += ", h = " + formatGeneral(e.SmoothingFactor(), loc) +
                ", MMaxEst = " + formatMask(e.MMaxEst(), "0.000000", loc);
    if (const auto* r = dynamic_cast<const Hrds*>(&e))
        line += ", średnia aktywność = " + formatMask(r->ActivityRate(), "0.000", loc) +
                (r->Unit() == TimeUnit::Months ? " zdarzeń/miesiąc" : " zdarzeń/kwartał");
    std::fprintf(stderr, "%s\n", line.c_str());
    const auto* t = dynamic_cast<const NonParametricBandTable*>(&e);
    if (!t || !t->Bands()) return;
    const NonParametricBands& b = *t->Bands();
    const Band h = b.of([](const NonParametricReplicate& x) { return x.h; });
    std::string bands = "Przedział ufności " + formatGeneral(100.0 * b.options.level, loc) + " %: h ";
    if (const auto* lscv = dynamic_cast<const LSCV*>(&e))
        bands = "h próby = " + formatMask(lscv->SampleH(), "0.000000", loc) + "  " + bands;
    bands += formatMask(h.lower, "0.000000", loc) + " – " + formatMask(h.upper, "0.000000", loc);
    if (kind != HazardKind::SmoothingFactor) {
        const Band mmax = b.of([](const NonParametricReplicate& x) { return x.mMax; });
        bands += "  MMaxEst " + formatMask(mmax.lower, "0.0000", loc) + " – " +
                 formatMask(mmax.upper, "0.0000", loc);
    }
    if (dynamic_cast<const Hrds*>(&e)) {
        const Band rate = b.of([](const NonParametricReplicate& x) { return x.rate; });
        bands += "  aktywność " + formatMask(rate.lower, "0.0000", loc) + " – " +
                 formatMask(rate.upper, "0.0000", loc);
    }
    bands +=
        "  nieudane replikacje: " + std::to_string(b.failed) + " z " + std::to_string(b.options.replicates);
    std::fprintf(stderr, "%s\n", bands.c_str());
}

void printParametric(const ParametricTable& t) {
    const bool months = t.Unit() == TimeUnit::Months;
    std::fprintf(stderr, "Beta = %.4f  b = %.4f  MMaxEst = %.4f  aktywność = %.4f zdarzeń/%s  n = %d\n",
                 t.Beta(), t.BValue(), t.MMaxEst(), t.ActivityRate(), months ? "miesiąc" : "kwartał",
                 t.SampleSize());
    if (const auto& bands = t.Bands()) {
        const auto range = [&](double (*q)(const ParametricModel&)) {
            const Band b = bands->of(q);
            return std::make_pair(b.lower, b.upper);
        };
        const auto beta = range([](const ParametricModel& m) { return m.beta; });
        const auto mmax = range([](const ParametricModel& m) { return m.mMax; });
        const auto rate = range([](const ParametricModel& m) { return m.rate; });
        std::fprintf(stderr,
                     "Przedział ufności %g %%: Beta %.4f – %.4f  MMaxEst %.4f – %.4f  aktywność %.4f – %.4f  "
                     "nieudane replikacje: %d z %d\n",
                     100.0 * bands->options.level, beta.first, beta.second, mmax.first, mmax.second,
                     rate.first, rate.second, bands->failed, bands->options.replicates);
    }
}

// A window whose estimate failed keeps its record with a note.
void printTimeVariations(TimeVariations& a) {
    int failed = 0;
    const Table& t = *a.GetTable();
    const int note = t.requireField("Opis");
    for (std::size_t i = 0; i < t.recordCount(); ++i)
        failed += !t.column(note).textAt(t.rowOfRecord(i)).empty();
    std::fprintf(stderr, "Liczba okien: %d, w tym bez estymacji: %d\n", a.WindowsWritten(), failed);
    if (a.Parameters().bootstrap.enabled)
        std::fprintf(stderr, "Nieudane replikacje bootstrap: %d z %d\n", a.ReplicatesFailed(),
                     a.ReplicatesRun());
    if (a.Parameters().completeness.enabled)
        std::fprintf(stderr, "Magnituda kompletności Mc (%s): okna bez oszacowania: %d\n",
                     mcMethodName(a.Parameters().completeness.method), a.WindowsWithoutMc());
}

void printBacktest(const Backtest& b) {
    for (const bool parametric : {true, false}) {
        const FamilyScores& s = parametric ? b.Parametric() : b.NonParametric();
        std::fprintf(stderr,
                     "%s: prognoz %d (bez prognozy %d), Brier %.4f, klimatologia %.4f, BSS %.4f, "
                     "zjawiska %d, oczekiwane %.2f\n",
                     parametric ? "Parametryczny" : "Nieparametryczny", s.forecasts, s.failures, s.brier,
                     s.climatologyBrier, s.skill, s.number.observed, s.number.expected);
    }
}

std::string extensionOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    const auto dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string ext = path.substr(dot);
    for (char& ch : ext) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return ext;
}

}  // namespace

void printEstimate(const AnalysisEntry& entry, const AnalysisRequest& request, Database& analysis,
                   const Locale& locale) {
    switch (entry.parameters) {
        case AnalysisParameters::NonParametric:
            if (const auto* e = dynamic_cast<const NonParametricHazard*>(&analysis))
                printNonParametric(*e, request.nonParametric.kind, locale);
            break;
        case AnalysisParameters::Parametric:
            if (const auto* t = dynamic_cast<const ParametricTable*>(&analysis)) printParametric(*t);
            break;
        case AnalysisParameters::TimeVariations:
            if (auto* a = dynamic_cast<TimeVariations*>(&analysis)) printTimeVariations(*a);
            break;
        case AnalysisParameters::Backtest:
            if (const auto* b = dynamic_cast<const Backtest*>(&analysis)) printBacktest(*b);
            break;
        default: break;
    }
}

void writeResultTable(const QCommandLineParser& p, Database& analysis) {
    if (!p.isSet(QStringLiteral("table"))) {
        ReportLines lines;
        analysis.WriteTableText(lines);
        for (const std::string& l : lines) std::printf("%s\n", l.c_str());
        return;
    }
    const std::string out = optionText(p, "table");
    const std::string ext = extensionOf(out);
    bool ok = false;
    std::string message;
    if (ext == ".dbf" || ext == ".db")
        ok = analysis.CopyToFile(out, &message);
    else if (ext == ".txt" || ext == ".csv" || ext == ".dat")
        ok = analysis.SaveTableAsText(out, ext == ".txt" ? "\t" : ext == ".csv" ? ";" : " ");
    else
        throw BatchError("Nieznany typ pliku tabeli: " + out + " (.dbf, .db, .txt, .csv, .dat)");
    if (!ok) throw BatchError(message.empty() ? "Nie można zapisać tabeli " + out : message);
}

void writeReport(const QCommandLineParser& p, Database& analysis) {
    if (!p.isSet(QStringLiteral("report"))) return;
    const std::string out = optionText(p, "report");
    ReportLines lines;
    analysis.WriteReport(lines);
    const std::string ext = extensionOf(out);
    if (ext == ".rtf")
        ExportReportRtf(lines, out);
    else if (ext == ".txt" || ext.empty())
        SaveReportText(lines, out);
    else
        throw BatchError("Nieznany typ pliku raportu: " + out + " (.txt, .rtf)");
}

}  // namespace zorv

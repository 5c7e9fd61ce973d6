#include "hazard/LSCV.h"

#include <cmath>

#include "base/AnalysisError.h"
#include "report/ReportWriter.h"
#include "text/NumberFormat.h"

namespace zorv {

LSCV::LSCV(const AnalysisSettings& settings, Table* dataset, double startH, double endH, double stepH,
           Progress* progress, const BootstrapOptions& bootstrap)
    : NonParametricBandTable(settings, dataset, -1.0, -1.0, {0, 0, 0}, progress, Construction::SampleOnly),
      start(startH),
      end(endH),
      step(stepH) {
    if (start == -1.0 || end == -1.0 || step == -1.0) {
        start = 0.002;
        end = 0.15;
        step = 0.002;
    }
    if (!(step > 0.0)) throw AnalysisError("Krok współczynnika gładkości musi być większy od zera");
    if (bootstrap.enabled) {
        noSearch = !settings_.UseRTNI && !settings_.UseRTMI;
        if (!noSearch) {
            // The sample's zero centres the smoothing of the replicates; the
            // request stays "search" so that the next hazard run searches
            // as it would have.
            SettleSmoothingFactor();
            sampleH = h;
            requestedH = -1.0;
            NonParametricBootstrapRequest r;
            r.smoothingOnly = true;
            RunBands(bootstrap, true, std::move(r));
        }
    }
    title = "Współczynnik gładkości";
    bottomAxisTitle = "Współczynnik gładkości h";
    Table& t = CreateResultTable({{"h", FieldType::Float}, {"f", FieldType::Float}});
    t.setDisplayFormat(t.fieldIndex("h"), settings_.ProbabilityMask);
    t.setDisplayFormat(t.fieldIndex("f"), settings_.ProbabilityMask);
    StartProgress("Tworzenie tabeli danych...", static_cast<int>(std::trunc(1000.0 * start)),
                  static_cast<int>(std::trunc(1000.0 * end)));
    // h is accumulated by repeated addition, as the user's step reads.
    for (double at = start; at <= end; at += step) {
        t.appendRecord({Value{}, Value::real(at), Value::real(LscvFunction(at))});
        SetProgressPosition(static_cast<int>(std::trunc(1000.0 * at)));
    }
    t.first();
    HideProgress();
}

bool LSCV::WriteReport(ReportLines& lines) {
    WriteReportOpening(*this, lines, "Współczynnik gładkości");
    WriteCommonParameters(*this, lines, 1);
    lines.push_back(ReportLabel("Minimalna założona magnituda:") + FormatMagnitudeEnergy(*this, mMin));
    lines.push_back(ReportLabel("Wielkość próby:") + std::to_string(SampleSize()));
    WriteResolutionLines(lines);
    lines.push_back(ReportLabel("Minimalna magnituda obserwowana:") +
                    FormatMagnitudeEnergy(*this, smallestObserved));
    lines.push_back(ReportLabel("Maksymalna magnituda obserwowana:") +
                    FormatMagnitudeEnergy(*this, largestObserved));
    if (bands) {
        lines.push_back(ReportLabel("Współczynnik gładkości próby:") +
                        formatMask(sampleH, "0.00000", settings_.UserLocale));
        WriteBandLines(lines, false, nullptr);
    } else if (noSearch) {
        lines.push_back("");
        lines.push_back(
            "  Przedział ufności współczynnika gładkości wymaga procedury RTNI lub RTMI (obie "
            "wyłączone).");
        lines.push_back("");
    }
    lines.push_back(ReportMarker(*this, "<p>"));
    WriteTableText(lines);
    return true;
}

}  // namespace zorv

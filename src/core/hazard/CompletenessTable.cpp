#include "hazard/CompletenessTable.h"

#include <cmath>

#include "hazard/HazardErrors.h"
#include "report/ReportWriter.h"
#include "text/NumberFormat.h"

namespace zorv {

namespace {

// The reader of an analysis that only reads magnitudes.
class MagnitudeReader : public Database {
public:
    MagnitudeReader(const AnalysisSettings& s, Table* t) : Database(s, t) {}
    Table* GetTable() override { return nullptr; }
    bool CopyToFile(const std::string&, std::string*) override { return false; }
    bool SaveTableAsText(const std::string&, const std::string&) override { return false; }
    bool WriteReport(ReportLines&) override { return false; }
    bool WriteTableText(ReportLines&) override { return false; }
};

}  // namespace

std::vector<double> datasetMagnitudes(const AnalysisSettings& settings, Table* dataset) {
    std::vector<double> m;
    if (!dataset || dataset->recordCount() == 0) return m;
    const MagnitudeReader reader(settings, dataset);
    m.resize(dataset->recordCount());
    for (std::size_t i = 0; i < m.size(); ++i) m[i] = reader.ReadMagnitude(dataset->rowOfRecord(i));
    return m;
}

CompletenessTable::CompletenessTable(const AnalysisSettings& settings, Table* dataset, const McOptions& o,
                                     const std::vector<McMethod>& methods, Progress* progress)
    : DBDialogs(settings, dataset, settings.WithProgress ? progress : nullptr), options(o) {
    const std::vector<double> magnitudes = datasetMagnitudes(settings_, dataset_);
    if (magnitudes.empty()) throw ENoRecords();
    result = estimateCompleteness(magnitudes, options, methods, progressWindow);
    progressStarted = false;
    sampleSize = static_cast<int>(result.histogram.cumulative(0));

    title = "Magnituda kompletności";
    bottomAxisTitle = "Magnituda";
    leftAxisTitle = "Liczba zjawisk";
    Table& t = CreateResultTable({{"Magnituda", FieldType::Float},
                                  {"Liczba", FieldType::Integer},
                                  {"Liczba_kum", FieldType::Integer}});
    const MagnitudeHistogram& h = result.histogram;
    std::int64_t above = sampleSize;
    for (std::size_t i = 0; i < h.size(); ++i) {
        // Rounded to the bin width's digits, so 0.30000000000000004 is 0.3.
        const double centre = std::round(h.centre(i) * 1e9) / 1e9;
        t.appendRecord({Value{}, Value::real(centre), Value::integer(static_cast<std::int32_t>(h.counts[i])),
                        Value::integer(static_cast<std::int32_t>(above))});
        above -= h.counts[i];
    }
    t.first();
    hasData = true;
}

std::string formatMcEstimate(const McEstimate& e, const Locale& locale) {
    if (!e.mc) return "brak";
    std::string s = formatMask(*e.mc, "0.00", locale);
    if (!std::isnan(e.sigma)) s += " ± " + formatMask(e.sigma, "0.00", locale);
    return s;
}

bool CompletenessTable::WriteReport(ReportLines& lines) {
    const Locale& loc = settings_.UserLocale;
    WriteReportOpening(*this, lines, title);
    WriteCommonParameters(*this, lines, 1);
    lines.push_back(ReportLabel("Wielkość próby:") + std::to_string(sampleSize));
    lines.push_back(ReportLabel("Szerokość przedziału magnitudy:") + formatGeneral(options.binWidth, loc));
    lines.push_back(ReportLabel("Próby bootstrap:") + std::to_string(result.resamples));
    for (const McEstimate& e : result.estimates) {
        std::string line =
            ReportLabel(std::string(mcMethodCaption(e.method)) + ":") + formatMcEstimate(e, loc);
        if (e.mc && !std::isnan(e.fit.b)) {
            line += "  (b Aki–Utsu = " + formatMask(e.fit.b, "0.000", loc) + " ± " +
                    formatMask(e.fit.sigma, "0.000", loc);
            if (!std::isnan(e.fit.bTintiMulargia))
                line += ", b Tinti–Mulargia = " + formatMask(e.fit.bTintiMulargia, "0.000", loc) + " ± " +
                        formatMask(e.fit.sigmaTintiMulargia, "0.000", loc);
            line += ", n = " + std::to_string(e.fit.events) + ")";
        }
        lines.push_back(line);
    }
    lines.push_back(ReportMarker(*this, "<p>"));
    WriteTableText(lines);
    return true;
}

}  // namespace zorv

#include "analysis/ActivityHistogram.h"

#include <array>
#include <cmath>

#include "text/NumberFormat.h"

namespace zorv {

ActivityHistogram::ActivityHistogram(const AnalysisSettings& settings, Table* dataset, Progress* progress)
    : DBSeries(settings, dataset, PeriodKind::WholeSpan, progress) {
    CreateResultTable({{"PrzedStart", FieldType::Float},
                       {"PrzedKoniec", FieldType::Float},
                       {"N", FieldType::Integer},
                       {"LogN", FieldType::Float},
                       {"ELabel", FieldType::String, 20},
                       {"MLabel", FieldType::String, 20}});
    title = heading = "Wykres powtarzalności";
    bottomAxisTitle = settings_.MagnitudeOnly ? "Magnituda" : "Energia";
    leftAxisTitle = "Log N";

    StartProgress("Analiza bazy danych", 0, 100);
    std::array<std::int64_t, kBins> counts{};
    const std::size_t n = hasData ? dataset_->recordCount() : 0;
    SetProgressRange(0, static_cast<int>(n));
    for (std::size_t i = 0; i < n; ++i) {
        const double m = ReadMagnitude(dataset_->rowOfRecord(i));
        if ((i & 0x3FF) == 0) {
            SetProgressPosition(static_cast<int>(i + 1));
            CheckCancel();
        }
        // Magnitudes outside 0…10 have no class; they are left out.
        if (!(m >= 0.0 && m < 10.0)) continue;
        const auto bin = static_cast<std::size_t>(std::trunc(4.0 * m));
        if (bin < counts.size()) ++counts[bin];
    }
    int bottom = kBins, top = 0;
    for (int i = 0; i < kBins; ++i)
        if (counts[static_cast<std::size_t>(i)] > 0) {
            bottom = std::min(bottom, i);
            top = i + 1;
        }
    const Locale& loc = settings_.UserLocale;
    for (int i = bottom; i < top; ++i) {
        const double start = 0.25 * i;
        const double end = start + 0.24;
        const std::int64_t count = counts[static_cast<std::size_t>(i)];
        const std::string eLabel = "[" + formatMask(EnergyFromMagnitude(start), "0.0E+0", loc) + "," +
                                   formatMask(EnergyFromMagnitude(end), "0.0E+0", loc) + ")";
        const std::string mLabel =
            "[" + formatMask(start, "0.00", loc) + "," + formatMask(end, "0.00", loc) + ")";
        resultTable->appendRecord({Value{}, Value::real(start), Value::real(end), Value::integer(count),
                                   Value::real(count > 0 ? std::log10(static_cast<double>(count)) : 0.0),
                                   Value::text(eLabel), Value::text(mLabel)});
    }
    resultTable->first();
    HideProgress();
}

}  // namespace zorv

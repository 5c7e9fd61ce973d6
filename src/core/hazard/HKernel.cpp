#include "hazard/HKernel.h"

#include <algorithm>
#include <limits>

#include "hazard/HazardErrors.h"
#include "hazard/MagnitudeResolution.h"
#include "report/ReportWriter.h"
#include "text/Dates.h"
#include "text/NumberFormat.h"

namespace zorv {

HKernel::HKernel(const AnalysisSettings& settings, Table* dataset, Progress* progress)
    : DBDialogs(settings, dataset, settings.WithProgress ? progress : nullptr), mMin(settings.MMin) {
    recordCount = dataset ? static_cast<int>(dataset->recordCount()) : 0;
    if (recordCount == 0) throw ENoRecords();
    dataset->first();

    const int dateField = dataset->fieldIndex(settings_.DateField);
    const Column* dates = dateField >= 0 ? &dataset->column(dateField) : nullptr;
    StartProgress("Przeszukiwanie danych...", 0, recordCount);
    records.resize(static_cast<std::size_t>(recordCount));
    std::size_t qualifying = 0;
    double first = 0.0, last = 0.0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const std::size_t row = dataset->rowOfRecord(i);
        const double m = ReadMagnitude(row);
        records[i] = m;
        if (m >= mMin) {
            const double day = dates && !dates->isNull(row) ? dates->numberAt(row) : 0.0;
            if (qualifying == 0) first = day;
            last = day;
            ++qualifying;
        }
        // A call per record would cost as much as the scan itself.
        if ((i & 0x3FF) == 0x3FF || i + 1 == records.size()) SetProgressPosition(static_cast<int>(i + 1));
    }
    if (qualifying == 0) throw ENoRecords();

    // The span of the sample is that of its events, not of the whole copy.
    if (dates) SetDateSpan(first, last);

    const bool magnitudeField = dataset->hasField(settings_.MagnitudeField);
    StartProgress(magnitudeField ? "Sortowanie danych..." : "Sortowanie...", 0, static_cast<int>(qualifying));
    x.reserve(qualifying);
    // The extremes start from the sample itself: magnitudes of small mines
    // may all be negative.
    largestObserved = -std::numeric_limits<double>::infinity();
    smallestObserved = std::numeric_limits<double>::infinity();
    for (const double m : records) {
        if (!(m >= mMin)) continue;
        x.push_back(m);
        largestObserved = std::max(largestObserved, m);
        smallestObserved = std::min(smallestObserved, m);
        if ((x.size() & 0x3FF) == 0 || x.size() == qualifying) {
            SetProgressPosition(static_cast<int>(x.size()));
            CheckCancel();
        }
    }

    if (SampleSize() < settings_.MinSampleSize && progressStarted) {
        const std::string question = "Próba do analizy zawiera mniej niż " +
                                     std::to_string(settings_.MinSampleSize) +
                                     " elementów. Czy kontynuować procedurę przetwarzania?";
        if (!progressWindow->confirm(question)) throw EBreakProcess();
    }
}

void HKernel::RandomiseTies() {
    // Rounded magnitudes tie, and the cross-validation of the smoothing
    // factor degenerates on ties.
    resolution = magnitudeResolution(x);
    ties = resolution > 0.0 ? tiedMagnitudes(x) : 0;
    if (resolution > 0.0 && ties > 0 && settings_.RandomiseTiedMagnitudes) {
        randomiseWithinRounding(x, resolution, mMin, settings_.RandomisationSeed);
        randomised = true;
        largestObserved = *std::max_element(x.begin(), x.end());
        smallestObserved = *std::min_element(x.begin(), x.end());
    }
}

void HKernel::WriteResolutionLines(std::vector<std::string>& lines) const {
    // Only ties make the resolution matter; a sample without them is
    // reported as before.
    if (!(resolution > 0.0) || ties == 0) return;
    const Locale& loc = settings_.UserLocale;
    lines.push_back(ReportLabel("Rozdzielczość magnitud:") + formatGeneral(resolution, loc));
    if (randomised)
        lines.push_back(ReportLabel("Powtórzone magnitudy:") + std::to_string(ties) +
                        ", rozrzucone losowo w przedziałach zaokrąglenia ±" +
                        formatGeneral(resolution / 2, loc) + " (ziarno " +
                        std::to_string(settings_.RandomisationSeed) + ")");
    else
        lines.push_back(ReportLabel("Powtórzone magnitudy:") + std::to_string(ties) +
                        " (bez rozrzucenia; współczynnik gładkości może wyjść bliski zeru)");
}

HKernel::HKernel(const AnalysisSettings& settings, Progress* progress)
    : DBDialogs(settings, nullptr, settings.WithProgress ? progress : nullptr), mMin(settings.MMin) {}

}  // namespace zorv

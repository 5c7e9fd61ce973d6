#include "analysis/DBSort.h"

#include <algorithm>

#include "base/AnalysisError.h"
#include "text/DateText.h"
#include "text/Dates.h"

namespace zorv {

DBSort::DBSort(const AnalysisSettings& settings, Table* dataset, Progress* progress)
    : DBDialogs(settings, dataset, progress) {
    if (hasData) {
        dates_ = &dataset_->column(dataset_->fieldIndex(settings_.DateField));
        const std::size_t n = dataset_->recordCount();
        for (std::size_t i = 1; i < n && sorted_; ++i) sorted_ = DayOfRecord(i - 1) <= DayOfRecord(i);
    }
    SetPeriod(PeriodKind::WholeSpan, 0, 0);
}

std::int32_t DBSort::DayOfRow(std::size_t row) const {
    if (dates_->storage() == StorageKind::Double) return wholeDays(dates_->doubles()[row]);
    return static_cast<std::int32_t>(dates_->numberAt(row));
}

bool DBSort::SetPeriod(PeriodKind kind, int year, int sub) {
    selKind = kind;
    filterExpression.clear();
    periodLabel.clear();
    const Locale& locale = dataset_ ? dataset_->locale() : Locale{};
    if (kind == PeriodKind::WholeSpan) {
        selQuarter = selYear = selMonth = 0;
        wholeSpan_ = true;
        ApplyPeriodFilter();
        periodLabel =
            formatDate(wholeDays(firstDate), locale) + " - " + formatDate(wholeDays(lastDate), locale);
        return true;
    }
    if (!hasData) throw AnalysisError("Analizowana próbka nie zawiera zdarzeń - brak okresów do analizy.");
    wholeSpan_ = false;
    switch (kind) {
        case PeriodKind::Quarters:
            range_ = quarterDays(year, sub);
            periodLabel = std::string(romanNumeral(sub)) + " " + std::to_string(year);
            break;
        case PeriodKind::Months:
            range_ = monthDays(year, sub);
            periodLabel = std::string(romanNumeral(sub)) + " " + std::to_string(year);
            break;
        default:
            range_ = yearDays(year);
            periodLabel = std::to_string(year);
            break;
    }
    filterExpression = periodExpression(settings_.DateField, range_.first, range_.last, locale);
    ApplyPeriodFilter();
    selQuarter = kind == PeriodKind::Quarters ? sub : 0;
    selYear = year;
    selMonth = kind == PeriodKind::Months ? sub : 0;
    return true;
}

void DBSort::ApplyPeriodFilter() {
    const std::size_t n = hasData ? dataset_->recordCount() : 0;
    selRows_.clear();
    if (wholeSpan_ || n == 0) {
        sorted_ = sorted_ || n == 0;
        if (sorted_) {
            selBegin_ = 0;
            selEnd_ = n;
        } else {
            selRows_.reserve(n);
            for (std::size_t i = 0; i < n; ++i) selRows_.push_back(dataset_->rowOfRecord(i));
        }
        return;
    }
    select(range_.first, range_.last);
}

void DBSort::select(std::int32_t firstDay, std::int32_t lastDay) {
    const std::size_t n = dataset_->recordCount();
    if (sorted_) {
        std::size_t lo = 0, hi = n;
        while (lo < hi) {
            const std::size_t mid = (lo + hi) / 2;
            if (DayOfRecord(mid) < firstDay)
                lo = mid + 1;
            else
                hi = mid;
        }
        selBegin_ = lo;
        hi = n;
        while (lo < hi) {
            const std::size_t mid = (lo + hi) / 2;
            if (DayOfRecord(mid) <= lastDay)
                lo = mid + 1;
            else
                hi = mid;
        }
        selEnd_ = lo;
        return;
    }
    for (std::size_t i = 0; i < n; ++i) {
        const std::int32_t d = DayOfRecord(i);
        if (d >= firstDay && d <= lastDay) selRows_.push_back(dataset_->rowOfRecord(i));
    }
}

DBGraphs::DBGraphs(const AnalysisSettings& settings, Table* dataset, PeriodKind kind, Progress* progress)
    : DBSort(settings, dataset, progress), periodKind(kind) {}

void DBGraphs::requireData() const {
    if (!hasData) throw AnalysisError("Analizowana próbka nie zawiera zdarzeń - brak okresów do analizy.");
}

}  // namespace zorv

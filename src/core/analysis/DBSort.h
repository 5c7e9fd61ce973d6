#pragma once
// Analyses that work period by period on their sample.
//
// A period is selected by comparing the sample's dates with the period's
// first and last day (both inclusive). On a sample in date order — as
// catalogues are — the selection is a binary search, so walking all the
// months of a long catalogue costs one pass over it.

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/DBDialogs.h"
#include "analysis/Periods.h"
#include "base/HazardError.h"

namespace zorv {

class DBSort : public DBDialogs {
public:
    DBSort(const AnalysisSettings& settings, Table* dataset, Progress* progress);

    // Selects one period: Quarters the quarter `sub` of `year`, Months the
    // month `sub`, Years the year, WholeSpan the whole sample. Throws AnalysisError
    // for a period of a sample without data.
    bool SetPeriod(PeriodKind kind, int year, int sub);
    // Selects the records of the current period expression's day range.
    void ApplyPeriodFilter();

    // Number of selected records and the physical dataset row of each.
    std::size_t SelectedCount() const { return sorted_ ? selEnd_ - selBegin_ : selRows_.size(); }
    template <class F>
    void ForEachSelected(F&& f) const {
        if (sorted_)
            for (std::size_t i = selBegin_; i < selEnd_; ++i) f(dataset_->rowOfRecord(i));
        else
            for (std::size_t r : selRows_) f(r);
    }
    // Whole day of the record at view position `index` of the dataset, and
    // of physical row `row`.
    std::int32_t DayOfRecord(std::size_t index) const { return DayOfRow(dataset_->rowOfRecord(index)); }
    std::int32_t DayOfRow(std::size_t row) const;

    const std::string& FilterExpression() const { return filterExpression; }
    const std::string& PeriodLabel() const { return periodLabel; }

protected:
    std::string filterExpression;
    std::string periodLabel;
    std::int32_t selQuarter = 0, selYear = 0, selMonth = 0;
    PeriodKind selKind = PeriodKind::WholeSpan;

private:
    void select(std::int32_t firstDay, std::int32_t lastDay);

    const Column* dates_ = nullptr;
    bool sorted_ = true;
    bool wholeSpan_ = true;
    DayRange range_;
    std::size_t selBegin_ = 0, selEnd_ = 0;
    std::vector<std::size_t> selRows_;
};

// A series over periods of one kind.
class DBGraphs : public DBSort {
public:
    DBGraphs(const AnalysisSettings& settings, Table* dataset, PeriodKind kind, Progress* progress);

    PeriodKind Kind() const { return periodKind; }

protected:
    // Selects every period from the sample's first to its last, empty ones
    // included, and calls `row` for each. Raises EBreakProcess before a
    // period when the user asked to stop.
    template <class F>
    void RunPeriodLoop(F&& row) {
        StartProgress("Analiza bazy danych", 0, 100);
        if (periodKind == PeriodKind::WholeSpan) {
            CheckCancel();
            SetPeriod(PeriodKind::WholeSpan, 0, 0);
            row();
        } else {
            const int per = periodKind == PeriodKind::Quarters ? 4
                            : periodKind == PeriodKind::Months ? 12
                                                               : 1;
            const int firstSub = periodKind == PeriodKind::Quarters ? firstQuarter
                                 : periodKind == PeriodKind::Months ? firstMonth
                                                                    : 1;
            const int lastSub = periodKind == PeriodKind::Quarters ? lastQuarter
                                : periodKind == PeriodKind::Months ? lastMonth
                                                                   : 1;
            requireData();
            const int first = per * firstYear + firstSub - 1;
            const int last = per * lastYear + lastSub - 1;
            SetProgressRange(0, last - first);
            for (int p = first; p <= last; ++p) {
                CheckCancel();
                SetPeriod(periodKind, p / per, p % per + 1);
                row();
                SetProgressPosition(p - first + 1);
            }
        }
        HideProgress();
    }
    void requireData() const;

    PeriodKind periodKind;
};

}  // namespace zorv

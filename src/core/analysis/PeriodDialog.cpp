#include "analysis/PeriodDialog.h"

#include "text/DateText.h"
#include "text/Dates.h"

namespace zorv {

const char* const kStartAfterEndMessage = "Data początkowa nie może być większa od daty końcowej";
const char* const kBadExtraExpressionMessage =
    "Dodatkowe wyrażenie filtrujące jest błędne. Sprawdź jego poprawność.";
const char* const kBadFilterCaption = "Zły filtr";

PeriodDialogValues periodDialogDefaults(const Table& catalogue, const std::string& dateField,
                                        PeriodKind kind) {
    PeriodDialogValues v;
    v.Scale = kind;
    const int f = catalogue.fieldIndex(dateField);
    if (f >= 0 && catalogue.physicalCount() > 0) {
        const Column& c = catalogue.column(f);
        auto day = [&](std::size_t row) {
            return c.storage() == StorageKind::Double ? wholeDays(c.doubles()[row])
                                                      : static_cast<std::int32_t>(c.numberAt(row));
        };
        v.firstDate = day(0);
        v.lastDate = day(catalogue.physicalCount() - 1);
    }
    const CivilDate a = civilDate(v.firstDate), b = civilDate(v.lastDate);
    v.stDate = v.firstDate;
    v.enDate = v.lastDate;
    v.stQuarter = (a.month - 1) / 3 + 1;
    v.enQuarter = (b.month - 1) / 3 + 1;
    v.stQYear = v.stYear = v.stYYear = a.year;
    v.enQYear = v.enYear = v.enYYear = b.year;
    v.stMonth = a.month;
    v.enMonth = b.month;
    return v;
}

DayRange periodDialogRange(const PeriodDialogValues& v) {
    switch (v.Scale) {
        case PeriodKind::Quarters:
            return {quarterDays(v.stQYear, v.stQuarter).first, quarterDays(v.enQYear, v.enQuarter).last};
        case PeriodKind::Months:
            return {monthDays(v.stYear, v.stMonth).first, monthDays(v.enYear, v.enMonth).last};
        case PeriodKind::Years: return {yearDays(v.stYYear).first, yearDays(v.enYYear).last};
        case PeriodKind::WholeSpan: break;
    }
    return {v.stDate, v.enDate};
}

std::string checkPeriodDialog(const PeriodDialogValues& v) {
    long start = 0, end = 0;
    switch (v.Scale) {
        case PeriodKind::WholeSpan:
            start = v.stDate;
            end = v.enDate;
            break;
        case PeriodKind::Quarters:
            start = 12L * v.stQYear + 3L * v.stQuarter;
            end = 12L * v.enQYear + 3L * v.enQuarter;
            break;
        case PeriodKind::Months:
            start = 12L * v.stYear + v.stMonth;
            end = 12L * v.enYear + v.enMonth;
            break;
        case PeriodKind::Years:
            start = v.stYYear;
            end = v.enYYear;
            break;
    }
    return start > end ? kStartAfterEndMessage : "";
}

std::string periodDialogExpression(const PeriodDialogValues& v, const std::string& dateField,
                                   const Locale& locale) {
    const DayRange r = periodDialogRange(v);
    return periodExpression(dateField, r.first, r.last, locale);
}

std::string periodDialogDescription(const PeriodDialogValues& v, const Locale& locale) {
    const DayRange r = periodDialogRange(v);
    return formatDate(r.first, locale) + " do " + formatDate(r.last, locale);
}

std::string periodDialogExtraExpression(const PeriodDialogValues& v) { return v.Exclude ? v.Expression : ""; }

}  // namespace zorv

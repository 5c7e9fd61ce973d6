#pragma once
// The logic of the period dialog: its defaults from a catalogue, the range it
// stands for, the check that the start does not follow the end, and the
// period filter with its description.

#include <cstdint>
#include <string>

#include "analysis/Periods.h"
#include "table/Table.h"

namespace zorv {

struct PeriodDialogValues {
    PeriodKind Scale = PeriodKind::WholeSpan;
    std::int32_t stDate = 0, enDate = 0;  // day numbers
    int stQuarter = 1, enQuarter = 1, stQYear = 0, enQYear = 0;
    int stMonth = 1, enMonth = 1, stYear = 0, enYear = 0;
    int stYYear = 0, enYYear = 0;
    bool Exclude = false;
    std::string Expression;
    // Bounds of every date and year control: the catalogue's first and last.
    std::int32_t firstDate = 0, lastDate = 0;
    friend bool operator==(const PeriodDialogValues&, const PeriodDialogValues&) = default;
};

// Defaults from the first and last record of the catalogue, whatever its
// filter (the table's filter and position are left as they are). A table
// without the date field or without records gives zero dates.
PeriodDialogValues periodDialogDefaults(const Table& catalogue, const std::string& dateField,
                                        PeriodKind kind);

// First and last day of the chosen range.
DayRange periodDialogRange(const PeriodDialogValues& v);

// The message when the start follows the end (compared as days, 12·year +
// 3·quarter, 12·year + month or the year), else empty.
extern const char* const kStartAfterEndMessage;
extern const char* const kBadExtraExpressionMessage;
extern const char* const kBadFilterCaption;
std::string checkPeriodDialog(const PeriodDialogValues& v);

// DATA>='…' AND DATA<='…' for the chosen range, and "start do end".
std::string periodDialogExpression(const PeriodDialogValues& v, const std::string& dateField,
                                   const Locale& locale);
std::string periodDialogDescription(const PeriodDialogValues& v, const Locale& locale);
// The extra expression when ticked, else empty.
std::string periodDialogExtraExpression(const PeriodDialogValues& v);

}  // namespace zorv

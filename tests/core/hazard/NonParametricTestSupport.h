#pragma once
// Catalogues with events spaced in time for the hazard tables.

#include <cstdint>
#include <vector>

#include "HazardTestSupport.h"

namespace zorv::testing {

// DATA and MAGNITUDA, one event every `spacingDays` days from `firstDay`
// (2001-01-01).
inline Table spacedCatalogue(const std::vector<double>& magnitudes, std::int32_t spacingDays,
                             std::int32_t firstDay = 36892) {
    Table t({{"DATA", FieldType::Date}, {"MAGNITUDA", FieldType::Float}});
    for (std::size_t i = 0; i < magnitudes.size(); ++i)
        t.appendRecord(
            {Value::date(firstDay + spacingDays * static_cast<std::int32_t>(i)), Value::real(magnitudes[i])});
    t.first();
    return t;
}

// kGr120 one event every 30 days: 3570 days, read as 1909-10-09, are
// 12·9 + 9 + 8/30 = 117.2667 months; λ = 120/117.2667 events a month.
inline constexpr double kGr120Months = 12.0 * 9 + 9 + 8.0 / 30.0;

inline double valueAt(Table& t, std::size_t record, const char* field) {
    return t.value(t.rowOfRecord(record), t.requireField(field)).toDouble();
}

}  // namespace zorv::testing

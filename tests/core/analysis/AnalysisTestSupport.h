#pragma once
// Small hand-made catalogues for the analysis tests.

#include <string>
#include <vector>

#include "catalogue/AnalysisSettings.h"
#include "table/Table.h"
#include "text/Dates.h"

namespace zorv::testing {

struct Event {
    int year, month, day;
    double energy;     // [J]
    double magnitude;  // ignored when the catalogue has no magnitude field
    std::string zone = "G-1/1";
};

// A catalogue with ODDZIAL, DATA, X, Y, ENG and (optionally) MAGNITUDA.
inline Table makeCatalogue(const std::vector<Event>& events, bool withMagnitude = true) {
    FieldDefs defs{{"ODDZIAL", FieldType::String, 10},
                   {"DATA", FieldType::Date},
                   {"X", FieldType::Integer},
                   {"Y", FieldType::Integer},
                   {"ENG", FieldType::Float}};
    if (withMagnitude) defs.emplace_back("MAGNITUDA", FieldType::Float);
    Table t(defs);
    for (const Event& e : events) {
        std::vector<Value> v{Value::text(e.zone), Value::date(dayNumber(e.year, e.month, e.day)),
                             Value::integer(100), Value::integer(200), Value::real(e.energy)};
        if (withMagnitude) v.push_back(Value::real(e.magnitude));
        t.appendRecord(v);
    }
    t.first();
    return t;
}

// Settings as a fresh start gives them, with the point locale.
inline AnalysisSettings defaultSettings() {
    AnalysisSettings s;
    s.OutputDir = "/tmp/zorv/";
    s.MMin = 1.3;
    s.UserLocale = Locale::make('.', "yyyy-MM-dd");
    return s;
}

// The values of one column of a result table, in row order.
inline std::vector<Value> columnValues(const Table& t, const std::string& field) {
    std::vector<Value> out;
    const int f = t.requireField(field);
    for (std::size_t i = 0; i < t.recordCount(); ++i) out.push_back(t.value(t.rowOfRecord(i), f));
    return out;
}

}  // namespace zorv::testing

#include "charts/ChartLayoutParts.h"

namespace zorv {

namespace {

// b of the truncated estimator with a marker for every row whose estimator
// failed ("Opis" gives why).
SeriesBinding truncatedB(const Database& a, const char* labelField) {
    SeriesBinding b = withErrors(a, bind(SeriesName::Series10, "b", labelField));
    b.failureField = "Opis";
    return b;
}

// The Aki–Utsu b beside it where the table has it, with its Shi–Bolt error.
void addAkiB(const Database& a, const char* labelField, ChartLayout& l) {
    if (!hasField(a, "b_AKI")) return;
    SeriesBinding b = bind(SeriesName::Series12, "b_AKI", labelField);
    b.title = "b Aki–Utsu";
    if (hasField(a, "sigma_AKI")) {
        b.errorField = "sigma_AKI";
        b.title = "b Aki–Utsu ± sigma_AKI";
    }
    l.series.push_back(b);
}

}  // namespace

// b per period and per zone, with their standard errors as error bars
// where the table has them.
bool layOutBValueChart(ChartKind kind, const Database& a, ChartLayout& l) {
    const LabelStyle value = LabelStyle::Value;
    switch (kind) {
        case ChartKind::BChanges:
            l.series = {truncatedB(a, "Okres")};
            addAkiB(a, "Okres", l);
            l.axes = {axis(ChartAxis::Left, "0.##", 0.01, false, -1, value), textBottom()};
            break;
        case ChartKind::ZoneB:
            l.series = {truncatedB(a, "Strefa")};
            addAkiB(a, "Strefa", l);
            l.axes = {axis(ChartAxis::Left, "0.##", 0.01), textBottom()};
            break;
        default: return false;
    }
    return true;
}

}  // namespace zorv

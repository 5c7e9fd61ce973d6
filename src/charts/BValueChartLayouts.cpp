#include "charts/ChartLayoutParts.h"

namespace zorv {

// b per period and per zone, with their standard errors as error bars
// where the table has them.
bool layOutBValueChart(ChartKind kind, const Database& a, ChartLayout& l) {
    const LabelStyle value = LabelStyle::Value;
    switch (kind) {
        case ChartKind::BChanges:
            l.series = {withErrors(a, bind(SeriesName::Series10, "b", "Okres"))};
            l.axes = {axis(ChartAxis::Left, "0.##", 0.01, false, -1, value), textBottom()};
            break;
        case ChartKind::ZoneB:
            l.series = {withErrors(a, bind(SeriesName::Series10, "b", "Strefa"))};
            l.axes = {axis(ChartAxis::Left, "0.##", 0.01), textBottom()};
            break;
        default: return false;
    }
    return true;
}

}  // namespace zorv

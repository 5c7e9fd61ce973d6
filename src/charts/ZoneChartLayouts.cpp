#include "charts/ChartLayoutParts.h"

namespace zorv {

// Activity and energy per zone.
bool layOutZoneChart(ChartKind kind, const Database& a, ChartLayout& l) {
    switch (kind) {
        case ChartKind::ZoneActivity:
            if (hasField(a, a.settings().EnergyChar + "3"))
                energyClassBars(l, a, "Strefa");
            else
                l.series = {bind(SeriesName::Series1, "Aktywnosc", "Strefa", true)};
            l.barChart = true;
            l.axes = {axis(ChartAxis::Left, "0", 5),
                      axis(ChartAxis::Right, "0.0E+0", 0, true, SeriesName::Series10), textBottom()};
            break;
        case ChartKind::ZoneTotalActivity:
            l.series = {bind(SeriesName::Series1, "Aktywnosc", "Strefa"),
                        bind(SeriesName::Series11, "Energia", "Strefa", false, ChartAxis::Right)};
            l.axes = {axis(ChartAxis::Left, "#", 5),
                      axis(ChartAxis::Right, "0.##E+0", 0, true, SeriesName::Series11), textBottom()};
            l.barChart = true;
            break;
        case ChartKind::ZoneEnergyReleased:
            l.series = {bind(SeriesName::Series1, "Energia", "Strefa")};
            l.axes = {axis(ChartAxis::Left, "0.##E+0", 0, true, SeriesName::Series1), textBottom()};
            l.barChart = true;
            break;
        case ChartKind::ZoneActivityOverThreshold:
            l.series = {bind(SeriesName::Series1, "Aktywnosc", "Strefa", true)};
            l.axes = {axis(ChartAxis::Left, "#", 5), textBottom()};
            l.barChart = true;
            break;
        default: return false;
    }
    return true;
}

}  // namespace zorv

#include "charts/ChartLayoutParts.h"

namespace zorv {

// The period series of activity and energy, the energy of each event and
// the recurrence graph.
bool layOutActivityChart(ChartKind kind, const Database& a, ChartLayout& l) {
    switch (kind) {
        case ChartKind::ActivityInClasses:
        case ChartKind::CumulativeActivityInClasses:
            energyClassBars(l, a, "Okres");
            l.axes = {axis(ChartAxis::Left, "#", 5),
                      axis(ChartAxis::Right, "0.#E+0", 0, true, SeriesName::Series10), textBottom()};
            break;
        case ChartKind::EnergyReleased:
        case ChartKind::CumulativeEnergyReleased:
            l.series = {bind(SeriesName::Series1, "Energia", "Okres")};
            l.axes = {axis(ChartAxis::Left, "0.##E+0", 0, true, SeriesName::Series1), textBottom()};
            l.barChart = true;
            break;
        case ChartKind::EnergyReleasedLine:
        case ChartKind::Benioff:
        case ChartKind::EnergyTraces: {
            SeriesBinding b = against(SeriesName::Series6, "Energia", "X");
            b.xIsDate = true;
            l.series = {b};
            l.axes = {kind == ChartKind::EnergyReleasedLine
                          ? axis(ChartAxis::Left, "0.##E+0")
                          : axis(ChartAxis::Left, "0.##E+0", 0, true, SeriesName::Series6),
                      axis(ChartAxis::Bottom, "")};
            l.dateAxis = true;
            break;
        }
        case ChartKind::TotalActivity:
        case ChartKind::CumulativeTotalActivity:
            l.series = {bind(SeriesName::Series1, "Aktywnosc", "Okres", true),
                        bind(SeriesName::Series11, "Energia", "Okres", false, ChartAxis::Right)};
            l.axes = {axis(ChartAxis::Left, "#", 5),
                      axis(ChartAxis::Right, "0.#E+0", 0, true, SeriesName::Series11), textBottom()};
            l.barChart = true;
            break;
        case ChartKind::ActivityOverThreshold:
        case ChartKind::CumulativeActivityOverThreshold:
            l.series = {bind(SeriesName::Series1, "Aktywnosc", "Okres", true)};
            l.axes = {axis(ChartAxis::Left, "#", 5), textBottom()};
            l.barChart = true;
            break;
        case ChartKind::Histogram:
            l.series = {bind(SeriesName::Series1, "LogN", a.settings().MagnitudeOnly ? "MLabel" : "ELabel")};
            l.axes = {axis(ChartAxis::Left, "#.##", 0.2), textBottom()};
            l.angledLabels = true;
            l.barChart = true;
            break;
        default: return false;
    }
    return true;
}

}  // namespace zorv

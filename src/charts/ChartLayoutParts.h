#pragma once
// The pieces the layouts of the chart families are made of, and the layout
// of each family. Only the layout files include this.

#include <string>
#include <vector>

#include "analysis/Database.h"
#include "charts/ChartLayout.h"
#include "registry/ChartKind.h"

namespace zorv {

bool hasField(const Database& a, const std::string& name);

// `rangeFrom`: the series whose values give a logarithmic range, -1 none.
AxisSetup axis(ChartAxis id, const char* format, double increment = 0.0, bool logarithmic = false,
               int rangeFrom = -1, LabelStyle labels = LabelStyle::Automatic);
inline AxisSetup axis(ChartAxis id, const char* format, double increment, bool logarithmic,
                      SeriesName rangeFrom, LabelStyle labels = LabelStyle::Automatic) {
    return axis(id, format, increment, logarithmic, seriesIndex(rangeFrom), labels);
}
// A bottom axis of text labels.
AxisSetup textBottom();

// `y` against the record number, labelled by `label` on the bottom axis.
SeriesBinding bind(SeriesName series, std::string y, std::string label, bool marks = false,
                   ChartAxis vertical = ChartAxis::Left);
// `y` against `x`.
SeriesBinding against(SeriesName series, std::string y, std::string x);
SeriesName nextSeries(SeriesName s);

// The b-value charts draw the standard error as error bars when the table
// has it.
SeriesBinding withErrors(const Database& a, SeriesBinding b);
// Bars of the energy classes 3–9 on the seven bar series, with the released
// energy on the right axis.
void energyClassBars(ChartLayout& l, const Database& a, const char* labelField);
// The bottom axis of kinds that offer magnitude or energy: the X field and
// its axis set-up; `series` is the series whose X values give a log range.
void magnitudeOrEnergy(ChartLayout& l, const Database& a, std::vector<SeriesBinding> bound, int series,
                       const char* magnitudeFormat, double increment, LabelStyle labels);
// Series numbered by the magnitudes or periods of the table ("m1"… or
// "D1"…) on Series6 to Series9, titled with their value.
std::vector<SeriesBinding> numberedSeries(const Database& a, const char* field, const char* titlePrefix);

// The layout of a kind of the family into `l`; false for a kind of another
// family.
bool layOutActivityChart(ChartKind kind, const Database& a, ChartLayout& l);
bool layOutZoneChart(ChartKind kind, const Database& a, ChartLayout& l);
bool layOutBValueChart(ChartKind kind, const Database& a, ChartLayout& l);
bool layOutHazardChart(ChartKind kind, const Database& a, ChartLayout& l);

}  // namespace zorv

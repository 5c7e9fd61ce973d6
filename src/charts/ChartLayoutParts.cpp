#include "charts/ChartLayoutParts.h"

#include "analysis/Database.h"
#include "text/NumberFormat.h"

namespace zorv {

bool hasField(const Database& a, const std::string& name) {
    Table* t = const_cast<Database&>(a).GetTable();
    return t && t->fieldIndex(name) >= 0;
}

AxisSetup axis(ChartAxis id, const char* format, double increment, bool logarithmic, int rangeFrom,
               LabelStyle labels) {
    AxisSetup s;
    s.axis = id;
    s.format = format;
    s.increment = increment;
    s.logarithmic = logarithmic;
    s.rangeFromSeries = rangeFrom;
    s.labels = labels;
    return s;
}

AxisSetup textBottom() { return axis(ChartAxis::Bottom, "", 0.0, false, -1, LabelStyle::Text); }

SeriesBinding bind(SeriesName series, std::string y, std::string label, bool marks, ChartAxis vertical) {
    SeriesBinding b;
    b.series = seriesIndex(series);
    b.yField = std::move(y);
    b.labelField = std::move(label);
    b.marksVisible = marks;
    b.axis = vertical;
    return b;
}

SeriesBinding withErrors(const Database& a, SeriesBinding b) {
    if (hasField(a, "sigma")) {
        b.errorField = "sigma";
        b.title = "b ± sigma";
    }
    return b;
}

SeriesBinding against(SeriesName series, std::string y, std::string x) {
    SeriesBinding b;
    b.series = seriesIndex(series);
    b.yField = std::move(y);
    b.xField = std::move(x);
    return b;
}

void energyClassBars(ChartLayout& l, const Database& a, const char* labelField) {
    const std::string& e = a.settings().EnergyChar;
    for (int k = 3; k <= 9; ++k)
        l.series.push_back(bind(static_cast<SeriesName>(k - 3), e + std::to_string(k), labelField, true));
    l.series.push_back(bind(SeriesName::Series10, "Energia", labelField, false, ChartAxis::Right));
    l.barChart = true;
}

void magnitudeOrEnergy(ChartLayout& l, const Database& a, std::vector<SeriesBinding> bound, int series,
                       const char* magnitudeFormat, double increment, LabelStyle labels) {
    const bool magnitude = a.settings().MagnitudeOnly;
    // The axis is titled by what it shows.
    l.bottomTitle = magnitude ? "Magnituda" : "Energia";
    for (SeriesBinding& b : bound) {
        b.xField = magnitude ? "Magnituda" : "Energia";
        l.series.push_back(std::move(b));
    }
    if (magnitude)
        l.axes.push_back(axis(ChartAxis::Bottom, magnitudeFormat, increment, false, -1, labels));
    else
        l.axes.push_back(axis(ChartAxis::Bottom, "0.##E+0", 0.0, true, series));
}

std::vector<SeriesBinding> numberedSeries(const Database& a, const char* field, const char* titlePrefix) {
    std::vector<SeriesBinding> out;
    const std::vector<double>& values = a.GetSeriesValues();
    for (int n = 1; n <= 4; ++n) {
        const std::string name = field + std::to_string(n);
        if (!hasField(a, name)) break;
        SeriesBinding b;
        b.series = seriesIndex(SeriesName::Series6) + n - 1;
        b.yField = name;
        if (static_cast<std::size_t>(n) <= values.size())
            b.title =
                titlePrefix + formatGeneral(values[static_cast<std::size_t>(n) - 1], a.settings().UserLocale);
        out.push_back(std::move(b));
    }
    return out;
}

SeriesName nextSeries(SeriesName s) { return static_cast<SeriesName>(seriesIndex(s) + 1); }

}  // namespace zorv

#pragma once
// What a chart kind draws: which of the chart window's fourteen series show
// which result-table fields on which axes, and how each axis is set up. The
// layout is plain data, decided from the kind and the analysis alone, so
// that it can be checked without drawing; the chart window applies it.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "registry/ChartKind.h"

namespace zorv {

class Database;
struct AnalysisSettings;

enum class SeriesType { Bar, Line, Point };
enum class ChartAxis { Left = 0, Right = 1, Bottom = 2 };
enum class LabelStyle { Automatic, None, Value, Mark, Text };

// The fourteen series of every chart window, in the order of the chart's
// series list (the index used by templates and the properties dialog).
struct SeriesDefault {
    const char* name;  // "Series1"
    SeriesType type;
    std::uint32_t colour;  // red in the lowest byte
};
constexpr int kSeriesCount = 14;
const std::array<SeriesDefault, kSeriesCount>& seriesDefaults();
// Index of a series by its name ("Series10" is 13); -1 when none.
int seriesIndex(const char* name);
// The series by their names; the value is the index in the list.
enum class SeriesName : int {
    Series1,
    Series2,
    Series3,
    Series4,
    Series5,
    Series13,
    Series14,  // bars
    Series6,
    Series7,
    Series8,
    Series9,   // lines
    Series12,  // points
    Series11,  // line
    Series10,  // points
};
constexpr int seriesIndex(SeriesName s) { return static_cast<int>(s); }

// One series bound to result-table fields.
struct SeriesBinding {
    int series = 0;  // index into seriesDefaults()
    std::string xField = "Numer";
    std::string yField;
    std::string labelField;  // X labels; empty for none
    ChartAxis axis = ChartAxis::Left;
    bool xIsDate = false;  // X holds day numbers
    bool marksVisible = false;
    std::string title;       // empty: the Y field's name
    std::string errorField;  // error bars of ± this field about Y; empty for none
    // A row whose Y is empty and this text field is not (the reason there is
    // no estimate) gets a failure marker at the bottom of the value axis,
    // the text as its tooltip; empty for none.
    std::string failureField;
    friend bool operator==(const SeriesBinding&, const SeriesBinding&) = default;
};

struct AxisSetup {
    ChartAxis axis = ChartAxis::Left;
    bool logarithmic = false;
    std::string format;      // picture mask of the labels
    double increment = 0.0;  // least distance between two labels, 0 for any
    LabelStyle labels = LabelStyle::Automatic;
    bool automatic = true;
    double minimum = 0.0, maximum = 0.0;
    // A logarithmic range taken from this series' values (X values for the
    // bottom axis, Y values otherwise); -1 for none.
    int rangeFromSeries = -1;
    friend bool operator==(const AxisSetup&, const AxisSetup&) = default;
};

struct ChartLayout {
    std::vector<SeriesBinding> series;
    std::vector<AxisSetup> axes;
    bool barChart = false;      // zoom follows the bar-chart setting
    bool angledLabels = false;  // bottom labels drawn at an angle
    bool everyLabel = false;    // every record label drawn, none thinned out
    bool dateAxis = false;      // the bottom axis shows dates
    bool legendVisible = true;
    std::string bottomTitle, leftTitle, rightTitle;
    // A line under the chart's title (the maximum-magnitude verdict); empty
    // for none.
    std::string note;
};

// The layout of every kind but the time variations for the analysis' result
// table. The maximum-magnitude comparison draws the estimates with their
// standard deviations as error bars beside the largest observed magnitude,
// and the verdict on their spread as the note; the reliability chart of the
// forecast verification draws the observed frequency against the mean
// forecast per bin for both families beside the diagonal of perfect
// forecasts.
ChartLayout chartLayout(ChartKind kind, const Database& analysis);

// The time-variation charts: the quantity code selects the Y field
// (0 "Hazard", 1 "MRP", 3 "MMaxEst", 4 "b", 5 "Mc"), the activity code adds the
// event-count series (0 "DoAnalizy", 1 "LZdarzen", 2 both, 3 none) on the
// right axis; each is drawn against the window's date.
ChartLayout timeVariationLayout(int quantity, int activity);
// The title of the point series of strong events on a time-variation chart:
// "Zjawiska o m ≥ " and the magnitude, or "Zjawiska o energii ≥ " and the
// energy with " [J]" where the catalogue's unit is energy.
std::string eventMarkerTitle(double magnitude, const AnalysisSettings& settings);
// The window title of a time-variation chart by its quantity code.
std::string timeVariationTitle(int quantity);

// The logarithmic range rule: 10^(t+1) above and 10^t' below, t and t' the
// whole parts (toward minus infinity) of the decimal logarithms of the
// largest and smallest value (0 when the value is not positive).
struct LogRange {
    double minimum, maximum;
};
LogRange logarithmicRange(double smallest, double largest);

// The "Info" hint from the report's parameter section: every line trimmed
// and ended with a line feed, the last one replaced by "|"; "Brak
// parametrów" when the section has at most two lines.
std::string infoHintText(const std::vector<std::string>& parameterSection);

}  // namespace zorv

#include "chart/ChartLayout.h"

#include <cmath>
#include <cstring>

#include "analysis/Database.h"
#include "text/NumberFormat.h"

namespace zorv {

namespace {

constexpr std::uint32_t rgb(unsigned r, unsigned g, unsigned b) { return r | (g << 8) | (b << 16); }

constexpr std::uint32_t kRed = rgb(255, 0, 0), kBlue = rgb(0, 0, 255), kYellow = rgb(255, 255, 0),
                        kLime = rgb(0, 255, 0), kMaroon = rgb(128, 0, 0);

// The time-variation table dates each window by its midpoint.
const char* const kTimeVariationDate = "Data";

// Series indices by name.
constexpr int S1 = 0, S6 = 7, S10 = 13, S11 = 12, S12 = 11;

bool hasField(const Database& a, const std::string& name) {
    Table* t = const_cast<Database&>(a).GetTable();
    return t && t->fieldIndex(name) >= 0;
}

AxisSetup axis(ChartAxis id, const char* format, double increment = 0.0, bool logarithmic = false,
               int rangeFrom = -1, LabelStyle labels = LabelStyle::Automatic) {
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

SeriesBinding bind(int series, std::string y, std::string label, bool marks = false,
                   ChartAxis vertical = ChartAxis::Left) {
    SeriesBinding b;
    b.series = series;
    b.yField = std::move(y);
    b.labelField = std::move(label);
    b.marksVisible = marks;
    b.axis = vertical;
    return b;
}

// The b-value charts draw the standard error as error bars when the table
// has it.
SeriesBinding withErrors(const Database& a, SeriesBinding b) {
    if (hasField(a, "sigma")) {
        b.errorField = "sigma";
        b.title = "b ± sigma";
    }
    return b;
}

SeriesBinding against(int series, std::string y, std::string x) {
    SeriesBinding b;
    b.series = series;
    b.yField = std::move(y);
    b.xField = std::move(x);
    return b;
}

// Bars of the energy classes 3–9 on the seven bar series, with the released
// energy on the right axis.
void energyClassBars(ChartLayout& l, const Database& a, const char* labelField) {
    const std::string& e = a.settings().EnergyChar;
    for (int k = 3; k <= 9; ++k) l.series.push_back(bind(k - 3, e + std::to_string(k), labelField, true));
    l.series.push_back(bind(S10, "Energia", labelField, false, ChartAxis::Right));
    l.barChart = true;
}

// The bottom axis of kinds that offer magnitude or energy: the X field and
// its axis set-up; `series` is the series whose X values give a log range.
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

// Series numbered by the magnitudes or periods of the table ("m1"… or
// "D1"…) on Series6 to Series9, titled with their value.
std::vector<SeriesBinding> numberedSeries(const Database& a, const char* field, const char* titlePrefix) {
    std::vector<SeriesBinding> out;
    const std::vector<double>& values = a.GetSeriesValues();
    for (int n = 1; n <= 4; ++n) {
        const std::string name = field + std::to_string(n);
        if (!hasField(a, name)) break;
        SeriesBinding b;
        b.series = S6 + n - 1;
        b.yField = name;
        if (static_cast<std::size_t>(n) <= values.size())
            b.title =
                titlePrefix + formatGeneral(values[static_cast<std::size_t>(n) - 1], a.settings().UserLocale);
        out.push_back(std::move(b));
    }
    return out;
}

}  // namespace

const std::array<SeriesDefault, kSeriesCount>& seriesDefaults() {
    static const std::array<SeriesDefault, kSeriesCount> list = {{
        {"Series1", SeriesType::Bar, kRed},
        {"Series2", SeriesType::Bar, kBlue},
        {"Series3", SeriesType::Bar, 4227072},
        {"Series4", SeriesType::Bar, 33023},
        {"Series5", SeriesType::Bar, 16744576},
        {"Series13", SeriesType::Bar, kYellow},
        {"Series14", SeriesType::Bar, kLime},
        {"Series6", SeriesType::Line, kYellow},
        {"Series7", SeriesType::Line, kLime},
        {"Series8", SeriesType::Line, kRed},
        {"Series9", SeriesType::Line, kBlue},
        {"Series12", SeriesType::Point, kRed},
        {"Series11", SeriesType::Line, kBlue},
        {"Series10", SeriesType::Point, kMaroon},
    }};
    return list;
}

int seriesIndex(const char* name) {
    const auto& list = seriesDefaults();
    for (int i = 0; i < kSeriesCount; ++i)
        if (std::strcmp(list[static_cast<std::size_t>(i)].name, name) == 0) return i;
    return -1;
}

ChartLayout chartLayout(int kind, const Database& a) {
    ChartLayout l;
    l.bottomTitle = a.GetBottomAxisTitle();
    l.leftTitle = a.GetLeftAxisTitle();
    l.rightTitle = a.GetRightAxisTitle();
    const LabelStyle value = LabelStyle::Value;
    switch (kind) {
        case 0:
        case 1:
            energyClassBars(l, a, "Okres");
            l.axes = {axis(ChartAxis::Left, "#", 5), axis(ChartAxis::Right, "0.#E+0", 0, true, S10),
                      textBottom()};
            break;
        case 2:
        case 3:
            l.series = {bind(S1, "Energia", "Okres")};
            l.axes = {axis(ChartAxis::Left, "0.##E+0", 0, true, S1), textBottom()};
            l.barChart = true;
            break;
        case 4:
        case 5:
        case 21: {
            SeriesBinding b = against(S6, "Energia", "X");
            b.xIsDate = true;
            l.series = {b};
            l.axes = {
                kind == 4 ? axis(ChartAxis::Left, "0.##E+0") : axis(ChartAxis::Left, "0.##E+0", 0, true, S6),
                axis(ChartAxis::Bottom, "")};
            l.dateAxis = true;
            break;
        }
        case 6:
        case 12: {
            for (SeriesBinding b : numberedSeries(a, "m", "M>")) {
                b.xField = "Okres";
                l.series.push_back(std::move(b));
            }
            l.axes = {axis(ChartAxis::Left, "0.##", 0.01, false, -1, value),
                      axis(ChartAxis::Bottom, "0.##", 0.01, false, -1, value)};
            break;
        }
        case 7:
        case 13:
            l.axes = {axis(ChartAxis::Left, "0.##")};
            magnitudeOrEnergy(l, a, {against(S6, "MRP", "")}, S6, "0.##", 0.01, LabelStyle::Automatic);
            break;
        case 8:
            l.series = {against(S6, "f", "h")};
            l.axes = {axis(ChartAxis::Left, "0.##", 0.01, false, -1, value),
                      axis(ChartAxis::Bottom, "0.##", 0.01, false, -1, value)};
            break;
        case 9: {
            std::vector<SeriesBinding> bound;
            int s = S6;
            for (const char* f : {"pdf_est", "pdf_est_adapt", "cdf_est_adapt"}) {
                if (hasField(a, f)) bound.push_back(against(s, f, ""));
                ++s;
            }
            l.axes = {axis(ChartAxis::Left, "0.##", 0.01)};
            magnitudeOrEnergy(l, a, bound, bound.empty() ? -1 : bound.front().series, "0.##", 0.01,
                              LabelStyle::Automatic);
            break;
        }
        case 10:
        case 14: {
            l.axes = {axis(ChartAxis::Left, "0.##", 0.01, false, -1, value)};
            magnitudeOrEnergy(l, a, numberedSeries(a, "D", "D="), S6, "0.##", 0.01, value);
            break;
        }
        case 11:
            if (hasField(a, a.settings().EnergyChar + "3"))
                energyClassBars(l, a, "Strefa");
            else
                l.series = {bind(S1, "Aktywnosc", "Strefa", true)};
            l.barChart = true;
            l.axes = {axis(ChartAxis::Left, "0", 5), axis(ChartAxis::Right, "0.0E+0", 0, true, S10),
                      textBottom()};
            break;
        case 16:
        case 18:
            l.series = {bind(S1, "Aktywnosc", "Okres", true),
                        bind(S11, "Energia", "Okres", false, ChartAxis::Right)};
            l.axes = {axis(ChartAxis::Left, "#", 5), axis(ChartAxis::Right, "0.#E+0", 0, true, S11),
                      textBottom()};
            l.barChart = true;
            break;
        case 17:
        case 28:
            l.series = {bind(S1, "Aktywnosc", "Okres", true)};
            l.axes = {axis(ChartAxis::Left, "#", 5), textBottom()};
            l.barChart = true;
            break;
        case 19:
            l.series = {withErrors(a, bind(S10, "b", "Okres"))};
            l.axes = {axis(ChartAxis::Left, "0.##", 0.01, false, -1, value), textBottom()};
            break;
        case 20:
            l.series = {bind(S1, "LogN", a.settings().MagnitudeOnly ? "MLabel" : "ELabel")};
            l.axes = {axis(ChartAxis::Left, "#.##", 0.2), textBottom()};
            l.angledLabels = true;
            l.barChart = true;
            break;
        case 22:
            l.series = {bind(S1, "Aktywnosc", "Strefa"),
                        bind(S11, "Energia", "Strefa", false, ChartAxis::Right)};
            l.axes = {axis(ChartAxis::Left, "#", 5), axis(ChartAxis::Right, "0.##E+0", 0, true, S11),
                      textBottom()};
            l.barChart = true;
            break;
        case 23:
            l.series = {bind(S1, "Energia", "Strefa")};
            l.axes = {axis(ChartAxis::Left, "0.##E+0", 0, true, S1), textBottom()};
            l.barChart = true;
            break;
        case 24:
            l.series = {withErrors(a, bind(S10, "b", "Strefa"))};
            l.axes = {axis(ChartAxis::Left, "0.##", 0.01), textBottom()};
            break;
        case 25:
            l.series = {bind(S1, "Aktywnosc", "Strefa", true)};
            l.axes = {axis(ChartAxis::Left, "#", 5), textBottom()};
            l.barChart = true;
            break;
        case 26:
        case 27:
            l.axes = {axis(ChartAxis::Left, "0.##")};
            magnitudeOrEnergy(l, a, {against(S6, kind == 26 ? "ParamPDF" : "ParamCDF", "")}, S6, "0.##", 0.0,
                              LabelStyle::Automatic);
            break;
        case 29: {
            SeriesBinding estimates = bind(S10, "MMax", "Skrot");
            estimates.errorField = "Sigma";
            estimates.title = "Mmax ± σ";
            SeriesBinding observed = bind(S11, "MObs", "Skrot");
            observed.title = "Mobs";
            l.series = {estimates, observed};
            l.axes = {axis(ChartAxis::Left, "0.##"), textBottom()};
            l.note = a.GetSubtitle();
            l.angledLabels = true;
            break;
        }
        case 30: {
            SeriesBinding parametric = against(S10, "Czestosc_P", "Prognoza_P");
            parametric.title = "Hazard parametryczny";
            SeriesBinding kernel = against(S12, "Czestosc_NP", "Prognoza_NP");
            kernel.title = "Hazard nieparametryczny";
            SeriesBinding diagonal = against(S11, "Srodek", "Srodek");
            diagonal.title = "Prognoza doskonała";
            l.series = {diagonal, parametric, kernel};
            AxisSetup left = axis(ChartAxis::Left, "0.0", 0.1);
            AxisSetup bottom = axis(ChartAxis::Bottom, "0.0", 0.1);
            // A little room beyond 0 and 1, so that points on the edges
            // (a bin whose every origin was followed by an event) show whole.
            for (AxisSetup* s : {&left, &bottom}) {
                s->automatic = false;
                s->minimum = -0.03;
                s->maximum = 1.03;
            }
            l.axes = {left, bottom};
            break;
        }
        default: break;
    }
    return l;
}

ChartLayout timeVariationLayout(int quantity, int activity) {
    ChartLayout l;
    l.dateAxis = true;
    l.bottomTitle = "Data";
    const char* field = quantity == 0   ? "Hazard"
                        : quantity == 1 ? "MRP"
                        : quantity == 3 ? "MMaxEst"
                        : quantity == 5 ? "Mc"
                                        : "b";
    SeriesBinding main = against(S6, field, kTimeVariationDate);
    main.xIsDate = true;
    l.series.push_back(main);
    switch (quantity) {
        case 0:
            l.leftTitle = "Prawdopodobieństwo";
            l.axes.push_back(axis(ChartAxis::Left, "0.##"));
            break;
        case 1:
            l.leftTitle = "Średni okres powrotu";
            l.axes.push_back(axis(ChartAxis::Left, "0.##E+0", 0, true, S6));
            break;
        case 3:
            l.leftTitle = "Magnituda";
            l.axes.push_back(axis(ChartAxis::Left, "0.##"));
            break;
        case 5:
            l.leftTitle = "Magnituda kompletności Mc";
            l.axes.push_back(axis(ChartAxis::Left, "0.0#"));
            break;
        default:
            l.leftTitle = "Współczynnik b";
            l.axes.push_back(axis(ChartAxis::Left, "0.##"));
            break;
    }
    const auto count = [&](int series, const char* f) {
        SeriesBinding b = against(series, f, kTimeVariationDate);
        b.xIsDate = true;
        b.axis = ChartAxis::Right;
        l.series.push_back(b);
    };
    if (activity == 0 || activity == 2) count(S6 + 1, "DoAnalizy");
    if (activity == 1 || activity == 2) count(S6 + 2, "LZdarzen");
    if (activity != 3) {
        l.rightTitle = "Aktywność";
        l.axes.push_back(axis(ChartAxis::Right, "#"));
    }
    l.axes.push_back(axis(ChartAxis::Bottom, ""));
    return l;
}

std::string eventMarkerTitle(double magnitude, const AnalysisSettings& s) {
    if (s.MagnitudeOnly) return "Zjawiska o m = " + formatGeneral(magnitude, s.UserLocale);
    const double energy = std::pow(10.0, s.a * magnitude + s.b);
    return "Zjawiska o energii " + formatMask(energy, s.EnergyMask, s.UserLocale) + " [J]";
}

std::string timeVariationTitle(int quantity) {
    switch (quantity) {
        case 0: return "Hazard Sejsmiczny";
        case 1: return "Średni okres powrotu";
        case 3: return "Estymator MMax";
        case 5: return "Magnituda kompletności Mc";
        default: return "Współczynnik b";
    }
}

LogRange logarithmicRange(double smallest, double largest) {
    // Whole decades around the values; below 1 the decade is taken downward,
    // so that values such as 0.3 stay inside the range.
    const double top = largest > 0.0 ? std::floor(std::log10(largest)) : 0.0;
    const double bottom = smallest > 0.0 ? std::floor(std::log10(smallest)) : 0.0;
    return {std::pow(10.0, bottom), std::pow(10.0, top + 1.0)};
}

std::string infoHintText(const std::vector<std::string>& section) {
    if (section.size() <= 2) return "Brak parametrów";
    std::string out;
    for (const std::string& line : section) {
        const auto first = line.find_first_not_of(" \t\r\n");
        const auto last = line.find_last_not_of(" \t\r\n");
        out += (first == std::string::npos ? std::string() : line.substr(first, last - first + 1)) + "\n";
    }
    out.back() = '|';
    return out;
}

}  // namespace zorv

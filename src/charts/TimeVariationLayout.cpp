#include <cmath>

#include "charts/ChartLayoutParts.h"
#include "text/NumberFormat.h"

namespace zorv {

namespace {

// The time-variation table dates each window by its midpoint.
const char* const kTimeVariationDate = "Data";

}  // namespace

ChartLayout timeVariationLayout(int quantity, int activity) {
    ChartLayout l;
    l.dateAxis = true;
    l.bottomTitle = "Data";
    const char* field = quantity == 0   ? "Hazard"
                        : quantity == 1 ? "MRP"
                        : quantity == 3 ? "MMaxEst"
                        : quantity == 5 ? "Mc"
                                        : "b";
    SeriesBinding main = against(SeriesName::Series6, field, kTimeVariationDate);
    main.xIsDate = true;
    l.series.push_back(main);
    switch (quantity) {
        case 0:
            l.leftTitle = "Prawdopodobieństwo";
            l.axes.push_back(axis(ChartAxis::Left, "0.##"));
            break;
        case 1:
            l.leftTitle = "Średni okres powrotu";
            l.axes.push_back(axis(ChartAxis::Left, "0.##E+0", 0, true, SeriesName::Series6));
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
    const auto count = [&](SeriesName series, const char* f) {
        SeriesBinding b = against(series, f, kTimeVariationDate);
        b.xIsDate = true;
        b.axis = ChartAxis::Right;
        l.series.push_back(b);
    };
    if (activity == 0 || activity == 2) count(SeriesName::Series7, "DoAnalizy");
    if (activity == 1 || activity == 2) count(SeriesName::Series8, "LZdarzen");
    if (activity != 3) {
        l.rightTitle = "Aktywność";
        l.axes.push_back(axis(ChartAxis::Right, "#"));
    }
    l.axes.push_back(axis(ChartAxis::Bottom, ""));
    return l;
}

std::string eventMarkerTitle(double magnitude, const AnalysisSettings& s) {
    if (s.MagnitudeOnly) return "Zjawiska o m ≥ " + formatGeneral(magnitude, s.UserLocale);
    const double energy = std::pow(10.0, s.a * magnitude + s.b);
    return "Zjawiska o energii ≥ " + formatMask(energy, s.EnergyMask, s.UserLocale) + " [J]";
}

std::string timeVariationTitle(int quantity) {
    switch (quantity) {
        case 0: return "Hazard sejsmiczny";
        case 1: return "Średni okres powrotu";
        case 3: return "Estymator MMax";
        case 5: return "Magnituda kompletności Mc";
        default: return "Współczynnik b";
    }
}

}  // namespace zorv

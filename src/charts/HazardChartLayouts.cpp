#include "charts/ChartLayoutParts.h"

namespace zorv {

// The nonparametric and parametric hazard charts, the maximum-magnitude
// comparison and the reliability chart of the forecast verification.
bool layOutHazardChart(ChartKind kind, const Database& a, ChartLayout& l) {
    const LabelStyle value = LabelStyle::Value;
    switch (kind) {
        case ChartKind::Hazard:
        case ChartKind::ParametricHazard: {
            for (SeriesBinding b : numberedSeries(a, "m", "M>")) {
                b.xField = "Okres";
                l.series.push_back(std::move(b));
            }
            l.axes = {axis(ChartAxis::Left, "0.##", 0.01, false, -1, value),
                      axis(ChartAxis::Bottom, "0.##", 0.01, false, -1, value)};
            break;
        }
        case ChartKind::MeanReturnPeriod:
        case ChartKind::ParametricReturnPeriod:
            l.axes = {axis(ChartAxis::Left, "0.##")};
            magnitudeOrEnergy(l, a, {against(SeriesName::Series6, "MRP", "")},
                              seriesIndex(SeriesName::Series6), "0.##", 0.01, LabelStyle::Automatic);
            break;
        case ChartKind::SmoothingFactor:
            l.series = {against(SeriesName::Series6, "f", "h")};
            l.axes = {axis(ChartAxis::Left, "0.##", 0.01, false, -1, value),
                      axis(ChartAxis::Bottom, "0.##", 0.01, false, -1, value)};
            break;
        case ChartKind::Density: {
            std::vector<SeriesBinding> bound;
            // The three curves keep their series whichever of them the table has.
            SeriesName s = SeriesName::Series6;
            for (const char* f : {"pdf_est", "pdf_est_adapt", "cdf_est_adapt"}) {
                if (hasField(a, f)) bound.push_back(against(s, f, ""));
                s = nextSeries(s);
            }
            l.axes = {axis(ChartAxis::Left, "0.##", 0.01)};
            magnitudeOrEnergy(l, a, bound, bound.empty() ? -1 : bound.front().series, "0.##", 0.01,
                              LabelStyle::Automatic);
            break;
        }
        case ChartKind::HazardVsMagnitude:
        case ChartKind::ParametricHazardVsMagnitude: {
            l.axes = {axis(ChartAxis::Left, "0.##", 0.01, false, -1, value)};
            magnitudeOrEnergy(l, a, numberedSeries(a, "D", "D="), seriesIndex(SeriesName::Series6), "0.##",
                              0.01, value);
            break;
        }
        case ChartKind::ParametricDensity:
        case ChartKind::ParametricDistribution:
            l.axes = {axis(ChartAxis::Left, "0.##")};
            magnitudeOrEnergy(l, a,
                              {against(SeriesName::Series6,
                                       kind == ChartKind::ParametricDensity ? "ParamPDF" : "ParamCDF", "")},
                              seriesIndex(SeriesName::Series6), "0.##", 0.0, LabelStyle::Automatic);
            break;
        case ChartKind::MMaxComparison: {
            SeriesBinding estimates = bind(SeriesName::Series10, "MMax", "Skrot");
            estimates.errorField = "Sigma";
            estimates.title = "Mmax ± σ";
            // A failed estimator keeps its place, marked with its reason.
            estimates.failureField = "Status";
            SeriesBinding observed = bind(SeriesName::Series11, "MObs", "Skrot");
            observed.title = "Mobs";
            l.series = {estimates, observed};
            l.axes = {axis(ChartAxis::Left, "0.##"), textBottom()};
            l.note = a.GetSubtitle();
            l.angledLabels = true;
            // A handful of estimators: each one is named.
            l.everyLabel = true;
            break;
        }
        case ChartKind::Reliability: {
            SeriesBinding parametric = against(SeriesName::Series10, "Czestosc_P", "Prognoza_P");
            parametric.title = "Hazard parametryczny";
            SeriesBinding kernel = against(SeriesName::Series12, "Czestosc_NP", "Prognoza_NP");
            kernel.title = "Hazard nieparametryczny";
            SeriesBinding diagonal = against(SeriesName::Series11, "Srodek", "Srodek");
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
        default: return false;
    }
    return true;
}

}  // namespace zorv

#pragma once
// The parameters of the time-variation analysis as its dialog returns them,
// and the dialog's logic that needs no window: the check boxes a menu entry
// preselects, the limits of the values, the unit labels, the energy read-out
// and the charts a run opens.

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "hazard/Completeness.h"
#include "hazard/HazardBootstrap.h"
#include "hazard/TimeUnit.h"
#include "text/Locale.h"
#include "text/NumberFormat.h"

namespace zorv {

inline constexpr const char* kTimeVariationsCaption = "Analiza zmienności w czasie";

// The completeness magnitude Mc of every window, estimated on all the
// window's events the filter passes, those below MMin included: Mc tells
// what the network recorded, and a threshold rising above MMin can only be
// seen on the events beneath it. The default is maximum curvature + 0.2
// (Woessner & Wiemer 2005): it gives an estimate on every window with enough
// events, where the goodness of fit often reaches neither level and the
// b-value stability needs far more events than a window holds, and the
// correction takes away the underestimate of plain maximum curvature on a
// gradually curved distribution. Only the point estimate is made: a
// bootstrap in every window would cost hundreds of estimates per window.
struct WindowCompleteness {
    bool enabled = false;
    McMethod method = McMethod::MaxCurvatureCorrected;
    double binWidth = 0.1;  // dM [magnitude]
    friend bool operator==(const WindowCompleteness&, const WindowCompleteness&) = default;
};

struct TimeVariationsParameters {
    bool variableUpperLimit = true;  // "Zmienna górna granica całkowania"
    int minEvents = 30;              // "Minimalna ilość zjawisk"; replaces MinSampleSize
    int windowWidth = 300;           // "Szerokość okna" [days]
    int windowStep = 25;             // "Krok przemieszczania" [days]
    double hazardPeriod = 1.0;       // D [time units]
    double hazardMagnitude = 3.0;
    double returnMagnitude = 3.0;
    TimeUnit unit = TimeUnit::Quarters;  // item 0 of "Podział skali czasu"
    // "Współczynnik b relacji Gutenberga - Richtera", "Estymator maksymalnej
    // magnitudy", "Średni okres powrotu", "Hazard sejsmiczny".
    bool bValueChart = false;
    bool maximumMagnitudeChart = false;
    bool returnPeriodChart = false;
    bool hazardChart = false;
    // "Znaczniki zjawisk" of the b-value and maximum-magnitude charts.
    bool bValueMarkers = true;
    bool maximumMagnitudeMarkers = true;
    // "Przedział ufności": every window's values get their bootstrap band.
    BootstrapOptions bootstrap;
    // "Magnituda kompletności Mc": every window's completeness magnitude as
    // one more column and its chart.
    WindowCompleteness completeness;
};

// The dialog's record for the menu entry of `tag`: 1 maximum magnitude,
// 3 hazard, 4 mean return period, 5 b-value, 10 b-value and all the others.
inline TimeVariationsParameters TimeVariationsDefaults(int tag) {
    TimeVariationsParameters p;
    p.maximumMagnitudeChart = tag == 1 || tag == 10;
    p.hazardChart = tag == 3 || tag == 10;
    p.returnPeriodChart = tag == 4 || tag == 10;
    p.bValueChart = tag == 5 || tag == 10;
    return p;
}

// The message refusing a value outside the dialog's limits, or nullopt. A
// step that is not positive would move the window nowhere and never end.
inline std::optional<std::string> TimeVariationsProblem(const TimeVariationsParameters& p) {
    if (p.windowStep < 1 || p.windowStep > 500)
        return "Krok przemieszczania okna musi być liczbą całkowitą od 1 do 500 dni.";
    if (p.windowWidth < 1 || p.windowWidth > 10000)
        return "Szerokość okna musi być liczbą całkowitą od 1 do 10000 dni.";
    if (p.minEvents < 30 || p.minEvents > 1000)
        return "Minimalna ilość zjawisk musi być liczbą całkowitą od 30 do 1000.";
    if (!(p.hazardPeriod >= 1.0 && p.hazardPeriod <= 100.0))
        return "Liczba okresów D musi leżeć w przedziale od 1 do 100.";
    if (!(p.hazardMagnitude >= 0.001 && p.hazardMagnitude <= 10.0) ||
        !(p.returnMagnitude >= 0.001 && p.returnMagnitude <= 10.0))
        return "Magnituda musi leżeć w przedziale od 0.001 do 10.";
    if (p.completeness.enabled && !(p.completeness.binWidth >= 0.001 && p.completeness.binWidth <= 1.0))
        return "Szerokość przedziału magnitudy Mc musi leżeć w przedziale od 0.001 do 1.";
    return BootstrapProblem(p.bootstrap);
}

// The labels next to D and to the return period.
struct TimeVariationsUnitLabels {
    std::string period;        // "miesięcy" / "kwartałów"
    std::string returnPeriod;  // "(w miesiącach)." / "(w kwartałach)"
};
inline TimeVariationsUnitLabels UnitLabelsOf(TimeUnit unit) {
    if (unit == TimeUnit::Months) return {"miesięcy", "(w miesiącach)."};
    return {"kwartałów", "(w kwartałach)"};
}

// The energy next to a magnitude: 10^(a·M + b) [J] as "0.00e+00".
inline std::string TimeVariationsEnergyText(double magnitude, double a, double b, const Locale& locale) {
    return formatMask(std::pow(10.0, a * magnitude + b), "0.00e+00", locale);
}

// One line chart over the result table.
struct TimeVariationsChart {
    int quantity;     // 0 hazard, 1 mean return period, 3 maximum magnitude, 4 b-value,
                      // 5 completeness magnitude
    int activity;     // 3: no event-count series (its check boxes are hidden and unticked)
    bool markEvents;  // point series of the events above the threshold
};

// The charts a run opens, in the order hazard, mean return period, maximum
// magnitude, b-value and, with the completeness on, completeness magnitude.
inline std::vector<TimeVariationsChart> TimeVariationsCharts(const TimeVariationsParameters& p) {
    std::vector<TimeVariationsChart> charts;
    if (p.hazardChart) charts.push_back({0, 3, true});
    if (p.returnPeriodChart) charts.push_back({1, 3, true});
    if (p.maximumMagnitudeChart) charts.push_back({3, 3, p.maximumMagnitudeMarkers});
    if (p.bValueChart) charts.push_back({4, 3, p.bValueMarkers});
    if (p.completeness.enabled) charts.push_back({5, 3, false});
    return charts;
}

}  // namespace zorv

#include "hazard/HazardParameters.h"

#include <cmath>
#include <set>

#include "base/AnalysisError.h"
#include "hazard/NonParametricTables.h"
#include "text/NumberFormat.h"

namespace zorv {

std::string HazardKindTitle(HazardKind kind) {
    switch (kind) {
        case HazardKind::Hazard: return "Hazard sejsmiczny";
        case HazardKind::MeanReturnPeriod: return "Średni okres powrotu";
        case HazardKind::SmoothingFactor: return "Współczynnik gładkości Silvermana";
        case HazardKind::Probabilities: return "Funkcje gęstości, dystrybuanta rozkładu";
        case HazardKind::HazardVsMagnitude: return "Hazard w funkcji magnitudy";
    }
    return {};
}

std::optional<HazardMenuEntry> HazardMenuEntryOfTag(int tag) {
    switch (tag) {
        case 1: return HazardMenuEntry{HazardKind::Hazard, 0};
        case 2: return HazardMenuEntry{HazardKind::MeanReturnPeriod, 0};
        case 3: return HazardMenuEntry{HazardKind::SmoothingFactor, 0};
        case 4: return HazardMenuEntry{HazardKind::HazardVsMagnitude, 0};
        case 5: return HazardMenuEntry{HazardKind::Probabilities, DensityFunction};
        case 6: return HazardMenuEntry{HazardKind::Probabilities, AdaptiveDensityFunction};
        case 7: return HazardMenuEntry{HazardKind::Probabilities, AdaptiveDistribution};
        default: return std::nullopt;
    }
}

HazardParameters DefaultHazardParameters(HazardKind kind, std::uint8_t functions, double alternativeH,
                                         bool useSearch, bool variableUpperLimit) {
    HazardParameters p;
    p.kind = kind;
    p.functions = functions;
    p.alternativeH = alternativeH;
    p.useSearch = useSearch;
    p.variableUpperLimit = variableUpperLimit;
    switch (kind) {
        case HazardKind::Hazard:
            p.start = 1.0, p.end = 12.0, p.step = 0.2;
            p.values = {3.0, 3.0, 3.0, 3.0};
            break;
        case HazardKind::SmoothingFactor: p.start = 0.001, p.end = 0.2, p.step = 0.01; break;
        case HazardKind::HazardVsMagnitude:
            p.start = 1.0, p.end = 5.0, p.step = 0.02;
            p.values = {1.0, 3.0, 5.0, 7.0};
            break;
        case HazardKind::MeanReturnPeriod:
        case HazardKind::Probabilities: p.start = 1.0, p.end = 5.0, p.step = 0.02; break;
    }
    return p;
}

bool ContinueEnabled(HazardKind kind, const std::vector<SelectableValue>& rows, std::uint8_t functions) {
    const auto anyChecked = [&] {
        for (const SelectableValue& r : rows)
            if (r.checked) return true;
        return false;
    };
    switch (kind) {
        case HazardKind::Hazard:
        case HazardKind::HazardVsMagnitude: return anyChecked();
        case HazardKind::Probabilities:
            return (functions & (DensityFunction | AdaptiveDensityFunction | AdaptiveDistribution)) != 0;
        case HazardKind::MeanReturnPeriod:
        case HazardKind::SmoothingFactor: return true;
    }
    return false;
}

std::vector<double> SelectedValues(const std::vector<SelectableValue>& rows, const Locale& locale) {
    // Ordered byte by byte, as a sorted list of texts that ignores repeats.
    std::set<std::string> texts;
    for (const SelectableValue& r : rows)
        if (r.checked) texts.insert(formatGeneral(r.value, locale));
    std::vector<double> values;
    for (const std::string& t : texts) values.push_back(parseNumber(t, locale).value_or(0.0));
    return values;
}

std::optional<std::string> HazardRangeProblem(const HazardParameters& p) {
    if (p.automaticRange) return std::nullopt;
    try {
        CheckTableRange({p.start, p.end, p.step});
    } catch (const AnalysisError& e) {
        return std::string(e.what());
    }
    return std::nullopt;
}

std::string EnergyReadout(double magnitude, double a, double b, const Locale& locale) {
    return formatMask(std::pow(10.0, a * magnitude + b), "0.000E+00", locale);
}

std::string PeriodUnitLabel(TimeUnit unit) { return unit == TimeUnit::Months ? "miesięcy" : "kwartałów"; }

}  // namespace zorv

#include "registry/HazardOptions.h"

#include <algorithm>
#include <map>

#include "hazard/NonParametricTables.h"

namespace zorv {

TimeUnit readTimeUnit(const OptionSource& p) {
    const std::string unit = p.value("time-unit");
    if (unit == "quarters" || unit == "kwartały") return TimeUnit::Quarters;
    if (unit.empty() || unit == "months" || unit == "miesiące") return TimeUnit::Months;
    throw OptionError("Nieznana jednostka czasu: " + unit + " (months|quarters)");
}

BootstrapOptions readBootstrapOptions(const OptionSource& p) {
    BootstrapOptions o;
    const bool level = p.isSet("level");
    if (!p.isSet("bootstrap")) {
        if (level) throw OptionError("Opcja --level wymaga opcji --bootstrap.");
        return o;
    }
    o.enabled = true;
    o.replicates =
        wholeOption(p, "bootstrap", kMinReplicates, kMaxReplicates,
                    "Opcja --bootstrap przyjmuje liczbę replikacji od " + std::to_string(kMinReplicates) +
                        " do " + std::to_string(kMaxReplicates) + ".");
    if (level) {
        o.level = numberOption(p, "level");
        if (o.level > 1.0) o.level /= 100.0;
    }
    if (const auto problem = BootstrapProblem(o)) throw OptionError(*problem);
    return o;
}

namespace {

HazardKind nonParametricKind(std::string_view name) {
    static const std::map<std::string_view, HazardKind> kinds = {
        {"np-hazard", HazardKind::Hazard},
        {"np-return-period", HazardKind::MeanReturnPeriod},
        {"np-smoothing", HazardKind::SmoothingFactor},
        {"np-hazard-magnitude", HazardKind::HazardVsMagnitude},
        {"np-density", HazardKind::Probabilities}};
    return kinds.at(name);
}

// --functions of np-density, all three when not given.
std::uint8_t densityFunctions(const OptionSource& p) {
    const std::vector<std::string> names = p.isSet("functions")
                                               ? optionItems(p.value("functions"))
                                               : std::vector<std::string>{"pdf", "pdf-adapt", "cdf"};
    std::uint8_t functions = 0;
    for (const std::string& f : names) {
        if (f == "pdf")
            functions |= DensityFunction;
        else if (f == "pdf-adapt")
            functions |= AdaptiveDensityFunction;
        else if (f == "cdf")
            functions |= AdaptiveDistribution;
        else
            throw OptionError("Nieznana funkcja: " + f + " (pdf, pdf-adapt, cdf)");
    }
    return functions;
}

HazardParameters readNonParametric(const OptionSource& p, HazardKind kind, const Preferences& prefs,
                                   const Locale& locale) {
    const auto isSet = [&](const char* name) { return p.isSet(name); };
    HazardParameters r = DefaultHazardParameters(kind, 0, prefs.H, prefs.Auto, false);
    r.accepted = true;
    const std::optional<TableRange> range = tableRangeOptions(p);
    r.automaticRange = !range;
    if (range) {
        r.start = range->start;
        r.end = range->end;
        r.step = range->step;
        if (const auto problem = HazardRangeProblem(r)) throw OptionError(*problem);
    } else {
        r.start = r.end = r.step = -1.0;
    }
    r.unit = readTimeUnit(p);
    const std::string search = p.value("silverman");
    if (search == "on" || search == "off")
        r.useSearch = search == "on";
    else if (!search.empty())
        throw OptionError("Opcja --silverman przyjmuje on lub off.");
    if (isSet("alt-h")) {
        r.alternativeH = numberOption(p, "alt-h");
        checkRange(r.alternativeH, 1e-7, 1.0,
                   "Alternatywny współczynnik gładkości musi leżeć w przedziale od 1e-7 do 1.");
    }
    r.variableUpperLimit = isSet("variable-upper-limit");
    r.touched = isSet("silverman") || isSet("alt-h") || r.variableUpperLimit;

    // Each value once per option; SelectedValues orders them and drops repeats.
    const char* valueOption = kind == HazardKind::Hazard ? "magnitude" : "duration";
    std::vector<SelectableValue> rows;
    for (const std::string& v : p.values(valueOption)) {
        const double x = parseOptionNumber(v, valueOption);
        if (!(x > 0.0))
            throw OptionError("Niepoprawna liczba w opcji --" + std::string(valueOption) + ": " + v);
        rows.push_back({true, x});
    }
    if (rows.size() > 4)
        throw OptionError("Opcję --" + std::string(valueOption) + " można podać najwyżej 4 razy.");
    if (rows.empty()) {
        if (kind == HazardKind::Hazard) rows = {{true, 3.0}};
        if (kind == HazardKind::HazardVsMagnitude)
            rows = {{true, 1.0}, {true, 3.0}, {true, 5.0}, {true, 7.0}};
    }
    const std::vector<double> values = SelectedValues(rows, locale);
    r.count = static_cast<int>(values.size());
    std::copy(values.begin(), values.end(), r.values.begin());

    if (kind == HazardKind::Probabilities) r.functions = densityFunctions(p);
    // The bands of the tables; the smoothing-factor table gives the interval
    // of h in its report only.
    r.bootstrap = readBootstrapOptions(p);
    if (!ContinueEnabled(kind, rows, r.functions))
        throw OptionError("Wybierz co najmniej jedną funkcję (--functions).");
    return r;
}

// The values of a repeatable option (each may also be a comma-separated
// list), at most four.
std::vector<double> valueList(const OptionSource& p, const char* name, std::vector<double> fallback) {
    if (!p.isSet(name)) return fallback;
    std::vector<double> out;
    for (const std::string& given : p.values(name))
        for (const std::string& item : optionItems(given)) out.push_back(parseOptionNumber(item, name));
    if (out.empty() || out.size() > 4)
        throw OptionError("Opcja --" + std::string(name) + " przyjmuje od 1 do 4 wartości.");
    return out;
}

ParametricRequest readParametric(const OptionSource& p, std::string_view name) {
    ParametricRequest r;
    r.timeUnit = readTimeUnit(p);
    r.variableUpperLimit = !p.isSet("fixed-upper-limit");
    r.values = name == "p-hazard"             ? valueList(p, "magnitude", {3.0})
               : name == "p-hazard-magnitude" ? valueList(p, "duration", {1.0, 3.0, 5.0, 7.0})
                                              : std::vector<double>{};
    if (const std::optional<TableRange> range = tableRangeOptions(p)) {
        r.start = range->start;
        r.step = range->step;
        r.end = range->end;
    }
    return r;
}

}  // namespace

void readHazardOptions(const OptionSource& p, const AnalysisEntry& entry, const Preferences& prefs,
                       const Locale& locale, AnalysisRequest& request) {
    if (entry.parameters == AnalysisParameters::NonParametric)
        request.nonParametric = readNonParametric(p, nonParametricKind(entry.name), prefs, locale);
    if (entry.parameters == AnalysisParameters::Parametric)
        request.parametric = readParametric(p, entry.name);
    if (entry.parameters == AnalysisParameters::Parametric)
        request.parametric.bootstrap = readBootstrapOptions(p);
}

}  // namespace zorv

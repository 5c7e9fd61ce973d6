#include "registry/HazardMapOptions.h"

#include <algorithm>

#include "registry/HazardOptions.h"
#include "text/DateText.h"

namespace zorv {

namespace {

const char* const kQuantityNames =
    "count, rate, energy, log-energy, mc, b, b-positive, a, mmax-ks, mmax-np, hazard, return-period, "
    "np-hazard, "
    "np-return-period";

// "X0;Y0;X1;Y1": numbers separated by semicolons.
std::vector<double> numberList(const OptionSource& p, const char* name, std::size_t count) {
    std::vector<double> out;
    const std::string text = p.value(name);
    std::size_t begin = 0;
    while (begin <= text.size()) {
        std::size_t end = text.find(';', begin);
        if (end == std::string::npos) end = text.size();
        const std::string item = trimmedOption(std::string_view(text).substr(begin, end - begin));
        if (!item.empty()) out.push_back(parseOptionNumber(item, name));
        begin = end + 1;
    }
    if (out.size() != count)
        throw OptionError("Opcja --" + std::string(name) + " przyjmuje " + std::to_string(count) +
                          " liczby rozdzielone średnikiem.");
    return out;
}

// --before / --after FROM,TO (dates of the catalogue's locale, or ISO).
DayPeriod periodOption(const OptionSource& p, const char* name, const Locale& locale) {
    const std::string text = p.value(name);
    const std::size_t comma = text.find(',');
    if (comma != std::string::npos && text.find(',', comma + 1) == std::string::npos) {
        const auto first = parseDate(trimmedOption(std::string_view(text).substr(0, comma)), locale);
        const auto last = parseDate(trimmedOption(std::string_view(text).substr(comma + 1)), locale);
        if (first && last) return {*first, *last};
    }
    throw OptionError("Opcja --" + std::string(name) +
                      " przyjmuje okres OD,DO (dwie daty), np. 2003-01-01,2003-12-31.");
}

std::vector<MapQuantity> quantitiesOption(const OptionSource& p) {
    std::vector<MapQuantity> out;
    for (const std::string& option : p.values("quantity"))
        for (std::string name : optionItems(option)) {
            std::transform(name.begin(), name.end(), name.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            const auto q = mapQuantityOfName(name);
            if (!q)
                throw OptionError("Nieznana wielkość w opcji --quantity: " + name + " (" + kQuantityNames +
                                  ")");
            if (std::find(out.begin(), out.end(), *q) == out.end()) out.push_back(*q);
        }
    return out;
}

}  // namespace

HazardMapParameters readHazardMapOptions(const OptionSource& p, const Preferences& prefs,
                                         const Locale& locale) {
    HazardMapParameters r;
    if (p.isSet("quantity")) r.quantities = quantitiesOption(p);
    if (p.isSet("cell")) {
        r.grid.cellSize = numberOption(p, "cell");
        if (!(*r.grid.cellSize > 0.0))
            throw OptionError("Rozmiar komórki siatki --cell musi być liczbą dodatnią.");
    }
    if (p.isSet("box")) {
        const std::vector<double> b = numberList(p, "box", 4);
        r.grid.box = MapBox{b[0], b[1], b[2], b[3]};
    }
    const std::string sampling = p.value("sampling");
    if (sampling == "radius")
        r.sampling.kind = SamplingKind::Radius;
    else if (sampling.empty() || sampling == "nearest")
        r.sampling.kind = SamplingKind::Nearest;
    else
        throw OptionError("Opcja --sampling przyjmuje radius lub nearest.");
    if (r.sampling.kind == SamplingKind::Radius && !p.isSet("radius"))
        throw OptionError("Próba w promieniu wymaga opcji --radius R.");
    if (p.isSet("radius")) r.sampling.radius = numberOption(p, "radius");
    if (p.isSet("nearest"))
        r.sampling.nearest =
            wholeOption(p, "nearest", 2, 100000000, "Opcja --nearest przyjmuje liczbę całkowitą od 2.");
    if (p.isSet("max-radius")) r.sampling.maxRadius = numberOption(p, "max-radius");
    if (p.isSet("min-events"))
        r.sampling.minEvents =
            wholeOption(p, "min-events", 2, 100000000, "Opcja --min-events przyjmuje liczbę całkowitą od 2.");
    else if (r.sampling.kind == SamplingKind::Nearest)
        r.sampling.minEvents = std::min(r.sampling.minEvents, r.sampling.nearest);

    const std::string threshold = p.value("threshold");
    if (threshold == "mmin")
        r.threshold = MapThreshold::MMin;
    else if (!threshold.empty() && threshold != "mc")
        throw OptionError("Opcja --threshold przyjmuje mc lub mmin.");
    if (p.isSet("mc")) {
        const std::string name = p.value("mc");
        const auto m = mcMethodOfName(name);
        if (!m)
            throw OptionError("Nieznana metoda w opcji --mc: " + name +
                              " (maxc, maxc+0.2, gof90, gof95, mbs, ks)");
        r.mcMethod = *m;
    }
    if (p.isSet("mc-bin")) r.mcBinWidth = numberOption(p, "mc-bin");
    if (p.isSet("b-bin")) r.bBinWidth = numberOption(p, "b-bin");
    if (p.isSet("b-positive-threshold")) r.bPositiveDelta = numberOption(p, "b-positive-threshold");
    if (p.isSet("magnitude")) r.magnitude = numberOption(p, "magnitude");
    if (p.isSet("duration")) r.duration = numberOption(p, "duration");
    r.unit = readTimeUnit(p);
    r.variableUpperLimit = p.isSet("variable-upper-limit");

    const std::string normalise = p.value("normalise");
    if (normalise == "sample")
        r.normalisation = MapNormalisation::Sample;
    else if (!normalise.empty() && normalise != "area")
        throw OptionError("Opcja --normalise przyjmuje area lub sample.");
    if (p.isSet("reference-area")) r.referenceArea = numberOption(p, "reference-area");
    const std::string unit = p.value("xy-unit");
    if (unit == "xy")
        r.areaUnit = AreaUnit::CatalogueUnit;
    else if (!unit.empty())
        r.metresPerUnit = parseOptionNumber(unit, "xy-unit");
    if (p.isSet("before") || p.isSet("after")) {
        if (!p.isSet("before") || !p.isSet("after"))
            throw OptionError("Mapa zmian wymaga obu okresów: --before OD,DO i --after OD,DO.");
        r.before = periodOption(p, "before", locale);
        r.after = periodOption(p, "after", locale);
    }
    if (p.isSet("significance")) r.significance = numberOption(p, "significance");
    r.bootstrap = readBootstrapOptions(p);
    if (p.isSet("threads"))
        r.threads =
            wholeOption(p, "threads", 1, 256, "Opcja --threads przyjmuje liczbę całkowitą od 1 do 256.");
    r.locationExpression = prefs.X + prefs.LocationFilter;
    if (const auto problem = HazardMapProblem(r)) throw OptionError(*problem);
    return r;
}

}  // namespace zorv

#include "registry/TimeVariationsOptions.h"

#include "registry/HazardOptions.h"
#include "text/TextCase.h"

namespace zorv {

namespace {

// --mc METHOD turns on the completeness magnitude of every window, --mc-bin
// its bin width.
WindowCompleteness readWindowCompleteness(const OptionSource& p) {
    WindowCompleteness c;
    const bool bin = p.isSet("mc-bin");
    if (!p.isSet("mc")) {
        if (bin) throw OptionError("Opcja --mc-bin wymaga opcji --mc.");
        return c;
    }
    if (p.values("mc").size() > 1) throw OptionError("Opcję --mc można tu podać tylko raz.");
    const std::string name = foldCase(trimmedOption(p.value("mc")));
    const auto method = mcMethodOfName(name);
    if (!method)
        throw OptionError("Nieznana metoda w opcji --mc: " + name +
                          " (maxc, maxc+0.2, gof90, gof95, mbs, ks)");
    c.enabled = true;
    c.method = *method;
    if (bin) {
        c.binWidth = numberOption(p, "mc-bin");
        checkRange(c.binWidth, 0.001, 1.0, "Szerokość przedziału --mc-bin musi należeć do [0,001; 1].");
    }
    return c;
}

}  // namespace

TimeVariationsParameters readTimeVariationsOptions(const OptionSource& p) {
    TimeVariationsParameters r = TimeVariationsDefaults(10);
    const auto whole = [&](const char* name, int& target) {
        if (p.isSet(name))
            target = wholeOption(p, name, -1000000000, 1000000000,
                                 "Opcja --" + std::string(name) + " przyjmuje liczbę całkowitą.");
    };
    const auto single = [&](const char* name, double& target) {
        if (!p.isSet(name)) return;
        if (p.values(name).size() > 1)
            throw OptionError("Opcję --" + std::string(name) + " można tu podać tylko raz.");
        target = numberOption(p, name);
    };
    whole("window", r.windowWidth);
    whole("window-step", r.windowStep);
    whole("min-events", r.minEvents);
    single("magnitude", r.hazardMagnitude);
    single("duration", r.hazardPeriod);
    single("return-magnitude", r.returnMagnitude);
    r.unit = readTimeUnit(p);
    r.variableUpperLimit = !p.isSet("fixed-upper-limit");
    r.bootstrap = readBootstrapOptions(p);
    r.completeness = readWindowCompleteness(p);
    // A step that is not positive would never end the run.
    if (const auto problem = TimeVariationsProblem(r)) throw OptionError(*problem);
    return r;
}

}  // namespace zorv

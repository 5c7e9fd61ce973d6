#include "TimeVariationsOptions.h"

#include "BatchError.h"
#include "BatchOptions.h"
#include "HazardOptions.h"

namespace zorv {

TimeVariationsParameters readTimeVariationsOptions(const QCommandLineParser& p) {
    TimeVariationsParameters r = TimeVariationsDefaults(10);
    const auto whole = [&](const char* name, int& target) {
        if (p.isSet(QString::fromLatin1(name)))
            target = wholeOption(p, name, -1000000000, 1000000000,
                                 "Opcja --" + std::string(name) + " przyjmuje liczbę całkowitą.");
    };
    const auto single = [&](const char* name, double& target) {
        if (!p.isSet(QString::fromLatin1(name))) return;
        if (p.values(QString::fromLatin1(name)).size() > 1)
            throw BatchError("Opcję --" + std::string(name) + " można tu podać tylko raz.");
        target = numberOption(p, name);
    };
    whole("window", r.windowWidth);
    whole("window-step", r.windowStep);
    whole("min-events", r.minEvents);
    single("magnitude", r.hazardMagnitude);
    single("duration", r.hazardPeriod);
    single("return-magnitude", r.returnMagnitude);
    r.unit = readTimeUnit(p);
    r.variableUpperLimit = !p.isSet(QStringLiteral("fixed-upper-limit"));
    r.bootstrap = readBootstrapOptions(p);
    // A step that is not positive would never end the run.
    if (const auto problem = TimeVariationsProblem(r)) throw BatchError(*problem);
    return r;
}

}  // namespace zorv

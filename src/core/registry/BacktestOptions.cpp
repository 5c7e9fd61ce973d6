#include "registry/BacktestOptions.h"

namespace zorv {

BacktestParameters readBacktestOptions(const OptionSource& p) {
    BacktestParameters r;
    if (p.isSet("magnitude")) {
        if (p.values("magnitude").size() > 1)
            throw OptionError("Opcję --magnitude można tu podać tylko raz.");
        r.magnitude = numberOption(p, "magnitude");
    }
    if (p.isSet("horizon"))
        r.horizonDays =
            wholeOption(p, "horizon", 1, 1000000, "Opcja --horizon przyjmuje liczbę całkowitą dni.");
    if (p.isSet("window"))
        r.windowDays = wholeOption(p, "window", 0, 1000000, "Opcja --window przyjmuje liczbę całkowitą dni.");
    if (const auto problem = BacktestProblem(r)) throw OptionError(*problem);
    return r;
}

}  // namespace zorv

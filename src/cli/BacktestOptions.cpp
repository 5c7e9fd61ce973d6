#include "BacktestOptions.h"

#include "BatchError.h"
#include "BatchOptions.h"

namespace zorv {

BacktestParameters readBacktestOptions(const QCommandLineParser& p) {
    BacktestParameters r;
    if (p.isSet(QStringLiteral("magnitude"))) {
        if (p.values(QStringLiteral("magnitude")).size() > 1)
            throw BatchError("Opcję --magnitude można tu podać tylko raz.");
        r.magnitude = numberOption(p, "magnitude");
    }
    if (p.isSet(QStringLiteral("horizon")))
        r.horizonDays =
            wholeOption(p, "horizon", 1, 1000000, "Opcja --horizon przyjmuje liczbę całkowitą dni.");
    if (p.isSet(QStringLiteral("window")))
        r.windowDays = wholeOption(p, "window", 0, 1000000, "Opcja --window przyjmuje liczbę całkowitą dni.");
    if (const auto problem = BacktestProblem(r)) throw BatchError(*problem);
    return r;
}

}  // namespace zorv

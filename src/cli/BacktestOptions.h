#pragma once
// The options of the verification of past hazard forecasts.

#include <QCommandLineParser>

#include "hazard/Backtest.h"

namespace zorv {

// --magnitude (once), --horizon and --window in whole days; refused as the
// desktop dialog refuses them.
BacktestParameters readBacktestOptions(const QCommandLineParser& p);

}  // namespace zorv

#pragma once
// The options of the verification of past hazard forecasts.

#include "hazard/Backtest.h"
#include "registry/OptionSource.h"

namespace zorv {

// --magnitude (once), --horizon and --window in whole days; refused as the
// desktop dialog refuses them.
BacktestParameters readBacktestOptions(const OptionSource& p);

}  // namespace zorv

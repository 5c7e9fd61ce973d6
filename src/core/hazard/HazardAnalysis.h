#pragma once
// The work of the nonparametric hazard command once its parameters are
// known, and the messages it shows for the failures of a run.

#include <exception>
#include <memory>
#include <string>

#include "analysis/Database.h"
#include "base/Progress.h"
#include "hazard/HazardCache.h"
#include "hazard/HazardParameters.h"

namespace zorv {

// Builds the table of the kind on the analysis copy of the catalogue: the
// alternative h replaces H of the settings, the cache settles the smoothing
// factor and maximum magnitude to use, and after a successful run keeps the
// ones used. A failure leaves the cache as settled and passes on.
std::unique_ptr<Database> RunNonParametricHazard(AnalysisSettings settings, Table* sample,
                                                 const HazardParameters& p, HazardCache& cache,
                                                 Progress* progress = nullptr);

struct HazardFailureMessage {
    std::string title;
    std::string text;
    bool error = true;  // an error box, else an information box
};

// The message for a failure caught by the command, tested in this order:
// maximum magnitude above its limit, iteration limit, stopped by the user,
// anything else (its own message).
HazardFailureMessage DescribeHazardFailure(std::exception_ptr failure);

}  // namespace zorv

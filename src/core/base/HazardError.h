#pragma once
// The base of the analysis failure kinds, and the one kind every room that
// runs a long loop raises: the user's stop. The other kinds are the hazard
// estimators' own (hazard/HazardErrors.h).

#include "base/AnalysisError.h"

namespace zorv {

class HazardError : public AnalysisError {
protected:
    explicit HazardError(const char* message) : AnalysisError(message) {}
};

// The user stopped the computation.
class EBreakProcess : public HazardError {
public:
    EBreakProcess() : HazardError("Procedura przerwana...") {}
};

}  // namespace zorv

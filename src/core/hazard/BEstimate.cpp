#include "hazard/BEstimate.h"

#include "hazard/HazardErrors.h"
#include "hazard/ParametricHazard.h"

namespace zorv {

namespace {
constexpr double kLn10 = 2.30258509299404568402;
}  // namespace

double bFromBeta(double beta) { return beta / kLn10; }

std::string bFailureText(const std::exception& failure) {
    if (dynamic_cast<const EBreakProcess*>(&failure)) throw EBreakProcess();
    if (dynamic_cast<const ENoRecords*>(&failure)) return "Brak rekordów";
    if (dynamic_cast<const ESampleTooLow*>(&failure)) return "Za mała próba danych";
    if (dynamic_cast<const EZeroNotFound*>(&failure)) return "Brak miejsca zerowego";
    if (dynamic_cast<const EHFactorBelowZero*>(&failure)) return "Brak miejsca zerowego";
    if (dynamic_cast<const ETooManyIterations*>(&failure)) return "Przekroczony limit iteracji";
    if (dynamic_cast<const ENoMMaxRoot*>(&failure)) return "Równanie Mmax bez rozwiązania";
    if (dynamic_cast<const ETooLargeMagnitude*>(&failure)) return "Całka nie jest zbieżna";
    return "Nieznany wyjątek";
}

BEstimate EstimateB(const AnalysisSettings& settings, Table* dataset, TimeUnit unit) {
    BEstimate out;
    try {
        const ParametricHazard estimator(settings, dataset, unit, true);
        out.beta = estimator.Beta();
        out.moments = sampleMoments(estimator.Sample());
        out.range = estimator.MMaxEst() - estimator.LowerBound();
    } catch (const EBreakProcess&) {
        throw;
    } catch (const AnalysisError& e) {
        out.beta = 0.0;
        out.description = bFailureText(e);
    }
    return out;
}

}  // namespace zorv

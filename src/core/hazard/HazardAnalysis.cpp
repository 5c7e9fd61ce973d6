#include "hazard/HazardAnalysis.h"

#include "hazard/HazardErrors.h"
#include "hazard/LSCV.h"
#include "hazard/NonParametricTables.h"

namespace zorv {

std::unique_ptr<Database> RunNonParametricHazard(AnalysisSettings settings, Table* sample,
                                                 const HazardParameters& p, HazardCache& cache,
                                                 Progress* progress) {
    settings.H = p.alternativeH;
    cache.ResetUnlessSettingsMatch(settings);
    EstimateRequest request = cache.Settle(p);
    request.bootstrap = p.bootstrap;
    request.searchH = p.useSearch;
    const TableRange range = p.automaticRange ? TableRange{} : TableRange{p.start, p.end, p.step};
    std::unique_ptr<Database> a;
    switch (p.kind) {
        case HazardKind::Hazard:
            a = std::make_unique<Hazard>(settings, sample, p.unit, request, range, p.Values(), progress);
            break;
        case HazardKind::MeanReturnPeriod:
            a = std::make_unique<MeanReturnPeriod>(settings, sample, p.unit, request, range, progress);
            break;
        case HazardKind::SmoothingFactor:
            a = std::make_unique<LSCV>(settings, sample, range.start, range.end, range.step, progress,
                                       request.bootstrap);
            break;
        case HazardKind::Probabilities:
            a = std::make_unique<Probabilities>(settings, sample, request, range, p.functions, progress);
            break;
        case HazardKind::HazardVsMagnitude:
            a = std::make_unique<HazardVsMagnitude>(settings, sample, p.unit, request, range, p.Values(),
                                                    progress);
            break;
    }
    cache.Store(a->GetScaleHints());
    return a;
}

HazardFailureMessage DescribeHazardFailure(std::exception_ptr failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const EMMaxEstExceeded&) {
        return {
            "Problem...",
            "Procedura obliczania estymatora maksymalnej magnitudy nie jest zbieżna. Sugerowane wyłączenie "
            "opcji zmiennej górnej granicy całkowania, ewentualnie skorzystanie z procedur hazardu "
            "parametrycznego",
            true};
    } catch (const ETooManyIterations&) {
        return {"Problem...",
                "Osiągnięto limit iteracji w procedurze obliczania estymatora maksymalnej magnitudy. Zwiększ "
                "maksymalną ilość iteracji. UWAGA: Procedura może też nie być zbieżna dla zmiennej górnej "
                "granicy całkowania.",
                true};
    } catch (const EBreakProcess&) {
        return {"Przetwarzanie wstrzymane", "Proces został przerwany przez użytkownika", false};
    } catch (const std::exception& e) {
        return {"Problem...", e.what(), true};
    } catch (...) {
        return {"Problem...", "Nieznany błąd", true};
    }
}

}  // namespace zorv

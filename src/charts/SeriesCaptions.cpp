#include "charts/SeriesCaptions.h"

#include <array>
#include <utility>

namespace zorv {

std::string seriesCaption(const std::string& field, ChartKind kind) {
    if (field == "Energia" && kind == ChartKind::EnergyTraces) return "Energia śladów";
    static const std::array<std::pair<const char*, const char*>, 13> captions{{
        {"Aktywnosc", "Aktywność"},
        {"LogN", "log N"},
        {"MRP", "Średni okres powrotu"},
        {"Hazard", "Hazard sejsmiczny"},
        {"MMaxEst", "Estymator MMax"},
        {"DoAnalizy", "Zjawiska o m ≥ MMin"},
        {"LZdarzen", "Zjawiska w oknie"},
        {"f", "Funkcja kroswalidacji"},
        {"pdf_est", "Gęstość jądrowa"},
        {"pdf_est_adapt", "Gęstość jądrowa adaptacyjna"},
        {"cdf_est_adapt", "Dystrybuanta jądrowa adaptacyjna"},
        {"ParamPDF", "Gęstość parametryczna"},
        {"ParamCDF", "Dystrybuanta parametryczna"},
    }};
    for (const auto& [name, caption] : captions)
        if (field == name) return caption;
    return field;
}

std::string windowCaptionTitle(ChartKind kind, const std::string& title) {
    switch (kind) {
        case ChartKind::Hazard:
        case ChartKind::MeanReturnPeriod:
        case ChartKind::HazardVsMagnitude: return title + " (nieparametryczny)";
        case ChartKind::ParametricHazard:
        case ChartKind::ParametricReturnPeriod:
        case ChartKind::ParametricHazardVsMagnitude: return title + " (parametryczny)";
        default: return title;
    }
}

}  // namespace zorv

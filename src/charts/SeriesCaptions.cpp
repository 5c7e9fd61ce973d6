#include "charts/SeriesCaptions.h"

#include <array>
#include <utility>

namespace zorv {

std::string seriesCaption(const std::string& field, ChartKind kind) {
    if (field == "Energia" && kind == ChartKind::EnergyTraces) return "Energia śladów";
    // Short: the legend stands beside the plot and takes its width.
    static const std::array<std::pair<const char*, const char*>, 13> captions{{
        {"Aktywnosc", "Aktywność"},
        {"LogN", "log N"},
        {"MRP", "Okres powrotu"},
        {"Hazard", "Hazard"},
        {"MMaxEst", "MMax"},
        {"DoAnalizy", "m ≥ MMin"},
        {"LZdarzen", "Zjawiska"},
        {"f", "Funkcja CV"},
        {"pdf_est", "Gęstość"},
        {"pdf_est_adapt", "Gęstość adapt."},
        {"cdf_est_adapt", "Dystrybuanta"},
        {"ParamPDF", "Gęstość"},
        {"ParamCDF", "Dystrybuanta"},
    }};
    for (const auto& [name, caption] : captions)
        if (field == name) return caption;
    return field;
}

std::string windowCaptionTitle(ChartKind kind, const std::string& title) {
    // A title that names its estimate already ("Parametryczny hazard ...").
    if (title.find("arametryczn") != std::string::npos) return title;
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

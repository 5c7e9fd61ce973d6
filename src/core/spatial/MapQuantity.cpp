#include "spatial/MapQuantity.h"

namespace zorv {

const std::vector<MapQuantityInfo>& mapQuantities() {
    using Q = MapQuantity;
    static const std::vector<MapQuantityInfo> all = {
        {Q::Count, "count", "LZdarzen", "Liczba zjawisk w próbie węzła"},
        {Q::Rate, "rate", "Tempo", "Liczba zjawisk na rok"},
        {Q::Energy, "energy", "Energia", "Energia wyzwolona [J]"},
        {Q::LogEnergy, "log-energy", "LogE", "Logarytm energii wyzwolonej log10(E [J])"},
        {Q::Mc, "mc", "Mc", "Magnituda kompletności Mc"},
        {Q::BValue, "b", "b", "Współczynnik b (Aki–Utsu)"},
        {Q::BPositive, "b-positive", "b_plus", "Współczynnik b-dodatni"},
        {Q::AValue, "a", "a", "Współczynnik a relacji Gutenberga-Richtera"},
        {Q::MMaxParametric, "mmax-ks", "MMaxKS", "Maksymalna magnituda (Kijko–Sellevoll)"},
        {Q::MMaxNonParametric, "mmax-np", "MMaxNP", "Maksymalna magnituda (nieparametryczna)"},
        {Q::Hazard, "hazard", "Hazard", "Hazard sejsmiczny (parametryczny)"},
        {Q::ReturnPeriod, "return-period", "MRP", "Średni okres powrotu (parametryczny)"},
        {Q::NpHazard, "np-hazard", "NPHazard", "Hazard sejsmiczny (nieparametryczny)"},
        {Q::NpReturnPeriod, "np-return-period", "NPMRP", "Średni okres powrotu (nieparametryczny)"},
    };
    return all;
}

const MapQuantityInfo& mapQuantityInfo(MapQuantity q) { return mapQuantities()[static_cast<std::size_t>(q)]; }

std::optional<MapQuantity> mapQuantityOfName(const std::string& name) {
    for (const MapQuantityInfo& i : mapQuantities())
        if (name == i.name) return i.quantity;
    return std::nullopt;
}

bool needsParametric(MapQuantity q) {
    return q == MapQuantity::MMaxParametric || q == MapQuantity::Hazard || q == MapQuantity::ReturnPeriod;
}

bool needsNonParametric(MapQuantity q) {
    return q == MapQuantity::MMaxNonParametric || q == MapQuantity::NpHazard ||
           q == MapQuantity::NpReturnPeriod;
}

}  // namespace zorv

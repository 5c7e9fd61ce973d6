#include "spatial/HazardMapParameters.h"

#include <cmath>

namespace zorv {

std::optional<std::string> HazardMapProblem(const HazardMapParameters& p) {
    if (p.quantities.empty() && !p.before) return "Wybierz co najmniej jedną wielkość mapy.";
    if (const std::string s = SamplingProblem(p.sampling); !s.empty()) return s;
    if (p.grid.cellSize && !(*p.grid.cellSize > 0.0))
        return "Rozmiar komórki siatki musi być liczbą dodatnią.";
    if (!(p.mcBinWidth >= 0.001 && p.mcBinWidth <= 1.0))
        return "Szerokość przedziału magnitudy Mc musi leżeć w przedziale od 0.001 do 1.";
    if (!(p.bBinWidth >= 0.0 && p.bBinWidth <= 1.0))
        return "Szerokość przedziału magnitudy b musi leżeć w przedziale od 0 do 1.";
    if (!(p.magnitude >= 0.001 && p.magnitude <= 10.0))
        return "Magnituda musi leżeć w przedziale od 0.001 do 10.";
    if (!(p.duration > 0.0 && p.duration <= 1000.0))
        return "Liczba okresów D musi leżeć w przedziale od 0 do 1000.";
    if (!(p.referenceArea > 0.0) || !std::isfinite(p.referenceArea))
        return "Pole odniesienia musi być liczbą dodatnią.";
    if (!(p.metresPerUnit > 0.0) || !std::isfinite(p.metresPerUnit))
        return "Jednostka współrzędnych musi być dodatnią liczbą metrów.";
    if (p.before.has_value() != p.after.has_value()) return "Mapa zmian wymaga dwóch okresów.";
    if (p.before && (p.before->first > p.before->last || p.after->first > p.after->last))
        return "Data początkowa okresu nie może być większa od daty końcowej.";
    if (!(p.significance > 0.0 && p.significance < 0.5))
        return "Poziom istotności musi leżeć w przedziale od 0 do 0,5.";
    return BootstrapProblem(p.bootstrap);
}

}  // namespace zorv

#include "catalogue/EnergyMagnitude.h"

#include <cmath>

namespace zorv {

double EnergyMagnitudeRelation::energyFromMagnitude(double magnitude) const {
    return std::pow(10.0, a * magnitude + b);
}

double EnergyMagnitudeRelation::magnitudeFromEnergy(double energy) const {
    if (!(energy > 0.0)) return 0.0;
    return (std::log10(energy) - b) / a;
}

namespace {
const Column* numericColumn(const Table& table, const std::string& name) {
    const int f = table.fieldIndex(name);
    return f < 0 ? nullptr : &table.column(f);
}
}  // namespace

EventReader::EventReader(const Table& table, const std::string& energyField,
                         const std::string& magnitudeField, EnergyMagnitudeRelation relation)
    : table_(table),
      energy_(numericColumn(table, energyField)),
      magnitude_(numericColumn(table, magnitudeField)),
      relation_(relation) {}

double EventReader::energy(std::size_t row) const {
    if (energy_) return energy_->numberAt(row);
    return relation_.energyFromMagnitude(magnitude_ ? magnitude_->numberAt(row) : 0.0);
}

double EventReader::magnitude(std::size_t row) const {
    if (!magnitude_ || magnitude_->isNull(row))
        return relation_.magnitudeFromEnergy(energy_ ? energy_->numberAt(row) : 0.0);
    return magnitude_->numberAt(row);
}

}  // namespace zorv

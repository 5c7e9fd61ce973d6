#pragma once
// The energy–magnitude relation log10 E = a·M + b (E in joules, M local
// magnitude) and the reading of an event's energy and magnitude from a
// catalogue record through the field roles.

#include <cstddef>
#include <string>

#include "table/Table.h"

namespace zorv {

struct EnergyMagnitudeRelation {
    double a = 1.96;
    double b = 1.15;

    // 10^(a·M + b) joules.
    double energyFromMagnitude(double magnitude) const;
    // (log10 E − b) / a; exactly 0.0 for an energy of zero or below.
    double magnitudeFromEnergy(double energy) const;
};

// Reads energies and magnitudes of a catalogue's records. A catalogue may
// have either field or both; the missing one is converted from the other.
class EventReader {
public:
    EventReader(const Table& table, const std::string& energyField, const std::string& magnitudeField,
                EnergyMagnitudeRelation relation);

    bool hasEnergy() const { return energy_ != nullptr; }
    bool hasMagnitude() const { return magnitude_ != nullptr; }
    const EnergyMagnitudeRelation& relation() const { return relation_; }

    // Energy [J] of physical row `row`: the energy field (null reads as 0),
    // or, without that field, the energy of the magnitude.
    double energy(std::size_t row) const;
    // Magnitude of physical row `row`: the magnitude field, or the
    // magnitude of the energy when there is no magnitude field or its value
    // is null.
    double magnitude(std::size_t row) const;

    // The same for the table's current record.
    double currentEnergy() const { return energy(table_.currentRow()); }
    double currentMagnitude() const { return magnitude(table_.currentRow()); }

private:
    const Table& table_;
    const Column* energy_ = nullptr;
    const Column* magnitude_ = nullptr;
    EnergyMagnitudeRelation relation_;
};

}  // namespace zorv

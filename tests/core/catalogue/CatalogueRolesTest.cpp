// The field roles of a catalogue: the energy–magnitude relation, the reader
// that falls back from one field to the other, the default roles.

#include <gtest/gtest.h>

#include <cmath>

#include "catalogue/EnergyMagnitude.h"
#include "catalogue/FieldRoles.h"

namespace zorv {
namespace {

TEST(EnergyMagnitude, DefaultRelation) {
    const EnergyMagnitudeRelation r;  // a = 1.96, b = 1.15
    // 10^(1.96*1.3 + 1.15) = 10^3.698 = 4988.88... (python3 -c "print(10**3.698)")
    EXPECT_NEAR(r.energyFromMagnitude(1.3), 4988.844874, 1e-6);
    EXPECT_NEAR(r.magnitudeFromEnergy(r.energyFromMagnitude(2.75)), 2.75, 1e-12);
    // An energy of 0 or below has no logarithm: magnitude 0, no error.
    EXPECT_EQ(r.magnitudeFromEnergy(0.0), 0.0);
    EXPECT_EQ(r.magnitudeFromEnergy(-5.0), 0.0);
    EXPECT_EQ(r.magnitudeFromEnergy(std::nan("")), 0.0);
    const EnergyMagnitudeRelation other{1.5, 4.8};
    EXPECT_NEAR(other.energyFromMagnitude(2.0), std::pow(10.0, 7.8), 1e-3);
}

Table catalogue(bool withEnergy, bool withMagnitude) {
    FieldDefs defs{{"ODDZIAL", FieldType::String, 10}};
    if (withEnergy) defs.emplace_back("ENG", FieldType::Float);
    if (withMagnitude) defs.emplace_back("MAGNITUDA", FieldType::Float);
    return Table(defs);
}

TEST(EventReader, FallsBackToTheOtherField) {
    const EnergyMagnitudeRelation rel{1.5, 4.8};
    {
        Table t = catalogue(false, true);
        t.appendRecord({Value::text("G-1/1"), Value::real(2.0)});
        EventReader r(t, "ENG", "MAGNITUDA", rel);
        EXPECT_FALSE(r.hasEnergy());
        EXPECT_NEAR(r.energy(0), std::pow(10.0, 7.8), 1e-3);
        EXPECT_EQ(r.magnitude(0), 2.0);
    }
    {
        Table t = catalogue(true, false);
        t.appendRecord({Value::text("G-1/1"), Value::real(1e6)});
        EventReader r(t, "ENG", "MAGNITUDA", rel);
        EXPECT_NEAR(r.magnitude(0), (6.0 - 4.8) / 1.5, 1e-12);
    }
    {
        // A null magnitude beside a set energy takes the converted energy; a
        // null energy reads as 0.
        Table t = catalogue(true, true);
        t.appendRecord({Value::text("G-1/1"), Value::real(1e6), Value{}});
        t.appendRecord({Value::text("G-1/1"), Value{}, Value::real(1.0)});
        EventReader r(t, "eng", "magnituda", rel);
        EXPECT_NEAR(r.magnitude(0), 0.8, 1e-12);
        EXPECT_EQ(r.energy(1), 0.0);
        EXPECT_EQ(r.magnitude(1), 1.0);
        t.setRecNo(1);
        EXPECT_NEAR(r.currentMagnitude(), 0.8, 1e-12);
    }
}

TEST(FieldRoles, DefaultsAndDepartments) {
    EXPECT_EQ(departmentOf("G-1/3"), "G-1");
    EXPECT_EQ(departmentOf("G-1/3/a"), "G-1");
    EXPECT_EQ(departmentOf("G-7"), "G-7");  // no separator: a department of its own
    EXPECT_EQ(departmentOf("G-1|3", "|"), "G-1");
    EXPECT_EQ(departmentOf("", "/"), "");
    EXPECT_STREQ(fieldTypeCheckName(FieldType::DateTime), "Nierozpoznane");
    EXPECT_STREQ(fieldTypeCheckName(FieldType::Unknown), "Nierozpoznane lub niezdefiniowane");
}

}  // namespace
}  // namespace zorv

// The bundled sample catalogue: the committed files are what the generator
// makes, in every format, and they make a believable, well-formed catalogue.

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

#include "SampleCatalogue.h"
#include "catalogue/FieldRoles.h"
#include "dbase/DbaseFile.h"
#include "paradox/ParadoxFile.h"
#include "text/LineFile.h"

namespace zorv {
namespace {

const std::string kDir = ZORV_SAMPLE_DIR;

void expectSameRecords(const Table& a, const Table& b) {
    ASSERT_EQ(a.fieldCount(), b.fieldCount());
    ASSERT_EQ(a.physicalCount(), b.physicalCount());
    for (int f = 0; f < a.fieldCount(); ++f) {
        EXPECT_EQ(a.field(f).name, b.field(f).name);
        EXPECT_EQ(a.field(f).type, b.field(f).type) << a.field(f).name;
        for (std::size_t r = 0; r < a.physicalCount(); ++r)
            ASSERT_EQ(a.value(r, f), b.value(r, f)) << a.field(f).name << " row " << r;
    }
}

TEST(SampleCatalogue, CommittedFilesAreTheGeneratorsOutput) {
    const Table generated = sample::makeSampleCatalogue();
    expectSameRecords(readDbase(kDir + "/katalog.dbf"), generated);
    expectSameRecords(readParadox(kDir + "/katalog.db"), generated);
    const auto lines = readLines(kDir + "/katalog.txt");
    ASSERT_EQ(lines.size(), generated.physicalCount() + 1);
    EXPECT_EQ(lines[0], "ODDZIAL\tDATA\tX\tY\tENG\tMAGNITUDA\tGODZ\tMIN\tSEK\tOPIS\t");
}

TEST(SampleCatalogue, WellFormedAndBelievable) {
    const Table t = readDbase(kDir + "/katalog.dbf");
    const CatalogueFields names;
    for (FieldRole role : {FieldRole::Zone, FieldRole::Date, FieldRole::X, FieldRole::Y, FieldRole::Energy,
                           FieldRole::Magnitude}) {
        const int f = t.fieldIndex(names.name(role));
        ASSERT_GE(f, 0) << names.name(role);
        EXPECT_EQ(t.field(f).type, fieldRoleInfo(role).requiredType) << names.name(role);
    }
    const auto& zone = t.column(t.fieldIndex("ODDZIAL"));
    const auto& date = t.column(t.fieldIndex("DATA")).int32s();
    const auto& x = t.column(t.fieldIndex("X")).int32s();
    const auto& energy = t.column(t.fieldIndex("ENG")).doubles();
    const auto& magnitude = t.column(t.fieldIndex("MAGNITUDA")).doubles();
    const std::size_t n = t.physicalCount();
    EXPECT_GT(n, 18000u);
    EXPECT_LT(n, 22000u);
    std::map<std::string, std::set<std::string>> departments;
    std::size_t unlocated = 0;
    double sumAbove = 0.0, maxM = 0.0;
    std::size_t nAbove = 0;
    for (std::size_t r = 0; r < n; ++r) {
        if (r > 0) {
            ASSERT_LE(date[r - 1], date[r]) << "records out of date order at " << r;
        }
        ASSERT_GT(energy[r], 0.0);
        // Energy and magnitude agree through log10 E = 1.96·M + 1.15.
        ASSERT_NEAR(std::log10(energy[r]), 1.96 * magnitude[r] + 1.15, 1e-12);
        const std::string& code = zone.textAt(r);
        departments[std::string(departmentOf(code))].insert(code);
        unlocated += x[r] == 0;
        maxM = std::max(maxM, magnitude[r]);
        if (magnitude[r] >= 1.3) {
            sumAbove += magnitude[r];
            ++nAbove;
        }
    }
    ASSERT_EQ(departments.size(), 4u);
    for (const auto& [dep, zones] : departments) {
        EXPECT_GE(zones.size(), 3u) << dep;
        EXPECT_LE(zones.size(), 5u) << dep;
    }
    EXPECT_NEAR(static_cast<double>(unlocated) / static_cast<double>(n), 0.10, 0.02);
    EXPECT_LE(maxM, 4.2);
    EXPECT_GT(maxM, 3.5);
    // Maximum-likelihood b above the completeness threshold (Aki):
    // b = log10(e) / (mean M - Mc); the catalogue was drawn with b = 1.
    const double b = std::log10(std::exp(1.0)) / (sumAbove / static_cast<double>(nAbove) - 1.3);
    EXPECT_NEAR(b, 1.0, 0.05);
}

}  // namespace
}  // namespace zorv

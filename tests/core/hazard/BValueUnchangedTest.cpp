// The b-value series and the zone b-values on the sample catalogue, with
// the b statistics off: table text, report and dBase table are byte for
// byte those of the code before the statistics were added. The expected
// files under tests/data/bvalue-unchanged were written by this same file
// built on the commit before them (57f53d9), and remade once since, when the
// joint maximum-magnitude equation came to be solved by bracketing where
// substitution had not settled: every row with a b-value kept it byte for
// byte, rows that failed then got their root (3 of 24 quarters, 11 of 72
// months) or the reason "Równanie Mmax bez rozwiązania" instead of the
// failure of the substitution, and the reports changed only in those rows.
// Made with
//
//   ZORV_WRITE_EXPECTED=$PWD/tests/data/bvalue-unchanged
//     build/tests/zorvcore_tests --gtest_filter='BValueUnchanged.*'
//
// as one command line (the file uses only the constructors that commit has).

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "../analysis/AnalysisTestSupport.h"
#include "dbase/DbaseFile.h"
#include "hazard/BValue.h"
#include "hazard/ZoneBValue.h"
#include "report/ReportWriter.h"

namespace zorv {
namespace {

const std::string kExpected = std::string(ZORV_TEST_DATA_DIR) + "/bvalue-unchanged/";

std::string joined(const ReportLines& lines) {
    std::string out;
    for (const std::string& l : lines) out += l + "\n";
    return out;
}

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The bytes of the dBase table with its date of last update (bytes 1–3)
// blanked.
std::string dbaseBytes(Database& analysis, const std::string& name) {
    const std::string path =
        (std::filesystem::temp_directory_path() / ("zorv-bvalue-" + name + ".dbf")).string();
    std::string message;
    EXPECT_TRUE(analysis.CopyToFile(path, &message)) << message;
    std::string bytes = fileBytes(path);
    std::filesystem::remove(path);
    if (bytes.size() > 4) bytes.replace(1, 3, 3, '\0');
    return bytes;
}

void compareOrWrite(Database& analysis, const std::string& name) {
    const auto clock = reportClock;
    reportClock = [] { return 40000.5; };
    ReportLines report, table;
    analysis.WriteReport(report);
    analysis.WriteTableText(table);
    reportClock = clock;
    const std::pair<std::string, std::string> outputs[] = {
        {name + ".report.txt", joined(report)},
        {name + ".table.txt", joined(table)},
        {name + ".dbf", dbaseBytes(analysis, name)},
    };
    if (const char* dir = std::getenv("ZORV_WRITE_EXPECTED")) {
        for (const auto& [file, bytes] : outputs)
            std::ofstream(std::string(dir) + "/" + file, std::ios::binary) << bytes;
        return;
    }
    for (const auto& [file, bytes] : outputs) {
        SCOPED_TRACE(file);
        const std::string expected = fileBytes(kExpected + file);
        ASSERT_FALSE(expected.empty());
        EXPECT_EQ(bytes, expected);
    }
}

Table sample() { return readDbase(std::string(ZORV_SAMPLE_DIR) + "/katalog.dbf"); }

TEST(BValueUnchanged, SeriesOfEveryPeriodKind) {
    const std::pair<PeriodKind, const char*> kinds[] = {{PeriodKind::Quarters, "b-quarters"},
                                                        {PeriodKind::Months, "b-months"},
                                                        {PeriodKind::Years, "b-years"}};
    for (const auto& [kind, name] : kinds) {
        SCOPED_TRACE(name);
        Table t = sample();
        DBBChanges series(testing::defaultSettings(), &t, kind);
        compareOrWrite(series, name);
    }
}

TEST(BValueUnchanged, Zones) {
    Table t = sample();
    DBZoneBChanges zones(testing::defaultSettings(), &t, {"G-1", "G-2/1", "G-3", "G-9"});
    compareOrWrite(zones, "zone-b");
}

}  // namespace
}  // namespace zorv

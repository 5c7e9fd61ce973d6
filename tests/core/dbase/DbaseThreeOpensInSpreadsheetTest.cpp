// A table saved as dBase III must open in a spreadsheet with its values:
// LibreOffice Calc converts it to CSV, which must give back the fields,
// texts with their Polish letters, numbers and dates.
//
//   soffice --headless --infilter=dBase:33
//           --convert-to 'csv:Text - txt - csv (StarCalc):59,34,76' kopia.dbf
//
// 33 is LibreOffice's number of windows-1250. The file names that code page
// in its language byte (0xC8), but Calc 7.4 reads dBase III text as DOS
// Latin unless told, as a user tells it in its import dialog.

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "TestFiles.h"
#include "dbase/DbaseFile.h"
#include "table/Table.h"

namespace zorv {
namespace {

namespace fs = std::filesystem;

class DbaseThree : public ScratchDirTest {};

std::vector<std::string> splitLine(const std::string& line) {
    std::vector<std::string> out;
    std::string cell;
    bool quoted = false;
    for (char c : line) {
        if (c == '"')
            quoted = !quoted;
        else if (c == ';' && !quoted) {
            out.push_back(cell);
            cell.clear();
        } else
            cell += c;
    }
    out.push_back(cell);
    return out;
}

TEST_F(DbaseThree, LibreOfficeCalcGivesBackTheValues) {
    if (std::system("command -v soffice > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "soffice (libreoffice-calc-nogui) is not installed";
    Table t({{"ODDZIAL", FieldType::String, 20},
             {"DATA", FieldType::Date},
             {"ENERGIA", FieldType::Float},
             {"X", FieldType::Integer},
             {"OPIS", FieldType::String, 40}});
    t.appendRecord({Value::text("G-1/1"), Value::date(36526), Value::real(1374.5032398723208),
                    Value::integer(11838), Value::text("Ściana 401, pokład 501 żółć")});
    t.appendRecord(
        {Value::text("G-4/2"), Value::date(38717), Value::real(2.5e6), Value::integer(-5), Value::text("")});
    const fs::path dbf = dir_ / "kopia.dbf";
    writeDbase(t, dbf.string(), DbaseLevel::DBase3);

    // A profile of its own, so the conversion neither needs nor touches the
    // user's; the C locale gives month/day/year dates.
    const std::string command =
        "HOME=" + dir_.string() + " LC_ALL=C.UTF-8 soffice -env:UserInstallation=file://" +
        (dir_ / "profile").string() +
        " --headless --infilter=dBase:33 --convert-to 'csv:Text - txt - csv "
        "(StarCalc):59,34,76' --outdir " +
        dir_.string() + " " + dbf.string() + " > " + (dir_ / "soffice.log").string() + " 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << "soffice failed; see " << (dir_ / "soffice.log");
    ASSERT_TRUE(fs::exists(dir_ / "kopia.csv"))
        << "no CSV came back (the dBase driver is in libreoffice-base-drivers)";
    std::istringstream csv(slurp(dir_ / "kopia.csv"));
    std::vector<std::vector<std::string>> rows;
    for (std::string line; std::getline(csv, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        rows.push_back(splitLine(line));
    }
    ASSERT_EQ(rows.size(), 3u);
    const std::vector<std::string> names{"ODDZIAL", "DATA", "ENERGIA", "X", "OPIS"};
    ASSERT_EQ(rows[0].size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(rows[0][i].substr(0, rows[0][i].find(',')), names[i]);
    EXPECT_EQ(rows[1][0], "G-1/1");
    EXPECT_EQ(rows[1][1], "01/01/00");
    EXPECT_NEAR(std::stod(rows[1][2]), 1374.5032398723208, 1e-9);
    EXPECT_EQ(rows[1][3], "11838");
    EXPECT_EQ(rows[1][4], "Ściana 401, pokład 501 żółć");
    EXPECT_EQ(rows[2][1], "12/31/05");
    EXPECT_DOUBLE_EQ(std::stod(rows[2][2]), 2.5e6);
    EXPECT_EQ(rows[2][3], "-5");
    EXPECT_EQ(rows[2].size() < 5 ? std::string() : rows[2][4], "");
}

}  // namespace
}  // namespace zorv

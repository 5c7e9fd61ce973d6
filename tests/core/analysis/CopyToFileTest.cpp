// Saving the table of an analysis: a failure tells the user why.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "AnalysisTestSupport.h"
#include "TestFiles.h"
#include "analysis/ActivitySeries.h"
#include "analysis/DBBase.h"
#include "text/AtomicFile.h"

namespace zorv {
namespace {

class CopyToFile : public ScratchDirTest {};

TEST_F(CopyToFile, FailureNamesItsCause) {
    const auto s = testing::defaultSettings();
    Table t = testing::makeCatalogue({{2004, 1, 10, 0.5, 0.2}, {2004, 7, 1, 5e10, 4.0}});
    DBActivity result(s, &t, PeriodKind::Quarters, 9);
    DBBase catalogue(s, &t);
    std::filesystem::create_directory(dir_ / "wynik.dbf");
    std::filesystem::create_directory(dir_ / "wynik.db");
    for (const char* name : {"wynik.dbf", "wynik.db"}) {
        SCOPED_TRACE(name);
        for (Database* analysis : {static_cast<Database*>(&result), static_cast<Database*>(&catalogue)}) {
            std::string message;
            EXPECT_FALSE(analysis->CopyToFile(path(name), &message));
            EXPECT_NE(message.find("w miejscu pliku jest folder"), std::string::npos) << message;
        }
        std::string message;
        result.CopyToFile(path(name), &message);
        EXPECT_EQ(message.find("Skopiowanie bazy danych do pliku " + path(name) + " nie powiodło się..."), 0u)
            << message;
    }

    // Text: a read-only file is left as it is.
    writeFileAtomically(path("wynik.csv"), "old");
    ::chmod(path("wynik.csv").c_str(), 0444);
    try {
        result.SaveTableAsText(path("wynik.csv"), ";");
        ADD_FAILURE() << "saved";
    } catch (const FileWriteError& e) {
        EXPECT_NE(std::string(e.what()).find("tylko do odczytu"), std::string::npos) << e.what();
    }
    EXPECT_EQ(slurp(path("wynik.csv")), "old");
}

}  // namespace
}  // namespace zorv

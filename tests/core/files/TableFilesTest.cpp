// Catalogue files of both formats opened for editing through TableFiles:
// what the two formats must agree on.

#include <gtest/gtest.h>

#include <string>

#include "TestFiles.h"
#include "files/TableFiles.h"
#include "table/TableError.h"

namespace zorv {
namespace {

class TableFilesTest : public ScratchDirTest {
protected:
    // A catalogue of the two formats with an auto-increment field.
    std::string catalogue(const std::string& name, std::int64_t lastNumber) {
        Table t({{"ODDZIAL", FieldType::String, 10}, {"NR", FieldType::AutoInc}});
        t.appendRecord({Value::text("G-1"), Value::integer(1)});
        t.appendRecord({Value::text("G-2"), Value::integer(lastNumber)});
        const std::string file = path(name);
        writeTableFile(t, file);
        return file;
    }
};

TEST_F(TableFilesTest, AutoIncrementAtItsLargestNumberRefusesTheAppend) {
    for (const char* name : {"katalog.dbf", "katalog.db"}) {
        SCOPED_TRACE(name);
        const std::string file = catalogue(name, 2147483647);
        const std::string before = slurp(file);
        const auto t = openTableFile(file, true);
        try {
            t->appendRecord({Value::text("G-3")});
            ADD_FAILURE() << "appended";
        } catch (const TableError& e) {
            EXPECT_NE(std::string(e.what()).find("NR"), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("2147483647"), std::string::npos) << e.what();
        }
        EXPECT_EQ(t->recordCount(), 2u);
        EXPECT_EQ(t->state(), Table::State::Browse);
        EXPECT_EQ(slurp(file), before);
        // A number given by hand still goes in, and one below the largest is
        // followed by the largest.
        t->appendRecord({Value::text("G-3"), Value::integer(7)});
        EXPECT_EQ(openTableFile(file, false)->value(2, 1), Value::integer(7));
    }
    for (const char* name : {"zapas.dbf", "zapas.db"}) {
        SCOPED_TRACE(name);
        const auto t = openTableFile(catalogue(name, 2147483646), true);
        t->appendRecord({Value::text("G-3")});
        EXPECT_EQ(t->value(2, 1), Value::integer(2147483647));
        EXPECT_THROW(t->appendRecord({Value::text("G-4")}), TableError);
    }
}

// Values the file cannot tell apart (dBase: null text and empty text, text
// with trailing blanks; Paradox: empty text and null) show in the open table
// as the file reads them back, so a filter answers alike before and after
// reopening.
TEST_F(TableFilesTest, OpenTableShowsWhatItsFileReadsBack) {
    for (const char* name : {"katalog.dbf", "katalog.db"}) {
        SCOPED_TRACE(name);
        const std::string file = catalogue(name, 2);
        const auto t = openTableFile(file, true);
        t->appendRecord({Value{}});
        t->appendRecord({Value::text("")});
        t->appendRecord({Value::text("G-5  ")});
        t->setRecNo(1);
        t->edit();
        t->setFieldValue("ODDZIAL", Value{});
        t->post();
        const auto back = openTableFile(file, false);
        ASSERT_EQ(back->recordCount(), t->recordCount());
        for (std::size_t r = 0; r < t->recordCount(); ++r)
            for (int f = 0; f < t->fieldCount(); ++f) EXPECT_EQ(t->value(r, f), back->value(r, f)) << r;
        for (Table* table : {t.get(), back.get()}) {
            table->setFilter("ODDZIAL IS NULL");
            table->setFiltered(true);
        }
        EXPECT_EQ(t->recordCount(), back->recordCount());
    }
}

}  // namespace
}  // namespace zorv

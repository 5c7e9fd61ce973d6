// Reading some fields of a dBase file, or only its fields: each field reads
// as the whole-file reader reads it, on the fixtures of tests/data/dbase and
// on the sample catalogue, and a damaged file is refused the same way.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dbase/DbaseFile.h"
#include "table/TableError.h"

namespace zorv {
namespace {

std::string fixture(const std::string& name) { return std::string(ZORV_TEST_DATA_DIR) + "/dbase/" + name; }

// Every field of `part` is the field of that name of `whole`, value by value.
void expectSameFields(const Table& whole, const Table& part) {
    ASSERT_EQ(part.physicalCount(), whole.physicalCount());
    for (int f = 0; f < part.fieldCount(); ++f) {
        const int w = whole.fieldIndex(part.field(f).name);
        ASSERT_GE(w, 0) << part.field(f).name;
        EXPECT_EQ(part.field(f), whole.field(w));
        for (std::size_t r = 0; r < whole.physicalCount(); ++r) {
            const Value a = whole.value(r, w), b = part.value(r, f);
            ASSERT_TRUE(a == b || (a.isNull() && b.isNull())) << part.field(f).name << " row " << r;
        }
    }
}

std::vector<std::string> names(const Table& t) {
    std::vector<std::string> out;
    for (const FieldDef& f : t.fields()) out.push_back(f.name);
    return out;
}

TEST(DbaseFieldsRead, EachFieldAndMixturesReadAsTheWholeFile) {
    for (const std::string& path :
         {fixture("level7_types.dbf"), fixture("dbase3_types.dbf"), fixture("dbase4_memo.dbf"),
          std::string(ZORV_SAMPLE_DIR "/katalog.dbf")}) {
        SCOPED_TRACE(path);
        const Table whole = readDbase(path);
        const std::vector<std::string> all = names(whole);
        for (const std::string& name : all) {
            const Table one = readDbaseFields(path, {name});
            ASSERT_EQ(names(one), std::vector<std::string>{name});
            expectSameFields(whole, one);
        }
        // Every other field, asked for in lower case and backwards, with a
        // name the file lacks: the file's order, the file's names.
        std::vector<std::string> asked{"NO_SUCH_FIELD"}, expected;
        for (std::size_t i = 0; i < all.size(); i += 2) expected.push_back(all[i]);
        for (auto it = expected.rbegin(); it != expected.rend(); ++it) {
            std::string lower = *it;
            for (char& c : lower)
                if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
            asked.push_back(lower);
        }
        const Table some = readDbaseFields(path, asked);
        EXPECT_EQ(names(some), expected);
        expectSameFields(whole, some);
        expectSameFields(whole, readDbaseFields(path, all));

        const Table none = readDbaseFields(path, {"NO_SUCH_FIELD"});
        EXPECT_EQ(none.fieldCount(), 0);
        const Table layout = readDbaseLayout(path);
        EXPECT_EQ(layout.fields(), whole.fields());
        EXPECT_EQ(layout.physicalCount(), 0u);
    }
}

TEST(DbaseFieldsRead, DamagedFilesAreRefusedAsByTheWholeReader) {
    for (const char* name :
         {"damaged_truncated_header.dbf", "damaged_header_past_end.dbf", "damaged_cut_in_fields.dbf",
          "damaged_record_length.dbf", "damaged_unknown_type.dbf", "damaged_count_too_large.dbf",
          "damaged_wrong_width.dbf", "damaged_no_fields.dbf", "damaged_not_dbase.dbf"}) {
        SCOPED_TRACE(name);
        std::string expected;
        try {
            (void)readDbase(fixture(name));
        } catch (const FileFormatError& e) {
            expected = e.what();
        }
        ASSERT_FALSE(expected.empty());
        for (const int way : {0, 1}) {
            try {
                if (way == 0) (void)readDbaseFields(fixture(name), {"X"});
                if (way == 1) (void)readDbaseLayout(fixture(name));
                ADD_FAILURE() << "no error";
            } catch (const FileFormatError& e) {
                EXPECT_EQ(std::string(e.what()), expected);
            }
        }
    }
    EXPECT_THROW((void)readDbaseFields(fixture("no_such_file.dbf"), {"X"}), TableError);
}

}  // namespace
}  // namespace zorv

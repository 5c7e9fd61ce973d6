// Reading the fixture files of tests/data/dbase, written by make_fixtures.py
// there (an independent writer built on Python's struct and cp1250 codec).

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <string>

#include "dbase/DbaseFile.h"
#include "table/TableError.h"
#include "text/Dates.h"

namespace zorv {
namespace {

std::string fixture(const std::string& name) { return std::string(ZORV_TEST_DATA_DIR) + "/dbase/" + name; }

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

double dateTime(int y, int mo, int d, int h, int mi, int s, int ms) {
    return dayNumber(y, mo, d) + dayFraction({h, mi, s, ms});
}

void expectFields(const Table& t, const std::vector<std::pair<std::string, FieldType>>& fields) {
    ASSERT_EQ(t.fieldCount(), static_cast<int>(fields.size()));
    for (int f = 0; f < t.fieldCount(); ++f) {
        EXPECT_EQ(t.field(f).name, fields[static_cast<std::size_t>(f)].first);
        EXPECT_EQ(t.field(f).type, fields[static_cast<std::size_t>(f)].second) << t.field(f).name;
    }
}

TEST(DbaseRead, Level7TypesNullsAndDeletedRecords) {
    const Table t = readDbase(fixture("level7_types.dbf"));
    expectFields(t, {{"NAZWA", FieldType::String},
                     {"ILOSC", FieldType::Integer},
                     {"NR", FieldType::AutoInc},
                     {"ENERGIA", FieldType::Float},
                     {"CHWILA", FieldType::DateTime},
                     {"DZIEN", FieldType::Date},
                     {"FLAGA", FieldType::Boolean},
                     {"OPIS", FieldType::Memo},
                     {"KWOTA", FieldType::Float},
                     {"SZT", FieldType::SmallInt}});
    EXPECT_EQ(t.field(0).size, 12);
    EXPECT_EQ(t.field(8).decimals, 2);
    // The second of four records is deleted.
    ASSERT_EQ(t.recordCount(), 3u);
    const std::vector<std::vector<Value>> expected = {
        {Value::text("Zażółć gęślą"), Value::integer(2147483647), Value::integer(1), Value::real(1500.0),
         Value::dateTime(dateTime(2024, 3, 15, 13, 45, 30, 250)), Value::date(dayNumber(2024, 3, 15)),
         Value::boolean(true), Value{}, Value::real(1234.56), Value::integer(12)},
        {Value::text(""), Value{}, Value::integer(3), Value::real(-0.0), Value{}, Value{}, Value{}, Value{},
         Value{}, Value{}},
        {Value::text("ŁÓDŹ"), Value::integer(-2147483647), Value::integer(4), Value::real(-2.5),
         Value::dateTime(0.0), Value::date(dayNumber(1999, 12, 31)), Value::boolean(false), Value{},
         Value::real(-0.5), Value::integer(-999)},
    };
    for (std::size_t r = 0; r < expected.size(); ++r)
        for (int f = 0; f < t.fieldCount(); ++f) {
            const Value v = t.value(r, f);
            const Value& want = expected[r][static_cast<std::size_t>(f)];
            if (want.kind() == Value::Kind::DateTime && v.kind() == Value::Kind::DateTime) {
                // Compare the moment to the millisecond, not the double's last bit.
                EXPECT_EQ(wholeDays(v.toDouble()), wholeDays(want.toDouble()));
                EXPECT_EQ(timeOfDay(v.toDouble()), timeOfDay(want.toDouble()));
            } else {
                EXPECT_EQ(v, want) << "record " << r << " field " << t.field(f).name;
            }
        }
    EXPECT_TRUE(std::signbit(t.value(1, 3).toDouble()));
}

TEST(DbaseRead, DbaseIIITypesAndUnreadableValues) {
    const Table t = readDbase(fixture("dbase3_types.dbf"));
    expectFields(t, {{"NAZWA", FieldType::String},
                     {"X", FieldType::Integer},
                     {"DUZA", FieldType::Float},
                     {"MALA", FieldType::SmallInt},
                     {"KWOTA", FieldType::Float},
                     {"SKALA", FieldType::Float},
                     {"DATA", FieldType::Date},
                     {"OK", FieldType::Boolean}});
    ASSERT_EQ(t.recordCount(), 4u);
    const std::vector<std::vector<Value>> expected = {
        {Value::text("Świder"), Value::integer(123456789), Value::real(12345678901.0), Value::integer(-999),
         Value::real(-1234.567), Value::real(1.5e-7), Value::date(dayNumber(2023, 1, 15)),
         Value::boolean(true)},
        {Value::text(""), Value{}, Value{}, Value{}, Value{}, Value{}, Value{}, Value{}},
        // "****", "abc" and 2023-02-30 are no values: null.
        {Value::text("żółw"), Value::integer(-99999999), Value{}, Value::integer(12), Value::real(1.5),
         Value{}, Value{}, Value::boolean(false)},
        // 9e9 in an Integer field, 9e4 in a SmallInt one: out of range, null.
        {Value::text("za duże"), Value{}, Value::real(1.0), Value{}, Value::real(0.0), Value::real(0.0),
         Value::date(dayNumber(2023, 12, 31)), Value::boolean(true)},
    };
    for (std::size_t r = 0; r < expected.size(); ++r)
        for (int f = 0; f < t.fieldCount(); ++f)
            EXPECT_EQ(t.value(r, f), expected[r][static_cast<std::size_t>(f)])
                << "record " << r << " field " << t.field(f).name;
}

TEST(DbaseRead, MemoTableOpensWithMemoNull) {
    const Table t = readDbase(fixture("dbase4_memo.dbf"));
    expectFields(t, {{"NAZWA", FieldType::String}, {"UWAGI", FieldType::Memo}, {"WART", FieldType::Float}});
    ASSERT_EQ(t.recordCount(), 2u);
    EXPECT_TRUE(t.value(0, 1).isNull());
    EXPECT_EQ(t.value(0, 2), Value::real(1.5));
    EXPECT_EQ(t.value(1, 0), Value::text("b"));
    EXPECT_EQ(t.value(1, 2), Value::real(-2.0));
}

TEST(DbaseRead, DamagedFilesNameTheCause) {
    struct Case {
        const char* file;
        const char* cause;
    };
    const Case cases[] = {
        {"damaged_truncated_header.dbf", "nagłówek jest obcięty (plik ma 20 bajtów)"},
        {"damaged_header_past_end.dbf",
         "długość nagłówka (5000 bajtów) przekracza rozmiar pliku (114 bajtów)"},
        {"damaged_cut_in_fields.dbf", "długość nagłówka (559 bajtów) przekracza rozmiar pliku (136 bajtów)"},
        {"damaged_record_length.dbf",
         "długość rekordu w nagłówku (11 bajtów) nie zgadza się z polami (8 bajtów)"},
        {"damaged_unknown_type.dbf", "pole 'B' ma nieznany typ 'Q'"},
        {"damaged_count_too_large.dbf", "nagłówek podaje 1000 rekordów, a plik mieści 2"},
        {"damaged_wrong_width.dbf", "pole 'X' typu 'I' ma długość 8 zamiast 4"},
        {"damaged_no_fields.dbf", "tabela nie ma żadnego pola"},
        {"damaged_not_dbase.dbf", "nie jest tabelą dBase w obsługiwanej wersji (bajt wersji 0x54)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        for (const int way : {0, 1, 2}) {
            try {
                if (way == 0) (void)readDbase(fixture(c.file));
                if (way == 1) (void)openDbase(fixture(c.file), true);
                if (way == 2) (void)readDbaseMemory(fileBytes(fixture(c.file)), fixture(c.file));
                ADD_FAILURE() << "no error";
            } catch (const FileFormatError& e) {
                const std::string message = e.what();
                EXPECT_NE(message.find(c.cause), std::string::npos) << message;
                EXPECT_NE(message.find(fixture(c.file)), std::string::npos) << message;
            }
        }
    }
}

// The reader of file bytes (the fuzz targets use it) reads what the file
// reader reads, and a buffer cut anywhere is a damaged file, never a crash.
TEST(DbaseRead, FromMemoryAsFromTheFile) {
    for (const char* name : {"level7_types.dbf", "dbase3_types.dbf", "dbase4_memo.dbf"}) {
        SCOPED_TRACE(name);
        const Table fromFile = readDbase(fixture(name));
        const std::string bytes = fileBytes(fixture(name));
        const Table fromMemory = readDbaseMemory(bytes, "pamięć");
        ASSERT_EQ(fromMemory.fieldCount(), fromFile.fieldCount());
        ASSERT_EQ(fromMemory.recordCount(), fromFile.recordCount());
        for (std::size_t r = 0; r < fromFile.recordCount(); ++r)
            for (int f = 0; f < fromFile.fieldCount(); ++f) {
                const Value a = fromFile.value(r, f), b = fromMemory.value(r, f);
                EXPECT_TRUE(a == b || (a.isNull() && b.isNull())) << r << " " << f;
            }
        for (std::size_t cut = 0; cut < bytes.size(); cut += 7) {
            try {
                (void)readDbaseMemory(std::string_view(bytes).substr(0, cut), "pamięć");
            } catch (const FileFormatError& e) {
                EXPECT_NE(std::string(e.what()).find("'pamięć'"), std::string::npos) << e.what();
            }
        }
    }
}

TEST(DbaseRead, MissingFileIsAnErrorButNotADamagedOne) {
    try {
        (void)readDbase(fixture("no_such_file.dbf"));
        ADD_FAILURE() << "no error";
    } catch (const FileFormatError&) {
        ADD_FAILURE() << "a missing file is not a damaged one";
    } catch (const TableError& e) {
        EXPECT_NE(std::string(e.what()).find("plik nie istnieje"), std::string::npos) << e.what();
    }
}

}  // namespace
}  // namespace zorv

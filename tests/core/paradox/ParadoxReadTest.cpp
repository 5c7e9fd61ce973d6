// Reading Paradox tables built by tests/data/paradox/make_fixtures.py, an
// encoder independent of ours (regenerate: python3 tests/data/paradox/make_fixtures.py).

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "paradox/ParadoxFile.h"
#include "table/TableError.h"

namespace zorv {
namespace {

std::string fixture(const std::string& name) { return std::string(ZORV_TEST_DATA_DIR) + "/paradox/" + name; }

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Expected {
    const char* field;
    FieldType type;
    int size;
};

TEST(ParadoxRead, MapsEveryFieldType) {
    const Table t = readParadox(fixture("types.db"));
    const std::vector<Expected> expected = {
        {"STREFA", FieldType::String, 12},  {"DATA", FieldType::Date, 0},
        {"X", FieldType::Integer, 0},       {"GODZ", FieldType::SmallInt, 0},
        {"ENERGIA", FieldType::Float, 0},   {"KOSZT", FieldType::Float, 0},
        {"OK", FieldType::Boolean, 0},      {"CZAS", FieldType::Time, 0},
        {"MOMENT", FieldType::DateTime, 0}, {"NR", FieldType::AutoInc, 0},
        {"OPIS", FieldType::Memo, 20},      {"KWOTA", FieldType::Unknown, 17},
        {"SUMA", FieldType::Unknown, 4},    {"ŹRÓDŁO", FieldType::String, 8},
    };
    ASSERT_EQ(t.fieldCount(), static_cast<int>(expected.size()));
    for (int f = 0; f < t.fieldCount(); ++f) {
        SCOPED_TRACE(expected[f].field);
        EXPECT_EQ(t.field(f).name, expected[f].field);
        EXPECT_EQ(t.field(f).type, expected[f].type);
        EXPECT_EQ(t.field(f).size, expected[f].size);
    }
}

TEST(ParadoxRead, ValuesExtremesAndNulls) {
    const Table t = readParadox(fixture("types.db"));
    ASSERT_EQ(t.recordCount(), 25u);
    // Day numbers: python3 -c "from datetime import date as d;
    //   print([x.toordinal() - 693594 for x in (d(1600,2,29), d(2100,3,1), d(2024,2,29), d(1600,1,1))])"
    //   -> [-109512, 73110, 45351, -109571]
    const std::vector<Value> row0 = {
        Value::text("G-1/3"),
        Value::date(-109512),
        Value::integer(2147483647),
        Value::integer(32767),
        Value::real(1.5e10),
        Value::real(12.34),
        Value::boolean(true),
        Value::time(49530250 / 86400000.0),              // 13:45:30.250
        Value::dateTime(45351 + 86399999 / 86400000.0),  // 2024-02-29 23:59:59.999
        Value::integer(1),
        Value(),  // memo
        Value(),  // BCD
        Value(),  // bytes
        Value::text("Łódź"),
    };
    const std::vector<Value> row1 = {
        Value::text("Zażółć gęśl"),
        Value::date(73110),
        Value::integer(-2147483647),
        Value::integer(-32767),
        Value::real(-0.001),
        Value::real(-5.0),
        Value::boolean(false),
        Value::time(0.0),
        Value::dateTime(-109571.0),
        Value::integer(2),
        Value(),
        Value(),
        Value(),
        Value::text("ŻÓŁW"),
    };
    for (int f = 0; f < t.fieldCount(); ++f) {
        SCOPED_TRACE(t.field(f).name);
        EXPECT_EQ(t.value(0, f), row0[static_cast<std::size_t>(f)]);
        EXPECT_EQ(t.value(1, f), row1[static_cast<std::size_t>(f)]);
        // Row 2 is null in every field but the auto-increment; the long,
        // date and time nulls are the ones pxlib itself misreads.
        if (t.field(f).name != "NR") {
            EXPECT_TRUE(t.value(2, f).isNull());
        }
    }
}

TEST(ParadoxRead, FollowsTheBlockChainNotTheFileOrder) {
    // Blocks are chained 2 -> 1 -> 3 in the file.
    const Table t = readParadox(fixture("types.db"));
    const int nr = t.fieldIndex("NR");
    const int x = t.fieldIndex("X");
    for (std::size_t i = 0; i < t.recordCount(); ++i) {
        EXPECT_EQ(t.value(i, nr).toInt(), static_cast<std::int64_t>(i + 1));
        if (i >= 3) {
            EXPECT_EQ(t.value(i, x).toInt(), static_cast<std::int64_t>(i) * 1000 - 7);
        }
    }
}

TEST(ParadoxRead, OtherLayouts) {
    struct Case {
        const char* file;
        std::size_t records;
        Value last;
    };
    const Case cases[] = {
        {"format4.db", 3, Value()},  // format 4.0: no data header, short table name
        {"keyed.db", 3, Value()},
        {"emptyblock.db", 3, Value::text("Łańcut")},  // an empty block inside the chain
        {"notable.db", 0, Value()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const Table t = readParadox(fixture(c.file));
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        ASSERT_EQ(t.recordCount(), c.records);
        if (c.records == 0) continue;
        EXPECT_EQ(t.value(0, 0), Value::text("Kraków"));
        EXPECT_EQ(t.value(1, 0), Value::text("Gdańsk"));
        EXPECT_EQ(t.value(1, 1), Value::integer(-2));
        EXPECT_EQ(t.value(2, 0), c.last);
    }
}

TEST(ParadoxRead, DamagedFilesNameTheirFault) {
    struct Case {
        const char* file;
        const char* cause;
    };
    const Case cases[] = {
        {"empty.db", "za krótki na nagłówek (0 B)"},
        {"short_header.db", "za krótki na nagłówek (40 B)"},
        {"not_paradox.db", "nie jest tabelą Paradox"},
        {"index_file.db", "to plik indeksu"},
        {"unknown_file_type.db", "nieznany typ pliku (9)"},
        {"bad_version.db", "nieznana wersja formatu (32)"},
        {"bad_block_size.db", "niepoprawny rozmiar bloku danych"},
        {"zero_record_size.db", "długość rekordu w nagłówku wynosi 0"},
        {"no_fields.db", "niepoprawna liczba pól (0)"},
        {"field_type.db", "pole 3 ma nieznany typ (7)"},
        {"field_length.db", "pole \"X\" typu długa liczba całkowita ma niepoprawną długość (5 B)"},
        {"record_size.db", "długość rekordu w nagłówku (106 B) nie zgadza się z sumą długości pól (104 B)"},
        {"table_name.db", "nazwa tabeli w nagłówku nie jest zakończona"},
        {"field_names.db", "wykracza poza nagłówek"},
        {"header_beyond_file.db", "plik jest obcięty (nagłówek"},
        {"truncated.db", "plik jest obcięty (blok danych 3"},
        {"encrypted.db", "chroniona hasłem"},
        {"chain_cycle.db", "zapętlony"},
        {"chain_range.db", "wskazuje blok 40 spoza tabeli"},
        {"block_fill.db", "blok danych 1 ma niepoprawną długość zawartości (5)"},
        {"record_count.db",
         "liczba rekordów w nagłówku (1000) nie zgadza się z liczbą rekordów w blokach danych (25)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = fixture(c.file);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        std::string message, fromMemory;
        try {
            (void)readParadox(path);
        } catch (const FileFormatError& e) {
            message = e.what();
        }
        try {
            (void)readParadoxMemory(fileBytes(path), path);
        } catch (const FileFormatError& e) {
            fromMemory = e.what();
        }
        EXPECT_EQ(fromMemory, message);
        // Nothing may reach the terminal (pxlib prints by default).
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        EXPECT_NE(message.find(c.cause), std::string::npos) << message;
        EXPECT_NE(message.find(path), std::string::npos) << message;
    }
}

TEST(ParadoxRead, MissingFileIsNoFormatError) {
    try {
        (void)readParadox(fixture("no-such-table.db"));
        FAIL() << "no exception";
    } catch (const FileFormatError&) {
        FAIL() << "a missing file is not a damaged one";
    } catch (const TableError& e) {
        EXPECT_NE(std::string(e.what()).find("plik nie istnieje"), std::string::npos) << e.what();
    }
}

}  // namespace
}  // namespace zorv

// Paradox tables written and read back: every type with nulls and extremes,
// dates, text widths, and values the format cannot hold.

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "TestFiles.h"
#include "paradox/ParadoxFile.h"
#include "table/TableError.h"
#include "text/Dates.h"

namespace zorv {
namespace {

namespace fs = std::filesystem;

unsigned u16At(const std::string& b, std::size_t at) {
    return static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8;
}

class ParadoxWrite : public ScratchDirTest {};

// A time of day given in milliseconds, as a fraction of a day (the file
// holds milliseconds; this is the double that stands for them).
double ms(double milliseconds) { return milliseconds / 86400000.0; }

TEST_F(ParadoxWrite, RoundTripOfEveryTypeWithNullsAndExtremes) {
    const FieldDefs fields = {
        {"S", FieldType::String, 24}, {"SI", FieldType::SmallInt}, {"I", FieldType::Integer},
        {"A", FieldType::AutoInc},    {"F", FieldType::Float},     {"D", FieldType::Date},
        {"B", FieldType::Boolean},    {"T", FieldType::Time},      {"DT", FieldType::DateTime},
        {"W", FieldType::Word},       {"L", FieldType::LargeInt},
    };
    const std::int64_t two53 = std::int64_t{1} << 53;
    struct Row {
        const char* name;
        std::vector<Value> in;
        std::vector<Value> out;  // empty: as written
    };
    const std::vector<Row> rows = {
        {"upper extremes",
         {Value::text("Zażółć gęślą jaźń ŁÓDŹ"), Value::integer(32767), Value::integer(2147483647),
          Value::integer(2147483647), Value::real(DBL_MAX), Value::date(dayNumber(2100, 12, 31)),
          Value::boolean(true), Value::time(ms(86399999)),
          Value::dateTime(dayNumber(2100, 12, 31) + ms(86399999)), Value::integer(65535),
          Value::integer(two53)},
         {}},
        {"lower extremes",
         {Value::text("€„”‰ŚŤŽŹ"), Value::integer(-32767), Value::integer(-2147483647), Value::integer(1),
          Value::real(-DBL_MIN), Value::date(dayNumber(1600, 1, 1)), Value::boolean(false), Value::time(0.0),
          Value::dateTime(dayNumber(1600, 2, 29) + 0.5), Value::integer(0), Value::integer(-two53)},
         {}},
        {"leap days and small numbers",
         {Value::text("x"), Value::integer(0), Value::integer(0), Value::integer(5), Value::real(-4.9e-324),
          Value::date(dayNumber(2000, 2, 29)), Value::boolean(true), Value::time(0.5),
          Value::dateTime(dayNumber(1900, 3, 1) + ms(1234)), Value::integer(1), Value::integer(-7)},
         {}},
        {"nulls", std::vector<Value>(11), {}},
        {"blank text and NaN are stored as null",
         {Value::text(""), Value(), Value(), Value(), Value::real(std::nan("")), Value(), Value(), Value(),
          Value(), Value(), Value()},
         std::vector<Value>(11)},
    };
    Table t(fields);
    for (const Row& r : rows)
        for (std::size_t f = 0; f < fields.size(); ++f)
            t.loadColumn(static_cast<int>(f)).appendValue(r.in[f]);
    t.finishLoad();
    writeParadox(t, path("t.db"));

    const Table back = readParadox(path("t.db"));
    const FieldType types[] = {FieldType::String,  FieldType::SmallInt, FieldType::Integer,
                               FieldType::AutoInc, FieldType::Float,    FieldType::Date,
                               FieldType::Boolean, FieldType::Time,     FieldType::DateTime,
                               FieldType::Integer, FieldType::Float};
    ASSERT_EQ(back.fieldCount(), static_cast<int>(fields.size()));
    for (int f = 0; f < back.fieldCount(); ++f) EXPECT_EQ(back.field(f).type, types[f]) << fields[f].name;
    EXPECT_EQ(back.field(0).size, 24);
    ASSERT_EQ(back.recordCount(), rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r) {
        SCOPED_TRACE(rows[r].name);
        for (int f = 0; f < back.fieldCount(); ++f) {
            Value expected = rows[r].out.empty() ? rows[r].in[f] : rows[r].out[f];
            if (types[f] == FieldType::Float && expected.kind() == Value::Kind::Int)
                expected = Value::real(static_cast<double>(expected.toInt()));
            EXPECT_EQ(back.value(r, f), expected) << fields[f].name;
        }
    }
    // The header's auto-increment counter is the largest number given.
    const std::string bytes = slurp(path("t.db"));
    EXPECT_EQ(u16At(bytes, 0x49) | u16At(bytes, 0x4B) << 16, 2147483647u);
}

TEST_F(ParadoxWrite, DatesAreDaysFrom00010101) {
    // python3 -c "from datetime import date; print([date(*d).toordinal() for d in [(1,1,1),(1600,1,1),
    //   (1600,2,29),(1700,2,28),(1700,3,1),(1899,12,30),(1899,12,31),(1900,2,28),(1900,3,1),(1970,1,1),
    //   (2000,2,29),(2024,2,29),(2099,12,31),(2100,2,28),(2100,3,1),(2100,12,31)]])"
    const std::vector<CivilDate> dates = {{1, 1, 1},      {1600, 1, 1},   {1600, 2, 29},  {1700, 2, 28},
                                          {1700, 3, 1},   {1899, 12, 30}, {1899, 12, 31}, {1900, 2, 28},
                                          {1900, 3, 1},   {1970, 1, 1},   {2000, 2, 29},  {2024, 2, 29},
                                          {2099, 12, 31}, {2100, 2, 28},  {2100, 3, 1},   {2100, 12, 31}};
    const std::vector<std::uint32_t> ordinals = {1,      584023, 584082, 620606, 620607, 693594,
                                                 693595, 693654, 693655, 719163, 730179, 738945,
                                                 766644, 766703, 766704, 767009};
    Table t({{"D", FieldType::Date}});
    for (const CivilDate& d : dates) t.loadColumn(0).appendInt32(dayNumber(d));
    t.finishLoad();
    writeParadox(t, path("d.db"));

    // Records of the first block follow the header and the 6-byte block head;
    // a date is big-endian with the sign bit flipped.
    const std::string bytes = slurp(path("d.db"));
    const std::size_t first = u16At(bytes, 2) + 6;
    for (std::size_t i = 0; i < dates.size(); ++i) {
        std::uint32_t raw = 0;
        for (int k = 0; k < 4; ++k) raw = raw << 8 | static_cast<unsigned char>(bytes[first + 4 * i + k]);
        EXPECT_EQ(raw ^ 0x80000000u, ordinals[i])
            << dates[i].year << "-" << dates[i].month << "-" << dates[i].day;
    }
    const Table back = readParadox(path("d.db"));
    for (std::size_t i = 0; i < dates.size(); ++i) EXPECT_EQ(civilDate(back.value(i, 0).toInt()), dates[i]);
}

TEST_F(ParadoxWrite, TextWithoutDeclaredWidthGetsTheLongest) {
    auto repeat = [](std::size_t n) {
        std::string s;
        for (std::size_t i = 0; i < n; ++i) s += "ą";
        return s;
    };
    Table t({{"X", FieldType::Integer}, {"NAZWA", FieldType::String}});
    for (std::size_t i = 0; i < 6; ++i)
        t.appendRecord({Value::integer(static_cast<std::int64_t>(i)), Value::text(repeat(i))});
    writeParadox(t, path("v.db"));
    const Table back = readParadox(path("v.db"));
    ASSERT_EQ(back.recordCount(), 6u);
    EXPECT_EQ(back.field(1).size, 5);  // characters, one byte each in windows-1250
    for (std::size_t i = 1; i < 6; ++i) EXPECT_EQ(back.value(i, 1), Value::text(repeat(i)));
}

TEST_F(ParadoxWrite, RefusesWhatTheFormatCannotHoldAndKeepsTheOldFile) {
    auto one = [](FieldDefs defs, Value v) {
        Table t(std::move(defs));
        t.loadColumn(0).appendValue(v);
        t.finishLoad();
        return t;
    };
    struct Case {
        const char* name;
        std::function<Table()> table;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"short -32768 is the null pattern",
         [&] {
             return one({{"S", FieldType::SmallInt}}, Value::integer(-32768));
         },
         "spoza zakresu -32767..32767"},
        {"long -2^31 is the null pattern",
         [&] {
             return one({{"I", FieldType::Integer}}, Value::integer(-2147483648LL));
         },
         "spoza zakresu -2147483647..2147483647"},
        {"date before 0001-01-01",
         [&] {
             return one({{"D", FieldType::Date}}, Value::date(dayNumber(0, 12, 31)));
         },
         "data spoza zakresu"},
        {"large integer beyond 2^53",
         [&] {
             return one({{"L", FieldType::LargeInt}}, Value::integer((std::int64_t{1} << 53) + 1));
         },
         "nie może być zapisana dokładnie"},
        {"memo text",
         [&] {
             return one({{"M", FieldType::Memo}}, Value::text("opis"));
         },
         "typu memo nie jest"},
        {"long field name",
         [&] {
             return one({{"ABCDEFGHIJKLMNOPQRSTUVWXYZ", FieldType::Integer}}, Value::integer(1));
         },
         "jest za długa"},
        {"repeated field name",
         [] {
             Table t({{"X", FieldType::Integer}, {"x", FieldType::Integer}});
             t.finishLoad();
             return t;
         },
         "powtarza się"},
        {"no fields", [] { return Table(); }, "bez pól"},
    };
    Table old({{"OLD", FieldType::Integer}});
    old.appendRecord({Value::integer(1)});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeParadox(old, path("t.db"));
        const std::string before = slurp(path("t.db"));
        const Table t = c.table();
        try {
            writeParadox(t, path("t.db"));
            ADD_FAILURE() << "no exception";
        } catch (const TableError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
        EXPECT_EQ(slurp(path("t.db")), before);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
    }
}

}  // namespace
}  // namespace zorv

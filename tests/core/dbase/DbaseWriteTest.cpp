// dBase files written at each level and read back: every type, the digits
// of float fields, field names, and a refused write that leaves the target.

#include <gtest/gtest.h>

#include "dbase/DbaseFile.h"
#include "dbase/DbaseTestFiles.h"
#include "table/TableError.h"
#include "text/Dates.h"

namespace zorv {
namespace {

double moment(int y, int mo, int d, int h, int mi, int s, int ms) {
    return dayNumber(y, mo, d) + dayFraction({h, mi, s, ms});
}

// Values equal; date-times to the millisecond (the file keeps milliseconds).
bool same(const Value& a, const Value& b) {
    const bool timeA = a.kind() == Value::Kind::DateTime || a.kind() == Value::Kind::Time;
    const bool timeB = b.kind() == Value::Kind::DateTime || b.kind() == Value::Kind::Time;
    if (timeA && timeB)
        return wholeDays(a.toDouble()) == wholeDays(b.toDouble()) &&
               timeOfDay(a.toDouble()) == timeOfDay(b.toDouble());
    return a == b;
}

struct RoundTrip {
    const char* name;
    FieldDef field;
    std::vector<Value> values;
    FieldType readsAs;
    std::vector<Value> readsBack;  // empty: the values themselves
};

void checkRoundTrips(const std::vector<RoundTrip>& cases, DbaseLevel level, const std::string& file) {
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Table t({c.field});
        for (const auto& v : c.values) t.appendRecord({v});
        writeDbase(t, file, level);
        const Table back = readDbase(file);
        ASSERT_EQ(back.fieldCount(), 1);
        EXPECT_EQ(back.field(0).type, c.readsAs);
        ASSERT_EQ(back.recordCount(), c.values.size());
        const auto& want = c.readsBack.empty() ? c.values : c.readsBack;
        for (std::size_t r = 0; r < want.size(); ++r)
            EXPECT_TRUE(same(back.value(r, 0), want[r])) << "record " << r;
    }
}

const Value null{};

TEST_F(DbaseFiles, WriteLevel7RoundTripOfEveryType) {
    using F = FieldType;
    const std::vector<RoundTrip> cases = {
        {"text",
         {"T", F::String, 12},
         {Value::text("Zażółć gęślą"), Value::text(""), null},
         F::String,
         {Value::text("Zażółć gęślą"), Value::text(""), Value::text("")}},
        {"smallint",
         {"S", F::SmallInt},
         {Value::integer(-32768), Value::integer(32767), null},
         F::Integer,
         {}},
        {"word", {"W", F::Word}, {Value::integer(0), Value::integer(65535)}, F::Integer, {}},
        {"integer",
         {"I", F::Integer},
         {Value::integer(2147483647), Value::integer(-2147483647), null},
         F::Integer,
         {}},
        {"autoinc", {"A", F::AutoInc}, {Value::integer(7), Value::integer(2)}, F::AutoInc, {}},
        {"largeint",
         {"L", F::LargeInt},
         {Value::integer(-5), Value::integer(123456789012345)},
         F::Float,
         {Value::real(-5), Value::real(123456789012345.0)}},
        {"boolean", {"B", F::Boolean}, {Value::boolean(true), Value::boolean(false), null}, F::Boolean, {}},
        {"float",
         {"F", F::Float},
         {Value::real(1.5), Value::real(-0.0), Value::real(1e300), null},
         F::Float,
         {}},
        {"date",
         {"D", F::Date},
         {Value::date(dayNumber(2024, 3, 15)), Value::date(dayNumber(1, 1, 1)), null},
         F::Date,
         {}},
        {"datetime",
         {"DT", F::DateTime},
         {Value::dateTime(moment(2024, 3, 15, 13, 45, 30, 250)), null},
         F::DateTime,
         {}},
        {"time on day zero",
         {"TM", F::Time},
         {Value::time(dayFraction({8, 15, 30, 125}))},
         F::DateTime,
         {Value::dateTime(dayFraction({8, 15, 30, 125}))}},
        {"memo as text",
         {"M", F::Memo},
         {Value::text("długi opis"), null},
         F::String,
         {Value::text("długi opis"), Value::text("")}},
    };
    checkRoundTrips(cases, DbaseLevel::Level7, path("t.dbf"));
}

TEST_F(DbaseFiles, WriteDbaseIIIRoundTripOfEveryType) {
    using F = FieldType;
    const std::vector<RoundTrip> cases = {
        {"text",
         {"T", F::String, 12},
         {Value::text("Zażółć gęślą"), null},
         F::String,
         {Value::text("Zażółć gęślą"), Value::text("")}},
        {"smallint in four characters",
         {"S", F::SmallInt},
         {Value::integer(-999), Value::integer(9999), null},
         F::SmallInt,
         {}},
        {"smallint wider", {"S", F::SmallInt}, {Value::integer(-32768)}, F::Integer, {}},
        {"word", {"W", F::Word}, {Value::integer(65535)}, F::Integer, {}},
        {"integer in nine characters",
         {"I", F::Integer},
         {Value::integer(999999999), Value::integer(-99999999)},
         F::Integer,
         {}},
        {"integer wider",
         {"I", F::Integer},
         {Value::integer(-2147483648LL)},
         F::Float,
         {Value::real(-2147483648.0)}},
        {"autoinc", {"A", F::AutoInc}, {Value::integer(1), Value::integer(2)}, F::Integer, {}},
        {"largeint",
         {"L", F::LargeInt},
         {Value::integer(-123456789012345)},
         F::Float,
         {Value::real(-123456789012345.0)}},
        {"floats in fixed decimals",
         {"F", F::Float},
         {Value::real(0.1), Value::real(-1234.5678), Value::real(1e-7), Value::real(3.0), null},
         F::Float,
         {}},
        {"floats too wide for fixed decimals",
         {"F", F::Float},
         {Value::real(2.0 / 3.0 * 1e-5), Value::real(1e300), Value::real(-0.1)},
         F::Float,
         {}},
        {"boolean", {"B", F::Boolean}, {Value::boolean(false), null}, F::Boolean, {}},
        {"date", {"D", F::Date}, {Value::date(dayNumber(1999, 12, 31)), null}, F::Date, {}},
        {"datetime with milliseconds",
         {"DT", F::DateTime},
         {Value::dateTime(moment(2024, 3, 15, 13, 45, 30, 250)),
          Value::dateTime(moment(1, 1, 1, 0, 0, 0, 0))},
         F::String,
         {Value::text("2024-03-15 13:45:30.250"), Value::text("0001-01-01 00:00:00.000")}},
        {"datetime",
         {"DT", F::DateTime},
         {Value::dateTime(moment(2024, 3, 15, 13, 45, 30, 0))},
         F::String,
         {Value::text("2024-03-15 13:45:30")}},
        {"time",
         {"TM", F::Time},
         {Value::time(dayFraction({8, 15, 30, 0}))},
         F::String,
         {Value::text("08:15:30")}},
    };
    checkRoundTrips(cases, DbaseLevel::DBase3, path("t.dbf"));
}

TEST_F(DbaseFiles, WriteLevel7FileBytes) {
    Table t({{"Nazwa", FieldType::String, 6},
             {"x", FieldType::Integer},
             {"E", FieldType::Float},
             {"D", FieldType::Date},
             {"NR", FieldType::AutoInc}});
    t.appendRecord(
        {Value::text("Łódź"), Value::integer(7), Value::real(-2.5), Value::date(dayNumber(2024, 3, 15))});
    writeDbase(t, path("t.dbf"));
    const std::string f = slurp(path("t.dbf"));
    const std::size_t headerLength = 68 + 5 * 48 + 1, recordLength = 1 + 6 + 4 + 8 + 8 + 4;
    ASSERT_EQ(f.size(), headerLength + recordLength + 1);
    EXPECT_EQ(byteAt(f, 0), 0x04u);
    EXPECT_EQ(f.substr(4, 4), std::string("\x01\0\0\0", 4));
    EXPECT_EQ(le16(f, 8), headerLength);
    EXPECT_EQ(le16(f, 10), recordLength);
    EXPECT_EQ(byteAt(f, 29), 0xC8u);
    EXPECT_EQ(f.substr(32, 32), std::string("anpolish") + std::string(24, '\0'));
    struct Descriptor {
        std::string name;
        char type;
        unsigned width;
    };
    const Descriptor descriptors[] = {
        {"NAZWA", 'C', 6}, {"X", 'I', 4}, {"E", 'O', 8}, {"D", 'D', 8}, {"NR", '+', 4}};
    for (std::size_t i = 0; i < 5; ++i) {
        const std::string d = f.substr(68 + 48 * i, 48);
        EXPECT_EQ(d.substr(0, 32), descriptors[i].name + std::string(32 - descriptors[i].name.size(), '\0'));
        EXPECT_EQ(d[32], descriptors[i].type);
        EXPECT_EQ(byteAt(d, 33), descriptors[i].width);
    }
    // The next autoincrement value of NR: the record got 1, the next gets 2.
    EXPECT_EQ(f.substr(68 + 48 * 4 + 40, 4), std::string("\x02\0\0\0", 4));
    EXPECT_EQ(byteAt(f, headerLength - 1), 0x0Du);
    // python3 -c "import struct; b=struct.unpack('>Q', struct.pack('>d', -2.5))[0];
    //   print((b' ' + 'Łódź'.encode('cp1250').ljust(6) + struct.pack('>I', 7 + 2**31)
    //     + struct.pack('>Q', ~b & (2**64-1)) + b'20240315' + struct.pack('>I', 1 + 2**31)).hex())"
    EXPECT_EQ(f.substr(headerLength, recordLength),
              unhex("20a3f3649f2020800000073ffbffffffffffff323032343033313580000001"));
    EXPECT_EQ(f.back(), '\x1A');
}

TEST_F(DbaseFiles, WriteDbaseIIIFloatFieldKeepsEveryDigit) {
    struct Case {
        const char* name;
        std::vector<double> values;
        char type;
        unsigned decimals;
        std::vector<std::string> texts;  // right-aligned in 20 characters
    };
    const Case cases[] = {
        {"fixed decimals", {0.1, 2.25}, 'N', 2, {"0.10", "2.25"}},
        {"whole numbers keep one decimal", {1.0, -2.0}, 'N', 1, {"1.0", "-2.0"}},
        // python3 -c "print(repr(2.0/3.0*1e-5))" -> 6.666666666666667e-06, 21 decimals in fixed form
        {"exponent when fixed is too wide",
         {2.0 / 3.0 * 1e-5, 0.5},
         'F',
         18,
         {"6.666666666666667e-6", "0.5"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Table t({{"V", FieldType::Float}});
        for (double v : c.values) t.appendRecord({Value::real(v)});
        writeDbase(t, path("t.dbf"), DbaseLevel::DBase3);
        const std::string f = slurp(path("t.dbf"));
        EXPECT_EQ(byteAt(f, 0), 0x03u);
        EXPECT_EQ(byteAt(f, 29), 0xC8u);
        EXPECT_EQ(f.substr(32, 2), std::string("V\0", 2));
        EXPECT_EQ(f[32 + 11], c.type);
        EXPECT_EQ(byteAt(f, 32 + 16), 20u);
        EXPECT_EQ(byteAt(f, 32 + 17), c.decimals);
        for (std::size_t r = 0; r < c.texts.size(); ++r)
            EXPECT_EQ(f.substr(65 + r * 21 + 1, 20), std::string(20 - c.texts[r].size(), ' ') + c.texts[r]);
    }
}

TEST_F(DbaseFiles, WriteFieldNamesAreUpperCasedAscii) {
    struct Case {
        const char* name;
        DbaseLevel level;
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"Polish letters lose their marks", DbaseLevel::Level7, "Głębokość", "GLEBOKOSC"},
        {"other characters become underscores", DbaseLevel::Level7, "energia [J]", "ENERGIA__J_"},
        {"ten characters in dBase III", DbaseLevel::DBase3, "energia sumaryczna", "ENERGIA_SU"},
        {"31 characters in level 7", DbaseLevel::Level7, std::string(40, 'x'), std::string(31, 'X')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Table t({{c.in, FieldType::Integer}});
        writeDbase(t, path("t.dbf"), c.level);
        EXPECT_EQ(readDbase(path("t.dbf")).field(0).name, c.out);
    }
}

TEST_F(DbaseFiles, WriteRefusalLeavesTheTargetAsItWas) {
    struct Case {
        const char* name;
        DbaseLevel level;
        FieldDefs fields;
        std::vector<Value> values;
        const char* message;
    };
    const Case cases[] = {
        {"names collide after shortening",
         DbaseLevel::DBase3,
         {{"ENERGIA_SUMA1", FieldType::Integer}, {"energia_suma2", FieldType::Integer}},
         {},
         "Pola 'ENERGIA_SUMA1' i 'energia_suma2' miałyby w pliku dBase tę samą nazwę 'ENERGIA_SU'"},
        {"-2^31 has no I form",
         DbaseLevel::Level7,
         {{"X", FieldType::Integer}},
         {Value::integer(-2147483648LL)},
         "Wartość -2147483648 nie mieści się w polu 'X' (I)"},
        {"text longer than 254 bytes",
         DbaseLevel::Level7,
         {{"M", FieldType::Memo}},
         {Value::text(std::string(300, 'a'))},
         "Tekst pola 'M' ma 300 znaków"},
        {"float with no exact text in 20 characters",
         DbaseLevel::DBase3,
         {{"F", FieldType::Float}},
         {Value::real(-1.2345678901234567e-100)},
         "Wartości -1.2345678901234567e-100 pola 'F'"},
        {"date past year 9999",
         DbaseLevel::Level7,
         {{"D", FieldType::Date}},
         {Value::date(dayNumber(10000, 1, 1))},
         "Data spoza zakresu lat 1-9999"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        { std::ofstream(path("t.dbf"), std::ios::binary) << "stara zawartość"; }
        Table t(c.fields);
        for (const auto& v : c.values) t.appendRecord({v});
        try {
            writeDbase(t, path("t.dbf"), c.level);
            ADD_FAILURE() << "no error";
        } catch (const TableError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
        EXPECT_EQ(slurp(path("t.dbf")), "stara zawartość");
        EXPECT_EQ(filesInDir(), 1u);
    }
    // The colliding names fit level 7.
    Table t({{"ENERGIA_SUMA1", FieldType::Integer}, {"energia_suma2", FieldType::Integer}});
    EXPECT_NO_THROW(writeDbase(t, path("t.dbf")));
}

}  // namespace
}  // namespace zorv

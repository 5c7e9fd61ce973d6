// Filter expressions: what the filter sources and users write, dates and
// times, nulls, precedence, case, locale dates, and the messages of faults.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "table/FilterExpression.h"
#include "table/Table.h"
#include "table/TableError.h"
#include "text/Dates.h"

namespace zorv {
namespace {

using Rows = std::vector<std::uint32_t>;

// 2^53 and 2^53 + 1: equal as doubles, different as 64-bit integers.
constexpr std::int64_t k2p53 = 9007199254740992;

// Eight events with every kind of field; row 5 is null throughout.
//   row ODDZIAL DATA       X   Y  ENG  MAGN OPIS     CZAS      DT                ZN  N64
//   0   G-1/2   2004-03-31 15  6  1e5  1.8  Łódź     08:30     2004-04-01 06:00  T   2^53+1
//   1   G-1/3   2004-04-01 0   0  2e5  2.0  łódź     12:00     2004-04-01 12:00  F   1
//   2   G-2/1   2004-06-30 12  9  5e4  1.5  ŻABA     23:59:59  2004-04-01 00:00  T   -5
//   3   g-1/4   2004-07-01 25  7  3e6  2.6  żaba     00:00     2004-04-02 00:00  -   2^53
//   4   G-10/1  2004-05-15 20  5  1e3  1.2  O'Brien  12:00:01  -                 F   0
//   5   -       -          -   -  -    -    -        -         -                 -   -
//   6   ""      2004-04-15 10  4  0    0.5  ""       06:00     2004-03-31 23:00  T   7
//   7   G-1/5   2004-01-01 -3  10 750  1.0  g-1/5    18:00     2004-04-01 23:59  F   -1
Table catalogue() {
    Table t({{"ODDZIAL", FieldType::String, 12},
             {"DATA", FieldType::Date},
             {"X", FieldType::Integer},
             {"Y", FieldType::Integer},
             {"ENG", FieldType::Float},
             {"MAGNITUDA", FieldType::Float},
             {"OPIS", FieldType::String, 20},
             {"CZAS", FieldType::Time},
             {"DT", FieldType::DateTime},
             {"ZNACZNIK", FieldType::Boolean},
             {"N64", FieldType::LargeInt},
             {"BLOB", FieldType::Unknown}});
    auto tm = [](int h, int m, int s) { return dayFraction({h, m, s, 0}); };
    auto row = [&](const char* zone, int month, int day, int x, int y, double eng, double mag,
                   const char* opis, double czas, Value dt, Value zn, std::int64_t n64) {
        t.appendRecord({Value::text(zone), Value::date(dayNumber(2004, month, day)), Value::integer(x),
                        Value::integer(y), Value::real(eng), Value::real(mag), Value::text(opis),
                        Value::time(czas), std::move(dt), std::move(zn), Value::integer(n64)});
    };
    auto at = [&](int month, int day, int h, int m) {
        return Value::dateTime(dayNumber(2004, month, day) + tm(h, m, 0));
    };
    row("G-1/2", 3, 31, 15, 6, 1e5, 1.8, "Łódź", tm(8, 30, 0), at(4, 1, 6, 0), Value::boolean(true),
        k2p53 + 1);
    row("G-1/3", 4, 1, 0, 0, 2e5, 2.0, "łódź", tm(12, 0, 0), at(4, 1, 12, 0), Value::boolean(false), 1);
    row("G-2/1", 6, 30, 12, 9, 5e4, 1.5, "ŻABA", tm(23, 59, 59), at(4, 1, 0, 0), Value::boolean(true), -5);
    row("g-1/4", 7, 1, 25, 7, 3e6, 2.6, "żaba", tm(0, 0, 0), at(4, 2, 0, 0), Value{}, k2p53);
    row("G-10/1", 5, 15, 20, 5, 1e3, 1.2, "O'Brien", tm(12, 0, 1), Value{}, Value::boolean(false), 0);
    t.appendRecord({});
    row("", 4, 15, 10, 4, 0, 0.5, "", tm(6, 0, 0), at(3, 31, 23, 0), Value::boolean(true), 7);
    row("G-1/5", 1, 1, -3, 10, 750, 1.0, "g-1/5", tm(18, 0, 0), at(4, 1, 23, 59), Value::boolean(false), -1);
    return t;
}

FilterExpression::Options polish(bool caseInsensitive = true) { return {caseInsensitive, Locale::comma()}; }

// select() and, row by row, matches().
Rows evaluate(const std::string& text, const Table& t, const FilterExpression::Options& o) {
    const auto e = FilterExpression::parse(text, t, o);
    const Rows selected = e->select(t);
    Rows matched;
    for (std::uint32_t r = 0; r < t.physicalCount(); ++r)
        if (e->matches(t, r)) matched.push_back(r);
    EXPECT_EQ(selected, matched) << "select() and matches() disagree";
    return selected;
}

struct Case {
    const char* name;
    const char* text;
    Rows rows;
};

void expectRows(const Table& t, const FilterExpression::Options& o, const std::vector<Case>& cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + ": " + c.text);
        try {
            EXPECT_EQ(evaluate(c.text, t, o), c.rows);
        } catch (const FilterError& e) {
            ADD_FAILURE() << e.what();
        }
    }
}

// Day numbers in the comments: python3 -c "import datetime as d;
// print((d.date(2004,4,1)-d.date(1899,12,30)).days)" gives 38078.
TEST(FilterExpression, ExpressionsOfTheFilterSources) {
    expectRows(catalogue(), polish(),
               {
                   {"department prefix", "ODDZIAL = 'G-1/*'", {0, 1, 3, 7}},
                   {"prefix negated", "ODDZIAL <> 'G-1/*'", {2, 4, 6}},
                   {"empty prefix takes every text", "ODDZIAL = '*'", {0, 1, 2, 3, 4, 6, 7}},
                   {"zone", "ODDZIAL = 'G-1/2'", {0}},
                   {"zone list", "( ODDZIAL='G-1/2' OR ODDZIAL='G-1/3' )", {0, 1}},
                   {"one-zone list with location", "( ODDZIAL='G-1/2' ) AND X<>0", {0}},
                   {"department with location", "ODDZIAL='G-1/*' AND X<>0", {0, 3, 7}},
                   {"located", "X<>0", {0, 2, 3, 4, 6, 7}},
                   {"period", "DATA>='01.04.2004' AND DATA<='30.06.2004'", {1, 2, 4, 6}},
                   {"period one-digit day", "DATA>='1.4.2004' AND DATA<='30.6.2004'", {1, 2, 4, 6}},
                   {"map rectangle", "(X>=10 AND X<=20 AND Y>=5 AND Y<=9)", {0, 2, 4}},
                   {"all sources ORed", "ODDZIAL='G-2/*' OR DATA>='01.07.2004' OR X<>0 AND Y>9", {2, 3, 7}},
               });
}

TEST(FilterExpression, ExpressionsAUserTypes) {
    expectRows(catalogue(), polish(),
               {
                   {"keywords in any case", "oddzial = 'G-1/2' or x<>0 and Not y>8", {0, 3, 4, 6}},
                   {"blanks and line ends", "\tX\n>=\r\n20 ", {3, 4}},
                   {"quoted field name", "\"MAGNITUDA\" > 2", {3}},
                   {"decimals", "MAGNITUDA >= 1.5 AND MAGNITUDA < 2.6", {0, 1, 2}},
                   {"exponent", "ENG > 1e5", {1, 3}},
                   {"signed exponent", "ENG >= 1.0E+5", {0, 1, 3}},
                   {"leading point", "MAGNITUDA <= .5", {6}},
                   {"fields compared", "X > Y", {0, 2, 3, 4, 6}},
                   {"text fields compared", "ODDZIAL = OPIS", {6, 7}},
                   {"apostrophe in literal", "OPIS = 'O''Brien'", {4}},
                   {"Polish letters ignore case", "OPIS = 'ŁÓDŹ'", {0, 1}},
                   {"text order", "ODDZIAL < 'G-2'", {0, 1, 3, 4, 6, 7}},
                   {"star is a prefix only with = and <>", "ODDZIAL < 'G-1/*'", {6}},
                   {"literal on the left", "'G-1/*' = ODDZIAL AND 10 < X", {0, 3}},
                   {"constant condition", "1 = 1", {0, 1, 2, 3, 4, 5, 6, 7}},
                   {"constant false joined", "1 = 2 OR X = 15", {0}},
                   {"64-bit integers exactly", "N64 = 9007199254740992", {3}},
                   {"64-bit integer against a fraction", "N64 > 6.5 AND N64 < 7.5", {6}},
               });
}

TEST(FilterExpression, DatesAndTimes) {
    expectRows(catalogue(), polish(),
               {
                   {"ISO literal", "DATA >= '2004-06-30'", {2, 3}},
                   {"day number", "DATA < 38078", {0, 7}},
                   {"date moved by days", "DATA + 1 = '01.04.2004'", {0}},
                   {"date difference in days", "DATA - DATA = 0", {0, 1, 2, 3, 4, 6, 7}},
                   // A date-time after midnight is past a bound written as a
                   // date alone: only 2004-04-01 00:00 is within.
                   {"date-time against a day", "DT >= '01.04.2004' AND DT <= '01.04.2004'", {2}},
                   {"date-time literal", "DT >= '01.04.2004 06:00' AND DT < '02.04.2004'", {0, 1, 7}},
                   {"date plus time", "DATA + CZAS >= '01.04.2004 12:00'", {1, 2, 3, 4, 6}},
                   {"time of day", "CZAS >= '12:00'", {1, 2, 4, 7}},
                   {"time with seconds", "CZAS > '12:00:00'", {2, 4, 7}},
                   {"time as day fraction", "CZAS = 0.5", {1}},
                   // Half a second (.5 is 500 ms): 12:00:00 moved by 0.4 s
                   // stays short of 12:00:00.5, moved by 0.6 s passes it.
                   {"time with a fraction of a second",
                    "CZAS + 0.4 / 86400 < '12:00:00.5' AND CZAS + 0.6 / 86400 > '12:00:00.5'",
                    {1}},
                   {"time with milliseconds", "CZAS > '12:00:00.999'", {2, 4, 7}},
               });
}

TEST(FilterExpression, NullsAndLogicalFields) {
    expectRows(catalogue(), polish(),
               {
                   {"is null", "X IS NULL", {5}},
                   {"is not null", "ODDZIAL IS NOT NULL", {0, 1, 2, 3, 4, 6, 7}},
                   {"null date", "DATA IS NULL", {5}},
                   {"unsupported field is always null", "BLOB IS NULL", {0, 1, 2, 3, 4, 5, 6, 7}},
                   {"null never compares", "X <> 0 OR X = 0", {0, 1, 2, 3, 4, 6, 7}},
                   {"NOT of a false comparison", "NOT X > 10", {1, 5, 6, 7}},
                   {"NOT of a prefix keeps nulls", "NOT ODDZIAL = 'G-1/*'", {2, 4, 5, 6}},
                   // X>10 is 0,2,3,4; Y>8 is 2,7; Y>6 is 2,3,7.
                   {"NOT of OR", "NOT (X > 10 OR Y > 8)", {1, 5, 6}},
                   {"NOT of AND", "NOT (X > 10 AND Y > 6)", {0, 1, 4, 5, 6, 7}},
                   {"NOT NOT", "NOT NOT (X > 10 AND Y > 6)", {2, 3}},
                   {"division by zero is null", "X / Y IS NULL", {1, 5}},
                   {"null arithmetic", "X + Y IS NOT NULL", {0, 1, 2, 3, 4, 6, 7}},
                   {"literals are never null", "'a' IS NULL OR 1 IS NULL OR X > 24", {3}},
                   {"logical field", "ZNACZNIK", {0, 2, 6}},
                   {"not logical field", "NOT ZNACZNIK", {1, 3, 4, 5, 7}},
                   {"logical field = FALSE", "ZNACZNIK = FALSE", {1, 4, 7}},
                   {"logical field against a condition", "ZNACZNIK = (X > 12)", {0, 1, 7}},
               });
}

// Expected rows worked by hand from the table above; the alternative
// grouping of each row selects a different set.
TEST(FilterExpression, Precedence) {
    expectRows(catalogue(), polish(),
               {
                   // (NOT X>10) AND Y>0; NOT (X>10 AND Y>0) would give 1,5,6,7.
                   {"NOT before AND", "NOT X > 10 AND Y > 0", {6, 7}},
                   // X=0 OR (X>20 AND Y>6); (X=0 OR X>20) AND Y>6 would give 3.
                   {"AND before OR", "X = 0 OR X > 20 AND Y > 6", {1, 3}},
                   {"parentheses", "(X = 0 OR X > 20) AND Y > 6", {3}},
                   // X + 2Y: 27, 0, 30, 39, 30, -, 18, 17.
                   {"* before +", "X + Y * 2 = 27", {0}},
                   // (X - Y) - 1: 8, -1, 2, 17, 14, -, 5, -14.
                   {"- left to right", "X - Y - 1 = 8", {0}},
                   // (X / Y) / 2: 1.25, null, 0.667, 1.786, 2, -, 1.25, -0.15.
                   {"/ left to right", "X / Y / 2 = 1.25", {0, 6}},
                   // (X + Y) * 2: 42, 0, 42, 64, 50, -, 28, 14; ungrouped none is 50.
                   {"grouped sum", "(X + Y) * 2 = 50", {4}},
                   {"unary minus", "-X > 0", {7}},
                   {"unary minus binds tighter than *", "-X * 2 = -30", {0}},
                   {"double minus", "- -X = 15", {0}},
               });
}

TEST(FilterExpression, CaseSensitiveComparison) {
    expectRows(catalogue(), polish(false),
               {
                   {"prefix keeps case", "ODDZIAL = 'G-1/*'", {0, 1, 7}},
                   {"Polish capitals differ", "OPIS = 'ŁÓDŹ'", {}},
                   {"exact Polish text", "OPIS = 'Łódź'", {0}},
                   {"fields compared", "ODDZIAL = OPIS", {6}},
                   {"byte order", "ODDZIAL < 'G-2'", {0, 1, 4, 6, 7}},
                   {"keywords still any case", "oddzial = 'G-1/2' Or x = 0", {0, 1}},
               });
}

TEST(FilterExpression, DateLiteralsFollowTheLocale) {
    const Table t = catalogue();
    const FilterExpression::Options point{true, Locale::point()};
    const FilterExpression::Options comma{true, Locale::comma()};
    EXPECT_EQ(evaluate("DATA>='4/1/2004' AND DATA<='6/30/2004'", t, point), (Rows{1, 2, 4, 6}));
    EXPECT_EQ(evaluate("DATA>='2004-04-01' AND DATA<='2004-06-30'", t, point), (Rows{1, 2, 4, 6}));
    EXPECT_EQ(evaluate("DATA>='01.04.2004' AND DATA<='30.06.2004'", t, comma), (Rows{1, 2, 4, 6}));
    EXPECT_EQ(evaluate("DATA>='2004-04-01' AND DATA<='2004-06-30'", t, comma), (Rows{1, 2, 4, 6}));
    // The other locale's format is refused, at the literal.
    for (const auto& [text, options] :
         {std::pair{"DATA>='01.04.2004'", point}, std::pair{"DATA>='4/1/2004'", comma}}) {
        try {
            FilterExpression::parse(text, t, options);
            ADD_FAILURE() << text << " was accepted";
        } catch (const FilterError& e) {
            EXPECT_EQ(e.position(), 6u) << text;
            EXPECT_NE(std::string(e.what()).find("nie jest datą"), std::string::npos) << e.what();
        }
    }
}

TEST(FilterExpression, FaultsGiveThePositionAndTheCause) {
    struct Bad {
        const char* name;
        const char* text;
        std::size_t position;
        const char* cause;
    };
    const std::vector<Bad> cases = {
        {"unknown field", "ODDZAL = 'x'", 0, "nieznane pole 'ODDZAL'"},
        {"unknown field later", "X<>0 AND Q = 1", 9, "nieznane pole 'Q'"},
        {"unclosed quote", "ODDZIAL = 'G-1/*", 10, "apostrofem"},
        {"unclosed parenthesis", "(X>=10 AND X<=20", 0, "nawias nie został zamknięty"},
        {"parenthesis closed by something else", "(X>=10 Y", 7, "oczekiwano ')'"},
        {"extra parenthesis", "X>1)", 3, "bez otwierającego"},
        {"missing connective", "X>1 Y>1", 4, "oczekiwano AND, OR"},
        {"missing operand", "X >= ", 5, "brak wartości"},
        {"doubled operator", "X == 1", 3, "oczekiwano pola"},
        {"chained comparison", "1 < X < 5", 6, "oczekiwano AND, OR"},
        {"impossible date", "DATA >= '31.02.2004'", 8, "nie jest datą"},
        {"not a time", "CZAS > '25:00'", 7, "nie jest godziną"},
        {"time with trailing text", "CZAS > '12:00:00x'", 7, "nie jest godziną"},
        {"text with number", "X = 'abc'", 2, "nie można porównać liczby z tekstem"},
        {"number with text", "ODDZIAL > 5", 8, "nie można porównać tekstu z liczbą"},
        {"date with time of day", "DATA = CZAS", 5, "nie można porównać daty z godziną"},
        {"logical with number", "ZNACZNIK = 1", 9, "wartości logicznej z liczbą"},
        {"text field with date", "OPIS = DATA", 5, "tekstu z datą"},
        {"comma decimal", "MAGNITUDA > 1,5", 13, "kropką"},
        {"unquoted date", "DATA >= 01.04.2004", 8, "apostrofy"},
        {"letters after number", "X > 12abc", 4, "niepoprawna liczba '12abc'"},
        {"exponent without digits", "X > 1e", 4, "niepoprawna liczba"},
        {"number out of range", "X > 1e999", 4, "poza zakresem"},
        {"IS without NULL", "X IS 5", 5, "po IS oczekiwano NULL"},
        {"arithmetic on text", "ODDZIAL + 1 = 2", 8, "działanie arytmetyczne"},
        {"minus on text", "-ODDZIAL = 'a'", 0, "działanie arytmetyczne"},
        {"number as condition", "X AND Y > 1", 0, "oczekiwano warunku, a jest liczba"},
        {"text as condition", "X > 1 OR 'abc'", 9, "oczekiwano warunku, a jest tekst"},
        {"bare number", "15", 0, "oczekiwano warunku"},
        {"NOT alone", "NOT", 3, "brak wartości"},
        {"empty", "", 0, "brak wartości"},
        {"stray character", "X # 1", 2, "niedozwolony znak '#'"},
        {"control character", "X >\x01 1", 3, "0x01"},
        {"C-style inequality", "X != 1", 2, "<>"},
        {"unclosed field name", "\"X > 1", 0, "cudzysłowem"},
        {"unsupported field compared", "BLOB = 1", 0, "IS NULL"},
    };
    const Table t = catalogue();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + ": " + c.text);
        try {
            FilterExpression::parse(c.text, t, polish());
            ADD_FAILURE() << "accepted";
        } catch (const FilterError& e) {
            EXPECT_EQ(e.position(), c.position);
            const std::string msg = e.what();
            EXPECT_NE(msg.find(c.cause), std::string::npos) << msg;
            EXPECT_NE(msg.find("pozycji " + std::to_string(c.position + 1)), std::string::npos) << msg;
        }
    }
}

TEST(FilterExpression, MessageCountsCharactersNotBytes) {
    // Q is byte 21 but character 19: 'żółw' takes 7 bytes for 4 letters.
    try {
        FilterExpression::parse("OPIS = 'żółw' AND Q = 1", catalogue(), polish());
        FAIL() << "accepted";
    } catch (const FilterError& e) {
        EXPECT_EQ(e.position(), 21u);
        EXPECT_EQ(std::string(e.what()), "Błąd w wyrażeniu filtrującym na pozycji 19: nieznane pole 'Q'");
    }
}

TEST(FilterExpression, RunawayNestingIsRefusedNotCrashing) {
    const Table t = catalogue();
    const std::string deep = std::string(5000, '(') + "X>1" + std::string(5000, ')');
    EXPECT_THROW(FilterExpression::parse(deep, t, polish()), FilterError);
    EXPECT_THROW(FilterExpression::parse(std::string(5000, '-') + "X>1", t, polish()), FilterError);
    EXPECT_THROW(FilterExpression::parse(
                     "NOT " +
                         [] {
                             std::string s;
                             for (int i = 0; i < 5000; ++i) s += "NOT ";
                             return s;
                         }() +
                         "X>1",
                     t, polish()),
                 FilterError);
    std::string sum = "X";
    for (int i = 0; i < 5000; ++i) sum += "+1";
    EXPECT_THROW(FilterExpression::parse(sum + " > 0", t, polish()), FilterError);
    // A long flat list of zones is no nesting at all.
    std::string zones = "(ODDZIAL='G-2/1'";
    for (int i = 0; i < 5000; ++i) zones += " OR ODDZIAL='Z-" + std::to_string(i) + "'";
    EXPECT_EQ(evaluate(zones + " OR X<0)", t, polish()), (Rows{2, 7}));
}

// A text test is decided per distinct text at each select(); a text that
// entered the column after parsing must still be seen.
TEST(FilterExpression, SeesTextsAddedAfterParsing) {
    Table t = catalogue();
    const auto e = FilterExpression::parse("ODDZIAL = 'G-3/*' OR ODDZIAL = 'nowa'", t, polish());
    EXPECT_TRUE(e->select(t).empty());
    t.setRecNo(3);
    t.edit();
    t.setFieldValue("ODDZIAL", Value::text("G-3/9"));
    t.post();
    t.appendRecord({Value::text("NOWA")});
    EXPECT_EQ(e->select(t), (Rows{2, 8}));
    EXPECT_TRUE(e->matches(t, 2));
    EXPECT_TRUE(e->matches(t, 8));
    EXPECT_FALSE(e->matches(t, 0));
}

TEST(FilterExpression, RefusesATableOfAnotherShape) {
    const Table t = catalogue();
    const auto e = FilterExpression::parse("ODDZIAL = 'G*' AND X > 1", t, polish());
    const Table other({{"ODDZIAL", FieldType::Integer}, {"X", FieldType::Integer}});
    EXPECT_THROW(e->select(other), TableError);
    EXPECT_THROW(e->matches(other, 0), TableError);
}

// The fields an expression reads are all it needs: a table of those fields
// alone selects the same rows (how the command line loads only them).
TEST(FilterExpression, FieldsItReadsAreEnoughToSelect) {
    const Table t = catalogue();
    const struct {
        const char* text;
        std::vector<int> fields;
    } cases[] = {
        {"X<>0", {2}},
        {"ODDZIAL='G-1/*' AND X<>0 AND x > -5", {0, 2}},
        {"NOT (MAGNITUDA + ENG / 1e6 > 2) OR ZNACZNIK", {4, 5, 9}},
        {"DT IS NULL OR DATA>='01.04.2004' AND CZAS < '12:00' AND OPIS <> ODDZIAL", {0, 1, 6, 7, 8}},
        {"\"N64\" = 7 OR TRUE = ZNACZNIK", {9, 10}},
        {"1 = 1", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto e = FilterExpression::parse(c.text, t, polish());
        ASSERT_EQ(e->fields(), c.fields);
        FieldDefs defs;
        for (const int f : c.fields) defs.push_back(t.field(f));
        Table part(defs);
        for (std::size_t r = 0; r < t.physicalCount(); ++r) {
            std::vector<Value> values;
            for (const int f : c.fields) values.push_back(t.value(r, f));
            part.appendRecord(values);
        }
        EXPECT_EQ(FilterExpression::parse(c.text, part, polish())->select(part), e->select(t));
    }
}

// select() against matches() and against the same condition written in C++
// on a random catalogue with nulls and many distinct texts.
TEST(FilterExpression, SelectAgreesWithRowTestsOnARandomTable) {
    Table t({{"ODDZIAL", FieldType::String, 10},
             {"STREFA", FieldType::String, 10},
             {"DATA", FieldType::Date},
             {"X", FieldType::Integer},
             {"Y", FieldType::Integer},
             {"MAGNITUDA", FieldType::Float},
             {"N64", FieldType::LargeInt}});
    std::mt19937 rng(20040401);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    const std::int32_t d0 = dayNumber(2004, 1, 1);
    for (int i = 0; i < 3000; ++i) {
        std::string zone =
            std::string(pick(2) ? "G-" : "g-") + std::to_string(pick(12)) + "/" + std::to_string(pick(6));
        const std::string other = std::string(pick(2) ? "G-" : "g-") + std::to_string(pick(3)) + "/1";
        t.appendRecord({pick(25) ? Value::text(zone) : Value{}, pick(10) ? Value::text(other) : Value{},
                        pick(30) ? Value::date(d0 + pick(366)) : Value{},
                        pick(8) ? Value::integer(pick(41) - 20) : Value{}, Value::integer(pick(41) - 20),
                        pick(20) ? Value::real(pick(400) / 100.0) : Value{}, Value::integer(pick(7) - 3)});
    }
    const std::vector<const char*> exprs = {
        "ODDZIAL = 'G-1/*' AND DATA>='01.04.2004' AND DATA<='30.06.2004'",
        "(X>=-5 AND X<=5 AND Y>=0 AND Y<=9) OR NOT ODDZIAL <> 'g-1*'",
        "NOT (X<>0 OR MAGNITUDA > 2) OR DATA IS NULL",
        "X * 2 - Y >= MAGNITUDA * 3 AND NOT ODDZIAL = 'G-1/2' AND NOT ODDZIAL = 'G-1/3'",
        "ODDZIAL > 'G-5' OR ODDZIAL < 'g-2' AND N64 <> 0",
        "X / Y > 1 OR X / Y IS NULL",
        "(ODDZIAL='G-2/1' OR ODDZIAL='G-3/1' OR ODDZIAL='G-4/*') AND NOT (X > 0 AND Y > 0)",
        "NOT (ODDZIAL = 'G-1/*' OR NOT (X > 0 AND NOT Y < 0)) OR NOT MAGNITUDA IS NULL AND X = 3",
        // The first test leaves fewer rows than there are distinct zones.
        "X = 5 AND ODDZIAL <> 'G-1*' OR Y = -20 AND NOT ODDZIAL < 'G-5'",
        "ODDZIAL = STREFA OR ODDZIAL < STREFA AND NOT (STREFA = 'g-*' OR X = Y)",
    };
    for (bool ci : {true, false})
        for (const char* text : exprs) {
            SCOPED_TRACE(text);
            (void)evaluate(text, t, polish(ci));
        }

    // The first expression, written out.
    Rows expected;
    const std::int32_t from = dayNumber(2004, 4, 1), to = dayNumber(2004, 6, 30);
    for (std::uint32_t r = 0; r < t.physicalCount(); ++r) {
        const Value zone = t.value(r, 0), date = t.value(r, 2);
        if (zone.isNull() || date.isNull()) continue;
        const std::string z = zone.textValue();
        if ((z.rfind("G-1/", 0) == 0 || z.rfind("g-1/", 0) == 0) && date.toInt() >= from &&
            date.toInt() <= to)
            expected.push_back(r);
    }
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(evaluate(exprs[0], t, polish()), expected);
}

// ---------------------------------------------------------------- through Table

TEST(FilterExpressionInTable, FilterNarrowsTheView) {
    Table t = catalogue();
    t.setLocale(Locale::comma());
    t.setFilter("ODDZIAL = 'G-1/*' AND DATA>='01.04.2004' AND DATA<='30.06.2004'");
    EXPECT_EQ(t.recordCount(), 8u);
    t.setFiltered(true);
    EXPECT_EQ(t.recordCount(), 1u);
    EXPECT_EQ(t.fieldValue("ODDZIAL"), Value::text("G-1/3"));
    t.setFilter("X<>0");
    EXPECT_EQ(t.recordCount(), 6u);
    // A bad text changes nothing.
    EXPECT_THROW(t.setFilter("X<>"), FilterError);
    EXPECT_EQ(t.filter(), "X<>0");
    EXPECT_EQ(t.recordCount(), 6u);
    EXPECT_THROW(t.checkFilter("ODDZAL='x'"), FilterError);
    t.setCaseInsensitiveFilter(false);
    t.setFilter("ODDZIAL = 'G-1/*'");
    EXPECT_EQ(t.recordCount(), 3u);
    t.setCaseInsensitiveFilter(true);
    EXPECT_EQ(t.recordCount(), 4u);
    t.setFiltered(false);
    EXPECT_EQ(t.recordCount(), 8u);
}

TEST(FilterExpressionInTable, EditedRecordLeavesAndAppendedRecordJoinsTheView) {
    Table t = catalogue();
    t.setFilter("X<>0");
    t.setFiltered(true);
    ASSERT_EQ(t.recordCount(), 6u);
    t.first();
    ASSERT_EQ(t.fieldValue("X"), Value::integer(15));
    t.edit();
    t.setFieldValue("X", Value::integer(0));
    t.post();
    EXPECT_EQ(t.recordCount(), 5u);
    EXPECT_EQ(t.physicalCount(), 8u);
    EXPECT_EQ(t.fieldValue("X"), Value::integer(12));
    t.appendRecord({Value::text("G-9/9"), Value{}, Value::integer(4)});
    EXPECT_EQ(t.recordCount(), 6u);
    EXPECT_EQ(t.fieldValue("ODDZIAL"), Value::text("G-9/9"));
    t.appendRecord({Value::text("G-9/8"), Value{}, Value::integer(0)});
    EXPECT_EQ(t.recordCount(), 6u);
    EXPECT_EQ(t.physicalCount(), 10u);
}

}  // namespace
}  // namespace zorv

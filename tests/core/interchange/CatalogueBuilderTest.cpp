// Catalogues written elsewhere turned into catalogue tables: columns by
// their names, dates and times as they come, missing values, the date
// order, extra fields typed by their values, and geographic co-ordinates
// projected as PROJ's own cs2cs projects them.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <thread>

#include "interchange/CatalogueBuilder.h"
#include "interchange/CatalogueDates.h"
#include "interchange/CsvReader.h"
#include "interchange/Projection.h"
#include "table/Table.h"
#include "text/Dates.h"

namespace zorv {
namespace {

std::string refusal(const std::function<void()>& work) {
    try {
        work();
    } catch (const ImportError& e) {
        return e.what();
    }
    return "";
}

struct Imported {
    Table table;
    CatalogueBuildReport report;
};

Imported import(const std::string& csv, CatalogueBuildOptions options = {}) {
    const CsvRead read = readCsv(csv);
    options.decimalComma = read.dialect.decimalComma;
    const CatalogueFieldNames names;
    const auto mapping = autoColumnRoles(read.rows.header(), names);
    Imported out;
    out.table = buildCatalogue(read.rows, mapping, names, options, &out.report);
    return out;
}

double num(const Table& t, std::size_t row, const char* field) {
    const Value v = t.value(row, t.requireField(field));
    return v.isNull() ? NAN : v.toDouble();
}

std::vector<std::string> fieldNames(const Table& t) {
    std::vector<std::string> out;
    for (int f = 0; f < t.fieldCount(); ++f) out.push_back(t.field(f).name);
    return out;
}

TEST(CatalogueDates, IsoAndOrderedForms) {
    struct Case {
        const char* text;
        DateOrder order;
        int y, m, d, hh, mm;
        double ss;
        bool time;
    };
    const Case cases[] = {
        {"2021-03-04", DateOrder::Iso, 2021, 3, 4, 0, 0, 0, false},
        {"2021-03-04T05:06:07", DateOrder::Iso, 2021, 3, 4, 5, 6, 7, true},
        {"2021-03-04 05:06:07.25Z", DateOrder::Iso, 2021, 3, 4, 5, 6, 7.25, true},
        {"2021-03-04T00:30:00+01:00", DateOrder::Iso, 2021, 3, 3, 23, 30, 0, true},  // back over midnight
        {"2021-12-31T23:30:00-0100", DateOrder::Iso, 2022, 1, 1, 0, 30, 0, true},
        {"2016-12-31T23:59:60Z", DateOrder::Iso, 2016, 12, 31, 23, 59, 60, true},  // a leap second
        {"04.03.2021", DateOrder::DayFirst, 2021, 3, 4, 0, 0, 0, false},
        {"4/3/2021 5:06", DateOrder::DayFirst, 2021, 3, 4, 5, 6, 0, true},
        {"3/4/2021 05:06:07", DateOrder::MonthFirst, 2021, 3, 4, 5, 6, 7, true},
        {"2020-02-29", DateOrder::DayFirst, 2020, 2, 29, 0, 0, 0, false},  // ISO whatever the order
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const auto t = parseCatalogueTime(c.text, c.order);
        ASSERT_TRUE(t.has_value());
        EXPECT_EQ(t->day, dayNumber(c.y, c.m, c.d));
        EXPECT_EQ(t->hasTime, c.time);
        EXPECT_EQ(t->hour, c.hh);
        EXPECT_EQ(t->minute, c.mm);
        EXPECT_DOUBLE_EQ(t->second, c.ss);
    }
    for (const char* bad :
         {"2021-02-29", "29.02.2021", "2021-13-01", "2021-03-04T24:00:00", "2021-03-04T12:59:60",
          "2021-03-04T05:06:07+15:00", "2021-03-04x", "13/13/2021", "04.03.21", ""}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(parseCatalogueTime(bad, DateOrder::DayFirst).has_value());
    }
    EXPECT_FALSE(parseCatalogueTime("04.03.2021", DateOrder::Iso).has_value());
    // Years of four digits, in UTC too (found by the fuzzer: "0021" read as
    // the year 21 could not be written back to a year column).
    for (const char* far : {"0021-05-05", "0999-12-31T23:00:00Z", "1000-01-01T00:30:00+01:00", "4/3/0999",
                            "9999-12-31T23:30:00-01:00"}) {
        SCOPED_TRACE(far);
        EXPECT_FALSE(parseCatalogueTime(far, DateOrder::DayFirst).has_value());
    }
    EXPECT_TRUE(parseCatalogueTime("1000-01-01", DateOrder::Iso).has_value());
    EXPECT_TRUE(parseCatalogueTime("9999-12-31T23:59:59Z", DateOrder::Iso).has_value());
    EXPECT_EQ(dateFit("13/4/2021"), DateFit::DayFirst);
    EXPECT_EQ(dateFit("4/13/2021"), DateFit::MonthFirst);
    EXPECT_EQ(dateFit("4/3/2021"), DateFit::Either);
    EXPECT_EQ(dateFit("2021-04-03"), DateFit::Iso);
}

TEST(CatalogueBuilder, ColumnsFoundByTheirNames) {
    const Imported r = import(
        "Origin time,Mw,Radiated Energy (J),Easting,Northing,Depth/km,Zone,Comment\n"
        "2021-01-02T03:04:05Z,1.5,2.5e6,1000.4,2000.6,0.85,G-1/1,first\n"
        "2021-01-03T00:00:10Z,NaN,NA,,,1,G-1/2,\n");
    EXPECT_EQ(fieldNames(r.table), (std::vector<std::string>{"DATA", "GODZ", "MIN", "SEK", "MAGNITUDA", "ENG",
                                                             "X", "Y", "Depth_km", "ODDZIAL", "Comment"}));
    const Table& t = r.table;
    EXPECT_EQ(t.field(t.requireField("DATA")).type, FieldType::Date);
    EXPECT_EQ(t.field(t.requireField("Depth_km")).type, FieldType::Float);  // 0.85 and 1
    EXPECT_EQ(t.field(t.requireField("Comment")).type, FieldType::String);
    EXPECT_EQ(num(t, 0, "DATA"), dayNumber(2021, 1, 2));
    EXPECT_EQ(num(t, 0, "GODZ"), 3);
    EXPECT_EQ(num(t, 0, "SEK"), 5);
    EXPECT_EQ(num(t, 0, "X"), 1000);  // [m], to the nearest metre
    EXPECT_EQ(num(t, 0, "Y"), 2001);
    EXPECT_DOUBLE_EQ(num(t, 0, "ENG"), 2.5e6);
    // Missing values: nulls, and no location is X = Y = 0.
    EXPECT_TRUE(std::isnan(num(t, 1, "MAGNITUDA")));
    EXPECT_TRUE(std::isnan(num(t, 1, "ENG")));
    EXPECT_EQ(num(t, 1, "X"), 0);
    EXPECT_EQ(r.report.withoutSize, 1u);
    EXPECT_EQ(r.report.records, 2u);

    // Each name of a role the mapping knows.
    const CatalogueFieldNames names;
    for (const char* name : {"Mw", "ML", "mag", "Magnitude", "MAGNITUDA"})
        EXPECT_EQ(autoColumnRoles({name}, names)[0].role, ColumnRole::Magnitude) << name;
    for (const char* name : {"Energy", "E [J]", "Radiated Energy (J)", "ENG"})
        EXPECT_EQ(autoColumnRoles({name}, names)[0].role, ColumnRole::Energy) << name;
    for (const char* name : {"Lat", "latitude"})
        EXPECT_EQ(autoColumnRoles({name}, names)[0].role, ColumnRole::Latitude) << name;
    // A second magnitude column is an extra field.
    const auto two = autoColumnRoles({"ML", "Mw"}, names);
    EXPECT_EQ(two[1].role, ColumnRole::Extra);
    EXPECT_EQ(two[1].name, "Mw");
    // "Time" beside "Date" is the time of day.
    EXPECT_EQ(autoColumnRoles({"Date", "Time"}, names)[1].role, ColumnRole::TimeOfDay);
}

TEST(CatalogueBuilder, DateOrderFoundChosenOrRefused) {
    // A day above 12 decides for day first.
    EXPECT_EQ(import("Date,Mag\n4/3/2021,1\n13/3/2021,1\n").report.dateOrder, DateOrder::DayFirst);
    EXPECT_EQ(import("Date,Mag\n3/4/2021,1\n3/13/2021,1\n").report.dateOrder, DateOrder::MonthFirst);
    // Dotted dates are day first.
    EXPECT_EQ(num(import("Date;Mag\n04.03.2021;1\n").table, 0, "DATA"), dayNumber(2021, 3, 4));
    // Slashed dates that fit both orders need the user's choice.
    const std::string ambiguous = refusal([] { import("Date,Mag\n4/3/2021,1\n5/3/2021,1\n"); });
    EXPECT_NE(ambiguous.find("--date-format dmy albo mdy"), std::string::npos) << ambiguous;
    CatalogueBuildOptions monthFirst;
    monthFirst.dateOrder = DateOrder::MonthFirst;
    EXPECT_EQ(num(import("Date,Mag\n4/3/2021,1\n", monthFirst).table, 0, "DATA"), dayNumber(2021, 4, 3));
    // A date that fits neither the chosen order nor any is refused with its row.
    const std::string neither = refusal([&] { import("Date,Mag\n4/3/2021,1\n4/13/2021,1\n", [] {
                                                   CatalogueBuildOptions o;
        o.dateOrder = DateOrder::DayFirst;
        return o;
    }());
});
EXPECT_NE(neither.find("'4/13/2021'"), std::string::npos) << neither;
EXPECT_NE(neither.find("wiersz 3, kolumna Date"), std::string::npos) << neither;
const std::string mixed = refusal([] { import("Date,Mag\n13/3/2021,1\n3/13/2021,1\n"); });
EXPECT_NE(mixed.find("nie pasują do jednej kolejności"), std::string::npos) << mixed;
const std::string leap = refusal([] { import("Date,Mag\n2021-02-28,1\n2021-02-29,1\n"); });
EXPECT_NE(leap.find("'2021-02-29' nie jest datą (wiersz 3, kolumna Date)"), std::string::npos) << leap;
}

TEST(CatalogueBuilder, SeparateDateAndTimeColumnsAndTheDateOrder) {
    // The OpenQuake layout: year … second columns, out of date order.
    const Imported r = import(
        "eventID,year,month,day,hour,minute,second,longitude,latitude,depth,magnitude\n"
        "b,2020,5,2,10,0,1.5,19.0,50.0,0.7,1.1\n"
        "a,2020,5,1,23,59,60,19.1,50.1,0.8,1.2\n"
        "c,2020,5,2,9,0,0,19.2,50.2,0.9,1.3\n");
    const Table& t = r.table;
    EXPECT_EQ(r.report.moved, 1u);  // b a c -> a c b: b moved
    EXPECT_EQ(t.value(0, t.requireField("eventID")).textValue(), "a");
    EXPECT_EQ(t.value(1, t.requireField("eventID")).textValue(), "c");
    EXPECT_EQ(t.value(2, t.requireField("eventID")).textValue(), "b");
    EXPECT_EQ(num(t, 0, "DATA"), dayNumber(2020, 5, 1));
    EXPECT_EQ(num(t, 0, "SEK"), 60);                                   // the leap second kept
    EXPECT_EQ(t.field(t.requireField("SEK")).type, FieldType::Float);  // 1.5 s
    EXPECT_DOUBLE_EQ(num(t, 2, "SEK"), 1.5);
    EXPECT_EQ(num(t, 2, "GODZ"), 10);
    EXPECT_NE(r.report.crs.find("EPSG:32634"), std::string::npos) << r.report.crs;

    const std::string bad = refusal([] { import("year,month,day,magnitude\n2021,2,29,1\n"); });
    EXPECT_NE(bad.find("nie dają istniejącej daty (wiersz 2)"), std::string::npos) << bad;
    // A column name given twice (found by the fuzzer) is refused with both.
    const std::string twice = refusal([] { import("Time,Mag,time\n2021-01-02,1,x\n"); });
    EXPECT_NE(twice.find("'Time' występuje w nagłówku dwa razy (kolumny 1 i 3)"), std::string::npos) << twice;
    // The first column with a twin is named, though a later pair closes
    // first, in a header of thousands of columns too.
    const std::string pairs = refusal([] { import("Mag,Depth,depth,MAG\n1,2,3,4\n"); });
    EXPECT_NE(pairs.find("'Mag' występuje w nagłówku dwa razy (kolumny 1 i 4)"), std::string::npos) << pairs;
    std::string wide = "Date,Mag", cells = "2021-01-02,1";
    for (int c = 0; c < 3000; ++c) {
        wide += ",c" + std::to_string(c);
        cells += ",1";
    }
    const std::string twin = refusal([&] { import(wide + ",C17\n" + cells + ",1\n"); });
    EXPECT_NE(twin.find("'c17' występuje w nagłówku dwa razy (kolumny 20 i 3003)"), std::string::npos)
        << twin;
    // A five-digit year (found by the fuzzer): no date form writes it back.
    const std::string far = refusal([] { import("year,month,day,magnitude\n20210,5,2,1\n"); });
    EXPECT_NE(far.find("nie dają istniejącej daty (wiersz 2)"), std::string::npos) << far;
    const std::string hour = refusal([] { import("year,month,day,hour,magnitude\n2021,2,1,24,1\n"); });
    EXPECT_NE(hour.find("'24' to nie godzina"), std::string::npos) << hour;
}

// An extra column under a name of the catalogue's own, or of a field
// already made, keeps its values under a numbered name, in a header of
// thousands of columns too.
TEST(CatalogueBuilder, ExtraColumnsOfTakenNamesAreNumbered) {
    std::string header = "Date,ML,MAGNITUDA,magnituda_2,Zone,oddzial", cells = "2021-01-02,1,2,3,G-1,G-2";
    for (int c = 0; c < 3000; ++c) {
        header += ",c" + std::to_string(c);
        cells += "," + std::to_string(c);
    }
    const Imported r = import(header + ",Oddzial_2\n" + cells + ",G-3\n");
    const std::vector<std::string> names = fieldNames(r.table);
    const auto at = [&](const std::string& name) {
        const auto it = std::find(names.begin(), names.end(), name);
        EXPECT_NE(it, names.end()) << name;
        return it - names.begin();
    };
    EXPECT_EQ(num(r.table, 0, "MAGNITUDA"), 1);
    EXPECT_EQ(num(r.table, 0, "MAGNITUDA_2"), 2);
    EXPECT_EQ(num(r.table, 0, "magnituda_2_2"), 3);
    EXPECT_EQ(r.table.value(0, r.table.requireField("ODDZIAL")).textValue(), "G-1");
    EXPECT_EQ(r.table.value(0, r.table.requireField("oddzial_2")).textValue(), "G-2");
    EXPECT_EQ(r.table.value(0, r.table.requireField("Oddzial_2_2")).textValue(), "G-3");
    EXPECT_EQ(num(r.table, 0, "c2999"), 2999);
    EXPECT_LT(at("MAGNITUDA_2"), at("magnituda_2_2"));
    EXPECT_LT(at("c2999"), at("Oddzial_2_2"));
}

// A time column gives the three time fields even when none of its values
// is there (found by the fuzzer: the fields otherwise hung on the values,
// so the catalogue read back from its CSV had others).
TEST(CatalogueBuilder, TimeColumnGivesTheTimeFieldsWhateverItsValues) {
    const Imported r = import("year,month,day,second,magnitude\n2020,5,2,,1.1\n");
    EXPECT_EQ(fieldNames(r.table),
              (std::vector<std::string>{"DATA", "SEK", "MAGNITUDA", "GODZ", "MIN", "X", "Y", "ODDZIAL"}));
    EXPECT_EQ(num(r.table, 0, "SEK"), 0);
    const Imported t = import("Date,Time,Mag\n2020-05-02,,1.1\n");
    EXPECT_EQ(fieldNames(t.table),
              (std::vector<std::string>{"DATA", "GODZ", "MIN", "SEK", "MAGNITUDA", "X", "Y", "ODDZIAL"}));
    // A date column without any time of day still makes no time fields.
    EXPECT_EQ(fieldNames(import("Date,Mag\n2020-05-02,1.1\n").table),
              (std::vector<std::string>{"DATA", "MAGNITUDA", "X", "Y", "ODDZIAL"}));
}

// A text longer than a text field holds is clipped to the field and keeps
// no blank at its end (found by the fuzzer: the blank the clipping left
// was trimmed when the catalogue's CSV was read back).
TEST(CatalogueBuilder, ClippedTextKeepsNoEndBlank) {
    const std::string longText = std::string(253, 'a') + " (J)";
    const Imported r = import("Mag,Note\n1," + longText + "\n2,b\n");
    const Value v = r.table.value(0, r.table.requireField("Note"));
    EXPECT_EQ(v.textValue(), std::string(253, 'a'));
    EXPECT_EQ(r.table.field(r.table.requireField("Note")).size, 254);
}

// What the dialog shows before the import: the order found, dates that fit
// both orders, no date column; and a role moved from one column to another.
TEST(CatalogueBuilder, DateOrderGuessAndRolesGiven) {
    const CatalogueFieldNames names;
    const auto guess = [&](const std::string& csv) {
        const CsvRead read = readCsv(csv);
        return detectDateOrder(read.rows, autoColumnRoles(read.rows.header(), names), MissingValues());
    };
    EXPECT_EQ(guess("Date,Mag\n3/4/2021,1\n3/13/2021,1\n").order, DateOrder::MonthFirst);
    EXPECT_EQ(guess("Date,Mag\n2021-03-04,1\n").order, DateOrder::Iso);
    const DateOrderGuess both = guess("Date,Mag\n4/3/2021,1\n5/3/2021,1\n");
    EXPECT_TRUE(both.dateColumn);
    EXPECT_FALSE(both.order);
    EXPECT_TRUE(both.ambiguous);
    const DateOrderGuess bad = guess("Date,Mag\n2021-02-29,1\n");
    EXPECT_FALSE(bad.order);
    EXPECT_FALSE(bad.ambiguous);
    EXPECT_NE(bad.problem.find("wiersz 2, kolumna Date"), std::string::npos) << bad.problem;
    EXPECT_FALSE(guess("year,month,day,Mag\n2021,3,4,1\n").dateColumn);

    std::vector<ColumnMapping> m = autoColumnRoles({"Mag", "Depth", "Energy"}, names);
    assignColumnRole(m, 1, ColumnRole::Magnitude);
    EXPECT_EQ(m[0].role, ColumnRole::Extra);  // taken from Mag
    EXPECT_EQ(m[1].role, ColumnRole::Magnitude);
    assignColumnRole(m, 2, ColumnRole::Skip);
    assignColumnRole(m, 0, ColumnRole::Extra);  // extras and skips are many
    EXPECT_EQ(m[1].role, ColumnRole::Magnitude);
    EXPECT_EQ(m[2].role, ColumnRole::Skip);
    assignColumnRole(m, 7, ColumnRole::Energy);  // no such column: nothing
    EXPECT_EQ(m.size(), 3u);
}

TEST(CatalogueBuilder, MissingValuesAndRowsWithoutSize) {
    const std::string csv =
        "Date;Mag;E [J];Depth\n2021-01-01;1,5;-999;-999\n2021-01-02;-999;;2\n2021-01-03;NaN;NA;3\n";
    CatalogueBuildOptions o;
    o.missing = MissingValues({"-999"}, true);
    const Imported kept = import(csv, o);
    EXPECT_EQ(kept.report.records, 3u);
    EXPECT_EQ(kept.report.withoutSize, 2u);
    EXPECT_DOUBLE_EQ(num(kept.table, 0, "MAGNITUDA"), 1.5);
    EXPECT_TRUE(std::isnan(num(kept.table, 0, "ENG")));
    EXPECT_TRUE(std::isnan(num(kept.table, 0, "Depth")));
    EXPECT_EQ(kept.table.field(kept.table.requireField("Depth")).type, FieldType::Integer);
    o.dropWithoutSize = true;
    const Imported dropped = import(csv, o);
    EXPECT_EQ(dropped.report.records, 1u);
    EXPECT_EQ(dropped.report.dropped, 2u);
    EXPECT_EQ(dropped.table.recordCount(), 1u);
    // Without the mark -999 is an energy, and a negative one is refused.
    const std::string negative = refusal([&] { import(csv); });
    EXPECT_NE(negative.find("--missing"), std::string::npos) << negative;
    const std::string word = refusal([] { import("Date,Mag\n2021-01-01,big\n"); });
    EXPECT_NE(word.find("'big' nie jest liczbą (wiersz 2, kolumna Mag)"), std::string::npos) << word;
    const std::string none = refusal([] { import("Date,Depth\n2021-01-01,1\n"); });
    EXPECT_NE(none.find("MAGNITUDA/ENERGIA"), std::string::npos) << none;
    EXPECT_NE(none.find("Date, Depth"), std::string::npos) << none;
    const std::string headerOnly = refusal([] { import("Date,Mag\n"); });
    EXPECT_NE(headerOnly.find("jest tylko nagłówek"), std::string::npos) << headerOnly;
}

// References from PROJ's own command (axis order of the CRS: latitude
// first for EPSG:4326, northing first for EPSG:2180):
//   printf '50.0 19.0\n' | cs2cs -f %.3f EPSG:4326 EPSG:32634
//   printf '50.0 18.0\n49.5 17.9\n' | cs2cs -f %.3f EPSG:4326 EPSG:32633
//   printf -- '-33.4 -70.5\n' | cs2cs -f %.3f EPSG:4326 EPSG:32719
//   printf '50.25 19.0\n' | cs2cs -f %.3f EPSG:4326 EPSG:2180
TEST(Projection, AgreesWithCs2cs) {
    struct Case {
        int epsg;
        double lon, lat, x, y;
    };
    const Case cases[] = {
        {32634, 19.0, 50.0, 356670.876, 5540547.370},
        {32633, 18.0, 50.0, 714984.237, 5542944.019},  // on the zones' border, in the western zone
        {32633, 17.9, 49.5, 709968.031, 5487083.009},
        {32719, -70.5, -33.4, 360505.620, 6303362.288},
        {2180, 19.0, 50.25, 500000.000, 264756.851},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.epsg);
        const Projection p(c.epsg);
        const auto xy = p.forward(c.lon, c.lat);
        EXPECT_NEAR(xy.x, c.x, 0.001);
        EXPECT_NEAR(xy.y, c.y, 0.001);
        const auto back = p.inverse(xy.x, xy.y);
        EXPECT_NEAR(back.longitude, c.lon, 1e-9);
        EXPECT_NEAR(back.latitude, c.lat, 1e-9);
    }
    // The default zone: 18 degrees east starts zone 34.
    EXPECT_EQ(utmZoneEpsg(17.999, 50), 32633);
    EXPECT_EQ(utmZoneEpsg(18.0, 50), 32634);
    EXPECT_EQ(utmZoneEpsg(-70.5, -33.4), 32719);
    EXPECT_EQ(utmZoneEpsg(180.0, 10), 32601);
    EXPECT_EQ(parseEpsg("EPSG:2180"), 2180);
    EXPECT_EQ(parseEpsg("2180"), 2180);
    EXPECT_EQ(parseEpsg("EPSG:21x0"), 0);
    EXPECT_NE(refusal([] { Projection p(4326); }).find("nie jest układem płaskim"), std::string::npos);
    EXPECT_NE(refusal([] { Projection p(999999); }).find("jest nieznany"), std::string::npos);
}

// A thread keeps the projections it made: the same code gives the same
// object, a ninth code lets the least recently used go (made anew, with the
// same figures, when asked again), and a refused code is refused each time.
TEST(Projection, KeptPerThreadByCode) {
    const Projection* first = &Projection::ofThread(32634);
    EXPECT_EQ(&Projection::ofThread(32634), first);
    EXPECT_EQ(first->forward(19.0, 50.0).x, Projection(32634).forward(19.0, 50.0).x);
    for (int zone = 32601; zone <= 32608; ++zone) EXPECT_EQ(Projection::ofThread(zone).epsg(), zone);
    const Projection& again = Projection::ofThread(32634);
    EXPECT_EQ(again.epsg(), 32634);
    EXPECT_NEAR(again.forward(19.0, 50.0).y, 5540547.370, 0.001);
    EXPECT_EQ(&Projection::ofThread(32608), &Projection::ofThread(32608));
    for (int i = 0; i < 2; ++i)
        EXPECT_NE(refusal([] { Projection::ofThread(999999); }).find("jest nieznany"), std::string::npos);
    // PROJ objects are not shared between threads.
    const Projection* mine = &Projection::ofThread(32608);
    bool shared = true;
    std::thread([&] { shared = &Projection::ofThread(32608) == mine; }).join();
    EXPECT_FALSE(shared);
}

TEST(CatalogueBuilder, GeographicColumnsProjectedInTheChosenCrs) {
    CatalogueBuildOptions o;
    o.epsg = 32633;
    const Imported r = import("Date,Lat,Lon,ML\n2021-01-01,50.0,18.0,1.0\n2021-01-02,,,1.1\n", o);
    EXPECT_EQ(num(r.table, 0, "X"), 714984);
    EXPECT_EQ(num(r.table, 0, "Y"), 5542944);
    EXPECT_EQ(num(r.table, 1, "X"), 0);  // no location
    EXPECT_NE(r.report.crs.find("EPSG:32633"), std::string::npos);
    const std::string outside = refusal([] { import("Date,Lat,Lon,ML\n2021-01-01,95,18,1\n"); });
    EXPECT_NE(outside.find("wiersz 2"), std::string::npos) << outside;
}

}  // namespace
}  // namespace zorv

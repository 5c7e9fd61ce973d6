// Text catalogues imported into tables: columns found by the separator of
// the extension, the roles and the added fields, conversion by the locale,
// and refusals that leave no table behind.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "TestFiles.h"
#include "files/TableFiles.h"
#include "interchange/TextImport.h"
#include "table/Table.h"
#include "text/Dates.h"

namespace zorv {
namespace {

namespace fs = std::filesystem;

ImportColumn column(const std::string& name, ImportType type) { return {type, name, true}; }

std::string messageOf(const std::function<void()>& work) {
    try {
        work();
    } catch (const ImportError& e) {
        return e.what();
    }
    return "";
}

TEST(TextImportColumns, SeparatorByExtensionAndColumnsOfTheFirstLine) {
    EXPECT_EQ(importSeparatorOf(".txt"), "\t");
    EXPECT_EQ(importSeparatorOf(".csv"), ";");
    EXPECT_EQ(importSeparatorOf(".dat"), " ");
    // Compared as written: the previous separator stays.
    EXPECT_EQ(importSeparatorOf(".CSV"), std::nullopt);
    EXPECT_EQ(importSeparatorOf(""), std::nullopt);

    struct Row {
        const char* line;
        const char* separator;
        std::vector<std::string> captions;
    };
    for (const Row& r :
         {Row{"1,5;20", ";", {"1,5", "20"}}, Row{"1.5  20", " ", {"1.5", "", "20"}},
          Row{"ODDZIAL\tDATA\t", "\t", {"ODDZIAL", "DATA"}}, Row{"jedna kolumna", "\t", {"jedna kolumna"}},
          Row{"", "\t", {}}, Row{";", ";", {""}}}) {
        SCOPED_TRACE(r.line);
        EXPECT_EQ(discoverImportColumns(r.line, r.separator), r.captions);
    }
    std::string fifteen = "1", sixteen;
    for (int i = 2; i <= 15; ++i) fifteen += ";" + std::to_string(i);
    sixteen = fifteen + ";16";
    EXPECT_EQ(discoverImportColumns(fifteen, ";").size(), 15u);
    EXPECT_EQ(messageOf([&] { discoverImportColumns(sixteen, ";"); }),
              "Zbyt duża liczba kolumn danych. Proces importu wstrzymany");

    const auto pieces = splitImportLine("a;b;c;d", ";", 3);
    EXPECT_EQ(pieces[2], "c");  // pieces past the columns are left out
    const auto short_ = splitImportLine("a", ";", 3);
    EXPECT_EQ(short_[0], "a");
    EXPECT_FALSE(short_[1]);
    EXPECT_EQ(defaultImportColumns(2)[1].name, "Pole2");
    EXPECT_FALSE(defaultImportColumns(2)[1].import);
    EXPECT_EQ(defaultImportZoneName("G-", "/"), "G-99/9");
}

class TextImport : public ScratchDirTest {};

// Conversions by the locale, integers truncated toward zero, a magnitude
// from the energy (and one left out where the energy has no logarithm), and
// the fields added after the columns.
TEST_F(TextImport, ConvertsAndAddsTheMissingFields) {
    const std::vector<std::string> lines{"1,5;12,7;1000", "2,0;-12,7;0", "0,5;3;1e7"};
    ImportOptions o;
    o.startDate = dayNumber(2000, 1, 1);
    o.endDate = dayNumber(2000, 1, 4);
    o.zoneName = "G-99/9";
    o.a = 1.5;
    o.b = 4.8;
    o.createEnergyMagnitude = true;
    ImportResult result;
    const Table t = buildImportTable(lines, ";",
                                     {column("WART", ImportType::Float), column("NR", ImportType::Integer),
                                      column("ENG", ImportType::Float)},
                                     {}, o, Locale::comma(), &result);
    std::vector<std::string> names;
    for (int f = 0; f < t.fieldCount(); ++f) names.push_back(t.field(f).name);
    EXPECT_EQ(names,
              (std::vector<std::string>{"WART", "NR", "ENG", "MAGNITUDA", "X", "Y", "ODDZIAL", "DATA"}));
    ASSERT_EQ(t.recordCount(), 3u);
    EXPECT_EQ(t.value(0, 0).toDouble(), 1.5);
    EXPECT_EQ(t.value(0, 1).toInt(), 12);
    EXPECT_EQ(t.value(1, 1).toInt(), -12);
    // log10(1000) = 3: (3 − 4.8) / 1.5 = −1.2
    EXPECT_NEAR(t.value(0, 3).toDouble(), -1.2, 1e-15);
    EXPECT_TRUE(t.value(1, 3).isNull());
    EXPECT_NEAR(t.value(2, 3).toDouble(), (7 - 4.8) / 1.5, 1e-15);
    EXPECT_EQ(result.withoutMagnitude, 1u);
    EXPECT_NE(importSucceededMessage("k.dbf", result).find("Rekordów bez magnitudy"), std::string::npos);
    EXPECT_EQ(t.value(2, 6).textValue(), "G-99/9");
    EXPECT_EQ(t.value(2, 4).toInt(), 0);
    EXPECT_EQ(t.value(0, 7).toInt(), dayNumber(2000, 1, 1));
    EXPECT_EQ(t.value(2, 7).toInt(), dayNumber(2000, 1, 3));

    // A magnitude gives its energy: 2.0 with a = 1.5, b = 4.8 is 10^7.8 J.
    const Table e =
        buildImportTable({"2,0"}, ";", {column("MAGNITUDA", ImportType::Float)}, {}, o, Locale::comma());
    EXPECT_EQ(e.field(1).name, "ENG");
    EXPECT_DOUBLE_EQ(e.value(0, 1).toDouble(), std::pow(10.0, 7.8));
}

// Ten lines over 1 to 11 January: the dates 1 to 10; without the first line,
// nine records on 1 to 9 January (the step stays a tenth of the range).
TEST_F(TextImport, DatesSpreadOverTheRange) {
    std::vector<std::string> lines;
    for (int i = 0; i < 10; ++i) lines.push_back(std::to_string(i + 1));
    ImportOptions o;
    o.startDate = dayNumber(2000, 1, 1);
    o.endDate = dayNumber(2000, 1, 11);
    for (bool ignore : {false, true}) {
        o.ignoreFirstLine = ignore;
        const Table t =
            buildImportTable(lines, "\t", {column("ENG", ImportType::Float)}, {}, o, Locale::point());
        ASSERT_EQ(t.recordCount(), ignore ? 9u : 10u);
        const int date = t.fieldIndex("DATA");
        for (std::size_t r = 0; r < t.recordCount(); ++r)
            EXPECT_EQ(t.value(r, date).toInt(), dayNumber(2000, 1, 1) + std::int32_t(r));
        EXPECT_EQ(t.value(0, 0).toDouble(), ignore ? 2.0 : 1.0);
    }
}

TEST_F(TextImport, RefusalsNameTheirCauseAndLeaveNoTable) {
    const std::string path = this->path("k.dbf");
    ImportOptions o;
    const auto run = [&](const std::vector<std::string>& lines, const std::string& separator,
                         const std::vector<ImportColumn>& columns, const ImportOptions& options) {
        return messageOf(
            [&] { importTextCatalogue(lines, separator, columns, {}, options, Locale::point(), path); });
    };
    EXPECT_EQ(run({"1"}, "\t", {column("Pole1", ImportType::Float)}, o),
              "Nie zdefiniowane pole MAGNITUDA/ENERGIA. Procedura importowania przerwana.");
    // An energy column of that name that is not imported supplies nothing.
    ImportColumn skipped = column("ENG", ImportType::Float);
    skipped.import = false;
    EXPECT_EQ(run({"1"}, "\t", {skipped}, o),
              "Nie zdefiniowane pole MAGNITUDA/ENERGIA. Procedura importowania przerwana.");
    EXPECT_EQ(run({"1\t2"}, "\t", {column("ENG", ImportType::Float), column("eng", ImportType::Float)}, o),
              "Próba utworzenia nowej bazy z conajmniej dwoma takimi samymi polami");
    // ".dat" with two spaces: the empty middle piece is no number.
    const std::string middle = run({"1.5  20"}, " ",
                                   {column("ENG", ImportType::Float), column("Pole2", ImportType::Float),
                                    column("Pole3", ImportType::Float)},
                                   o);
    EXPECT_EQ(middle.rfind("Próba importu pól nie powiodła się [", 0), 0u) << middle;
    EXPECT_NE(middle.find("wiersz 1, pole Pole2"), std::string::npos) << middle;
    const std::string big =
        run({"1\t5000000000"}, "\t", {column("ENG", ImportType::Float), column("X", ImportType::Integer)}, o);
    EXPECT_NE(big.find("nie mieści się w liczbie całkowitej 32-bitowej"), std::string::npos) << big;
    // Without the added fields the catalogue must have its own.
    o.addMissingFields = false;
    EXPECT_EQ(
        run({"1\t7"}, "\t", {column("ENG", ImportType::Float), column("X", ImportType::Integer)}, o),
        "Katalog nie miałby pól: DATA, ODDZIAL, Y. Zaznacz kolumny tych pól albo opcję \"Dodaj brakujące "
        "kolumny danych\".");
    EXPECT_FALSE(fs::exists(path));
    EXPECT_TRUE(fs::is_empty(dir_));
}

// Without the added fields the columns alone make the catalogue; a long
// text keeps every character.
TEST_F(TextImport, ColumnsAloneMakeTheCatalogue) {
    ImportOptions o;
    o.addMissingFields = false;
    o.createEnergyMagnitude = true;  // adds nothing without the added fields
    const std::string opis = "Ściana 401, pokład 501, bez lokalizacji";
    const std::string path = this->path("k.db");
    const ImportResult r =
        importTextCatalogue({"G-1/1;01.01.2000;4146;2930;1182,37;" + opis}, ";",
                            {column("ODDZIAL", ImportType::Text), column("DATA", ImportType::Date),
                             column("X", ImportType::Integer), column("Y", ImportType::Integer),
                             column("ENG", ImportType::Float), column("OPIS", ImportType::Text)},
                            {}, o, Locale::comma(), path);
    EXPECT_EQ(r.records, 1u);
    const auto t = openTableFile(path, false);
    EXPECT_EQ(t->fieldCount(), 6);
    EXPECT_EQ(t->value(0, 1).toInt(), dayNumber(2000, 1, 1));
    EXPECT_EQ(t->value(0, 4).toDouble(), 1182.37);
    EXPECT_EQ(t->value(0, 5).textValue(), opis);
}

}  // namespace
}  // namespace zorv

// The structure check of a catalogue: its report on a sound file, damaged
// files, missing fields, warnings, and the numbered record errors.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "base/Progress.h"
#include "catalogue/StructureCheck.h"
#include "dbase/DbaseFile.h"
#include "text/Dates.h"

namespace zorv {
namespace {

// The default field names of the catalogue roles.
AnalysisSettings checkSettings() { return {}; }

struct Event {
    std::int32_t day;
    Value x, y, energy;
};

FieldDefs fullFields(FieldType xType = FieldType::Integer) {
    return {{"ODDZIAL", FieldType::String, 10}, {"DATA", FieldType::Date}, {"X", xType},
            {"Y", FieldType::Integer},          {"ENG", FieldType::Float}, {"MAGNITUDA", FieldType::Float}};
}

class StructureCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("zorv-check-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    // Writes a level-7 file of the events with the given fields; fields
    // named ENG/MAGNITUDA/X take the event's values, the rest defaults.
    std::string write(const std::string& name, const FieldDefs& fields, const std::vector<Event>& events) {
        Table t(fields);
        for (const Event& e : events) {
            std::vector<Value> row;
            for (const FieldDef& f : fields) {
                if (f.name == "ODDZIAL")
                    row.push_back(Value::text("G-1/1"));
                else if (f.name == "DATA")
                    row.push_back(Value::date(e.day));
                else if (f.name == "X")
                    row.push_back(e.x);
                else if (f.name == "Y")
                    row.push_back(e.y);
                else if (f.name == "ENG")
                    row.push_back(e.energy);
                else
                    row.push_back(Value::real(1.5));
            }
            t.appendRecord(row);
        }
        const std::string p = (dir_ / name).string();
        writeDbase(t, p);
        return p;
    }
    std::string good(const std::string& name, int n) {
        std::vector<Event> ev;
        for (int i = 0; i < n; ++i)
            ev.push_back({38000 + i / 2, Value::integer(100 + i), Value::integer(200 + i), Value::real(1e3)});
        return write(name, fullFields(), ev);
    }

    std::filesystem::path dir_;
};

bool contains(const std::vector<std::string>& lines, const std::string& l) {
    return std::find(lines.begin(), lines.end(), l) != lines.end();
}

TEST_F(StructureCheckTest, SoundCatalogueWritesTheWholeReport) {
    // Two events a day: equal days are in order.
    StructureCheck check(checkSettings(), good("ok.dbf", 6));
    std::vector<std::pair<CheckStage, StageState>> seen;
    check.setStageObserver([&](CheckStage s, StageState st) { seen.emplace_back(s, st); });
    EXPECT_TRUE(check.run());
    const std::string path = (dir_ / "ok.dbf").string();
    const std::vector<std::string> expected = {
        "Próba otwarcia pliku bazy danych:",
        kCheckReportSeparator,
        "",
        path,
        "Próba zakończona pozytywnie...",
        "",
        "Weryfikacja istnienia i formatu pól bazy danych",
        kCheckReportSeparator,
        "",
        "Strefa [ODDZIAL] Pole istnieje Poprawna struktura pola (Tekst)",
        "",
        "Data [DATA] Pole istnieje Poprawna struktura pola (Format Daty Windows)",
        "",
        "Współrzędna X zjawiska [X] Pole istnieje Poprawna struktura pola (Liczba całkowita 32-bitowa)",
        "",
        "Współrzędna Y zjawiska [Y] Pole istnieje Poprawna struktura pola (Liczba całkowita 32-bitowa)",
        "",
        "Energia [ENG] Pole istnieje Poprawna struktura pola (Liczba zmiennoprzecinkowa)",
        "",
        "Magnituda [MAGNITUDA] Pole istnieje Poprawna struktura pola (Liczba zmiennoprzecinkowa)",
        "",
        "",
        "",
        "Rozpoczęcie przeszukiwania rekordów",
        "Przeszukano 6 rekordów.",
        "Brak błędów",
        ""};
    EXPECT_EQ(check.report(), expected);
    EXPECT_EQ(check.errorCount(), 0);
    EXPECT_FALSE(check.repairOffered());
    for (CheckStage s : {CheckStage::Opening, CheckStage::FieldExistence, CheckStage::FieldFormat,
                         CheckStage::RecordStructure})
        EXPECT_EQ(check.stage(s), StageState::Passed);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), std::make_pair(CheckStage::Opening, StageState::InProgress));
    ASSERT_NE(check.table(), nullptr);
    EXPECT_EQ(check.takeTable()->recordCount(), 6u);
    EXPECT_TRUE(check.failureMessage().empty());
}

TEST_F(StructureCheckTest, DamagedFileFailsTheOpeningWithTheEngineText) {
    const std::string p = (dir_ / "bad.dbf").string();
    std::ofstream(p, std::ios::binary) << "to nie jest plik dBase, tylko tekst";
    StructureCheck check(checkSettings(), p);
    EXPECT_FALSE(check.run());
    EXPECT_EQ(check.stage(CheckStage::Opening), StageState::Failed);
    EXPECT_EQ(check.stage(CheckStage::FieldExistence), StageState::Waiting);
    const auto& r = check.report();
    ASSERT_GE(r.size(), 8u);
    EXPECT_EQ(r[4], "Problem z otwarciem bazy danych...");
    EXPECT_EQ(r[5], "Interfejs BDE zwrócił następujący błąd:");
    EXPECT_NE(r[6].find("bad.dbf"), std::string::npos) << r[6];
    EXPECT_EQ(r[7], "");
    EXPECT_EQ(check.table(), nullptr);
    EXPECT_TRUE(check.repairOffered());
    // The reason, for the error list that has no record to name.
    EXPECT_EQ(check.failureMessage(), r[6]);
    EXPECT_TRUE(check.errorLines().empty());
}

TEST_F(StructureCheckTest, UnexpectedFailureOfTheOpenerIsReportedAsSuch) {
    StructureCheck check(checkSettings(), "x.dbf");
    EXPECT_FALSE(check.openStage(
        [](const std::string&) -> std::unique_ptr<Table> { throw std::runtime_error("brak pamięci"); }));
    EXPECT_TRUE(contains(check.report(), "Przy testowaniu programu nastąpił nieoczekiwany wyjątek:"));
    EXPECT_TRUE(contains(check.report(), "brak pamięci"));
}

TEST_F(StructureCheckTest, MissingFieldsStopTheCheck) {
    // No X and neither energy nor magnitude.
    const FieldDefs fields = {
        {"ODDZIAL", FieldType::String, 10}, {"DATA", FieldType::Date}, {"Y", FieldType::Integer}};
    StructureCheck check(checkSettings(), write("part.dbf", fields, {{38000, {}, Value::integer(1), {}}}));
    EXPECT_FALSE(check.run());
    EXPECT_EQ(check.stage(CheckStage::FieldExistence), StageState::Failed);
    EXPECT_EQ(check.stage(CheckStage::RecordStructure), StageState::Waiting);
    const auto& r = check.report();
    EXPECT_TRUE(contains(r, "Współrzędna X zjawiska [X] Pole nie istnieje!"));
    EXPECT_TRUE(contains(r, "Baza nie posiada wszystkich pól danych..."));
    const auto tail = std::find(r.begin(), r.end(), "Nie istnieją wymagane przez program pola danych:");
    ASSERT_NE(tail, r.end());
    const std::vector<std::string> rest(tail + 1, r.end());
    const std::vector<std::string> expected = {"Współrzędna X zjawiska [X] ", "Energia [ENG] bądź ",
                                               "Magnituda [MAGNITUDA] ", "Baza NIE MOŻE zostać otwarta"};
    EXPECT_EQ(rest, expected);
    EXPECT_FALSE(check.energyExists());
    EXPECT_EQ(check.failureMessage(),
              "Nie istnieją wymagane przez program pola danych: Współrzędna X zjawiska [X], Energia [ENG] "
              "bądź Magnituda [MAGNITUDA]. Baza NIE MOŻE zostać otwarta.");
}

TEST_F(StructureCheckTest, EnergyWithoutMagnitudePassesTheFieldStage) {
    FieldDefs fields = fullFields();
    fields.pop_back();
    StructureCheck check(
        checkSettings(),
        write("eng.dbf", fields, {{38000, Value::integer(1), Value::integer(1), Value::real(5)}}));
    EXPECT_TRUE(check.run());
    EXPECT_TRUE(contains(check.report(), "Magnituda [MAGNITUDA] Pole nie istnieje!"));
    EXPECT_FALSE(check.magnitudeExists());
}

TEST_F(StructureCheckTest, FloatXIsAWarningAndStillReadsAsInteger) {
    StructureCheck check(checkSettings(),
                         write("fx.dbf", fullFields(FieldType::Float),
                               {{38000, Value::real(100.4), Value::integer(1), Value::real(5)},
                                {38001, Value::real(-7.6), Value::integer(1), Value::real(5)}}));
    EXPECT_TRUE(check.run());
    const auto& r = check.report();
    const auto at =
        std::find(r.begin(), r.end(), "Współrzędna X zjawiska [X] Pole istnieje Błędna struktura pola ");
    ASSERT_NE(at, r.end());
    EXPECT_EQ(*(at + 1), "   Jest: Liczba zmiennoprzecinkowa");
    EXPECT_EQ(*(at + 2), "   Powinno być: Liczba całkowita 32-bitowa");
    EXPECT_TRUE(contains(r, "Baza może posiadać pola z nieprawidłowym formatem danych..."));
    EXPECT_EQ(check.stage(CheckStage::FieldFormat), StageState::Failed);
    EXPECT_EQ(check.stage(CheckStage::FieldExistence), StageState::Passed);
}

TEST_F(StructureCheckTest, RecordErrorsAreNumberedAndListed) {
    const std::vector<Event> ev = {
        {38000, Value::integer(1), Value::integer(1), Value::real(5)},
        {38002, Value::integer(1), Value::integer(1), Value::real(5)},
        {38001, Value::integer(1), Value::integer(1), Value::real(5)},  // a day earlier: one order error
        {38001, Value::integer(1), Value::integer(1), Value::real(0)},  // same day again: only the energy
        {38003, Value::integer(1), Value::integer(1), Value::real(-2)},
    };
    StructureCheck check(checkSettings(), write("err.dbf", fullFields(), ev));
    EXPECT_FALSE(check.run());
    const std::vector<std::string> expected = {"[3] Rekordy nie są posortowane względem czasu.",
                                               "[4] Wartość energii zjawiska jest ujemna lub równa zero.",
                                               "[5] Wartość energii zjawiska jest ujemna lub równa zero."};
    EXPECT_EQ(check.errorLines(), expected);
    EXPECT_EQ(check.faultyRecords(), (std::vector<std::size_t>{3, 4, 5}));
    EXPECT_EQ(check.errorCount(), 3);
    EXPECT_TRUE(contains(check.report(), "Liczba błędów :3"));
    EXPECT_TRUE(contains(check.report(), "[4] Wartość energii zjawiska jest ujemna lub równa zero."));
    EXPECT_EQ(check.stage(CheckStage::RecordStructure), StageState::Failed);
    EXPECT_TRUE(check.repairOffered());
    EXPECT_FALSE(check.tooManyErrors());
}

TEST_F(StructureCheckTest, ZeroEnergyIsNoErrorWithoutAnEnergyField) {
    FieldDefs fields = fullFields();
    fields.erase(fields.begin() + 4);  // ENG
    StructureCheck check(
        checkSettings(),
        write("mag.dbf", fields, {{38000, Value::integer(1), Value::integer(1), Value::real(0)}}));
    EXPECT_TRUE(check.run());
}

TEST_F(StructureCheckTest, UnreadableValuesOfTextFields) {
    FieldDefs fields = fullFields();
    fields[2] = {"X", FieldType::String, 10};
    fields[1] = {"DATA", FieldType::String, 10};
    Table t(fields);
    t.appendRecord({Value::text("G-1/1"), Value::text("2004-01-02"), Value::text("12"), Value::integer(1),
                    Value::real(1), Value::real(1)});
    t.appendRecord({Value::text("G-1/1"), Value::text("wczoraj"), Value::text("12,5a"), Value::integer(1),
                    Value::real(1), Value::real(1)});
    const std::string p = (dir_ / "txt.dbf").string();
    writeDbase(t, p);
    StructureCheck check(checkSettings(), p);
    EXPECT_FALSE(check.run());
    const std::vector<std::string> expected = {
        "[2] Konwersja daty niemożliwa.",
        "[2] Nie jest możliwe przekorwertowanie pola X na liczbę całkowitą."};
    EXPECT_EQ(check.errorLines(), expected);
}

TEST_F(StructureCheckTest, ScanStopsAfterMoreThanAHundredErrors) {
    std::vector<Event> ev;
    for (int i = 0; i < 300; ++i) ev.push_back({38000, Value::integer(1), Value::integer(1), Value::real(0)});
    StructureCheck check(checkSettings(), write("many.dbf", fullFields(), ev));
    EXPECT_FALSE(check.run());
    EXPECT_EQ(check.errorCount(), 101);
    EXPECT_TRUE(check.tooManyErrors());
    EXPECT_EQ(check.errorLines().back(), "[101] Wartość energii zjawiska jest ujemna lub równa zero.");
    EXPECT_TRUE(contains(check.report(), "Liczba błędów :101"));
}

TEST_F(StructureCheckTest, DeletingAFaultyRecordReachesTheFile) {
    const std::vector<Event> ev = {{38000, Value::integer(1), Value::integer(1), Value::real(5)},
                                   {38001, Value::integer(2), Value::integer(1), Value::real(0)},
                                   {38002, Value::integer(3), Value::integer(1), Value::real(5)}};
    const std::string p = write("fix.dbf", fullFields(), ev);
    StructureCheck check(checkSettings(), p);
    EXPECT_FALSE(check.run());
    const CheckErrorLine line = parseCheckErrorLine(check.errorLines().at(0));
    EXPECT_EQ(line.recordNumber, 2u);
    EXPECT_EQ(line.message, "Wartość energii zjawiska jest ujemna lub równa zero.");
    check.gotoRecord(line.recordNumber);
    EXPECT_EQ(check.table()->fieldValue("X").toInt(), 2);
    check.deleteCurrentRecord();
    check.takeTable().reset();
    const Table again = readDbase(p);
    ASSERT_EQ(again.physicalCount(), 2u);
    EXPECT_EQ(again.value(1, 2).toInt(), 3);
}

TEST(CheckErrorLine, TakesNumberAndMessageApart) {
    EXPECT_EQ(parseCheckErrorLine("[17] Konwersja daty niemożliwa.").recordNumber, 17u);
    EXPECT_EQ(parseCheckErrorLine("[17] Konwersja daty niemożliwa.").message, "Konwersja daty niemożliwa.");
    EXPECT_EQ(parseCheckErrorLine("bez numeru").recordNumber, 0u);
    EXPECT_EQ(parseCheckErrorLine("[x1] coś").recordNumber, 0u);
}

TEST(CheckMessages, OpeningFailureCarriesTheEngineText) {
    EXPECT_EQ(badCatalogueMessage("plik uszkodzony"),
              "Niewłasciwy format bazy lub baza uszkodzona [ plik uszkodzony ].");
    EXPECT_EQ(std::string(kCheckReportSeparator), std::string(74, '-'));
}

}  // namespace
}  // namespace zorv

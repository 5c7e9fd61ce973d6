// The settings store: the defaults written at the first start and their
// order, damaged values rebuilt once, what Apply saves; the analysis settings
// taken from the preferences and the base properties.

#include <gtest/gtest.h>

#include <algorithm>

#include "catalogue/AnalysisSettings.h"
#include "catalogue/Preferences.h"

namespace zorv {
namespace {

const DefaultDirectories kDirs{"/home/u/Dokumenty", "/home/u/.local/share/Morvane/Zorv/temp"};

TEST(Settings, FirstStartStoresExactlyTheDefaults) {
    MemorySettingsStore store;
    Preferences p;
    const StartupResult r = StartupSettings(store, kDirs, p);
    EXPECT_TRUE(r.defaultsWritten);
    EXPECT_FALSE(r.damaged);
    EXPECT_TRUE(store.keyExists("Reports"));
    // 30 Application, 4 Directories, 13 Hazard and 10 Graphs values.
    EXPECT_EQ(store.writeLog().size(), 57u);
    EXPECT_EQ(store.writeLog().front(), "Application/LocationFilter");
    EXPECT_EQ(store.writeLog().back(), "Graphs/InverseYAxis");
    EXPECT_EQ(*store.read("Application", "EnergyMask"), "0.00E+00");  // upper-case E here,
    EXPECT_EQ(*store.read("Graphs", "EnergyMask"), "0.00e+00");       // lower-case in Graphs
    EXPECT_EQ(*store.read("Hazard", "MaximumMagnitude"), "9");
    EXPECT_EQ(*store.read("Hazard", "Epsilon"), "1e-06");
    EXPECT_EQ(*store.read("Application", "Epsilon"), "2");
    EXPECT_EQ(*store.read("Application", "FilePrefix"), "temp");
    EXPECT_EQ(*store.read("Directories", "DatabaseDir"), kDirs.documents);
    EXPECT_EQ(*store.read("Directories", "ExportImportDir"), kDirs.temp);
    EXPECT_FALSE(store.read("Directories", "Database"));
    Preferences expected;
    expected.WorkingDirectory = expected.DatabaseDirectory = expected.VTABDirectory = kDirs.documents;
    expected.ExportImportDirectory = kDirs.temp;
    EXPECT_EQ(p, expected);
}

TEST(Settings, DamagedNumbersRebuildTheDefaultsOnce) {
    struct Row {
        const char* name;
        const char* key;
        const char* value;
        const char* text;  // nullptr: erase the value
    } rows[] = {
        {"missing double", "Application", "aCoeff", nullptr},
        {"wrongly typed double", "Hazard", "H", "0,12"},
        {"wrongly typed int", "Graphs", "GraphWidth", "450px"},
        {"wrongly typed bool", "Hazard", "RTMI", "tak"},
        {"missing int", "Application", "Epsilon", nullptr},
    };
    for (const Row& row : rows) {
        MemorySettingsStore store;
        Preferences p;
        StartupSettings(store, kDirs, p);
        store.writeDouble("Application", "bCoeff", 1.5);  // a stored edit the rebuild discards
        if (row.text)
            store.write(row.key, row.value, row.text);
        else
            store.erase(row.key, row.value);
        Preferences q;
        const StartupResult r = StartupSettings(store, kDirs, q);
        EXPECT_TRUE(r.damaged) << row.name;
        EXPECT_FALSE(r.defaultsWritten) << row.name;
        EXPECT_EQ(q.b, 1.15) << row.name;
        EXPECT_EQ(*store.read("Application", "bCoeff"), "1.15") << row.name;
    }
}

TEST(Settings, MissingStringLoadsEmptyWithoutComplaint) {
    MemorySettingsStore store;
    Preferences p;
    StartupSettings(store, kDirs, p);
    store.erase("Application", "Data");
    Preferences q;
    const StartupResult r = StartupSettings(store, kDirs, q);
    EXPECT_FALSE(r.damaged);
    EXPECT_EQ(q.Data, "");
}

TEST(Settings, ApplyStoresOnlyWhatItSaves) {
    MemorySettingsStore store;
    Preferences p;
    StartupSettings(store, kDirs, p);
    p.Magnituda = "ML";
    p.Godzina = "HH";  // time-of-day names are not saved
    p.Epsilon = 0;     // nor the accuracy track bar
    p.EnergyMask = "0.0E+00";
    store.clearLog();
    SaveSettings(store, p);
    EXPECT_EQ(store.writeLog().size(), 49u);
    EXPECT_EQ(store.writeLog().front(), "Application/aCoeff");
    EXPECT_EQ(store.writeLog().back(), "Graphs/InverseXAxis");
    const auto& log = store.writeLog();
    EXPECT_EQ(std::count(log.begin(), log.end(), "Application/Godzina"), 0);
    EXPECT_EQ(std::count(log.begin(), log.end(), "Application/Epsilon"), 0);
    EXPECT_EQ(*store.read("Application", "EnergyMask"), "0.0E+00");  // from the Graphs control
    Preferences next;
    StartupSettings(store, kDirs, next);
    EXPECT_EQ(next.Magnituda, "ML");
    EXPECT_EQ(next.Godzina, "GODZ");
    EXPECT_EQ(next.Epsilon, 2);
}

TEST(AnalysisSettings, RefreshTakesCoefficientsFromTheRightPlace) {
    MemorySettingsStore store;
    Preferences p;
    StartupSettings(store, kDirs, p);
    p.a = 1.5;
    p.b = 4.8;
    p.Epsilon = 3;
    const BaseProperties base{2.0, 1.0, 0.9};
    AnalysisSettings s = RefreshAnalysisSettings(p, base, false, 123, store);
    EXPECT_EQ(s.a, 1.5);
    EXPECT_EQ(s.b, 4.8);
    EXPECT_EQ(s.MMin, 0.9);  // always from the base properties
    EXPECT_EQ(s.Epsilon, 1e-6);
    EXPECT_EQ(s.RecordCount, 123);
    EXPECT_EQ(s.FilePrefix, "temp");
    EXPECT_EQ(s.OutputDir, kDirs.temp + "/");
    EXPECT_EQ(s.MMaxLimit, 10.0);
    EXPECT_EQ(s.MinSampleSize, 30);
    s = RefreshAnalysisSettings(p, base, true, 0, store);
    EXPECT_EQ(s.a, 2.0);
    EXPECT_EQ(s.b, 1.0);
    // An empty or absent prefix stays empty; only a store error gives "temp".
    store.erase("Application", "FilePrefix");
    EXPECT_EQ(RefreshAnalysisSettings(p, base, true, 0, store).FilePrefix, "");
    store.setBroken(true);
    EXPECT_EQ(RefreshAnalysisSettings(p, base, true, 0, store).FilePrefix, "temp");
}

TEST(AnalysisSettings, EpsilonPositions) {
    EXPECT_EQ(epsilonOfPosition(0), 1e-3);
    EXPECT_EQ(epsilonOfPosition(3), 1e-6);
    EXPECT_EQ(epsilonOfPosition(7), 1e-5);
    EXPECT_EQ(epsilonOfPosition(-1), 1e-5);
}

}  // namespace
}  // namespace zorv

namespace zorv {
namespace {

// A record built directly carries what a fresh start would give.
TEST(AnalysisSettings, DirectRecordMatchesTheDefaultPreferences) {
    MemorySettingsStore store;
    Preferences p;
    StartupSettings(store, {"/d", "/t"}, p);
    AnalysisSettings fresh = RefreshAnalysisSettings(p, {}, false, 0, store);
    const AnalysisSettings direct;
    fresh.OutputDir = direct.OutputDir;  // the only member that depends on the machine
    EXPECT_EQ(fresh, direct);
    // The threshold of the base properties starts at the preferences' own.
    EXPECT_EQ(direct.MMin, p.MMin);
    EXPECT_EQ(BaseProperties{}.MMin, p.MMin);
}

}  // namespace
}  // namespace zorv

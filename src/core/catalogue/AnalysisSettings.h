#pragma once
// The record of settings every analysis receives a copy of. The main window
// rebuilds it from the preferences (RefreshAnalysisSettings) before each
// analysis, after a catalogue is opened and after the preferences change.

#include <cstdint>
#include <string>

#include "catalogue/Preferences.h"
#include "catalogue/SettingsStore.h"
#include "text/Locale.h"

namespace zorv {

// A record built directly (tests, tools) carries the default settings.
struct AnalysisSettings {
    std::string FilePrefix = "temp";  // base name of temporary result tables
    std::string EnergyChar = "E";     // energy abbreviation in captions
    std::string EnergyField = "ENG";  // field names of the roles
    std::string DepartmentField = "ODDZIAL";
    std::string MagnitudeField = "MAGNITUDA";
    std::string DateField = "DATA";
    double a = 1.96;  // log10 E = a·M + b
    double b = 1.15;
    std::string ReportFontName = "Courier New";
    std::string MainTitle = "Katalog";
    std::string OutputDir;  // folder of result tables, ending in "/"
    std::string EnergyMask = "0.00e+00";
    std::string ProbabilityMask = "0.000";
    std::string ZoneSeparator = "/";
    std::string TableExtension = ".dbf";
    std::string ZonePrefix = "G-";
    std::string XField = "X";
    std::string YField = "Y";
    std::int32_t RecordCount = 0;  // records of the catalogue when it was opened
    // The CRS of the catalogue's X/Y as its .crs file names it
    // ("EPSG:32634 (WGS 84 / UTM zone 34N)"); empty when it has none.
    std::string CoordinateSystem;
    bool MagnitudeOnly = true;
    bool PrintMarkup = false;  // set only around the printing of a report
    double Epsilon = 1e-5;     // numerical tolerance
    std::int32_t Iterations = 20;
    std::int32_t IntegralIterations = 40;
    double MMin = kDefaultMMin;  // completeness threshold (magnitude)
    double MMaxLimit = 10.0;     // largest maximum-magnitude estimate accepted
    double H = 0.12;             // alternative smoothing factor
    bool UseRTMI = true;
    bool UseRTNI = true;
    double RTNIStart = 0.2;
    double RTMIStart = 0.001;
    double RTMIEnd = 1.0;
    std::int32_t MinSampleSize = 30;
    // Magnitudes that tie at their resolution (0.1, 0.01, …) are spread over
    // their rounding intervals before a kernel estimate, with this seed.
    bool RandomiseTiedMagnitudes = true;
    std::uint64_t RandomisationSeed = 1;
    // False: the hazard estimators run quietly even when handed a progress —
    // nothing shown, no cancel polled, no small-sample question (the windows
    // of the time variations run so).
    bool WithProgress = true;
    // The user's number and date conventions, for every text an analysis
    // writes (reports, text tables, period filters).
    Locale UserLocale;

    friend bool operator==(const AnalysisSettings&, const AnalysisSettings&) = default;
};

// The values of the catalogue's base properties dialog.
struct BaseProperties {
    double a = 1.96;
    double b = 1.15;
    double MMin = kDefaultMMin;
};

// Accuracy of the track bar position: 0 → 1e-3, 1 → 1e-4, 2 → 1e-5,
// 3 → 1e-6; any other position → 1e-5.
double epsilonOfPosition(int position);

// Rebuilds the record. `a` and `b` come from the base properties while
// `basePropertiesSet`, else from the preferences; MMin always from the base
// properties. "FilePrefix" is read from the store directly: absent → "",
// a store error → "temp".
AnalysisSettings RefreshAnalysisSettings(const Preferences& prefs, const BaseProperties& base,
                                         bool basePropertiesSet, std::int32_t recordCount,
                                         const SettingsStore& store, const Locale& locale = {});

}  // namespace zorv

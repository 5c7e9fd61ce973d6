#pragma once
// The program's preferences: the values of the preferences dialog, which are
// the live settings while the program runs, and their persistent form in the
// settings store.

#include <string>

#include "catalogue/SettingsStore.h"

namespace zorv {

// The completeness threshold (magnitude) of a fresh start, and of every
// settings record built directly.
inline constexpr double kDefaultMMin = 1.3;

// Members are named after the dialog controls that hold them.
// A font of a printed report section, as the user chose it.
struct ReportFontChoice {
    std::string family;
    double points = 10.0;
    bool bold = false;
    bool italic = false;
    friend bool operator==(const ReportFontChoice&, const ReportFontChoice&) = default;
};

struct Preferences {
    // "Directories"
    std::string WorkingDirectory;
    std::string ExportImportDirectory;
    std::string DatabaseDirectory;
    std::string VTABDirectory;
    // "Hazard"
    int Iterations = 20;
    int IntegralIterations = 40;
    double RTNIStart = 0.2;
    double RTMIStart = 0.001;
    double RTMIEnd = 1.0;
    double H = 0.12;
    double MMin = kDefaultMMin;
    bool Auto = true;
    bool RTMI = true;
    bool RTNI = true;
    // "Application"
    std::string LocationFilter = "<>0";
    double a = 1.96;
    double b = 1.15;
    bool onlyMagnitude = true;
    std::string X = "X";
    std::string Y = "Y";
    std::string Energia = "ENG";
    std::string Oddzial = "ODDZIAL";
    std::string Data = "DATA";
    std::string Prefix = "G-";
    std::string Slash = "/";
    std::string Magnituda = "MAGNITUDA";
    bool DescrFilter = true;
    std::string EnergiaChar = "E";
    bool CheckDBF = true;
    bool AnimationsOn = false;
    bool BlockZoomForActivities = true;
    bool GraphZoom = true;
    int Epsilon = 2;  // accuracy track bar position 0..3
    bool CoolBits = false;
    bool Rejestratory = false;
    bool ShowSeismometers = false;
    std::string Sekunda = "SEK";
    std::string Minuta = "MIN";
    std::string Godzina = "GODZ";
    bool VTABStatus = true;
    bool SeisFilter = true;
    bool CopySeisFilter = true;
    // "Graphs"
    std::string MainTitle = "Katalog";
    bool ShowLegend = true;
    int GraphWidth = 450;   // [px]
    int GraphHeight = 350;  // [px]
    std::string ProbabilityMask = "0.000";
    std::string EnergyMask = "0.00e+00";
    std::string TemplateFileName;
    int JPEGQuality = 100;
    bool InverseXAxis = true;
    bool InverseYAxis = false;
    // The "Raport" page is not stored: it keeps these until the program ends.
    std::string ReportFontName = "Courier New";
    // The fonts of the five sections of a printed report.
    ReportFontChoice TitleFont{"Arial", 20};
    ReportFontChoice HeaderFont{"Arial", 14};
    ReportFontChoice ParametersFont{"Courier", 10};
    ReportFontChoice TableFont{"Arial", 10};
    ReportFontChoice FooterFont{"Arial", 10};
    double PrinterGraphWidth = 16.0;   // [cm]
    double PrinterGraphHeight = 12.0;  // [cm]

    friend bool operator==(const Preferences&, const Preferences&) = default;
};

// Where the default directories point on this machine.
struct DefaultDirectories {
    std::string documents;  // the user's documents folder
    std::string temp;       // the program's writable temporary folder
};

// Writes every default value, key by key in the stored order; the "Reports"
// key is only created.
void WriteDefaultSettings(SettingsStore& store, const DefaultDirectories& dirs);

// Reads the store into `prefs` (values the store does not load keep what
// `prefs` holds). A missing or wrongly typed integer, double or boolean
// throws SettingsError; a missing string reads as "".
void LoadSettings(const SettingsStore& store, Preferences& prefs);

// Writes the values the Apply button stores, in their order.
void SaveSettings(SettingsStore& store, const Preferences& prefs);

// Deletes the whole root; the next start writes the defaults.
void ResetSettings(SettingsStore& store);

// The message shown when the stored settings were damaged (no full stop).
extern const char* const kDamagedSettingsMessage;

struct StartupResult {
    bool defaultsWritten = false;  // the store had no root
    bool damaged = false;          // loading failed: kDamagedSettingsMessage is due
};

// Start-up: defaults when there is no root, then load; a load that fails
// deletes the root, writes the defaults and loads again. The caller shows
// kDamagedSettingsMessage when `damaged` is set.
StartupResult StartupSettings(SettingsStore& store, const DefaultDirectories& dirs, Preferences& prefs);

}  // namespace zorv

#include "catalogue/Preferences.h"

#include <algorithm>
#include <variant>
#include <vector>

namespace zorv {

namespace {

using Member = std::variant<std::monostate, std::string Preferences::*, bool Preferences::*,
                            int Preferences::*, double Preferences::*>;
using FixedValue = std::variant<std::monostate, const char*, bool, int, double>;

// One value of the settings store. `member` is the preference it is loaded
// into (when `loaded`) and saved from; a value with a `fixed` default is
// written with that instead of the member's default. The two masks of the
// Hazard and Application keys have no control of their own: they are saved
// from the masks of the Graphs page. The positions give the order in which
// the defaults and the saved values are written (0: not written then).
struct Setting {
    const char* key;
    const char* name;
    Member member;
    FixedValue fixed;
    bool loaded;
    int defaultPosition;
    int savePosition;
};

using P = Preferences;

// In the order of loading.
// clang-format off
const Setting kSettings[] = {
    {"Directories", "WorkDir", &P::WorkingDirectory, std::monostate{}, true, 31, 25},
    {"Directories", "ExportImportDir", &P::ExportImportDirectory, std::monostate{}, true, 32, 26},
    {"Directories", "DatabaseDir", &P::DatabaseDirectory, std::monostate{}, true, 33, 27},
    {"Directories", "VTABDir", &P::VTABDirectory, std::monostate{}, true, 34, 28},
    {"Hazard", "Iterations", &P::Iterations, std::monostate{}, true, 43, 35},
    {"Hazard", "IntegralIterations", &P::IntegralIterations, std::monostate{}, true, 44, 36},
    {"Hazard", "RTNIStart", &P::RTNIStart, std::monostate{}, true, 42, 34},
    {"Hazard", "RTMIStart", &P::RTMIStart, std::monostate{}, true, 40, 32},
    {"Hazard", "RTMIEnd", &P::RTMIEnd, std::monostate{}, true, 41, 33},
    {"Hazard", "H", &P::H, std::monostate{}, true, 36, 30},
    {"Hazard", "MMin", &P::MMin, std::monostate{}, true, 37, 31},
    {"Hazard", "AutoRT", &P::Auto, std::monostate{}, true, 47, 39},
    {"Hazard", "RTMI", &P::RTMI, std::monostate{}, true, 45, 37},
    {"Hazard", "RTNI", &P::RTNI, std::monostate{}, true, 46, 38},
    {"Application", "LocationFilter", &P::LocationFilter, std::monostate{}, true, 1, 12},
    {"Application", "aCoeff", &P::a, std::monostate{}, true, 2, 1},
    {"Application", "bCoeff", &P::b, std::monostate{}, true, 3, 2},
    {"Application", "MagnitudeOnly", &P::onlyMagnitude, std::monostate{}, true, 4, 3},
    {"Application", "X", &P::X, std::monostate{}, true, 5, 4},
    {"Application", "Y", &P::Y, std::monostate{}, true, 6, 5},
    {"Application", "Energia", &P::Energia, std::monostate{}, true, 7, 6},
    {"Application", "Oddzial", &P::Oddzial, std::monostate{}, true, 8, 7},
    {"Application", "Data", &P::Data, std::monostate{}, true, 9, 8},
    {"Application", "Prefix", &P::Prefix, std::monostate{}, true, 10, 9},
    {"Application", "Slash", &P::Slash, std::monostate{}, true, 11, 10},
    {"Application", "Magnituda", &P::Magnituda, std::monostate{}, true, 12, 14},
    {"Application", "DescriptiveFilter", &P::DescrFilter, std::monostate{}, true, 13, 11},
    {"Application", "EnergiaChar", &P::EnergiaChar, std::monostate{}, true, 15, 13},
    {"Application", "CheckDBF", &P::CheckDBF, std::monostate{}, true, 17, 16},
    {"Application", "AnimationsOn", &P::AnimationsOn, std::monostate{}, true, 18, 17},
    {"Application", "BZForActivities", &P::BlockZoomForActivities, std::monostate{}, true, 19, 18},
    {"Application", "GraphZoom", &P::GraphZoom, std::monostate{}, true, 20, 19},
    {"Application", "Epsilon", &P::Epsilon, std::monostate{}, true, 21, 0},
    {"Application", "CoolBits", &P::CoolBits, std::monostate{}, true, 22, 0},
    {"Application", "Rejestratory", &P::Rejestratory, std::monostate{}, true, 23, 21},
    {"Application", "ShowSeismometers", &P::ShowSeismometers, std::monostate{}, true, 24, 22},
    {"Application", "Sekunda", &P::Sekunda, std::monostate{}, true, 25, 0},
    {"Application", "Minuta", &P::Minuta, std::monostate{}, true, 26, 0},
    {"Application", "Godzina", &P::Godzina, std::monostate{}, true, 27, 0},
    {"Application", "VTABStatus", &P::VTABStatus, std::monostate{}, true, 28, 20},
    {"Application", "SeisFilter", &P::SeisFilter, std::monostate{}, true, 29, 23},
    {"Application", "CopySeisFilter", &P::CopySeisFilter, std::monostate{}, true, 30, 24},
    {"Graphs", "Title", &P::MainTitle, std::monostate{}, true, 48, 40},
    {"Graphs", "ShowLegend", &P::ShowLegend, std::monostate{}, true, 49, 41},
    {"Graphs", "GraphWidth", &P::GraphWidth, std::monostate{}, true, 50, 42},
    {"Graphs", "GraphHeight", &P::GraphHeight, std::monostate{}, true, 51, 43},
    {"Graphs", "ProbabilityMask", &P::ProbabilityMask, std::monostate{}, true, 52, 44},
    {"Graphs", "EnergyMask", &P::EnergyMask, std::monostate{}, true, 53, 45},
    {"Graphs", "TemplateFileName", &P::TemplateFileName, std::monostate{}, true, 54, 46},
    {"Graphs", "JPEGQuality", &P::JPEGQuality, std::monostate{}, true, 55, 47},
    {"Graphs", "InverseXAxis", &P::InverseXAxis, std::monostate{}, true, 56, 49},
    {"Graphs", "InverseYAxis", &P::InverseYAxis, std::monostate{}, true, 57, 48},
    {"Application", "FilePrefix", std::monostate{}, "temp", false, 14, 0},
    {"Application", "EnergyMask", &P::EnergyMask, "0.00E+00", false, 16, 15},
    {"Hazard", "ProbabilityMask", &P::ProbabilityMask, "0.000", false, 35, 29},
    {"Hazard", "MaximumMagnitude", std::monostate{}, 9.0, false, 38, 0},
    {"Hazard", "Epsilon", std::monostate{}, 1e-06, false, 39, 0},
};
// clang-format on

// The settings written at `position` of their order, in that order.
std::vector<const Setting*> inOrder(int Setting::*position) {
    std::vector<const Setting*> out;
    for (const Setting& s : kSettings)
        if (s.*position > 0) out.push_back(&s);
    std::sort(out.begin(), out.end(),
              [position](const Setting* a, const Setting* b) { return a->*position < b->*position; });
    return out;
}

const std::vector<const Setting*>& defaultOrder() {
    static const std::vector<const Setting*> order = inOrder(&Setting::defaultPosition);
    return order;
}

const std::vector<const Setting*>& saveOrder() {
    static const std::vector<const Setting*> order = inOrder(&Setting::savePosition);
    return order;
}

void writeMember(SettingsStore& store, const Setting& b, const Preferences& p) {
    std::visit(
        [&](auto member) {
            if constexpr (std::is_same_v<decltype(member), std::monostate>) {
                return;
            } else {
                const auto& v = p.*member;
                using T = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<T, std::string>)
                    store.writeString(b.key, b.name, v);
                else if constexpr (std::is_same_v<T, bool>)
                    store.writeBool(b.key, b.name, v);
                else if constexpr (std::is_same_v<T, int>)
                    store.writeInt(b.key, b.name, v);
                else
                    store.writeDouble(b.key, b.name, v);
            }
        },
        b.member);
}

void writeFixed(SettingsStore& store, const Setting& f) {
    std::visit(
        [&](auto v) {
            using T = decltype(v);
            if constexpr (std::is_same_v<T, const char*>)
                store.writeString(f.key, f.name, v);
            else if constexpr (std::is_same_v<T, bool>)
                store.writeBool(f.key, f.name, v);
            else if constexpr (std::is_same_v<T, int>)
                store.writeInt(f.key, f.name, v);
            else if constexpr (std::is_same_v<T, double>)
                store.writeDouble(f.key, f.name, v);
        },
        f.fixed);
}

void readMember(const SettingsStore& store, const Setting& b, Preferences& p) {
    std::visit(
        [&](auto member) {
            if constexpr (std::is_same_v<decltype(member), std::monostate>) {
                return;
            } else {
                auto& v = p.*member;
                using T = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<T, std::string>)
                    v = store.readString(b.key, b.name);
                else if constexpr (std::is_same_v<T, bool>)
                    v = store.readBool(b.key, b.name);
                else if constexpr (std::is_same_v<T, int>)
                    v = store.readInt(b.key, b.name);
                else
                    v = store.readDouble(b.key, b.name);
            }
        },
        b.member);
}

}  // namespace

const char* const kDamagedSettingsMessage =
    "Program wykrył, że na tym komputerze była zainstalowana wcześniejsza wersja programu Zorv, ewentualnie "
    "dane zapisane w rejestrze zostały uszkodzone. Program przywróci ustawienia domyślne";

void WriteDefaultSettings(SettingsStore& store, const DefaultDirectories& dirs) {
    Preferences defaults;
    defaults.WorkingDirectory = dirs.documents;
    defaults.DatabaseDirectory = dirs.documents;
    defaults.VTABDirectory = dirs.documents;
    defaults.ExportImportDirectory = dirs.temp;
    store.createKey("Reports");
    for (const Setting* s : defaultOrder()) {
        if (std::holds_alternative<std::monostate>(s->fixed))
            writeMember(store, *s, defaults);
        else
            writeFixed(store, *s);
    }
}

void LoadSettings(const SettingsStore& store, Preferences& prefs) {
    // Into a copy, so that a failure leaves the live values as they were.
    Preferences p = prefs;
    for (const Setting& s : kSettings)
        if (s.loaded) readMember(store, s, p);
    prefs = p;
}

void SaveSettings(SettingsStore& store, const Preferences& prefs) {
    store.createKey("Reports");
    for (const Setting* s : saveOrder()) writeMember(store, *s, prefs);
}

void ResetSettings(SettingsStore& store) { store.deleteRoot(); }

StartupResult StartupSettings(SettingsStore& store, const DefaultDirectories& dirs, Preferences& prefs) {
    StartupResult r;
    if (!store.rootExists()) {
        WriteDefaultSettings(store, dirs);
        r.defaultsWritten = true;
    }
    try {
        LoadSettings(store, prefs);
    } catch (const SettingsError&) {
        r.damaged = true;
        store.deleteRoot();
        WriteDefaultSettings(store, dirs);
        LoadSettings(store, prefs);
    }
    return r;
}

}  // namespace zorv

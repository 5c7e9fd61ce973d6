#include "catalogue/Preferences.h"

#include <variant>

namespace zorv {

namespace {

using Member =
    std::variant<std::string Preferences::*, bool Preferences::*, int Preferences::*, double Preferences::*>;

struct Binding {
    const char* key;
    const char* name;
    Member member;
};

// A value that has no control: written with its default, never loaded.
struct Fixed {
    const char* key;
    const char* name;
    std::variant<const char*, bool, int, double> value;
};

using P = Preferences;

// Values loaded into the controls.
const Binding kLoaded[] = {
    {"Directories", "WorkDir", &P::WorkingDirectory},
    {"Directories", "ExportImportDir", &P::ExportImportDirectory},
    {"Directories", "DatabaseDir", &P::DatabaseDirectory},
    {"Directories", "VTABDir", &P::VTABDirectory},
    {"Hazard", "Iterations", &P::Iterations},
    {"Hazard", "IntegralIterations", &P::IntegralIterations},
    {"Hazard", "RTNIStart", &P::RTNIStart},
    {"Hazard", "RTMIStart", &P::RTMIStart},
    {"Hazard", "RTMIEnd", &P::RTMIEnd},
    {"Hazard", "H", &P::H},
    {"Hazard", "MMin", &P::MMin},
    {"Hazard", "AutoRT", &P::Auto},
    {"Hazard", "RTMI", &P::RTMI},
    {"Hazard", "RTNI", &P::RTNI},
    {"Application", "LocationFilter", &P::LocationFilter},
    {"Application", "aCoeff", &P::a},
    {"Application", "bCoeff", &P::b},
    {"Application", "MagnitudeOnly", &P::onlyMagnitude},
    {"Application", "X", &P::X},
    {"Application", "Y", &P::Y},
    {"Application", "Energia", &P::Energia},
    {"Application", "Oddzial", &P::Oddzial},
    {"Application", "Data", &P::Data},
    {"Application", "Prefix", &P::Prefix},
    {"Application", "Slash", &P::Slash},
    {"Application", "Magnituda", &P::Magnituda},
    {"Application", "DescriptiveFilter", &P::DescrFilter},
    {"Application", "EnergiaChar", &P::EnergiaChar},
    {"Application", "CheckDBF", &P::CheckDBF},
    {"Application", "AnimationsOn", &P::AnimationsOn},
    {"Application", "BZForActivities", &P::BlockZoomForActivities},
    {"Application", "GraphZoom", &P::GraphZoom},
    {"Application", "Epsilon", &P::Epsilon},
    {"Application", "CoolBits", &P::CoolBits},
    {"Application", "Rejestratory", &P::Rejestratory},
    {"Application", "ShowSeismometers", &P::ShowSeismometers},
    {"Application", "Sekunda", &P::Sekunda},
    {"Application", "Minuta", &P::Minuta},
    {"Application", "Godzina", &P::Godzina},
    {"Application", "VTABStatus", &P::VTABStatus},
    {"Application", "SeisFilter", &P::SeisFilter},
    {"Application", "CopySeisFilter", &P::CopySeisFilter},
    {"Graphs", "Title", &P::MainTitle},
    {"Graphs", "ShowLegend", &P::ShowLegend},
    {"Graphs", "GraphWidth", &P::GraphWidth},
    {"Graphs", "GraphHeight", &P::GraphHeight},
    {"Graphs", "ProbabilityMask", &P::ProbabilityMask},
    {"Graphs", "EnergyMask", &P::EnergyMask},
    {"Graphs", "TemplateFileName", &P::TemplateFileName},
    {"Graphs", "JPEGQuality", &P::JPEGQuality},
    {"Graphs", "InverseXAxis", &P::InverseXAxis},
    {"Graphs", "InverseYAxis", &P::InverseYAxis},
};

const Binding* loaded(const char* key, const char* name) {
    for (const Binding& b : kLoaded)
        if (std::string_view(b.key) == key && std::string_view(b.name) == name) return &b;
    return nullptr;
}

// The order in which the defaults are written; names without a control
// carry their fixed default.
const std::variant<const char*, Fixed> kDefaultOrder[] = {
    "Application/LocationFilter",
    "Application/aCoeff",
    "Application/bCoeff",
    "Application/MagnitudeOnly",
    "Application/X",
    "Application/Y",
    "Application/Energia",
    "Application/Oddzial",
    "Application/Data",
    "Application/Prefix",
    "Application/Slash",
    "Application/Magnituda",
    "Application/DescriptiveFilter",
    Fixed{"Application", "FilePrefix", "temp"},
    "Application/EnergiaChar",
    Fixed{"Application", "EnergyMask", "0.00E+00"},
    "Application/CheckDBF",
    "Application/AnimationsOn",
    "Application/BZForActivities",
    "Application/GraphZoom",
    "Application/Epsilon",
    "Application/CoolBits",
    "Application/Rejestratory",
    "Application/ShowSeismometers",
    "Application/Sekunda",
    "Application/Minuta",
    "Application/Godzina",
    "Application/VTABStatus",
    "Application/SeisFilter",
    "Application/CopySeisFilter",
    "Directories/WorkDir",
    "Directories/ExportImportDir",
    "Directories/DatabaseDir",
    "Directories/VTABDir",
    Fixed{"Hazard", "ProbabilityMask", "0.000"},
    "Hazard/H",
    "Hazard/MMin",
    Fixed{"Hazard", "MaximumMagnitude", 9.0},
    Fixed{"Hazard", "Epsilon", 1e-06},
    "Hazard/RTMIStart",
    "Hazard/RTMIEnd",
    "Hazard/RTNIStart",
    "Hazard/Iterations",
    "Hazard/IntegralIterations",
    "Hazard/RTMI",
    "Hazard/RTNI",
    "Hazard/AutoRT",
    "Graphs/Title",
    "Graphs/ShowLegend",
    "Graphs/GraphWidth",
    "Graphs/GraphHeight",
    "Graphs/ProbabilityMask",
    "Graphs/EnergyMask",
    "Graphs/TemplateFileName",
    "Graphs/JPEGQuality",
    "Graphs/InverseXAxis",
    "Graphs/InverseYAxis",
};

// What Apply writes, in order. The two masks of the Hazard and Application
// keys have no control of their own: they are written from the masks of the
// Graphs page.
const char* const kSaveOrder[] = {
    "Application/aCoeff",
    "Application/bCoeff",
    "Application/MagnitudeOnly",
    "Application/X",
    "Application/Y",
    "Application/Energia",
    "Application/Oddzial",
    "Application/Data",
    "Application/Prefix",
    "Application/Slash",
    "Application/DescriptiveFilter",
    "Application/LocationFilter",
    "Application/EnergiaChar",
    "Application/Magnituda",
    "Application/EnergyMask",
    "Application/CheckDBF",
    "Application/AnimationsOn",
    "Application/BZForActivities",
    "Application/GraphZoom",
    "Application/VTABStatus",
    "Application/Rejestratory",
    "Application/ShowSeismometers",
    "Application/SeisFilter",
    "Application/CopySeisFilter",
    "Directories/WorkDir",
    "Directories/ExportImportDir",
    "Directories/DatabaseDir",
    "Directories/VTABDir",
    "Hazard/ProbabilityMask",
    "Hazard/H",
    "Hazard/MMin",
    "Hazard/RTMIStart",
    "Hazard/RTMIEnd",
    "Hazard/RTNIStart",
    "Hazard/Iterations",
    "Hazard/IntegralIterations",
    "Hazard/RTMI",
    "Hazard/RTNI",
    "Hazard/AutoRT",
    "Graphs/Title",
    "Graphs/ShowLegend",
    "Graphs/GraphWidth",
    "Graphs/GraphHeight",
    "Graphs/ProbabilityMask",
    "Graphs/EnergyMask",
    "Graphs/TemplateFileName",
    "Graphs/JPEGQuality",
    "Graphs/InverseYAxis",
    "Graphs/InverseXAxis",
};

// The binding of a "Key/Name" path; the masks without a control of their own
// take the Graphs page's.
Binding bindingOf(std::string_view path) {
    const auto slash = path.find('/');
    const std::string key(path.substr(0, slash)), name(path.substr(slash + 1));
    if (const Binding* b = loaded(key.c_str(), name.c_str())) return *b;
    const Binding* graphs = loaded("Graphs", name.c_str());
    return {key == "Hazard" ? "Hazard" : "Application", graphs->name, graphs->member};
}

void writeMember(SettingsStore& store, const Binding& b, const Preferences& p) {
    std::visit(
        [&](auto member) {
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
        },
        b.member);
}

void readMember(const SettingsStore& store, const Binding& b, Preferences& p) {
    std::visit(
        [&](auto member) {
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
    for (const auto& entry : kDefaultOrder) {
        if (const auto* path = std::get_if<const char*>(&entry)) {
            writeMember(store, bindingOf(*path), defaults);
            continue;
        }
        const Fixed& f = std::get<Fixed>(entry);
        std::visit(
            [&](auto v) {
                using T = decltype(v);
                if constexpr (std::is_same_v<T, const char*>)
                    store.writeString(f.key, f.name, v);
                else if constexpr (std::is_same_v<T, bool>)
                    store.writeBool(f.key, f.name, v);
                else if constexpr (std::is_same_v<T, int>)
                    store.writeInt(f.key, f.name, v);
                else
                    store.writeDouble(f.key, f.name, v);
            },
            f.value);
    }
}

void LoadSettings(const SettingsStore& store, Preferences& prefs) {
    // Into a copy, so that a failure leaves the live values as they were.
    Preferences p = prefs;
    for (const Binding& b : kLoaded) readMember(store, b, p);
    prefs = p;
}

void SaveSettings(SettingsStore& store, const Preferences& prefs) {
    store.createKey("Reports");
    for (const char* path : kSaveOrder) writeMember(store, bindingOf(path), prefs);
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

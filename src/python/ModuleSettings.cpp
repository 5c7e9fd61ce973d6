#include "ModuleSettings.h"

#include <cmath>
#include <cstdlib>

#include "registry/OptionSource.h"

namespace zorv::python {

namespace {

using Member =
    std::variant<std::string Preferences::*, double Preferences::*, int Preferences::*, bool Preferences::*>;

struct NamedMember {
    const char* name;
    Member member;
};

// The preferences an analysis reads, by their names in the settings file.
const NamedMember kMembers[] = {
    {"Magnituda", &Preferences::Magnituda},
    {"Energia", &Preferences::Energia},
    {"Data", &Preferences::Data},
    {"Oddzial", &Preferences::Oddzial},
    {"X", &Preferences::X},
    {"Y", &Preferences::Y},
    {"Slash", &Preferences::Slash},
    {"Prefix", &Preferences::Prefix},
    {"EnergiaChar", &Preferences::EnergiaChar},
    {"LocationFilter", &Preferences::LocationFilter},
    {"onlyMagnitude", &Preferences::onlyMagnitude},
    {"MainTitle", &Preferences::MainTitle},
    {"EnergyMask", &Preferences::EnergyMask},
    {"ProbabilityMask", &Preferences::ProbabilityMask},
    {"Epsilon", &Preferences::Epsilon},
    {"Iterations", &Preferences::Iterations},
    {"IntegralIterations", &Preferences::IntegralIterations},
    {"RTNIStart", &Preferences::RTNIStart},
    {"RTMIStart", &Preferences::RTMIStart},
    {"RTMIEnd", &Preferences::RTMIEnd},
    {"H", &Preferences::H},
    {"Auto", &Preferences::Auto},
    {"RTMI", &Preferences::RTMI},
    {"RTNI", &Preferences::RTNI},
};

double numberOf(const SettingValue& v, const std::string& name) {
    if (const auto* d = std::get_if<double>(&v)) return *d;
    if (const auto* i = std::get_if<long long>(&v)) return static_cast<double>(*i);
    if (const auto* s = std::get_if<std::string>(&v)) return parseOptionNumber(*s, name.c_str());
    throw OptionError("Ustawienie " + name + " przyjmuje liczbę.");
}

void setMember(Preferences& p, const NamedMember& m, const SettingValue& v) {
    const std::string name = m.name;
    std::visit(
        [&](auto member) {
            using T = std::remove_reference_t<decltype(p.*member)>;
            if constexpr (std::is_same_v<T, std::string>) {
                const auto* s = std::get_if<std::string>(&v);
                if (!s) throw OptionError("Ustawienie " + name + " przyjmuje tekst.");
                p.*member = *s;
            } else if constexpr (std::is_same_v<T, bool>) {
                const auto* b = std::get_if<bool>(&v);
                if (!b) throw OptionError("Ustawienie " + name + " przyjmuje True lub False.");
                p.*member = *b;
            } else if constexpr (std::is_same_v<T, int>) {
                const double d = numberOf(v, name);
                if (d != std::trunc(d) || std::abs(d) > 1e9)
                    throw OptionError("Ustawienie " + name + " przyjmuje liczbę całkowitą.");
                p.*member = static_cast<int>(d);
            } else {
                p.*member = numberOf(v, name);
            }
        },
        m.member);
}

}  // namespace

AnalysisSettings ModuleSettings::analysisSettings(std::int32_t recordCount) const {
    return RefreshAnalysisSettings(prefs, base, true, recordCount, *store, locale);
}

void applySettingOverrides(ModuleSettings& s, const std::map<std::string, SettingValue>& overrides) {
    for (const auto& [name, value] : overrides) {
        if (name == "mmin")
            s.base.MMin = numberOf(value, name);
        else if (name == "a")
            s.base.a = numberOf(value, name);
        else if (name == "b")
            s.base.b = numberOf(value, name);
        else if (name == "locale") {
            const auto* text = std::get_if<std::string>(&value);
            if (!text || (*text != "pl" && *text != "en"))
                throw OptionError("Ustawienie locale przyjmuje \"pl\" lub \"en\".");
            s.locale = *text == "en" ? Locale::point() : Locale::comma();
        } else {
            const NamedMember* found = nullptr;
            for (const NamedMember& m : kMembers)
                if (name == m.name) found = &m;
            if (!found) throw OptionError("Nieznane ustawienie: " + name);
            setMember(s.prefs, *found, value);
            // The relation of the preferences stands until mmin, a, b say otherwise.
        }
    }
}

ModuleSettings readModuleSettings(const std::string& file,
                                  const std::map<std::string, SettingValue>& overrides) {
    ModuleSettings s;
    s.locale = Locale::comma();
    s.store = std::make_shared<IniSettingsStore>(file.empty() ? IniSettingsStore::userFile() : file);
    if (!file.empty() && !s.store->rootExists()) throw SettingsError("Brak pliku ustawień " + file);
    // Where zorv-batch puts its result tables, which name them.
    const char* data = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    s.prefs.ExportImportDirectory =
        (data && *data ? std::string(data) : std::string(home ? home : "") + "/.local/share") +
        "/Morvane/Zorv/temp";
    if (s.store->rootExists()) {
        try {
            LoadSettings(*s.store, s.prefs);
        } catch (const SettingsError& e) {
            s.warnings.push_back(std::string("Uszkodzone ustawienia (") + e.what() +
                                 ") - użyto ustawień domyślnych.");
        }
    }
    s.base = {s.prefs.a, s.prefs.b, s.prefs.MMin};
    applySettingOverrides(s, overrides);
    return s;
}

std::vector<std::string> settingNames() {
    std::vector<std::string> out = {"mmin", "a", "b", "locale"};
    for (const NamedMember& m : kMembers) out.push_back(m.name);
    return out;
}

}  // namespace zorv::python

#pragma once
// The settings a catalogue is analysed with from Python: the user's settings
// file (or a named one) read as zorv-batch reads it, then the keyword
// arguments over it.

#include <map>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "IniSettingsStore.h"
#include "catalogue/AnalysisSettings.h"
#include "catalogue/Preferences.h"

namespace zorv::python {

// A keyword argument's value as the settings take it.
using SettingValue = std::variant<bool, long long, double, std::string>;

struct ModuleSettings {
    std::shared_ptr<IniSettingsStore> store;
    Preferences prefs;
    BaseProperties base;                // the preferences' relation, or mmin, a, b
    Locale locale;                      // comma decimals unless locale="en"
    std::vector<std::string> warnings;  // a damaged settings file

    // The record an analysis receives, for a catalogue of `recordCount`
    // records.
    AnalysisSettings analysisSettings(std::int32_t recordCount) const;
};

// The settings of `file` ("" for the user's file), then `overrides`: mmin,
// a, b, locale ("pl" or "en") and the preferences by their member names (Magnituda, Energia, Data, Oddzial,
// X, Y, Slash, Prefix, LocationFilter, H, Auto, Iterations, ...). Throws OptionError for an unknown name or a
// value of the wrong kind.
ModuleSettings readModuleSettings(const std::string& file,
                                  const std::map<std::string, SettingValue>& overrides);

// Applies further overrides to settings already read.
void applySettingOverrides(ModuleSettings& s, const std::map<std::string, SettingValue>& overrides);

// The names readModuleSettings takes besides "settings".
std::vector<std::string> settingNames();

}  // namespace zorv::python

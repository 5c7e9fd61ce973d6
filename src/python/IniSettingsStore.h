#pragma once
// The settings file of the desktop program read without Qt: the INI file
// the settings store writes (~/.config/Morvane/Zorv.conf), one group per
// key. Read only: the module never changes the user's settings.

#include <map>
#include <string>

#include "catalogue/SettingsStore.h"

namespace zorv {

class IniSettingsStore : public SettingsStore {
public:
    // Reads the file; a file that does not exist is a store without a root.
    // Throws SettingsError when it exists but cannot be read.
    explicit IniSettingsStore(std::string path);

    // The user's file: $XDG_CONFIG_HOME/Morvane/Zorv.conf, else
    // $HOME/.config/Morvane/Zorv.conf.
    static std::string userFile();

    const std::string& path() const { return path_; }

    bool rootExists() const override { return exists_; }
    void deleteRoot() override;
    void createKey(const std::string& key) override;
    bool keyExists(const std::string& key) const override { return groups_.count(key) != 0; }
    std::optional<std::string> read(const std::string& key, const std::string& name) const override;
    void write(const std::string& key, const std::string& name, const std::string& text) override;

private:
    std::string path_;
    bool exists_ = false;
    std::map<std::string, std::map<std::string, std::string>> groups_;
};

// The text of one INI value as written by the settings store: quoted or
// bare, with its backslash escapes (\\, \", \n, \t, \r, \0, \xHHHH) decoded
// to UTF-8. Bare commas separate the items of a list, which reads back as
// its items joined by ", ".
std::string decodeIniValue(const std::string& raw);
// A key name with its percent escapes (%XX, %UXXXX) decoded.
std::string decodeIniKey(const std::string& raw);

}  // namespace zorv

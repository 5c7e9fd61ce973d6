#pragma once
// The settings store on QSettings: an INI file (~/.config/Morvane/Zorv.conf),
// one group per key. The file's existence is the root's existence.

#include <QSettings>
#include <QString>
#include <memory>

#include "catalogue/SettingsStore.h"

namespace zorv {

class QtSettingsStore : public SettingsStore {
public:
    // The user's settings file.
    QtSettingsStore();
    // A settings file of the given path (tests, other profiles).
    explicit QtSettingsStore(const QString& iniPath);

    bool rootExists() const override;
    void deleteRoot() override;
    void createKey(const std::string& key) override;
    bool keyExists(const std::string& key) const override;
    std::optional<std::string> read(const std::string& key, const std::string& name) const override;
    void write(const std::string& key, const std::string& name, const std::string& text) override;

    QString fileName() const { return settings_->fileName(); }

private:
    void check() const;
    std::unique_ptr<QSettings> settings_;
};

}  // namespace zorv

#include "QtSettingsStore.h"

#include <QFile>
#include <QFileInfo>

namespace zorv {

namespace {
QString qs(const std::string& s) { return QString::fromStdString(s); }
// Marks a key that exists but holds no values yet.
const QString kKeyMarker = QStringLiteral(".key");
}  // namespace

QtSettingsStore::QtSettingsStore()
    : settings_(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                            QStringLiteral("Morvane"), QStringLiteral("Zorv"))) {}

QtSettingsStore::QtSettingsStore(const QString& iniPath)
    : settings_(std::make_unique<QSettings>(iniPath, QSettings::IniFormat)) {}

void QtSettingsStore::check() const {
    switch (settings_->status()) {
        case QSettings::NoError: return;
        case QSettings::AccessError:
            throw SettingsError("Brak dostępu do pliku ustawień " + settings_->fileName().toStdString());
        case QSettings::FormatError:
            throw SettingsError("Uszkodzony plik ustawień " + settings_->fileName().toStdString());
    }
}

bool QtSettingsStore::rootExists() const { return QFileInfo::exists(settings_->fileName()); }

void QtSettingsStore::deleteRoot() {
    settings_->clear();
    settings_->sync();
    QFile::remove(settings_->fileName());
}

void QtSettingsStore::createKey(const std::string& key) {
    if (keyExists(key)) return;
    settings_->setValue(qs(key) + '/' + kKeyMarker, true);
    settings_->sync();
    check();
}

bool QtSettingsStore::keyExists(const std::string& key) const {
    return settings_->childGroups().contains(qs(key));
}

std::optional<std::string> QtSettingsStore::read(const std::string& key, const std::string& name) const {
    check();
    const QVariant v = settings_->value(qs(key) + '/' + qs(name));
    if (!v.isValid()) return std::nullopt;
    return v.toString().toStdString();
}

void QtSettingsStore::write(const std::string& key, const std::string& name, const std::string& text) {
    settings_->setValue(qs(key) + '/' + qs(name), qs(text));
    settings_->sync();
    check();
}

}  // namespace zorv

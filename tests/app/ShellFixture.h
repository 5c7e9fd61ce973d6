#pragma once
// A main window on a settings file and folders of a temporary directory.

#include <QDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>

#include "QtSettingsStore.h"
#include "ScriptedDialogs.h"
#include "catalogue/TfmBaseCheck.h"
#include "shell/TfmZorv.h"
#include "table/Table.h"

struct ShellFixture {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    std::unique_ptr<zorv::QtSettingsStore> store;
    std::unique_ptr<zorv::TfmZorv> window;
    // Answers the modal dialogs of the catalogue commands; unset: the
    // structure check runs and "Kontynuuj" closes it, every other dialog is
    // accepted as it stands.
    std::function<int(QDialog&)> answer;
    std::vector<QString> dialogsShown;  // object names, in order

    ShellFixture() { store = std::make_unique<zorv::QtSettingsStore>(iniPath()); }

    QString iniPath() const { return dir.filePath(QStringLiteral("Zorv.conf")); }
    zorv::ShellPaths paths() const {
        return {dir.filePath(QStringLiteral("run/Zorv.lock")), dir.filePath(QStringLiteral("dokumenty")),
                dir.filePath(QStringLiteral("temp"))};
    }
    zorv::TfmZorv& make() {
        window = std::make_unique<zorv::TfmZorv>(*store, dialogs, paths());
        window->setDialogRunner([this](QDialog& d) {
            dialogsShown.push_back(d.objectName());
            if (answer) return answer(d);
            if (auto* check = qobject_cast<zorv::TfmBaseCheck*>(&d)) {
                check->runCheck();
                return check->checkPassed() ? int(QDialog::Accepted) : int(QDialog::Rejected);
            }
            return int(QDialog::Accepted);
        });
        return *window;
    }
    zorv::TfmZorv& start() {
        make();
        window->startUp();
        return *window;
    }
};

// A small catalogue of `n` events in date order, zones G-1/1, G-1/2, ...
inline std::unique_ptr<zorv::Table> makeCatalogue(int n) {
    using zorv::FieldType;
    using zorv::Value;
    auto t = std::make_unique<zorv::Table>(zorv::FieldDefs{{"ODDZIAL", FieldType::String, 20},
                                                           {"DATA", FieldType::Date},
                                                           {"X", FieldType::Integer},
                                                           {"Y", FieldType::Integer},
                                                           {"ENG", FieldType::Float},
                                                           {"MAGNITUDA", FieldType::Float}});
    for (int i = 0; i < n; ++i)
        t->appendRecord({Value::text("G-1/" + std::to_string(i % 3 + 1)), Value::date(38000 + i),
                         Value::integer(i % 4 == 0 ? 0 : 1000 + i), Value::integer(2000 + i),
                         Value::real(1e3 * (i + 1)), Value::real(1.0 + 0.1 * i)});
    t->first();
    return t;
}

#pragma once
// The main window of a screenshot tool: the settings of a first start in a
// folder of their own, every dialog accepted (the structure check run to
// its end), and a catalogue opened as "Nowa baza" opens it.

#include <QString>
#include <QTemporaryDir>

#include "QtSettingsStore.h"
#include "catalogue/TfmBaseCheck.h"
#include "services/UserDialogs.h"
#include "shell/TfmZorv.h"

namespace zorv {

struct ShotShell {
    QTemporaryDir settingsDir;
    QtSettingsStore store{settingsDir.filePath(QStringLiteral("Zorv.conf"))};
    QtUserDialogs dialogs;
    TfmZorv window{store, dialogs, defaultShellPaths()};

    // Shows the window at 1200 × 820 with the catalogue open; false when it
    // did not open.
    bool open(const QString& catalogue) {
        window.setDialogRunner([](QDialog& d) {
            if (auto* check = qobject_cast<TfmBaseCheck*>(&d)) {
                check->runCheck();
                return check->checkPassed() ? int(QDialog::Accepted) : int(QDialog::Rejected);
            }
            return int(QDialog::Accepted);
        });
        window.resize(1200, 820);
        window.show();
        window.newBase(catalogue);
        return window.catalogue() != nullptr;
    }
};

}  // namespace zorv

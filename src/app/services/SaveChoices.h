#pragma once
// The save dialogs of the file commands as a user expects them: each list of
// types opens where and with the type the user last chose for it in this
// session, and the type written is the one the name's extension names,
// where the list offers it ("wykres.svg" is a drawing even while the list
// stands at BMP).

#include <QHash>
#include <QString>

#include "services/UserDialogs.h"

namespace zorv {

// The type of the list a name's extension names; `chosen` when the
// extension names none, or names several types among which `chosen` is
// (".dbf" is dBase 7 and dBase III).
int typeForName(const QString& filter, const QString& name, int chosen);

class SaveChoices {
public:
    // The dialog for `request`: in the folder last saved to with the same
    // list (else the request's own), with the type last chosen for it.
    SaveChoice ask(UserDialogs& dialogs, FileDialogRequest request);

private:
    struct Last {
        QString folder;
        int type = 1;
    };
    QHash<QString, Last> last_;  // by the list of types
};

}  // namespace zorv

#include "services/SaveChoices.h"

#include <QFileInfo>

namespace zorv {

int typeForName(const QString& filter, const QString& name, int chosen) {
    const QString suffix = QFileInfo(name).suffix();
    if (suffix.isEmpty()) return chosen;
    int first = 0;
    for (int n = 1;; ++n) {
        const QString e = extensionOfType(filter, n);
        if (e.isEmpty()) break;
        if (e.compare(suffix, Qt::CaseInsensitive) != 0) continue;
        if (n == chosen) return chosen;
        if (first == 0) first = n;
    }
    return first == 0 ? chosen : first;
}

SaveChoice SaveChoices::ask(UserDialogs& dialogs, FileDialogRequest request) {
    const auto it = last_.constFind(request.filter);
    if (it != last_.constEnd()) {
        if (!it->folder.isEmpty()) request.directory = it->folder;
        request.initialType = it->type;
    }
    SaveChoice c = dialogs.chooseSaveFile(request);
    if (c.name.isEmpty()) return c;
    last_.insert(request.filter, {QFileInfo(c.name).absolutePath(), c.type});
    c.type = typeForName(request.filter, c.name, c.type);
    return c;
}

}  // namespace zorv

#include "shell/ZorvApplication.h"

#include "shell/UserDialogs.h"

namespace zorv {

ZorvApplication::ZorvApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool ZorvApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        if (dialogs_) showProblem(*dialogs_, QString::fromUtf8(e.what()));
    } catch (...) {
        if (dialogs_) showProblem(*dialogs_, QStringLiteral("Nieznany błąd programu."));
    }
    return false;
}

}  // namespace zorv

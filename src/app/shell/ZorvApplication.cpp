#include "shell/ZorvApplication.h"

#include <QTranslator>

#include "services/UserDialogs.h"

namespace zorv {

ZorvApplication::ZorvApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // No display name: the X11 window title would repeat it after every
    // caption ("Opcje programu — Zorv 2.10.1", "Zorv 2.10.1 — Zorv 2.10.1").
    setOrganizationName(QStringLiteral("Morvane"));
    setApplicationName(QStringLiteral("Zorv"));
    setStyle(new ShellStyle);
    installQtTranslation();
}

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

bool installQtTranslation(const QString& folder) {
    // The program speaks Polish whatever the system's language.
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral("qtbase_pl"), folder) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

int ShellStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                          QStyleHintReturn* returnData) const {
    if (hint == SH_Workspace_FillSpaceOnMaximize) return 1;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

}  // namespace zorv

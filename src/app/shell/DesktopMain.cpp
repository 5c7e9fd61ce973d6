#include "shell/DesktopMain.h"

#include <QDesktopServices>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <exception>

#include "QtSettingsStore.h"
#include "help/HelpWindow.h"
#include "services/ShellTexts.h"
#include "services/UserDialogs.h"
#include "shell/StartWindows.h"
#include "shell/TfmZorv.h"
#include "shell/ZorvApplication.h"

namespace {

int run(zorv::ZorvApplication& app, zorv::QtUserDialogs& dialogs) {
    {
        zorv::TfmSplash splash;
        splash.showFor(3000);
    }
    const int choice = zorv::TfmStartMenu().exec();
    if (choice == zorv::TfmStartMenu::Quit) return 0;
    if (choice == zorv::TfmStartMenu::WebPage) {
        QDesktopServices::openUrl(QUrl(zorv::kWebAddress));
        return 0;
    }
    if (choice == zorv::TfmStartMenu::Help) {
        auto* help = new zorv::HelpWindow;
        help->showFinder(zorv::HelpWindow::Finder::Contents);
        return zorv::ZorvApplication::exec();
    }
    zorv::QtSettingsStore store;
    zorv::TfmZorv window(store, dialogs, zorv::defaultShellPaths());
    dialogs.setParent(&window);
    // The full screen also where no window manager maximises.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window.setGeometry(screen->availableGeometry());
    window.showMaximized();
    if (!window.startedUp()) return 1;
    // A catalogue named on the command line is opened as by "Nowa baza do
    // analizy" once the window shows.
    const QStringList args = zorv::ZorvApplication::arguments();
    if (args.size() > 1) {
        const QString path = args.last();
        QTimer::singleShot(0, &window, [&window, path] { window.newBase(path); });
    }
    const int rc = zorv::ZorvApplication::exec();
    dialogs.setParent(nullptr);
    (void)app;
    return rc;
}

}  // namespace

int zorv::runDesktop(int argc, char** argv) {
    zorv::ZorvApplication app(argc, argv);
    zorv::QtUserDialogs dialogs;
    app.setDialogs(&dialogs);
    try {
        return run(app, dialogs);
    } catch (const std::exception& e) {
        dialogs.error(zorv::kProblemTitle, zorv::fatalErrorMessage(QString::fromUtf8(e.what())));
    } catch (...) {
        dialogs.error(zorv::kProblemTitle, QStringLiteral("Nieznany błąd programu."));
    }
    return 1;
}

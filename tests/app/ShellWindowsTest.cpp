// The program's own application object: Qt's texts in Polish, window titles
// that never repeat the program's caption, and the manual opened from a
// modal dialog in front of it and usable.

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTextBrowser>
#include <QWindow>

#include "ShellFixture.h"
#include "catalogue/TfmBasePreferences.h"
#include "catalogue/TfmPreferences.h"
#include "catalogue/TfmSort.h"
#include "help/HelpWindow.h"
#include "help/TfmGreetings.h"
#include "services/ProgressWindow.h"
#include "services/ShellTexts.h"
#include "shell/StartWindows.h"
#include "shell/ZorvApplication.h"

using namespace zorv;

namespace {

// The title as an X11 window manager shows it: Qt appends " — display name"
// to every title that does not already end with it, once a display name is
// set (unset, the display name reads as the application name).
QString shownTitle(const QWidget& w) {
    const QString title = w.windowTitle();
    const QString display = QGuiApplication::applicationDisplayName();
    if (display == QCoreApplication::applicationName() || title.endsWith(display))
        return title.isEmpty() ? QCoreApplication::applicationName() : title;
    return title.isEmpty() ? display : title + QStringLiteral(" \u2014 ") + display;
}

// Tells whether Qt's modality blocked a window the last time it decided.
struct BlockSpy : QObject {
    bool blocked = false;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::WindowBlocked) blocked = true;
        if (e->type() == QEvent::WindowUnblocked) blocked = false;
        return false;
    }
};

}  // namespace

class ShellWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void qtTextsArePolish() {
        // Installed by the application object at the start.
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Anuluj"));
        QDialogButtonBox box(QDialogButtonBox::Cancel | QDialogButtonBox::Yes);
        QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Anuluj"));
        QCOMPARE(box.button(QDialogButtonBox::Yes)->text(), QStringLiteral("&Tak"));
        // A folder without the translation: nothing installed, no failure.
        QTemporaryDir empty;
        QVERIFY(!installQtTranslation(empty.path()));
        QVERIFY(!installQtTranslation(empty.filePath(QStringLiteral("brak"))));
    }

    void titlesNameEachWindowOnce() {
        ShellFixture f;
        TfmZorv& w = f.start();
        w.show();
        w.openCatalogue(makeCatalogue(12), QStringLiteral("katalog.dbf"));
        QMdiSubWindow* frame = w.catalogueFrame();
        frame->showMaximized();
        QVERIFY(frame->isMaximized());
        QCoreApplication::processEvents();
        // The maximised child keeps its caption on its own title bar.
        QCOMPARE(w.windowTitle(), kProgramCaption);
        QCOMPARE(shownTitle(w), kProgramCaption);
        QVERIFY(frame->windowTitle().startsWith(QStringLiteral("katalog.dbf (Rekordów: 12/12)")));
        frame->setWindowTitle(QStringLiteral("katalog.dbf (Rekordów: 4/12)"));
        QCOMPARE(w.windowTitle(), kProgramCaption);
        frame->showNormal();
        QCOMPARE(w.windowTitle(), kProgramCaption);

        TfmBaseCheck check(w.analysisSettings(), f.dir.filePath(QStringLiteral("brak.dbf")), f.dialogs);
        TfmGreetings info;
        TfmStartMenu start;
        w.showHelp(false);
        const QList<QWidget*> windows = {frame,
                                         &w.preferencesDialog(),
                                         &w.basePreferencesDialog(),
                                         &w.periodDialog(),
                                         &w.progressWindow(),
                                         &w.processNotice(),
                                         w.helpWindow(),
                                         &check,
                                         &info,
                                         &start};
        for (QWidget* win : windows) {
            const QString shown = shownTitle(*win);
            QVERIFY2(!win->windowTitle().isEmpty(), qPrintable(win->objectName()));
            QVERIFY2(win->windowTitle() != kProgramCaption, qPrintable(win->objectName()));
            QVERIFY2(shown.count(kProgramCaption) <= 1, qPrintable(shown));
        }
        w.helpWindow()->close();
    }

    void manualOpensInFrontOfAModalDialog() {
        ShellFixture f;
        TfmZorv& w = f.start();
        w.show();
        BlockSpy spy;
        QPointer<HelpWindow> help;
        {
            // Run as exec() runs it: application-modal.
            TfmSort& sort = w.periodDialog();
            sort.setWindowModality(Qt::ApplicationModal);
            sort.show();
            QCOMPARE(QApplication::activeModalWidget(), &sort);
            sort.helpButton()->click();
            help = w.helpWindow();
            QVERIFY(help);
            help->installEventFilter(&spy);
            QVERIFY(help->isVisible());
            QVERIFY(help->isWindow());
            QCOMPARE(help->parentWidget(), &sort);
            QCOMPARE(help->windowHandle()->transientParent(), sort.windowHandle());
            QVERIFY(!spy.blocked);
            // Typing reaches it.
            QTest::keyClicks(help->findChild<QLineEdit*>(), QStringLiteral("filtr"));
            QCOMPARE(help->findChild<QLineEdit*>()->text(), QStringLiteral("filtr"));
            sort.hide();
        }
        // The dialog gone, the manual stays open as a window of its own.
        QVERIFY(help);
        QVERIFY(help->isVisible());
        QVERIFY(!help->parentWidget());

        // A dialog that is destroyed (as the structure check is) does not
        // take the manual with it; a second request reuses the window.
        {
            QDialog modal(&w);
            modal.setWindowTitle(QStringLiteral("Próba"));
            modal.setWindowModality(Qt::ApplicationModal);
            modal.show();
            w.showHelpPage(QStringLiteral("katalog.html"));
            QCOMPARE(w.helpWindow(), help.data());
            QCOMPARE(help->parentWidget(), &modal);
            QVERIFY(help->isVisible());
            QVERIFY(!spy.blocked);
        }
        QVERIFY(help);
        QVERIFY(!help->parentWidget());
        QVERIFY(help->isVisible());
        QCOMPARE(help->browser()->source().fileName(), QStringLiteral("katalog.html"));
        // With no modal dialog up it stays a window of its own.
        w.showHelp(true);
        QVERIFY(!help->parentWidget());
        QCOMPARE(help->currentFinder(), HelpWindow::Finder::Index);
        help->close();
    }
};

int main(int argc, char** argv) {
    // The program's own application object, as main() makes it.
    ZorvApplication app(argc, argv);
    ShellWindowsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ShellWindowsTest.moc"

// The command table and the rules that enable commands: catalogue state,
// record position, kind of the active child window; record navigation,
// the bookmark, the status bar and the window commands.

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QSet>
#include <QStandardPaths>
#include <QTest>
#include <QToolBar>

#include "ShellFixture.h"
#include "services/ChildWindow.h"
#include "services/Commands.h"
#include "services/ShellTexts.h"

using namespace zorv;

namespace {

class FakeChild : public QWidget, public ChildWindow {
public:
    explicit FakeChild(ChildKind kind) : kind_(kind) {}
    ChildKind childKind() const override { return kind_; }

private:
    ChildKind kind_;
};

QStringList commandsWith(unsigned flag) {
    QStringList out;
    for (const CommandDescriptor& d : commandTable())
        if (d.flags & flag) out << QString::fromUtf8(d.name);
    return out;
}

}  // namespace

class ShellCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void tableIsConsistent() {
        QSet<QString> names;
        QSet<QString> tops;
        for (const char* t : topMenus()) tops.insert(QString::fromUtf8(t));
        QSet<QString> tabs;
        for (const char* t : analysisTabs()) tabs.insert(QString::fromUtf8(t));
        for (const CommandDescriptor& d : commandTable()) {
            const QString name = QString::fromUtf8(d.name);
            QVERIFY2(!names.contains(name), qPrintable(name));
            names.insert(name);
            QVERIFY2(name.startsWith(QLatin1Char('m')), qPrintable(name));
            QVERIFY2(*d.caption && *d.hint, qPrintable(name));
            QVERIFY2(tops.contains(QString::fromUtf8(d.menu).section(QLatin1Char('/'), 0, 0)),
                     qPrintable(name));
            // Analysis commands sit on a tab of the analysis tool bar and in
            // a submenu of "Analiza zagrożenia".
            const bool analysis = (d.flags & AnalysisCommand) != 0;
            QCOMPARE(d.tab != nullptr, analysis);
            if (analysis) {
                QVERIFY(tabs.contains(QString::fromUtf8(d.tab)));
                QVERIFY(QString::fromUtf8(d.menu).startsWith(QStringLiteral("Analiza zagrożenia/")));
                QVERIFY(d.flags & CatalogueOnly);
            }
        }
        // Every analysis listed by its handler families.
        // The last terms: the maximum-magnitude comparison and the forecast
        // verification; the hazard map.
        QCOMPARE(commandsWith(AnalysisCommand).size(), 12 + 1 + 5 + 5 + 7 + 5 + 2 + 1);
    }

    void menusAndToolBarsAreBuilt() {
        ShellFixture f;
        TfmZorv& w = f.make();
        for (const char* t : topMenus()) QVERIFY(w.menu(QString::fromUtf8(t)) != nullptr);
        QCOMPARE(w.menu(QStringLiteral("Baza danych/Zakładka"))->actions().size(), 2);
        QCOMPARE(w.action(QStringLiteral("m300x200"))->text(), QStringLiteral("400 x 300 pikseli"));
        QCOMPARE(w.action(QStringLiteral("mParamMRP"))->data().toInt(), 1);
        QCOMPARE(w.action(QStringLiteral("mExit"))->shortcut(), QKeySequence(QStringLiteral("Ctrl+Alt+Q")));
        QCOMPARE(w.action(QStringLiteral("mFilter"))->statusTip(),
                 QStringLiteral("Filtruje bazę danych względem czasu"));
        // Ctrl+B belongs to the first command that names it, "Początek";
        // "Ustal" only shows the key.
        QCOMPARE(w.action(QStringLiteral("mToBegin"))->shortcut(), QKeySequence(QStringLiteral("Ctrl+B")));
        QVERIFY(w.action(QStringLiteral("mBookmarkSet"))->shortcut().isEmpty());
        QVERIFY(w.action(QStringLiteral("mBookmarkSet"))->text().startsWith(QStringLiteral("Ustal\t")));
        int owners = 0;
        for (QAction* a : w.actions()) owners += a->shortcut() == QKeySequence(QStringLiteral("Ctrl+B"));
        QCOMPARE(owners, 1);
        // The analysis tool bar has the seven tabs.
        auto* tabs = w.findChild<QTabWidget*>(QStringLiteral("AnalysisTabs"));
        QVERIFY(tabs);
        QCOMPARE(tabs->count(), 7);
        QCOMPARE(tabs->tabText(2), QStringLiteral("PHA"));
        // Two help entries are there but never work.
        QVERIFY(!w.action(QStringLiteral("mHowToUseHelp"))->isEnabled());
        w.bindCommand(QStringLiteral("mHowToUseHelp"), [](int) {});
        QVERIFY(!w.action(QStringLiteral("mHowToUseHelp"))->isEnabled());
    }

    void commandsFollowTheCatalogueState() {
        ShellFixture f;
        TfmZorv& w = f.start();
        const QStringList catalogueCommands = commandsWith(CatalogueOnly);
        QVERIFY(catalogueCommands.contains(QStringLiteral("mLockUnlock")));
        for (const QString& name : catalogueCommands) {
            QVERIFY2(!w.commandWanted(name), qPrintable(name));
            QVERIFY2(!w.action(name)->isEnabled(), qPrintable(name));
        }
        QVERIFY(!w.menu(QStringLiteral("Analiza zagrożenia/Zmienność w czasie"))->menuAction()->isEnabled());
        // Commands that need no catalogue.
        for (const char* n : {"mOptions", "mExit", "mTopics", "mCascade", "mFilePanel"})
            QVERIFY2(w.action(QString::fromUtf8(n))->isEnabled(), n);

        w.openCatalogue(makeCatalogue(5), QStringLiteral("katalog.dbf"));
        for (const char* n :
             {"mShutDatabase", "mBookmarkSet", "mBookmarkGoTo", "mLockUnlock", "mNext", "mToEnd"})
            QVERIFY2(w.action(QString::fromUtf8(n))->isEnabled(), n);
        // At the first record there is nothing before.
        QVERIFY(!w.action(QStringLiteral("mToBegin"))->isEnabled());
        QVERIFY(!w.action(QStringLiteral("mPrevious"))->isEnabled());
        QVERIFY(w.menu(QStringLiteral("Analiza zagrożenia/Zmienność w czasie"))->menuAction()->isEnabled());
        // Analyses are allowed now; a command runs the handler bound last,
        // with its tag.
        QVERIFY(w.commandWanted(QStringLiteral("mHazard")));
        QVERIFY(w.action(QStringLiteral("mHazard"))->isEnabled());
        int ranTag = 0;
        w.bindCommand(QStringLiteral("mHazard"), [&](int tag) { ranTag = tag; });
        QVERIFY(w.action(QStringLiteral("mHazard"))->isEnabled());
        w.action(QStringLiteral("mHazard"))->trigger();
        QCOMPARE(ranTag, 1);

        w.action(QStringLiteral("mShutDatabase"))->trigger();
        QVERIFY(w.catalogue() == nullptr);
        QVERIFY(!w.action(QStringLiteral("mHazard"))->isEnabled());
        QVERIFY(!w.action(QStringLiteral("mNext"))->isEnabled());
        QCOMPARE(w.catalogueStatus(), QStringLiteral("Brak aktywnej bazy"));
    }

    void navigationMovesAndDisablesAtTheEnds() {
        ShellFixture f;
        TfmZorv& w = f.start();
        w.openCatalogue(makeCatalogue(3), QStringLiteral("k.dbf"));
        Table& t = *w.catalogue();
        w.action(QStringLiteral("mNext"))->trigger();
        QCOMPARE(t.recNo(), std::size_t{2});
        QVERIFY(w.action(QStringLiteral("mToBegin"))->isEnabled());
        QVERIFY(w.action(QStringLiteral("mToEnd"))->isEnabled());
        w.action(QStringLiteral("mToEnd"))->trigger();
        QCOMPARE(t.recNo(), std::size_t{3});
        QVERIFY(!w.action(QStringLiteral("mNext"))->isEnabled());
        QVERIFY(!w.action(QStringLiteral("mToEnd"))->isEnabled());
        w.action(QStringLiteral("mPrevious"))->trigger();
        QCOMPARE(t.recNo(), std::size_t{2});
        w.action(QStringLiteral("mToBegin"))->trigger();
        QCOMPARE(t.recNo(), std::size_t{1});
        QVERIFY(!w.action(QStringLiteral("mPrevious"))->isEnabled());

        // One record: at both ends at once.
        w.openCatalogue(makeCatalogue(1), QStringLiteral("k.dbf"));
        for (const char* n : {"mToBegin", "mPrevious", "mNext", "mToEnd"})
            QVERIFY2(!w.action(QString::fromUtf8(n))->isEnabled(), n);
        QVERIFY(w.action(QStringLiteral("mBookmarkSet"))->isEnabled());
    }

    void bookmarkReturnsOrExplains() {
        ShellFixture f;
        TfmZorv& w = f.start();
        w.openCatalogue(makeCatalogue(6), QStringLiteral("k.dbf"));
        Table& t = *w.catalogue();
        // Before any "Ustal" the jump does nothing.
        w.action(QStringLiteral("mBookmarkGoTo"))->trigger();
        QVERIFY(f.dialogs.messages.empty());
        QCOMPARE(t.recNo(), std::size_t{1});

        t.setRecNo(3);
        w.action(QStringLiteral("mBookmarkSet"))->trigger();
        w.action(QStringLiteral("mToEnd"))->trigger();
        w.action(QStringLiteral("mBookmarkGoTo"))->trigger();
        QCOMPARE(t.recNo(), std::size_t{3});
        QVERIFY(f.dialogs.messages.empty());
        QVERIFY(w.action(QStringLiteral("mNext"))->isEnabled());

        // "Ustal" replaces the bookmark.
        t.setRecNo(5);
        w.setBookmark();
        t.first();
        w.gotoBookmark();
        QCOMPARE(t.recNo(), std::size_t{5});

        // The record is gone: the engine refuses.
        t.deleteRecord();
        t.first();
        w.gotoBookmark();
        QCOMPARE(f.dialogs.messages.size(), std::size_t{1});
        QCOMPARE(f.dialogs.messages[0].title, QStringLiteral("Problem..."));
        QCOMPARE(f.dialogs.messages[0].text, kBookmarkHiddenMessage);

        // Any other failure: the table cannot move while a record is edited.
        t.setRecNo(2);
        w.setBookmark();
        t.first();
        t.edit();
        w.gotoBookmark();
        QCOMPARE(f.dialogs.messages.size(), std::size_t{2});
        QCOMPARE(f.dialogs.messages[1].text, kBookmarkFailedMessage);
        t.cancel();

        // Closing the catalogue forgets the bookmark.
        w.shutDatabase();
        QVERIFY(!w.bookmark().isSet());
    }

    void statusBarTexts() {
        QCOMPARE(catalogueStatusText(QStringLiteral("k.dbf"), true, 42),
                 QStringLiteral("k.dbf (Rekordów: 42)"));
        QCOMPARE(catalogueStatusText(QStringLiteral("k.dbf"), false, 42),
                 QStringLiteral("Brak aktywnej bazy"));
        QCOMPARE(recordStatusText(true, 7, 10), QStringLiteral("Rekordów: 7/10"));
        QCOMPARE(recordStatusText(false, 0, 0), QStringLiteral("Brak rekordów"));
        QCOMPARE(catalogueWindowCaption(QStringLiteral("k.dbf"), QStringLiteral("Rekordów: 7/10")),
                 QStringLiteral("k.dbf (Rekordów: 7/10)"));

        ShellFixture f;
        TfmZorv& w = f.start();
        w.openCatalogue(makeCatalogue(10), QStringLiteral("katalog.dbf"));
        QCOMPARE(w.catalogueStatus(), QStringLiteral("katalog.dbf (Rekordów: 10)"));
        QCOMPARE(w.recordStatus(), QStringLiteral("Rekordów: 10/10"));
        QCOMPARE(w.analysisSettings().RecordCount, 10);
        // The filtered count is the view's; the total stays that of opening.
        w.catalogue()->first();
        w.catalogue()->deleteRecord();
        w.refreshStatusBar();
        QCOMPARE(w.recordStatus(), QStringLiteral("Rekordów: 9/10"));
        // Hints of commands land in the hint panel.
        QStatusTipEvent tip(w.action(QStringLiteral("mFilter"))->statusTip());
        QApplication::sendEvent(&w, &tip);
        QCOMPARE(w.hintText(), QStringLiteral("Filtruje bazę danych względem czasu"));
    }

    void fileCommandsFollowTheActiveChild_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("baseSet");
        QTest::addColumn<bool>("save");
        QTest::addColumn<bool>("print");
        QTest::addColumn<bool>("exportFile");
        QTest::addColumn<bool>("chart");
        QTest::newRow("table preview")
            << int(ChildKind::PreviewTable) << true << false << false << true << false;
        QTest::newRow("result table")
            << int(ChildKind::ResultTable) << false << true << false << true << false;
        QTest::newRow("chart") << int(ChildKind::Chart) << false << false << true << true << true;
        QTest::newRow("catalogue set") << int(ChildKind::Catalogue) << true << true << false << true << false;
        QTest::newRow("catalogue unset")
            << int(ChildKind::Catalogue) << false << false << false << false << false;
        QTest::newRow("text") << int(ChildKind::Text) << false << true << true << true << false;
        QTest::newRow("none") << int(ChildKind::None) << true << false << false << false << false;
    }

    void fileCommandsFollowTheActiveChild() {
        QFETCH(int, kind);
        QFETCH(bool, baseSet);
        QFETCH(bool, save);
        QFETCH(bool, print);
        QFETCH(bool, exportFile);
        QFETCH(bool, chart);
        ShellFixture f;
        TfmZorv& w = f.start();
        if (baseSet) w.openCatalogue(makeCatalogue(2), QStringLiteral("k.dbf"));
        w.show();
        if (kind != int(ChildKind::None)) {
            QMdiSubWindow* sub = w.mdiArea()->addSubWindow(new FakeChild(ChildKind(kind)));
            sub->show();
            w.mdiArea()->setActiveSubWindow(sub);
        } else {
            // The catalogue window is always there; no child active.
            w.mdiArea()->setActiveSubWindow(nullptr);
        }
        w.updateFileCommands();
        QCOMPARE(w.commandWanted(QStringLiteral("mSave")), save);
        QCOMPARE(w.commandWanted(QStringLiteral("mSaveAs")), save);
        QCOMPARE(w.commandWanted(QStringLiteral("mPrint")), print);
        QCOMPARE(w.commandWanted(QStringLiteral("mExport")), exportFile);
        for (const QString& name : commandsWith(ChartCommand)) QCOMPARE(w.commandWanted(name), chart);
        // A command is enabled only once its work is bound.
        QCOMPARE(w.action(QStringLiteral("mExport"))->isEnabled(), exportFile);
        QCOMPARE(w.action(QStringLiteral("mPrint"))->isEnabled(), print);
    }

    void windowCommands() {
        ShellFixture f;
        TfmZorv& w = f.start();
        w.resize(900, 700);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QList<QMdiSubWindow*> subs;
        for (int i = 0; i < 3; ++i) {
            auto* child = new FakeChild(ChildKind::Text);
            child->setWindowTitle(QStringLiteral("Okno %1").arg(i + 1));
            QMdiSubWindow* s = w.mdiArea()->addSubWindow(child);
            s->resize(200, 150);
            s->show();
            subs << s;
        }
        const int width = w.mdiArea()->viewport()->width();
        const int height = w.mdiArea()->viewport()->height();
        w.action(QStringLiteral("mTileHorizontal"))->trigger();
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(subs[i]->width(), width);
            QCOMPARE(subs[i]->y(), i * (height / 3));
        }
        w.action(QStringLiteral("mTileVertical"))->trigger();
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(subs[i]->height(), height);
            QCOMPARE(subs[i]->x(), i * (width / 3));
        }
        w.action(QStringLiteral("mMinimizeAll"))->trigger();
        for (QMdiSubWindow* s : subs) QVERIFY(s->isMinimized());
        w.action(QStringLiteral("mArrange"))->trigger();
        for (QMdiSubWindow* s : subs) QVERIFY(s->geometry().bottom() <= height);
        QCOMPARE(subs[0]->y(), subs[1]->y());
        QVERIFY(subs[1]->x() > subs[0]->x());
        // The window menu lists the children.
        QMenu* windowMenu = w.menu(QStringLiteral("Okno"));
        emit windowMenu->aboutToShow();
        QStringList listed;
        for (QAction* a : windowMenu->actions()) listed << a->text();
        // The catalogue window comes first.
        QVERIFY(listed.contains(QStringLiteral("&3 Okno 2")));
        // The tool bar toggles.
        QToolBar* filterBar = w.findChild<QToolBar*>(QStringLiteral("ToolBar3"));
        QVERIFY(filterBar->isVisible());
        w.action(QStringLiteral("mFilterPanel"))->trigger();
        QVERIFY(!filterBar->isVisible());
        w.action(QStringLiteral("mFilterPanel"))->trigger();
        QVERIFY(filterBar->isVisible());
    }

    void exitAsksFirst() {
        ShellFixture f;
        TfmZorv& w = f.start();
        w.show();
        f.dialogs.confirmAnswers = {false, true};
        w.action(QStringLiteral("mExit"))->trigger();
        QVERIFY(w.isVisible());
        QCOMPARE(f.dialogs.messages.back().title, QStringLiteral("Koniec programu"));
        QCOMPARE(f.dialogs.messages.back().text, QStringLiteral("Czy zakończyć pracę programu ?"));
        w.action(QStringLiteral("mExit"))->trigger();
        QVERIFY(!w.isVisible());
        QVERIFY(!w.statusTimer()->isActive());
    }

    void failingCommandIsReportedAndTheProgramGoesOn() {
        ShellFixture f;
        TfmZorv& w = f.start();
        w.bindCommand(QStringLiteral("mImport"),
                      [](int) { throw std::runtime_error("Plik jest uszkodzony"); });
        w.action(QStringLiteral("mImport"))->trigger();
        QCOMPARE(f.dialogs.messages.size(), std::size_t{1});
        QCOMPARE(f.dialogs.messages[0].title, QStringLiteral("Problem..."));
        QCOMPARE(f.dialogs.messages[0].text, QStringLiteral("Plik jest uszkodzony"));
    }

    void resultWindowSlots() {
        WindowSlots ws;
        QCOMPARE(ws.freeSlot(), 0);
        for (int i = 0; i < WindowSlots::kCount; ++i) ws.acquire(ws.freeSlot());
        // All taken: the next analysis shares slot 0.
        QCOMPARE(ws.freeSlot(), 0);
        ws.acquire(ws.freeSlot());
        QCOMPARE(ws.count(0), 2);
        QVERIFY(!ws.release(0));
        QVERIFY(ws.release(0));
        QCOMPARE(ws.freeSlot(), 0);
        // Several windows of one object: the last one frees it.
        ws.acquire(7);
        QCOMPARE(ws.count(7), 2);
        QVERIFY(!ws.release(7));
        QVERIFY(ws.release(7));
        ws.acquire(0);
        QCOMPARE(ws.freeSlot(), 7);
    }
};

QTEST_MAIN(ShellCommandsTest)
#include "ShellCommandsTest.moc"

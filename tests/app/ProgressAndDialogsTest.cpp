// The progress window, the process notice, and the file-dialog helpers of
// the dialogs interface.

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "ScriptedDialogs.h"
#include "services/ProgressWindow.h"
#include "shell/StartWindows.h"

using namespace zorv;

class ProgressAndDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void progressShowsAndCancels() {
        ScriptedDialogs dialogs;
        TfmProgress p(dialogs);
        Progress& progress = p;
        progress.start("Analiza bazy danych", 0, 100);
        QVERIFY(p.isVisible());
        QCOMPARE(p.windowModality(), Qt::ApplicationModal);
        QCOMPARE(p.caption(), QStringLiteral("Analiza bazy danych"));
        QVERIFY(p.findChild<QLabel*>()->font().bold());
        // A range wholly above the previous one is taken as given.
        progress.setRange(500, 900);
        QCOMPARE(p.minimum(), 500);
        QCOMPARE(p.maximum(), 900);
        progress.setPosition(700);
        QCOMPARE(p.position(), 700);
        QVERIFY(!progress.isCancelled());
        QTest::mouseClick(p.cancelButton(), Qt::LeftButton);
        QVERIFY(progress.isCancelled());
        // The flag stays until the next stage starts.
        progress.setPosition(800);
        QVERIFY(progress.isCancelled());
        progress.start("Tworzenie tabeli danych...", 10, 20);
        QVERIFY(!progress.isCancelled());
        QCOMPARE(p.position(), 10);
        // Closing by the frame also asks to stop, and keeps the box up.
        p.close();
        QVERIFY(progress.isCancelled());
        QVERIFY(p.isVisible());
        progress.hide();
        QVERIFY(!p.isVisible());
    }

    void cancelWorksFromInsideALongLoop() {
        // The loop runs on the GUI thread; the click arrives only through
        // the event processing of setPosition.
        ScriptedDialogs dialogs;
        TfmProgress p(dialogs);
        p.start("Obliczenia", 0, 1000000);
        QVERIFY(!p.isCancelled());
        QTimer::singleShot(0, p.cancelButton(), &QPushButton::click);
        long long i = 0;
        for (; i < 1000000000LL && !p.isCancelled(); ++i) p.setPosition(int(i % 1000000));
        QVERIFY(p.isCancelled());
    }

    void confirmAsksTheUser() {
        ScriptedDialogs dialogs;
        TfmProgress p(dialogs);
        dialogs.confirmAnswers = {false, true};
        QVERIFY(!p.confirm("Próba jest mała. Kontynuować?"));
        QVERIFY(p.confirm("Próba jest mała. Kontynuować?"));
        QCOMPARE(dialogs.messages[0].title, QStringLiteral("Potwierdź..."));
        QCOMPARE(dialogs.messages[0].text, QStringLiteral("Próba jest mała. Kontynuować?"));
        // A message in the middle of a computation goes to the box of its kind.
        p.inform("Problem...", "Nie można znaleźć optymalnego h", true);
        p.inform("Info", "Użyto alternatywnego h", false);
        QCOMPARE(dialogs.messages[2].kind, QStringLiteral("error"));
        QCOMPARE(dialogs.messages[2].title, QStringLiteral("Problem..."));
        QCOMPARE(dialogs.messages[3].kind, QStringLiteral("info"));
        QCOMPARE(dialogs.messages[3].text, QStringLiteral("Użyto alternatywnego h"));
    }

    void processNotice() {
        TfmProcessNotice notice;
        QCOMPARE(notice.windowTitle(), QStringLiteral("Przetwarzanie..."));
        {
            ProcessNoticeScope scope(notice, QStringLiteral("Kopiowanie bazy danych do pliku tymczasowego"));
            QVERIFY(notice.isVisible());
            QCOMPARE(notice.text(), QStringLiteral("Kopiowanie bazy danych do pliku tymczasowego"));
        }
        QVERIFY(!notice.isVisible());
    }

    void nameFilters() {
        QCOMPARE(
            qtNameFilters(QStringLiteral("Pliki dBase (*.dbf)|*.dbf|Pliki Paradox (*.db)|*.db")),
            QStringList({QStringLiteral("Pliki dBase (*.dbf)"), QStringLiteral("Pliki Paradox (*.db)")}));
        QCOMPARE(qtNameFilters(QStringLiteral("Szablon wykresu|*.tpt")),
                 QStringList({QStringLiteral("Szablon wykresu (*.tpt)")}));
        QCOMPARE(qtNameFilters(QStringLiteral("Obrazy|*.bmp;*.jpg")),
                 QStringList({QStringLiteral("Obrazy (*.bmp *.jpg)")}));
        QCOMPARE(extensionOfNameFilter(QStringLiteral("Pliki Paradox (*.db)")), QStringLiteral("db"));
        QCOMPARE(extensionOfNameFilter(QStringLiteral("Wszystkie pliki (*.*)")), QString());
        QCOMPARE(withDefaultExtension(QStringLiteral("/dane/raport"), QStringLiteral("txt")),
                 QStringLiteral("/dane/raport.txt"));
        QCOMPARE(withDefaultExtension(QStringLiteral("/dane/raport.rtf"), QStringLiteral("txt")),
                 QStringLiteral("/dane/raport.rtf"));
        // A dot in a folder name is not an extension.
        QCOMPARE(withDefaultExtension(QStringLiteral("/dane.2024/raport"), QStringLiteral("txt")),
                 QStringLiteral("/dane.2024/raport.txt"));
        QCOMPARE(withDefaultExtension(QString(), QStringLiteral("txt")), QString());
    }

    void fileDialogsStartInAFolderThatExists() {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("katalogi"));
        QVERIFY(QDir().mkpath(folder));
        const QString file = dir.filePath(QStringLiteral("plik.dbf"));
        QFile(file).open(QIODevice::WriteOnly);
        QCOMPARE(fileDialogStartFolder(folder), folder);
        QCOMPARE(fileDialogStartFolder(folder + QLatin1Char('/')), folder);
        // A missing documents folder, an unset one and a file all give home.
        QCOMPARE(fileDialogStartFolder(dir.filePath(QStringLiteral("Dokumenty"))), QDir::homePath());
        QCOMPARE(fileDialogStartFolder(QString()), QDir::homePath());
        QCOMPARE(fileDialogStartFolder(file), QDir::homePath());
    }

    void startMenuReturnsTheTags() {
        TfmStartMenu menu;
        QCOMPARE(menu.windowTitle(), QStringLiteral("Menu startowe aplikacji"));
        QVERIFY(menu.button(TfmStartMenu::Help)->isHidden());
        for (auto tag : {TfmStartMenu::Run, TfmStartMenu::WebPage, TfmStartMenu::Quit}) {
            QTimer::singleShot(0, menu.button(tag), &QPushButton::click);
            QCOMPARE(menu.exec(), int(tag));
        }
        QCOMPARE(menu.button(TfmStartMenu::Run)->text(), QStringLiteral("Uruchom program"));
        QCOMPARE(menu.button(TfmStartMenu::WebPage)->text(), QStringLiteral("Strona WWW autora"));
        QCOMPARE(menu.button(TfmStartMenu::Quit)->text(), QStringLiteral("Koniec pracy programu"));
    }
};

QTEST_MAIN(ProgressAndDialogsTest)
#include "ProgressAndDialogsTest.moc"

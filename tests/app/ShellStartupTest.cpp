// Start of the main window: settings written or rebuilt, a second instance
// refused, and the no-catalogue state it ends in.

#include <QAction>
#include <QLockFile>
#include <QMenu>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

#include "ShellFixture.h"
#include "catalogue/Preferences.h"
#include "services/ShellTexts.h"

using namespace zorv;

class ShellStartupTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void firstStartStoresTheDefaultsSilently() {
        ShellFixture f;
        QVERIFY(!QFile::exists(f.iniPath()));
        TfmZorv& w = f.start();
        QVERIFY(w.startedUp());
        QVERIFY(f.dialogs.messages.empty());
        QSettings ini(f.iniPath(), QSettings::IniFormat);
        QCOMPARE(ini.value(QStringLiteral("Application/aCoeff")).toDouble(), 1.96);
        QCOMPARE(ini.value(QStringLiteral("Application/Magnituda")).toString(), QStringLiteral("MAGNITUDA"));
        QCOMPARE(ini.value(QStringLiteral("Application/FilePrefix")).toString(), QStringLiteral("temp"));
        // Default folders: documents for work and catalogues, the program's
        // own temporary folder for exchanged files and result tables.
        QCOMPARE(ini.value(QStringLiteral("Directories/WorkDir")).toString(), f.paths().documentsDir);
        QCOMPARE(ini.value(QStringLiteral("Directories/DatabaseDir")).toString(), f.paths().documentsDir);
        QCOMPARE(ini.value(QStringLiteral("Directories/ExportImportDir")).toString(), f.paths().tempDir);
        QCOMPARE(w.analysisSettings().OutputDir, f.paths().tempDir.toStdString() + "/");
        QCOMPARE(w.analysisSettings().FilePrefix, std::string("temp"));
    }

    void damagedSettingsAreRebuiltWithOneMessage() {
        ShellFixture f;
        {
            Preferences p;
            StartupSettings(*f.store, {"/dok", "/tmp"}, p);
            QSettings ini(f.iniPath(), QSettings::IniFormat);
            ini.remove(QStringLiteral("Application/aCoeff"));
            ini.setValue(QStringLiteral("Application/Magnituda"), QStringLiteral("ML"));
        }
        TfmZorv& w = f.start();
        QVERIFY(w.startedUp());
        QCOMPARE(f.dialogs.messages.size(), std::size_t{1});
        QCOMPARE(f.dialogs.messages[0].title, QStringLiteral("Problem..."));
        QCOMPARE(f.dialogs.messages[0].text, QString::fromUtf8(kDamagedSettingsMessage));
        // Rebuilt: the other stored edit is gone too.
        QCOMPARE(w.preferences().Magnituda, std::string("MAGNITUDA"));
        QCOMPARE(w.preferences().a, 1.96);
        QSettings ini(f.iniPath(), QSettings::IniFormat);
        QVERIFY(ini.contains(QStringLiteral("Application/aCoeff")));
        // The next start finds sound settings and says nothing.
        f.window.reset();
        f.store = std::make_unique<QtSettingsStore>(f.iniPath());
        f.dialogs.messages.clear();
        f.start();
        QVERIFY(f.dialogs.messages.empty());
        QCOMPARE(f.window->preferences().a, 1.96);
    }

    void missingStringValueLoadsEmptyWithoutMessage() {
        ShellFixture f;
        {
            Preferences p;
            StartupSettings(*f.store, {"/dok", "/tmp"}, p);
            QSettings ini(f.iniPath(), QSettings::IniFormat);
            ini.remove(QStringLiteral("Application/Data"));
        }
        TfmZorv& w = f.start();
        QVERIFY(f.dialogs.messages.empty());
        QCOMPARE(w.preferences().Data, std::string());
        QCOMPARE(w.analysisSettings().DateField, std::string());
    }

    void secondInstanceIsRefusedWithoutTouchingSettings() {
        ShellFixture f;
        QDir().mkpath(QFileInfo(f.paths().lockFile).absolutePath());
        QLockFile running(f.paths().lockFile);
        QVERIFY(running.tryLock(0));
        TfmZorv& w = f.start();
        QVERIFY(!w.startedUp());
        QCOMPARE(f.dialogs.messages.size(), std::size_t{1});
        QCOMPARE(f.dialogs.messages[0].text, kSecondInstanceMessage);
        QVERIFY(!w.statusTimer()->isActive());
        QVERIFY(!QFile::exists(f.iniPath()));
        // Once the first program has ended, a start succeeds.
        running.unlock();
        ShellFixture g;
        TfmZorv second(*g.store, g.dialogs, f.paths());
        QVERIFY(second.startUp());
    }

    void startEndsInTheNoCatalogueState() {
        ShellFixture f;
        TfmZorv& w = f.start();
        QCOMPARE(w.windowTitle(), QStringLiteral("Zorv 2.10.1"));
        QCOMPARE(w.catalogueStatus(), QStringLiteral("Brak aktywnej bazy"));
        QCOMPARE(w.recordStatus(), QStringLiteral("Brak rekordów"));
        QVERIFY(w.catalogue() == nullptr);
        QVERIFY(!w.basePropertiesSet());
        QVERIFY(w.statusTimer()->isActive());
        QCOMPARE(w.statusTimer()->interval(), 250);
        QVERIFY(!w.menu(QStringLiteral("Sejsmometria"))->menuAction()->isVisible());
        QVERIFY(w.menu(QStringLiteral("Wykresy"))->menuAction()->isVisible());
        for (int i = 0; i < WindowSlots::kCount; ++i) QCOMPARE(w.windowSlots().count(i), 0);
        QCOMPARE(w.takeCopyNumber(), 1);
        QCOMPARE(w.takeCopyNumber(), 2);
        QCOMPARE(w.hazardCache().RequestedH(), -1.0);
        QCOMPARE(w.hazardCache().RequestedMMax(), -1.0);
        QVERIFY(w.hazardCache().PreviousSearchOption());
    }

    void loadedSettingsReachTheCommands() {
        ShellFixture f;
        {
            Preferences p;
            StartupSettings(*f.store, {"/dok", "/tmp"}, p);
            p.InverseXAxis = false;
            p.InverseYAxis = true;
            p.CopySeisFilter = false;
            SaveSettings(*f.store, p);
        }
        TfmZorv& w = f.start();
        QVERIFY(!w.action(QStringLiteral("mInverseXAxis"))->isChecked());
        QVERIFY(w.action(QStringLiteral("mInverseYAxis"))->isChecked());
        QVERIFY(!w.action(QStringLiteral("mCopyFilter"))->isChecked());
        QVERIFY(w.action(QStringLiteral("mSeisFilter"))->isChecked());
        // Hidden for good, whatever the stored state.
        QVERIFY(!w.action(QStringLiteral("mShowSeismometers"))->isVisible());
        QVERIFY(!w.action(QStringLiteral("mShowSeismometers"))->isEnabled());
    }

    void fatalMessageCarriesTheErrorAndTheContact() {
        const QString m = fatalErrorMessage(QStringLiteral("brak pamięci"));
        QVERIFY(m.startsWith(QStringLiteral(
            "W programienie wystąpił nieoczekiwany wyjątek niebsłużony przez aplikację [ brak pamięci ]. ")));
        QVERIFY(m.endsWith(QStringLiteral(")  oraz podać okoliczności powstania błędu.")));
        QVERIFY(m.contains(kContactAddress));
    }
};

QTEST_MAIN(ShellStartupTest)
#include "ShellStartupTest.moc"

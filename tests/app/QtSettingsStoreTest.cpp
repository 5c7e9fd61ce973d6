// The settings store on an INI file: the same start-up rules as any store,
// and values that went through the file come back typed.

#include <QTemporaryDir>
#include <QTest>

#include "QtSettingsStore.h"
#include "catalogue/Preferences.h"

using namespace zorv;

class QtSettingsStoreTest : public QObject {
    Q_OBJECT
private slots:
    void roundTripThroughTheFile() {
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("Zorv.conf"));
        const DefaultDirectories dirs{"/tmp/dok", "/tmp/zorv-temp"};
        {
            QtSettingsStore store(ini);
            QVERIFY(!store.rootExists());
            Preferences p;
            const StartupResult r = StartupSettings(store, dirs, p);
            QVERIFY(r.defaultsWritten);
            QVERIFY(store.rootExists());
            QVERIFY(store.keyExists("Reports"));
            p.Magnituda = "MAGNITUDA_ŁÓDŹ";
            p.a = 1.96 + 1e-12;
            SaveSettings(store, p);
        }
        {
            QtSettingsStore store(ini);
            Preferences p;
            const StartupResult r = StartupSettings(store, dirs, p);
            QVERIFY(!r.defaultsWritten);
            QVERIFY(!r.damaged);
            QCOMPARE(p.Magnituda, std::string("MAGNITUDA_ŁÓDŹ"));
            QCOMPARE(p.a, 1.96 + 1e-12);
            QCOMPARE(p.WorkingDirectory, dirs.documents);
            store.write("Hazard", "Iterations", "dwadzieścia");
        }
        {
            QtSettingsStore store(ini);
            Preferences p;
            QVERIFY(StartupSettings(store, dirs, p).damaged);
            QCOMPARE(p.Iterations, 20);
            QCOMPARE(p.Magnituda, std::string("MAGNITUDA"));
            ResetSettings(store);
            QVERIFY(!store.rootExists());
            QVERIFY(!QFile::exists(ini));
        }
    }
};

QTEST_GUILESS_MAIN(QtSettingsStoreTest)
#include "QtSettingsStoreTest.moc"

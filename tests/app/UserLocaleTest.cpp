// The user's Qt locale turned into the core's: separators and a short date
// the core can write and read back, four-digit years.

#include <QTest>

#include "services/UserLocale.h"

using namespace zorv;

class UserLocaleTest : public QObject {
    Q_OBJECT
private slots:
    void locales() {
        const Locale pl = toCoreLocale(QLocale(QLocale::Polish, QLocale::Poland));
        QCOMPARE(pl.decimalSeparator, ',');
        QCOMPARE(pl.shortDatePattern, std::string("d.MM.yyyy"));
        const Locale us = toCoreLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(us.decimalSeparator, '.');
        QCOMPARE(us.shortDatePattern, std::string("M/d/yyyy"));
        // The C locale names its months: the ISO date instead.
        QCOMPARE(toCoreLocale(QLocale::c()).shortDatePattern, std::string("yyyy-MM-dd"));
    }
};

QTEST_GUILESS_MAIN(UserLocaleTest)
#include "UserLocaleTest.moc"

// The built-in manual and the information window: every page is there with
// a title and index terms, and no link leads nowhere.

#include <QDirIterator>
#include <QFile>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>

#include "help/HelpWindow.h"
#include "help/TfmGreetings.h"

using namespace zorv;

namespace {

QStringList manualPages() {
    QStringList out;
    QDirIterator it(QStringLiteral(":/manual"), {QStringLiteral("*.html")});
    while (it.hasNext()) out << it.next().section(QLatin1Char('/'), -1);
    out.sort();
    return out;
}

QString read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

}  // namespace

class HelpTest : public QObject {
    Q_OBJECT
private slots:
    void everyPageIsListedTitledAndIndexed() {
        const QStringList pages = manualPages();
        QVERIFY(pages.size() >= 9);
        HelpWindow help;
        QCOMPARE(help.contents()->count(), int(pages.size()));
        for (const QString& page : pages) {
            const QString html = read(QStringLiteral(":/manual/") + page);
            QVERIFY2(!HelpWindow::pageTitle(html).isEmpty(), qPrintable(page));
            QVERIFY2(!HelpWindow::pageKeywords(html).isEmpty(), qPrintable(page));
        }
    }

    void linksResolve() {
        static const QRegularExpression href(QStringLiteral("href=\"([^\"#]+)"));
        for (const QString& page : manualPages()) {
            const QString html = read(QStringLiteral(":/manual/") + page);
            auto it = href.globalMatch(html);
            while (it.hasNext()) {
                const QString target = it.next().captured(1);
                if (target.startsWith(QStringLiteral("http"))) continue;
                QVERIFY2(QFile::exists(QStringLiteral(":/manual/") + target),
                         qPrintable(page + QStringLiteral(" -> ") + target));
            }
        }
    }

    void finderOpensPages() {
        HelpWindow help;
        help.showFinder(HelpWindow::Finder::Index);
        QCOMPARE(help.currentFinder(), HelpWindow::Finder::Index);
        QVERIFY(help.terms().contains(QStringLiteral("hazard sejsmiczny")));
        const QList<QListWidgetItem*> found =
            help.index()->findItems(QStringLiteral("filtr czasowy"), Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        emit help.index()->itemActivated(found.first());
        QCOMPARE(help.browser()->source().fileName(), QStringLiteral("filtry.html"));
        QVERIFY(help.browser()->toPlainText().contains(QStringLiteral("Filtr czasowy")));
        help.showFinder(HelpWindow::Finder::Contents);
        QCOMPARE(help.currentFinder(), HelpWindow::Finder::Contents);
        help.contents()->setCurrentRow(help.contents()->count() - 1);
        QVERIFY(help.browser()->source().fileName() != QStringLiteral("filtry.html"));
    }

    void informationWindowShowsTheShippedFiles() {
        TfmGreetings info;
        QCOMPARE(info.windowTitle(), QStringLiteral("ZORV - informacje"));
        QCOMPARE(info.historyButton()->text(), QStringLiteral("Historia Powstania"));
        info.historyButton()->click();
        QVERIFY(info.textView()->toPlainText().startsWith(QStringLiteral("Historia Powstania")));
        info.readmeButton()->click();
        QVERIFY(info.textView()->toPlainText().startsWith(QStringLiteral("Zorv 2.10.1")));
    }
};

QTEST_MAIN(HelpTest)
#include "HelpTest.moc"

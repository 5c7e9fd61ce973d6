#include "help/HelpWindow.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <algorithm>

namespace zorv {

namespace {

// The pages of the contents, in reading order.
const char* const kPages[] = {"index.html",           "katalog.html", "filtry.html", "aktywnosc.html",
                              "powtarzalnosc.html",   "strefy.html",  "hazard.html", "zmiennosc.html",
                              "mapa_zagrozenia.html", "wyniki.html",  "opcje.html"};

QString readPage(const QString& page) {
    QFile f(QStringLiteral(":/manual/") + page);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll());
}

}  // namespace

QString HelpWindow::pageTitle(const QString& html) {
    static const QRegularExpression title(QStringLiteral("<title>(.*?)</title>"),
                                          QRegularExpression::DotMatchesEverythingOption);
    const auto m = title.match(html);
    return m.hasMatch() ? m.captured(1).trimmed() : QString();
}

QStringList HelpWindow::pageKeywords(const QString& html) {
    static const QRegularExpression meta(
        QStringLiteral("<meta\\s+name=\"keywords\"\\s+content=\"([^\"]*)\""));
    QStringList out;
    const auto m = meta.match(html);
    if (!m.hasMatch()) return out;
    for (const QString& k : m.captured(1).split(QLatin1Char(','))) {
        const QString t = k.trimmed();
        if (!t.isEmpty()) out << t;
    }
    return out;
}

HelpWindow::HelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window),
      finder_(new QTabWidget(this)),
      contents_(new QListWidget(this)),
      indexSearch_(new QLineEdit(this)),
      index_(new QListWidget(this)),
      browser_(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("HelpWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Pomoc programu Zorv"));
    browser_->setSearchPaths({QStringLiteral(":/manual")});
    browser_->setOpenExternalLinks(true);

    auto* indexPage = new QWidget(this);
    auto* indexLayout = new QVBoxLayout(indexPage);
    indexLayout->setContentsMargins(2, 2, 2, 2);
    indexSearch_->setPlaceholderText(QStringLiteral("Wpisz szukane hasło"));
    indexLayout->addWidget(indexSearch_);
    indexLayout->addWidget(index_);
    finder_->addTab(contents_, QStringLiteral("Spis treści"));
    finder_->addTab(indexPage, QStringLiteral("Indeks"));

    auto* splitter = new QSplitter(this);
    splitter->addWidget(finder_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({230, 620});
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    resize(880, 600);

    loadManual();
    connect(contents_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item) openPage(item->data(Qt::UserRole).toString());
    });
    connect(index_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        const QStringList pages = terms_.value(item->text());
        if (!pages.isEmpty()) openPage(pages.first());
    });
    connect(index_, &QListWidget::itemClicked, index_, &QListWidget::itemActivated);
    connect(indexSearch_, &QLineEdit::textChanged, this, &HelpWindow::filterIndex);
    openPage(QStringLiteral("index.html"));
}

void HelpWindow::loadManual() {
    for (const char* p : kPages) {
        const QString page = QString::fromLatin1(p);
        const QString html = readPage(page);
        if (html.isEmpty()) continue;
        auto* item = new QListWidgetItem(pageTitle(html), contents_);
        item->setData(Qt::UserRole, page);
        for (const QString& k : pageKeywords(html)) terms_[k] << page;
    }
    QStringList sorted = terms_.keys();
    std::sort(sorted.begin(), sorted.end(),
              [](const QString& a, const QString& b) { return QString::localeAwareCompare(a, b) < 0; });
    index_->addItems(sorted);
}

void HelpWindow::filterIndex(const QString& text) {
    QListWidgetItem* first = nullptr;
    for (int i = 0; i < index_->count(); ++i) {
        QListWidgetItem* item = index_->item(i);
        const bool match = item->text().startsWith(text, Qt::CaseInsensitive);
        if (match && !first) first = item;
    }
    if (first) index_->setCurrentItem(first);
}

void HelpWindow::openPage(const QString& page) {
    browser_->setSource(QUrl(QStringLiteral("qrc:/manual/") + page));
}

HelpWindow::Finder HelpWindow::currentFinder() const {
    return finder_->currentIndex() == 1 ? Finder::Index : Finder::Contents;
}

void HelpWindow::showFinder(Finder finder) {
    finder_->setCurrentIndex(finder == Finder::Index ? 1 : 0);
    present();
}

void HelpWindow::present() {
    belongTo(QApplication::activeModalWidget());
    show();
    raise();
    activateWindow();
}

void HelpWindow::belongTo(QWidget* modal) {
    // Qt blocks every window outside the modal dialog that is up, and such a
    // window opens behind it; as a window of the dialog itself the manual
    // opens in front of it and can be used. It leaves the dialog when the
    // dialog goes, so that it is not destroyed with it.
    if (modal == this) modal = nullptr;
    if (parentWidget() == modal) return;
    if (parentWidget()) parentWidget()->removeEventFilter(this);
    const bool shown = isVisible();
    const QRect where = geometry();
    setParent(modal, Qt::Window);
    setGeometry(where);
    if (modal) modal->installEventFilter(this);
    if (shown) show();
}

bool HelpWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Hide) {
        QWidget* next = QApplication::activeModalWidget();
        belongTo(next == watched ? nullptr : next);
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace zorv

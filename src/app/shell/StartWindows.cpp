#include "shell/StartWindows.h"

#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

#include "services/ShellTexts.h"

namespace zorv {

TfmSplash::TfmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("TfmSplash"));
    setFixedSize(460, 260);
}

void TfmSplash::showFor(int ms) {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    repaint();
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void TfmSplash::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QLinearGradient sky(0, 0, 0, height());
    sky.setColorAt(0.0, QColor(24, 48, 84));
    sky.setColorAt(1.0, QColor(70, 110, 150));
    p.fillRect(rect(), sky);
    // A seismogram trace across the lower part.
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(240, 200, 90), 1.6));
    QPointF last(0, height() * 0.75);
    for (int x = 0; x <= width(); x += 3) {
        const double burst = (x > 170 && x < 300) ? 34.0 * std::exp(-(x - 190) / 45.0) : 3.0;
        const QPointF pt(x, height() * 0.75 + burst * ((x / 3) % 2 ? 1 : -1) * ((x % 7) / 7.0 + 0.3));
        p.drawLine(last, pt);
        last = pt;
    }
    p.setPen(Qt::white);
    QFont big = font();
    big.setPointSize(30);
    big.setBold(true);
    p.setFont(big);
    p.drawText(QRect(0, 30, width(), 60), Qt::AlignCenter, kProgramCaption);
    QFont small = font();
    small.setPointSize(11);
    p.setFont(small);
    p.drawText(QRect(0, 95, width(), 50), Qt::AlignCenter,
               QStringLiteral("System Analizy Lokalnego\nZagrożenia Sejsmicznego"));
    p.setPen(QColor(20, 20, 20));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

TfmStartMenu::TfmStartMenu(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TfmStartMenu"));
    setWindowTitle(QStringLiteral("Menu startowe aplikacji"));
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(kProgramCaption, this);
    QFont f = title->font();
    f.setPointSize(f.pointSize() + 8);
    f.setBold(true);
    title->setFont(f);
    title->setAlignment(Qt::AlignCenter);
    auto* subtitle = new QLabel(QStringLiteral("System Analizy Lokalnego\nZagrożenia Sejsmicznego"), this);
    subtitle->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);
    layout->addWidget(subtitle);
    layout->addSpacing(12);
    const struct {
        Result tag;
        const char* caption;
    } kButtons[] = {{Help, "System pomocy"},
                    {Run, "Uruchom program"},
                    {WebPage, "Strona WWW autora"},
                    {Quit, "Koniec pracy programu"}};
    for (const auto& b : kButtons) {
        auto* button = new QPushButton(QString::fromUtf8(b.caption), this);
        button->setMinimumHeight(32);
        buttons_[b.tag] = button;
        layout->addWidget(button);
        const int tag = b.tag;
        connect(button, &QPushButton::clicked, this, [this, tag] { done(tag); });
    }
    // The help entry exists but is not offered.
    buttons_[Help]->hide();
    buttons_[Run]->setDefault(true);
    setMinimumWidth(320);
}

QPushButton* TfmStartMenu::button(Result tag) const { return buttons_[tag]; }

}  // namespace zorv

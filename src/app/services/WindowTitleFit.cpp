#include "services/WindowTitleFit.h"

#include <QApplication>
#include <QFontMetrics>
#include <QWidget>

namespace zorv {

namespace {

// The icon and the three buttons of a title bar, with their spacing, are
// taken at five title-bar heights; window managers draw them between three
// and five.
constexpr int kTitleBarHeights = 5;

}  // namespace

int titleBarWidth(const QWidget& window) {
    // Title bars use a bold face of about the application's size.
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    const QFontMetrics metrics(font);
    const int barHeight = metrics.height() + 10;
    return metrics.horizontalAdvance(window.windowTitle()) + kTitleBarHeights * barHeight;
}

void fitWindowTitle(QWidget& window) {
    if (window.windowTitle().isEmpty()) return;
    const int needed = titleBarWidth(window);
    if (window.minimumWidth() < needed) window.setMinimumWidth(needed);
}

}  // namespace zorv

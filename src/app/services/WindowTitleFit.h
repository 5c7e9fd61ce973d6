#pragma once
// Window titles a window manager can show whole: a dialog is made at least
// as wide as its title with the title bar's icon and buttons beside it.

class QWidget;

namespace zorv {

// The width a title bar needs for the window's title [px].
int titleBarWidth(const QWidget& window);
// Widens the window's minimum to that width; a wider window stays as it is.
void fitWindowTitle(QWidget& window);

}  // namespace zorv

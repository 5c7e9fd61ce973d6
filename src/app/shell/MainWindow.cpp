#include "shell/MainWindow.h"

#include <QMdiArea>

namespace zorv {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent), mdi_(new QMdiArea(this)) {
    setWindowTitle(QStringLiteral("Zorv 2.10.1"));
    setCentralWidget(mdi_);
}

}  // namespace zorv

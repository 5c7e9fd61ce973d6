#include <QApplication>

#include "shell/MainWindow.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Morvane"));
    QApplication::setApplicationName(QStringLiteral("Zorv"));
    zorv::MainWindow window;
    window.showMaximized();
    return QApplication::exec();
}

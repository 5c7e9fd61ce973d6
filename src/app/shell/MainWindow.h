#pragma once

#include <QMainWindow>

class QMdiArea;

namespace zorv {

// The program's main window: an MDI area under the caption "Zorv 2.10.1".
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);

private:
    QMdiArea* mdi_;
};

}  // namespace zorv

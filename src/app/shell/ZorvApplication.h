#pragma once
// The application object: a failure that escapes an event handler is shown
// in a message box and the program goes on.

#include <QApplication>

namespace zorv {

class UserDialogs;

class ZorvApplication : public QApplication {
public:
    ZorvApplication(int& argc, char** argv);
    void setDialogs(UserDialogs* dialogs) { dialogs_ = dialogs; }
    bool notify(QObject* receiver, QEvent* event) override;

private:
    UserDialogs* dialogs_ = nullptr;
};

}  // namespace zorv

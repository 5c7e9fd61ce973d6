#pragma once
// The windows of the program's start: the splash window and the start menu.

#include <QDialog>
#include <QUrl>
#include <QWidget>
#include <functional>

class QPushButton;

namespace zorv {

class UserDialogs;

class TfmSplash : public QWidget {
    Q_OBJECT
public:
    explicit TfmSplash(QWidget* parent = nullptr);

    // Shows the window, lets it paint and keeps it up for `ms` milliseconds
    // (events keep being processed meanwhile).
    void showFor(int ms);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// "Menu startowe aplikacji". exec() returns the tag of the pressed button.
class TfmStartMenu : public QDialog {
    Q_OBJECT
public:
    enum Result { Help = 1, Run = 2, WebPage = 3, Quit = 4 };

    explicit TfmStartMenu(QWidget* parent = nullptr);
    QPushButton* button(Result tag) const;

private:
    QPushButton* buttons_[5] = {};
};

// "Strona WWW autora": opens the program's web page with `open` (the
// desktop's browser). Where nothing opens it (no browser on the machine)
// the user is told so and false returned: the start menu shows again
// instead of the program ending without a word.
bool openWebPage(UserDialogs& dialogs, const std::function<bool(const QUrl&)>& open);
QString webPageFailedMessage();

}  // namespace zorv

#pragma once
// The application object: names the program for its settings, shows Qt's
// own texts in Polish, keeps the title bars of maximised child windows, and
// shows a failure that escapes an event handler in a message box while the
// program goes on.

#include <QApplication>
#include <QLibraryInfo>
#include <QProxyStyle>

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

// Installs the Polish translation of Qt's own texts (file, colour and font
// dialogs, standard buttons) from `folder`. False, with nothing installed,
// when the file is missing: the program then runs with Qt's English texts.
bool installQtTranslation(const QString& folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath));

// The program's style: a maximised child window keeps its own title bar, so
// that the main window's title stays the program's caption instead of
// becoming "caption - [child caption]".
class ShellStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
};

}  // namespace zorv

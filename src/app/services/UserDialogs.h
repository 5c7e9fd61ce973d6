#pragma once
// Every message box and file dialog of the program goes through this one
// interface, so that tests can answer them and read what was asked.

#include <QString>
#include <QStringList>

class QPrinter;
class QWidget;

namespace zorv {

// Titles of the three kinds of message boxes.
inline const QString kProblemTitle = QStringLiteral("Problem...");
inline const QString kInfoTitle = QStringLiteral("Info");
inline const QString kConfirmTitle = QStringLiteral("Potwierdź...");

struct FileDialogRequest {
    QString title;
    QString directory;
    // Types as "Description|pattern|Description|pattern", the first one
    // selected, e.g. "Pliki dBase (*.dbf)|*.dbf|Pliki Paradox (*.db)|*.db".
    QString filter;
    QString defaultExtension;  // without the dot
};

// What a save dialog gave: the name (empty when cancelled) and the number of
// the type chosen, counted from 1 in the order of the filter.
struct SaveChoice {
    QString name;
    int type = 1;
};

class UserDialogs {
public:
    virtual ~UserDialogs() = default;
    virtual void information(const QString& title, const QString& text) = 0;
    virtual void error(const QString& title, const QString& text) = 0;
    // OK continues (true), Cancel does not.
    virtual bool confirm(const QString& title, const QString& text) = 0;
    // The chosen file, or an empty text when the user cancelled.
    virtual QString openFile(const FileDialogRequest& request) = 0;
    // As openFile; a name without an extension receives that of the chosen
    // type (or the default extension).
    virtual SaveChoice chooseSaveFile(const FileDialogRequest& request) = 0;
    QString saveFile(const FileDialogRequest& request) { return chooseSaveFile(request).name; }
    virtual QString chooseDirectory(const QString& title, const QString& directory) = 0;
    // The print dialog on the printer (with no printer installed it offers
    // PDF output); false when the user cancelled.
    virtual bool setUpPrinter(QPrinter& printer) = 0;
};

// The error box: "Problem..." with the text and an OK button.
inline void showProblem(UserDialogs& dialogs, const QString& text) { dialogs.error(kProblemTitle, text); }

// "A|*.a|B|*.b" as Qt name filters; a description that does not name its
// pattern in parentheses gets it appended.
QStringList qtNameFilters(const QString& filter);
// The extension (without dot) of a Qt name filter's first pattern, "" for "*.*".
QString extensionOfNameFilter(const QString& nameFilter);
// The extension after the n-th "|*." of a filter text (n from 1), up to the
// next "|": the default extension while the n-th type is chosen; "" when
// there is no such type.
QString extensionOfType(const QString& filter, int n);
// Appends ".ext" to a file name that has no extension.
QString withDefaultExtension(const QString& fileName, const QString& extension);
// The folder a file dialog opens in: `folder` when it exists, else the
// user's home folder (Qt would put the missing folder's name into the
// file-name field).
QString fileDialogStartFolder(const QString& folder);

// The real dialogs of Qt, owned by a parent window.
class QtUserDialogs : public UserDialogs {
public:
    explicit QtUserDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    void information(const QString& title, const QString& text) override;
    void error(const QString& title, const QString& text) override;
    bool confirm(const QString& title, const QString& text) override;
    QString openFile(const FileDialogRequest& request) override;
    SaveChoice chooseSaveFile(const FileDialogRequest& request) override;
    QString chooseDirectory(const QString& title, const QString& directory) override;
    bool setUpPrinter(QPrinter& printer) override;

private:
    QWidget* parent_;
};

}  // namespace zorv

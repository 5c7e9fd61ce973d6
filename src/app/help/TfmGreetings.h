#pragma once
// The information window ("ZORV - informacje") with the readme and the
// history of the program.

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace zorv {

class TfmGreetings : public QDialog {
    Q_OBJECT
public:
    explicit TfmGreetings(QWidget* parent = nullptr);

    // The text of a file shipped with the program: the copy in the program
    // folder when there is one, else the one built into the program.
    static QString shippedText(const QString& fileName);

    QPlainTextEdit* textView() const { return text_; }
    QPushButton* readmeButton() const { return readme_; }
    QPushButton* historyButton() const { return history_; }

private:
    QPlainTextEdit* text_;
    QPushButton* readme_;
    QPushButton* history_;
};

}  // namespace zorv

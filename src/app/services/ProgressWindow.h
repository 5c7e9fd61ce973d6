#pragma once
// The progress window of long computations (TfmProgress): an
// application-modal box with a bold caption, a gauge and a cancel button.
// The computation runs on the GUI thread, so the window lets the program
// process pending events when its position moves; that is what makes the
// cancel button work. Processing is throttled: a loop that moves the gauge
// thousands of times a second must not spend its time repainting.

#include <QDialog>
#include <QElapsedTimer>

#include "base/Progress.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace zorv {

class UserDialogs;

class TfmProgress : public QDialog, public Progress {
    Q_OBJECT
public:
    TfmProgress(UserDialogs& dialogs, QWidget* parent = nullptr);

    void start(const std::string& caption, int minimum, int maximum) override;
    void setRange(int minimum, int maximum) override;
    void setPosition(int position) override;
    void hide() override;
    // Every poll of the flag is also a chance to repaint and to see
    // "Anuluj" (throttled): long numerical loops poll between their chunks
    // but move the gauge rarely.
    bool isCancelled() const override;
    bool confirm(const std::string& question) override;
    void inform(const std::string& title, const std::string& text, bool error) override;

    QString caption() const;
    int minimum() const;
    int maximum() const;
    int position() const;
    QPushButton* cancelButton() const { return cancel_; }

    // Least time between two rounds of event processing [ms].
    static constexpr int kProcessIntervalMs = 40;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void processEvents(bool force);

    UserDialogs& dialogs_;
    QLabel* caption_;
    QProgressBar* gauge_;
    QPushButton* cancel_;
    bool cancelled_ = false;
    QElapsedTimer sinceProcessed_;
};

// The small busy notice "Przetwarzanie..." with one line of text, shown
// around long copies; one at a time.
class TfmProcessNotice : public QWidget {
    Q_OBJECT
public:
    explicit TfmProcessNotice(QWidget* parent = nullptr);
    void showText(const QString& text);
    void remove();
    QString text() const;

private:
    QLabel* text_;
};

// Shows the notice for the lifetime of the scope.
class ProcessNoticeScope {
public:
    ProcessNoticeScope(TfmProcessNotice& notice, const QString& text) : notice_(notice) {
        notice_.showText(text);
    }
    ~ProcessNoticeScope() { notice_.remove(); }
    ProcessNoticeScope(const ProcessNoticeScope&) = delete;
    ProcessNoticeScope& operator=(const ProcessNoticeScope&) = delete;

private:
    TfmProcessNotice& notice_;
};

}  // namespace zorv

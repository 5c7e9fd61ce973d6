#pragma once
// The structure check dialog ("Weryfikacja poprawności bazy"): runs the
// check when it is first shown, with four stage indicators, a gauge, the
// report and the error list; "Napraw bazę" shows the table with the faulty
// records, which can be looked at and deleted.

#include <QDialog>
#include <QElapsedTimer>
#include <memory>

#include "base/Progress.h"
#include "catalogue/StructureCheck.h"

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QTableView;

namespace zorv {

class CatalogueModel;
class UserDialogs;

class TfmBaseCheck : public QDialog, private Progress {
    Q_OBJECT
public:
    TfmBaseCheck(const AnalysisSettings& settings, const QString& path, UserDialogs& dialogs,
                 QWidget* parent = nullptr);
    ~TfmBaseCheck() override;
    // Checks and opens the file read-only even where it could be written.
    void setReadOnly(bool on) { readOnly_ = on; }

    // Runs the check (once); the dialog shows it when it becomes visible.
    void runCheck();
    bool checkPassed() const { return check_.checkPassed(); }
    StructureCheck& check() { return check_; }
    std::unique_ptr<Table> takeTable();

    QString indicatorText(CheckStage stage) const;
    QPushButton* reportButton() const { return reportButton_; }
    QPushButton* repairButton() const { return repairButton_; }
    QPushButton* continueButton() const { return continue_; }
    QPushButton* deleteButton() const { return delete_; }
    QPushButton* finishRepairButton() const { return finishRepair_; }
    QListWidget* errorList() const { return errors_; }
    QListWidget* repairErrorList() const { return repairErrors_; }
    QPlainTextEdit* reportMemo() const { return report_; }
    QProgressBar* gauge() const { return gauge_; }
    QString repairRecordText() const;
    QString repairErrorText() const;

    void showRepair();
    void finishRepair();
    // "Usuń rekord": asks, then deletes the table's current record.
    void deleteCurrentRecord();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    // Progress of the check on the dialog's gauge.
    void start(const std::string& caption, int minimum, int maximum) override;
    void setRange(int minimum, int maximum) override;
    void setPosition(int position) override;
    void hide() override {}
    bool isCancelled() const override { return false; }
    bool confirm(const std::string&) override { return true; }
    void processEvents(bool force);

    void setIndicator(CheckStage stage, StageState state);
    void repairLineChosen(int row);

    StructureCheck check_;
    UserDialogs& dialogs_;
    bool started_ = false;
    bool readOnly_ = false;
    bool running_ = false;
    QElapsedTimer sinceProcessed_;

    QStackedWidget* views_;
    QLabel* indicators_[4];
    QProgressBar* gauge_;
    QPlainTextEdit* report_;
    QListWidget* errors_;
    QPushButton* reportButton_;
    QPushButton* repairButton_;
    QPushButton* continue_;
    CatalogueModel* model_;
    QTableView* repairGrid_;
    QListWidget* repairErrors_;
    QLabel* repairRecord_;
    QLabel* repairError_;
    QPushButton* delete_;
    QPushButton* finishRepair_;
};

}  // namespace zorv

#pragma once
// The period dialog of the time filter (TfmSort): a range of days, quarters,
// months or years within the catalogue's span, and an extra filter
// expression checked against the catalogue.

#include <QDate>
#include <QDialog>

#include "analysis/PeriodDialog.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QStackedWidget;

namespace zorv {

class UserDialogs;

class TfmSort : public QDialog {
    Q_OBJECT
public:
    explicit TfmSort(UserDialogs& dialogs, QWidget* parent = nullptr);

    // Set-up when a catalogue is opened: bounds and defaults from its first
    // and last record, the field names; the table is kept for checking the
    // extra expression (null: no catalogue).
    void setUp(const Table* catalogue, const std::string& dateField, PeriodKind kind);
    // "Przywróć domyślne wartości".
    void restoreDefaults();

    PeriodDialogValues values() const;
    void setValues(const PeriodDialogValues& v);
    // Tries the extra expression against the catalogue; shows the error and
    // selects the text when the engine rejects it.
    bool checkExpression();
    bool expressionAccepted() const;

    QComboBox* scale() const { return scale_; }
    QCheckBox* exclude() const { return exclude_; }
    QLineEdit* expression() const { return expression_; }
    QListWidget* fields() const { return fields_; }
    QPushButton* continueButton() const { return ok_; }
    QPushButton* defaultsButton() const { return defaults_; }

public slots:
    void accept() override;
    QPushButton* helpButton() const { return help_; }

signals:
    // The "Pomoc" button: the page of the manual about this dialog.
    void helpRequested(const QString& page);

private:
    UserDialogs& dialogs_;
    const Table* table_ = nullptr;
    PeriodDialogValues defaultValues_;
    QString rejectedShown_;  // the expression whose fault was shown on leaving the field
    QComboBox* scale_;
    QStackedWidget* groups_;
    QDateEdit* stDate_;
    QDateEdit* enDate_;
    QDate firstDate_, lastDate_;  // the catalogue's first and last date
    // The date within the catalogue's first and last date.
    QDate bounded(const QDate& d) const;
    QComboBox* stQuarter_;
    QComboBox* enQuarter_;
    QSpinBox* stQYear_;
    QSpinBox* enQYear_;
    QComboBox* stMonth_;
    QComboBox* enMonth_;
    QSpinBox* stYear_;
    QSpinBox* enYear_;
    QSpinBox* stYYear_;
    QSpinBox* enYYear_;
    QCheckBox* exclude_;
    QLineEdit* expression_;
    QListWidget* fields_;
    QPushButton* ok_;
    QPushButton* cancel_;
    QPushButton* help_;
    QPushButton* defaults_;
};

// Day numbers and dates of the date pickers.
QDate dateOfDay(std::int32_t dayNumber);
std::int32_t dayOfDate(const QDate& date);

}  // namespace zorv

#pragma once
// The import dialog (TfmImport): the columns of a text file, the role, type,
// name and import flag of each, a preview of its first lines, and the
// catalogue fields to add where the file lacks them. One instance serves
// every import of a program run, so the separator of an unknown extension
// is the previous import's.

#include <QDialog>
#include <string>
#include <vector>

#include "catalogue/Preferences.h"
#include "interchange/TextImport.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QDoubleSpinBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace zorv {

class UserDialogs;

class TfmImport : public QDialog {
    Q_OBJECT
public:
    TfmImport(UserDialogs& dialogs, QWidget* parent = nullptr);

    // Reads the file and finds its columns, resetting the dialog to the
    // settings' names, a and b. False, after the message, when the file
    // cannot be read or has more than 15 columns.
    bool load(const QString& path, const Preferences& prefs);

    const std::vector<std::string>& lines() const { return lines_; }
    const std::string& separator() const { return separator_; }
    const std::vector<ImportColumn>& columns() const { return columns_; }
    const ImportRoleNames& roles() const { return roles_; }
    ImportOptions options() const;

    // The mapping as the user makes it.
    void selectColumn(int column);
    void chooseRole(ImportRole role);

    QListWidget* columnList() const { return columnList_; }
    QListWidget* roleList() const { return roleList_; }
    QComboBox* typeList() const { return typeList_; }
    QLineEdit* nameEdit() const { return name_; }
    QCheckBox* importBox() const { return import_; }
    QPlainTextEdit* preview() const { return preview_; }
    QDateEdit* startDate() const { return start_; }
    QDateEdit* endDate() const { return end_; }
    QLineEdit* zoneName() const { return zoneName_; }
    QDoubleSpinBox* aBox() const { return a_; }
    QDoubleSpinBox* bBox() const { return b_; }
    QCheckBox* addMissingBox() const { return addMissing_; }
    QCheckBox* energyMagnitudeBox() const { return energyMagnitude_; }
    QCheckBox* ignoreFirstLineBox() const { return ignoreFirst_; }
    QPushButton* importButton() const { return importButton_; }

signals:
    void helpRequested(const QString& page);

private:
    void showColumn();
    void storeColumn();
    void startChanged();
    void endChanged();

    UserDialogs& dialogs_;
    std::vector<std::string> lines_;
    std::string separator_ = "\t";
    std::vector<ImportColumn> columns_;
    ImportRoleNames roles_;
    int current_ = -1;
    bool showing_ = false;  // filling the controls, not the user

    QListWidget* columnList_;
    QListWidget* roleList_;
    QComboBox* typeList_;
    QLineEdit* name_;
    QCheckBox* import_;
    QPlainTextEdit* preview_;
    QDateEdit* start_;
    QDateEdit* end_;
    QLineEdit* zoneName_;
    QDoubleSpinBox* a_;
    QDoubleSpinBox* b_;
    QCheckBox* addMissing_;
    QCheckBox* energyMagnitude_;
    QCheckBox* ignoreFirst_;
    QPushButton* importButton_;
};

}  // namespace zorv

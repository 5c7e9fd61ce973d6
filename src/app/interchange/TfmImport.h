#pragma once
// The import dialog (TfmImport). Its "Postać pliku" chooses how the file is
// read:
//  - a text file with its columns set by hand (the program's own text
//    import): the role, type, name and import flag of each column, a
//    preview of its first lines; one instance serves every import of a
//    program run, so the separator of an unknown extension is the previous
//    import's;
//  - a CSV with column names (the OpenQuake catalogue CSV among them), the
//    FDSN event text or QuakeML 1.2: the encoding, separator, decimal mark,
//    header and date order the core found in the file, shown and
//    changeable (a change reads the file again, keeping the roles the user
//    gave), the proposed role of each column in the preview's first row for
//    the user to change, the missing-value marks, whether rows with neither
//    magnitude nor energy are kept, and the EPSG code of the plane that
//    geographic co-ordinates are projected to.
// Both take the catalogue fields to add where the file lacks them. The
// core does the reading, detecting and building; the dialog asks and shows.

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/Preferences.h"
#include "interchange/CatalogueBuilder.h"
#include "interchange/CatalogueReader.h"
#include "interchange/ColumnRoles.h"
#include "interchange/TextImport.h"
#include "table/Table.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QTableWidget;

namespace zorv {

class UserDialogs;

// The choices of "Postać pliku", in its order.
enum class ImportFileForm { ManualText, NamedCsv, FdsnText, QuakeMl };

// The form a file is offered in: QuakeML and the FDSN text by their
// content; a CSV whose header names a magnitude or energy column read by
// the names unless its extension is the program's own text form (".txt",
// ".dat"); the columns by hand otherwise.
ImportFileForm proposedImportForm(const std::string& bytes, const std::string& path,
                                  const CatalogueFieldNames& names);

// The separators of the dialog's separator list, in its order.
inline constexpr char kImportSeparators[] = {',', ';', '\t', '|', ' '};

// "pomiń", "magnituda", …, the role list of the preview.
QString columnRoleLabel(ColumnRole role);

class TfmImport : public QDialog {
    Q_OBJECT
public:
    TfmImport(UserDialogs& dialogs, QWidget* parent = nullptr);

    // Reads the file and finds its form and columns, resetting the dialog
    // to the settings' names, a and b. False, after the message, when the
    // file cannot be read or (set by hand) has more than 15 columns.
    bool load(const QString& path, const Preferences& prefs);

    ImportFileForm form() const;
    void chooseForm(ImportFileForm form);

    // ---- the columns set by hand
    const std::vector<std::string>& lines() const { return lines_; }
    const std::string& separator() const { return separator_; }
    const std::vector<ImportColumn>& columns() const { return columns_; }
    const ImportRoleNames& roles() const { return roles_; }
    ImportOptions options() const;

    // The mapping as the user makes it.
    void selectColumn(int column);
    void chooseRole(ImportRole role);

    // ---- the forms read by column names
    // The cells as last read; empty (with the reason in statusLabel) when
    // the file could not be read in the chosen settings.
    const CatalogueRows& catalogueRows() const { return read_.rows; }
    const std::vector<ColumnMapping>& mapping() const { return mapping_; }
    CatalogueBuildOptions buildOptions() const;
    const CatalogueFieldNames& fieldNames() const { return names_; }
    // Gives a column its role, as the preview's role list does.
    void setColumnRole(int column, ColumnRole role);
    // Builds the catalogue of the file with the dialog's settings; false,
    // after the message naming the row and column, when the import refuses
    // it. "Importuj" does this before the dialog closes.
    bool buildCatalogue();
    // The catalogue built and its report, until released.
    const std::optional<Table>& builtCatalogue() const { return built_; }
    const CatalogueBuildReport& buildReport() const { return report_; }
    void releaseCatalogue();

    QComboBox* formBox() const { return form_; }
    QComboBox* encodingBox() const { return encoding_; }
    QComboBox* separatorBox() const { return csvSeparator_; }
    QComboBox* decimalBox() const { return decimal_; }
    QComboBox* dateOrderBox() const { return dateOrder_; }
    QLabel* dateNote() const { return dateNote_; }
    QCheckBox* headerBox() const { return header_; }
    QLineEdit* missingEdit() const { return missing_; }
    QCheckBox* dropEmptyBox() const { return dropEmpty_; }
    QLineEdit* epsgEdit() const { return epsg_; }
    QLabel* statusLabel() const { return status_; }
    QTableWidget* grid() const { return grid_; }
    // The role list of a column in the preview's first row.
    QComboBox* roleBox(int column) const;

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
    // A role the user gave a column, by its caption (and place, for a
    // header that changed but kept its width).
    struct RoleEdit {
        std::string caption;
        std::size_t column = 0;
        ColumnRole role = ColumnRole::Skip;
    };
    // What the user fixed of the reading; the rest is found again.
    struct Fixed {
        bool encoding = false, separator = false, decimal = false, header = false, dateOrder = false;
    };

    void showColumn();
    void storeColumn();
    void startChanged();
    void endChanged();
    void importClicked();
    void showForm();
    // Reads the file again in the form and settings, proposes the roles,
    // applies the user's, and shows it.
    void reread();
    void applyRoleEdits();
    void showRoles();
    void findDateOrder();
    void fillGrid();
    void readingChanged(bool Fixed::*what);

    UserDialogs& dialogs_;
    std::string path_;
    std::string bytes_;
    std::vector<std::string> lines_;
    std::string separator_ = "\t";
    std::vector<ImportColumn> columns_;
    ImportRoleNames roles_;
    CatalogueFieldNames names_;
    int current_ = -1;
    bool showing_ = false;   // filling the controls, not the user
    bool manualOk_ = false;  // the file splits into columns set by hand

    CatalogueRead read_;
    bool readOk_ = false;
    std::vector<ColumnMapping> mapping_;
    std::vector<RoleEdit> roleEdits_;
    std::optional<DateOrder> detectedOrder_;
    Fixed fixed_;
    std::optional<Table> built_;
    CatalogueBuildReport report_;

    QComboBox* form_;
    QStackedWidget* pages_;
    QStackedWidget* previews_;
    QListWidget* columnList_;
    QListWidget* roleList_;
    QComboBox* typeList_;
    QLineEdit* name_;
    QCheckBox* import_;
    QPlainTextEdit* preview_;
    QComboBox* encoding_;
    QComboBox* csvSeparator_;
    QComboBox* decimal_;
    QComboBox* dateOrder_;
    QLabel* dateNote_;
    QCheckBox* header_;
    QLineEdit* missing_;
    QCheckBox* dropEmpty_;
    QLineEdit* epsg_;
    QLabel* status_;
    QTableWidget* grid_;
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

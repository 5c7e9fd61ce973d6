#pragma once
// The preferences dialog ("Opcje programu"). Its controls are the live
// settings: every edit goes straight into the main window's Preferences, so
// the rest of the program sees it at once. Only "Zastosuj" and "OK" write the
// settings store; "Anuluj" closes without writing and the edits stay in force
// until the program ends.

#include <QDialog>
#include <QFont>
#include <functional>
#include <optional>
#include <vector>

#include "catalogue/Preferences.h"
#include "text/Locale.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QDoubleSpinBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QSpinBox;
class QStackedWidget;
class QTableWidget;

namespace zorv {

class SettingsStore;
class UserDialogs;

// The fonts of the "Raporty" page; not stored, they last until the program
// ends.
struct ReportFonts {
    QFont title, header, parameters, table, footer, rtf;
};

class TfmPreferences : public QDialog {
    Q_OBJECT
public:
    TfmPreferences(Preferences& prefs, SettingsStore& store, UserDialogs& dialogs, const Locale& locale,
                   QWidget* parent = nullptr);

    // Puts the preferences into the controls without counting as an edit.
    void loadControls();
    // "Zastosuj": writes the stored values.
    void apply();

    static const char* const kPageNames[9];
    void showPage(int index);
    int currentPage() const;

    QPushButton* applyButton() const { return apply_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* resetButton() const { return reset_; }
    // The text beside MMin: the energy 10^(a·MMin + b) [J].
    QString thresholdEnergyText() const;
    const ReportFonts& reportFonts() const { return fonts_; }
    QTableWidget* stationGrid() const { return stations_; }
    // "Oszacuj" beside MMin: runs the estimator and puts the completeness
    // magnitude it returns into MMin; disabled while no estimator is set.
    QPushButton* estimateButton() const { return estimate_; }
    void setCompletenessEstimator(std::function<std::optional<double>()> estimator);

signals:
    // The user confirmed the reset: the caller deletes the stored settings
    // and ends the program.
    void resetConfirmed();
    // "Zastosuj" or OK stored axis inversions of the location map other
    // than the ones the dialog opened with (or last applied).
    void mapAxesChanged(bool inverseX, bool inverseY);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildDirectoriesPage();
    QWidget* buildDatabasePage();
    QWidget* buildReportsPage();
    QWidget* buildBasePage();
    QWidget* buildChartsPage();
    QWidget* buildHazardPage();
    QWidget* buildOtherPage();
    QWidget* buildSeismometryPage();
    QWidget* buildStationsPage();

    // Controls bound to a member of the preferences. `tracked` edits
    // enable "Zastosuj".
    QLineEdit* text(QFormLayout* form, const QString& label, std::string Preferences::*member,
                    const char* name, bool tracked = true);
    QLineEdit* directory(QFormLayout* form, const QString& label, std::string Preferences::*member,
                         const char* name);
    QCheckBox* check(QFormLayout* form, const QString& caption, bool Preferences::*member, const char* name);
    QSpinBox* integer(QFormLayout* form, const QString& label, int Preferences::*member, const char* name,
                      int min, int max, int step);
    QDoubleSpinBox* real(QFormLayout* form, const QString& label, double Preferences::*member,
                         const char* name, double min, double max, double step, int decimals,
                         bool tracked = true);
    // The default chart template: chosen with "...", cleared with "Brak".
    void templateRow(QFormLayout* form);
    QWidget* fontRow(const QString& label, QFont ReportFonts::*member, const char* name);

    void edited();
    void refreshThresholdEnergy();
    void refreshEnabledStates();

    Preferences& prefs_;
    SettingsStore& store_;
    UserDialogs& dialogs_;
    Locale locale_;
    ReportFonts fonts_;
    std::vector<std::function<void()>> loaders_;
    bool loading_ = false;
    bool appliedInverseX_ = false;
    bool appliedInverseY_ = false;

    QButtonGroup* pageButtons_;
    QStackedWidget* pages_;
    QPushButton* ok_;
    QPushButton* cancel_;
    QPushButton* apply_;
    QPushButton* reset_ = nullptr;
    QLabel* thresholdEnergy_ = nullptr;
    QPushButton* estimate_ = nullptr;
    std::function<std::optional<double>()> estimator_;
    QLabel* epsilonText_ = nullptr;
    QCheckBox* graphZoom_ = nullptr;
    QCheckBox* blockZoom_ = nullptr;
    QCheckBox* stationsOn_ = nullptr;
    QTableWidget* stations_ = nullptr;
    QWidget* stationButtons_ = nullptr;
};

}  // namespace zorv

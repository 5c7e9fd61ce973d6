#pragma once
// The base properties dialog ("Właściwości bazy danych"): the coefficients
// of the energy–magnitude relation and the completeness threshold of the
// opened catalogue with its threshold energy, the located-only display, the
// write protection and the fields the record grid shows.

#include <QDialog>
#include <functional>
#include <optional>
#include <vector>

#include "catalogue/AnalysisSettings.h"
#include "text/Locale.h"

class QCheckBox;
class QDoubleSpinBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace zorv {

class TfmBasePreferences : public QDialog {
    Q_OBJECT
public:
    // `values` are the live base properties: the spin edits write them.
    TfmBasePreferences(BaseProperties& values, const Preferences& prefs, const Locale& locale,
                       QWidget* parent = nullptr);

    struct Field {
        QString name;
        bool visible = true;
    };
    // Fills the dialog before it is shown: the grid's columns, the write
    // protection and the located-only state. Takes a, b and MMin from the
    // preferences when InitFromPreferences is set, and clears the flag.
    void prepare(const std::vector<Field>& fields, bool protectedBase, bool localized);
    void setInitFromPreferences(bool on) { initFromPreferences_ = on; }
    bool initFromPreferences() const { return initFromPreferences_; }

    // What "OK" confirmed.
    std::vector<bool> checkedFields() const;
    bool baseProtected() const;
    bool localized() const;
    bool histogramRequested() const { return histogramRequested_; }
    QString thresholdEnergyText() const;

    QDoubleSpinBox* aEdit() const { return a_; }
    QDoubleSpinBox* bEdit() const { return b_; }
    QDoubleSpinBox* mminEdit() const { return mmin_; }
    QCheckBox* selectAll() const { return selectAll_; }
    QCheckBox* protectedBox() const { return protected_; }
    QCheckBox* localizedBox() const { return localized_; }
    QListWidget* fieldList() const { return fields_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* histogramButton() const { return histogram_; }
    // "Oszacuj" beside MMin: runs the estimator and puts the completeness
    // magnitude it returns into MMin; disabled while no estimator is set.
    QPushButton* estimateButton() const { return estimate_; }
    void setCompletenessEstimator(std::function<std::optional<double>()> estimator);

signals:
    // The "Pomoc" button: the page of the manual about this dialog.
    void helpRequested(const QString& page);

private:
    void refreshThresholdEnergy();

    BaseProperties& values_;
    const Preferences& prefs_;
    Locale locale_;
    bool initFromPreferences_ = true;
    bool histogramRequested_ = false;
    bool loading_ = false;
    QDoubleSpinBox* a_;
    QDoubleSpinBox* b_;
    QDoubleSpinBox* mmin_;
    QLineEdit* energy_;
    QCheckBox* localized_;
    QCheckBox* protected_;
    QListWidget* fields_;
    QCheckBox* selectAll_;
    QPushButton* histogram_;
    QPushButton* estimate_;
    std::function<std::optional<double>()> estimator_;
    QPushButton* ok_;
    QPushButton* help_;
};

}  // namespace zorv

#pragma once
// The dialogs of the zone statistics. TfmZones has two steps: the zones of
// the chart ("Dalej >>", enabled while the list is not empty), then the
// chart's properties ("Koniec" accepts; for the zone b-values the check box of
// their statistics, standard errors and Utsu tests). TfmZoneActivity takes the zones and
// whether the activity is split into energy classes.

#include <QDialog>

#include "analysis/ZonePicker.h"

class QCheckBox;
class QGroupBox;
class QPushButton;
class QStackedWidget;

namespace zorv {

class TfmZones : public QDialog {
    Q_OBJECT
public:
    explicit TfmZones(QWidget* parent = nullptr);

    // Back at step 1 with the department tree; the list keeps its zones, the
    // statistics box (shown when `bStatistics`) its state.
    void prepare(const ZoneTree& zones, const QString& rootCaption, const QString& caption,
                 bool bStatistics = false);
    std::vector<std::string> zones() const { return picker_->chosenZones(); }
    int step() const;
    // Ticked and shown.
    bool bStatistics() const;
    // The Aki–Utsu b beside the truncated one (shown with the statistics box).
    bool bAki() const;
    QCheckBox* bAkiBox() const { return bAki_; }
    QCheckBox* bStatisticsBox() const { return bStatistics_; }

    ZonePicker* picker() const { return picker_; }
    QPushButton* nextButton() const { return next_; }

signals:
    void helpRequested(const QString& page);

private:
    void updateNext();
    void nextClicked();

    ZonePicker* picker_;
    QStackedWidget* steps_;
    QCheckBox* bStatistics_;
    QCheckBox* bAki_;
    QPushButton* next_;
};

class TfmZoneActivity : public QDialog {
    Q_OBJECT
public:
    explicit TfmZoneActivity(QWidget* parent = nullptr);

    void prepare(const ZoneTree& zones, const QString& rootCaption, const QString& caption,
                 bool energyClasses);
    std::vector<std::string> zones() const { return picker_->chosenZones(); }
    bool energyClasses() const;

    ZonePicker* picker() const { return picker_; }
    QCheckBox* energyCategories() const { return classes_; }
    QPushButton* continueButton() const { return continue_; }

signals:
    void helpRequested(const QString& page);

private:
    ZonePicker* picker_;
    QCheckBox* classes_;
    QPushButton* continue_;
};

}  // namespace zorv

#pragma once
// The dialogs of the zone statistics. TfmZones has two steps: the zones of
// the chart ("Dalej >>", enabled while the list is not empty), then the
// chart's properties ("Koniec" accepts). TfmZoneActivity takes the zones and
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

    // Back at step 1 with the department tree; the list keeps its zones.
    void prepare(const ZoneTree& zones, const QString& rootCaption, const QString& caption);
    std::vector<std::string> zones() const { return picker_->chosenZones(); }
    int step() const;

    ZonePicker* picker() const { return picker_; }
    QPushButton* nextButton() const { return next_; }

signals:
    void helpRequested(const QString& page);

private:
    void updateNext();
    void nextClicked();

    ZonePicker* picker_;
    QStackedWidget* steps_;
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

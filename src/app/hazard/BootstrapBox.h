#pragma once
// The "Przedział ufności" row of the hazard dialogs: a check box and the
// number of bootstrap replicates B and the confidence level [%], the two
// spin boxes enabled with the check box. Off by default.

#include <QWidget>

#include "hazard/HazardBootstrap.h"

class QCheckBox;
class QDoubleSpinBox;
class QSpinBox;

namespace zorv {

class BootstrapBox : public QWidget {
    Q_OBJECT
public:
    explicit BootstrapBox(QWidget* parent = nullptr);

    BootstrapOptions options() const;
    void setOptions(const BootstrapOptions& options);

    QCheckBox* enabled() const { return enabled_; }
    QSpinBox* replicates() const { return replicates_; }
    QDoubleSpinBox* level() const { return level_; }

private:
    QCheckBox* enabled_;
    QSpinBox* replicates_;
    QDoubleSpinBox* level_;
};

}  // namespace zorv

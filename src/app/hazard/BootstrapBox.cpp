#include "hazard/BootstrapBox.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>

namespace zorv {

BootstrapBox::BootstrapBox(QWidget* parent)
    : QWidget(parent),
      enabled_(new QCheckBox(QStringLiteral("Przedział ufności"), this)),
      replicates_(new QSpinBox(this)),
      level_(new QDoubleSpinBox(this)) {
    replicates_->setRange(kMinReplicates, kMaxReplicates);
    replicates_->setToolTip(QStringLiteral("Liczba replikacji bootstrap"));
    level_->setRange(100.0 * kMinLevel, 100.0 * kMaxLevel);
    level_->setDecimals(1);
    level_->setSuffix(QStringLiteral(" %"));
    level_->setToolTip(QStringLiteral("Poziom ufności"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(enabled_);
    row->addSpacing(12);
    row->addWidget(new QLabel(QStringLiteral("B ="), this));
    row->addWidget(replicates_);
    row->addSpacing(12);
    row->addWidget(new QLabel(QStringLiteral("poziom"), this));
    row->addWidget(level_);
    row->addStretch(1);
    connect(enabled_, &QCheckBox::toggled, replicates_, &QWidget::setEnabled);
    connect(enabled_, &QCheckBox::toggled, level_, &QWidget::setEnabled);
    setOptions(BootstrapOptions{});
}

BootstrapOptions BootstrapBox::options() const {
    BootstrapOptions o;
    o.enabled = enabled_->isChecked();
    o.replicates = replicates_->value();
    o.level = level_->value() / 100.0;
    return o;
}

void BootstrapBox::setOptions(const BootstrapOptions& o) {
    enabled_->setChecked(o.enabled);
    replicates_->setValue(o.replicates);
    level_->setValue(100.0 * o.level);
    replicates_->setEnabled(o.enabled);
    level_->setEnabled(o.enabled);
}

}  // namespace zorv

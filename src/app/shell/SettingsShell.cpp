// The main window's settings and help: the preferences dialog (with the
// completeness estimate it offers), resetting the settings, the manual and
// the program information.

#include <QMetaObject>

#include "catalogue/SettingsStore.h"
#include "catalogue/TfmPreferences.h"
#include "help/HelpWindow.h"
#include "help/TfmGreetings.h"
#include "services/UserLocale.h"
#include "shell/TfmZorv.h"

namespace zorv {

TfmPreferences& TfmZorv::preferencesDialog() {
    if (!preferencesDialog_) {
        preferencesDialog_ = new TfmPreferences(prefs_, store_, dialogs_, userLocale(), this);
        connect(preferencesDialog_, &TfmPreferences::resetConfirmed, this, &TfmZorv::resetSettingsAndClose);
        preferencesDialog_->setCompletenessEstimator(
            [this] { return estimateCompletenessMagnitude(preferencesDialog_); });
        connect(preferencesDialog_, &QDialog::finished, this, &TfmZorv::afterPreferencesClosed);
        connect(preferencesDialog_, &TfmPreferences::mapAxesChanged, this, [this](bool x, bool y) {
            action(QStringLiteral("mInverseXAxis"))->setChecked(x);
            action(QStringLiteral("mInverseYAxis"))->setChecked(y);
            inverseAxes();
        });
    }
    return *preferencesDialog_;
}

void TfmZorv::showPreferences() { preferencesDialog().exec(); }

void TfmZorv::afterPreferencesClosed() {
    applyFilter();
    refreshAnalysisSettings();
    refreshStatusBar();
}

void TfmZorv::resetSettingsAndClose() {
    ResetSettings(store_);
    // Closing the main window ends the program; the next start writes the
    // defaults.
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void TfmZorv::showHelp(bool index) {
    if (!help_) help_ = new HelpWindow(nullptr);
    help_->showFinder(index ? HelpWindow::Finder::Index : HelpWindow::Finder::Contents);
}

HelpWindow* TfmZorv::helpWindow() const { return help_.data(); }

void TfmZorv::showHelpPage(const QString& page) {
    if (!help_) help_ = new HelpWindow(nullptr);
    help_->showFinder(HelpWindow::Finder::Contents);
    help_->openPage(page);
}

void TfmZorv::showInformation() {
    TfmGreetings info(this);
    info.exec();
}

}  // namespace zorv

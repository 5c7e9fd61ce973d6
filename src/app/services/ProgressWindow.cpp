#include "services/ProgressWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "services/UserDialogs.h"

namespace zorv {

TfmProgress::TfmProgress(UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      dialogs_(dialogs),
      caption_(new QLabel(this)),
      gauge_(new QProgressBar(this)),
      cancel_(new QPushButton(QStringLiteral("Anuluj"), this)) {
    setObjectName(QStringLiteral("TfmProgress"));
    setWindowTitle(QStringLiteral("Postęp obliczeń"));
    setWindowModality(Qt::ApplicationModal);
    QFont bold = caption_->font();
    bold.setBold(true);
    caption_->setFont(bold);
    caption_->setMinimumWidth(360);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption_);
    layout->addWidget(gauge_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel_);
    layout->addLayout(buttons);
    connect(cancel_, &QPushButton::clicked, this, [this] { cancelled_ = true; });
}

void TfmProgress::start(const std::string& caption, int minimum, int maximum) {
    cancelled_ = false;
    caption_->setText(QString::fromStdString(caption));
    // Maximum first, so a range wholly above the previous one is accepted.
    gauge_->setMaximum(maximum);
    gauge_->setMinimum(minimum);
    gauge_->setValue(minimum);
    show();
    raise();
    processEvents(true);
}

void TfmProgress::setRange(int minimum, int maximum) {
    gauge_->setMaximum(maximum);
    gauge_->setMinimum(minimum);
}

void TfmProgress::setPosition(int position) {
    gauge_->setValue(position);
    processEvents(false);
}

void TfmProgress::hide() { QDialog::hide(); }

bool TfmProgress::confirm(const std::string& question) {
    return dialogs_.confirm(kConfirmTitle, QString::fromStdString(question));
}

void TfmProgress::inform(const std::string& title, const std::string& text, bool error) {
    if (error)
        dialogs_.error(QString::fromStdString(title), QString::fromStdString(text));
    else
        dialogs_.information(QString::fromStdString(title), QString::fromStdString(text));
}

QString TfmProgress::caption() const { return caption_->text(); }
int TfmProgress::minimum() const { return gauge_->minimum(); }
int TfmProgress::maximum() const { return gauge_->maximum(); }
int TfmProgress::position() const { return gauge_->value(); }

void TfmProgress::closeEvent(QCloseEvent* event) {
    // Closing the box by its frame means stop, like the cancel button.
    cancelled_ = true;
    event->ignore();
}

void TfmProgress::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        cancelled_ = true;
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TfmProgress::isCancelled() const {
    if (isVisible()) const_cast<TfmProgress*>(this)->processEvents(false);
    return cancelled_;
}

void TfmProgress::processEvents(bool force) {
    if (!force && sinceProcessed_.isValid() && sinceProcessed_.elapsed() < kProcessIntervalMs) return;
    QApplication::processEvents();
    sinceProcessed_.restart();
}

TfmProcessNotice::TfmProcessNotice(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint), text_(new QLabel(this)) {
    setObjectName(QStringLiteral("TfmProcessNotice"));
    setWindowTitle(QStringLiteral("Przetwarzanie..."));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 16, 24, 16);
    layout->addWidget(text_);
}

void TfmProcessNotice::showText(const QString& text) {
    text_->setText(text);
    adjustSize();
    show();
    raise();
    // Paint it now: the work that follows keeps the event loop busy.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TfmProcessNotice::remove() {
    QWidget::hide();
    text_->clear();
}

QString TfmProcessNotice::text() const { return text_->text(); }

}  // namespace zorv

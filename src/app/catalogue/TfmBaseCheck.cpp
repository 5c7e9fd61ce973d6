#include "catalogue/TfmBaseCheck.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <chrono>
#include <future>

#include "catalogue/CatalogueModel.h"
#include "files/TableFiles.h"
#include "services/UserDialogs.h"

namespace zorv {

namespace {

const char* const kStageCaptions[4] = {
    "Próba otwarcia bazy danych i integralności danych",
    "Weryfikacja istnieja pożądanych przez program pól danych",
    "Weryfikacja formatu pól",
    "Weryfikacja poprawności struktury rekordów",
};

QString stateMark(StageState s) {
    switch (s) {
        case StageState::InProgress: return QStringLiteral("►");
        case StageState::Failed: return QStringLiteral("✗");
        case StageState::Passed: return QStringLiteral("✓");
        case StageState::Waiting: break;
    }
    return QStringLiteral("·");
}

QString stateColour(StageState s) {
    switch (s) {
        case StageState::InProgress: return QStringLiteral("#1d5fbf");
        case StageState::Failed: return QStringLiteral("#c0141e");
        case StageState::Passed: return QStringLiteral("#14852f");
        case StageState::Waiting: break;
    }
    return QStringLiteral("#808080");
}

}  // namespace

TfmBaseCheck::TfmBaseCheck(const AnalysisSettings& settings, const QString& path, UserDialogs& dialogs,
                           QWidget* parent)
    : QDialog(parent),
      check_(settings, path.toStdString()),
      dialogs_(dialogs),
      model_(new CatalogueModel(this)) {
    setObjectName(QStringLiteral("TfmBaseCheck"));
    setWindowTitle(QStringLiteral("Weryfikacja poprawności bazy"));
    views_ = new QStackedWidget(this);

    // The main view.
    auto* main = new QWidget(views_);
    auto* mainBox = new QVBoxLayout(main);
    auto* stages = new QGroupBox(QStringLiteral("Przebieg weryfikacji"), main);
    auto* stageBox = new QVBoxLayout(stages);
    for (int i = 0; i < 4; ++i) {
        indicators_[i] = new QLabel(stages);
        indicators_[i]->setObjectName(QStringLiteral("Indicator%1").arg(i + 1));
        stageBox->addWidget(indicators_[i]);
        setIndicator(static_cast<CheckStage>(i), StageState::Waiting);
    }
    mainBox->addWidget(stages);
    gauge_ = new QProgressBar(main);
    gauge_->setObjectName(QStringLiteral("Gauge"));
    gauge_->setRange(0, 100);
    gauge_->setValue(0);
    mainBox->addWidget(gauge_);
    report_ = new QPlainTextEdit(main);
    report_->setObjectName(QStringLiteral("Report"));
    report_->setReadOnly(true);
    report_->setFont(QFont(QStringLiteral("Monospace"), 9));
    report_->setLineWrapMode(QPlainTextEdit::NoWrap);
    report_->setVisible(false);
    mainBox->addWidget(report_, 2);
    mainBox->addWidget(new QLabel(QStringLiteral("Błędy:"), main));
    errors_ = new QListWidget(main);
    errors_->setObjectName(QStringLiteral("Errors"));
    mainBox->addWidget(errors_, 1);
    auto* buttons = new QHBoxLayout;
    reportButton_ = new QPushButton(QStringLiteral("Wyświetl raport"), main);
    repairButton_ = new QPushButton(QStringLiteral("Napraw bazę"), main);
    continue_ = new QPushButton(QStringLiteral("Kontynuuj"), main);
    for (QPushButton* b : {reportButton_, repairButton_, continue_}) {
        b->setEnabled(false);
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    buttons->insertStretch(2);
    mainBox->addLayout(buttons);
    views_->addWidget(main);

    // The repair view.
    auto* repair = new QWidget(views_);
    auto* repairBox = new QVBoxLayout(repair);
    repairGrid_ = new QTableView(repair);
    repairGrid_->setObjectName(QStringLiteral("RepairGrid"));
    repairGrid_->setModel(model_);
    repairGrid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    repairGrid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    repairGrid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    repairGrid_->verticalHeader()->setDefaultSectionSize(20);
    repairBox->addWidget(repairGrid_, 3);
    repairErrors_ = new QListWidget(repair);
    repairErrors_->setObjectName(QStringLiteral("RepairErrors"));
    repairBox->addWidget(repairErrors_, 1);
    auto* info = new QGridLayout;
    info->addWidget(new QLabel(QStringLiteral("Rekord:"), repair), 0, 0);
    repairRecord_ = new QLabel(repair);
    repairRecord_->setObjectName(QStringLiteral("RepairRecord"));
    info->addWidget(repairRecord_, 0, 1);
    info->addWidget(new QLabel(QStringLiteral("Błąd:"), repair), 1, 0);
    repairError_ = new QLabel(repair);
    repairError_->setObjectName(QStringLiteral("RepairError"));
    info->addWidget(repairError_, 1, 1);
    info->setColumnStretch(1, 1);
    repairBox->addLayout(info);
    auto* repairButtons = new QHBoxLayout;
    delete_ = new QPushButton(QStringLiteral("Usuń rekord"), repair);
    finishRepair_ = new QPushButton(QStringLiteral("Zakończ"), repair);
    delete_->setAutoDefault(false);
    finishRepair_->setAutoDefault(false);
    repairButtons->addWidget(delete_);
    repairButtons->addStretch();
    repairButtons->addWidget(finishRepair_);
    repairBox->addLayout(repairButtons);
    views_->addWidget(repair);

    auto* box = new QVBoxLayout(this);
    box->addWidget(views_);
    resize(640, 560);

    connect(reportButton_, &QPushButton::clicked, this, [this] { report_->setVisible(true); });
    connect(repairButton_, &QPushButton::clicked, this, &TfmBaseCheck::showRepair);
    connect(continue_, &QPushButton::clicked, this,
            [this] { done(check_.checkPassed() ? Accepted : Rejected); });
    connect(finishRepair_, &QPushButton::clicked, this, &TfmBaseCheck::finishRepair);
    connect(delete_, &QPushButton::clicked, this, &TfmBaseCheck::deleteCurrentRecord);
    connect(repairErrors_, &QListWidget::currentRowChanged, this, &TfmBaseCheck::repairLineChosen);
    check_.setStageObserver([this](CheckStage s, StageState st) { setIndicator(s, st); });
    check_.setProgress(this);
}

TfmBaseCheck::~TfmBaseCheck() { model_->setTable(nullptr, {}); }

QString TfmBaseCheck::indicatorText(CheckStage stage) const {
    return indicators_[static_cast<int>(stage)]->text();
}

void TfmBaseCheck::setIndicator(CheckStage stage, StageState state) {
    const int i = static_cast<int>(stage);
    indicators_[i]->setText(
        QStringLiteral("<span style='color:%1;font-weight:bold'>%2</span> %3")
            .arg(stateColour(state), stateMark(state), QString::fromUtf8(kStageCaptions[i])));
    indicators_[i]->setProperty("state", static_cast<int>(state));
    processEvents(true);
}

void TfmBaseCheck::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!started_) QTimer::singleShot(0, this, &TfmBaseCheck::runCheck);
}

void TfmBaseCheck::runCheck() {
    if (started_) return;
    started_ = true;
    running_ = true;
    // The file is read on a worker thread while the gauge keeps moving; the
    // rest of the check runs here.
    const auto open = [this](const std::string& path) {
        // A file the user may not write is checked (and opened) read-only.
        const bool writable = !readOnly_ && QFileInfo(QString::fromStdString(path)).isWritable();
        auto loading =
            std::async(std::launch::async, [path, writable] { return openTableFile(path, writable); });
        gauge_->setRange(0, 0);
        while (loading.wait_for(std::chrono::milliseconds(30)) != std::future_status::ready)
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        gauge_->setRange(0, 100);
        return loading.get();
    };
    check_.run(open);
    running_ = false;
    report_->setPlainText(QString());
    QStringList lines;
    for (const std::string& l : check_.report()) lines << QString::fromStdString(l);
    report_->setPlainText(lines.join(QLatin1Char('\n')));
    // A check that stopped before the records says why; the list would
    // otherwise stay empty beside a failed stage.
    if (!check_.failureMessage().empty()) errors_->addItem(QString::fromStdString(check_.failureMessage()));
    for (const std::string& l : check_.errorLines()) errors_->addItem(QString::fromStdString(l));
    reportButton_->setEnabled(true);
    if (check_.tooManyErrors()) showProblem(dialogs_, QString::fromUtf8(kTooManyErrorsMessage));
    repairButton_->setEnabled(check_.repairOffered() && check_.table() != nullptr);
    continue_->setEnabled(true);
    continue_->setDefault(true);
}

std::unique_ptr<Table> TfmBaseCheck::takeTable() {
    model_->setTable(nullptr, {});
    return check_.takeTable();
}

void TfmBaseCheck::closeEvent(QCloseEvent* event) {
    if (running_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TfmBaseCheck::reject() {
    // However the dialog is closed, its result is whether the check passed.
    if (running_) return;
    done(check_.checkPassed() ? Accepted : Rejected);
}

// ------------------------------------------------------------------ gauge

void TfmBaseCheck::start(const std::string&, int minimum, int maximum) {
    gauge_->setRange(minimum, maximum);
    gauge_->setValue(minimum);
    processEvents(true);
}

void TfmBaseCheck::setRange(int minimum, int maximum) { gauge_->setRange(minimum, maximum); }

void TfmBaseCheck::setPosition(int position) {
    gauge_->setValue(position);
    processEvents(false);
}

void TfmBaseCheck::processEvents(bool force) {
    if (!isVisible()) return;
    if (!force && sinceProcessed_.isValid() && sinceProcessed_.elapsed() < 40) return;
    sinceProcessed_.start();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// ------------------------------------------------------------------ repair

void TfmBaseCheck::showRepair() {
    if (!check_.table()) return;
    model_->setTable(check_.table(), check_.table()->locale());
    repairErrors_->clear();
    for (int i = 0; i < errors_->count(); ++i) repairErrors_->addItem(errors_->item(i)->text());
    views_->setCurrentIndex(1);
}

void TfmBaseCheck::finishRepair() { views_->setCurrentIndex(0); }

QString TfmBaseCheck::repairRecordText() const { return repairRecord_->text(); }
QString TfmBaseCheck::repairErrorText() const { return repairError_->text(); }

void TfmBaseCheck::repairLineChosen(int row) {
    if (row < 0 || !check_.table()) return;
    const QString text = repairErrors_->item(row)->text();
    const CheckErrorLine line = parseCheckErrorLine(text.toStdString());
    if (line.recordNumber == 0) {
        // The reason of a stopped check names no record.
        repairRecord_->clear();
        repairError_->setText(text);
        return;
    }
    repairRecord_->setText(QString::number(line.recordNumber));
    repairError_->setText(QString::fromStdString(line.message));
    check_.gotoRecord(line.recordNumber);
    const int at = static_cast<int>(check_.table()->recNo()) - 1;
    if (at >= 0) {
        repairGrid_->selectRow(at);
        repairGrid_->scrollTo(model_->index(at, 0));
    }
}

void TfmBaseCheck::deleteCurrentRecord() {
    if (!check_.table() || check_.table()->isEmpty()) return;
    if (!dialogs_.confirm(QString::fromUtf8(kDeleteRecordTitle), QString::fromUtf8(kDeleteRecordQuestion)))
        return;
    try {
        check_.deleteCurrentRecord();
    } catch (const std::exception& e) {
        showProblem(dialogs_, QString::fromUtf8(e.what()));
    }
    model_->refresh();
}

}  // namespace zorv

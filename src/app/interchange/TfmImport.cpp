#include "interchange/TfmImport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "services/UserDialogs.h"
#include "text/Dates.h"
#include "text/LineFile.h"
#include "widgets/DialogButtons.h"
#include "widgets/TypedDateEdit.h"

namespace zorv {

namespace {

constexpr int kPreviewLines = 4;

double dayOf(const QDate& d) { return dayNumber(d.year(), d.month(), d.day()); }

}  // namespace

TfmImport::TfmImport(UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent),
      dialogs_(dialogs),
      columnList_(new QListWidget(this)),
      roleList_(new QListWidget(this)),
      typeList_(new QComboBox(this)),
      name_(new QLineEdit(this)),
      import_(new QCheckBox(QStringLiteral("Importuj kolumnę"), this)),
      preview_(new QPlainTextEdit(this)),
      start_(new TypedDateEdit(this)),
      end_(new TypedDateEdit(this)),
      zoneName_(new QLineEdit(this)),
      a_(new QDoubleSpinBox(this)),
      b_(new QDoubleSpinBox(this)),
      addMissing_(new QCheckBox(QStringLiteral("Dodaj brakujące kolumny danych"), this)),
      energyMagnitude_(new QCheckBox(QStringLiteral("Utwórz kolumnę Energia/Magnituda"), this)),
      ignoreFirst_(new QCheckBox(QStringLiteral("Zignoruj pierwszy wiersz danych"), this)),
      importButton_(new QPushButton(QStringLiteral("Importuj"), this)) {
    setObjectName(QStringLiteral("TfmImport"));
    setWindowTitle(QStringLiteral("Import danych z pliku tekstowego"));
    columnList_->setObjectName(QStringLiteral("ListaPol"));
    roleList_->setObjectName(QStringLiteral("ZorvField"));
    typeList_->setObjectName(QStringLiteral("FieldType"));
    preview_->setObjectName(QStringLiteral("Podglad"));
    for (const char* role : {"Magnituda", "Energia", "Strefa", "Data", "X", "Y"})
        roleList_->addItem(QString::fromUtf8(role));
    roleList_->setMaximumHeight(6 * 20);
    for (const char* type : {"Liczba zmiennoprzecinkowa", "Liczba całkowita 32-bitowa", "Data", "Tekst"})
        typeList_->addItem(QString::fromUtf8(type));
    preview_->setReadOnly(true);
    preview_->setLineWrapMode(QPlainTextEdit::NoWrap);
    preview_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    preview_->setMaximumHeight(6 * QFontMetrics(preview_->font()).height());
    for (QDateEdit* d : {start_, end_}) {
        d->setCalendarPopup(true);
        d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    }
    for (QDoubleSpinBox* s : {a_, b_}) {
        s->setRange(0, 15);
        s->setSingleStep(0.1);
        s->setDecimals(2);
    }

    auto* columnsBox = new QGroupBox(QStringLiteral("Kolumny pliku"), this);
    auto* columnsLayout = new QGridLayout(columnsBox);
    columnsLayout->addWidget(columnList_, 0, 0, 6, 1);
    columnsLayout->addWidget(new QLabel(QStringLiteral("Zaznaczoną kolumnę traktuj jako:"), columnsBox), 0,
                             1);
    columnsLayout->addWidget(roleList_, 1, 1);
    columnsLayout->addWidget(new QLabel(QStringLiteral("Typ wartości"), columnsBox), 2, 1);
    columnsLayout->addWidget(typeList_, 3, 1);
    auto* nameRow = new QFormLayout;
    nameRow->addRow(QStringLiteral("Nazwa pola"), name_);
    columnsLayout->addLayout(nameRow, 4, 1);
    columnsLayout->addWidget(import_, 5, 1);

    auto* missingBox = new QGroupBox(QStringLiteral("Brakujące kolumny danych"), this);
    auto* missing = new QFormLayout(missingBox);
    missing->addRow(addMissing_);
    missing->addRow(QStringLiteral("Data początkowa"), start_);
    missing->addRow(QStringLiteral("Data końcowa"), end_);
    missing->addRow(QStringLiteral("Nazwa strefy"), zoneName_);
    missing->addRow(energyMagnitude_);
    auto* relation = new QHBoxLayout;
    relation->addWidget(new QLabel(QStringLiteral("log E = a·M + b:   a"), missingBox));
    relation->addWidget(a_);
    relation->addWidget(new QLabel(QStringLiteral("b"), missingBox));
    relation->addWidget(b_);
    missing->addRow(relation);

    auto* top = new QHBoxLayout;
    top->addWidget(columnsBox, 3);
    top->addWidget(missingBox, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(new QLabel(QStringLiteral("Podgląd pliku"), this));
    layout->addWidget(preview_);
    layout->addWidget(ignoreFirst_);
    layout->addLayout(
        dialogButtonRow(this, importButton_, [this] { emit helpRequested(QStringLiteral("katalog.html")); }));

    connect(importButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(columnList_, &QListWidget::currentRowChanged, this, &TfmImport::selectColumn);
    connect(roleList_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { chooseRole(ImportRole(roleList_->row(item))); });
    connect(import_, &QCheckBox::clicked, this, &TfmImport::storeColumn);
    connect(typeList_, &QComboBox::currentIndexChanged, this, &TfmImport::storeColumn);
    connect(name_, &QLineEdit::textEdited, this, &TfmImport::storeColumn);
    connect(start_, &QDateEdit::dateChanged, this, &TfmImport::startChanged);
    connect(end_, &QDateEdit::dateChanged, this, &TfmImport::endChanged);
}

bool TfmImport::load(const QString& path, const Preferences& prefs) {
    try {
        lines_ = readLines(path.toStdString());
    } catch (const std::exception&) {
        showProblem(dialogs_, QStringLiteral("Załadowanie pliku: ") + QFileInfo(path).fileName() +
                                  QStringLiteral(" nie powiodło się..."));
        return false;
    }
    // The extension as typed; an unknown one keeps the previous separator.
    if (const auto s = importSeparatorOfFile(path.toStdString())) separator_ = *s;

    roles_ = importRoleNames(prefs);
    showing_ = true;
    a_->setValue(prefs.a);
    b_->setValue(prefs.b);
    addMissing_->setChecked(true);
    zoneName_->setText(QString::fromStdString(defaultImportZoneName(prefs.Prefix, prefs.Slash)));
    roleList_->clearSelection();
    columnList_->clear();
    columns_.clear();
    current_ = -1;
    std::vector<std::string> captions;
    try {
        captions = discoverImportColumns(lines_.empty() ? std::string() : lines_.front(), separator_);
    } catch (const ImportError& e) {
        showing_ = false;
        showProblem(dialogs_, QString::fromStdString(e.what()));
        return false;
    }
    columns_ = defaultImportColumns(captions.size());
    for (std::size_t c = 0; c < captions.size(); ++c)
        columnList_->addItem(QStringLiteral("%1: %2").arg(c + 1).arg(QString::fromStdString(captions[c])));
    QStringList first;
    for (std::size_t i = 0; i < lines_.size() && i < std::size_t(kPreviewLines); ++i)
        first << QString::fromStdString(lines_[i]);
    preview_->setPlainText(first.join(QLatin1Char('\n')));
    const QDate today = QDate::currentDate();
    end_->setDate(today.addDays(qint64(lines_.size())));
    start_->setDate(today);
    showing_ = false;
    if (!columns_.empty()) columnList_->setCurrentRow(0);
    return true;
}

ImportOptions TfmImport::options() const {
    ImportOptions o;
    o.startDate = dayOf(start_->date());
    o.endDate = dayOf(end_->date());
    o.zoneName = zoneName_->text().toStdString();
    o.a = a_->value();
    o.b = b_->value();
    o.addMissingFields = addMissing_->isChecked();
    o.createEnergyMagnitude = energyMagnitude_->isChecked();
    o.ignoreFirstLine = ignoreFirst_->isChecked();
    return o;
}

void TfmImport::selectColumn(int column) {
    if (column < 0 || column >= int(columns_.size())) return;
    current_ = column;
    if (columnList_->currentRow() != column) columnList_->setCurrentRow(column);
    roleList_->clearSelection();
    showColumn();
}

void TfmImport::chooseRole(ImportRole role) {
    if (current_ < 0) return;
    roleList_->setCurrentRow(int(role));
    ImportColumn& c = columns_[std::size_t(current_)];
    c.type = importRoleType(role);
    c.import = true;
    c.name = roles_.of(role);
    showColumn();
}

void TfmImport::showColumn() {
    if (current_ < 0) return;
    const ImportColumn& c = columns_[std::size_t(current_)];
    showing_ = true;
    typeList_->setCurrentIndex(int(c.type));
    import_->setChecked(c.import);
    name_->setText(QString::fromStdString(c.name));
    showing_ = false;
}

void TfmImport::storeColumn() {
    if (showing_ || current_ < 0) return;
    ImportColumn& c = columns_[std::size_t(current_)];
    c.type = ImportType(std::max(0, typeList_->currentIndex()));
    c.import = import_->isChecked();
    c.name = name_->text().toStdString();
}

void TfmImport::startChanged() {
    if (showing_ || start_->date() <= end_->date()) return;
    showProblem(dialogs_, QStringLiteral("Data początkowa jest większa niż data końcowa"));
    start_->setDate(end_->date());
}

void TfmImport::endChanged() {
    if (showing_ || end_->date() >= start_->date()) return;
    showProblem(dialogs_, QStringLiteral("Data końcowa jest mniejsza niż data początkowa"));
    end_->setDate(start_->date());
}

}  // namespace zorv

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
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <fstream>
#include <iterator>

#include "services/UserDialogs.h"
#include "text/Dates.h"
#include "text/LineFile.h"
#include "widgets/DialogButtons.h"
#include "widgets/TypedDateEdit.h"

namespace zorv {

namespace {

constexpr int kPreviewLines = 4;

double dayOf(const QDate& d) { return dayNumber(d.year(), d.month(), d.day()); }

bool readBytes(const QString& path, std::string& into) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    if (!in) return false;
    into.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

}  // namespace

TfmImport::TfmImport(UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent),
      dialogs_(dialogs),
      form_(new QComboBox(this)),
      pages_(new QStackedWidget(this)),
      previews_(new QStackedWidget(this)),
      columnList_(new QListWidget(this)),
      roleList_(new QListWidget(this)),
      typeList_(new QComboBox(this)),
      name_(new QLineEdit(this)),
      import_(new QCheckBox(QStringLiteral("Importuj kolumnę"), this)),
      preview_(new QPlainTextEdit(this)),
      encoding_(new QComboBox(this)),
      csvSeparator_(new QComboBox(this)),
      decimal_(new QComboBox(this)),
      dateOrder_(new QComboBox(this)),
      dateNote_(new QLabel(this)),
      header_(new QCheckBox(QStringLiteral("Pierwszy wiersz zawiera nazwy kolumn"), this)),
      missing_(new QLineEdit(this)),
      dropEmpty_(new QCheckBox(QStringLiteral("Pomiń wiersze bez magnitudy i energii"), this)),
      epsg_(new QLineEdit(this)),
      status_(new QLabel(this)),
      grid_(new QTableWidget(this)),
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
    form_->setObjectName(QStringLiteral("PostacPliku"));
    columnList_->setObjectName(QStringLiteral("ListaPol"));
    roleList_->setObjectName(QStringLiteral("ZorvField"));
    typeList_->setObjectName(QStringLiteral("FieldType"));
    preview_->setObjectName(QStringLiteral("Podglad"));
    grid_->setObjectName(QStringLiteral("PodgladKolumn"));
    for (const char* f :
         {"Plik tekstowy, kolumny wskazane ręcznie", "CSV z nazwami kolumn (także CSV OpenQuake)",
          "Tekst FDSN (#EventID|Time|…)", "QuakeML 1.2"})
        form_->addItem(QString::fromUtf8(f));
    for (const char* role : {"Magnituda", "Energia", "Strefa", "Data", "X", "Y"})
        roleList_->addItem(QString::fromUtf8(role));
    roleList_->setMaximumHeight(6 * 20);
    for (const char* type : {"Liczba zmiennoprzecinkowa", "Liczba całkowita 32-bitowa", "Data", "Tekst"})
        typeList_->addItem(QString::fromUtf8(type));
    for (const TextEncoding e : {TextEncoding::Utf8, TextEncoding::Utf8Bom, TextEncoding::Cp1250})
        encoding_->addItem(QString::fromUtf8(textEncodingName(e)));
    for (const char s : kImportSeparators) csvSeparator_->addItem(QString::fromUtf8(csvSeparatorName(s)));
    decimal_->addItem(QStringLiteral("kropka (1.5)"));
    decimal_->addItem(QStringLiteral("przecinek (1,5)"));
    for (const DateOrder o : {DateOrder::Iso, DateOrder::DayFirst, DateOrder::MonthFirst})
        dateOrder_->addItem(QString::fromUtf8(dateOrderName(o)));
    dateNote_->setWordWrap(true);
    status_->setWordWrap(true);
    missing_->setPlaceholderText(QStringLiteral("puste, NaN, NA oraz np. -999"));
    epsg_->setPlaceholderText(QStringLiteral("strefa UTM średniej długości"));
    preview_->setReadOnly(true);
    preview_->setLineWrapMode(QPlainTextEdit::NoWrap);
    preview_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    preview_->setMaximumHeight(6 * QFontMetrics(preview_->font()).height());
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setMinimumHeight(7 * QFontMetrics(font()).height() + 40);
    for (QDateEdit* d : {start_, end_}) {
        d->setCalendarPopup(true);
        d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    }
    for (QDoubleSpinBox* s : {a_, b_}) {
        s->setRange(0, 15);
        s->setSingleStep(0.1);
        s->setDecimals(2);
    }

    // The columns set by hand.
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
    pages_->addWidget(columnsBox);

    // The forms read by column names.
    auto* readingBox = new QGroupBox(QStringLiteral("Odczyt pliku (wykryty, do zmiany)"), this);
    auto* reading = new QFormLayout(readingBox);
    reading->addRow(QStringLiteral("Kodowanie"), encoding_);
    reading->addRow(QStringLiteral("Separator"), csvSeparator_);
    reading->addRow(QStringLiteral("Znak dziesiętny"), decimal_);
    reading->addRow(header_);
    reading->addRow(QStringLiteral("Daty"), dateOrder_);
    reading->addRow(dateNote_);
    reading->addRow(QStringLiteral("Brak wartości"), missing_);
    reading->addRow(dropEmpty_);
    reading->addRow(QStringLiteral("Układ X/Y (EPSG)"), epsg_);
    pages_->addWidget(readingBox);

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

    previews_->addWidget(preview_);
    auto* gridPage = new QWidget(this);
    auto* gridLayout = new QVBoxLayout(gridPage);
    gridLayout->setContentsMargins(0, 0, 0, 0);
    gridLayout->addWidget(status_);
    gridLayout->addWidget(grid_);
    previews_->addWidget(gridPage);

    auto* formRow = new QFormLayout;
    formRow->addRow(QStringLiteral("Postać pliku"), form_);
    auto* top = new QHBoxLayout;
    top->addWidget(pages_, 3);
    top->addWidget(missingBox, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(formRow);
    layout->addLayout(top);
    layout->addWidget(new QLabel(QStringLiteral("Podgląd pliku"), this));
    layout->addWidget(previews_, 1);
    layout->addWidget(ignoreFirst_);
    layout->addLayout(
        dialogButtonRow(this, importButton_, [this] { emit helpRequested(QStringLiteral("katalog.html")); }));

    connect(importButton_, &QPushButton::clicked, this, &TfmImport::importClicked);
    connect(form_, &QComboBox::currentIndexChanged, this, [this] {
        if (!showing_) showForm();
    });
    connect(columnList_, &QListWidget::currentRowChanged, this, &TfmImport::selectColumn);
    connect(roleList_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { chooseRole(ImportRole(roleList_->row(item))); });
    connect(import_, &QCheckBox::clicked, this, &TfmImport::storeColumn);
    connect(typeList_, &QComboBox::currentIndexChanged, this, &TfmImport::storeColumn);
    connect(name_, &QLineEdit::textEdited, this, &TfmImport::storeColumn);
    connect(start_, &QDateEdit::dateChanged, this, &TfmImport::startChanged);
    connect(end_, &QDateEdit::dateChanged, this, &TfmImport::endChanged);
    connect(encoding_, &QComboBox::currentIndexChanged, this, [this] { readingChanged(&Fixed::encoding); });
    connect(csvSeparator_, &QComboBox::currentIndexChanged, this,
            [this] { readingChanged(&Fixed::separator); });
    connect(decimal_, &QComboBox::currentIndexChanged, this, [this] { readingChanged(&Fixed::decimal); });
    connect(header_, &QCheckBox::toggled, this, [this] { readingChanged(&Fixed::header); });
    connect(dateOrder_, &QComboBox::currentIndexChanged, this, [this] {
        if (showing_) return;
        fixed_.dateOrder = true;
        built_.reset();
        findDateOrder();
    });
    connect(missing_, &QLineEdit::textChanged, this, [this] {
        built_.reset();
        findDateOrder();
    });
}

bool TfmImport::load(const QString& path, const Preferences& prefs) {
    const QString failed = QStringLiteral("Załadowanie pliku: ") + QFileInfo(path).fileName() +
                           QStringLiteral(" nie powiodło się...");
    try {
        lines_ = readLines(path.toStdString());
    } catch (const std::exception&) {
        showProblem(dialogs_, failed);
        return false;
    }
    if (!readBytes(path, bytes_)) {
        showProblem(dialogs_, failed);
        return false;
    }
    path_ = path.toStdString();
    // The extension as typed; an unknown one keeps the previous separator.
    if (const auto s = importSeparatorOfFile(path_)) separator_ = *s;

    roles_ = importRoleNames(prefs);
    names_ = catalogueFieldNames(prefs);
    showing_ = true;
    a_->setValue(prefs.a);
    b_->setValue(prefs.b);
    addMissing_->setChecked(true);
    zoneName_->setText(QString::fromStdString(defaultImportZoneName(prefs.Prefix, prefs.Slash)));
    roleList_->clearSelection();
    columnList_->clear();
    columns_.clear();
    current_ = -1;
    fixed_ = {};
    roleEdits_.clear();
    built_.reset();
    missing_->clear();
    dropEmpty_->setChecked(false);
    epsg_->clear();
    const ImportFileForm proposed = proposedImportForm(bytes_, path_, names_);
    std::vector<std::string> captions;
    manualOk_ = true;
    try {
        captions = discoverImportColumns(lines_.empty() ? std::string() : lines_.front(), separator_);
    } catch (const ImportError& e) {
        manualOk_ = false;
        if (proposed == ImportFileForm::ManualText) {
            showing_ = false;
            showProblem(dialogs_, QString::fromStdString(e.what()));
            return false;
        }
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
    form_->setCurrentIndex(int(proposed));
    showing_ = false;
    if (!columns_.empty()) columnList_->setCurrentRow(0);
    showForm();
    return true;
}

ImportFileForm TfmImport::form() const { return ImportFileForm(std::max(0, form_->currentIndex())); }

void TfmImport::chooseForm(ImportFileForm form) { form_->setCurrentIndex(int(form)); }

void TfmImport::showForm() {
    const ImportFileForm f = form();
    const bool manual = f == ImportFileForm::ManualText;
    pages_->setCurrentIndex(manual ? 0 : 1);
    previews_->setCurrentIndex(manual ? 0 : 1);
    ignoreFirst_->setVisible(manual);
    const bool text = f == ImportFileForm::NamedCsv;
    for (QWidget* w :
         {static_cast<QWidget*>(encoding_), static_cast<QWidget*>(csvSeparator_),
          static_cast<QWidget*>(decimal_), static_cast<QWidget*>(header_), static_cast<QWidget*>(dateOrder_)})
        w->setEnabled(text);
    built_.reset();
    if (manual) {
        if (!manualOk_)
            showProblem(dialogs_,
                        QStringLiteral("Zbyt duża liczba kolumn danych. Proces importu wstrzymany"));
        return;
    }
    reread();
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

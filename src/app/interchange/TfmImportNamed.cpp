// The forms of TfmImport read by column names (a CSV with a header, the
// FDSN event text, QuakeML): the file read again in the chosen settings,
// the proposed roles and the user's changes to them, the date order, and
// the catalogue built by the core.

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTableWidget>

#include "interchange/CsvReader.h"
#include "interchange/Projection.h"
#include "interchange/TfmImport.h"
#include "services/UserDialogs.h"

namespace zorv {

namespace {

constexpr std::size_t kGridRows = 8;
// What the form is proposed from: the file's beginning.
constexpr std::size_t kProposalBytes = 256 * 1024;
constexpr int kRoleCount = int(ColumnRole::Extra) + 1;

std::string lowerExtension(const std::string& path) {
    return QFileInfo(QString::fromStdString(path)).suffix().toLower().toStdString();
}

CatalogueForm catalogueFormOf(ImportFileForm f) {
    switch (f) {
        case ImportFileForm::FdsnText: return CatalogueForm::FdsnText;
        case ImportFileForm::QuakeMl: return CatalogueForm::QuakeMl;
        default: return CatalogueForm::Csv;
    }
}

// The marks of the missing-value field, separated by blanks or ";".
std::vector<std::string> marksOf(const QString& text) {
    std::vector<std::string> marks;
    for (const QString& m : text.split(QRegularExpression(QStringLiteral("[\\s;]+")), Qt::SkipEmptyParts))
        marks.push_back(m.toStdString());
    return marks;
}

bool hasRole(const std::vector<ColumnMapping>& mapping, ColumnRole role) {
    for (const ColumnMapping& m : mapping)
        if (m.role == role) return true;
    return false;
}

}  // namespace

ImportFileForm proposedImportForm(const std::string& bytes, const std::string& path,
                                  const CatalogueFieldNames& names) {
    switch (detectCatalogueForm(bytes)) {
        case CatalogueForm::QuakeMl: return ImportFileForm::QuakeMl;
        case CatalogueForm::FdsnText: return ImportFileForm::FdsnText;
        case CatalogueForm::Csv: break;
    }
    const std::string extension = lowerExtension(path);
    if (extension == "txt" || extension == "dat") return ImportFileForm::ManualText;
    std::string_view head(bytes);
    if (head.size() > kProposalBytes) head = head.substr(0, head.rfind('\n', kProposalBytes) + 1);
    try {
        const CsvRead read = readCsv(head);
        if (!read.dialect.header) return ImportFileForm::ManualText;
        const std::vector<ColumnMapping> roles = autoColumnRoles(read.rows.header(), names);
        if (hasRole(roles, ColumnRole::Magnitude) || hasRole(roles, ColumnRole::Energy))
            return ImportFileForm::NamedCsv;
    } catch (const ImportError&) {
    }
    return ImportFileForm::ManualText;
}

QString columnRoleLabel(ColumnRole role) {
    switch (role) {
        case ColumnRole::Skip: return QStringLiteral("pomiń");
        case ColumnRole::Magnitude: return QStringLiteral("magnituda");
        case ColumnRole::Energy: return QStringLiteral("energia [J]");
        case ColumnRole::X: return QStringLiteral("X [m]");
        case ColumnRole::Y: return QStringLiteral("Y [m]");
        case ColumnRole::Longitude: return QStringLiteral("długość geogr.");
        case ColumnRole::Latitude: return QStringLiteral("szerokość geogr.");
        case ColumnRole::Date: return QStringLiteral("data (i czas)");
        case ColumnRole::TimeOfDay: return QStringLiteral("czas");
        case ColumnRole::Year: return QStringLiteral("rok");
        case ColumnRole::Month: return QStringLiteral("miesiąc");
        case ColumnRole::Day: return QStringLiteral("dzień");
        case ColumnRole::Hour: return QStringLiteral("godzina");
        case ColumnRole::Minute: return QStringLiteral("minuta");
        case ColumnRole::Second: return QStringLiteral("sekunda");
        case ColumnRole::Zone: return QStringLiteral("strefa");
        case ColumnRole::Extra: break;
    }
    return QStringLiteral("dodatkowe pole");
}

void TfmImport::readingChanged(bool Fixed::*what) {
    if (showing_) return;
    fixed_.*what = true;
    reread();
}

void TfmImport::reread() {
    readOk_ = false;
    built_.reset();
    CsvOptions o;
    if (fixed_.encoding)  // a byte-order mark, if any, is dropped either way
        o.encoding = encoding_->currentIndex() == 2 ? TextEncoding::Cp1250 : TextEncoding::Utf8Bom;
    if (fixed_.separator) o.separator = kImportSeparators[std::max(0, csvSeparator_->currentIndex())];
    if (fixed_.header) o.header = header_->isChecked();
    if (fixed_.decimal) o.decimalComma = decimal_->currentIndex() == 1;
    const ImportFileForm f = form();
    try {
        read_ = readCatalogue(bytes_, catalogueFormOf(f), o);
        readOk_ = true;
    } catch (const ImportError& e) {
        read_ = CatalogueRead{};
        mapping_.clear();
        status_->setText(QStringLiteral("Nie udało się odczytać pliku: ") + QString::fromStdString(e.what()));
        fillGrid();
        findDateOrder();
        return;
    }
    showing_ = true;
    const CsvDialect& d = read_.dialect;
    if (f != ImportFileForm::QuakeMl) {
        if (!fixed_.encoding) encoding_->setCurrentIndex(int(d.encoding));
        if (!fixed_.separator)
            for (int i = 0; i < int(std::size(kImportSeparators)); ++i)
                if (kImportSeparators[i] == d.separator) csvSeparator_->setCurrentIndex(i);
        if (!fixed_.header) header_->setChecked(d.header);
        if (!fixed_.decimal) decimal_->setCurrentIndex(d.decimalComma ? 1 : 0);
    }
    showing_ = false;
    mapping_ = autoColumnRoles(read_.rows.header(), names_);
    applyRoleEdits();
    QString status = QStringLiteral("Odczytano: %1, wierszy danych: %2, kolumn: %3.")
                         .arg(QString::fromUtf8(catalogueFormName(read_.form)))
                         .arg(read_.rows.rowCount())
                         .arg(read_.rows.columnCount());
    if (f == ImportFileForm::NamedCsv)
        status += QStringLiteral(" Kodowanie %1, separator: %2.")
                      .arg(QString::fromUtf8(textEncodingName(d.encoding)),
                           QString::fromUtf8(csvSeparatorName(d.separator)));
    status += QStringLiteral(" Role kolumn w pierwszym wierszu podglądu.");
    status_->setText(status);
    fillGrid();
    showRoles();
    findDateOrder();
}

void TfmImport::applyRoleEdits() {
    const std::vector<std::string>& header = read_.rows.header();
    for (const RoleEdit& e : roleEdits_) {
        std::size_t column = header.size();
        for (std::size_t c = 0; c < header.size(); ++c)
            if (header[c] == e.caption) column = c;
        // A header that changed (the header tick) keeps the role in place.
        if (column == header.size() && e.column < header.size()) column = e.column;
        assignColumnRole(mapping_, column, e.role);
    }
}

void TfmImport::setColumnRole(int column, ColumnRole role) {
    if (column < 0 || std::size_t(column) >= mapping_.size()) return;
    const std::string& caption = read_.rows.header()[std::size_t(column)];
    std::erase_if(roleEdits_, [&](const RoleEdit& e) { return e.caption == caption; });
    roleEdits_.push_back({caption, std::size_t(column), role});
    assignColumnRole(mapping_, std::size_t(column), role);
    built_.reset();
    showRoles();
    findDateOrder();
}

QComboBox* TfmImport::roleBox(int column) const {
    if (column < 0 || column >= grid_->columnCount()) return nullptr;
    return qobject_cast<QComboBox*>(grid_->cellWidget(0, column));
}

void TfmImport::fillGrid() {
    grid_->setRowCount(0);
    grid_->setColumnCount(0);
    const CatalogueRows& rows = read_.rows;
    const std::size_t shown = std::min(kGridRows, rows.rowCount());
    grid_->setColumnCount(int(rows.columnCount()));
    grid_->setRowCount(rows.columnCount() == 0 ? 0 : int(shown) + 1);
    QStringList captions, lines{QStringLiteral("Rola")};
    for (const std::string& h : rows.header()) captions << QString::fromStdString(h);
    for (std::size_t r = 0; r < shown; ++r) lines << QString::number(rows.lineOf(r));
    grid_->setHorizontalHeaderLabels(captions);
    grid_->setVerticalHeaderLabels(lines);
    for (std::size_t c = 0; c < rows.columnCount(); ++c) {
        auto* box = new QComboBox(grid_);
        for (int role = 0; role < kRoleCount; ++role) box->addItem(columnRoleLabel(ColumnRole(role)));
        const int column = int(c);
        connect(box, &QComboBox::currentIndexChanged, this, [this, column](int role) {
            if (!showing_ && role >= 0) setColumnRole(column, ColumnRole(role));
        });
        grid_->setCellWidget(0, column, box);
        for (std::size_t r = 0; r < shown; ++r)
            grid_->setItem(int(r) + 1, column,
                           new QTableWidgetItem(QString::fromStdString(std::string(rows.cell(r, c)))));
    }
    grid_->resizeColumnsToContents();
}

void TfmImport::showRoles() {
    showing_ = true;
    for (std::size_t c = 0; c < mapping_.size(); ++c)
        if (QComboBox* box = roleBox(int(c))) box->setCurrentIndex(int(mapping_[c].role));
    showing_ = false;
    // Geographic co-ordinates are projected; plane ones are taken as they are.
    epsg_->setEnabled(hasRole(mapping_, ColumnRole::Longitude) && !hasRole(mapping_, ColumnRole::X));
}

void TfmImport::findDateOrder() {
    detectedOrder_.reset();
    if (form() != ImportFileForm::NamedCsv) {
        showing_ = true;
        dateOrder_->setCurrentIndex(int(DateOrder::Iso));
        showing_ = false;
        dateNote_->setText(QStringLiteral("Daty w zapisie ISO 8601."));
        return;
    }
    const DateOrderGuess guess = detectDateOrder(
        read_.rows, mapping_, MissingValues(marksOf(missing_->text()), read_.dialect.decimalComma));
    if (!guess.dateColumn) {
        dateNote_->setText(
            QStringLiteral("Żadna kolumna nie jest datą: data z kolumn roku, miesiąca i dnia "
                           "albo rozłożona w zakresie dat."));
        return;
    }
    if (fixed_.dateOrder) {
        dateNote_->setText(QStringLiteral("Kolejność wybrana."));
    } else if (guess.order) {
        detectedOrder_ = guess.order;
        showing_ = true;
        dateOrder_->setCurrentIndex(int(*guess.order));
        showing_ = false;
        dateNote_->setText(QStringLiteral("Kolejność wykryta z dat pliku."));
    } else if (guess.ambiguous) {
        dateNote_->setText(
            QStringLiteral("Daty pasują do obu kolejności (dzień/miesiąc i miesiąc/dzień): "
                           "wybierz kolejność."));
    } else {
        dateNote_->setText(QString::fromStdString(guess.problem));
    }
}

CatalogueBuildOptions TfmImport::buildOptions() const {
    CatalogueBuildOptions o;
    if (form() == ImportFileForm::NamedCsv)
        o.dateOrder = fixed_.dateOrder ? std::optional(DateOrder(std::max(0, dateOrder_->currentIndex())))
                                       : detectedOrder_;
    o.decimalComma = read_.dialect.decimalComma;
    o.missing = MissingValues(marksOf(missing_->text()), o.decimalComma);
    o.dropWithoutSize = dropEmpty_->isChecked();
    if (epsg_->isEnabled()) o.epsg = parseEpsg(epsg_->text().trimmed().toStdString());
    o.base = options();
    o.base.ignoreFirstLine = false;
    return o;
}

bool TfmImport::buildCatalogue() {
    built_.reset();
    if (!readOk_) {
        showProblem(dialogs_, status_->text());
        return false;
    }
    const QString epsg = epsg_->text().trimmed();
    if (epsg_->isEnabled() && !epsg.isEmpty() && parseEpsg(epsg.toStdString()) == 0) {
        showProblem(dialogs_, QStringLiteral("„%1” nie jest kodem EPSG układu płaskiego. Podaj np. EPSG:2180 "
                                             "albo 32634, albo zostaw pole puste (strefa UTM średniej "
                                             "długości zdarzeń).")
                                  .arg(epsg));
        return false;
    }
    const CatalogueBuildOptions o = buildOptions();
    if (form() == ImportFileForm::NamedCsv && !o.dateOrder &&
        detectDateOrder(read_.rows, mapping_, o.missing).ambiguous) {
        showProblem(dialogs_,
                    QStringLiteral("Daty pliku pasują zarówno do kolejności dzień.miesiąc.rok, jak i "
                                   "miesiąc/dzień/rok. Wybierz kolejność w polu „Daty”."));
        return false;
    }
    try {
        CatalogueBuildReport report;
        built_.emplace(zorv::buildCatalogue(read_.rows, mapping_, names_, o, &report));
        report_ = report;
        return true;
    } catch (const std::exception& e) {
        built_.reset();
        showProblem(dialogs_, QString::fromStdString(e.what()));
    }
    return false;
}

void TfmImport::releaseCatalogue() {
    built_.reset();
    report_ = {};
}

void TfmImport::importClicked() {
    if (form() == ImportFileForm::ManualText || buildCatalogue()) accept();
}

}  // namespace zorv

#include "catalogue/TfmMainBase.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QListWidget>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTreeWidget>

#include "catalogue/CatalogueModel.h"
#include "charts/LocationMap.h"
#include "text/DateText.h"

namespace zorv {

namespace {

QTableWidget* summaryGrid(const QString& name, QWidget* parent) {
    auto* g = new QTableWidget(0, 5, parent);
    g->setObjectName(name);
    g->setHorizontalHeaderLabels({QStringLiteral("Numer"), QStringLiteral("Strefa"),
                                  QStringLiteral("Rekordów"), QStringLiteral("Start"),
                                  QStringLiteral("Koniec")});
    g->verticalHeader()->setVisible(false);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->horizontalHeader()->setStretchLastSection(true);
    return g;
}

}  // namespace

TfmMainBase::TfmMainBase(QWidget* parent) : QWidget(parent), model_(new CatalogueModel(this)) {
    setObjectName(QStringLiteral("TfmMainBase"));
    auto* split = new QSplitter(this);
    left_ = new QStackedWidget(split);
    tree_ = new QTreeWidget(left_);
    tree_->setObjectName(QStringLiteral("ZoneTree"));
    tree_->setHeaderHidden(true);
    list_ = new QListWidget(left_);
    list_->setObjectName(QStringLiteral("ZoneList"));
    left_->addWidget(tree_);
    left_->addWidget(list_);

    pages_ = new QTabWidget(split);
    pages_->setObjectName(QStringLiteral("Pages"));
    grid_ = new QTableView(pages_);
    grid_->setObjectName(QStringLiteral("Grid"));
    grid_->setModel(model_);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->verticalHeader()->setDefaultSectionSize(20);
    // Fixed row heights: the view never measures a million rows.
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
    map_ = new LocationMap(pages_);
    auto* summary = new QWidget(pages_);
    auto* summaryRow = new QHBoxLayout(summary);
    dane_ = summaryGrid(QStringLiteral("Dane"), summary);
    mainDane_ = summaryGrid(QStringLiteral("MainDane"), summary);
    summaryRow->addWidget(dane_);
    summaryRow->addWidget(mainDane_);
    timeGraph_ = new TimeChart(pages_);
    vtab_ = new QTableWidget(0, 0, pages_);
    vtab_->setObjectName(QStringLiteral("VTAB"));
    pages_->addTab(grid_, QStringLiteral("Baza danych"));
    pages_->addTab(map_, QStringLiteral("Lokalizacje"));
    pages_->addTab(summary, QStringLiteral("Dane bazy"));
    pages_->addTab(timeGraph_, QStringLiteral("Zakresy"));
    pages_->addTab(vtab_, QStringLiteral("Tablica VTAB"));
    split->addWidget(left_);
    split->addWidget(pages_);
    split->setStretchFactor(1, 1);
    split->setSizes({180, 700});
    auto* box = new QHBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->addWidget(split);

    connect(tree_, &QTreeWidget::itemSelectionChanged, this, &TfmMainBase::treeSelectionChanged);
    connect(list_, &QListWidget::itemChanged, this, &TfmMainBase::listTicksChanged);
    connect(pages_, &QTabWidget::currentChanged, this, [this](int page) {
        if (page == MapPage || page == SummaryPage || page == RangesPage) regenerateSummary();
    });
    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!table_ || !current.isValid()) return;
                table_->setRecNo(static_cast<std::size_t>(current.row()) + 1);
                emit currentRecordChanged();
            });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] { showCurrentRecord(); });
    resize(900, 560);
}

void TfmMainBase::closeEvent(QCloseEvent* event) {
    // The window lives as long as the program: closing it minimises it.
    event->ignore();
    if (QWidget* frame = parentWidget()) frame->showMinimized();
}

// ------------------------------------------------------------------ records

void TfmMainBase::setTable(Table* table, const Locale& locale) {
    table_ = table;
    locale_ = locale;
    model_->setTable(table, locale);
    for (int c = 0; c < model_->columnCount(); ++c) grid_->setColumnHidden(c, false);
    // Sized once per opening; filters and edits keep these and the user's
    // widths. Widths from the first rows only: measuring a million would stall.
    grid_->horizontalHeader()->setResizeContentsPrecision(200);
    if (table) grid_->resizeColumnsToContents();
    // The row numbers keep the width the whole catalogue needs: a filter
    // leaving fewer digits would otherwise move every column sideways.
    QHeaderView* rows = grid_->verticalHeader();
    rows->setMinimumWidth(0);
    if (table) {
        rows->ensurePolished();
        rows->setMinimumWidth(rows->sizeHint().width());
    }
    invalidateSummary();
}

void TfmMainBase::refreshRecords() {
    model_->refresh();
    invalidateSummary();
}

void TfmMainBase::showCurrentRecord() {
    if (!table_ || table_->isEmpty()) return;
    const int row = static_cast<int>(table_->recNo()) - 1;
    const QModelIndex current = grid_->currentIndex();
    if (current.isValid() && current.row() == row) return;
    const QSignalBlocker block(grid_->selectionModel());
    const QModelIndex at = model_->index(row, current.isValid() ? current.column() : 0);
    grid_->selectionModel()->setCurrentIndex(at,
                                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    grid_->scrollTo(at);
}

bool TfmMainBase::fieldVisible(int field) const { return !grid_->isColumnHidden(field); }

void TfmMainBase::setFieldVisible(int field, bool visible) { grid_->setColumnHidden(field, !visible); }

// ------------------------------------------------------------------ pages

void TfmMainBase::showPage(Page page) {
    if (!pages_->isTabVisible(page)) pages_->setTabVisible(page, true);
    pages_->setCurrentIndex(page);
    if (page == MapPage || page == SummaryPage || page == RangesPage) regenerateSummary();
}

void TfmMainBase::setMapPageVisible(bool visible) { pages_->setTabVisible(MapPage, visible); }

void TfmMainBase::setSummaryGenerator(std::function<ZoneSummary()> generator) {
    generator_ = std::move(generator);
    invalidateSummary();
}

void TfmMainBase::invalidateSummary() {
    summaryCurrent_ = false;
    const int page = pages_->currentIndex();
    if (isVisible() && (page == MapPage || page == SummaryPage || page == RangesPage)) regenerateSummary();
}

void TfmMainBase::regenerateSummary() {
    if (summaryCurrent_) return;
    summaryCurrent_ = true;
    const ZoneSummary s = generator_ ? generator_() : ZoneSummary{};
    fillSummaryGrid(dane_, s.zones);
    fillSummaryGrid(mainDane_, s.departments);
    map_->generate(s.points);
    timeGraph_->generate(s.points);
}

void TfmMainBase::fillSummaryGrid(QTableWidget* grid, const std::vector<ZoneSummaryRow>& rows) {
    grid->setRowCount(static_cast<int>(rows.size()));
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        const ZoneSummaryRow& r = rows[static_cast<std::size_t>(i)];
        const QString dates[2] = {
            r.records ? QString::fromStdString(formatDate(r.first, locale_)) : QString(),
            r.records ? QString::fromStdString(formatDate(r.last, locale_)) : QString()};
        const QString cells[5] = {QString::number(i + 1), QString::fromStdString(r.name),
                                  QString::number(r.records), dates[0], dates[1]};
        for (int c = 0; c < 5; ++c) grid->setItem(i, c, new QTableWidgetItem(cells[c]));
    }
    grid->resizeColumnsToContents();
}

// ------------------------------------------------------------------ zones

void TfmMainBase::setZones(const ZoneTree& zones, const QString& rootCaption) {
    const QSignalBlocker blockTree(tree_);
    const QSignalBlocker blockList(list_);
    tree_->clear();
    list_->clear();
    for (const std::string& code : zones.zones) {
        auto* item = new QListWidgetItem(QString::fromStdString(code), list_);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    auto* root = new QTreeWidgetItem(tree_, {rootCaption});
    root->setData(0, Qt::UserRole, static_cast<int>(TreeNode::Root));
    for (const ZoneDepartment& d : zones.tree) {
        auto* dep = new QTreeWidgetItem(root, {QString::fromStdString(d.name)});
        dep->setData(0, Qt::UserRole, static_cast<int>(TreeNode::Department));
        for (const std::string& code : d.zones) {
            auto* z = new QTreeWidgetItem(dep, {QString::fromStdString(code)});
            z->setData(0, Qt::UserRole, static_cast<int>(TreeNode::Zone));
        }
    }
    tree_->expandAll();
    tree_->setCurrentItem(root);
    tree_->scrollToItem(root);
}

void TfmMainBase::clearZones() {
    const QSignalBlocker blockTree(tree_);
    const QSignalBlocker blockList(list_);
    tree_->clear();
    list_->clear();
}

void TfmMainBase::showTree(bool tree) {
    left_->setCurrentWidget(tree ? static_cast<QWidget*>(tree_) : list_);
}

bool TfmMainBase::treeShown() const { return left_->currentWidget() == tree_; }

TfmMainBase::TreeNode TfmMainBase::selectedNode(QString* name) const {
    const QList<QTreeWidgetItem*> sel = tree_->selectedItems();
    if (sel.isEmpty()) return TreeNode::None;
    if (name) *name = sel.front()->text(0);
    return static_cast<TreeNode>(sel.front()->data(0, Qt::UserRole).toInt());
}

void TfmMainBase::selectRoot() {
    if (QTreeWidgetItem* root = tree_->topLevelItem(0)) {
        const QSignalBlocker block(tree_);
        tree_->setCurrentItem(root);
        tree_->scrollToItem(root);
    }
}

std::vector<std::string> TfmMainBase::tickedZones() const {
    std::vector<std::string> out;
    for (int i = 0; i < list_->count(); ++i)
        if (list_->item(i)->checkState() == Qt::Checked) out.push_back(list_->item(i)->text().toStdString());
    return out;
}

void TfmMainBase::untickAll() {
    const QSignalBlocker block(list_);
    for (int i = 0; i < list_->count(); ++i) list_->item(i)->setCheckState(Qt::Unchecked);
}

}  // namespace zorv

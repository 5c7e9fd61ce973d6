#include "interchange/TableWindows.h"

#include <QHeaderView>
#include <QTableView>
#include <QVBoxLayout>

#include "catalogue/CatalogueModel.h"

namespace zorv {

TableWindow::TableWindow(std::unique_ptr<Table> table, const Locale& locale, QWidget* parent)
    : QWidget(parent),
      table_(std::move(table)),
      model_(new CatalogueModel(this)),
      grid_(new QTableView(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grid_);
    model_->setTable(table_.get(), locale);
    grid_->setModel(model_);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setShowGrid(true);
    grid_->verticalHeader()->setDefaultSectionSize(20);
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
}

TfmDatabase::TfmDatabase(const Table& result, const Locale& locale, QWidget* parent)
    : TableWindow(std::make_unique<Table>(result.copyView()), locale, parent) {}

}  // namespace zorv

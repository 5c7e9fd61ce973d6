#pragma once
// The two windows that show a whole table in a grid: the preview of a table
// file (TfmChildBase, "Podgląd bazy danych") and the result table of a chart
// (TfmDatabase, "Tabela dBase/Paradox"). Each owns its table; neither
// writes to a file unless the user saves it.

#include <QWidget>
#include <memory>

#include "services/ChildWindow.h"
#include "table/Table.h"
#include "text/Locale.h"

class QTableView;

namespace zorv {

class CatalogueModel;

class TableWindow : public QWidget, public ChildWindow {
    Q_OBJECT
public:
    Table& table() const { return *table_; }
    QTableView* grid() const { return grid_; }
    CatalogueModel* model() const { return model_; }

protected:
    TableWindow(std::unique_ptr<Table> table, const Locale& locale, QWidget* parent);

private:
    std::unique_ptr<Table> table_;
    CatalogueModel* model_;
    QTableView* grid_;
};

// A table file opened read-only for viewing; it can be exported as text.
class TfmChildBase : public TableWindow {
    Q_OBJECT
public:
    TfmChildBase(std::unique_ptr<Table> table, const Locale& locale, QWidget* parent = nullptr)
        : TableWindow(std::move(table), locale, parent) {}
    ChildKind childKind() const override { return ChildKind::PreviewTable; }
};

// A copy of a chart's result table, its numbers in the display formats of
// the result table; it can be saved as a table and exported as text.
class TfmDatabase : public TableWindow {
    Q_OBJECT
public:
    // Copies the records `result` presents.
    TfmDatabase(const Table& result, const Locale& locale, QWidget* parent = nullptr);
    ChildKind childKind() const override { return ChildKind::ResultTable; }
};

}  // namespace zorv

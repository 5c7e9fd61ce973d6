#pragma once
// The record grid's model: the records a table presents (its filter
// applies), one column per field, read straight from the columnar storage
// when a cell is drawn, so that a million records cost nothing up front.
// Cells are edited through the table, whose store writes the file at once.

#include <QAbstractTableModel>
#include <optional>

#include "table/Table.h"
#include "text/Locale.h"

namespace zorv {

class CatalogueModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit CatalogueModel(QObject* parent = nullptr);

    // The table shown (null: none); the model does not own it.
    void setTable(Table* table, const Locale& locale);
    Table* table() const { return table_; }
    // The records changed (filter, deletion, protection): re-read them.
    void refresh();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

signals:
    // An edit the table refused, with the engine's text.
    void editFailed(const QString& message);

private:
    Table* table_ = nullptr;
    Locale locale_;
};

// A value typed into a cell of a field of `type`: empty text is null;
// nothing when the text does not read as that type.
std::optional<Value> parseCellText(const QString& text, FieldType type, const Locale& locale);

}  // namespace zorv

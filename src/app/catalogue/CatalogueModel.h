#pragma once
// The record grid's model: the records a table presents (its filter
// applies), one column per field, read straight from the columnar storage
// when a cell is drawn, so that a million records cost nothing up front.
// Cells are edited through the table, whose store writes the file at once.

#include <QAbstractTableModel>
#include <optional>
#include <string>
#include <vector>

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
    // Energies and magnitudes are shown in the user's picture masks (the
    // editor still gets the full value); other fields as the table shows
    // them. Field names compare as the table's field names do.
    void setNumberMasks(const std::string& energyField, const std::string& energyMask,
                        const std::string& magnitudeField, const std::string& magnitudeMask);

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
    void resolveMasks();

    Table* table_ = nullptr;
    Locale locale_;
    std::string energyField_, energyMask_, magnitudeField_, magnitudeMask_;
    std::vector<std::string> columnMasks_;  // per column; empty: the table's own text
};

// A value typed into a cell of a field of `type`: empty text is null;
// nothing when the text does not read as that type.
std::optional<Value> parseCellText(const QString& text, FieldType type, const Locale& locale);

}  // namespace zorv

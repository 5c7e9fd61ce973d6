#include "catalogue/CatalogueModel.h"

#include <charconv>

#include "table/ValueText.h"
#include "text/DateText.h"
#include "text/NumberFormat.h"

namespace zorv {

CatalogueModel::CatalogueModel(QObject* parent) : QAbstractTableModel(parent) {}

void CatalogueModel::setTable(Table* table, const Locale& locale) {
    beginResetModel();
    table_ = table;
    locale_ = locale;
    resolveMasks();
    endResetModel();
}

void CatalogueModel::setNumberMasks(const std::string& energyField, const std::string& energyMask,
                                    const std::string& magnitudeField, const std::string& magnitudeMask) {
    energyField_ = energyField;
    energyMask_ = energyMask;
    magnitudeField_ = magnitudeField;
    magnitudeMask_ = magnitudeMask;
    const std::vector<std::string> before = columnMasks_;
    resolveMasks();
    if (columnMasks_ != before && rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::DisplayRole});
}

void CatalogueModel::resolveMasks() {
    columnMasks_.assign(table_ ? std::size_t(table_->fieldCount()) : 0, std::string());
    if (!table_) return;
    const auto mask = [this](const std::string& name, const std::string& picture) {
        const int f = name.empty() ? -1 : table_->fieldIndex(name);
        if (f >= 0 && isNumericType(table_->field(f).type)) columnMasks_[std::size_t(f)] = picture;
    };
    mask(energyField_, energyMask_);
    mask(magnitudeField_, magnitudeMask_);
}

void CatalogueModel::refresh() {
    beginResetModel();
    endResetModel();
}

int CatalogueModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !table_) return 0;
    return static_cast<int>(table_->recordCount());
}

int CatalogueModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid() || !table_) return 0;
    return table_->fieldCount();
}

QVariant CatalogueModel::data(const QModelIndex& index, int role) const {
    if (!table_ || !index.isValid() || static_cast<std::size_t>(index.row()) >= table_->recordCount())
        return {};
    if (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::TextAlignmentRole) return {};
    const FieldDef& f = table_->field(index.column());
    if (role == Qt::TextAlignmentRole) {
        const bool number = isNumericType(f.type);
        return QVariant::fromValue(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
    }
    const std::size_t row = table_->rowOfRecord(static_cast<std::size_t>(index.row()));
    const Value v = table_->value(row, index.column());
    const auto column = static_cast<std::size_t>(index.column());
    if (role == Qt::DisplayRole && column < columnMasks_.size() && !columnMasks_[column].empty() &&
        !v.isNull())
        return QString::fromStdString(formatMask(v.toDouble(), columnMasks_[column], locale_));
    return QString::fromStdString(valueText(v, f.type, locale_, f.displayFormat));
}

QVariant CatalogueModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || !table_) return {};
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= table_->fieldCount()) return {};
        return QString::fromStdString(table_->field(section).name);
    }
    return section + 1;
}

Qt::ItemFlags CatalogueModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (table_ && index.isValid() && !table_->readOnly() &&
        table_->field(index.column()).type != FieldType::Unknown &&
        table_->field(index.column()).type != FieldType::AutoInc)
        f |= Qt::ItemIsEditable;
    return f;
}

bool CatalogueModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!table_ || role != Qt::EditRole || !index.isValid()) return false;
    const FieldDef& field = table_->field(index.column());
    const std::optional<Value> v = parseCellText(value.toString(), field.type, locale_);
    if (!v) {
        emit editFailed(QStringLiteral("Wartość \"%1\" nie pasuje do pola %2.")
                            .arg(value.toString(), QString::fromStdString(field.name)));
        return false;
    }
    const std::size_t before = table_->recordCount();
    try {
        table_->setRecNo(static_cast<std::size_t>(index.row()) + 1);
        table_->edit();
        table_->setFieldValue(index.column(), *v);
        table_->post();
    } catch (const std::exception& e) {
        if (table_->state() != Table::State::Browse) table_->cancel();
        emit editFailed(QString::fromUtf8(e.what()));
        return false;
    }
    // An edit may take the record out of the filtered view.
    if (table_->recordCount() != before)
        refresh();
    else
        emit dataChanged(index, index);
    return true;
}

std::optional<Value> parseCellText(const QString& text, FieldType type, const Locale& locale) {
    const std::string s = text.trimmed().toStdString();
    if (s.empty() && type != FieldType::String && type != FieldType::Memo) return Value{};
    switch (type) {
        case FieldType::String:
        case FieldType::Memo: return Value::text(text.toStdString());
        case FieldType::SmallInt:
        case FieldType::Integer:
        case FieldType::Word:
        case FieldType::LargeInt:
        case FieldType::AutoInc: {
            std::int64_t v = 0;
            const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
            if (r.ec != std::errc{} || r.ptr != s.data() + s.size()) return std::nullopt;
            return Value::integer(v);
        }
        case FieldType::Float: {
            const auto d = parseNumber(s, locale);
            if (!d) return std::nullopt;
            return Value::real(*d);
        }
        case FieldType::Date: {
            const auto d = parseDate(s, locale);
            if (!d) return std::nullopt;
            return Value::date(*d);
        }
        case FieldType::Boolean:
            if (text.trimmed().compare(QStringLiteral("Prawda"), Qt::CaseInsensitive) == 0)
                return Value::boolean(true);
            if (text.trimmed().compare(QStringLiteral("Fałsz"), Qt::CaseInsensitive) == 0)
                return Value::boolean(false);
            return std::nullopt;
        case FieldType::DateTime:
        case FieldType::Time:
        case FieldType::Unknown: break;
    }
    return std::nullopt;
}

}  // namespace zorv

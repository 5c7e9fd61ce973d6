#include "table/Table.h"

#include <algorithm>
#include <limits>

#include "table/FilterExpression.h"
#include "table/TableError.h"

namespace zorv {

namespace {
bool equalsIgnoreAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
        if (x != y) return false;
    }
    return true;
}
}  // namespace

Table::Table() = default;

Table::Table(FieldDefs fields) : fields_(std::move(fields)) {
    columns_.reserve(fields_.size());
    for (const auto& f : fields_) columns_.emplace_back(f.type, f.type == FieldType::String ? f.size : 0);
}

Table::Table(Table&&) noexcept = default;
Table& Table::operator=(Table&&) noexcept = default;
Table::~Table() = default;

int Table::fieldIndex(std::string_view name) const {
    for (std::size_t i = 0; i < fields_.size(); ++i)
        if (equalsIgnoreAsciiCase(fields_[i].name, name)) return static_cast<int>(i);
    return -1;
}

int Table::requireField(std::string_view name) const {
    const int f = fieldIndex(name);
    if (f < 0) throw TableError("Pole '" + std::string(name) + "' nie istnieje w tabeli");
    return f;
}

void Table::setDisplayFormat(int f, std::string mask) {
    fields_[static_cast<std::size_t>(f)].displayFormat = std::move(mask);
}

void Table::finishLoad() {
    const std::size_t n = columns_.empty() ? 0 : columns_.front().size();
    for (const auto& c : columns_)
        if (c.size() != n) throw TableError("Kolumny tabeli mają różne długości");
    rowIds_.resize(n);
    for (std::size_t i = 0; i < n; ++i) rowIds_[i] = nextRowId_++;
    nextAutoInc_ = 1;
    for (std::size_t f = 0; f < fields_.size(); ++f) {
        if (fields_[f].type != FieldType::AutoInc) continue;
        const auto& v = columns_[f].int32s();
        if (!v.empty())
            nextAutoInc_ = std::max(nextAutoInc_, std::int64_t{*std::max_element(v.begin(), v.end())} + 1);
    }
    rebuildView();
    first();
}

// ---------------------------------------------------------------- view

std::size_t Table::recordCount() const { return filterActive() ? view_.size() : rowIds_.size(); }

void Table::rebuildView() {
    if (filterActive())
        view_ = expr_->select(*this);
    else
        view_.clear();
}

void Table::first() {
    checkBrowse("first");
    pos_ = 0;
    bof_ = true;
    eof_ = isEmpty();
}

void Table::last() {
    checkBrowse("last");
    const std::size_t n = recordCount();
    pos_ = n ? n - 1 : 0;
    eof_ = true;
    bof_ = n == 0;
}

void Table::next() {
    checkBrowse("next");
    const std::size_t n = recordCount();
    bof_ = n == 0;
    if (pos_ + 1 < n) {
        ++pos_;
        eof_ = false;
    } else {
        eof_ = true;
    }
}

void Table::prior() {
    checkBrowse("prior");
    eof_ = recordCount() == 0;
    if (pos_ > 0) {
        --pos_;
        bof_ = false;
    } else {
        bof_ = true;
    }
}

void Table::moveBy(long long distance) {
    while (distance > 0 && !eof_) {
        next();
        --distance;
    }
    while (distance < 0 && !bof_) {
        prior();
        ++distance;
    }
}

void Table::setRecNo(std::size_t recNo) {
    checkBrowse("setRecNo");
    const std::size_t n = recordCount();
    if (n == 0) {
        first();
        return;
    }
    pos_ = std::min(std::max<std::size_t>(recNo, 1), n) - 1;
    bof_ = eof_ = false;
}

std::size_t Table::currentRow() const {
    if (isEmpty()) throw TableError("Tabela nie zawiera rekordów");
    return rowOfRecord(pos_);
}

Value Table::fieldValue(int f) const {
    if (state_ != State::Browse) return buffer_[static_cast<std::size_t>(f)];
    if (isEmpty()) return {};
    return column(f).value(rowOfRecord(pos_));
}

// ---------------------------------------------------------------- filter

std::shared_ptr<const FilterExpression> Table::compile(std::string_view text) const {
    bool blank = true;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') blank = false;
    if (blank) return nullptr;
    return FilterExpression::parse(text, *this, FilterExpression::Options{caseInsensitive_, locale_});
}

void Table::checkFilter(std::string_view text) const { (void)compile(text); }

void Table::setFilter(std::string text) {
    checkBrowse("setFilter");
    if (filtered_) {
        auto e = compile(text);
        expr_ = std::move(e);
        filterText_ = std::move(text);
        rebuildView();
        first();
    } else {
        filterText_ = std::move(text);
        expr_.reset();
    }
}

void Table::setFiltered(bool on) {
    checkBrowse("setFiltered");
    if (on == filtered_) return;
    if (on) {
        expr_ = compile(filterText_);
        filtered_ = true;
    } else {
        filtered_ = false;
        expr_.reset();
    }
    rebuildView();
    first();
}

void Table::setCaseInsensitiveFilter(bool on) {
    if (on == caseInsensitive_) return;
    // Recompile before switching, so that a failure leaves everything as it was.
    const bool was = caseInsensitive_;
    caseInsensitive_ = on;
    if (filtered_) {
        try {
            expr_ = compile(filterText_);
        } catch (...) {
            caseInsensitive_ = was;
            throw;
        }
        rebuildView();
        first();
    }
}

void Table::setLocale(const Locale& locale) {
    const Locale was = locale_;
    locale_ = locale;
    if (filtered_) {
        try {
            expr_ = compile(filterText_);
        } catch (...) {
            locale_ = was;
            throw;
        }
        rebuildView();
        first();
    }
}

// ---------------------------------------------------------------- bookmarks

std::size_t Table::viewIndexOfRow(std::size_t row, bool* found) const {
    if (!filterActive()) {
        *found = row < rowIds_.size();
        return row;
    }
    const auto it = std::lower_bound(view_.begin(), view_.end(), static_cast<std::uint32_t>(row));
    *found = it != view_.end() && *it == row;
    return static_cast<std::size_t>(it - view_.begin());
}

Bookmark Table::bookmark() const {
    if (isEmpty()) return {};
    return Bookmark{rowIds_[rowOfRecord(pos_)]};
}

bool Table::bookmarkValid(const Bookmark& b) const {
    if (!b.isSet()) return false;
    const auto it = std::lower_bound(rowIds_.begin(), rowIds_.end(), b.id);
    if (it == rowIds_.end() || *it != b.id) return false;
    bool found = false;
    viewIndexOfRow(static_cast<std::size_t>(it - rowIds_.begin()), &found);
    return found;
}

void Table::gotoBookmark(const Bookmark& b) {
    checkBrowse("gotoBookmark");
    if (!b.isSet()) throw TableError("Zakładka nie została ustawiona");
    const auto it = std::lower_bound(rowIds_.begin(), rowIds_.end(), b.id);
    if (it == rowIds_.end() || *it != b.id) throw TableError("Rekord zakładki został usunięty");
    bool found = false;
    const std::size_t idx = viewIndexOfRow(static_cast<std::size_t>(it - rowIds_.begin()), &found);
    if (!found) throw TableError("Rekord zakładki nie spełnia warunku filtru");
    pos_ = idx;
    bof_ = eof_ = false;
}

// ---------------------------------------------------------------- editing

void Table::ensureWritable() const {
    if (readOnly()) throw TableError("Tabela jest tylko do odczytu");
}

void Table::checkBrowse(const char* operation) const {
    if (state_ != State::Browse)
        throw TableError(std::string("Operacja niedozwolona podczas edycji rekordu (") + operation + ")");
}

void Table::append() {
    checkBrowse("append");
    ensureWritable();
    buffer_.assign(fields_.size(), Value{});
    state_ = State::Insert;
}

void Table::edit() {
    checkBrowse("edit");
    ensureWritable();
    if (isEmpty()) throw TableError("Tabela nie zawiera rekordów");
    const std::size_t row = rowOfRecord(pos_);
    buffer_.clear();
    for (std::size_t f = 0; f < fields_.size(); ++f) buffer_.push_back(columns_[f].value(row));
    state_ = State::Edit;
}

void Table::setFieldValue(int f, Value v) {
    if (state_ == State::Browse) throw TableError("Rekord nie jest edytowany");
    if (f < 0 || f >= fieldCount()) throw TableError("Niewłaściwy numer pola");
    // Convert now so that a wrong value fails here, not at post().
    Column probe(fields_[static_cast<std::size_t>(f)].type, fields_[static_cast<std::size_t>(f)].size);
    probe.appendValue(v);
    buffer_[static_cast<std::size_t>(f)] = probe.value(0);
}

void Table::post() {
    if (state_ == State::Browse) return;
    const std::size_t nf = fields_.size();
    if (state_ == State::Insert) {
        for (std::size_t f = 0; f < nf; ++f) {
            if (fields_[f].type != FieldType::AutoInc || !buffer_[f].isNull()) continue;
            // Numbers are 32-bit in both file formats; wrapping would repeat 1.
            if (nextAutoInc_ > std::numeric_limits<std::int32_t>::max())
                throw TableError("Pole autonumeracji '" + fields_[f].name +
                                 "' osiągnęło największy numer (2147483647); nie można dopisać rekordu.");
            buffer_[f] = Value::integer(nextAutoInc_);
        }
        storedForms();
        const std::size_t row = rowIds_.size();
        for (std::size_t f = 0; f < nf; ++f) columns_[f].appendValue(buffer_[f]);
        rowIds_.push_back(nextRowId_);
        if (store_) {
            try {
                store_->appended(*this, row);
            } catch (...) {
                for (auto& c : columns_) c.erase(row);
                rowIds_.pop_back();
                throw;
            }
        }
        ++nextRowId_;
        for (std::size_t f = 0; f < nf; ++f)
            if (fields_[f].type == FieldType::AutoInc)
                nextAutoInc_ = std::max(nextAutoInc_, buffer_[f].toInt() + 1);
        state_ = State::Browse;
        buffer_.clear();
        if (filterActive()) {
            if (expr_->matches(*this, row)) view_.push_back(static_cast<std::uint32_t>(row));
        }
        bool found = false;
        const std::size_t idx = viewIndexOfRow(row, &found);
        if (found) {
            pos_ = idx;
            bof_ = eof_ = false;
        } else {
            last();
        }
        return;
    }
    // Edit
    storedForms();
    const std::size_t row = rowOfRecord(pos_);
    std::vector<Value> old;
    old.reserve(nf);
    for (std::size_t f = 0; f < nf; ++f) old.push_back(columns_[f].value(row));
    for (std::size_t f = 0; f < nf; ++f) columns_[f].setValue(row, buffer_[f]);
    if (store_) {
        try {
            store_->updated(*this, row);
        } catch (...) {
            for (std::size_t f = 0; f < nf; ++f) columns_[f].setValue(row, old[f]);
            throw;
        }
    }
    state_ = State::Browse;
    buffer_.clear();
    if (filterActive() && !expr_->matches(*this, row)) {
        view_.erase(view_.begin() + static_cast<std::ptrdiff_t>(pos_));
        if (pos_ >= view_.size()) pos_ = view_.empty() ? 0 : view_.size() - 1;
        bof_ = eof_ = view_.empty();
    }
}

void Table::storedForms() {
    if (!store_) return;
    for (std::size_t f = 0; f < buffer_.size(); ++f)
        buffer_[f] = store_->stored(static_cast<int>(f), buffer_[f]);
}

void Table::cancel() {
    state_ = State::Browse;
    buffer_.clear();
}

void Table::deleteRecord() {
    checkBrowse("delete");
    ensureWritable();
    if (isEmpty()) throw TableError("Tabela nie zawiera rekordów");
    const std::size_t row = rowOfRecord(pos_);
    if (store_) store_->removing(*this, row);
    for (auto& c : columns_) c.erase(row);
    rowIds_.erase(rowIds_.begin() + static_cast<std::ptrdiff_t>(row));
    if (filterActive()) {
        view_.erase(view_.begin() + static_cast<std::ptrdiff_t>(pos_));
        for (std::size_t i = pos_; i < view_.size(); ++i) --view_[i];
    }
    const std::size_t n = recordCount();
    if (pos_ >= n) pos_ = n ? n - 1 : 0;
    bof_ = eof_ = n == 0;
}

void Table::appendRecord(const std::vector<Value>& values) {
    append();
    try {
        for (std::size_t f = 0; f < values.size() && f < fields_.size(); ++f)
            setFieldValue(static_cast<int>(f), values[f]);
        post();
    } catch (...) {
        cancel();
        throw;
    }
}

void Table::setStore(std::unique_ptr<TableStore> store) { store_ = std::move(store); }

Table Table::copyView() const {
    Table out(fields_);
    out.name_ = name_;
    out.locale_ = locale_;
    out.caseInsensitive_ = caseInsensitive_;
    const std::size_t n = recordCount();
    const std::vector<std::uint32_t>* rows = filterActive() ? &view_ : nullptr;
    for (std::size_t f = 0; f < fields_.size(); ++f) out.columns_[f].appendRows(columns_[f], rows, n);
    out.finishLoad();
    return out;
}

}  // namespace zorv

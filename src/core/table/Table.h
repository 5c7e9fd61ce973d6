#pragma once
// An in-memory table with a cursor, a filter, bookmarks and editing.
//
// Records are kept column-wise (Column). The table presents a view: all
// records in physical order, or, while filtering is on, those that pass the
// filter expression. The cursor, record numbers and bookmarks work on that
// view. A table opened from a file carries a TableStore through which edits
// reach the file at once.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "table/Column.h"
#include "table/FieldType.h"
#include "table/TableStore.h"
#include "table/Value.h"
#include "text/Locale.h"

namespace zorv {

class FilterExpression;

// Names a record independently of filters and deletions of other records.
struct Bookmark {
    std::uint64_t id = 0;  // 0: no record
    bool isSet() const { return id != 0; }
    friend bool operator==(const Bookmark&, const Bookmark&) = default;
};

class Table {
public:
    enum class State { Browse, Edit, Insert };

    Table();
    explicit Table(FieldDefs fields);
    Table(Table&&) noexcept;
    Table& operator=(Table&&) noexcept;
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;
    ~Table();

    // File name (or any caption) of the table, for messages.
    const std::string& name() const { return name_; }
    void setName(std::string name) { name_ = std::move(name); }

    // ---- structure
    const FieldDefs& fields() const { return fields_; }
    int fieldCount() const { return static_cast<int>(fields_.size()); }
    const FieldDef& field(int f) const { return fields_[static_cast<std::size_t>(f)]; }
    // Index of a field, names compared without regard to ASCII case; -1 when
    // there is none.
    int fieldIndex(std::string_view name) const;
    bool hasField(std::string_view name) const { return fieldIndex(name) >= 0; }
    // As fieldIndex, but throws TableError naming the field when absent.
    int requireField(std::string_view name) const;
    const Column& column(int f) const { return columns_[static_cast<std::size_t>(f)]; }
    void setDisplayFormat(int f, std::string mask);

    // ---- physical records
    std::size_t physicalCount() const { return rowIds_.size(); }
    Value value(std::size_t row, int f) const { return column(f).value(row); }

    // Bulk loading by file readers: fill the columns (all to the same
    // length) through loadColumn(), then call finishLoad().
    Column& loadColumn(int f) { return columns_[static_cast<std::size_t>(f)]; }
    void finishLoad();

    // ---- view and cursor
    std::size_t recordCount() const;
    // Physical row of the record at 0-based position `index` of the view.
    std::size_t rowOfRecord(std::size_t index) const { return filterActive() ? view_[index] : index; }
    bool isEmpty() const { return recordCount() == 0; }
    void first();
    void last();
    void next();
    void prior();
    void moveBy(long long distance);
    // Moves to the 1-based record number of the view (clamped).
    void setRecNo(std::size_t recNo);
    bool bof() const { return bof_; }
    bool eof() const { return eof_; }
    // 1-based number of the current record in the view; 0 when empty.
    std::size_t recNo() const { return isEmpty() ? 0 : pos_ + 1; }
    // Physical row of the current record; throws TableError when empty.
    std::size_t currentRow() const;

    // Value of a field in the current record (the edit buffer while editing).
    Value fieldValue(int f) const;
    Value fieldValue(std::string_view name) const { return fieldValue(requireField(name)); }
    bool fieldIsNull(int f) const { return fieldValue(f).isNull(); }

    // ---- filter
    // Sets the filter text; while filtering is on it takes effect at once.
    // A text that does not parse throws FilterError and changes nothing.
    void setFilter(std::string text);
    const std::string& filter() const { return filterText_; }
    // Switches filtering on or off; on with a text that does not parse
    // throws FilterError and leaves filtering off.
    void setFiltered(bool on);
    bool filtered() const { return filtered_; }
    void setCaseInsensitiveFilter(bool on);
    bool caseInsensitiveFilter() const { return caseInsensitive_; }
    // Locale for date literals of filters and for text forms.
    void setLocale(const Locale& locale);
    const Locale& locale() const { return locale_; }
    // Parses a filter text against this table without applying it; throws
    // FilterError when it does not parse.
    void checkFilter(std::string_view text) const;

    // ---- bookmarks
    Bookmark bookmark() const;
    // Throws TableError when the record is deleted or filtered out.
    void gotoBookmark(const Bookmark& b);
    bool bookmarkValid(const Bookmark& b) const;

    // ---- editing
    State state() const { return state_; }
    void setReadOnly(bool on) { readOnly_ = on; }
    // Also once the store can no longer write (after a failed write).
    bool readOnly() const { return readOnly_ || (store_ && !store_->writable()); }
    void append();
    void edit();
    void setFieldValue(int f, Value v);
    void setFieldValue(std::string_view name, Value v) { setFieldValue(requireField(name), std::move(v)); }
    void post();
    void cancel();
    void deleteRecord();
    // Appends one record of values in field order (missing trailing values
    // are null) and posts it; the cursor moves to it.
    void appendRecord(const std::vector<Value>& values);

    void setStore(std::unique_ptr<TableStore> store);
    TableStore* store() const { return store_.get(); }

    // Batch copy: a new table with the same fields (and display formats)
    // holding the records this view presents, in its order.
    Table copyView() const;

private:
    bool filterActive() const { return filtered_ && expr_ != nullptr; }
    void rebuildView();
    void ensureWritable() const;
    void checkBrowse(const char* operation) const;
    // Turns the edit buffer into the values the store's file reads back.
    void storedForms();
    std::size_t viewIndexOfRow(std::size_t row, bool* found) const;
    std::shared_ptr<const FilterExpression> compile(std::string_view text) const;

    std::string name_;
    FieldDefs fields_;
    std::vector<Column> columns_;
    std::vector<std::uint64_t> rowIds_;  // ascending; identity of each row
    std::uint64_t nextRowId_ = 1;

    std::string filterText_;
    bool filtered_ = false;
    bool caseInsensitive_ = true;
    Locale locale_;
    std::shared_ptr<const FilterExpression> expr_;
    std::vector<std::uint32_t> view_;  // physical rows passing the filter

    std::size_t pos_ = 0;  // position in the view
    bool bof_ = true;
    bool eof_ = true;

    State state_ = State::Browse;
    std::vector<Value> buffer_;
    bool readOnly_ = false;
    std::int64_t nextAutoInc_ = 1;
    std::unique_ptr<TableStore> store_;
};

}  // namespace zorv

#pragma once
// The cells of a catalogue as read from any form (a delimited text, an event
// web service's text or XML), before the columns are given their roles: a
// header of column names and rows of text cells, every row as wide as the
// header. The cells are kept back to back in one buffer, so that a file of a
// million events costs two allocations rather than ten million.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zorv {

class CatalogueRows {
public:
    CatalogueRows() = default;
    explicit CatalogueRows(std::vector<std::string> header);

    const std::vector<std::string>& header() const { return header_; }
    std::size_t columnCount() const { return header_.size(); }
    std::size_t rowCount() const { return lines_.size(); }
    void renameColumn(std::size_t column, std::string name) { header_[column] = std::move(name); }

    std::string_view cell(std::size_t row, std::size_t column) const {
        const std::size_t at = row * header_.size() + column;
        return std::string_view(text_).substr(starts_[at], starts_[at + 1] - starts_[at]);
    }
    // The line of the source (1-based) the row starts on, for messages.
    std::size_t lineOf(std::size_t row) const { return lines_[row]; }

    // Appends one cell of the row being built; endRow() closes the row, which
    // must then have exactly columnCount() cells.
    void addCell(std::string_view text) {
        text_.append(text);
        starts_.push_back(text_.size());
        ++open_;
    }
    // The number of cells of the row being built.
    std::size_t openCells() const { return open_; }
    // Drops the cells of the row being built, or its last cell.
    void dropOpenRow();
    void dropLastCell();
    std::string_view lastOpenCell() const {
        return std::string_view(text_).substr(starts_[starts_.size() - 2]);
    }
    void endRow(std::size_t line);
    void reserve(std::size_t rows, std::size_t bytes);

private:
    std::vector<std::string> header_;
    std::string text_;
    std::vector<std::size_t> starts_{0};  // start of every cell and the end of the last
    std::vector<std::size_t> lines_;
    std::size_t open_ = 0;
};

}  // namespace zorv

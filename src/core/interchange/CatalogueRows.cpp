#include "interchange/CatalogueRows.h"

#include <cassert>

namespace zorv {

CatalogueRows::CatalogueRows(std::vector<std::string> header) : header_(std::move(header)) {}

void CatalogueRows::dropOpenRow() {
    starts_.resize(starts_.size() - open_);
    text_.resize(starts_.back());
    open_ = 0;
}

void CatalogueRows::dropLastCell() {
    starts_.pop_back();
    text_.resize(starts_.back());
    --open_;
}

void CatalogueRows::endRow(std::size_t line) {
    assert(open_ == header_.size());
    lines_.push_back(line);
    open_ = 0;
}

void CatalogueRows::reserve(std::size_t rows, std::size_t bytes) {
    text_.reserve(bytes);
    starts_.reserve(rows * header_.size() + 1);
    lines_.reserve(rows);
}

}  // namespace zorv

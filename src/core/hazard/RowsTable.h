#pragma once
// A table of its own holding chosen records of another: the catalogue of a
// time window or of an origin's past.

#include <cstdint>
#include <vector>

#include "table/Table.h"

namespace zorv {

// The records `rows` of `source` (in that order), with its fields, name and
// locale.
Table TableOfRows(const Table& source, const std::vector<std::uint32_t>& rows);

}  // namespace zorv

#pragma once
// Table files by their extension: ".dbf" is dBase, ".db" Paradox (compared
// without regard to case).

#include <memory>
#include <optional>
#include <string>

#include "table/Table.h"

namespace zorv {

enum class TableFormat { DBase, Paradox };

std::optional<TableFormat> tableFormatOf(const std::string& path);

// Opens a table file with its edits written through to the file; opened
// read-only, the table refuses edits. Throws FileFormatError or TableError with the engine's text;
// FileLockedError when another open holds the file for writing.
std::unique_ptr<Table> openTableFile(const std::string& path, bool writable);

// Writes the records the table presents into a new file (dBase level 7 or
// Paradox by the extension), never leaving it half written.
void writeTableFile(const Table& table, const std::string& path);

}  // namespace zorv

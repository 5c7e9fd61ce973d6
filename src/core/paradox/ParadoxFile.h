#pragma once
// Paradox tables (.db) for the table engine, read and written through
// pxlib.
//
// Field types: alpha -> String(size), short -> SmallInt, long -> Integer,
// auto-increment -> AutoInc, number and money -> Float, date -> Date,
// logical -> Boolean, time -> Time, timestamp -> DateTime (in whole
// milliseconds, the resolution Paradox writes); memo fields
// become Memo and binary, graphic, OLE, BCD and bytes fields Unknown, all
// with null values. Text is windows-1250 in the file, UTF-8 in the table.
// A blank alpha field reads as null (the format stores "" and null alike).

#include <memory>
#include <string>
#include <string_view>

#include "table/Table.h"

namespace zorv {

// Reads the whole table. A damaged file (truncated, not a Paradox table,
// inconsistent header or block chain) throws FileFormatError naming the
// cause and the file; a file that cannot be opened throws TableError.
Table readParadox(const std::string& path);

// The same from the bytes of a file; `name` stands for the file in messages
// and becomes the table's name.
Table readParadoxMemory(std::string_view bytes, const std::string& name);

// Opens a table for browsing and editing. With `writable`, every delete,
// update and append of the table is written to the file at once: the file
// is rewritten through a temporary file renamed over it, keeping the bytes
// of fields the engine does not read (memos, binary data) as they were.
// Tables with a primary key or write protection refuse edits with a
// TableError. A writable table holds the file's write lock (FileLock) while
// it lives; a table another open holds so throws FileLockedError. Without
// `writable` the table is read-only and takes no lock.
std::unique_ptr<Table> openParadox(const std::string& path, bool writable);

// Writes the records of the table's view, in its order, as a new table
// without key (format 7, code page 1250), through a temporary file renamed
// over `path`. Types: String -> alpha, SmallInt -> short, Integer and
// Word -> long, AutoInc -> auto-increment, Float and LargeInt -> number,
// Boolean -> logical, Date -> date, Time -> time, DateTime -> timestamp,
// Memo -> memo and Unknown -> bytes (both only with null values). Throws
// TableError, leaving `path` untouched, for what the format cannot hold.
void writeParadox(const Table& table, const std::string& path);

}  // namespace zorv

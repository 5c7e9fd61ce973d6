#pragma once
// dBase table files (.dbf) for the table engine.
//
// Reading takes levels III, IV, V and 7. Fields are read as:
//   C -> String (size = width)        D -> Date          L -> Boolean
//   N without decimals -> SmallInt (width <= 4), Integer (<= 9), Float
//   N with decimals, F, O -> Float    I -> Integer       + -> AutoInc
//   @ -> DateTime                     M -> Memo (left unread: null)
//   B, G (binary and OLE memos) -> Unknown (null)
// Deleted records are skipped; text is windows-1250, converted to UTF-8 with
// trailing blanks dropped; a blank N, F or D field, or one that holds no
// value, is null. A C field has no null: it reads as text, empty when blank,
// and a null text posted to an open table becomes empty text at once, as it
// reads back. A damaged file throws FileFormatError naming the file and
// the cause; a file that cannot be opened throws TableError.
//
// Writing maps the field types so (level 7 | dBase III):
//   String     C (width = size, at most 254)     | the same
//   Memo       C as wide as the longest text     | the same
//   SmallInt   I                                 | N 4.0, or N 6.0 when a value needs it
//   Word       I                                 | N 4.0, or N 5.0
//   Integer    I                                 | N 9.0, or N 11.0
//   AutoInc    +                                 | N 9.0, or N 11.0
//   LargeInt   N 20.0 (every digit kept)         | N 20.0
//   Float      O                                 | N 20.d, d the most decimals a value needs to
//                                                |   read back exactly; F 20 with each value in
//                                                |   its shortest exact form (exponent allowed)
//                                                |   when fixed decimals do not fit
//   Boolean    L                                 | L
//   Date       D                                 | D
//   DateTime   @                                 | C "yyyy-mm-dd hh:mm:ss[.zzz]"
//   Time       @ on 1899-12-30 (day number 0)    | C "hh:mm:ss[.zzz]"
//   Unknown    left out (its values are always null)
// The narrower N widths of dBase III are used when every value fits, so the
// field reads back as the same type. A value that has no form in its field
// (text longer than 254 bytes, a float with no exact text in 20 characters,
// -2^31 in an I field, a date outside the years 1-9999) refuses the write
// with a TableError naming the field: nothing is lost silently, and nothing
// is half written.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "table/Table.h"

namespace zorv {

enum class DbaseLevel { Level7, DBase3 };

// The whole file into memory, without a store.
Table readDbase(const std::string& path);

// The same with only the fields of the file named in `names` (compared
// without regard to ASCII case), in the file's order; names the file lacks
// are passed over. Each field reads exactly as readDbase reads it.
Table readDbaseFields(const std::string& path, const std::vector<std::string>& names);

// The file's fields, without its records (the header alone is read).
Table readDbaseLayout(const std::string& path);

// The whole file from the bytes of a file; `name` stands for the file in messages
// and becomes the table's name.
Table readDbaseMemory(std::string_view bytes, const std::string& name);

// The file into memory, with a store through which deleting, editing and
// appending records reach the file at once (in place). A writable table
// holds the file's write lock (FileLock) while it lives; a file another open
// holds so throws FileLockedError. When `writable` is false the table is
// read-only, has no store and takes no lock.
std::unique_ptr<Table> openDbase(const std::string& path, bool writable);

// Writes the records the table's view presents, in its order, through a
// temporary file renamed over `path`. Field names are upper-cased ASCII
// (Polish letters lose their marks, other characters become '_'), at most
// 10 (dBase III) or 31 (level 7) characters; names that collide after that
// refuse the write.
void writeDbase(const Table& table, const std::string& path, DbaseLevel level = DbaseLevel::Level7);

}  // namespace zorv

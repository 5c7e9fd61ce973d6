#pragma once
// Line files: windows-1250 text with CR LF line ends on disk, UTF-8 lines in
// the program. Reports, exported tables and imported catalogues are such
// files.

#include <string>
#include <string_view>
#include <vector>

namespace zorv {

// Splits windows-1250 bytes into UTF-8 lines at CR LF, LF or a lone CR. A
// line end at the very end does not start another (empty) line, so "a\r\n"
// is one line and empty bytes are no line at all.
std::vector<std::string> decodeLines(std::string_view bytes);

// The bytes of a line file: every line in windows-1250 ended by CR LF. A line
// break inside a line (CR LF, LF or CR) is written as CR LF, so the file reads
// back as separate lines; a character windows-1250 lacks is written as "?".
std::string encodeLines(const std::vector<std::string>& utf8Lines);

// Reads a whole line file; throws std::runtime_error with a Polish message
// naming the file when it cannot be read.
std::vector<std::string> readLines(const std::string& path);

// Writes a line file through AtomicFile, so that a failure leaves the previous
// file (or none) rather than a half-written one; throws std::runtime_error
// with a Polish message naming the file.
void writeLines(const std::string& path, const std::vector<std::string>& utf8Lines);

}  // namespace zorv

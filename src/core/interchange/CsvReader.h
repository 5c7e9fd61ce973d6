#pragma once
// Delimited text catalogues as other programs write them (RFC 4180): fields
// separated by a comma, semicolon, TAB, "|" or blanks, any field possibly in
// double quotes (holding separators, line breaks and doubled quotes), lines
// ended by CR LF, LF or CR, UTF-8 with or without a byte-order mark or
// windows-1250. What the file does not say is found from its first lines:
// the encoding, the separator, whether the first row is a header and
// whether numbers carry a decimal comma.

#include <optional>
#include <string_view>

#include "interchange/CatalogueRows.h"
#include "interchange/TextEncoding.h"

namespace zorv {

struct CsvDialect {
    char separator = ',';  // ',', ';', '\t', '|' or ' ' (a run of blanks)
    TextEncoding encoding = TextEncoding::Utf8;
    bool header = true;
    bool decimalComma = false;
};

// What the user fixed; the rest is detected.
struct CsvOptions {
    std::optional<char> separator;
    std::optional<TextEncoding> encoding;
    std::optional<bool> header;
    std::optional<bool> decimalComma;
};

struct CsvRead {
    CatalogueRows rows;
    CsvDialect dialect;
};

// "przecinek", "średnik", "tabulator", "|", "spacja", for messages.
const char* csvSeparatorName(char separator);

// The separator that splits the first lines of UTF-8 text into the same
// number (two or more) of fields; TAB, ";", "|", "," and blanks are tried in
// that order, since a decimal comma may split every line alike too. A
// comma when none does.
char detectCsvSeparator(std::string_view text);

// Reads the file's bytes. Blank lines are skipped; a row of another width
// than the first, an unclosed quote and text after a closing quote are
// refused with an ImportError naming the line. A separator at the end of
// every line (as the program's own text export writes) is no extra column.
CsvRead readCsv(std::string_view bytes, const CsvOptions& options = {});

}  // namespace zorv

#pragma once
// windows-1250, the code page of every file the program reads and writes.
//
// Inside the program text is UTF-8. The five bytes windows-1250 leaves
// undefined (0x81, 0x83, 0x88, 0x90, 0x98) are carried as the C1 control
// characters of the same number, so that any byte string survives a round
// trip unchanged.

#include <string>
#include <string_view>

namespace zorv {

// Decodes windows-1250 bytes to UTF-8 (never fails).
std::string cp1250ToUtf8(std::string_view bytes);

// Encodes UTF-8 to windows-1250. A character the code page lacks, and a
// malformed UTF-8 sequence, become `replacement`.
std::string utf8ToCp1250(std::string_view utf8, char replacement = '?');

// Unicode code point of a windows-1250 byte.
char32_t cp1250CodePoint(unsigned char byte);

// Decodes one UTF-8 sequence at `i`, advancing `i`; returns U+FFFD for a
// malformed sequence (advancing by one byte).
char32_t decodeUtf8(std::string_view s, std::size_t& i);
void appendUtf8(std::string& out, char32_t cp);

}  // namespace zorv

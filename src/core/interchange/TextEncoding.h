#pragma once
// The character encoding of a text catalogue written elsewhere: UTF-8 with or
// without a byte-order mark, or windows-1250 (the program's own code page).
// Files from networks and web services are mostly UTF-8, files from older
// mine systems windows-1250; a byte sequence that is not valid UTF-8 decides
// for windows-1250.

#include <string>
#include <string_view>

namespace zorv {

enum class TextEncoding { Utf8, Utf8Bom, Cp1250 };

// "UTF-8", "UTF-8 z BOM", "windows-1250", for the import message.
const char* textEncodingName(TextEncoding encoding);

// Whether the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool isValidUtf8(std::string_view bytes);

// The encoding the bytes are most likely in.
TextEncoding detectTextEncoding(std::string_view bytes);

// The bytes as UTF-8 text in the given encoding, without a byte-order mark.
std::string decodeText(std::string_view bytes, TextEncoding encoding);

}  // namespace zorv

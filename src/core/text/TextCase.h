#pragma once
// Case folding for comparisons that ignore case. Covers ASCII and the
// Latin-1 and Latin Extended-A letters, which include every letter of
// windows-1250.

#include <string>
#include <string_view>

namespace zorv {

char32_t foldCase(char32_t cp);
// The text with every letter of the covered ranges in lower case.
std::string foldCase(std::string_view utf8);
// Whether two UTF-8 texts are equal when case is ignored.
bool equalsIgnoreCase(std::string_view a, std::string_view b);

}  // namespace zorv

#pragma once
// A report: an ordered list of text lines (UTF-8 inside the program,
// windows-1250 on disk), no line holding a line break.

#include <string>
#include <vector>

namespace zorv {

using ReportLines = std::vector<std::string>;

}  // namespace zorv

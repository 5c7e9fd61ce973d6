#pragma once
// zorv-batch --help: the analyses of the registry and every option.

#include <string>

namespace zorv {

std::string batchHelpText();

}  // namespace zorv

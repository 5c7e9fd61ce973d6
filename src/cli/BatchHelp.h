#pragma once
// zorv-batch --help: the analyses of the registry and every option.

#include <optional>
#include <string>
#include <string_view>

namespace zorv {

std::string batchHelpText();

// The options of one command as its help lists them ("--period, --classes"),
// without the selection and output options every command takes; none for
// a word that names no command.
std::optional<std::string> commandOptionsText(std::string_view command);

}  // namespace zorv

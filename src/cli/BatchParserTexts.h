#pragma once
// The option parser's failures in the program's words: an unknown option
// names the options the command takes, a missing or an unexpected value
// names its option.

#include <QCommandLineParser>
#include <string>

namespace zorv {

// The message of a parse that failed; `p` has been through parse().
std::string parserFailureText(const QCommandLineParser& p);

}  // namespace zorv

#pragma once
// The named options an analysis is run with, as texts: zorv-batch hands in
// its command line, the Python module its keyword arguments. The readers of
// the option families parse and check them here, once for both, with the
// messages zorv-batch prints.

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "hazard/NonParametricTables.h"

namespace zorv {

// An option the user gave wrongly; the message names it.
class OptionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class OptionSource {
public:
    virtual ~OptionSource() = default;
    virtual bool isSet(std::string_view name) const = 0;
    // Every value given, in the order given (an option may repeat).
    virtual std::vector<std::string> values(std::string_view name) const = 0;
    // The last value given; "" when none.
    std::string value(std::string_view name) const;
};

// How an option takes its value.
enum class OptionKind {
    Flag,      // given or not
    Value,     // one value; the last one given counts
    List,      // one value of comma-separated items (--zones G-1,G-2/3)
    Repeated,  // may be given several times (--magnitude 3 --magnitude 2.5)
};

struct OptionSpec {
    const char* name;  // without the leading "--"
    OptionKind kind;
};

// Every option the analyses of the registry read, in the order of
// zorv-batch --help.
const std::vector<OptionSpec>& analysisOptions();
// Null when `name` is none of them.
const OptionSpec* findAnalysisOption(std::string_view name);

// The comma-separated items of a text, empty items left out, each trimmed of
// blanks.
std::vector<std::string> optionItems(std::string_view text);

// The text without its leading and trailing blanks.
std::string trimmedOption(std::string_view text);

// A number written with a decimal point or comma; `option` names the option
// in the message when it is none.
double parseOptionNumber(const std::string& text, const char* option);
double numberOption(const OptionSource& p, const char* name);

// Throws `message` unless minimum <= value <= maximum (NaN never passes).
void checkRange(double value, double minimum, double maximum, const std::string& message);

// The option as a whole number in [minimum, maximum], else `message`.
int wholeOption(const OptionSource& p, const char* name, int minimum, int maximum,
                const std::string& message);

// --start, --end, --step: all three or none (nullopt).
std::optional<TableRange> tableRangeOptions(const OptionSource& p);

}  // namespace zorv

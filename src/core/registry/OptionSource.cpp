#include "registry/OptionSource.h"

#include <cmath>

#include "text/NumberFormat.h"

namespace zorv {

std::string OptionSource::value(std::string_view name) const {
    const std::vector<std::string> all = values(name);
    return all.empty() ? std::string() : all.back();
}

const std::vector<OptionSpec>& analysisOptions() {
    using K = OptionKind;
    static const std::vector<OptionSpec> options = {
        {"period", K::Value},
        {"classes", K::Value},
        {"trace-threshold", K::Value},
        {"discharge-threshold", K::Value},
        {"zones", K::List},
        {"energy-classes", K::Flag},
        {"fixed-upper-limit", K::Flag},
        {"b-stats", K::Flag},
        {"b-aki", K::Flag},
        {"b-positive-threshold", K::Value},
        {"b-bin", K::Value},
        {"start", K::Value},
        {"end", K::Value},
        {"step", K::Value},
        {"magnitude", K::Repeated},
        {"duration", K::Repeated},
        {"time-unit", K::Value},
        {"silverman", K::Value},
        {"alt-h", K::Value},
        {"variable-upper-limit", K::Flag},
        {"functions", K::List},
        {"bootstrap", K::Value},
        {"level", K::Value},
        {"window", K::Value},
        {"window-step", K::Value},
        {"min-events", K::Value},
        {"return-magnitude", K::Value},
        {"mc", K::Value},
        {"mc-bin", K::Value},
        {"horizon", K::Value},
        // hazard-map
        {"quantity", K::List},
        {"cell", K::Value},
        {"box", K::Value},
        {"sampling", K::Value},
        {"nearest", K::Value},
        {"radius", K::Value},
        {"max-radius", K::Value},
        {"threshold", K::Value},
        {"normalise", K::Value},
        {"reference-area", K::Value},
        {"xy-unit", K::Value},
        {"before", K::Value},
        {"after", K::Value},
        {"significance", K::Value},
        {"threads", K::Value},
    };
    return options;
}

const OptionSpec* findAnalysisOption(std::string_view name) {
    for (const OptionSpec& o : analysisOptions())
        if (name == o.name) return &o;
    return nullptr;
}

namespace {
bool blank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }
}  // namespace

std::string trimmedOption(std::string_view text) {
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return std::string(text);
}

std::vector<std::string> optionItems(std::string_view text) {
    std::vector<std::string> out;
    std::size_t begin = 0;
    while (begin <= text.size()) {
        std::size_t end = text.find(',', begin);
        if (end == std::string_view::npos) end = text.size();
        if (end > begin) out.push_back(trimmedOption(text.substr(begin, end - begin)));
        begin = end + 1;
    }
    return out;
}

double parseOptionNumber(const std::string& text, const char* option) {
    const auto v = parseNumber(text, Locale::point());
    const auto w = v ? v : parseNumber(text, Locale::comma());
    if (!w) throw OptionError("Niepoprawna liczba w opcji --" + std::string(option) + ": " + text);
    return *w;
}

double numberOption(const OptionSource& p, const char* name) {
    return parseOptionNumber(p.value(name), name);
}

void checkRange(double value, double minimum, double maximum, const std::string& message) {
    if (!(value >= minimum && value <= maximum)) throw OptionError(message);
}

int wholeOption(const OptionSource& p, const char* name, int minimum, int maximum,
                const std::string& message) {
    const double v = numberOption(p, name);
    if (v != std::trunc(v)) throw OptionError(message);
    checkRange(v, minimum, maximum, message);
    return static_cast<int>(v);
}

std::optional<TableRange> tableRangeOptions(const OptionSource& p) {
    const int given = p.isSet("start") + p.isSet("end") + p.isSet("step");
    if (given == 0) return std::nullopt;
    if (given != 3) throw OptionError("Podaj razem --start, --end i --step albo żadnej z nich.");
    return TableRange{numberOption(p, "start"), numberOption(p, "end"), numberOption(p, "step")};
}

}  // namespace zorv

#include "BatchOptions.h"

#include <cmath>

#include "BatchError.h"
#include "text/NumberFormat.h"

namespace zorv {

void addBatchOptions(QCommandLineParser& p) {
    p.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}));
    for (const char* name : {"zone",
                             "department",
                             "from",
                             "to",
                             "where",
                             "period",
                             "classes",
                             "trace-threshold",
                             "discharge-threshold",
                             "mmin",
                             "a",
                             "b",
                             "table",
                             "report",
                             "picture",
                             "settings",
                             "locale",
                             "zones",
                             "start",
                             "end",
                             "step",
                             "magnitude",
                             "duration",
                             "time-unit",
                             "silverman",
                             "alt-h",
                             "functions",
                             "window",
                             "window-step",
                             "min-events",
                             "return-magnitude",
                             "bootstrap",
                             "level",
                             "b-positive-threshold",
                             "b-bin",
                             "horizon",
                             "mc",
                             "mc-bin"}) {
        QCommandLineOption o(QString::fromLatin1(name));
        o.setValueName(QStringLiteral("x"));
        p.addOption(o);
    }
    for (const char* flag :
         {"located", "or", "energy-classes", "variable-upper-limit", "fixed-upper-limit", "b-stats"})
        p.addOption(QCommandLineOption(QString::fromLatin1(flag)));
}

std::string optionText(const QCommandLineParser& p, const char* name) {
    return p.value(QString::fromLatin1(name)).toStdString();
}

double parseOptionNumber(const std::string& text, const char* option) {
    const auto v = parseNumber(text, Locale::point());
    const auto w = v ? v : parseNumber(text, Locale::comma());
    if (!w) throw BatchError("Niepoprawna liczba w opcji --" + std::string(option) + ": " + text);
    return *w;
}

double numberOption(const QCommandLineParser& p, const char* name) {
    return parseOptionNumber(optionText(p, name), name);
}

void checkRange(double value, double minimum, double maximum, const std::string& message) {
    if (!(value >= minimum && value <= maximum)) throw BatchError(message);
}

int wholeOption(const QCommandLineParser& p, const char* name, int minimum, int maximum,
                const std::string& message) {
    const double v = numberOption(p, name);
    if (v != std::trunc(v)) throw BatchError(message);
    checkRange(v, minimum, maximum, message);
    return static_cast<int>(v);
}

std::optional<TableRange> tableRangeOptions(const QCommandLineParser& p) {
    const int given =
        p.isSet(QStringLiteral("start")) + p.isSet(QStringLiteral("end")) + p.isSet(QStringLiteral("step"));
    if (given == 0) return std::nullopt;
    if (given != 3) throw BatchError("Podaj razem --start, --end i --step albo żadnej z nich.");
    return TableRange{numberOption(p, "start"), numberOption(p, "end"), numberOption(p, "step")};
}

}  // namespace zorv

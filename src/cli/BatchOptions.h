#pragma once
// The option set of zorv-batch and the parsing every family shares: numbers
// in point or comma decimals, ranges and whole numbers, each checked once.

#include <QCommandLineParser>
#include <optional>
#include <string>

#include "hazard/NonParametricTables.h"

namespace zorv {

// Every option of every analysis; an analysis reads the ones it takes.
void addBatchOptions(QCommandLineParser& p);

std::string optionText(const QCommandLineParser& p, const char* name);

// A number written with a decimal point or comma; `option` names the option
// in the message when it is none.
double parseOptionNumber(const std::string& text, const char* option);
double numberOption(const QCommandLineParser& p, const char* name);

// Throws `message` unless minimum <= value <= maximum (NaN never passes).
void checkRange(double value, double minimum, double maximum, const std::string& message);

// The option as a whole number in [minimum, maximum], else `message`.
int wholeOption(const QCommandLineParser& p, const char* name, int minimum, int maximum,
                const std::string& message);

// --start, --end, --step: all three or none (nullopt).
std::optional<TableRange> tableRangeOptions(const QCommandLineParser& p);

}  // namespace zorv

#pragma once
// The catalogue of a command after the structure check the desktop program
// runs when it opens a catalogue with "CheckDBF" on: a catalogue that fails
// it is refused with the program's text and its faults listed, unless
// --no-check is given.

#include <QCommandLineParser>
#include <memory>
#include <string>

#include "table/Table.h"

namespace zorv {

struct BatchSettings;

// Whether the settings and the options ask for the check.
bool structureCheckWanted(const QCommandLineParser& p, const BatchSettings& settings);

std::unique_ptr<Table> openCheckedCatalogue(const QCommandLineParser& p, const std::string& path,
                                            const BatchSettings& settings);

}  // namespace zorv

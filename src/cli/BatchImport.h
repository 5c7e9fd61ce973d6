#pragma once
// "zorv-batch import IN OUT": a text catalogue turned into a catalogue
// table with the mapping of the desktop program's import dialog given as
// options, so that a network's daily export can be converted by a script.

#include <QCommandLineParser>
#include <QStringList>
#include <string>
#include <vector>

#include "catalogue/Preferences.h"
#include "interchange/TextImport.h"

namespace zorv {

struct BatchSettings;

// The options only the import reads.
void addImportOptions(QCommandLineParser& p);

// The columns of the file as the options map them: with `header`, the
// captions of the first line name the columns, a column named after a role
// takes the role's type and every other is imported as text; each --column
// then sets one column ("3=energia", "5=OPIS:text"). Throws BatchError.
std::vector<ImportColumn> importColumnsOf(const std::vector<std::string>& captions, bool header,
                                          const QStringList& columnOptions, const ImportRoleNames& roles);

// Runs the import; returns the exit code.
int runImport(const QCommandLineParser& p, const QStringList& args, const BatchSettings& settings);

}  // namespace zorv

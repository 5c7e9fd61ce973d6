#pragma once
// "zorv-batch import" of catalogues written elsewhere: comma CSV and its
// kin, the OpenQuake catalogue CSV, the FDSN event text format and QuakeML,
// with the columns found by their names (--columns auto), dates in the
// chosen order, missing-value marks and the CRS of geographic co-ordinates.
// The text import of the desktop dialog stays as it was for the rest.

#include <QCommandLineParser>
#include <QStringList>
#include <string>

namespace zorv {

struct BatchSettings;

void addCatalogueImportOptions(QCommandLineParser& p);

// Whether the options or the file ask for this import rather than the
// text import by extension.
bool wantsCatalogueImport(const QCommandLineParser& p, const std::string& in);

int runCatalogueImport(const QCommandLineParser& p, const std::string& in, const std::string& out,
                       const BatchSettings& settings);

// "zorv-batch export KATALOG PLIK": the filtered catalogue as comma CSV,
// QuakeML 1.2 or the OpenQuake catalogue CSV.
int runExport(const QCommandLineParser& p, const QStringList& args, const BatchSettings& settings);

}  // namespace zorv

#pragma once
// The catalogue of an analysis that reads only a few of its fields: of a
// dBase file only those fields and the ones the selection's filter reads
// are loaded, which at millions of events is most of the run. A Paradox
// file is read whole.

#include <QCommandLineParser>
#include <memory>
#include <string>
#include <vector>

#include "BatchCatalogue.h"

namespace zorv {

// The catalogue file, read only, filtered by the selection options as
// filterCatalogue does (its filter returned in `filter`), with at least the
// fields `fields` names that the file has. Throws BatchError.
std::unique_ptr<Table> openCatalogueFields(const QCommandLineParser& p, const BatchSettings& settings,
                                           const std::string& path, std::vector<std::string> fields,
                                           JoinedFilter& filter);

}  // namespace zorv

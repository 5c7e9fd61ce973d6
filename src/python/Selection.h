#pragma once
// A catalogue opened from Python and the selections made of it: each
// selection holds its records frozen in a table of its own, in catalogue
// order, so that selections never disturb one another.

#include <memory>
#include <string>
#include <vector>

#include "ModuleSettings.h"
#include "catalogue/CatalogueSelection.h"
#include "table/Table.h"

namespace zorv::python {

struct CatalogueFile {
    std::string path;
    std::unique_ptr<Table> table;  // every record as read
    ModuleSettings settings;
    std::vector<std::string> checkReport;  // the structure check's report, empty without a check
};

struct Selection {
    std::shared_ptr<const CatalogueFile> file;
    std::shared_ptr<Table> records;  // the selected records; the file's table for the whole catalogue
    std::string description;         // of the filters applied, joined by "; "
    std::string expression;          // the last filter's joined expression
    std::vector<std::string> warnings;
};

// Opens a dBase (.dbf), Paradox (.db) or text (.txt, .csv, .dat with a
// header line naming the fields) catalogue, read only; with `check`, the
// structure check must pass. Throws CatalogueError-kind failures
// (TableError, ImportError) with the program's messages.
Selection openCatalogue(const std::string& path, ModuleSettings settings, bool check);

// A catalogue of arrays (field name → array), as if read from a file.
Selection catalogueOfTable(std::unique_ptr<Table> table, ModuleSettings settings, std::string name);

// The records of `from` the selection passes. Throws OptionError (through
// SelectionError) and FilterError.
Selection filterSelection(const Selection& from, const CatalogueSelection& selection);

// The failure of a catalogue's structure check: the program's message and
// its report.
struct StructureCheckFailure : std::runtime_error {
    StructureCheckFailure(const std::string& message, std::vector<std::string> report)
        : std::runtime_error(message), report(std::move(report)) {}
    std::vector<std::string> report;
};

}  // namespace zorv::python

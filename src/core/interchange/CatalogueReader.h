#pragma once
// One entry for every catalogue form written elsewhere: a delimited text
// (comma CSV and its kin, the OpenQuake catalogue CSV among them), the FDSN
// event text format ("#EventID|Time|Latitude|Longitude|Depth/km|…") and
// QuakeML 1.2. Each gives the same catalogue cells, which the column roles
// and buildCatalogue turn into a table.

#include <optional>
#include <string>
#include <string_view>

#include "interchange/CatalogueRows.h"
#include "interchange/CsvReader.h"

namespace zorv {

enum class CatalogueForm { Csv, FdsnText, QuakeMl };

// "CSV", "tekst FDSN", "QuakeML 1.2".
const char* catalogueFormName(CatalogueForm form);
// The form of an option word: csv, openquake (a CSV), fdsn, quakeml.
std::optional<CatalogueForm> catalogueFormOfWord(std::string_view word);

// QuakeML for XML content, the event text format for a first line
// "#EventID|…", CSV otherwise.
CatalogueForm detectCatalogueForm(std::string_view bytes);

struct CatalogueRead {
    CatalogueRows rows;
    CatalogueForm form = CatalogueForm::Csv;
    CsvDialect dialect;  // of the text forms
};

// Throws ImportError with the reason and what to try.
CatalogueRead readCatalogue(std::string_view bytes, CatalogueForm form, const CsvOptions& csv = {});

// The event text format: "|"-separated, a header line starting with "#".
CatalogueRows readFdsnText(std::string_view bytes, CsvDialect* dialect = nullptr);

}  // namespace zorv

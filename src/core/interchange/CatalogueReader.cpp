#include "interchange/CatalogueReader.h"

#include <algorithm>

#include "interchange/ColumnRoles.h"
#include "interchange/QuakeMlReader.h"
#include "interchange/TextImport.h"

namespace zorv {

const char* catalogueFormName(CatalogueForm form) {
    switch (form) {
        case CatalogueForm::Csv: return "CSV";
        case CatalogueForm::FdsnText: return "tekst FDSN";
        case CatalogueForm::QuakeMl: break;
    }
    return "QuakeML 1.2";
}

std::optional<CatalogueForm> catalogueFormOfWord(std::string_view word) {
    if (word == "csv" || word == "openquake") return CatalogueForm::Csv;
    if (word == "fdsn") return CatalogueForm::FdsnText;
    if (word == "quakeml") return CatalogueForm::QuakeMl;
    return std::nullopt;
}

CatalogueForm detectCatalogueForm(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    const auto first = bytes.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return CatalogueForm::Csv;
    if (bytes[first] == '<') return CatalogueForm::QuakeMl;
    const std::string_view line = bytes.substr(first, bytes.find_first_of("\r\n", first) - first);
    if (line.size() > 1 && line[0] == '#' && line.find('|') != std::string_view::npos)
        return CatalogueForm::FdsnText;
    return CatalogueForm::Csv;
}

CatalogueRows readFdsnText(std::string_view bytes, CsvDialect* dialect) {
    CsvOptions o;
    o.separator = '|';
    o.header = true;
    o.decimalComma = false;
    CsvRead read = readCsv(bytes, o);
    std::vector<std::string> header = read.rows.header();
    if (!header.empty() && !header[0].empty() && header[0][0] == '#') header[0].erase(0, 1);
    for (const char* needed : {"time", "latitude", "longitude"})
        if (std::none_of(header.begin(), header.end(),
                         [&](const std::string& h) { return normalisedColumnName(h) == needed; }))
            throw ImportError(
                std::string("Plik nie jest w formacie tekstowym FDSN: nagłówek nie ma kolumny ") + needed +
                " (oczekiwany nagłówek #EventID|Time|Latitude|Longitude|Depth/km|…).");
    // The header without its "#".
    read.rows.renameColumn(0, header[0]);
    if (dialect) *dialect = read.dialect;
    return std::move(read.rows);
}

CatalogueRead readCatalogue(std::string_view bytes, CatalogueForm form, const CsvOptions& csv) {
    CatalogueRead out;
    out.form = form;
    switch (form) {
        case CatalogueForm::Csv: {
            CsvRead read = readCsv(bytes, csv);
            out.rows = std::move(read.rows);
            out.dialect = read.dialect;
            break;
        }
        case CatalogueForm::FdsnText: out.rows = readFdsnText(bytes, &out.dialect); break;
        case CatalogueForm::QuakeMl: out.rows = readQuakeMl(bytes); break;
    }
    return out;
}

}  // namespace zorv

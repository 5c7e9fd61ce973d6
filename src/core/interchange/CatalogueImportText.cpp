// The texts an import shows: the column-to-role mapping it used and the
// message of a finished import.

#include "interchange/CatalogueBuilder.h"
#include "interchange/CatalogueDates.h"
#include "interchange/ColumnRoles.h"

namespace zorv {

std::vector<std::string> describeMapping(const std::vector<std::string>& header,
                                         const std::vector<ColumnMapping>& mapping,
                                         const CatalogueFieldNames&) {
    std::vector<std::string> lines;
    for (std::size_t c = 0; c < mapping.size() && c < header.size(); ++c) {
        std::string line = std::to_string(c + 1) + " " + header[c] + " -> " + columnRoleWord(mapping[c].role);
        if (mapping[c].role == ColumnRole::Extra) line += " (" + mapping[c].name + ")";
        lines.push_back(line);
    }
    return lines;
}

std::string catalogueImportMessage(const std::string& fileName, const CatalogueBuildReport& r) {
    std::string text = "Operacja importu danych do pliku " + fileName +
                       " powiodła się. Rekordów: " + std::to_string(r.records) + ".";
    if (r.moved > 0)
        text += " Posortowano według daty: przesunięto " + std::to_string(r.moved) + " rekordów.";
    if (r.withoutSize > 0)
        text += " Rekordów bez magnitudy i energii: " + std::to_string(r.withoutSize) +
                (r.dropped > 0 ? " (pominięte)." : " (zachowane).");
    if (r.withoutMagnitude > 0)
        text += " Rekordów bez magnitudy (energia równa 0 lub ujemna albo pusta): " +
                std::to_string(r.withoutMagnitude) + ".";
    if (r.dateOrder) text += std::string(" Daty: ") + dateOrderName(*r.dateOrder) + ".";
    if (!r.crs.empty()) text += " Współrzędne X/Y w układzie " + r.crs + ".";
    return text;
}

}  // namespace zorv

// The roles of a catalogue's columns checked before anything is read.

#include <cctype>
#include <string>
#include <unordered_map>
#include <utility>

#include "interchange/CatalogueBuild.h"

namespace zorv::catalogue_build {

void Builder::checkRoles() const {
    // Two columns of one name leave unsaid which of them is meant (and
    // which one an export and its reading back would keep).
    // Names are compared without case, each once: a file of thousands of
    // columns is checked in a blink. The pair named is the first column that
    // has a twin, with its first twin.
    const std::vector<std::string>& header = rows_.header();
    std::unordered_map<std::string, std::pair<std::size_t, std::size_t>> seen;  // first, first twin
    std::size_t first = header.size(), twin = 0;
    for (std::size_t j = 0; j < header.size(); ++j) {
        if (header[j].empty()) continue;
        std::string key = header[j];
        for (char& ch : key) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        const auto [at, added] = seen.try_emplace(std::move(key), j, header.size());
        if (added || at->second.second != header.size()) continue;
        at->second.second = j;
        if (at->second.first < first) {
            first = at->second.first;
            twin = j;
        }
    }
    if (first != header.size())
        throw ImportError("Kolumna '" + header[first] + "' występuje w nagłówku dwa razy (kolumny " +
                          std::to_string(first + 1) + " i " + std::to_string(twin + 1) +
                          "); nadaj kolumnom różne nazwy.");
    if (!has(ColumnRole::Magnitude) && !has(ColumnRole::Energy)) {
        std::string list;
        for (const std::string& h : rows_.header()) list += (list.empty() ? "" : ", ") + h;
        throw ImportError(
            "Nie zdefiniowane pole MAGNITUDA/ENERGIA. Procedura importowania przerwana. Żadna kolumna (" +
            list +
            ") nie została rozpoznana jako magnituda (Mag, ML, Mw, Magnitude) ani energia (Energy, E [J]); "
            "wskaż ją w podglądzie importu albo opcją --column NUMER=magnituda lub NUMER=energia.");
    }
    if (has(ColumnRole::Longitude) != has(ColumnRole::Latitude))
        throw ImportError(
            std::string("Jest kolumna ") + (has(ColumnRole::Longitude) ? "długości" : "szerokości") +
            " geograficznej bez kolumny " + (has(ColumnRole::Longitude) ? "szerokości" : "długości") +
            "; potrzebne są obie (Lat, Lon).");
    if (has(ColumnRole::X) != has(ColumnRole::Y))
        throw ImportError(std::string("Jest kolumna ") + (has(ColumnRole::X) ? "X" : "Y") + " bez kolumny " +
                          (has(ColumnRole::X) ? "Y" : "X") + " (Easting i Northing idą w parze).");
    const int parts = int(has(ColumnRole::Year)) + int(has(ColumnRole::Month)) + int(has(ColumnRole::Day));
    if (parts != 0 && parts != 3)
        throw ImportError(
            "Data w osobnych kolumnach potrzebuje kolumn roku, miesiąca i dnia (year, month, day).");
    if (parts == 3 && has(ColumnRole::Date))
        throw ImportError("Data jest podana dwa razy: w jednej kolumnie (" + caption(col(ColumnRole::Date)) +
                          ") i w kolumnach roku, miesiąca i dnia; wskaż jedną z nich (rola „pomiń”, opcja "
                          "--column N=pomin).");
}

}  // namespace zorv::catalogue_build

// The roles of a catalogue's columns checked before anything is read.

#include <cctype>

#include "interchange/CatalogueBuild.h"

namespace zorv::catalogue_build {

void Builder::checkRoles() const {
    // Two columns of one name leave unsaid which of them is meant (and
    // which one an export and its reading back would keep).
    const std::vector<std::string>& header = rows_.header();
    for (std::size_t i = 0; i < header.size(); ++i)
        for (std::size_t j = i + 1; j < header.size(); ++j) {
            std::string a = header[i], b = header[j];
            for (std::string* s : {&a, &b})
                for (char& ch : *s) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
            if (!a.empty() && a == b)
                throw ImportError("Kolumna '" + header[i] + "' występuje w nagłówku dwa razy (kolumny " +
                                  std::to_string(i + 1) + " i " + std::to_string(j + 1) +
                                  "); nadaj kolumnom różne nazwy.");
        }
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

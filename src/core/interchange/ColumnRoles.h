#pragma once
// The roles of the columns of a catalogue written elsewhere, found from
// their header names: "Mw", "ML", "Mag", "Magnitude" give the magnitude;
// "Energy", "E [J]", "Radiated Energy (J)" the energy [J]; "Easting",
// "East", "X" and "Northing", "North", "Y" the plane co-ordinates [m];
// "Lat"/"Latitude" and "Lon"/"Longitude" geographic co-ordinates to be
// projected; "Date", "Time", "Origin time" the date (with its time of day);
// "year" … "second" the parts of a date and time given in columns of their
// own. Names are compared without case, blanks, underscores and a unit in
// brackets; the catalogue's own field names (MAGNITUDA, ENG, …) count too.
// Every other column (depth among them) is kept as an extra field.

#include <string>
#include <vector>

#include "interchange/TextImport.h"

namespace zorv {

enum class ColumnRole {
    Skip,
    Magnitude,
    Energy,
    X,
    Y,
    Longitude,
    Latitude,
    Date,  // a date, or a date and time of day, in one column
    TimeOfDay,
    Year,
    Month,
    Day,
    Hour,
    Minute,
    Second,
    Zone,
    Extra,  // kept under its own name with a type found from its values
};

// "magnituda", "energia", "x", …, "dodatkowe", the words of --column and of
// the printed mapping.
const char* columnRoleWord(ColumnRole role);
// The role of such a word; Skip with `known` false when it is none.
ColumnRole columnRoleOfWord(const std::string& word, bool* known);

struct ColumnMapping {
    ColumnRole role = ColumnRole::Skip;
    std::string name;  // of the extra field
};

// The catalogue's field names of the roles and of the time of day.
struct CatalogueFieldNames {
    ImportRoleNames roles;
    std::string hour = "GODZ", minute = "MIN", second = "SEK";
};

// The names of the settings (importRoleNames, Godzina, Minuta, Sekunda).
CatalogueFieldNames catalogueFieldNames(const Preferences& prefs);

// The header's name compared: lower case, without blanks, "_", "-", "." and
// a trailing unit ("[J]", "(J)", "/km").
std::string normalisedColumnName(const std::string& caption);

// One role per column; a role already taken makes a later column an extra.
std::vector<ColumnMapping> autoColumnRoles(const std::vector<std::string>& header,
                                           const CatalogueFieldNames& names);

// Gives the column the role; a role one column plays (any but Skip and
// Extra) is taken from the column that had it, which becomes an extra.
void assignColumnRole(std::vector<ColumnMapping>& mapping, std::size_t column, ColumnRole role);

// A field name both table formats take: letters, digits and "_" (others
// become "_"), not starting with a digit, at most 25 characters.
std::string fieldNameOf(const std::string& caption);

}  // namespace zorv

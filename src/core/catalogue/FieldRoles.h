#pragma once
// The logical fields of a seismic event catalogue and the names they go by.
//
// The program never hard-codes a catalogue's field names: each role (zone,
// date, X, Y, energy, magnitude, time of day) is mapped to a field name
// taken from the settings.

#include <array>
#include <string>
#include <string_view>

#include "table/FieldType.h"

namespace zorv {

enum class FieldRole { Zone, Date, X, Y, Energy, Magnitude, Hour, Minute, Second };

inline constexpr std::array<FieldRole, 9> kAllFieldRoles = {
    FieldRole::Zone,      FieldRole::Date, FieldRole::X,      FieldRole::Y,     FieldRole::Energy,
    FieldRole::Magnitude, FieldRole::Hour, FieldRole::Minute, FieldRole::Second};

struct FieldRoleInfo {
    FieldRole role;
    const char* settingName;       // value name in the settings store
    const char* defaultFieldName;  // field name when the settings say nothing else
    const char* checkLabel;        // name of the role in the structure check ("" when not checked)
    FieldType requiredType;        // FieldType::Unknown when the type is not tested
};

const FieldRoleInfo& fieldRoleInfo(FieldRole role);

// Field names of the roles, as the settings give them.
struct CatalogueFields {
    std::string zone = "ODDZIAL";
    std::string date = "DATA";
    std::string x = "X";
    std::string y = "Y";
    std::string energy = "ENG";
    std::string magnitude = "MAGNITUDA";
    std::string hour = "GODZ";
    std::string minute = "MIN";
    std::string second = "SEK";

    const std::string& name(FieldRole role) const;
    std::string& name(FieldRole role);
    friend bool operator==(const CatalogueFields&, const CatalogueFields&) = default;
};

// The name the structure check prints for a field type.
const char* fieldTypeCheckName(FieldType type);

// Department of a zone code: the text before the first separator, or the
// whole code when the separator does not occur (an empty separator never
// occurs).
std::string_view departmentOf(std::string_view zoneCode, std::string_view separator = "/");

}  // namespace zorv

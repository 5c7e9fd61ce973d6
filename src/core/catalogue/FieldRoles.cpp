#include "catalogue/FieldRoles.h"

namespace zorv {

namespace {
constexpr FieldRoleInfo kRoles[] = {
    {FieldRole::Zone, "Oddzial", "ODDZIAL", "Strefa", FieldType::String},
    {FieldRole::Date, "Data", "DATA", "Data", FieldType::Date},
    {FieldRole::X, "X", "X", "Współrzędna X zjawiska", FieldType::Integer},
    {FieldRole::Y, "Y", "Y", "Współrzędna Y zjawiska", FieldType::Integer},
    {FieldRole::Energy, "Energia", "ENG", "Energia", FieldType::Float},
    {FieldRole::Magnitude, "Magnituda", "MAGNITUDA", "Magnituda", FieldType::Float},
    {FieldRole::Hour, "Godzina", "GODZ", "", FieldType::Unknown},
    {FieldRole::Minute, "Minuta", "MIN", "", FieldType::Unknown},
    {FieldRole::Second, "Sekunda", "SEK", "", FieldType::Unknown},
};
}  // namespace

const FieldRoleInfo& fieldRoleInfo(FieldRole role) { return kRoles[static_cast<int>(role)]; }

const std::string& CatalogueFields::name(FieldRole role) const {
    return const_cast<CatalogueFields*>(this)->name(role);
}

std::string& CatalogueFields::name(FieldRole role) {
    switch (role) {
        case FieldRole::Zone: return zone;
        case FieldRole::Date: return date;
        case FieldRole::X: return x;
        case FieldRole::Y: return y;
        case FieldRole::Energy: return energy;
        case FieldRole::Magnitude: return magnitude;
        case FieldRole::Hour: return hour;
        case FieldRole::Minute: return minute;
        case FieldRole::Second: return second;
    }
    return zone;
}

const char* fieldTypeCheckName(FieldType type) {
    switch (type) {
        case FieldType::String: return "Tekst";
        case FieldType::SmallInt: return "Liczba całkowita 16-bitowa";
        case FieldType::Integer: return "Liczba całkowita 32-bitowa";
        case FieldType::Word: return "Liczba nieujemna 16-bitowa";
        case FieldType::Boolean: return "Pole prawda/fałsz";
        case FieldType::Float: return "Liczba zmiennoprzecinkowa";
        case FieldType::Date: return "Format Daty Windows";
        case FieldType::LargeInt: return "Liczba całkowita 64-bitowa";
        case FieldType::Unknown: return "Nierozpoznane lub niezdefiniowane";
        case FieldType::DateTime:
        case FieldType::Time:
        case FieldType::Memo:
        case FieldType::AutoInc: break;
    }
    return "Nierozpoznane";
}

std::string_view departmentOf(std::string_view zoneCode, std::string_view separator) {
    if (separator.empty()) return zoneCode;
    const auto at = zoneCode.find(separator);
    return at == std::string_view::npos ? zoneCode : zoneCode.substr(0, at);
}

}  // namespace zorv

#include "interchange/ColumnRoles.h"

#include <algorithm>
#include <array>

#include "catalogue/Preferences.h"
#include "text/TextCase.h"

namespace zorv {

namespace {

struct RoleWord {
    ColumnRole role;
    const char* word;
};
constexpr RoleWord kWords[] = {
    {ColumnRole::Skip, "pomin"},
    {ColumnRole::Magnitude, "magnituda"},
    {ColumnRole::Energy, "energia"},
    {ColumnRole::X, "x"},
    {ColumnRole::Y, "y"},
    {ColumnRole::Longitude, "dlugosc"},
    {ColumnRole::Latitude, "szerokosc"},
    {ColumnRole::Date, "data"},
    {ColumnRole::TimeOfDay, "czas"},
    {ColumnRole::Year, "rok"},
    {ColumnRole::Month, "miesiac"},
    {ColumnRole::Day, "dzien"},
    {ColumnRole::Hour, "godzina"},
    {ColumnRole::Minute, "minuta"},
    {ColumnRole::Second, "sekunda"},
    {ColumnRole::Zone, "strefa"},
    {ColumnRole::Extra, "dodatkowe"},
};

struct KnownName {
    const char* name;
    ColumnRole role;
};
// Normalised names (see normalisedColumnName).
constexpr KnownName kNames[] = {
    {"mw", ColumnRole::Magnitude},
    {"ml", ColumnRole::Magnitude},
    {"mag", ColumnRole::Magnitude},
    {"magnitude", ColumnRole::Magnitude},
    {"magnituda", ColumnRole::Magnitude},
    {"m", ColumnRole::Magnitude},
    {"mb", ColumnRole::Magnitude},
    {"md", ColumnRole::Magnitude},
    {"energy", ColumnRole::Energy},
    {"e", ColumnRole::Energy},
    {"radiatedenergy", ColumnRole::Energy},
    {"energia", ColumnRole::Energy},
    {"easting", ColumnRole::X},
    {"east", ColumnRole::X},
    {"x", ColumnRole::X},
    {"northing", ColumnRole::Y},
    {"north", ColumnRole::Y},
    {"y", ColumnRole::Y},
    {"lat", ColumnRole::Latitude},
    {"latitude", ColumnRole::Latitude},
    {"lon", ColumnRole::Longitude},
    {"long", ColumnRole::Longitude},
    {"longitude", ColumnRole::Longitude},
    {"lng", ColumnRole::Longitude},
    {"date", ColumnRole::Date},
    {"data", ColumnRole::Date},
    {"datetime", ColumnRole::Date},
    {"origintime", ColumnRole::Date},
    {"time", ColumnRole::Date},
    {"timestamp", ColumnRole::Date},
    {"year", ColumnRole::Year},
    {"rok", ColumnRole::Year},
    {"month", ColumnRole::Month},
    {"miesiac", ColumnRole::Month},
    {"day", ColumnRole::Day},
    {"dzien", ColumnRole::Day},
    {"hour", ColumnRole::Hour},
    {"godz", ColumnRole::Hour},
    {"godzina", ColumnRole::Hour},
    {"minute", ColumnRole::Minute},
    {"min", ColumnRole::Minute},
    {"minuta", ColumnRole::Minute},
    {"second", ColumnRole::Second},
    {"sec", ColumnRole::Second},
    {"sek", ColumnRole::Second},
    {"sekunda", ColumnRole::Second},
    {"zone", ColumnRole::Zone},
    {"strefa", ColumnRole::Zone},
    {"oddzial", ColumnRole::Zone},
    {"department", ColumnRole::Zone},
};

bool isAsciiAlnum(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

}  // namespace

const char* columnRoleWord(ColumnRole role) {
    for (const RoleWord& w : kWords)
        if (w.role == role) return w.word;
    return "?";
}

ColumnRole columnRoleOfWord(const std::string& word, bool* known) {
    for (const RoleWord& w : kWords)
        if (word == w.word) {
            if (known) *known = true;
            return w.role;
        }
    if (known) *known = false;
    return ColumnRole::Skip;
}

std::string normalisedColumnName(const std::string& caption) {
    std::string t = foldCase(caption);
    if (!t.empty() && t.front() == '#') t.erase(0, 1);
    // A unit at the end: "E [J]", "Radiated Energy (J)", "Depth/km".
    for (const char open : {'[', '(', '/'}) {
        const auto at = t.find(open);
        if (at != std::string::npos && at > 0) t.erase(at);
    }
    std::string out;
    for (const char c : t)
        if (c != ' ' && c != '_' && c != '-' && c != '.' && c != '\t') out += c;
    return out;
}

std::vector<ColumnMapping> autoColumnRoles(const std::vector<std::string>& header,
                                           const CatalogueFieldNames& names) {
    std::vector<ColumnMapping> out(header.size());
    std::array<bool, 17> taken{};
    const std::pair<const std::string*, ColumnRole> own[] = {
        {&names.roles.magnitude, ColumnRole::Magnitude},
        {&names.roles.energy, ColumnRole::Energy},
        {&names.roles.zone, ColumnRole::Zone},
        {&names.roles.date, ColumnRole::Date},
        {&names.roles.x, ColumnRole::X},
        {&names.roles.y, ColumnRole::Y},
        {&names.hour, ColumnRole::Hour},
        {&names.minute, ColumnRole::Minute},
        {&names.second, ColumnRole::Second},
    };
    // "Time" beside a "Date" column is the time of day.
    const bool dateColumn = std::any_of(header.begin(), header.end(), [](const std::string& h) {
        const std::string n = normalisedColumnName(h);
        return n == "date" || n == "data";
    });
    // The catalogue's own names normalised once, not once a column: a file
    // may have thousands of columns.
    std::array<std::string, std::size(own)> ownNormalised;
    for (std::size_t i = 0; i < std::size(own); ++i)
        if (!own[i].first->empty()) ownNormalised[i] = normalisedColumnName(*own[i].first);
    for (std::size_t c = 0; c < header.size(); ++c) {
        const std::string n = normalisedColumnName(header[c]);
        ColumnRole role = ColumnRole::Extra;
        if (dateColumn && (n == "time" || n == "czas")) role = ColumnRole::TimeOfDay;
        if (role == ColumnRole::Extra)
            for (std::size_t i = 0; i < std::size(own); ++i)
                if (!own[i].first->empty() && n == ownNormalised[i]) role = own[i].second;
        if (role == ColumnRole::Extra)
            for (const KnownName& k : kNames)
                if (n == k.name) role = k.role;
        if (role != ColumnRole::Extra && taken[static_cast<std::size_t>(role)]) role = ColumnRole::Extra;
        if (role != ColumnRole::Extra) taken[static_cast<std::size_t>(role)] = true;
        out[c].role = role;
        out[c].name = fieldNameOf(header[c].empty() ? "Pole" + std::to_string(c + 1) : header[c]);
    }
    return out;
}

CatalogueFieldNames catalogueFieldNames(const Preferences& prefs) {
    CatalogueFieldNames names;
    names.roles = importRoleNames(prefs);
    names.hour = prefs.Godzina;
    names.minute = prefs.Minuta;
    names.second = prefs.Sekunda;
    return names;
}

void assignColumnRole(std::vector<ColumnMapping>& mapping, std::size_t column, ColumnRole role) {
    if (column >= mapping.size()) return;
    if (role != ColumnRole::Extra && role != ColumnRole::Skip)
        for (ColumnMapping& m : mapping)
            if (m.role == role) m.role = ColumnRole::Extra;
    mapping[column].role = role;
}

std::string fieldNameOf(const std::string& caption) {
    std::string out;
    for (const char c : caption) {
        if (out.size() == 25) break;
        out += isAsciiAlnum(c) || c == '_' ? c : '_';
    }
    while (!out.empty() && out.back() == '_') out.pop_back();
    if (out.empty() || (out.front() >= '0' && out.front() <= '9')) out.insert(0, "F");
    return out.substr(0, 25);
}

}  // namespace zorv

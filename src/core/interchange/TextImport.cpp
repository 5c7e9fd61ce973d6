#include "interchange/TextImport.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "base/HazardError.h"
#include "base/Progress.h"
#include "catalogue/Preferences.h"
#include "files/TableFiles.h"
#include "table/Table.h"
#include "text/DateTimeText.h"
#include "text/NumberFormat.h"
#include "text/TextCase.h"

namespace zorv {

namespace {

constexpr int kMinTextSize = 8;    // [characters] the size of an imported text field
constexpr int kMaxTextSize = 254;  // the longest character field of both formats
constexpr std::size_t kProgressStep = 4096;

const char* const kTooManyColumns = "Zbyt duża liczba kolumn danych. Proces importu wstrzymany";
const char* const kNoEnergyOrMagnitude =
    "Nie zdefiniowane pole MAGNITUDA/ENERGIA. Procedura importowania przerwana.";
const char* const kSameFields = "Próba utworzenia nowej bazy z conajmniej dwoma takimi samymi polami";
const char* const kImportFailed = "Próba importu pól nie powiodła się";

FieldType fieldTypeOf(ImportType t) {
    switch (t) {
        case ImportType::Float: return FieldType::Float;
        case ImportType::Integer: return FieldType::Integer;
        case ImportType::Date: return FieldType::Date;
        case ImportType::Text: break;
    }
    return FieldType::String;
}

// Characters of UTF-8 text, each one byte in windows-1250.
std::size_t cp1250Length(std::string_view utf8) {
    return static_cast<std::size_t>(std::count_if(
        utf8.begin(), utf8.end(), [](char ch) { return (static_cast<unsigned char>(ch) & 0xC0) != 0x80; }));
}

[[noreturn]] void failImport(const std::string& cause) {
    throw ImportError(std::string(kImportFailed) + " [" + cause + "]");
}

// Where each role's value comes from: a column (its index among the
// imported fields) or an added field.
struct RolePlan {
    bool supplied = false;
    int field = -1;  // in the new table; -1: none
};

}  // namespace

ImportType importRoleType(ImportRole role) {
    switch (role) {
        case ImportRole::Magnitude:
        case ImportRole::Energy: return ImportType::Float;
        case ImportRole::Zone: return ImportType::Text;
        case ImportRole::Date: return ImportType::Date;
        case ImportRole::X:
        case ImportRole::Y: break;
    }
    return ImportType::Integer;
}

const std::string& ImportRoleNames::of(ImportRole role) const {
    switch (role) {
        case ImportRole::Magnitude: return magnitude;
        case ImportRole::Energy: return energy;
        case ImportRole::Zone: return zone;
        case ImportRole::Date: return date;
        case ImportRole::X: return x;
        case ImportRole::Y: break;
    }
    return y;
}

ImportRoleNames importRoleNames(const Preferences& p) {
    return {p.Magnituda, p.Energia, p.Oddzial, p.Data, p.X, p.Y};
}

std::optional<std::string> importSeparatorOfFile(std::string_view path) {
    const auto slash = path.find_last_of('/');
    const auto dot = path.find_last_of('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return std::nullopt;
    return importSeparatorOf(path.substr(dot));
}

std::optional<std::string> importSeparatorOf(std::string_view extension) {
    if (extension == ".txt") return std::string("\t");
    if (extension == ".csv") return std::string(";");
    if (extension == ".dat") return std::string(" ");
    return std::nullopt;
}

std::vector<std::string> discoverImportColumns(std::string_view line, std::string_view separator) {
    std::vector<std::string> captions;
    if (separator.empty() || line.find(separator) == std::string_view::npos) {
        if (!line.empty()) captions.emplace_back(line);
        return captions;
    }
    while (!line.empty() || captions.empty()) {
        if (static_cast<int>(captions.size()) == kMaxImportColumns) throw ImportError(kTooManyColumns);
        const std::size_t at = line.find(separator);
        captions.emplace_back(line.substr(0, at));
        if (at == std::string_view::npos) break;
        line.remove_prefix(at + separator.size());
        // A separator at the very end closes the last column.
        if (line.empty()) break;
    }
    return captions;
}

std::vector<ImportColumn> defaultImportColumns(std::size_t count) {
    std::vector<ImportColumn> columns(count);
    for (std::size_t i = 0; i < count; ++i) columns[i].name = "Pole" + std::to_string(i + 1);
    return columns;
}

std::vector<ImportColumn> headerImportColumns(const std::vector<std::string>& captions,
                                              const ImportRoleNames& roles) {
    std::vector<ImportColumn> columns = defaultImportColumns(captions.size());
    for (std::size_t c = 0; c < captions.size(); ++c) {
        columns[c].name = captions[c];
        columns[c].import = !captions[c].empty();
        for (int r = 0; r < kImportRoleCount; ++r)
            if (captions[c] == roles.of(ImportRole(r))) columns[c].type = importRoleType(ImportRole(r));
    }
    return columns;
}

std::vector<std::optional<std::string_view>> splitImportLine(std::string_view line,
                                                             std::string_view separator,
                                                             std::size_t columns) {
    std::vector<std::optional<std::string_view>> pieces(columns);
    bool rest = true;  // some text (possibly empty) is left for the next column
    for (std::size_t c = 0; c < columns && rest; ++c) {
        const std::size_t at = separator.empty() ? std::string_view::npos : line.find(separator);
        if (c + 1 == columns || at == std::string_view::npos) {
            pieces[c] = at == std::string_view::npos ? line : line.substr(0, at);
            rest = false;
        } else {
            pieces[c] = line.substr(0, at);
            line.remove_prefix(at + separator.size());
            rest = !line.empty();
        }
    }
    return pieces;
}

std::string defaultImportZoneName(const std::string& prefix, const std::string& slash) {
    return prefix + "99" + slash + "9";
}

namespace {

// A role is supplied by an imported column of its field name (exactly).
bool supplies(const std::vector<ImportColumn>& columns, const std::string& name) {
    return std::any_of(columns.begin(), columns.end(),
                       [&](const ImportColumn& c) { return c.import && c.name == name; });
}

}  // namespace

void checkImportRoles(const std::vector<ImportColumn>& columns, const ImportRoleNames& roles,
                      const ImportOptions& options) {
    if (!supplies(columns, roles.energy) && !supplies(columns, roles.magnitude))
        throw ImportError(kNoEnergyOrMagnitude);
    if (options.addMissingFields) return;
    std::string missing;
    for (ImportRole r : {ImportRole::Date, ImportRole::Zone, ImportRole::X, ImportRole::Y})
        if (!supplies(columns, roles.of(r))) missing += (missing.empty() ? "" : ", ") + roles.of(r);
    if (!missing.empty())
        throw ImportError("Katalog nie miałby pól: " + missing +
                          ". Zaznacz kolumny tych pól albo opcję \"Dodaj brakujące kolumny danych\".");
}

Table buildImportTable(const std::vector<std::string>& lines, std::string_view separator,
                       const std::vector<ImportColumn>& columns, const ImportRoleNames& roles,
                       const ImportOptions& options, const Locale& locale, ImportResult* result,
                       Progress* progress) {
    checkImportRoles(columns, roles, options);
    std::array<RolePlan, kImportRoleCount> plan{};
    for (int r = 0; r < kImportRoleCount; ++r)
        plan[std::size_t(r)].supplied = supplies(columns, roles.of(ImportRole(r)));
    const auto& role = [&](ImportRole r) -> RolePlan& { return plan[std::size_t(r)]; };

    // The fields: the imported columns, then what is added.
    const std::size_t first = options.ignoreFirstLine ? 1 : 0;
    // Text fields wide enough for the longest text of their column, so that
    // nothing is cut.
    std::vector<std::size_t> longest(columns.size(), kMinTextSize);
    if (std::any_of(columns.begin(), columns.end(),
                    [](const ImportColumn& c) { return c.import && c.type == ImportType::Text; }))
        for (std::size_t i = first; i < lines.size(); ++i) {
            const auto pieces = splitImportLine(lines[i], separator, columns.size());
            for (std::size_t c = 0; c < columns.size(); ++c)
                if (pieces[c] && columns[c].type == ImportType::Text)
                    longest[c] = std::max(longest[c], cp1250Length(*pieces[c]));
        }
    FieldDefs defs;
    std::vector<int> fieldOfColumn(columns.size(), -1);
    for (std::size_t c = 0; c < columns.size(); ++c) {
        if (!columns[c].import) continue;
        FieldDef def(columns[c].name, fieldTypeOf(columns[c].type));
        if (def.type == FieldType::String)
            def.size = static_cast<int>(std::min<std::size_t>(longest[c], kMaxTextSize));
        fieldOfColumn[c] = static_cast<int>(defs.size());
        defs.push_back(def);
    }
    const auto add = [&](ImportRole r, FieldDef def) {
        role(r).field = static_cast<int>(defs.size());
        defs.push_back(std::move(def));
    };
    const bool adding = options.addMissingFields;
    if (adding && options.createEnergyMagnitude) {
        if (!role(ImportRole::Energy).supplied) add(ImportRole::Energy, {roles.energy, FieldType::Float});
        if (!role(ImportRole::Magnitude).supplied)
            add(ImportRole::Magnitude, {roles.magnitude, FieldType::Float});
    }
    if (adding) {
        if (!role(ImportRole::X).supplied) add(ImportRole::X, {roles.x, FieldType::Integer});
        if (!role(ImportRole::Y).supplied) add(ImportRole::Y, {roles.y, FieldType::Integer});
        if (!role(ImportRole::Zone).supplied)
            add(ImportRole::Zone,
                {roles.zone, FieldType::String,
                 std::clamp(static_cast<int>(cp1250Length(options.zoneName)), kMinTextSize, kMaxTextSize)});
        if (!role(ImportRole::Date).supplied) add(ImportRole::Date, {roles.date, FieldType::Date});
    }
    for (std::size_t i = 0; i < defs.size(); ++i)
        for (std::size_t j = 0; j < i; ++j)
            if (foldCase(defs[i].name) == foldCase(defs[j].name)) throw ImportError(kSameFields);
    // The sources of a computed energy or magnitude.
    const auto fieldNamed = [&](const std::string& name) {
        for (std::size_t i = 0; i < defs.size(); ++i)
            if (defs[i].name == name) return static_cast<int>(i);
        return -1;
    };
    const int energyField = fieldNamed(roles.energy), magnitudeField = fieldNamed(roles.magnitude);

    Table table(defs);
    ImportResult counts;
    const double step = lines.empty() ? 0.0 : (options.endDate - options.startDate) / double(lines.size());
    double running = options.startDate;
    if (progress)
        progress->start("Import danych", 0, static_cast<int>(std::min<std::size_t>(lines.size(), INT32_MAX)));
    std::vector<Value> row(defs.size());
    for (int f = 0; f < table.fieldCount(); ++f)
        table.loadColumn(f).reserve(lines.size() - std::min(first, lines.size()));
    for (std::size_t i = first; i < lines.size(); ++i) {
        if (progress && i % kProgressStep == 0) {
            if (progress->isCancelled()) throw EBreakProcess();
            progress->setPosition(static_cast<int>(i));
        }
        std::fill(row.begin(), row.end(), Value{});
        const auto pieces = splitImportLine(lines[i], separator, columns.size());
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const int f = fieldOfColumn[c];
            if (f < 0 || !pieces[c]) continue;
            const std::string_view text = *pieces[c];
            const auto where = [&] {
                return "wiersz " + std::to_string(i + 1) + ", pole " + columns[c].name;
            };
            switch (columns[c].type) {
                case ImportType::Text: row[std::size_t(f)] = Value::text(std::string(text)); break;
                case ImportType::Float: {
                    const auto v = parseNumber(text, locale);
                    if (!v) failImport("'" + std::string(text) + "' nie jest liczbą (" + where() + ")");
                    row[std::size_t(f)] = Value::real(*v);
                    break;
                }
                case ImportType::Integer: {
                    const auto v = parseNumber(text, locale);
                    if (!v) failImport("'" + std::string(text) + "' nie jest liczbą (" + where() + ")");
                    const double whole = std::trunc(*v);
                    if (whole < std::numeric_limits<std::int32_t>::min() ||
                        whole > std::numeric_limits<std::int32_t>::max())
                        failImport("'" + std::string(text) +
                                   "' nie mieści się w liczbie całkowitej 32-bitowej (" + where() + ")");
                    row[std::size_t(f)] = Value::integer(static_cast<std::int64_t>(whole));
                    break;
                }
                case ImportType::Date: {
                    const auto v = parseDateTime(text, locale);
                    if (!v) failImport("'" + std::string(text) + "' nie jest datą (" + where() + ")");
                    row[std::size_t(f)] = Value::date(static_cast<std::int32_t>(std::floor(*v)));
                    break;
                }
            }
        }
        if (role(ImportRole::Magnitude).field >= 0 && energyField >= 0) {
            const Value& e = row[std::size_t(energyField)];
            if (!e.isNull() && e.toDouble() > 0)
                row[std::size_t(role(ImportRole::Magnitude).field)] =
                    Value::real((std::log10(e.toDouble()) - options.b) / options.a);
            else
                ++counts.withoutMagnitude;
        }
        if (role(ImportRole::Energy).field >= 0 && magnitudeField >= 0) {
            const Value& m = row[std::size_t(magnitudeField)];
            if (!m.isNull())
                row[std::size_t(role(ImportRole::Energy).field)] =
                    Value::real(std::pow(10.0, options.a * m.toDouble() + options.b));
        }
        if (role(ImportRole::Zone).field >= 0)
            row[std::size_t(role(ImportRole::Zone).field)] = Value::text(options.zoneName);
        if (role(ImportRole::X).field >= 0) row[std::size_t(role(ImportRole::X).field)] = Value::integer(0);
        if (role(ImportRole::Y).field >= 0) row[std::size_t(role(ImportRole::Y).field)] = Value::integer(0);
        if (role(ImportRole::Date).field >= 0) {
            row[std::size_t(role(ImportRole::Date).field)] =
                Value::date(static_cast<std::int32_t>(std::trunc(running)));
            running += step;
        }
        try {
            for (std::size_t f = 0; f < row.size(); ++f)
                table.loadColumn(static_cast<int>(f)).appendValue(row[f]);
        } catch (const std::exception& e) {
            failImport(std::string(e.what()) + " (wiersz " + std::to_string(i + 1) + ")");
        }
        ++counts.records;
    }
    table.finishLoad();
    if (progress) progress->hide();
    if (result) *result = counts;
    return table;
}

ImportResult importTextCatalogue(const std::vector<std::string>& lines, std::string_view separator,
                                 const std::vector<ImportColumn>& columns, const ImportRoleNames& roles,
                                 const ImportOptions& options, const Locale& locale, const std::string& path,
                                 Progress* progress) {
    ImportResult result;
    const Table table =
        buildImportTable(lines, separator, columns, roles, options, locale, &result, progress);
    try {
        writeTableFile(table, path);
    } catch (const std::exception& e) {
        throw ImportError("Próba utworzenia nowej bazy nie powiodła się. (" + std::string(e.what()) + ")");
    }
    return result;
}

std::string importSucceededMessage(const std::string& fileName, const ImportResult& result) {
    std::string text = "Operacja importu danych do pliku " + fileName + " powiodła się.";
    if (result.withoutMagnitude > 0)
        text += " Rekordów bez magnitudy (energia równa 0 lub ujemna albo pusta): " +
                std::to_string(result.withoutMagnitude) + ".";
    return text;
}

}  // namespace zorv

#pragma once
// Text catalogues turned into catalogue tables. A text file (TAB-separated
// ".txt", space-separated ".dat", ";"-separated ".csv") is split into at most
// 15 columns by its first line; the user says, column by column, which become
// fields, under which name and of which type, and which play the catalogue's
// roles. Fields the file lacks can be added: the date spread evenly over a
// date range, a fixed zone name, zero coordinates, and energy or magnitude
// computed from each other by log10 E = a·M + b [J]. The import is all or
// nothing: the table is built in memory and written through a temporary file
// only when every line converted.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "text/Locale.h"

namespace zorv {

class Progress;
struct Preferences;
class Table;

// A refused import, with the message to show.
class ImportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr int kMaxImportColumns = 15;

// The value types of the dialog's type list, in its order.
enum class ImportType { Float, Integer, Date, Text };

struct ImportColumn {
    ImportType type = ImportType::Text;
    std::string name;  // "Pole1", "Pole2", ... by default
    bool import = false;
};

// The catalogue roles of the role list, in its order.
enum class ImportRole { Magnitude, Energy, Zone, Date, X, Y };
inline constexpr int kImportRoleCount = 6;
// The type a role gives its column.
ImportType importRoleType(ImportRole role);

// The field names of the roles (the settings' Magnituda, Energia, Oddzial,
// Data, X and Y).
struct ImportRoleNames {
    std::string magnitude = "MAGNITUDA", energy = "ENG", zone = "ODDZIAL", date = "DATA", x = "X", y = "Y";
    const std::string& of(ImportRole role) const;
};
ImportRoleNames importRoleNames(const Preferences& prefs);

struct ImportOptions {
    double startDate = 0;  // day number of the first line's date when the date is added
    double endDate = 0;    // end of the spread [day number]
    std::string zoneName;  // zone of every record when the zone is added
    double a = 1.96, b = 1.15;
    // Add the catalogue fields no column supplies. Without it the columns
    // alone make the catalogue, which must then have a date, a zone, X and Y.
    bool addMissingFields = true;
    bool createEnergyMagnitude = false;  // compute the missing one of energy and magnitude
    bool ignoreFirstLine = false;
};

// TAB for ".txt", ";" for ".csv", one space for ".dat", compared exactly as
// written; nothing for any other extension (the previous separator stays).
std::optional<std::string> importSeparatorOf(std::string_view extension);
// The same for the extension of a file name (the text after its last dot).
std::optional<std::string> importSeparatorOfFile(std::string_view path);

// The captions of the columns of the first line: the texts between
// separators, so two adjacent separators give an empty caption. Throws
// ImportError when there are more than 15.
std::vector<std::string> discoverImportColumns(std::string_view firstLine, std::string_view separator);
// The default settings of `count` columns: "Pole1"…, text, not imported.
std::vector<ImportColumn> defaultImportColumns(std::size_t count);

// The columns named by a header line: each takes its caption as its name and
// is imported (an empty caption is not), as text unless named after a role,
// whose type it then takes.
std::vector<ImportColumn> headerImportColumns(const std::vector<std::string>& captions,
                                              const ImportRoleNames& roles);

// The pieces of a line for `columns` columns: each takes the text before the
// next separator, the last the rest; a short line leaves the last columns
// without a piece.
std::vector<std::optional<std::string_view>> splitImportLine(std::string_view line,
                                                             std::string_view separator, std::size_t columns);

// The zone name a new import starts with: Prefix + "99" + Slash + "9".
std::string defaultImportZoneName(const std::string& prefix, const std::string& slash);

// Refuses (ImportError) a mapping that supplies neither energy nor
// magnitude, or, without the added fields, lacks a date, zone, X or Y
// column; asked before the user names the new table.
void checkImportRoles(const std::vector<ImportColumn>& columns, const ImportRoleNames& roles,
                      const ImportOptions& options);

struct ImportResult {
    std::size_t records = 0;
    // Records whose energy was 0 or less, so that their computed magnitude
    // stays empty.
    std::size_t withoutMagnitude = 0;
};

// Builds the catalogue of `lines` (UTF-8) as a table in memory; throws
// ImportError with the message to show. Numbers and dates are read by the
// locale's rules; a 32-bit integer is read as a number and truncated toward
// zero.
Table buildImportTable(const std::vector<std::string>& lines, std::string_view separator,
                       const std::vector<ImportColumn>& columns, const ImportRoleNames& roles,
                       const ImportOptions& options, const Locale& locale, ImportResult* result = nullptr,
                       Progress* progress = nullptr);

// buildImportTable written to `path` (dBase or Paradox by the extension)
// through a temporary file; nothing is left behind on failure.
ImportResult importTextCatalogue(const std::vector<std::string>& lines, std::string_view separator,
                                 const std::vector<ImportColumn>& columns, const ImportRoleNames& roles,
                                 const ImportOptions& options, const Locale& locale, const std::string& path,
                                 Progress* progress = nullptr);

// "Operacja importu danych do pliku NAME powiodła się." with, when some
// energies had no logarithm, the number of records left without magnitude.
std::string importSucceededMessage(const std::string& fileName, const ImportResult& result);

}  // namespace zorv

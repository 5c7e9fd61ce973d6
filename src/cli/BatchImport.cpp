#include "BatchImport.h"

#include <QDate>
#include <cstdio>

#include "BatchCatalogue.h"
#include "BatchCatalogueImport.h"
#include "BatchError.h"
#include "BatchOptions.h"
#include "text/DateText.h"
#include "text/Dates.h"
#include "text/LineFile.h"

namespace zorv {

namespace {

struct NamedRole {
    const char* name;
    ImportRole role;
};
constexpr NamedRole kRoles[] = {{"magnituda", ImportRole::Magnitude},
                                {"energia", ImportRole::Energy},
                                {"strefa", ImportRole::Zone},
                                {"data", ImportRole::Date},
                                {"x", ImportRole::X},
                                {"y", ImportRole::Y}};

struct NamedType {
    const char* name;
    ImportType type;
};
constexpr NamedType kTypes[] = {{"float", ImportType::Float},
                                {"int", ImportType::Integer},
                                {"date", ImportType::Date},
                                {"text", ImportType::Text}};

std::int32_t dateOption(const QCommandLineParser& p, const char* name, const Locale& locale,
                        std::int32_t fallback) {
    if (!p.isSet(QString::fromLatin1(name))) return fallback;
    const std::string text = optionText(p, name);
    const auto d = parseDate(text, locale);
    if (!d) throw BatchError("--" + std::string(name) + ": '" + text + "' nie jest datą.");
    return *d;
}

}  // namespace

void addImportOptions(QCommandLineParser& p) {
    for (const char* name : {"column", "first-date", "last-date", "zone-name", "separator"}) {
        QCommandLineOption o(QString::fromLatin1(name));
        o.setValueName(QStringLiteral("x"));
        p.addOption(o);
    }
    for (const char* flag : {"header", "no-missing", "energy-magnitude", "ignore-first-line"})
        p.addOption(QCommandLineOption(QString::fromLatin1(flag)));
}

std::vector<ImportColumn> importColumnsOf(const std::vector<std::string>& captions, bool header,
                                          const QStringList& columnOptions, const ImportRoleNames& roles) {
    std::vector<ImportColumn> columns =
        header ? headerImportColumns(captions, roles) : defaultImportColumns(captions.size());
    for (const QString& option : columnOptions) {
        const std::string text = option.toStdString();
        const auto eq = text.find('=');
        bool ok = false;
        const int n = QString::fromStdString(text.substr(0, eq)).toInt(&ok);
        if (eq == std::string::npos || !ok || n < 1 || n > static_cast<int>(columns.size()))
            throw BatchError("--column " + text + ": podaj numer kolumny 1.." +
                             std::to_string(columns.size()) +
                             " i jej rolę lub nazwę:typ (np. 3=energia, 5=OPIS:text).");
        ImportColumn& c = columns[std::size_t(n - 1)];
        const std::string what = text.substr(eq + 1);
        const auto colon = what.find(':');
        c.import = true;
        if (colon == std::string::npos) {
            const auto r = std::find_if(std::begin(kRoles), std::end(kRoles),
                                        [&](const NamedRole& nr) { return what == nr.name; });
            if (r == std::end(kRoles))
                throw BatchError(
                    "--column " + text +
                    ": nieznana rola (magnituda, energia, strefa, data, x, y) - albo podaj nazwę:typ.");
            c.name = roles.of(r->role);
            c.type = importRoleType(r->role);
        } else {
            const std::string type = what.substr(colon + 1);
            const auto t = std::find_if(std::begin(kTypes), std::end(kTypes),
                                        [&](const NamedType& nt) { return type == nt.name; });
            if (t == std::end(kTypes) || colon == 0)
                throw BatchError("--column " + text + ": podaj nazwę:typ, typ float, int, date lub text.");
            c.name = what.substr(0, colon);
            c.type = t->type;
        }
    }
    return columns;
}

int runImport(const QCommandLineParser& p, const QStringList& args, const BatchSettings& settings) {
    if (args.size() != 3) throw BatchError("Podaj plik tekstowy i plik katalogu: zorv-batch import IN OUT.");
    const std::string in = args[1].toStdString(), out = args[2].toStdString();
    if (wantsCatalogueImport(p, in)) return runCatalogueImport(p, in, out, settings);
    std::string separator;
    if (p.isSet(QStringLiteral("separator"))) {
        const std::string s = optionText(p, "separator");
        separator = s == "tab" ? "\t" : s == "space" ? " " : s == "semicolon" ? ";" : s;
        if (separator.empty()) throw BatchError("--separator: tab, space, semicolon albo znak.");
    } else if (const auto s = importSeparatorOfFile(in)) {
        separator = *s;
    } else {
        throw BatchError("Nieznany typ pliku tekstowego " + in + " (.txt, .dat, .csv) - podaj --separator.");
    }
    std::vector<std::string> lines;
    try {
        lines = readLines(in);
    } catch (const std::exception&) {
        const auto slash = in.find_last_of('/');
        throw BatchError("Załadowanie pliku: " + (slash == std::string::npos ? in : in.substr(slash + 1)) +
                         " nie powiodło się...");
    }
    const Preferences& prefs = settings.prefs;
    const ImportRoleNames roles = importRoleNames(prefs);
    const bool header = p.isSet(QStringLiteral("header"));
    std::vector<std::string> captions;
    try {
        captions = discoverImportColumns(lines.empty() ? std::string() : lines.front(), separator);
    } catch (const ImportError& e) {
        throw BatchError(e.what());
    }
    const std::vector<ImportColumn> columns =
        importColumnsOf(captions, header, p.values(QStringLiteral("column")), roles);

    ImportOptions o;
    const QDate today = QDate::currentDate();
    const std::int32_t first =
        dateOption(p, "first-date", settings.locale, dayNumber(today.year(), today.month(), today.day()));
    o.startDate = first;
    o.endDate = dateOption(p, "last-date", settings.locale, first + static_cast<std::int32_t>(lines.size()));
    if (o.endDate < o.startDate) throw BatchError("Data początkowa jest większa niż data końcowa");
    o.zoneName = p.isSet(QStringLiteral("zone-name")) ? optionText(p, "zone-name")
                                                      : defaultImportZoneName(prefs.Prefix, prefs.Slash);
    o.a = settings.base.a;
    o.b = settings.base.b;
    o.addMissingFields = !p.isSet(QStringLiteral("no-missing"));
    o.createEnergyMagnitude = p.isSet(QStringLiteral("energy-magnitude"));
    o.ignoreFirstLine = header || p.isSet(QStringLiteral("ignore-first-line"));
    try {
        const ImportResult r = importTextCatalogue(lines, separator, columns, roles, o, settings.locale, out);
        const auto slash = out.find_last_of('/');
        std::fprintf(
            stderr, "%s\n",
            importSucceededMessage(slash == std::string::npos ? out : out.substr(slash + 1), r).c_str());
    } catch (const ImportError& e) {
        throw BatchError(e.what());
    }
    return 0;
}

}  // namespace zorv

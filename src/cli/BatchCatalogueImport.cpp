#include "BatchCatalogueImport.h"

#include <QDate>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "BatchCatalogue.h"
#include "BatchCatalogueCheck.h"
#include "BatchError.h"
#include "BatchOptions.h"
#include "files/TableFiles.h"
#include "interchange/CatalogueBuilder.h"
#include "interchange/CatalogueReader.h"
#include "interchange/CatalogueWriters.h"
#include "interchange/CrsSidecar.h"
#include "interchange/Projection.h"
#include "table/Table.h"
#include "text/DateText.h"
#include "text/Dates.h"

namespace zorv {

namespace {

std::string fileNameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string extensionOf(const std::string& path) {
    const std::string name = fileNameOf(path);
    const auto dot = name.find_last_of('.');
    if (dot == std::string::npos) return "";
    std::string e = name.substr(dot);
    for (char& c : e) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return e;
}

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw BatchError("Załadowanie pliku: " + fileNameOf(path) + " nie powiodło się...");
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw BatchError("Załadowanie pliku: " + fileNameOf(path) + " nie powiodło się...");
    return bytes;
}

int epsgOption(const QCommandLineParser& p) {
    if (!p.isSet(QStringLiteral("crs"))) return 0;
    const std::string text = optionText(p, "crs");
    const int code = parseEpsg(text);
    if (code == 0)
        throw BatchError("--crs " + text + ": podaj kod EPSG układu płaskiego, np. EPSG:2180 albo 32634.");
    return code;
}

}  // namespace

void addCatalogueImportOptions(QCommandLineParser& p) {
    for (const char* name : {"columns", "format", "date-format", "missing", "crs", "encoding"}) {
        QCommandLineOption o(QString::fromLatin1(name));
        o.setValueName(QStringLiteral("x"));
        p.addOption(o);
    }
    p.addOption(QCommandLineOption(QStringLiteral("drop-empty")));
}

bool wantsCatalogueImport(const QCommandLineParser& p, const std::string& in) {
    for (const char* name : {"columns", "format", "date-format", "missing", "crs", "encoding", "drop-empty"})
        if (p.isSet(QString::fromLatin1(name))) return true;
    if (p.isSet(QStringLiteral("separator"))) {
        const std::string s = optionText(p, "separator");
        if (s == "comma" || s == "pipe" || s == "auto") return true;
    }
    const std::string e = extensionOf(in);
    return e == ".xml" || e == ".qml" || e == ".quakeml";
}

int runCatalogueImport(const QCommandLineParser& p, const std::string& in, const std::string& out,
                       const BatchSettings& settings) {
    const std::string bytes = fileBytes(in);
    CatalogueForm form = detectCatalogueForm(bytes);
    if (p.isSet(QStringLiteral("format"))) {
        const std::string word = optionText(p, "format");
        const auto f = catalogueFormOfWord(word);
        if (!f) throw BatchError("--format " + word + ": csv, openquake, fdsn albo quakeml.");
        form = *f;
    }
    CsvOptions csv;
    if (p.isSet(QStringLiteral("separator"))) {
        const std::string s = optionText(p, "separator");
        if (s == "comma" || s == ",")
            csv.separator = ',';
        else if (s == "semicolon" || s == ";")
            csv.separator = ';';
        else if (s == "tab")
            csv.separator = '\t';
        else if (s == "space")
            csv.separator = ' ';
        else if (s == "pipe" || s == "|")
            csv.separator = '|';
        else if (s != "auto")
            throw BatchError("--separator " + s + ": comma, semicolon, tab, space, pipe albo auto.");
    }
    if (p.isSet(QStringLiteral("encoding"))) {
        const std::string e = optionText(p, "encoding");
        if (e == "utf-8" || e == "utf8")
            csv.encoding = TextEncoding::Utf8Bom;  // a mark, if any, is dropped
        else if (e == "cp1250" || e == "windows-1250")
            csv.encoding = TextEncoding::Cp1250;
        else
            throw BatchError("--encoding " + e + ": utf-8 albo cp1250.");
    }
    if (p.isSet(QStringLiteral("header"))) csv.header = true;

    const Preferences& prefs = settings.prefs;
    const CatalogueFieldNames names = catalogueFieldNames(prefs);
    CatalogueRead read;
    try {
        read = readCatalogue(bytes, form, csv);
    } catch (const ImportError& e) {
        throw BatchError(e.what());
    }
    if (form != CatalogueForm::QuakeMl)
        std::fprintf(stderr, "Plik: %s, kodowanie %s, separator: %s, %s, liczby z %s.\n",
                     catalogueFormName(form), textEncodingName(read.dialect.encoding),
                     csvSeparatorName(read.dialect.separator),
                     read.dialect.header ? "wiersz nazw kolumn" : "bez wiersza nazw",
                     read.dialect.decimalComma ? "przecinkiem" : "kropką");

    // The roles: found by the names, then each --column N=ROLA.
    std::vector<ColumnMapping> mapping = autoColumnRoles(read.rows.header(), names);
    if (p.isSet(QStringLiteral("columns")) && optionText(p, "columns") != "auto")
        throw BatchError("--columns " + optionText(p, "columns") + ": jedyna wartość to auto.");
    for (const QString& option : p.values(QStringLiteral("column"))) {
        const std::string text = option.toStdString();
        const auto eq = text.find('=');
        bool ok = false;
        const int n = QString::fromStdString(text.substr(0, eq)).toInt(&ok);
        if (eq == std::string::npos || !ok || n < 1 || n > static_cast<int>(mapping.size()))
            throw BatchError("--column " + text + ": podaj numer kolumny 1.." +
                             std::to_string(mapping.size()) + " i jej rolę (np. 3=energia).");
        bool known = false;
        const ColumnRole role = columnRoleOfWord(text.substr(eq + 1), &known);
        if (!known)
            throw BatchError(
                "--column " + text +
                ": nieznana rola; role: magnituda, energia, x, y, dlugosc, szerokosc, data, czas, rok, "
                "miesiac, dzien, godzina, minuta, sekunda, strefa, dodatkowe, pomin.");
        assignColumnRole(mapping, std::size_t(n - 1), role);
    }
    for (const std::string& line : describeMapping(read.rows.header(), mapping, names))
        std::fprintf(stderr, "  %s\n", line.c_str());

    CatalogueBuildOptions o;
    o.decimalComma = read.dialect.decimalComma;
    if (p.isSet(QStringLiteral("date-format"))) {
        const std::string d = optionText(p, "date-format");
        if (d == "iso")
            o.dateOrder = DateOrder::Iso;
        else if (d == "dmy")
            o.dateOrder = DateOrder::DayFirst;
        else if (d == "mdy")
            o.dateOrder = DateOrder::MonthFirst;
        else
            throw BatchError("--date-format " + d +
                             ": iso, dmy (dzień.miesiąc.rok) albo mdy (miesiąc/dzień/rok).");
    }
    std::vector<std::string> marks;
    for (const QString& m : p.values(QStringLiteral("missing"))) marks.push_back(m.toStdString());
    o.missing = MissingValues(marks, o.decimalComma);
    o.dropWithoutSize = p.isSet(QStringLiteral("drop-empty"));
    o.epsg = epsgOption(p);
    ImportOptions& base = o.base;
    // A date spread over a range when no column gives one, as in the text
    // import.
    const QDate today = QDate::currentDate();
    const auto dateOption = [&](const char* name, double fallback) -> double {
        if (!p.isSet(QString::fromLatin1(name))) return fallback;
        const std::string text = optionText(p, name);
        const auto d = parseDate(text, settings.locale);
        if (!d) throw BatchError("--" + std::string(name) + ": '" + text + "' nie jest datą.");
        return *d;
    };
    base.startDate = dateOption("first-date", dayNumber(today.year(), today.month(), today.day()));
    base.endDate = dateOption("last-date", base.startDate + static_cast<double>(read.rows.rowCount()));
    if (base.endDate < base.startDate) throw BatchError("Data początkowa jest większa niż data końcowa");
    base.zoneName = p.isSet(QStringLiteral("zone-name")) ? optionText(p, "zone-name")
                                                         : defaultImportZoneName(prefs.Prefix, prefs.Slash);
    base.a = settings.base.a;
    base.b = settings.base.b;
    base.addMissingFields = !p.isSet(QStringLiteral("no-missing"));
    base.createEnergyMagnitude = p.isSet(QStringLiteral("energy-magnitude"));

    try {
        CatalogueBuildReport report;
        const Table table = buildCatalogue(read.rows, mapping, names, o, &report);
        try {
            writeTableFile(table, out);
            setCatalogueCrs(
                out, report.epsg ? std::optional<CatalogueCrs>({report.epsg, report.crs}) : std::nullopt);
        } catch (const std::exception& e) {
            throw ImportError("Próba utworzenia nowej bazy nie powiodła się. (" + std::string(e.what()) +
                              ")");
        }
        std::fprintf(stderr, "%s\n", catalogueImportMessage(fileNameOf(out), report).c_str());
    } catch (const ImportError& e) {
        throw BatchError(e.what());
    }
    return 0;
}

int runExport(const QCommandLineParser& p, const QStringList& args, const BatchSettings& settings) {
    if (args.size() != 3)
        throw BatchError(
            "Podaj katalog i plik wynikowy: zorv-batch export [--format csv|quakeml|openquake] "
            "KATALOG PLIK.");
    const std::string in = args[1].toStdString(), out = args[2].toStdString();
    ExportForm form = ExportForm::Csv;
    if (p.isSet(QStringLiteral("format"))) {
        if (!exportFormOfWord(optionText(p, "format"), form))
            throw BatchError("--format " + optionText(p, "format") + ": csv, quakeml albo openquake.");
    } else {
        const std::string e = extensionOf(out);
        if (e == ".xml" || e == ".qml" || e == ".quakeml")
            form = ExportForm::QuakeMl;
        else if (e != ".csv")
            throw BatchError("Nie wiem, w jakiej postaci zapisać " + fileNameOf(out) +
                             ": podaj --format csv, quakeml albo openquake.");
    }
    std::unique_ptr<Table> catalogue = openCheckedCatalogue(p, in, settings);
    const JoinedFilter filter = filterCatalogue(p, settings, *catalogue);
    std::optional<Projection> projection;
    try {
        // The CRS asked for, else the one the catalogue was imported in.
        if (const int epsg = epsgOption(p))
            projection.emplace(epsg);
        else if (const auto crs = readCrsSidecar(in))
            projection.emplace(crs->epsg);
        writeCatalogue(*catalogue, form, catalogueFieldNames(settings.prefs),
                       projection ? &*projection : nullptr, out);
    } catch (const ImportError& e) {
        throw BatchError("Operacja eksportowania pliku nie powiodła się! (" + std::string(e.what()) + ")");
    } catch (const std::exception& e) {
        throw BatchError("Operacja eksportowania pliku nie powiodła się! (" + std::string(e.what()) + ")");
    }
    std::fprintf(stderr, "Zapisano %zu zdarzeń do pliku %s.\n", catalogue->recordCount(),
                 fileNameOf(out).c_str());
    if (!filter.description.empty()) std::fprintf(stderr, "Filtr: %s\n", filter.description.c_str());
    return 0;
}

}  // namespace zorv

#include "HazardMapCommand.h"

#include <cctype>
#include <cstdio>

#include "BatchCatalogue.h"
#include "BatchCatalogueCheck.h"
#include "BatchError.h"
#include "BatchOptions.h"
#include "BatchOutput.h"
#include "analysis/DBBase.h"
#include "interchange/CrsSidecar.h"
#include "registry/HazardOptions.h"
#include "spatial/GridFiles.h"
#include "spatial/HazardMap.h"
#include "text/AtomicFile.h"
#include "text/DateText.h"

namespace zorv {

namespace {

const char* const kQuantityNames =
    "count, rate, energy, log-energy, mc, b, b-positive, a, mmax-ks, mmax-np, hazard, return-period, "
    "np-hazard, "
    "np-return-period";

bool isSet(const QCommandLineParser& p, const char* name) { return p.isSet(QString::fromLatin1(name)); }

std::vector<double> numberList(const QCommandLineParser& p, const char* name, std::size_t count) {
    std::vector<double> out;
    for (const QString& item : p.value(QString::fromLatin1(name)).split(QLatin1Char(';'), Qt::SkipEmptyParts))
        out.push_back(parseOptionNumber(item.trimmed().toStdString(), name));
    if (out.size() != count)
        throw BatchError("Opcja --" + std::string(name) + " przyjmuje " + std::to_string(count) +
                         " liczby rozdzielone średnikiem.");
    return out;
}

// --before / --after FROM,TO (dates of the catalogue's locale, or ISO).
DayPeriod periodOption(const QCommandLineParser& p, const char* name, const Locale& locale) {
    const QStringList parts = p.value(QString::fromLatin1(name)).split(QLatin1Char(','));
    DayPeriod d;
    if (parts.size() == 2) {
        const auto first = parseDate(parts[0].trimmed().toStdString(), locale);
        const auto last = parseDate(parts[1].trimmed().toStdString(), locale);
        if (first && last) return {*first, *last};
    }
    throw BatchError("Opcja --" + std::string(name) +
                     " przyjmuje okres OD,DO (dwie daty), np. 2003-01-01,2003-12-31.");
}

std::vector<MapQuantity> quantitiesOption(const QCommandLineParser& p) {
    std::vector<MapQuantity> out;
    for (const QString& option : p.values(QStringLiteral("quantity")))
        for (const QString& part : option.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const std::string name = part.trimmed().toLower().toStdString();
            const auto q = mapQuantityOfName(name);
            if (!q)
                throw BatchError("Nieznana wielkość w opcji --quantity: " + name + " (" + kQuantityNames +
                                 ")");
            if (std::find(out.begin(), out.end(), *q) == out.end()) out.push_back(*q);
        }
    return out;
}

// The lower-case extension of a path's file name, with its dot.
std::string extensionOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    const auto dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string ext = path.substr(dot);
    for (char& ch : ext) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return ext;
}

// The table and report types, refused before the map is computed so that a
// wrong one leaves no file written.
void checkOutputTypes(const QCommandLineParser& p) {
    if (isSet(p, "table")) {
        const std::string out = optionText(p, "table"), ext = extensionOf(out);
        if (ext != ".dbf" && ext != ".db" && ext != ".txt" && ext != ".csv" && ext != ".dat")
            throw BatchError("Nieznany typ pliku tabeli: " + out + " (.dbf, .db, .txt, .csv, .dat)");
    }
    if (isSet(p, "report")) {
        const std::string out = optionText(p, "report"), ext = extensionOf(out);
        if (ext != ".rtf" && ext != ".txt" && !ext.empty())
            throw BatchError("Nieznany typ pliku raportu: " + out + " (.txt, .rtf)");
    }
}

}  // namespace

void addHazardMapOptions(QCommandLineParser& p) {
    for (const char* name : {"quantity", "cell", "box", "sampling", "nearest", "radius", "max-radius",
                             "threshold", "normalise", "reference-area", "xy-unit", "before", "after",
                             "significance", "grid", "grid-quantity", "epsg", "threads"}) {
        QCommandLineOption o(QString::fromLatin1(name));
        o.setValueName(QStringLiteral("x"));
        p.addOption(o);
    }
}

HazardMapParameters hazardMapParametersOf(const QCommandLineParser& p, const BatchSettings& settings) {
    HazardMapParameters r;
    if (isSet(p, "quantity")) r.quantities = quantitiesOption(p);
    if (isSet(p, "cell")) {
        r.grid.cellSize = numberOption(p, "cell");
        if (!(*r.grid.cellSize > 0.0))
            throw BatchError("Rozmiar komórki siatki --cell musi być liczbą dodatnią.");
    }
    if (isSet(p, "box")) {
        const std::vector<double> b = numberList(p, "box", 4);
        r.grid.box = MapBox{b[0], b[1], b[2], b[3]};
    }
    const std::string sampling = optionText(p, "sampling");
    if (sampling == "radius")
        r.sampling.kind = SamplingKind::Radius;
    else if (sampling.empty() || sampling == "nearest")
        r.sampling.kind = SamplingKind::Nearest;
    else
        throw BatchError("Opcja --sampling przyjmuje radius lub nearest.");
    if (r.sampling.kind == SamplingKind::Radius && !isSet(p, "radius"))
        throw BatchError("Próba w promieniu wymaga opcji --radius R.");
    if (isSet(p, "radius")) r.sampling.radius = numberOption(p, "radius");
    if (isSet(p, "nearest"))
        r.sampling.nearest =
            wholeOption(p, "nearest", 2, 100000000, "Opcja --nearest przyjmuje liczbę całkowitą od 2.");
    if (isSet(p, "max-radius")) r.sampling.maxRadius = numberOption(p, "max-radius");
    if (isSet(p, "min-events"))
        r.sampling.minEvents =
            wholeOption(p, "min-events", 2, 100000000, "Opcja --min-events przyjmuje liczbę całkowitą od 2.");
    else if (r.sampling.kind == SamplingKind::Nearest)
        r.sampling.minEvents = std::min(r.sampling.minEvents, r.sampling.nearest);

    const std::string threshold = optionText(p, "threshold");
    if (threshold == "mmin")
        r.threshold = MapThreshold::MMin;
    else if (!threshold.empty() && threshold != "mc")
        throw BatchError("Opcja --threshold przyjmuje mc lub mmin.");
    if (isSet(p, "mc")) {
        const std::string name = optionText(p, "mc");
        const auto m = mcMethodOfName(name);
        if (!m)
            throw BatchError("Nieznana metoda w opcji --mc: " + name +
                             " (maxc, maxc+0.2, gof90, gof95, mbs, ks)");
        r.mcMethod = *m;
    }
    if (isSet(p, "mc-bin")) r.mcBinWidth = numberOption(p, "mc-bin");
    if (isSet(p, "b-bin")) r.bBinWidth = numberOption(p, "b-bin");
    if (isSet(p, "b-positive-threshold")) r.bPositiveDelta = numberOption(p, "b-positive-threshold");
    if (isSet(p, "magnitude")) r.magnitude = numberOption(p, "magnitude");
    if (isSet(p, "duration")) r.duration = numberOption(p, "duration");
    r.unit = readTimeUnit(ParserOptions(p));
    r.variableUpperLimit = isSet(p, "variable-upper-limit");

    const std::string normalise = optionText(p, "normalise");
    if (normalise == "sample")
        r.normalisation = MapNormalisation::Sample;
    else if (!normalise.empty() && normalise != "area")
        throw BatchError("Opcja --normalise przyjmuje area lub sample.");
    if (isSet(p, "reference-area")) r.referenceArea = numberOption(p, "reference-area");
    const std::string unit = optionText(p, "xy-unit");
    if (unit == "xy") {
        r.areaUnit = AreaUnit::CatalogueUnit;
    } else if (!unit.empty()) {
        r.metresPerUnit = parseOptionNumber(unit, "xy-unit");
    }
    if (isSet(p, "before") || isSet(p, "after")) {
        if (!isSet(p, "before") || !isSet(p, "after"))
            throw BatchError("Mapa zmian wymaga obu okresów: --before OD,DO i --after OD,DO.");
        r.before = periodOption(p, "before", settings.locale);
        r.after = periodOption(p, "after", settings.locale);
    }
    if (isSet(p, "significance")) r.significance = numberOption(p, "significance");
    r.bootstrap = readBootstrapOptions(ParserOptions(p));
    if (isSet(p, "seed"))
        r.bootstrap.seed = static_cast<std::uint64_t>(wholeOption(
            p, "seed", 0, 2000000000, "Ziarno --seed musi być liczbą całkowitą od 0 do 2000000000."));
    if (isSet(p, "threads"))
        r.threads =
            wholeOption(p, "threads", 1, 256, "Opcja --threads przyjmuje liczbę całkowitą od 1 do 256.");
    r.locationExpression = settings.prefs.X + settings.prefs.LocationFilter;
    if (const auto problem = HazardMapProblem(r)) throw BatchError(*problem);
    return r;
}

int runHazardMap(const QCommandLineParser& p, const QStringList& args, const BatchSettings& settings) {
    if (args.size() != 2) throw BatchError("Podaj plik katalogu: zorv-batch hazard-map [opcje] KATALOG.");
    if (isSet(p, "picture"))
        throw BatchError(
            "Mapa zagrożenia nie zapisuje jeszcze obrazu (--picture): zapisz siatkę opcją --grid "
            "PLIK.asc lub PLIK.tif.");
    const HazardMapParameters parameters = hazardMapParametersOf(p, settings);
    // Every output is checked before anything is computed or written.
    checkOutputTypes(p);
    const std::string gridPath = optionText(p, "grid");
    if (!gridPath.empty() && !gridFormatOf(gridPath))
        throw BatchError("Nieznany typ pliku siatki: " + gridPath + " (.asc, .tif)");
    if (isSet(p, "grid-quantity") && gridPath.empty())
        throw BatchError("Opcja --grid-quantity wymaga opcji --grid.");
    int epsg = 0;
    if (isSet(p, "epsg")) {
        if (gridPath.empty()) throw BatchError("Opcja --epsg wymaga opcji --grid.");
        epsg = wholeOption(p, "epsg", 1024, 32767, "Kod EPSG musi być liczbą całkowitą od 1024 do 32767.");
    }

    std::unique_ptr<Table> catalogue = openCheckedCatalogue(p, args[1].toStdString(), settings);
    const JoinedFilter filter = filterCatalogue(p, settings, *catalogue);
    AnalysisSettings analysisSettings = RefreshAnalysisSettings(
        settings.prefs, settings.base, true, static_cast<std::int32_t>(catalogue->physicalCount()),
        *settings.store, settings.locale);
    analysisSettings.CoordinateSystem = catalogueCrsText(args[1].toStdString());
    int copyCounter = 1;
    std::unique_ptr<Table> sample = CopyCatalogueForAnalysis(*catalogue, analysisSettings, copyCounter);
    std::unique_ptr<HazardMap> map;
    try {
        map = std::make_unique<HazardMap>(analysisSettings, sample.get(), parameters);
    } catch (const AnalysisError& e) {
        throw BatchError(e.what());
    }
    const std::vector<std::string> columns = map->ValueColumns();
    const std::string column = isSet(p, "grid-quantity") ? optionText(p, "grid-quantity") : columns.front();
    const std::optional<std::vector<double>> values = map->ColumnValues(column);
    if (!gridPath.empty() && !values) {
        std::string known;
        for (const std::string& c : columns) known += (known.empty() ? "" : ", ") + c;
        throw BatchError("Mapa nie ma kolumny " + column + " (--grid-quantity: " + known + ").");
    }
    const MapGrid& g = map->Grid();
    std::fprintf(stderr, "Węzły: %d × %d, zlokalizowane zjawiska: %d\n", g.columns, g.rows,
                 map->LocatedEvents());
    writeResultTable(p, *map);
    writeReport(p, *map);
    if (!gridPath.empty()) {
        try {
            WriteGridFile(gridPath, g, *values, epsg);
        } catch (const FileWriteError& e) {
            throw BatchError(e.what());
        }
    }
    if (!filter.description.empty()) std::fprintf(stderr, "Filtr: %s\n", filter.description.c_str());
    return 0;
}

}  // namespace zorv

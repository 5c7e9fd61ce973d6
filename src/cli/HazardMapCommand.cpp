#include "HazardMapCommand.h"

#include <cctype>
#include <cstdio>

#include "BatchCatalogue.h"
#include "BatchCatalogueCheck.h"
#include "BatchError.h"
#include "BatchOptions.h"
#include "BatchOutput.h"
#include "BatchPicture.h"
#include "analysis/DBBase.h"
#include "interchange/CrsSidecar.h"
#include "registry/AnalysisRequestOptions.h"
#include "registry/HazardOptions.h"
#include "spatial/GridFiles.h"
#include "spatial/HazardMap.h"
#include "text/AtomicFile.h"
#include "text/DateText.h"

namespace zorv {

namespace {

bool isSet(const QCommandLineParser& p, const char* name) { return p.isSet(QString::fromLatin1(name)); }

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
    // The map's own options are among the analyses' (zorvcore's list); these
    // are its outputs.
    for (const char* name : {"grid", "grid-quantity", "epsg"}) {
        QCommandLineOption o(QString::fromLatin1(name));
        o.setValueName(QStringLiteral("x"));
        p.addOption(o);
    }
}

AnalysisRequest hazardMapRequestOf(const QCommandLineParser& p, const BatchSettings& settings) {
    AnalysisRequest r;
    try {
        r = readAnalysisRequest(ParserOptions(p), *findAnalysis("hazard-map"), settings.prefs,
                                settings.locale);
    } catch (const OptionError& e) {
        throw BatchError(e.what());
    }
    if (isSet(p, "seed"))
        r.hazardMap.bootstrap.seed = static_cast<std::uint64_t>(wholeOption(
            p, "seed", 0, 2000000000, "Ziarno --seed musi być liczbą całkowitą od 0 do 2000000000."));
    return r;
}

int runHazardMap(const QCommandLineParser& p, const QStringList& args, const BatchSettings& settings) {
    if (args.size() != 2) throw BatchError("Podaj plik katalogu: zorv-batch hazard-map [opcje] KATALOG.");
    const AnalysisEntry& entry = *findAnalysis("hazard-map");
    const std::optional<PictureType> picture = pictureOption(p);
    const std::optional<ChartTemplate> style = picture ? pictureTemplate(p, settings.prefs) : std::nullopt;
    const AnalysisRequest request = hazardMapRequestOf(p, settings);
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
    std::shared_ptr<Database> analysis;
    try {
        analysis = entry.make({analysisSettings, sample.get(), request, nullptr, nullptr});
    } catch (const AnalysisError& e) {
        throw BatchError(e.what());
    }
    auto* map = static_cast<HazardMap*>(analysis.get());
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
    if (picture)
        writePictures(p.value(QStringLiteral("picture")), *picture, analysis, entry, request,
                      analysisSettings, settings.prefs, filter.description, style ? &*style : nullptr);
    if (!filter.description.empty()) std::fprintf(stderr, "Filtr: %s\n", filter.description.c_str());
    return 0;
}

}  // namespace zorv

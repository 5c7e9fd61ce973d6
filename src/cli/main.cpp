// zorv-batch: runs one analysis of a catalogue from the command line and
// writes its result table and report.
//
//   zorv-batch activity --period months --zone G-1/2 --located katalog.dbf
//   zorv-batch histogram --table wynik.csv --report raport.rtf katalog.db
//   zorv-batch activity --picture aktywnosc.png katalog.dbf
//   zorv-batch mc --method maxc,ks --bootstrap 500 katalog.dbf
//   zorv-batch hazard-map --quantity b,mc --grid b.tif katalog.dbf

#include <QApplication>
#include <cstdio>
#include <exception>

#include "BatchCatalogue.h"
#include "BatchCatalogueCheck.h"
#include "BatchCatalogueImport.h"
#include "BatchError.h"
#include "BatchHelp.h"
#include "BatchImport.h"
#include "BatchOptions.h"
#include "BatchOutput.h"
#include "BatchParserTexts.h"
#include "BatchPicture.h"
#include "BatchProgress.h"
#include "HazardMapCommand.h"
#include "McCommand.h"
#include "analysis/DBBase.h"
#include "hazard/FailureAdvice.h"
#include "hazard/HazardAnalysis.h"
#include "interchange/CrsSidecar.h"
#include "registry/AnalysisRegistry.h"
#include "registry/AnalysisRequestOptions.h"

namespace zorv {
namespace {

// Builds the analysis; any failure of the run becomes the message the
// desktop program shows for it. Only the nonparametric estimator reports on
// its way (its small-sample question and its notes).
std::unique_ptr<Database> runAnalysis(const AnalysisEntry& entry, const AnalysisSettings& settings,
                                      Table* sample, const AnalysisRequest& request) {
    BatchProgress progress;
    const bool reports = entry.parameters == AnalysisParameters::NonParametric;
    try {
        return entry.make({settings, sample, request, reports ? &progress : nullptr, nullptr});
    } catch (...) {
        const HazardFailureMessage m = DescribeHazardFailure(
            std::current_exception(), DescribeFailureSample(*sample, settings), settings.UserLocale);
        throw BatchError(m.title + " " + m.text);
    }
}

// A chart needs the GUI application, on the offscreen platform when none
// is chosen; every other run stays QtCore only and needs no display.
std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv) {
    if (!pictureRequested(argc, argv)) return std::make_unique<QCoreApplication>(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QApplication>(argc, argv);
}

int run(int argc, char** argv) {
    const auto app = makeApplication(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Morvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Zorv"));

    QCommandLineParser p;
    p.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    addBatchOptions(p);
    addImportOptions(p);
    addCatalogueImportOptions(p);
    addMcOptions(p);
    addHazardMapOptions(p);
    if (!p.parse(QCoreApplication::arguments())) throw BatchError(parserFailureText(p));
    if (p.isSet(QStringLiteral("help"))) {
        std::fputs(batchHelpText().c_str(), stdout);
        return 0;
    }
    const QStringList args = p.positionalArguments();
    if (!args.isEmpty() && args[0] == QStringLiteral("import"))
        return runImport(p, args, readBatchSettings(p));
    if (!args.isEmpty() && args[0] == QStringLiteral("export"))
        return runExport(p, args, readBatchSettings(p));
    if (!args.isEmpty() && args[0] == QStringLiteral("mc")) return runMc(p, args, readBatchSettings(p));
    if (!args.isEmpty() && args[0] == QStringLiteral("hazard-map"))
        return runHazardMap(p, args, readBatchSettings(p));
    if (args.size() != 2) throw BatchError("Podaj analizę i plik katalogu (zorv-batch --help).");
    const std::string command = args[0].toStdString();
    const AnalysisEntry* entry = findAnalysis(command);
    if (!entry) throw BatchError("Nieznana analiza: " + command + " (zorv-batch --help).");

    const std::optional<PictureType> picture = pictureOption(p);
    const BatchSettings settings = readBatchSettings(p);
    const std::optional<ChartTemplate> style = picture ? pictureTemplate(p, settings.prefs) : std::nullopt;
    const AnalysisRequest request =
        readAnalysisRequest(ParserOptions(p), *entry, settings.prefs, settings.locale);

    std::unique_ptr<Table> catalogue = openCheckedCatalogue(p, args[1].toStdString(), settings);
    const JoinedFilter filter = filterCatalogue(p, settings, *catalogue);
    AnalysisSettings analysisSettings = RefreshAnalysisSettings(
        settings.prefs, settings.base, true, static_cast<std::int32_t>(catalogue->physicalCount()),
        *settings.store, settings.locale);
    analysisSettings.CoordinateSystem = catalogueCrsText(args[1].toStdString());
    if (entry->selection == SampleSelection::WholeCatalogue) catalogue->setFiltered(false);
    int copyCounter = 1;
    std::unique_ptr<Table> sample = CopyCatalogueForAnalysis(*catalogue, analysisSettings, copyCounter);
    std::shared_ptr<Database> analysis = runAnalysis(*entry, analysisSettings, sample.get(), request);

    printEstimate(*entry, request, *analysis, analysisSettings.UserLocale);
    writeResultTable(p, *analysis);
    writeReport(p, *analysis);
    if (picture)
        writePictures(p.value(QStringLiteral("picture")), *picture, analysis, *entry, request,
                      analysisSettings, settings.prefs, filter.description, style ? &*style : nullptr);
    if (!filter.description.empty()) std::fprintf(stderr, "Filtr: %s\n", filter.description.c_str());
    return 0;
}

}  // namespace
}  // namespace zorv

int main(int argc, char** argv) {
    try {
        return zorv::run(argc, argv);
    } catch (const zorv::BatchError& e) {
        std::fprintf(stderr, "zorv-batch: %s\n", e.what());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zorv-batch: Problem... %s\n", e.what());
        return 1;
    }
}

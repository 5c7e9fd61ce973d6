#include "BatchCatalogueCheck.h"

#include <cstdio>

#include "BatchCatalogue.h"
#include "BatchError.h"
#include "catalogue/StructureCheck.h"
#include "files/TableFiles.h"

namespace zorv {

namespace {

// The error list is long only for a systematic fault; its head says which.
constexpr std::size_t kListedFaults = 20;

}  // namespace

bool structureCheckWanted(const QCommandLineParser& p, const BatchSettings& settings) {
    return settings.prefs.CheckDBF && !p.isSet(QStringLiteral("no-check"));
}

std::unique_ptr<Table> openCheckedCatalogue(const QCommandLineParser& p, const std::string& path,
                                            const BatchSettings& settings) {
    if (!structureCheckWanted(p, settings)) return openCatalogue(path, settings.locale);
    const AnalysisSettings analysisSettings =
        RefreshAnalysisSettings(settings.prefs, settings.base, true, 0, *settings.store, settings.locale);
    StructureCheck check(analysisSettings, path);
    check.run([](const std::string& file) { return openTableFile(file, false); });
    if (!check.checkPassed()) {
        if (!check.failureMessage().empty()) std::fprintf(stderr, "%s\n", check.failureMessage().c_str());
        const auto& lines = check.errorLines();
        for (std::size_t i = 0; i < lines.size() && i < kListedFaults; ++i)
            std::fprintf(stderr, "%s\n", lines[i].c_str());
        if (lines.size() > kListedFaults)
            std::fprintf(stderr, "... i %zu dalszych błędów.\n", lines.size() - kListedFaults);
        if (check.tooManyErrors()) std::fprintf(stderr, "%s\n", kTooManyErrorsMessage);
        throw BatchError(std::string(kCheckFailedMessage) + " (Opcja --no-check pomija sprawdzenie.)");
    }
    std::unique_ptr<Table> catalogue = check.takeTable();
    catalogue->setReadOnly(true);
    catalogue->setLocale(settings.locale);
    return catalogue;
}

}  // namespace zorv

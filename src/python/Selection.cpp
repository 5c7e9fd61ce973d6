#include "Selection.h"

#include "catalogue/CatalogueFilter.h"
#include "catalogue/StructureCheck.h"
#include "files/TableFiles.h"
#include "interchange/TextImport.h"
#include "text/LineFile.h"

namespace zorv::python {

namespace {

// A text catalogue whose first line names its columns, as zorv-batch import
// --header reads it.
std::unique_ptr<Table> readTextCatalogue(const std::string& path, const ModuleSettings& s) {
    const auto separator = importSeparatorOfFile(path);
    if (!separator) throw ImportError("Nieznany typ pliku tekstowego " + path + " (.txt, .dat, .csv).");
    std::vector<std::string> lines;
    try {
        lines = readLines(path);
    } catch (const std::exception&) {
        const auto slash = path.find_last_of('/');
        throw ImportError(
            "Załadowanie pliku: " + (slash == std::string::npos ? path : path.substr(slash + 1)) +
            " nie powiodło się...");
    }
    const ImportRoleNames roles = importRoleNames(s.prefs);
    const std::vector<std::string> captions =
        discoverImportColumns(lines.empty() ? std::string() : lines.front(), *separator);
    ImportOptions o;
    o.a = s.base.a;
    o.b = s.base.b;
    o.addMissingFields = false;
    o.ignoreFirstLine = true;
    o.zoneName = defaultImportZoneName(s.prefs.Prefix, s.prefs.Slash);
    const std::vector<ImportColumn> columns = headerImportColumns(captions, roles);
    checkImportRoles(columns, roles, o);
    return std::make_unique<Table>(buildImportTable(lines, *separator, columns, roles, o, s.locale));
}

std::unique_ptr<Table> readCatalogue(const std::string& path, const ModuleSettings& s) {
    std::unique_ptr<Table> table;
    if (tableFormatOf(path)) {
        try {
            table = openTableFile(path, false);
        } catch (const FileLockedError&) {
            throw;
        } catch (const std::exception& e) {
            throw FileFormatError("Niewłasciwy format bazy lub baza uszkodzona [ " + std::string(e.what()) +
                                  " ].");
        }
    } else {
        table = readTextCatalogue(path, s);
    }
    table->setReadOnly(true);
    table->setLocale(s.locale);
    return table;
}

}  // namespace

Selection catalogueOfTable(std::unique_ptr<Table> table, ModuleSettings settings, std::string name) {
    table->setLocale(settings.locale);
    auto file = std::make_shared<CatalogueFile>();
    file->path = std::move(name);
    file->table = std::move(table);
    file->settings = std::move(settings);
    Selection s;
    s.warnings = file->settings.warnings;
    // The whole catalogue: its records are the file's table, shared.
    s.records = std::shared_ptr<Table>(file, file->table.get());
    s.file = std::move(file);
    return s;
}

Selection openCatalogue(const std::string& path, ModuleSettings settings, bool check) {
    std::unique_ptr<Table> table;
    std::vector<std::string> report;
    if (check) {
        const AnalysisSettings as = settings.analysisSettings(0);
        StructureCheck structure(as, path);
        structure.run([&](const std::string& p) { return readCatalogue(p, settings); });
        report = structure.report();
        if (!structure.checkPassed()) {
            std::string message = structure.failureMessage();
            if (message.empty()) message = kCheckFailedMessage;
            for (std::size_t i = 0; i < structure.errorLines().size() && i < 10; ++i)
                message += "\n" + structure.errorLines()[i];
            throw StructureCheckFailure(message, report);
        }
        table = structure.takeTable();
    } else {
        table = readCatalogue(path, settings);
    }
    Selection s = catalogueOfTable(std::move(table), std::move(settings), path);
    std::const_pointer_cast<CatalogueFile>(s.file)->checkReport = std::move(report);
    return s;
}

Selection filterSelection(const Selection& from, const CatalogueSelection& selection) {
    const ModuleSettings& settings = from.file->settings;
    const FilterSources sources = selectionSources(selection, settings.prefs, settings.locale);
    Table view = from.records->copyView();
    view.setLocale(settings.locale);
    view.setReadOnly(true);
    Selection s;
    s.file = from.file;
    s.warnings = from.warnings;
    const JoinedFilter joined = applyCatalogueFilter(&view, sources);
    if (joined.locationRejected) s.warnings.push_back(kBadLocationFilterMessage);
    s.records = std::make_shared<Table>(view.copyView());
    s.records->setLocale(settings.locale);
    s.expression = joined.expression;
    s.description = from.description;
    if (!joined.description.empty())
        s.description += (s.description.empty() ? "" : "; ") + joined.description;
    return s;
}

}  // namespace zorv::python

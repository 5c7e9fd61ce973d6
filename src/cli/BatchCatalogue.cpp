#include "BatchCatalogue.h"

#include <QStandardPaths>
#include <cstdio>

#include "BatchError.h"
#include "BatchOptions.h"
#include "catalogue/CatalogueFilter.h"
#include "catalogue/CatalogueSelection.h"
#include "catalogue/StructureCheck.h"
#include "files/TableFiles.h"
#include "text/DateText.h"

namespace zorv {

BatchSettings readBatchSettings(const QCommandLineParser& p) {
    BatchSettings s;
    s.locale = p.value(QStringLiteral("locale")) == QStringLiteral("en") ? Locale::point() : Locale::comma();
    s.store = p.isSet(QStringLiteral("settings"))
                  ? std::make_unique<QtSettingsStore>(p.value(QStringLiteral("settings")))
                  : std::make_unique<QtSettingsStore>();
    s.prefs.ExportImportDirectory =
        (QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/temp"))
            .toStdString();
    if (s.store->rootExists()) {
        try {
            LoadSettings(*s.store, s.prefs);
        } catch (const SettingsError& e) {
            std::fprintf(stderr, "Uszkodzone ustawienia (%s) - użyto ustawień domyślnych.\n", e.what());
        }
    }
    s.base = {s.prefs.a, s.prefs.b, s.prefs.MMin};
    if (p.isSet(QStringLiteral("a"))) s.base.a = numberOption(p, "a");
    if (p.isSet(QStringLiteral("b"))) s.base.b = numberOption(p, "b");
    if (p.isSet(QStringLiteral("mmin"))) s.base.MMin = numberOption(p, "mmin");
    return s;
}

std::unique_ptr<Table> openCatalogue(const std::string& path, const Locale& locale) {
    std::unique_ptr<Table> catalogue;
    try {
        catalogue = openTableFile(path, false);
    } catch (const std::exception& e) {
        throw BatchError(badCatalogueMessage(e.what()));
    }
    catalogue->setReadOnly(true);
    catalogue->setLocale(locale);
    // Text comparisons of the filter ignore case, as in the desktop program.
    catalogue->setCaseInsensitiveFilter(true);
    return catalogue;
}

namespace {

// --from, --to: a day number in the given locale or ISO.
std::optional<std::int32_t> dateOption(const QCommandLineParser& p, const char* name, const Locale& locale) {
    if (!p.isSet(QString::fromLatin1(name))) return std::nullopt;
    const std::string text = optionText(p, name);
    const auto d = parseDate(text, locale);
    if (!d) throw BatchError("Niepoprawna data w opcji --" + std::string(name) + ": " + text);
    return *d;
}

}  // namespace

JoinedFilter filterCatalogue(const QCommandLineParser& p, const BatchSettings& settings, Table& catalogue) {
    CatalogueSelection selection;
    for (const QString& z : p.values(QStringLiteral("zone"))) selection.zones.push_back(z.toStdString());
    for (const QString& d : p.values(QStringLiteral("department")))
        selection.departments.push_back(d.toStdString());
    selection.from = dateOption(p, "from", settings.locale);
    selection.to = dateOption(p, "to", settings.locale);
    selection.locatedOnly = p.isSet(QStringLiteral("located"));
    selection.expression = optionText(p, "where");
    selection.anyOf = p.isSet(QStringLiteral("or"));
    FilterSources sources;
    try {
        sources = selectionSources(selection, settings.prefs, settings.locale);
    } catch (const SelectionError& e) {
        throw BatchError(e.what());
    }
    try {
        const JoinedFilter filter = applyCatalogueFilter(&catalogue, sources);
        if (filter.locationRejected) std::fprintf(stderr, "%s\n", kBadLocationFilterMessage);
        return filter;
    } catch (const CatalogueFilterError& e) {
        if (e.joined().locationRejected) std::fprintf(stderr, "%s\n", kBadLocationFilterMessage);
        throw BatchError(std::string("Błędny filtr: ") + e.what());
    }
}

}  // namespace zorv

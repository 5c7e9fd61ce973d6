#include "BatchCatalogue.h"

#include <QStandardPaths>
#include <cstdio>

#include "BatchError.h"
#include "BatchOptions.h"
#include "catalogue/CatalogueFilter.h"
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
        throw BatchError("Niewłasciwy format bazy lub baza uszkodzona [ " + std::string(e.what()) + " ].");
    }
    catalogue->setReadOnly(true);
    catalogue->setLocale(locale);
    return catalogue;
}

namespace {

// Zones as ticked in the list, departments as chosen in the tree.
ZoneFilter zoneOptions(const QCommandLineParser& p, const Preferences& prefs) {
    std::vector<std::string> zones;
    for (const QString& z : p.values(QStringLiteral("zone"))) zones.push_back(z.toStdString());
    std::vector<ZoneFilter> chosen;
    if (!zones.empty()) chosen.push_back(zoneListFilter(prefs.Oddzial, zones));
    for (const QString& d : p.values(QStringLiteral("department")))
        chosen.push_back(zoneTreeDepartmentFilter(prefs.Oddzial, d.toStdString(), prefs.Slash));
    return anyZoneFilter(chosen);
}

// --from, --to: the period of the date field, open at the missing end.
void periodOptions(const QCommandLineParser& p, const Preferences& prefs, const Locale& locale,
                   FilterSources& sources) {
    if (!p.isSet(QStringLiteral("from")) && !p.isSet(QStringLiteral("to"))) return;
    const auto date = [&](const char* name, std::int32_t fallback) {
        if (!p.isSet(QString::fromLatin1(name))) return fallback;
        const std::string text = optionText(p, name);
        const auto d = parseDate(text, locale);
        if (!d) throw BatchError("Niepoprawna data w opcji --" + std::string(name) + ": " + text);
        return *d;
    };
    // Day numbers of 0001-01-01 and 9999-12-31.
    const std::int32_t from = date("from", -693593), to = date("to", 2958465);
    if (from > to) throw BatchError("Data początkowa nie może być większa od daty końcowej");
    sources.PeriodExpression = prefs.Data + ">='" + formatDate(from, locale) + "' AND " + prefs.Data + "<='" +
                               formatDate(to, locale) + "'";
    sources.PeriodDescription = formatDate(from, locale) + " do " + formatDate(to, locale);
}

}  // namespace

JoinedFilter filterCatalogue(const QCommandLineParser& p, const BatchSettings& settings, Table& catalogue) {
    const Preferences& prefs = settings.prefs;
    FilterSources sources;
    sources.XField = prefs.X;
    sources.LocationFilter = prefs.LocationFilter;
    const ZoneFilter zone = zoneOptions(p, prefs);
    sources.ZoneExpression = zone.expression;
    sources.ZoneDescription = zone.description;
    periodOptions(p, prefs, settings.locale, sources);
    sources.locatedOnly = p.isSet(QStringLiteral("located"));
    sources.ExtraExpression = optionText(p, "where");
    if (p.isSet(QStringLiteral("or"))) {
        sources.Connective = " OR ";
        sources.DescriptionConnective = " lub ";
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

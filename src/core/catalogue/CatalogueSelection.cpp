#include "catalogue/CatalogueSelection.h"

#include "text/DateText.h"

namespace zorv {

FilterSources selectionSources(const CatalogueSelection& s, const Preferences& prefs, const Locale& locale) {
    FilterSources sources;
    sources.XField = prefs.X;
    sources.LocationFilter = prefs.LocationFilter;
    // Zones as ticked in the list, departments as chosen in the tree.
    std::vector<ZoneFilter> chosen;
    if (!s.zones.empty()) chosen.push_back(zoneListFilter(prefs.Oddzial, s.zones));
    for (const std::string& d : s.departments)
        chosen.push_back(zoneTreeDepartmentFilter(prefs.Oddzial, d, prefs.Slash));
    const ZoneFilter zone = anyZoneFilter(chosen);
    sources.ZoneExpression = zone.expression;
    sources.ZoneDescription = zone.description;
    if (s.from || s.to) {
        // Day numbers of 0001-01-01 and 9999-12-31.
        const std::int32_t from = s.from.value_or(-693593), to = s.to.value_or(2958465);
        if (from > to) throw SelectionError("Data początkowa nie może być większa od daty końcowej");
        sources.PeriodExpression = prefs.Data + ">='" + formatDate(from, locale) + "' AND " + prefs.Data +
                                   "<='" + formatDate(to, locale) + "'";
        sources.PeriodDescription = formatDate(from, locale) + " do " + formatDate(to, locale);
    }
    sources.locatedOnly = s.locatedOnly;
    sources.ExtraExpression = s.expression;
    if (s.anyOf) {
        sources.Connective = " OR ";
        sources.DescriptionConnective = " lub ";
    }
    return sources;
}

}  // namespace zorv

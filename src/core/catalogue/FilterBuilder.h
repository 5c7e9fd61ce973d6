#pragma once
// Joining the filter sources of the catalogue into one expression and one
// human-readable description: zones (tree or list), period, located events
// only (with the map rectangle), and an extra expression typed by the user.

#include <functional>
#include <string>
#include <vector>

namespace zorv {

struct FilterSources {
    std::string ZoneExpression, ZoneDescription;
    std::string PeriodExpression, PeriodDescription;
    bool locatedOnly = false;
    std::string XField = "X";
    std::string LocationFilter = "<>0";
    std::string MapZoneExpression, MapZoneDescription;
    std::string ExtraExpression;
    std::string Connective = " AND ";
    std::string DescriptionConnective = " i ";
};

struct JoinedFilter {
    std::string expression;         // empty: no filter
    std::string description;        // FilterDescription
    bool locationRejected = false;  // the location expression did not parse
};

extern const char* const kBadLocationFilterMessage;

// Joins the active sources in the fixed order zone, period, located (and the
// map zone with it), extra. `accepts` tests an expression against the table
// engine; a rejected location expression is left out (the caller shows
// kBadLocationFilterMessage) and the other sources still apply.
JoinedFilter joinFilters(const FilterSources& sources,
                         const std::function<bool(const std::string&)>& accepts);

// The "Filtr: " bar text: the description or the expression, then three blanks.
std::string filterBarText(const JoinedFilter& filter, bool descriptive);

// Zone tree selections.
struct ZoneFilter {
    std::string expression, description;
};
ZoneFilter zoneTreeRootFilter();
ZoneFilter zoneTreeDepartmentFilter(const std::string& departmentField, const std::string& department,
                                    const std::string& separator);
ZoneFilter zoneTreeZoneFilter(const std::string& departmentField, const std::string& code);
// Ticked zones of the list, in list order.
ZoneFilter zoneListFilter(const std::string& departmentField, const std::vector<std::string>& ticked);
// Several zone choices (list, departments) ORed, in parentheses when more
// than one, so that the other sources still join with AND.
ZoneFilter anyZoneFilter(const std::vector<ZoneFilter>& choices);

// The map rectangle (corners truncated to integers and ordered).
ZoneFilter mapZoneFilter(const std::string& xField, const std::string& yField, double x0, double y0,
                         double x1, double y1);

}  // namespace zorv

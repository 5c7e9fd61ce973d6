#include "catalogue/FilterBuilder.h"

#include <algorithm>
#include <cmath>

namespace zorv {

const char* const kBadLocationFilterMessage =
    "Błędnie zdefiniowane wyrażenie filtru lokalizacyjnego. Proszę ustalić prawidłowe wyrażenie filtru w "
    "oknie preferencji na karcie baza danych.";

JoinedFilter joinFilters(const FilterSources& s, const std::function<bool(const std::string&)>& accepts) {
    std::vector<std::pair<std::string, std::string>> parts;
    if (!s.ZoneExpression.empty()) parts.emplace_back(s.ZoneExpression, s.ZoneDescription);
    if (!s.PeriodExpression.empty()) parts.emplace_back(s.PeriodExpression, s.PeriodDescription);
    JoinedFilter out;
    if (s.locatedOnly) {
        const std::string location = s.XField + s.LocationFilter;
        if (accepts && !accepts(location)) {
            out.locationRejected = true;
        } else {
            parts.emplace_back(location, "Zlokalizowane");
        }
        // The map zone filters only together with located events.
        if (!s.MapZoneExpression.empty()) parts.emplace_back(s.MapZoneExpression, s.MapZoneDescription);
    }
    if (!s.ExtraExpression.empty()) parts.emplace_back(s.ExtraExpression, s.ExtraExpression);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i) {
            out.expression += s.Connective;
            out.description += s.DescriptionConnective;
        }
        out.expression += parts[i].first;
        out.description += parts[i].second;
    }
    return out;
}

std::string filterBarText(const JoinedFilter& filter, bool descriptive) {
    return (descriptive ? filter.description : filter.expression) + "   ";
}

ZoneFilter zoneTreeRootFilter() { return {"", "Cała baza danych"}; }

ZoneFilter zoneTreeDepartmentFilter(const std::string& departmentField, const std::string& department,
                                    const std::string& separator) {
    return {departmentField + " = '" + department + separator + "*'", " Strefa " + department};
}

ZoneFilter zoneTreeZoneFilter(const std::string& departmentField, const std::string& code) {
    return {departmentField + " = '" + code + "'", " Strefa " + code};
}

ZoneFilter zoneListFilter(const std::string& departmentField, const std::vector<std::string>& ticked) {
    ZoneFilter f{"", "Strefa: "};
    for (const std::string& caption : ticked) {
        f.description += caption + " ";
        f.expression += "OR " + departmentField + "='" + caption + "' ";
    }
    if (f.expression.rfind("OR", 0) == 0) f.expression.erase(0, 2);
    if (f.expression.empty())
        f.description.clear();
    else
        f.expression = "(" + f.expression + ")";
    return f;
}

ZoneFilter anyZoneFilter(const std::vector<ZoneFilter>& choices) {
    ZoneFilter f;
    for (const ZoneFilter& z : choices) {
        f.expression += (f.expression.empty() ? "" : " OR ") + z.expression;
        f.description += z.description;
    }
    if (choices.size() > 1) f.expression = "(" + f.expression + ")";
    return f;
}

ZoneFilter mapZoneFilter(const std::string& xField, const std::string& yField, double x0, double y0,
                         double x1, double y1) {
    auto ax = static_cast<long long>(std::trunc(x0)), bx = static_cast<long long>(std::trunc(x1));
    auto ay = static_cast<long long>(std::trunc(y0)), by = static_cast<long long>(std::trunc(y1));
    if (ax > bx) std::swap(ax, bx);
    if (ay > by) std::swap(ay, by);
    const auto s = [](long long v) { return std::to_string(v); };
    return {"(" + xField + ">=" + s(ax) + " AND " + xField + "<=" + s(bx) + " AND " + yField + ">=" + s(ay) +
                " AND " + yField + "<=" + s(by) + ")",
            "[X: " + s(ax) + "-" + s(bx) + " Y: " + s(ay) + "-" + s(by) + "]"};
}

}  // namespace zorv

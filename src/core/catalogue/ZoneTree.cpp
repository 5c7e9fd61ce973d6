#include "catalogue/ZoneTree.h"

#include <algorithm>
#include <map>
#include <set>

#include "base/Progress.h"
#include "catalogue/FieldRoles.h"
#include "table/FilterExpression.h"
#include "table/ValueText.h"
#include "text/Dates.h"
#include "text/TextCase.h"

namespace zorv {

namespace {

// The text of a zone value: text columns as they are, other kinds in their
// ordinary text form.
std::string zoneText(const Table& t, const Column& c, int f, std::size_t row) {
    if (c.storage() == StorageKind::Text) return c.textAt(row);
    return valueText(c.value(row), t.field(f).type, t.locale());
}

std::int32_t dayOf(const Column& c, std::size_t row) {
    return c.storage() == StorageKind::Double ? wholeDays(c.doubles()[row])
                                              : static_cast<std::int32_t>(c.numberAt(row));
}

}  // namespace

ZoneTree buildZoneTree(const Table& table, const std::string& zoneField, const std::string& separator,
                       Progress* progress) {
    ZoneTree out;
    const int f = table.fieldIndex(zoneField);
    const std::size_t n = table.physicalCount();
    if (progress) progress->start("Analiza katalogu sejsmicznego", 0, static_cast<int>(n));
    if (f < 0) {
        if (progress) progress->hide();
        return out;
    }
    const Column& c = table.column(f);
    // Sorted without regard to case, duplicates ignored: folded text → code.
    std::map<std::string, std::string> codes;
    if (c.storage() == StorageKind::Text) {
        // Each distinct text once; the rows only say which texts are in use.
        std::vector<char> used(c.dictionarySize(), 0);
        const auto& ids = c.textIds();
        for (std::size_t row = 0; row < n; ++row) {
            used[ids[row]] = 1;
            if (progress && row % 501 == 500) progress->setPosition(static_cast<int>(row + 1));
        }
        for (std::size_t row = 0; row < n; ++row) {
            if (!used[ids[row]]) continue;
            used[ids[row]] = 0;
            const std::string& code = c.dictionaryText(ids[row]);
            codes.emplace(foldCase(code), code);
        }
    } else {
        for (std::size_t row = 0; row < n; ++row) {
            const std::string code = zoneText(table, c, f, row);
            codes.emplace(foldCase(code), code);
            if (progress && row % 501 == 500) progress->setPosition(static_cast<int>(row + 1));
        }
    }
    for (const auto& [key, code] : codes) {
        out.zones.push_back(code);
        const std::string department(departmentOf(code, separator));
        if (out.tree.empty() || !equalsIgnoreCase(out.tree.back().name, department)) {
            out.departments.push_back(department);
            out.tree.push_back({department, {}});
        }
        out.tree.back().zones.push_back(code);
    }
    if (progress) {
        progress->setPosition(static_cast<int>(n));
        progress->hide();
    }
    return out;
}

ZoneChoice chosenZones(const ZoneTree& tree, ZoneChoiceKind kind, const std::vector<std::string>& names) {
    if (kind == ZoneChoiceKind::Everything || names.empty()) return {tree.zones, tree.departments};
    ZoneChoice out;
    auto addDepartment = [&](const std::string& d) {
        if (std::find(out.departments.begin(), out.departments.end(), d) == out.departments.end())
            out.departments.push_back(d);
    };
    std::set<std::string> wanted;
    for (const std::string& name : names) wanted.insert(foldCase(name));
    // In the order of the tree, as the list shows them.
    for (const ZoneDepartment& d : tree.tree) {
        if (kind == ZoneChoiceKind::Department) {
            if (!wanted.count(foldCase(d.name))) continue;
            out.zones.insert(out.zones.end(), d.zones.begin(), d.zones.end());
            addDepartment(d.name);
            continue;
        }
        for (const std::string& z : d.zones)
            if (wanted.count(foldCase(z))) {
                out.zones.push_back(z);
                addDepartment(d.name);
            }
    }
    return out;
}

ZoneSummary summarizeZones(const Table& table, const ZoneSummaryFields& fields,
                           const std::vector<std::string>& zones,
                           const std::vector<std::string>& departments) {
    ZoneSummary out;
    for (const std::string& z : zones) out.zones.push_back({z});
    for (const std::string& d : departments) out.departments.push_back({d});
    const int zf = table.fieldIndex(fields.zone);
    const int df = table.fieldIndex(fields.date);
    const int xf = table.fieldIndex(fields.x);
    const int yf = table.fieldIndex(fields.y);
    if (zf < 0) return out;

    // Folded names, for the case-insensitive matching of the filters.
    std::map<std::string, std::size_t> zoneIndex;
    for (std::size_t i = 0; i < zones.size(); ++i) zoneIndex.emplace(foldCase(zones[i]), i);
    std::vector<std::string> prefixes;
    for (const std::string& d : departments) prefixes.push_back(foldCase(d + fields.separator));

    const Column& zc = table.column(zf);
    struct Match {
        long zone = -1;
        std::vector<std::size_t> departments;
    };
    std::map<std::string, Match> matchOf;  // by the code as stored
    auto match = [&](const std::string& code) -> const Match& {
        auto it = matchOf.find(code);
        if (it != matchOf.end()) return it->second;
        Match m;
        const std::string folded = foldCase(code);
        if (auto z = zoneIndex.find(folded); z != zoneIndex.end()) m.zone = static_cast<long>(z->second);
        for (std::size_t d = 0; d < prefixes.size(); ++d)
            if (folded.rfind(prefixes[d], 0) == 0) m.departments.push_back(d);
        return matchOf.emplace(code, std::move(m)).first->second;
    };

    // Rows that pass the location expression.
    std::vector<char> located(table.physicalCount(), 0);
    const bool hasXY = xf >= 0 && yf >= 0;
    if (hasXY) {
        const auto expr = FilterExpression::parse(fields.x + fields.locationFilter, table,
                                                  {table.caseInsensitiveFilter(), table.locale()});
        for (std::uint32_t row : expr->select(table)) located[row] = 1;
    }

    std::vector<DepartmentPoints> points(departments.size());
    std::vector<std::set<std::int32_t>> days(departments.size());
    for (std::size_t d = 0; d < departments.size(); ++d) points[d].name = departments[d];
    const Column* dc = df >= 0 ? &table.column(df) : nullptr;
    const Column* xc = hasXY ? &table.column(xf) : nullptr;
    const Column* yc = hasXY ? &table.column(yf) : nullptr;

    auto count = [](ZoneSummaryRow& r, std::int32_t day) {
        if (r.records == 0) r.first = day;
        r.last = day;
        ++r.records;
    };
    const std::size_t n = table.recordCount();
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t row = table.rowOfRecord(i);
        const Match& m = match(zoneText(table, zc, zf, row));
        if (m.zone < 0 && m.departments.empty()) continue;
        const std::int32_t day = dc ? dayOf(*dc, row) : 0;
        if (m.zone >= 0) count(out.zones[static_cast<std::size_t>(m.zone)], day);
        for (std::size_t d : m.departments) {
            count(out.departments[d], day);
            if (!located[row]) continue;
            points[d].x.push_back(xc->numberAt(row));
            points[d].y.push_back(yc->numberAt(row));
            days[d].insert(day);
        }
    }
    for (std::size_t d = 0; d < points.size(); ++d) {
        if (points[d].x.empty()) continue;
        points[d].days.assign(days[d].begin(), days[d].end());
        out.points.push_back(std::move(points[d]));
    }
    return out;
}

}  // namespace zorv

#pragma once
// The zones of an opened catalogue: the sorted unique zone codes, grouped by
// department for the zone tree, and the per-zone and per-department
// summaries and points of the catalogue window (record counts, first and
// last dates, locations and days of the events).

#include <cstdint>
#include <string>
#include <vector>

#include "table/Table.h"

namespace zorv {

class Progress;

struct ZoneDepartment {
    std::string name;
    std::vector<std::string> zones;  // codes, sorted
};

struct ZoneTree {
    std::vector<std::string> zones;        // every code, sorted, no duplicates
    std::vector<std::string> departments;  // in the order of the zones
    std::vector<ZoneDepartment> tree;      // one node per department
    bool empty() const { return zones.empty(); }
};

// Codes are compared without regard to case, so "g-1/1" and "G-1/1" are one
// code (the first met is kept). Reads the zone field of every record
// whatever the table's filter (the filter is left as it is); a table without
// the field gives an empty tree. Progress: range 0..record count.
ZoneTree buildZoneTree(const Table& table, const std::string& zoneField, const std::string& separator,
                       Progress* progress = nullptr);

// The zones and departments the user chose, for the summary: those of the
// ticked zones of the list (each zone's department once), of a department or
// a zone of the tree, or every one when nothing is chosen; in the order of
// the tree. Codes compare without regard to case.
struct ZoneChoice {
    std::vector<std::string> zones, departments;
};
enum class ZoneChoiceKind { Everything, Department, Zone, TickedZones };
ZoneChoice chosenZones(const ZoneTree& tree, ZoneChoiceKind kind, const std::vector<std::string>& names);

// One row of the zone and department summaries.
struct ZoneSummaryRow {
    std::string name;
    std::size_t records = 0;
    std::int32_t first = 0;  // day numbers of the first and last record (table order)
    std::int32_t last = 0;
};

// Events of one department that pass the location expression, for the map
// and the time chart.
struct DepartmentPoints {
    std::string name;
    std::vector<double> x, y;        // in record order
    std::vector<std::int32_t> days;  // distinct days, ascending
};

struct ZoneSummary {
    std::vector<ZoneSummaryRow> zones;        // one per zone asked for
    std::vector<ZoneSummaryRow> departments;  // one per department asked for
    std::vector<DepartmentPoints> points;     // departments with located events only
};

struct ZoneSummaryFields {
    std::string zone, date, x, y;
    std::string separator = "/";
    std::string locationFilter = "<>0";  // appended to the X field name
};

// Walks the records the table presents (its current filter applies). A
// department matches the codes that begin with its name and the separator.
// A location expression the engine rejects throws FilterError.
ZoneSummary summarizeZones(const Table& table, const ZoneSummaryFields& fields,
                           const std::vector<std::string>& zones,
                           const std::vector<std::string>& departments);

}  // namespace zorv

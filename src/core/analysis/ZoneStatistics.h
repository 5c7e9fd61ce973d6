#pragma once
// Statistics per zone instead of per period: for each chosen zone one row
// with its activity, released energy, activity above the completeness
// threshold, or activity in energy classes. A zone name without the zone
// separator stands for the department with all its zones.

#include <string>
#include <vector>

#include "analysis/ActivitySeries.h"
#include "analysis/DBSort.h"

namespace zorv {

// The filter of one zone: an exact match for a name with the separator,
// otherwise the department and all its zones.
std::string zoneFilterExpression(const std::string& departmentField, const std::string& zone,
                                 const std::string& separator);

class DBZones : public DBSort {
public:
    DBZones(const AnalysisSettings& settings, Table* dataset, std::vector<std::string> zones,
            Progress* progress = nullptr);

    // Filters the dataset to one zone.
    void SelectZone(const std::string& zone);
    bool WriteReport(ReportLines& lines) override;

    const std::vector<std::string>& Zones() const { return zones; }

protected:
    // Creates the zone table ("Numer", "Strefa" of 10 characters, then
    // `fields`), named with the extension ".db".
    Table& CreateZoneTable(const FieldDefs& fields, const std::vector<std::string>& energyFields = {});
    // Selects each zone in turn and calls `row(zone)`. Raises EBreakProcess
    // before a zone when the user asked to stop.
    template <class F>
    void RunZoneLoop(F&& row) {
        StartProgress("Analiza bazy danych", 0, 100);
        SetProgressRange(0, static_cast<int>(zones.size()));
        for (std::size_t i = 0; i < zones.size(); ++i) {
            SetProgressPosition(static_cast<int>(i));
            CheckCancel();
            SelectZone(zones[i]);
            row(zones[i]);
        }
        HideProgress();
        resultTable->first();
    }
    // Physical rows of the dataset's current view.
    template <class F>
    void ForEachInZone(F&& f) const {
        const std::size_t n = dataset_->recordCount();
        for (std::size_t i = 0; i < n; ++i) f(dataset_->rowOfRecord(i));
    }

    std::vector<std::string> zones;
};

// Events of at least 1000 J and the energy of all events, per zone.
class DBZoneTotalActivity : public DBZones {
public:
    DBZoneTotalActivity(const AnalysisSettings& settings, Table* dataset, std::vector<std::string> zones,
                        Progress* progress = nullptr);
};

class DBZoneEnergyReleased : public DBZones {
public:
    DBZoneEnergyReleased(const AnalysisSettings& settings, Table* dataset, std::vector<std::string> zones,
                         Progress* progress = nullptr);
};

// Events of magnitude at least MMin, per zone.
class DBZoneActivityOverTreshold : public DBZones {
public:
    DBZoneActivityOverTreshold(const AnalysisSettings& settings, Table* dataset,
                               std::vector<std::string> zones, Progress* progress = nullptr);
};

// Events per zone, optionally split into energy classes 0…N with their energy.
class DBZoneActivity : public DBGraphs {
public:
    DBZoneActivity(const AnalysisSettings& settings, Table* dataset, std::vector<std::string> zones,
                   bool energyClasses, int maxClass, Progress* progress = nullptr);
    bool WriteReport(ReportLines& lines) override;

private:
    bool energyClasses;
    std::int32_t zoneCount;
    std::int32_t N;
    std::vector<std::string> zones;
};

}  // namespace zorv

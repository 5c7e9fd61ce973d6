#pragma once
// Seismic activity and released energy per period: in energy classes, above
// the completeness threshold, in total, and the energy per period and per
// day, each also in cumulative form.

#include "analysis/DBSort.h"

namespace zorv {

// Energy class of an event: the integer part of log10 E (toward zero),
// limited to 0…maxClass; 0 for E <= 0.
int energyClass(double energy, int maxClass);

// Whether an event counts in the total activity: at least 1000 J, tested as
// log10 E >= 3.
bool countsInTotalActivity(double energy);

// Common report of the series: opening with `heading`, "<p>", the table.
class DBSeries : public DBGraphs {
public:
    using DBGraphs::DBGraphs;
    bool WriteReport(ReportLines& lines) override;

protected:
    // Adds each row's values of the named fields to the next row, so that
    // every row holds the sum up to its period.
    void Accumulate(const std::vector<std::string>& fields);
    std::string heading;
};

// Events per energy class E0…EN, their sum and released energy [J].
class DBActivity : public DBSeries {
public:
    DBActivity(const AnalysisSettings& settings, Table* dataset, PeriodKind kind, int maxClass,
               Progress* progress = nullptr);

protected:
    std::int32_t N;
};

class DBActivityC : public DBActivity {
public:
    DBActivityC(const AnalysisSettings& settings, Table* dataset, PeriodKind kind, int maxClass,
                Progress* progress = nullptr);
};

// Events of magnitude at least MMin.
class ActivityOverTreshold : public DBSeries {
public:
    ActivityOverTreshold(const AnalysisSettings& settings, Table* dataset, PeriodKind kind,
                         Progress* progress = nullptr);
};

class DBActivityOverTresholdC : public ActivityOverTreshold {
public:
    DBActivityOverTresholdC(const AnalysisSettings& settings, Table* dataset, PeriodKind kind,
                            Progress* progress = nullptr);
};

// Events of at least 1000 J and the energy of all events.
class DBTotalActivity : public DBSeries {
public:
    DBTotalActivity(const AnalysisSettings& settings, Table* dataset, PeriodKind kind,
                    Progress* progress = nullptr);
};

class DBTotalActivityC : public DBTotalActivity {
public:
    DBTotalActivityC(const AnalysisSettings& settings, Table* dataset, PeriodKind kind,
                     Progress* progress = nullptr);
};

// Energy released per period.
class DBBarEnReleased : public DBSeries {
public:
    DBBarEnReleased(const AnalysisSettings& settings, Table* dataset, PeriodKind kind,
                    Progress* progress = nullptr);
};

class DBBarEnReleasedC : public DBBarEnReleased {
public:
    DBBarEnReleasedC(const AnalysisSettings& settings, Table* dataset, PeriodKind kind,
                     Progress* progress = nullptr);
};

// Energy released per day that has events ("X" is the day number).
class DBLineEnReleased : public DBSeries {
public:
    DBLineEnReleased(const AnalysisSettings& settings, Table* dataset, PeriodKind kind,
                     Progress* progress = nullptr);
};

class DBLineEnReleasedC : public DBLineEnReleased {
public:
    DBLineEnReleasedC(const AnalysisSettings& settings, Table* dataset, PeriodKind kind,
                      Progress* progress = nullptr);
};

}  // namespace zorv

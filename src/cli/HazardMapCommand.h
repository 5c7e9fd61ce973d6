#pragma once
// "zorv-batch hazard-map KATALOG": the map of the chosen quantities over the
// located events of the selection, or with --before and --after the map of
// change between two periods; the result table (one row per node) by
// --table, the report by --report and one value column as a GIS grid by
// --grid FILE.asc|.tif and the map pictures by --picture (one per value
// column drawn, as the desktop opens its windows).

#include <QCommandLineParser>
#include <QStringList>

#include "registry/AnalysisRegistry.h"

namespace zorv {

struct BatchSettings;

// The options only hazard-map reads.
void addHazardMapOptions(QCommandLineParser& p);

// The request of the options (the map's parameters, checked); throws
// BatchError.
AnalysisRequest hazardMapRequestOf(const QCommandLineParser& p, const BatchSettings& settings);

int runHazardMap(const QCommandLineParser& p, const QStringList& args, const BatchSettings& settings);

}  // namespace zorv

#pragma once
// What zorv-batch writes after an analysis: the estimate line of a hazard
// analysis on standard error, the result table (a file, or text on standard
// output) and the report.

#include <QCommandLineParser>

#include "analysis/Database.h"
#include "registry/AnalysisRegistry.h"

namespace zorv {

// The estimate of the np-*, p-* and time-variations analyses; nothing for
// the statistics.
void printEstimate(const AnalysisEntry& entry, const AnalysisRequest& request, Database& analysis,
                   const Locale& locale);

// --table by its extension, else the table as text on standard output.
void writeResultTable(const QCommandLineParser& p, Database& analysis);

// --report by its extension, nothing without it.
void writeReport(const QCommandLineParser& p, Database& analysis);

}  // namespace zorv

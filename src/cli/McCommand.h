#pragma once
// "zorv-batch mc KATALOG": the completeness magnitude of the selected events
// by the chosen methods with their bootstrap spread, as a tab-separated table
// on standard output, and the frequency–magnitude distribution as the result
// table of --table (and the report of --report).

#include <QCommandLineParser>
#include <QStringList>
#include <vector>

#include "hazard/Completeness.h"

namespace zorv {

struct BatchSettings;

// The options only mc reads: --bin, --method, --bootstrap, --seed.
void addMcOptions(QCommandLineParser& p);

// --method as a list: a comma-separated list of maxc, maxc+0.2, gof90,
// gof95, mbs, ks, or all (the default). Throws BatchError.
std::vector<McMethod> mcMethodsOption(const QCommandLineParser& p);
McOptions mcOptionsOf(const QCommandLineParser& p);

// Runs the analysis; returns the exit code.
int runMc(const QCommandLineParser& p, const QStringList& args, const BatchSettings& settings);

}  // namespace zorv

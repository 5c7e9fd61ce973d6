#pragma once
// What the benchmarks share: the analysis settings of the sample catalogue
// and the sample catalogue itself, made once per program.

#include "SampleCatalogue.h"
#include "catalogue/AnalysisSettings.h"
#include "table/Table.h"

namespace zorv::bench {

// MMin 1.3, as the sample catalogue's hazard runs use; `withProgress` off
// where a benchmark measures the estimate without its progress reports.
inline AnalysisSettings sampleSettings(bool withProgress = true) {
    AnalysisSettings s;
    s.MMin = 1.3;
    s.WithProgress = withProgress;
    return s;
}

inline const Table& sampleCatalogue() {
    static const Table t = sample::makeSampleCatalogue();
    return t;
}

}  // namespace zorv::bench

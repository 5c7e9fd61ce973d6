#pragma once
// The chart windows of a finished analysis built as the desktop's analysis
// commands build them (the same chart kind and builder), but on no main
// window: zorv-batch draws them to picture files. A time-variations run
// gives one chart per chosen quantity, in the desktop's order.

#include <QSize>
#include <memory>
#include <vector>

#include "chart/TfmGraph.h"
#include "registry/AnalysisRegistry.h"

namespace zorv {

// Each window sized `size` (GraphWidth × GraphHeight) with its layout
// applied, so that its chart has the size it would have on screen.
std::vector<std::unique_ptr<TfmGraph>> buildAnalysisCharts(std::shared_ptr<Database> analysis,
                                                           const AnalysisEntry& entry,
                                                           const AnalysisRequest& request,
                                                           const AnalysisSettings& settings,
                                                           const QString& filterDescription, QSize size);

}  // namespace zorv

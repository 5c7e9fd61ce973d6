#pragma once
// The charts of a finished analysis built as the desktop's analysis commands
// build their windows (the same chart kind and builder), but on no main
// window: zorv-batch draws them to picture files. A time-variations run
// gives one chart per chosen quantity, in the desktop's order.

#include <QSize>
#include <memory>
#include <vector>

#include "charts/AnalysisChart.h"
#include "registry/AnalysisRegistry.h"

namespace zorv {

// Each chart sized `size` (GraphWidth × GraphHeight) with its layout
// applied, so that its chart has the size it would have on screen.
std::vector<std::unique_ptr<AnalysisChart>> buildAnalysisCharts(std::shared_ptr<Database> analysis,
                                                                const AnalysisEntry& entry,
                                                                const AnalysisRequest& request,
                                                                const AnalysisSettings& settings,
                                                                const QString& filterDescription, QSize size);

}  // namespace zorv

#pragma once
// The words a chart's legend shows for the fields of the result tables: the
// tables keep their field names (ASCII, at most ten letters), the legend says
// what a series is, with its Polish letters; window captions tell charts of
// one title apart.

#include <string>

#include "registry/ChartKind.h"

namespace zorv {

// The legend caption of the series of `field` on a chart of `kind`; a field
// without a caption of its own keeps its name.
std::string seriesCaption(const std::string& field, ChartKind kind);

// The title a chart window's caption starts with: the chart's title, told
// apart where two kinds share one ("Hazard sejsmiczny" of the nonparametric
// and of the parametric estimate), so that the window list names each.
std::string windowCaptionTitle(ChartKind kind, const std::string& title);

}  // namespace zorv

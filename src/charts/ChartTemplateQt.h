#pragma once
// A chart window's style as a chart template and back: legend, colours,
// gradient, fonts, alignments, axis grids and ticks, series colours.

#include <cstdint>

#include "interchange/ChartTemplate.h"

namespace zorv {

class AnalysisChart;

ChartTemplate captureTemplate(const AnalysisChart& window);
// The colour of a series as the properties dialog and templates see it.
std::uint32_t seriesColour(const AnalysisChart& window, int index);
void setSeriesColour(AnalysisChart& window, int index, std::uint32_t colour);
// Applies in the fixed order: legend, back and panel colours, gradient, the
// title font, the axis title font to all three axes, footer and legend
// fonts, alignments, the left, bottom and right axes, series colours 0–11.
void applyTemplate(AnalysisChart& window, const ChartTemplate& tpl);

}  // namespace zorv

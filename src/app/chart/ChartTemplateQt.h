#pragma once
// A chart window's style as a chart template and back: legend, colours,
// gradient, fonts, alignments, axis grids and ticks, series colours.

#include <QString>

#include "interchange/ChartTemplate.h"

namespace zorv {

class TfmGraph;
class UserDialogs;

ChartTemplate captureTemplate(const TfmGraph& window);
// The colour of a series as the properties dialog and templates see it.
std::uint32_t seriesColour(const TfmGraph& window, int index);
void setSeriesColour(TfmGraph& window, int index, std::uint32_t colour);
// Applies in the fixed order: legend, back and panel colours, gradient, the
// title font, the axis title font to all three axes, footer and legend
// fonts, alignments, the left, bottom and right axes, series colours 0–11.
void applyTemplate(TfmGraph& window, const ChartTemplate& tpl);

// The default template of a new chart window: `fileName` empty applies
// nothing; a file that cannot be read shows its message.
void applyDefaultTemplate(TfmGraph& window, const std::string& fileName, UserDialogs& dialogs);

// "Zapisz wykres jako szablon" and "Odczytaj szablon wykresu".
void saveTemplateCommand(TfmGraph& window, UserDialogs& dialogs, const QString& workDir);
void loadTemplateCommand(TfmGraph& window, UserDialogs& dialogs, const QString& databaseDir);

}  // namespace zorv

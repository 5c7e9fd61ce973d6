#pragma once
// The charts a hazard map is drawn as: one per value column, in the order of
// the table (a quantity's error column and the smoothing factor h are shown
// by the node's text, not drawn); a change map draws the rate ratio, the b
// difference and the significance of the difference.

#include <string>
#include <vector>

namespace zorv {

class Database;

// Empty for an analysis that is no hazard map.
std::vector<std::string> mapChartColumns(const Database& analysis);

}  // namespace zorv

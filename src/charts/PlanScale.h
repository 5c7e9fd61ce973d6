#pragma once
// The colour scale of a hazard map: which values of a column map to the
// ends of the colours, on what kind of scale, and the colours themselves.
// A node's value is often spread over decades (rates, energies, return
// periods, small probabilities) or has a few outliers; a linear scale over
// the whole range would paint nearly every node the colour of the low end.
// So the ends are the 2nd and 98th percentiles of the node values (beyond
// them the end colours), on a logarithmic scale where the positive values
// span more than kLogSpan; a change map's difference is diverging about 0
// and its rate ratio about 1 (on a logarithmic scale), white at no change.

#include <qcustomplot.h>

#include <string>
#include <vector>

namespace zorv {

enum class PlanScaleKind {
    Linear,
    Logarithmic,
    Diverging,       // symmetric about 0, white there
    RatioDiverging,  // logarithmic, symmetric about 1, white there
};

struct PlanScale {
    PlanScaleKind kind = PlanScaleKind::Linear;
    double lower = 0.0, upper = 1.0;  // the values of the end colours
};

// The 98th over the 2nd percentile above which a positive column is drawn
// on a logarithmic scale.
inline constexpr double kLogSpan = 30.0;

// The scale of `column` for its node values (NaN: a node without a value).
PlanScale choosePlanScale(const std::string& column, const std::vector<double>& values);

// The colours of the scale: a perceptually even sequence dark blue to
// yellow, or blue through white to red; nodes without a value light grey.
QCPColorGradient planGradient(PlanScaleKind kind);

}  // namespace zorv

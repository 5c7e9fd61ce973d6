#include "charts/PlanScale.h"

#include <algorithm>
#include <cmath>

namespace zorv {

namespace {

// The p-quantile (0..1) of sorted values, linearly interpolated.
double quantile(const std::vector<double>& sorted, double p) {
    if (sorted.empty()) return std::nan("");
    const double at = p * static_cast<double>(sorted.size() - 1);
    const auto i = static_cast<std::size_t>(std::floor(at));
    const std::size_t j = std::min(i + 1, sorted.size() - 1);
    return sorted[i] + (sorted[j] - sorted[i]) * (at - static_cast<double>(i));
}

std::vector<double> finiteSorted(const std::vector<double>& values, bool positiveOnly) {
    std::vector<double> v;
    for (double x : values)
        if (std::isfinite(x) && (!positiveOnly || x > 0.0)) v.push_back(x);
    std::sort(v.begin(), v.end());
    return v;
}

}  // namespace

PlanScale choosePlanScale(const std::string& column, const std::vector<double>& values) {
    PlanScale s;
    if (column == "Roznica_b") {
        std::vector<double> a;
        for (double x : values)
            if (std::isfinite(x)) a.push_back(std::abs(x));
        std::sort(a.begin(), a.end());
        const double m = a.empty() ? 0.0 : quantile(a, 0.98);
        s.kind = PlanScaleKind::Diverging;
        s.upper = m > 0.0 ? m : 1.0;
        s.lower = -s.upper;
        return s;
    }
    if (column == "IlorazT") {
        std::vector<double> a;
        for (double x : values)
            if (std::isfinite(x) && x > 0.0) a.push_back(std::abs(std::log10(x)));
        std::sort(a.begin(), a.end());
        const double m = a.empty() ? 0.0 : quantile(a, 0.98);
        s.kind = PlanScaleKind::RatioDiverging;
        s.upper = std::pow(10.0, m > 0.0 ? m : 1.0);
        s.lower = 1.0 / s.upper;
        return s;
    }
    const std::vector<double> all = finiteSorted(values, false);
    if (all.empty()) return s;
    double lo = quantile(all, 0.02), hi = quantile(all, 0.98);
    if (lo > 0.0 && hi / lo > kLogSpan) {
        s.kind = PlanScaleKind::Logarithmic;
    } else if (lo <= 0.0 && hi > 0.0) {
        // Mostly positive with some zeros (counts, energies): the positive
        // values decide when they span decades; a zero takes the low end.
        const std::vector<double> positive = finiteSorted(values, true);
        const double plo = quantile(positive, 0.02), phi = quantile(positive, 0.98);
        if (lo == 0.0 && all.front() >= 0.0 && plo > 0.0 && phi / plo > kLogSpan) {
            s.kind = PlanScaleKind::Logarithmic;
            lo = plo;
            hi = phi;
        }
    }
    if (!(hi > lo)) {
        // One value everywhere: a band about it.
        const double pad = lo != 0.0 ? std::abs(lo) * 0.1 : 0.5;
        lo -= pad;
        hi += pad;
        if (s.kind == PlanScaleKind::Logarithmic && lo <= 0.0) s.kind = PlanScaleKind::Linear;
    }
    s.lower = lo;
    s.upper = hi;
    return s;
}

QCPColorGradient planGradient(PlanScaleKind kind) {
    QCPColorGradient g;
    g.clearColorStops();
    if (kind == PlanScaleKind::Diverging || kind == PlanScaleKind::RatioDiverging) {
        g.setColorStopAt(0.0, QColor(33, 102, 172));
        g.setColorStopAt(0.25, QColor(103, 169, 207));
        g.setColorStopAt(0.5, QColor(255, 255, 255));
        g.setColorStopAt(0.75, QColor(239, 138, 98));
        g.setColorStopAt(1.0, QColor(178, 24, 43));
    } else {
        g.setColorStopAt(0.0, QColor(68, 1, 84));
        g.setColorStopAt(0.25, QColor(59, 82, 139));
        g.setColorStopAt(0.5, QColor(33, 145, 140));
        g.setColorStopAt(0.75, QColor(94, 201, 98));
        g.setColorStopAt(1.0, QColor(253, 231, 37));
    }
    g.setColorInterpolation(QCPColorGradient::ciRGB);
    // An odd count puts a level exactly on the middle: white at no change.
    g.setLevelCount(255);
    g.setNanHandling(QCPColorGradient::nhNanColor);
    g.setNanColor(QColor(215, 215, 215));
    return g;
}

}  // namespace zorv

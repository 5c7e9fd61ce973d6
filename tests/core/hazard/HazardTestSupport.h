#pragma once
// Magnitude catalogues, settings and estimator doubles for the hazard tests.

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "SampleCatalogue.h"
#include "ScriptedProgress.h"
#include "catalogue/AnalysisSettings.h"
#include "hazard/NonParametricHazard.h"
#include "table/Table.h"

namespace zorv::testing {

// Truncated Gutenberg–Richter sample (b = 1, MMin = 1, Mmax = 4.5), from R:
//   Rscript -e 'set.seed(7); x1 <- round(1 - log10(1 - runif(120) * (1 - 10^-3.5)), 4); cat(sprintf("%.4f",
//   x1), sep=", ")'
inline const std::vector<double> kGr120 = {
    2.9430, 1.2201, 1.0534, 1.0314, 1.1213, 1.6814, 1.1804, 2.5491, 1.0787, 1.2668, 1.0818, 1.1143,
    1.6431, 1.0440, 1.2623, 1.0384, 1.3570, 1.0038, 2.8364, 1.1653, 1.4428, 1.1519, 3.4423, 2.0256,
    2.9365, 1.0295, 1.4281, 1.2927, 2.5334, 1.1953, 1.4945, 1.1329, 1.0892, 1.0889, 1.2070, 1.8146,
    1.2992, 1.6785, 1.7910, 1.2650, 1.6973, 1.2089, 1.6188, 1.2492, 2.0174, 1.1671, 1.0374, 1.7353,
    1.9922, 2.4710, 1.3695, 1.5526, 1.6455, 1.4289, 1.5571, 1.2123, 1.0771, 1.0900, 1.2155, 1.1390,
    1.0925, 1.3047, 1.6264, 1.5135, 1.3409, 1.4671, 1.2746, 1.2854, 1.1785, 1.2399, 1.1469, 1.3990,
    1.7972, 1.4209, 1.0627, 1.3641, 1.2544, 1.2501, 1.4241, 2.1698, 1.9516, 1.9146, 1.1204, 1.5871,
    1.2129, 1.0357, 1.0433, 1.6232, 1.1856, 1.2341, 1.1830, 1.0037, 2.0520, 1.0873, 1.5569, 1.3683,
    1.3371, 1.1903, 1.7541, 1.0894, 1.2191, 1.2891, 1.2982, 1.2125, 1.4474, 1.1829, 2.3546, 1.0190,
    1.6292, 1.0989, 1.5011, 1.2190, 1.0262, 1.5784, 1.4256, 1.4306, 1.3622, 1.6759, 1.0883, 1.7758};

// A catalogue with DATA (one event a day from 2001-01-01) and MAGNITUDA.
inline Table magnitudeCatalogue(const std::vector<double>& magnitudes, std::int32_t firstDay = 36892) {
    Table t({{"DATA", FieldType::Date}, {"MAGNITUDA", FieldType::Float}});
    for (std::size_t i = 0; i < magnitudes.size(); ++i)
        t.appendRecord({Value::date(firstDay + static_cast<std::int32_t>(i)), Value::real(magnitudes[i])});
    t.first();
    return t;
}

inline AnalysisSettings hazardSettings(double mMin = 1.0) {
    AnalysisSettings s;
    s.OutputDir = "/tmp/zorv/";
    s.MMin = mMin;
    s.UserLocale = Locale::make('.', "yyyy-MM-dd");
    return s;
}

// Continuous truncated Gutenberg–Richter magnitudes (inverse distribution
// function of uniform numbers from a fixed seed).
inline std::vector<double> grSample(std::size_t n, std::uint64_t seed, double mMin, double mMax,
                                    double b = 1.0) {
    return sample::truncatedGutenbergRichterSample(n, seed, mMin, mMax, b);
}

// The estimator as such (the hazard tables add their report).
class Estimator : public NonParametricHazard {
public:
    using NonParametricHazard::NonParametricHazard;
    bool WriteReport(ReportLines&) override { return false; }
};

}  // namespace zorv::testing

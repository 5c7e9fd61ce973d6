// The parametric estimator: β of the truncated exponential law, the joint
// β–Mmax loop, the hazard quantities and the five tables.

#include <gtest/gtest.h>

#include <cmath>

#include "HazardTestSupport.h"
#include "base/AnalysisError.h"
#include "hazard/HazardErrors.h"
#include "hazard/ParametricTables.h"

namespace zorv {
namespace {

using testing::grSample;
using testing::hazardSettings;
using testing::magnitudeCatalogue;

const double kLn10 = std::log(10.0);

TEST(ParametricBeta, FarMaximumGivesTheUntruncatedLimit) {
    // With Mmax far above the data the equation is 1/β = x̄: the
    // maximum-likelihood estimate of the plain exponential law.
    struct Row {
        const char* name;
        double meanExcess;
    } rows[] = {{"b one", 1.0 / kLn10}, {"steep", 0.25}, {"flat", 1.0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_NEAR(SolveBeta(r.meanExcess, 60.0, 0.02, 1e-8, 40), 1.0 / r.meanExcess, 1e-6);
    }
}

TEST(ParametricBeta, TruncatedRootAgainstR) {
    // Rscript -e 'f<-function(b) 1/b-3.2/(exp(3.2*b)-1)-0.4;
    //   print(uniroot(f,c(0.01,50),tol=1e-14)$root, digits=15)'  (and 1.5, 0.5)
    struct Row {
        const char* name;
        double range, meanExcess, beta;
    } rows[] = {{"wide range", 3.2, 0.4, 2.49315866780533}, {"narrow range", 1.5, 0.5, 1.43275053327138}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_NEAR(SolveBeta(r.meanExcess, r.range, 0.02, 1e-10, 40), r.beta, 1e-8);
    }
}

TEST(ParametricBeta, Failures) {
    // A mean excess above half the range has a negative root (magnitudes
    // growing more frequent upwards).
    EXPECT_THROW(SolveBeta(0.7, 1.0, 0.02, 1e-8, 40), EHFactorBelowZero);
    EXPECT_THROW(SolveBeta(0.4, 3.2, 0.02, 1e-12, 2), ETooManyIterations);
    // All events at MMin: no range, no equation.
    EXPECT_THROW(SolveBeta(0.0, 0.0, 0.02, 1e-8, 40), EZeroNotFound);
}

TEST(ParametricDistribution, ClosedForms) {
    // python3 -c "import math; a,b,B=1.3,4.5,math.log(10);
    //   F=lambda m:(1-math.exp(-B*(m-a)))/(1-math.exp(-B*(b-a)));
    //   f=lambda m:B*math.exp(-B*(m-a))/(1-math.exp(-B*(b-a))); print(F(3.0), f(3.0))"
    struct Row {
        const char* name;
        double m, F, f;
    } rows[] = {{"below MMin", 1.0, 0.0, 0.0},
                {"at MMin", 1.3, 0.0, kLn10 / (1.0 - std::pow(10.0, -3.2))},
                {"2.0", 2.0, 0.8009791521819567, 0.4597161876109629},
                {"3.0", 3.0, 0.9806661353508938, 0.045971618761096275},
                {"at the upper bound", 4.5, 1.0, kLn10 * std::pow(10.0, -3.2) / (1.0 - std::pow(10.0, -3.2))},
                {"above the cut-off", 4.6, 1.0, 0.0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_NEAR(TruncatedExponentialCdf(r.m, 1.3, 4.5, kLn10, 4.5), r.F, 1e-13);
        EXPECT_NEAR(TruncatedExponentialDensity(r.m, 1.3, 4.5, kLn10, 4.5), r.f, 1e-13);
    }
}

TEST(ParametricTimeUnits, SpanInMonthsAndQuarters) {
    struct Row {
        const char* name;
        double days;
        TimeUnit unit;
        double count;
    } rows[] = {{"365 days in months", 365, TimeUnit::Months, 11.0 + 29.0 / 30.0},
                {"365 days in quarters", 365, TimeUnit::Quarters, 11.0 / 3.0 + 29.0 / 90.0},
                {"two years in months", 732, TimeUnit::Months, 24.0},
                {"a fraction of a day is dropped", 365.9, TimeUnit::Months, 11.0 + 29.0 / 30.0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_NEAR(timeUnitCount(r.days, r.unit), r.count, 1e-12);
    }
}

// An estimate set by hand, as the time-variation analysis hands it over.
class KnownEstimate : public ParametricHazard {
public:
    KnownEstimate(double beta_, double mMax, double rate) : ParametricHazard(hazardSettings(1.3)) {
        beta = beta_;
        mMaxEst = mMax;
        activityRate = rate;
    }
};

TEST(ParametricHazardQuantities, AgainstTheTruncatedExponentialLaw) {
    // python3 -c "import math; a,b,B,l,D=1.3,4.5,math.log(10),12.5,3.0;
    //   F=lambda m:(1-math.exp(-B*(m-a)))/(1-math.exp(-B*(b-a)));
    //   print(1-math.exp(-l*D*(1-F(3.0))), 1/((1-F(3.0))*l))"
    const KnownEstimate e(kLn10, 4.5, 12.5);
    struct Row {
        const char* name;
        double m, hazard, returnPeriod;
    } rows[] = {{"2.0", 2.0, 0.9994262299164404, 0.4019679389223623},
                {"3.0", 3.0, 0.5156850807966058, 4.137817319606516},
                {"4.0", 4.0, 0.0499054162087359, 58.60091778732301},
                {"at MMaxEst the return period is 0", 4.5, 0.0, 0.0},
                {"magnitude 0 gives 0", 0.0, 0.0, 0.0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_NEAR(e.Hazard(r.m, 3.0), r.hazard, 1e-12);
        EXPECT_NEAR(e.MeanReturnPeriod(r.m), r.returnPeriod, 1e-9 * (1.0 + r.returnPeriod));
    }
    // Below MMin every event counts.
    EXPECT_NEAR(e.Hazard(1.0, 3.0), 1.0 - std::exp(-12.5 * 3.0), 1e-15);
}

TEST(ParametricEstimator, RecoversBOfASyntheticSample) {
    // 5000 magnitudes of the truncated Gutenberg–Richter law, b = 1,
    // MMin = 1.3, Mmax = 6.0 (seeded inverse distribution function).
    const std::vector<double> m = grSample(5000, 2024, 1.3, 6.0);
    Table t = magnitudeCatalogue(m);
    for (const bool variable : {false, true}) {
        SCOPED_TRACE(variable ? "variable upper limit" : "fixed upper limit");
        try {
            const ParametricHazard e(hazardSettings(1.3), &t, TimeUnit::Months, variable);
            EXPECT_NEAR(e.Beta() / kLn10, 1.0, 0.03);
            EXPECT_GE(e.MMaxEst(), e.LargestObserved());
            EXPECT_LT(e.MMaxEst(), 10.0);
            EXPECT_EQ(e.SampleSize(), 5000);
            // One event a day: 4999 days from 2001-01-01.
            EXPECT_NEAR(e.ActivityRate(), 5000.0 / timeUnitCount(4999.0, TimeUnit::Months), 1e-12);
        } catch (const HazardError& failure) {
            // The variable limit need not have a fixed point for a sample whose
            // largest magnitude is typical of its size.
            EXPECT_TRUE(variable) << failure.what();
        }
    }
}

TEST(ParametricEstimator, SampleSizeLimit) {
    for (const int n : {29, 30}) {
        SCOPED_TRACE(n);
        Table t = magnitudeCatalogue(grSample(static_cast<std::size_t>(n), 11, 1.0, 4.0));
        if (n < 30)
            EXPECT_THROW(ParametricHazard(hazardSettings(1.0), &t, TimeUnit::Months, false), ESampleTooLow);
        else
            EXPECT_GT(ParametricHazard(hazardSettings(1.0), &t, TimeUnit::Months, false).Beta(), 0.0);
    }
}

TEST(ParametricEstimator, FirstPassIsCutOffAtItsOwnBound) {
    // Largest observed 5.6 and MMin 1.0: a first pass with F = 1 everywhere
    // would give 2·5.6 − 1.0 = 10.2 and fail whatever the data.
    std::vector<double> m = grSample(200, 5, 1.0, 5.0);
    m[100] = 5.6;
    Table t = magnitudeCatalogue(m);
    const ParametricHazard e(hazardSettings(1.0), &t, TimeUnit::Quarters, false);
    EXPECT_GT(e.MMaxEst(), 5.6);
    EXPECT_LT(e.MMaxEst(), 10.0);
    EXPECT_LE(e.PassCount(), 40);
    // The estimate is the fixed point Mmax = Mobs + ∫_MMin^Mobs F(m)^n dm of
    // the fixed upper limit, F truncated at Mmax: checked by a plain midpoint
    // sum of 200000 pieces.
    const int pieces = 200000;
    const double width = (5.6 - 1.0) / pieces;
    double integral = 0.0;
    for (int k = 0; k < pieces; ++k)
        integral += std::pow(
            TruncatedExponentialCdf(1.0 + (k + 0.5) * width, 1.0, e.MMaxEst(), e.Beta(), e.MMaxEst()), 200);
    EXPECT_NEAR(e.MMaxEst(), 5.6 + integral * width, 1e-4);
}

TEST(ParametricEstimator, EstimateAboveTheLimitFails) {
    // Two events at 9.9 far above the rest: the maximum magnitude passes 10.
    std::vector<double> m = grSample(60, 3, 1.0, 3.0);
    m[10] = m[50] = 9.9;
    Table t = magnitudeCatalogue(m);
    EXPECT_THROW(ParametricHazard(hazardSettings(1.0), &t, TimeUnit::Months, false), ETooLargeMagnitude);
}

ParametricRequest request(std::vector<double> values, double start = -1, double step = -1, double end = -1) {
    ParametricRequest r;
    r.values = std::move(values);
    r.start = start;
    r.step = step;
    r.end = end;
    r.variableUpperLimit = false;
    return r;
}

TEST(ParametricTables, RowsFieldsAndRefusals) {
    Table t = magnitudeCatalogue(grSample(400, 17, 1.0, 4.0));
    const AnalysisSettings s = hazardSettings(1.0);

    PHazard hazard(s, &t, request({3.0, 2.0}));
    const Table& h = *hazard.GetTable();
    ASSERT_EQ(h.fieldCount(), 4);
    EXPECT_EQ(h.field(1).name, "Okres");
    EXPECT_EQ(h.field(3).name, "m2");
    // D = 0, 0.2, … accumulated; the last sum stays at or below 12.
    EXPECT_GE(h.recordCount(), 60u);
    EXPECT_LE(h.recordCount(), 61u);
    EXPECT_EQ(hazard.GetTitle(), "Parametryczny hazard sejsmiczny");

    // Return periods only inside [smallest observed, MMaxEst].
    PMeanReturnPeriod mrp(s, &t, request({}, 0.0, 0.5, 20.0));
    const double lo = mrp.SmallestObserved(), hi = mrp.MMaxEst();
    const std::size_t inside = static_cast<std::size_t>(std::floor(hi / 0.5) - std::ceil(lo / 0.5)) + 1;
    EXPECT_EQ(mrp.GetTable()->recordCount(), inside);

    // The density and the distribution share their construction but not
    // their title.
    PPDF pdf(s, &t, request({}));
    EXPECT_EQ(pdf.GetTitle(), "Parametryczna funkcja gęstości prawdopodobieństwa rozkładu magnitudy");
    PCDF cdf(s, &t, request({}));
    EXPECT_EQ(cdf.GetTitle(), "Parametryczna dystrybuanta rozkładu magnitudy");
    EXPECT_EQ(cdf.GetTable()->recordCount(), pdf.GetTable()->recordCount());
    const Table& c = *cdf.GetTable();
    const int f = c.requireField("ParamCDF");
    // A distribution function: non-decreasing, never above 1.
    double previous = 0.0;
    for (std::size_t i = 0; i < c.recordCount(); ++i) {
        const double v = c.value(c.rowOfRecord(i), f).toDouble();
        EXPECT_GE(v, previous);
        EXPECT_LE(v, 1.0);
        previous = v;
    }

    for (const double step : {0.0, -0.5}) {
        SCOPED_TRACE(step);
        EXPECT_THROW(PPDF(s, &t, request({}, 1.0, step, 3.0)), AnalysisError);
    }
}

TEST(ParametricTables, Report) {
    Table t = magnitudeCatalogue(grSample(400, 17, 1.0, 4.0));
    ParametricRequest r = request({}, 1.0, 1.0, 3.0);
    r.timeUnit = TimeUnit::Quarters;
    PPDF pdf(hazardSettings(1.0), &t, r);
    ReportLines lines;
    pdf.WriteReport(lines);
    const auto has = [&](const std::string& prefix) {
        for (const std::string& l : lines)
            if (l.rfind(prefix, 0) == 0) return true;
        return false;
    };
    EXPECT_TRUE(has("  Współczynnik Beta                  "));
    EXPECT_TRUE(has("  Ilość kwartałów:                   "));
    EXPECT_TRUE(has("  Średnia aktywność/kwartał:         "));
    EXPECT_FALSE(has("  Ilość miesięcy:"));
}

}  // namespace
}  // namespace zorv

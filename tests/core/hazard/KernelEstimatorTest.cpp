// The magnitude sample, the cross-validation equation and the search for the
// smoothing factor, the kernel densities and distribution function, against
// R and SciPy; the fast sums against the plain loops of their definitions.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "HazardTestSupport.h"
#include "hazard/HazardErrors.h"
#include "hazard/KernelLoops.h"
#include "hazard/NonParametricHazard.h"
#include "hazard/Numerics.h"

namespace zorv {
namespace {

using testing::Estimator;
using testing::ScriptedProgress;

// Two normal groups, from R:
//   Rscript -e 'set.seed(11); x2 <- round(c(rnorm(50, 1.6, 0.25), rnorm(30, 2.6, 0.3)), 4);
//   cat(sprintf("%.4f", x2), sep=", ")'
const std::vector<double> kBimodal80 = {
    1.4522, 1.6066, 1.2209, 1.2593, 1.8946, 1.3665, 1.9309, 1.7562, 1.5886, 1.3490, 1.3929, 1.5129,
    1.2154, 1.5361, 1.3125, 1.6031, 1.5443, 1.8219, 1.4520, 1.4361, 1.4294, 1.5960, 1.4893, 1.6881,
    1.6183, 1.6018, 1.5531, 1.4086, 1.5447, 1.3541, 1.3239, 1.3655, 1.7697, 1.2056, 1.3825, 1.7212,
    1.5535, 1.9864, 1.4472, 1.5131, 1.1909, 1.6051, 1.8229, 1.3818, 1.8225, 1.5140, 1.0533, 1.8200,
    1.7810, 1.6550, 2.8370, 2.5310, 2.3544, 2.7499, 2.6478, 2.7628, 2.5530, 2.7316, 3.0464, 2.6180,
    2.3453, 3.3019, 2.5636, 2.0149, 2.7616, 3.1081, 2.3627, 2.2774, 2.4176, 2.8263, 2.7360, 2.5630,
    2.3711, 2.6685, 2.9358, 2.6470, 2.3934, 2.7359, 2.2797, 2.7205};

Estimator sampleOnly(Table& t, const AnalysisSettings& s, Progress* p = nullptr) {
    return Estimator(s, &t, -1.0, -1.0, {0, 0, 0}, p, Estimator::Construction::SampleOnly);
}

// ---- the sample

TEST(HKernel, ReadsTheMagnitudesAtOrAboveMMin) {
    // Record order kept; the span is that of the qualifying events (days 2 to 5).
    Table t = testing::magnitudeCatalogue({0.8, 1.4, 2.6, 0.2, 1.0, 1.7, 0.9});
    const Estimator e = sampleOnly(t, testing::hazardSettings(1.0));
    EXPECT_EQ(e.RecordCount(), 7);
    EXPECT_EQ(e.Sample(), (std::vector<double>{1.4, 2.6, 1.0, 1.7}));
    EXPECT_EQ(e.SmallestObserved(), 1.0);
    EXPECT_EQ(e.LargestObserved(), 2.6);
    EXPECT_EQ(e.FirstDate(), 36892 + 1);
    EXPECT_EQ(e.LastDate(), 36892 + 5);
}

// Small mines have magnitudes below zero; the largest observed is the
// sample's own, not a starting value of 0.
TEST(HKernel, NegativeMagnitudes) {
    Table t = testing::magnitudeCatalogue({-1.2, -0.4, -2.0, -0.9});
    const Estimator e = sampleOnly(t, testing::hazardSettings(-1.5));
    EXPECT_EQ(e.SampleSize(), 3);
    EXPECT_EQ(e.LargestObserved(), -0.4);
    EXPECT_EQ(e.SmallestObserved(), -1.2);
}

TEST(HKernel, NoRecords) {
    Table empty = testing::magnitudeCatalogue({});
    EXPECT_THROW(sampleOnly(empty, testing::hazardSettings()), ENoRecords);
    Table below = testing::magnitudeCatalogue({0.2, 0.5, 0.99});
    EXPECT_THROW(sampleOnly(below, testing::hazardSettings(1.0)), ENoRecords);
}

TEST(HKernel, SmallSampleQuestion) {
    Table t = testing::magnitudeCatalogue({1.2, 1.5, 2.0});
    const std::string question =
        "Próba do analizy zawiera mniej niż 30 elementów. Czy kontynuować procedurę przetwarzania?";
    ScriptedProgress no;
    no.answer = false;
    EXPECT_THROW(sampleOnly(t, testing::hazardSettings(), &no), EBreakProcess);
    EXPECT_EQ(no.questions, std::vector<std::string>{question});
    EXPECT_EQ(no.captions, (std::vector<std::string>{"Przeszukiwanie danych...", "Sortowanie danych..."}));

    ScriptedProgress yes;
    EXPECT_EQ(sampleOnly(t, testing::hazardSettings(), &yes).SampleSize(), 3);
    EXPECT_EQ(yes.questions.size(), 1u);

    // Without a progress window nobody is asked.
    AnalysisSettings quiet = testing::hazardSettings();
    quiet.WithProgress = false;
    ScriptedProgress unseen;
    unseen.answer = false;
    EXPECT_EQ(sampleOnly(t, quiet, &unseen).SampleSize(), 3);
    EXPECT_TRUE(unseen.questions.empty());
}

TEST(HKernel, CancelWhileCopyingTheSample) {
    Table t = testing::magnitudeCatalogue(testing::kGr120);
    ScriptedProgress p;
    // Both loops report every 1024 records and at their end: the read's
    // report passes, the copy's stops the run.
    p.cancelAfter = 1;
    EXPECT_THROW(sampleOnly(t, testing::hazardSettings(), &p), EBreakProcess);
}

// ---- the cross-validation equation against R
//
// R's least-squares cross-validation criterion (bw.ucv, without binning) is
//   UCV(h) = (1/2 + (1/n)·Σ_{i<j} (e^(−t/4) − √8·e^(−t/2))) / (n·h·√π),  t = (x_i − x_j)²/h²,
// and differentiating gives LscvFunction(h) = √(2π)·n²·h²·UCV′(h): the zero
// of LscvFunction is the stationary point of UCV, negative below it and
// positive above, i.e. UCV's minimum. Reference values of √(2π)·n²·h²·UCV′(h)
// by central differences (step 1e-6) and the minimum of UCV, from
//   ucv <- function(x, h) { n <- length(x); d <- as.vector(dist(x))^2 / h^2
//     (0.5 + sum(exp(-d/4) - sqrt(8) * exp(-d/2)) / n) / (n * h * sqrt(pi)) }
//   sqrt(2*pi) * n^2 * h^2 * (ucv(x, h+1e-6) - ucv(x, h-1e-6)) / 2e-6
//   optimize(function(h) ucv(x, h), c(0.005, 1), tol = 1e-12)$minimum
// (bw.ucv(x, nb = 100000L, lower = 0.005, upper = 1, tol = 1e-10) gives
// 0.0598575 and 0.1328671: binning moves it by about 2e-6).
struct RSample {
    const char* name;
    const std::vector<double>* x;
    double h[3], lscv[3];
    double newton, bisection;  // the zero each search finds: a minimum of UCV
};
const RSample kRSamples[] = {
    {"Gutenberg-Richter 120",
     &testing::kGr120,
     {0.05, 0.1, 0.3},
     {-29.4076077001, 169.658390353, 2950.65911159},
     0.059855753037,
     0.009850147650},
    {"bimodal 80",
     &kBimodal80,
     {0.05, 0.1, 0.3},
     {-45.5956184515, -42.7571180378, 770.820530455},
     0.132867175299,
     0.132867175299},
};

TEST(LscvFunction, AgreesWithTheDerivativeOfRsCriterion) {
    for (const RSample& r : kRSamples) {
        Table t = testing::magnitudeCatalogue(*r.x);
        const Estimator e = sampleOnly(t, testing::hazardSettings());
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(e.LscvFunction(r.h[k]), r.lscv[k], 1e-6 * std::fabs(r.lscv[k]) + 1e-5) << r.name;
    }
}

TEST(LscvDerivative, IsTheDerivativeOfLscvFunction) {
    Table t = testing::magnitudeCatalogue(kBimodal80);
    const Estimator e = sampleOnly(t, testing::hazardSettings());
    for (double h : {0.03, 0.1, 0.4}) {
        const double step = 1e-6 * h;
        const double central = (e.LscvFunction(h + step) - e.LscvFunction(h - step)) / (2 * step);
        EXPECT_NEAR(e.LscvDerivative(h), central, 1e-6 * std::fabs(central)) << h;
    }
}

// Both searches end on a minimum of R's criterion: the search stops when the step is below
// Epsilon·max(1, h) and |LscvFunction| < 100·Epsilon, which with these slopes
// (about 5000 per unit of h) pins h to 1e-7.
TEST(SmoothingFactor, SearchesFindRsMinimum) {
    for (const RSample& r : kRSamples) {
        for (const bool newton : {true, false}) {
            AnalysisSettings s = testing::hazardSettings();
            s.UseRTNI = newton;
            ScriptedProgress p;
            Table t = testing::magnitudeCatalogue(*r.x);
            const Estimator e(s, &t, -1.0, 5.0, {0, 0, 0}, &p);
            EXPECT_NEAR(e.SmoothingFactor(), newton ? r.newton : r.bisection, 1e-7)
                << r.name << (newton ? " RTNI" : " RTMI");
            EXPECT_EQ(e.RequestedH(), e.SmoothingFactor());
            EXPECT_TRUE(p.messages.empty());
            EXPECT_EQ(p.captions[2], newton ? "Poszukiwanie optymalnego współczynnika gładkości (RTNI)"
                                            : "Poszukiwanie optymalnego współczynnika gładkości (RTMI)");
        }
    }
}

TEST(SmoothingFactor, FallbacksAndMessages) {
    const std::string notFound =
        "Program nie mógł odnaleźć optymalnego współczynnika gładkości dla badanej próby. Zostanie wybrany "
        "alternatywny współczynnik h = 0.12.";
    {
        // One event: the sums are empty, RTNI meets a zero derivative and
        // RTMI the constant −1/√2 at both ends.
        Table t = testing::magnitudeCatalogue({2.0});
        ScriptedProgress p;
        const Estimator e(testing::hazardSettings(), &t, -1.0, 5.0, {0, 0, 0}, &p);
        EXPECT_EQ(e.SmoothingFactor(), 0.12);
        ASSERT_EQ(p.messages.size(), 1u);
        EXPECT_EQ(p.messages[0].title, "Nie odnaleziono optymalnego współczynnika gładkości");
        EXPECT_EQ(p.messages[0].text, notFound);
        EXPECT_TRUE(p.messages[0].error);
        EXPECT_THROW(e.LscvDerivative(0.2), EDerivZero);
        EXPECT_DOUBLE_EQ(e.LscvFunction(0.2), -1.0 / std::sqrt(2.0));
    }
    {
        AnalysisSettings s = testing::hazardSettings();
        s.UseRTNI = s.UseRTMI = false;
        s.H = 0.075;
        s.UserLocale = Locale::make(',', "dd.MM.yyyy");
        Table t = testing::magnitudeCatalogue(testing::kGr120);
        ScriptedProgress p;
        const Estimator e(s, &t, -1.0, 5.0, {0, 0, 0}, &p);
        EXPECT_EQ(e.SmoothingFactor(), 0.075);
        ASSERT_EQ(p.messages.size(), 1u);
        EXPECT_EQ(p.messages[0].title, "Wyłączone użycie procedur RTNI / RTMI");
        EXPECT_EQ(
            p.messages[0].text,
            "Wyłączone użycie procedur RTNI / RTMI. Zostanie wybrany alternatywny współczynnik gładkości h = "
            "0,075.");
        EXPECT_FALSE(p.messages[0].error);
    }
    {
        // A caller's h: no search, no message.
        Table t = testing::magnitudeCatalogue(testing::kGr120);
        ScriptedProgress p;
        const Estimator e(testing::hazardSettings(), &t, 0.2, 5.0, {0, 0, 0}, &p);
        EXPECT_EQ(e.SmoothingFactor(), 0.2);
        EXPECT_TRUE(p.messages.empty());
        EXPECT_EQ(p.captions, (std::vector<std::string>{"Przeszukiwanie danych...", "Sortowanie danych...",
                                                        "Tworzenie jądra adaptacyjnego"}));
    }
}

TEST(SmoothingFactor, CancelEndsTheRun) {
    Table t = testing::magnitudeCatalogue(testing::kGr120);
    ScriptedProgress p;
    p.cancelIn = "Poszukiwanie optymalnego współczynnika gładkości";
    p.cancelAfter = 2;  // two search steps
    EXPECT_THROW(Estimator(testing::hazardSettings(), &t, -1.0, -1.0, {0, 0, 0}, &p), EBreakProcess);
}

TEST(AdaptiveKernel, FailureIsShownAndRaised) {
    Table t = testing::magnitudeCatalogue(testing::kGr120);
    ScriptedProgress p;
    EXPECT_THROW(Estimator(testing::hazardSettings(), &t, -0.5, 5.0, {0, 0, 0}, &p), EHFactorBelowZero);
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_EQ(p.messages[0].title, "Problem...");
    EXPECT_EQ(p.messages[0].text,
              "Wystąpił problem przy obliczaniu jądra adaptacyjnego [ H=-0.5]. Proces wstrzymany...");
}

// ---- densities and distribution function against SciPy
//
// With h = 0.06 on the 120-event sample. Fixed kernel:
//   gaussian_kde(x, bw_method=h/np.std(x, ddof=1))(m)
// Adaptive kernel, transcribed in NumPy with the exact exponential and the
// seven-digit normal distribution function (/tmp script in the commit
// message of this test):
//   f = [sum(exp(-0.5*((xi-x)/h)**2))/(n*h*sqrt(2*pi)) for xi in x]; g = exp(mean(log(f)))
//   lam = 1/sqrt(f/g); pdf(m) = sum(exp(-0.5*((m-x)/(lam*h))**2)/lam)/(n*h*sqrt(2*pi))
//   cdf(m) = sum(Phi((m-x)/(lam*h)) - Phi((1-x)/(lam*h))) / sum(Phi((3.5-x)/(lam*h)) - Phi((1-x)/(lam*h)))
TEST(KernelDensities, AgreeWithScipy) {
    Table t = testing::magnitudeCatalogue(testing::kGr120);
    const Estimator e(testing::hazardSettings(), &t, 0.06, 5.0, {0, 0, 0}, nullptr);
    EXPECT_NEAR(e.GeometricMeanDensity(), 0.8548340828794296, 1e-13);
    EXPECT_NEAR(e.LocalBandwidthFactors()[0], 2.6478499855722024, 1e-12);
    EXPECT_NEAR(e.LocalBandwidthFactors()[22], 3.927825000213173, 1e-12);
    struct Row {
        double m, kde, adaptive, cdf;
    };
    const Row rows[] = {{1.0, 0.8584617200499941, 0.7737597212139867, 0.0},
                        {1.3, 1.2694071770822652, 1.2213672010931134, 0.49266799423406016},
                        {2.0, 0.2587171736766028, 0.19139786746968593, 0.9026222170619743},
                        {3.0, 0.0682811312836849, 0.05420361818890943, 0.9872794045535394}};
    for (const Row& r : rows) {
        EXPECT_NEAR(e.KernelDensity(r.m), r.kde, 1e-13) << r.m;
        EXPECT_NEAR(e.AdaptiveKernelDensity(r.m), r.adaptive, 1e-13) << r.m;
        EXPECT_NEAR(e.AdaptiveKernelCdf(r.m, 1.0, 3.5), r.cdf, 1e-13) << r.m;
    }
    // Exactly 0 and 1 outside the bounds.
    EXPECT_EQ(e.AdaptiveKernelCdf(0.999999, 1.0, 3.5), 0.0);
    EXPECT_EQ(e.AdaptiveKernelCdf(3.500001, 1.0, 3.5), 1.0);
    EXPECT_EQ(e.AdaptiveKernelCdf(3.5, 1.0, 3.5), 1.0);
}

// ---- the fast sums against the plain loops of the definitions

double plainLscv(const std::vector<double>& x, double h) {
    const double n = static_cast<double>(x.size());
    double sum = 0.0;
    for (std::size_t i = 0; i + 1 < x.size(); ++i)
        for (std::size_t j = i + 1; j < x.size(); ++j) {
            const double t = (x[j] - x[i]) * (x[j] - x[i]) / (h * h);
            sum += 2.0 * ((0.5 * t - 1.0) * (1.0 / std::sqrt(2.0)) * std::exp(-0.25 * t) -
                          2.0 * (t - 1.0) * std::exp(-0.5 * t));
        }
    return n * (2.0 - 1.0 / std::sqrt(2.0)) - 2.0 * n + sum;
}

double plainLscvDerivative(const std::vector<double>& x, double h) {
    double sum = 0.0;
    for (std::size_t i = 0; i + 1 < x.size(); ++i)
        for (std::size_t j = i + 1; j < x.size(); ++j) {
            const double d = (x[j] - x[i]) * (x[j] - x[i]);
            const double t = d / (h * h);
            sum += (2.0 / (h * h * h)) *
                   ((1.0 / std::sqrt(2.0)) * (0.25 * d * d / (h * h) - 1.5 * d) * std::exp(-0.25 * t) -
                    2.0 * (d * d / (h * h) - 3.0 * d) * std::exp(-0.5 * t));
        }
    return sum;
}

class FastSums : public ::testing::TestWithParam<kernel::Isa> {
protected:
    void SetUp() override {
        if (!kernel::select(GetParam())) GTEST_SKIP() << "processor cannot run this build";
    }
    void TearDown() override {
        kernel::select(kernel::Isa::Avx2Fma) || kernel::select(kernel::Isa::Portable);
    }
};

// Relative to the value, or to the size of its constant term (n) where the
// function passes through zero.
TEST_P(FastSums, LscvAgreesWithThePlainLoop) {
    const std::vector<double> x = testing::grSample(2500, 99, 1.0, 4.5);
    Table t = testing::magnitudeCatalogue(x);
    const Estimator e = sampleOnly(t, testing::hazardSettings());
    for (double h : {0.002, 0.0071, 0.03, 0.2, 0.9}) {
        const double n = static_cast<double>(x.size());
        const double f = plainLscv(x, h);
        EXPECT_NEAR(e.LscvFunction(h), f, 1e-12 * std::max(n, std::fabs(f))) << h;
        const double d = plainLscvDerivative(x, h);
        EXPECT_NEAR(e.LscvDerivative(h), d, 1e-12 * std::fabs(d)) << h;
    }
}

TEST_P(FastSums, EstimateAgreesWithThePlainLoops) {
    const std::vector<double> x = testing::grSample(2000, 5, 1.0, 4.0);
    Table t = testing::magnitudeCatalogue(x);
    AnalysisSettings s = testing::hazardSettings();
    s.WithProgress = false;
    const Estimator e(s, &t, -1.0, -1.0, {0, 0, 0}, nullptr);
    const double n = static_cast<double>(x.size());

    // The search run on the plain loops.
    const double h =
        RTNI([&](double v) { return plainLscv(x, v); }, [&](double v) { return plainLscvDerivative(x, v); },
             s.RTNIStart, s.Epsilon, s.Iterations, nullptr);
    EXPECT_NEAR(e.SmoothingFactor(), h, 1e-12 * h);

    // The adaptive kernel.
    const double hh = e.SmoothingFactor();
    std::vector<double> f(x.size());
    double logSum = 0.0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        double sum = 0.0;
        for (double xj : x)
            sum += std::exp(-0.5 * ((x[i] - xj) / hh) * ((x[i] - xj) / hh)) / std::sqrt(2 * M_PI);
        f[i] = sum / (n * hh);
        logSum += std::log(f[i]);
    }
    const double g = std::exp(logSum / n);
    EXPECT_NEAR(e.GeometricMeanDensity(), g, 1e-12 * g);
    for (std::size_t i = 0; i < x.size(); i += 97) {
        const double lambda = 1.0 / std::sqrt(f[i] / g);
        EXPECT_NEAR(e.LocalBandwidthFactors()[i], lambda, 1e-12 * lambda);
    }

    // The maximum magnitude with the plain distribution function.
    const std::vector<double>& lambda = e.LocalBandwidthFactors();
    const double mMin = s.MMin, mObs = e.LargestObserved();
    const auto cdf = [&](double m, double upper) {
        if (m < mMin) return 0.0;
        if (m > upper) return 1.0;
        double num = 0.0, den = 0.0;
        for (std::size_t i = 0; i < x.size(); ++i) {
            const double w = lambda[i] * hh;
            num += NormalCdf((m - x[i]) / w) - NormalCdf((mMin - x[i]) / w);
            den += NormalCdf((upper - x[i]) / w) - NormalCdf((mMin - x[i]) / w);
        }
        return num / den;
    };
    double previous = mObs, estimate = 0.0;
    for (int k = 1; k <= s.IntegralIterations; ++k) {
        estimate = mObs + GaussLegendreIntegral([&](double m) { return cdf(m, previous); }, mMin, mObs,
                                                static_cast<int>(x.size()), s.Epsilon);
        if (std::fabs(previous - estimate) < s.Epsilon) break;
        previous = estimate;
    }
    EXPECT_NEAR(e.MMaxEst(), estimate, 1e-12 * estimate);
    EXPECT_GT(e.MMaxEst(), mObs);
}

INSTANTIATE_TEST_SUITE_P(Builds, FastSums, ::testing::Values(kernel::Isa::Portable, kernel::Isa::Avx2Fma),
                         [](const auto& info) {
                             return std::string(info.param == kernel::Isa::Portable ? "Portable" : "Avx2Fma");
                         });

}  // namespace
}  // namespace zorv

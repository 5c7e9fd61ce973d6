// Root finders, adaptive Gauss–Legendre quadrature and the normal
// distribution function, against closed forms and SciPy.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "hazard/HazardErrors.h"
#include "hazard/Numerics.h"

namespace zorv {
namespace {

double exactNormalCdf(double z) { return 0.5 * std::erfc(-z / std::sqrt(2.0)); }

// Maximum error of the seven-digit polynomial over [−8, 8], from
//   /usr/bin/python3 -c "import numpy as np; from scipy.stats import norm;
//     z=np.linspace(-8,8,160001); t=1/(1+0.2316419*abs(z)); phi=0.3989423*np.exp(-z*z/2);
//     p=1-phi*t*(0.3193815+t*(-0.3565638+t*(1.781478+t*(-1.821256+t*1.330274))));
//     e=np.where(z>=0,p,1-p)-norm.cdf(z); i=abs(e).argmax(); print(abs(e).max(), z[i])"
// → 2.0976069853295698e-07 at z = −0.0578.
TEST(NormalCdf, ErrorOfTheSevenDigitPolynomialOverMinus8To8) {
    double worst = 0.0, at = 0.0;
    for (int i = -80000; i <= 80000; ++i) {
        const double z = i * 1e-4;
        const double e = std::fabs(NormalCdf(z) - exactNormalCdf(z));
        if (e > worst) worst = e, at = z;
    }
    EXPECT_NEAR(worst, 2.0976069853295698e-07, 1e-12);
    EXPECT_NEAR(at, -0.0578, 1e-9);
    // At 0 the constants give 0.50000014990049, not 0.5 within 1e-7.
    EXPECT_NEAR(NormalCdf(0.0), 0.50000014990049, 1e-14);
}

// Values of scipy.stats.norm.cdf(z) (SciPy 1.10).
TEST(NormalCdf, AgreesWithScipyWithinItsBound) {
    struct Row {
        double z, cdf;
    };
    const Row rows[] = {{-3.0, 0.0013498980316300933}, {-1.0, 0.15865525393145707},
                        {-0.5, 0.3085375387259869},    {0.5, 0.6914624612740131},
                        {1.0, 0.8413447460685429},     {1.96, 0.9750021048517795},
                        {3.0, 0.9986501019683699},     {5.0, 0.9999997133484281}};
    for (const Row& r : rows) EXPECT_NEAR(NormalCdf(r.z), r.cdf, 2.1e-7) << r.z;
}

// Exact for z ≠ 0; at 0 itself the two sides are p(0) and 1 − p(0), which
// differ by twice the polynomial's error there.
TEST(NormalCdf, IsSymmetric) {
    for (double z : {1e-9, 0.3, 1.7, 4.2, 12.0, 40.0}) EXPECT_EQ(NormalCdf(-z), 1.0 - NormalCdf(z)) << z;
    EXPECT_NEAR(NormalCdf(-0.0), 1.0 - NormalCdf(0.0), 2 * 1.5e-7);
    EXPECT_EQ(NormalCdf(40.0), 1.0);
    EXPECT_EQ(NormalCdf(-40.0), 0.0);
}

TEST(GaussLegendreIntegral, ClosedForms) {
    struct Row {
        const char* name;
        std::function<double(double)> F;
        double a, b;
        int n;
        double expected;
    };
    const double pi = 3.14159265358979323846;
    const Row rows[] = {
        // ∫_0^1 m^3 dm = 1/4: a cubic, exact for both rules at once.
        {"cubic", [](double m) { return m; }, 0.0, 1.0, 3, 0.25},
        // ∫_0^1 e^(2m) dm = (e² − 1)/2.
        {"exponential", [](double m) { return std::exp(m); }, 0.0, 1.0, 2, (std::exp(2.0) - 1.0) / 2.0},
        // The uniform distribution on [a, b]: ∫ ((m − a)/(b − a))^n = (b − a)/(n + 1); n = 200 puts all
        // the mass at the upper end and makes the halving work.
        {"uniform^200", [](double m) { return (m - 1.0) / 3.0; }, 1.0, 4.0, 200, 3.0 / 201.0},
        // Reversed bounds give the negative.
        {"reversed", [](double m) { return m; }, 1.0, 0.0, 3, -0.25},
        // ∫_0^3 (1 − e^(−m))^5 dm, scipy.integrate.quad(lambda m: (1-math.exp(-m))**5, 0, 3,
        //   epsabs=1e-13, epsrel=1e-13) → 0.9536119945512993.
        {"exponential cdf^5", [](double m) { return 1.0 - std::exp(-m); }, 0.0, 3.0, 5, 0.9536119945512993},
        // ∫_0^3 Φ((m − 1.2)/0.3)^40 dm with the exact normal distribution,
        //   quad(lambda m: norm.cdf(m,1.2,0.3)**40, 0, 3, epsabs=1e-13, epsrel=1e-13, limit=200)
        //   → 1.151766848423778.
        {"normal cdf^40", [](double m) { return exactNormalCdf((m - 1.2) / 0.3); }, 0.0, 3.0, 40,
         1.151766848423778},
        // ∫_0^π sin m dm = 2 (n = 1).
        {"sine", [](double m) { return std::sin(m); }, 0.0, pi, 1, 2.0},
    };
    for (const Row& r : rows) {
        for (double eps : {1e-5, 1e-8}) {
            const double v = GaussLegendreIntegral(r.F, r.a, r.b, r.n, eps);
            // Each accepted piece is within eps·(1 + |piece|) of its 16-point value, which is far more
            // accurate; a handful of pieces are accepted.
            EXPECT_NEAR(v, r.expected, 20 * eps * (1.0 + std::fabs(r.expected))) << r.name << " eps " << eps;
        }
    }
}

TEST(GaussLegendreIntegral, EmptyIntervalIsZeroWithoutEvaluation) {
    int calls = 0;
    EXPECT_EQ(GaussLegendreIntegral(
                  [&](double) {
                      ++calls;
                      return 1.0;
                  },
                  2.5, 2.5, 10, 1e-5),
              0.0);
    EXPECT_EQ(calls, 0);
}

// Constant 0.5 on [0, 0.5), then a value drawn from the bits of m, so that
// the two rules disagree by about s/10 on a piece of length s, never within
// 1e-15 above the length limit: [0, 0.5] is accepted, the rest
// shrinks below |b − a|·1e-12 and the sum of the accepted piece, 0.25, is
// returned without a failure.
TEST(GaussLegendreIntegral, UnreachableToleranceReturnsTheAcceptedPieces) {
    const auto F = [](double m) {
        if (m < 0.5) return 0.5;
        std::uint64_t z;
        std::memcpy(&z, &m, sizeof z);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;  // splitmix64 finaliser
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return static_cast<double>((z ^ (z >> 31)) >> 11) * 0x1.0p-53;
    };
    EXPECT_NEAR(GaussLegendreIntegral(F, 0.0, 1.0, 1, 1e-15), 0.25, 1e-15);
}

struct StepLog {
    std::vector<int> steps;
    StepMonitor monitor() {
        return [this](int k) { steps.push_back(k); };
    }
};

TEST(RTNI, FindsARootAndReportsEachStep) {
    StepLog log;
    const double r = RTNI([](double x) { return x * x - 2.0; }, [](double x) { return 2.0 * x; }, 1.0, 1e-10,
                          20, log.monitor());
    EXPECT_NEAR(r, std::sqrt(2.0), 1e-12);
    ASSERT_FALSE(log.steps.empty());
    for (std::size_t i = 0; i < log.steps.size(); ++i) EXPECT_EQ(log.steps[i], static_cast<int>(i) + 1);
}

// Each row: which failure the user sees, decided by the order of the tests.
TEST(RTNI, Failures) {
    const auto line = [](double x) { return x + 1.0; };
    const auto one = [](double) { return 1.0; };
    // Solved, but the root −1 is no smoothing factor.
    EXPECT_THROW(RTNI(line, one, 3.0, 1e-6, 20, nullptr), EHFactorBelowZero);
    // f′(0) = 0 at the start.
    EXPECT_THROW(
        RTNI([](double x) { return x * x - 2.0; }, [](double x) { return 2.0 * x; }, 0.0, 1e-6, 20, nullptr),
        EDerivZero);
    // x² + 1 has no root: with a limit of 10 the 11th step fails, after 10 reported steps.
    StepLog log;
    EXPECT_THROW(RTNI([](double x) { return x * x + 1.0; }, [](double x) { return 2.0 * x; }, 0.5, 1e-6, 10,
                      log.monitor()),
                 ETooManyIterations);
    EXPECT_EQ(log.steps.size(), 10u);
    // A function that leaves the numbers: no root to return.
    EXPECT_THROW(RTNI([](double) { return std::nan(""); }, one, 0.5, 1e-6, 10, nullptr), EZeroNotFound);
    // Cancel at the third step.
    EXPECT_THROW(RTNI([](double x) { return x * x + 1.0; }, [](double x) { return 2.0 * x; }, 0.5, 1e-6, 10,
                      [](int k) {
                          if (k == 3) throw EBreakProcess();
                      }),
                 EBreakProcess);
}

// The classical interpolation settles curves that rise steeply from the left
// end of [0.001, 1]. With the factor's sign flipped and the right end left in
// place after a step, the cube needs more than 20 steps and the logarithm 19
// (a Python transcription of both variants, /usr/bin/python3).
TEST(RTMI, SettlesSteepCurvesWithinTheLimit) {
    struct Row {
        const char* name;
        std::function<double(double)> f;
        double root;
    };
    const Row rows[] = {
        {"cube", [](double x) { return 1e4 * (x * x * x - std::pow(0.0157, 3)); }, 0.0157},
        {"logarithm", [](double x) { return 1000.0 * std::log(x / 0.0157); }, 0.0157},
        {"square root", [](double x) { return 1000.0 * (std::sqrt(x) - std::sqrt(0.0157)); }, 0.0157},
        {"root at the left end", [](double x) { return x - 0.001; }, 0.001},
    };
    for (const Row& r : rows) {
        StepLog log;
        const double x = RTMI(r.f, 0.001, 1.0, 1e-5, 20, log.monitor());
        EXPECT_NEAR(x, r.root, 1e-5 * r.root) << r.name;
        EXPECT_LE(log.steps.size(), 12u) << r.name;
    }
}

TEST(RTMI, Failures) {
    int calls = 0;
    // Same strict sign at both ends: failure after the two end values.
    EXPECT_THROW(RTMI(
                     [&](double x) {
                         ++calls;
                         return x + 1.0;
                     },
                     0.5, 1.0, 1e-5, 20, nullptr),
                 EZeroNotFound);
    EXPECT_EQ(calls, 2);
    // The root −0.5 is found exactly (midpoint of a step) and refused.
    EXPECT_THROW(RTMI([](double x) { return x + 0.5; }, -1.0, 1.0, 1e-5, 20, nullptr), EHFactorBelowZero);
    // A sign change without a root (a jump) cannot settle: limit 5 fails after the 6th step.
    StepLog log;
    EXPECT_THROW(RTMI([](double x) { return x < 0.3 ? -1.0 : 1.0; }, 0.001, 1.0, 1e-12, 5, log.monitor()),
                 ETooManyIterations);
    EXPECT_EQ(log.steps.size(), 6u);
    EXPECT_THROW(RTMI([](double x) { return x * x * x - 0.3; }, 0.001, 1.0, 1e-12, 20,
                      [](int) { throw EBreakProcess(); }),
                 EBreakProcess);
}

TEST(HazardErrors, KindsCarryTheirMessages) {
    struct Row {
        std::function<void()> raise;
        std::string message;
    };
    const Row rows[] = {
        {[] { throw ENoRecords(); }, "Brak rekordów do analizy"},
        {[] { throw ESampleTooLow(); }, "Zbyt mała próba"},
        {[] { throw ETooManyIterations(); }, "Zbyt wielka liczba iteracji, proces być może nie jest zbieżny"},
        {[] { throw ETooLargeMagnitude(); }, "Zbyt wielka wartość magnitudy/energii"},
        {[] { throw EHFactorBelowZero(); }, "Czynnik wygładzający mniejszy lub równy zero."},
        {[] { throw EDerivZero(); }, "Pochodna równa zero..."},
        {[] { throw EZeroNotFound(); }, "Nie znaleziono miejsca zerowego funkcji"},
        {[] { throw EMMaxEstExceeded(); },
         "Przekroczona dopuszczalna wartość estymatora maksymalnej magnitudy. Najprawdopodobniej proces "
         "obliczania "
         "całki nie jest zbieżny"},
        {[] { throw EBreakProcess(); }, "Procedura przerwana..."},
    };
    for (const Row& r : rows) {
        try {
            r.raise();
            ADD_FAILURE() << "nothing raised";
        } catch (const HazardError& e) {
            EXPECT_EQ(e.what(), r.message);
        }
    }
}

}  // namespace
}  // namespace zorv

// The exact interval of a ratio of Poisson rates and the incomplete beta
// function under it, against SciPy (python3-scipy 1.10):
//   from scipy.special import betainc; betainc(a, b, x)
//   from scipy.stats import beta
//   lo = beta.ppf(α/2, n2, n1 + 1); hi = beta.ppf(1 − α/2, n2 + 1, n1)
//   ratio bounds p/(1 − p)·t1/t2

#include <gtest/gtest.h>

#include <cmath>

#include "spatial/RateRatio.h"

namespace zorv {
namespace {

TEST(RateRatio, IncompleteBetaAgreesWithScipy) {
    EXPECT_NEAR(RegularizedIncompleteBeta(2.5, 3.5, 0.3), 0.2967529892956661, 1e-13);
    EXPECT_NEAR(RegularizedIncompleteBeta(50, 120, 0.3), 0.5755567051636358, 1e-12);
    EXPECT_NEAR(RegularizedIncompleteBeta(0.5, 0.5, 0.9), 0.7951672353008662, 1e-13);
    EXPECT_EQ(RegularizedIncompleteBeta(2, 3, 0.0), 0.0);
    EXPECT_EQ(RegularizedIncompleteBeta(2, 3, 1.0), 1.0);
    EXPECT_NEAR(RegularizedIncompleteBeta(2.5, 3.5, InverseIncompleteBeta(2.5, 3.5, 0.8)), 0.8, 1e-12);
}

TEST(RateRatio, ExactIntervalAgreesWithScipy) {
    const double inf = INFINITY;
    struct Row {
        const char* name;
        std::int64_t n1;
        double t1;
        std::int64_t n2;
        double t2;
        double level, ratio, lower, upper;
        bool significant;
    } rows[] = {
        {"tenfold", 20, 1.0, 200, 1.0, 0.95, 10.0, 6.304139433588458, 16.725374427321526, true},
        {"unequal exposures", 150, 2.0, 90, 1.5, 0.95, 0.8, 0.6090393071259079, 1.045812986600286, false},
        {"no events before", 0, 1.0, 5, 2.0, 0.95, inf, 0.45817792865773, inf, false},
        {"no events after", 7, 1.0, 0, 1.0, 0.9, 0.0, 0.0, 0.5341274046343908, true},
        {"large counts", 1000, 3.0, 1100, 3.0, 0.99, 1.1, 0.9820435317545261, 1.2323413203865086, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const RateRatioEstimate e = PoissonRateRatio(r.n1, r.t1, r.n2, r.t2, r.level);
        EXPECT_DOUBLE_EQ(e.ratio, r.ratio);
        if (std::isinf(r.lower))
            EXPECT_TRUE(std::isinf(e.lower));
        else
            EXPECT_NEAR(e.lower, r.lower, 1e-9 * std::max(1.0, r.lower));
        if (std::isinf(r.upper))
            EXPECT_TRUE(std::isinf(e.upper));
        else
            EXPECT_NEAR(e.upper, r.upper, 1e-9 * r.upper);
        EXPECT_EQ(e.significant(), r.significant);
    }
    EXPECT_TRUE(std::isnan(PoissonRateRatio(0, 1.0, 0, 1.0, 0.95).ratio));
}

}  // namespace
}  // namespace zorv

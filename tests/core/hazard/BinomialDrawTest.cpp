// Binomial and multinomial variates against the binomial law itself: the
// chi-square of 100,000 seeded draws against the probability function
// C(n, k) p^k (1 − p)^(n−k) (closed form; the same as
// python3 -c "from scipy.stats import binom; print(binom.pmf(k, n, p))"),
// in both branches (inversion, BTRD) and both halves of p, with the mean and
// the variance; and the multinomial's total and bin means.

#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "hazard/BinomialDraw.h"

namespace zorv {
namespace {

double binomialPmf(std::int64_t n, double p, std::int64_t k) {
    const double nd = static_cast<double>(n), kd = static_cast<double>(k);
    return std::exp(std::lgamma(nd + 1) - std::lgamma(kd + 1) - std::lgamma(nd - kd + 1) + kd * std::log(p) +
                    (nd - kd) * std::log1p(-p));
}

TEST(BinomialDraw, FollowsTheBinomialLawInEveryBranch) {
    struct Case {
        std::int64_t n;
        double p;
    };
    const Case cases[] = {
        {12, 0.3},         // inversion
        {100000, 4e-5},    // inversion, n large
        {40, 0.5},         // BTRD at its lower end
        {1000, 0.27},      // BTRD, squeezes and the Stirling bound
        {10000000, 0.07},  // BTRD, a large bin of a large catalogue
        {300, 0.93},       // p above 1/2: the draw of 1 − p turned round
    };
    constexpr int kDraws = 100000;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.n) + ", " + std::to_string(c.p));
        std::mt19937_64 g(4242);
        std::map<std::int64_t, int> seen;
        double sum = 0.0, squares = 0.0;
        for (int i = 0; i < kDraws; ++i) {
            const std::int64_t k = binomialDraw(g, c.n, c.p);
            ASSERT_GE(k, 0);
            ASSERT_LE(k, c.n);
            ++seen[k];
            sum += static_cast<double>(k);
            squares += static_cast<double>(k) * static_cast<double>(k);
        }
        const double mean = sum / kDraws;
        const double variance = squares / kDraws - mean * mean;
        const double nd = static_cast<double>(c.n);
        const double sd = std::sqrt(nd * c.p * (1 - c.p));
        EXPECT_NEAR(mean, nd * c.p, 4.0 * sd / std::sqrt(kDraws));
        EXPECT_NEAR(variance / (sd * sd), 1.0, 0.03);

        // Chi-square over cells of at least 20 expected draws, pooled from the
        // centre outwards; the tails beyond them form two cells of their own.
        const auto mode = static_cast<std::int64_t>(std::floor((nd + 1) * c.p));
        double chi2 = 0.0;
        int cells = 0;
        double expectedInside = 0.0;
        int observedInside = 0;
        auto addCell = [&](double expected, int observed) {
            chi2 += (observed - expected) * (observed - expected) / expected;
            ++cells;
        };
        for (int side : {-1, 1}) {
            double expected = 0.0;
            int observed = 0;
            for (std::int64_t k = side < 0 ? mode : mode + 1; k >= 0 && k <= c.n; k += side) {
                const double e = kDraws * binomialPmf(c.n, c.p, k);
                if (e < 1e-3 && expected == 0.0) break;
                expected += e;
                observed += seen.count(k) ? seen[k] : 0;
                if (expected >= 20.0) {
                    addCell(expected, observed);
                    expectedInside += expected;
                    observedInside += observed;
                    expected = 0.0;
                    observed = 0;
                }
            }
        }
        // Whatever lies outside the cells, as one.
        addCell(std::max(kDraws - expectedInside, 1e-3), kDraws - observedInside);
        const double df = cells - 1;
        // 0.1 % upper quantile of chi-square, Wilson–Hilferty.
        const double z = 3.090232, w = 2.0 / (9.0 * df);
        const double critical = df * std::pow(1.0 - w + z * std::sqrt(w), 3.0);
        EXPECT_LT(chi2, critical) << cells << " cells";
    }
}

TEST(BinomialDraw, DegenerateArguments) {
    std::mt19937_64 g(1);
    EXPECT_EQ(binomialDraw(g, 0, 0.5), 0);
    EXPECT_EQ(binomialDraw(g, 10, 0.0), 0);
    EXPECT_EQ(binomialDraw(g, 10, 1.0), 10);
    EXPECT_EQ(binomialDraw(g, 10000000000, 1.0), 10000000000);
}

TEST(MultinomialDraw, KeepsTheTotalAndTheBinShares) {
    const std::vector<std::int64_t> weights{0, 500, 3, 0, 1200000, 77, 0};
    const std::int64_t total = 1200580;
    std::mt19937_64 g(99);
    std::vector<std::int64_t> out;
    std::vector<double> mean(weights.size(), 0.0);
    constexpr int kDraws = 2000;
    for (int i = 0; i < kDraws; ++i) {
        multinomialDraw(g, total, weights, out);
        ASSERT_EQ(out.size(), weights.size());
        std::int64_t sum = 0;
        for (std::size_t j = 0; j < out.size(); ++j) {
            if (weights[j] == 0) {
                EXPECT_EQ(out[j], 0);
            }
            sum += out[j];
            mean[j] += static_cast<double>(out[j]) / kDraws;
        }
        ASSERT_EQ(sum, total);
    }
    for (std::size_t j = 0; j < weights.size(); ++j) {
        const double p = static_cast<double>(weights[j]) / static_cast<double>(total);
        const double sd = std::sqrt(static_cast<double>(total) * p * (1 - p) / kDraws);
        EXPECT_NEAR(mean[j], static_cast<double>(weights[j]), 4.0 * sd + 1e-12) << j;
    }
}

}  // namespace
}  // namespace zorv

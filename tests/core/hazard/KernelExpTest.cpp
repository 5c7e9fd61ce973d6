// The exponential of the kernel loops against the standard library's, for
// each instruction-set build the processor can run.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "hazard/KernelLoops.h"

namespace zorv {
namespace {

class KernelExp : public ::testing::TestWithParam<kernel::Isa> {
protected:
    void SetUp() override {
        loops_ = kernel::loopsFor(GetParam());
        if (!loops_) GTEST_SKIP() << "processor cannot run this build";
    }
    std::vector<double> exp(const std::vector<double>& x) const {
        std::vector<double> out(x.size(), -1.0);
        loops_->expAt(x.data(), x.size(), out.data());
        return out;
    }
    const kernel::Loops* loops_ = nullptr;
};

// Largest |e − std::exp(x)| / std::exp(x) over x.
double largestRelativeError(const std::vector<double>& x, const std::vector<double>& e) {
    double worst = 0.0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        const double want = std::exp(x[i]);
        worst = std::max(worst, std::fabs(e[i] - want) / want);
    }
    return worst;
}

// Random points over the whole range, points on both sides of every
// reduction boundary (multiples of ln 2 / 128) near 0 and near the low end,
// and an odd count so that the last vector is partly filled.
TEST_P(KernelExp, WithinOneAndAHalfUlpOfTheLibraryDownToMinus708) {
    std::vector<double> x;
    std::mt19937_64 random(20240611);
    std::uniform_real_distribution<double> whole(-708.0, 0.0), small(-1.0, 0.0);
    for (int k = 0; k < 400001; ++k) x.push_back(whole(random));
    for (int k = 0; k < 100000; ++k) x.push_back(small(random));
    const double step = std::log(2.0) / 128.0;
    for (int k = 1; k < 20000; ++k)
        for (const double base : {0.0, -700.0}) {
            const double b = base - k * step;
            if (b < -708.0) continue;
            x.push_back(std::nextafter(b, 0.0));
            x.push_back(b);
            x.push_back(std::nextafter(b, -1000.0));
        }
    if (x.size() % 2 == 1) x.push_back(-0.25);
    x.push_back(-708.0);
    x.push_back(-std::numeric_limits<double>::denorm_min());
    x.push_back(-1e-300);
    ASSERT_EQ(x.size() % 2, 1u);
    const std::vector<double> e = exp(x);
    const double worst = largestRelativeError(x, e);
    EXPECT_LE(worst, 3.3e-16);  // one and a half units in the last place
    // −708 still gives a normal number.
    EXPECT_GE(e[x.size() - 3], std::numeric_limits<double>::min());
}

// e^0 = 1 exactly; below −708 exactly 0, where the library's value is below
// 1.5 times the smallest normal number anyway; a NaN stays NaN.
TEST_P(KernelExp, EndsOfTheRange) {
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<double> x = {0.0,    -0.0,   -708.0000001, -708.5, -709.78, -745.0,      -745.2,
                                   -800.0, -1e300, -inf,         -1e-17, -1e-300, std::nan("")};
    const std::vector<double> e = exp(x);
    EXPECT_EQ(e[0], 1.0);
    EXPECT_EQ(e[1], 1.0);
    for (std::size_t i = 2; i < 10; ++i) {
        EXPECT_EQ(e[i], 0.0) << x[i];
        EXPECT_LT(std::exp(x[i]), 1.5 * std::numeric_limits<double>::min()) << x[i];
    }
    EXPECT_EQ(e[10], std::exp(-1e-17));
    EXPECT_EQ(e[11], 1.0);
    EXPECT_TRUE(std::isnan(e[12]));
}

INSTANTIATE_TEST_SUITE_P(Builds, KernelExp, ::testing::Values(kernel::Isa::Portable, kernel::Isa::Avx2Fma),
                         [](const auto& info) {
                             return std::string(info.param == kernel::Isa::Portable ? "Portable" : "Avx2Fma");
                         });

}  // namespace
}  // namespace zorv

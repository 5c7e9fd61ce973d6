#include "hazard/KernelSums.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

#include "hazard/CellSums.h"
#include "hazard/ChunkPool.h"
#include "hazard/KernelLoops.h"
#include "hazard/LowRankPairSums.h"

namespace zorv {

namespace {

constexpr std::size_t kPad = 8;
// Work of one chunk, in pairs (or point evaluations): about 0.1 ms.
constexpr std::size_t kChunkWork = std::size_t{1} << 18;
// Terms beyond these distances are far below a double sum's last digit.
constexpr double kLscvReach = 17.320508075688772;  // √300: t > 300 → e^(−t/4) < 3e-33
// A density sum holds its own point's term 1, so fewer than 2^32 neighbours
// with u²/2 > 60 (each below 8.8e-27) change it by less than 4e-17 of itself.
constexpr double kGaussReach = 10.954451150103322;  // √120
constexpr std::size_t kCdfChunk = 1024;             // sample values per chunk of the node sums
// The interpolated cross-validation sums (LowRankPairSums.h): their cost per
// sample value and node, and per pair of nodes, in pairs of the loop.
constexpr double kWeightCost = 1.25;
constexpr double kNodePairCost = 1.0;
constexpr std::size_t kMaxLowRankDegree = 4096;
// The expansions between cells (CellSums.h): from this sample size (below
// it every sum is the loop's or the interpolation's, to the last bit as
// before), with their order chosen for an error below kCellTarget of the
// criterion's scale and used only where the bound is below kCellBound of
// it; an operation of theirs against a pair of the loop; and the most cells
// (their moments are kept in memory).
constexpr std::size_t kCellMinimumSample = 30000;
constexpr double kCellTarget = 1e-11;
constexpr double kCellBound = 1e-9;
constexpr double kCellOpCost = 0.5;
constexpr double kMaxCells = 4194304.0;

// Splits rows 0 … n−1 into chunks of about kChunkWork units of work.
std::vector<std::size_t> chunkRows(std::size_t n, const std::function<std::size_t(std::size_t)>& work) {
    std::vector<std::size_t> bounds{0};
    std::size_t acc = 0;
    for (std::size_t i = 0; i < n; ++i) {
        acc += work(i) + 8;  // a row costs at least its setup
        if (acc >= kChunkWork) {
            bounds.push_back(i + 1);
            acc = 0;
        }
    }
    if (bounds.back() != n) bounds.push_back(n);
    return bounds;
}

}  // namespace

KernelSums::KernelSums(const std::vector<double>& sample) : n_(sample.size()) {
    record_.resize(n_);
    std::iota(record_.begin(), record_.end(), 0u);
    std::stable_sort(record_.begin(), record_.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return sample[a] < sample[b]; });
    x_.resize(n_ + kPad);
    for (std::size_t k = 0; k < n_; ++k) x_[k] = sample[record_[k]];
    for (std::size_t k = n_; k < n_ + kPad; ++k) x_[k] = n_ ? x_[n_ - 1] : 0.0;
    ones_.assign(n_ + kPad, 1.0);
}

bool KernelSums::lscv(double h, bool derivative, LscvParts& out, const Stop& stop) const {
    out = {};
    if (n_ < 2) return true;
    const double invH2 = 1.0 / (h * h);
    const double reach = kLscvReach * std::fabs(h);
    std::vector<std::uint32_t> end(n_);
    std::size_t j = 0;
    for (std::size_t i = 0; i < n_; ++i) {
        j = std::max(j, i + 1);
        while (j < n_ && x_[j] - x_[i] <= reach) ++j;
        end[i] = static_cast<std::uint32_t>(j);
    }
    // A bandwidth wide against the sample's range reaches most pairs: there
    // the interpolated kernels cost less than the loop.
    double pairs = 0.0;
    for (std::size_t i = 0; i < n_; ++i) pairs += static_cast<double>(end[i] - i - 1);
    const std::size_t degree = LowRankDegree(x_[n_ - 1] - x_[0], h);
    const double nodes = static_cast<double>(degree + 1);
    const bool lowRank = degree != 0 && degree <= kMaxLowRankDegree;
    const double lowRankCost =
        lowRank ? kWeightCost * static_cast<double>(n_) * nodes + kNodePairCost * nodes * nodes : pairs;
    // A large sample: the expansions between cells, where their bound is
    // far below the criterion's scale (its constant terms, of the order of
    // n) and they cost less than either other way.
    if (n_ >= kCellMinimumSample && std::fabs(h) > 0.0 && std::isfinite(h) &&
        (x_[n_ - 1] - x_[0]) / (0.5 * std::fabs(h)) < kMaxCells) {
        const double scale = static_cast<double>(n_);
        const CellSums cells(x_.data(), n_, std::fabs(h), kCellTarget * scale);
        if (kCellOpCost * cells.cost() < std::min(pairs, lowRankCost) &&
            cells.functionBound() <= kCellBound * scale &&
            (!derivative || cells.derivativeBound() <= kCellBound * scale)) {
            double parts[2];
            if (!cells.sums(derivative, parts, stop)) return false;
            out.function = parts[0];
            out.derivative = parts[1];
            return true;
        }
    }
    if (lowRank) {
        if (lowRankCost < pairs) {
            double parts[2];
            if (!LowRankLscv(x_.data(), n_, h, degree, derivative, parts, stop)) return false;
            out.function = parts[0];
            out.derivative = parts[1];
            return true;
        }
    }
    const std::vector<std::size_t> bounds = chunkRows(n_, [&](std::size_t i) { return end[i] - i - 1; });
    const std::size_t chunks = bounds.size() - 1;
    std::vector<std::array<double, 2>> partial(chunks);
    const kernel::Loops& loops = kernel::loops();
    const bool done = ChunkPool::shared().run(
        chunks,
        [&](std::size_t c) {
            loops.lscvRows(x_.data(), end.data(), bounds[c], bounds[c + 1], invH2, derivative,
                           partial[c].data());
        },
        stop);
    if (!done) return false;
    for (const auto& p : partial) {
        out.function += p[0];
        out.derivative += p[1];
    }
    return true;
}

bool KernelSums::densitySums(double h, std::vector<double>& out, const Stop& stop) const {
    out.assign(n_, 0.0);
    if (n_ == 0) return true;
    const double invH = 1.0 / h;
    const double reach = kGaussReach * std::fabs(h);
    std::vector<std::uint32_t> begin(n_), end(n_);
    std::size_t lo = 0, hi = 0;
    for (std::size_t i = 0; i < n_; ++i) {
        while (x_[i] - x_[lo] > reach) ++lo;
        hi = std::max(hi, i + 1);
        while (hi < n_ && x_[hi] - x_[i] <= reach) ++hi;
        begin[i] = static_cast<std::uint32_t>(lo);
        end[i] = static_cast<std::uint32_t>(hi);
    }
    const std::vector<std::size_t> bounds = chunkRows(n_, [&](std::size_t i) { return end[i] - begin[i]; });
    std::vector<double> sorted(n_);
    const kernel::Loops& loops = kernel::loops();
    const bool done = ChunkPool::shared().run(
        bounds.size() - 1,
        [&](std::size_t c) {
            loops.gaussRows(x_.data(), begin.data(), end.data(), bounds[c], bounds[c + 1], invH,
                            sorted.data() + bounds[c]);
        },
        stop);
    if (!done) return false;
    for (std::size_t k = 0; k < n_; ++k) out[record_[k]] = sorted[k];
    return true;
}

double KernelSums::gaussSum(double m, double h) const {
    const std::vector<double> scale(n_ + kPad, 1.0 / h);
    return kernel::loops().gaussSum(x_.data(), scale.data(), ones_.data(), 0, n_, m);
}

void KernelSums::setAdaptive(const std::vector<double>& lambda, double h) {
    h_ = h;
    scale_.assign(n_ + kPad, 0.0);
    weight_.assign(n_ + kPad, 0.0);
    for (std::size_t k = 0; k < n_; ++k) {
        const double l = lambda[record_[k]];
        scale_[k] = 1.0 / (l * h);
        weight_[k] = 1.0 / l;
    }
    lowValid_ = false;
}

double KernelSums::adaptiveGaussSum(double m) const {
    return kernel::loops().gaussSum(x_.data(), scale_.data(), weight_.data(), 0, n_, m);
}

const double* KernelSums::lowAt(double lower) const {
    if (!lowValid_ || lowerCached_ != lower) {
        low_.assign(n_ + kPad, 0.0);
        kernel::loops().cdfAt(x_.data(), scale_.data(), 0, n_, lower, low_.data());
        lowerCached_ = lower;
        lowValid_ = true;
    }
    return low_.data();
}

double KernelSums::adaptiveCdfSum(double v, double lower) const {
    return kernel::loops().cdfSum(x_.data(), scale_.data(), lowAt(lower), 0, n_, v);
}

bool KernelSums::adaptiveCdfSums(const double* m, std::size_t count, double lower, double* out,
                                 const Stop& stop) const {
    const double* low = lowAt(lower);
    const std::size_t lanes = (count + 7) / 8 * 8;
    std::vector<double> points(lanes, count ? m[count - 1] : 0.0);
    std::copy(m, m + count, points.begin());
    const std::size_t chunks = std::max<std::size_t>(1, (n_ + kCdfChunk - 1) / kCdfChunk);
    std::vector<double> partial(chunks * lanes, 0.0);
    const kernel::Loops& loops = kernel::loops();
    const bool done = ChunkPool::shared().run(
        chunks,
        [&](std::size_t c) {
            const std::size_t i0 = c * kCdfChunk, i1 = std::min(n_, i0 + kCdfChunk);
            loops.cdfSums(x_.data(), scale_.data(), low, i0, i1, points.data(), lanes,
                          partial.data() + c * lanes);
        },
        stop);
    if (!done) return false;
    for (std::size_t k = 0; k < count; ++k) {
        double s = 0.0;
        for (std::size_t c = 0; c < chunks; ++c) s += partial[c * lanes + k];
        out[k] = s;
    }
    return true;
}

}  // namespace zorv

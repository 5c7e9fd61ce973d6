#include "hazard/HazardBootstrap.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <exception>
#include <mutex>
#include <thread>

#include "base/HazardError.h"

namespace zorv {

namespace {

std::uint64_t splitMix64(std::uint64_t z) {
    z += 0x9e3779b97f4a7c15ULL;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

}  // namespace

std::optional<std::string> BootstrapProblem(const BootstrapOptions& o) {
    if (!o.enabled) return std::nullopt;
    if (o.replicates < kMinReplicates || o.replicates > kMaxReplicates)
        return "Liczba replikacji B musi być liczbą całkowitą od " + std::to_string(kMinReplicates) + " do " +
               std::to_string(kMaxReplicates) + ".";
    if (!(o.level >= kMinLevel && o.level <= kMaxLevel))
        return "Poziom ufności musi leżeć w przedziale od 0,5 do 0,999.";
    return std::nullopt;
}

std::mt19937_64 ReplicateStream(std::uint64_t seed, int replicate) {
    const std::uint64_t mixed = splitMix64(splitMix64(seed) ^ static_cast<std::uint64_t>(replicate));
    std::seed_seq seq{static_cast<std::uint32_t>(mixed), static_cast<std::uint32_t>(mixed >> 32)};
    return std::mt19937_64(seq);
}

std::vector<std::uint32_t> ResampleIndices(std::mt19937_64& stream, std::size_t n) {
    std::vector<std::uint32_t> out;
    if (n == 0) return out;
    std::poisson_distribution<long long> count(static_cast<double>(n));
    const long long m = count(stream);
    std::uniform_int_distribution<std::uint32_t> pick(0, static_cast<std::uint32_t>(n - 1));
    out.resize(static_cast<std::size_t>(std::max(0LL, m)));
    for (std::uint32_t& i : out) i = pick(stream);
    return out;
}

MMaxBand BoundedMMaxBand(Band percentiles, double largestObserved) {
    MMaxBand out;
    out.band = percentiles;
    if (std::isnan(percentiles.lower) || !std::isfinite(largestObserved)) return out;
    if (percentiles.lower < largestObserved) {
        out.raisedFrom = percentiles.lower;
        out.band.lower = largestObserved;
    }
    out.band.upper = std::max(percentiles.upper, largestObserved);
    return out;
}

Band PercentileBand(std::vector<double> values, double level) {
    values.erase(std::remove_if(values.begin(), values.end(), [](double v) { return std::isnan(v); }),
                 values.end());
    Band band;
    if (values.empty()) return band;
    std::sort(values.begin(), values.end());
    const auto quantile = [&](double p) {
        const double h = (static_cast<double>(values.size()) - 1.0) * p;
        const std::size_t k = static_cast<std::size_t>(std::floor(h));
        if (k + 1 >= values.size()) return values.back();
        const double lo = values[k], hi = values[k + 1];
        if (lo == hi) return lo;  // also two equal infinities
        return lo + (h - static_cast<double>(k)) * (hi - lo);
    };
    band.lower = quantile(0.5 * (1.0 - level));
    band.upper = quantile(0.5 * (1.0 + level));
    return band;
}

ReplicateRun RunReplicates(int count, int threads, const std::function<void(int, const StopTest&)>& replicate,
                           const std::function<void(int)>& step) {
    ReplicateRun run;
    run.ok.assign(static_cast<std::size_t>(std::max(count, 0)), 0);
    if (count <= 0) return run;
    if (threads <= 0) threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    threads = std::min(threads, count);

    std::atomic<int> next{0};
    std::atomic<int> finished{0};
    std::atomic<bool> stop{false};
    std::mutex failureLock;
    std::exception_ptr failure;
    const StopTest stopTest = [&stop] { return stop.load(std::memory_order_relaxed); };
    const auto fail = [&](std::exception_ptr e) {
        std::lock_guard<std::mutex> lock(failureLock);
        if (!failure) failure = e;
        stop = true;
    };
    // Returns false when there is no more work or the run is being stopped.
    const auto one = [&]() {
        if (stop) return false;
        const int k = next.fetch_add(1);
        if (k >= count) return false;
        try {
            replicate(k, stopTest);
            run.ok[static_cast<std::size_t>(k)] = 1;
        } catch (const EBreakProcess&) {
            fail(std::current_exception());
            return false;
        } catch (...) {
            // An estimator failure: the replicate counts as failed.
        }
        finished.fetch_add(1);
        return true;
    };
    std::vector<std::thread> helpers;
    for (int t = 1; t < threads; ++t)
        helpers.emplace_back([&] {
            while (one()) {
            }
        });
    while (one()) {
        try {
            step(finished.load());
        } catch (...) {
            fail(std::current_exception());
        }
    }
    for (std::thread& t : helpers) t.join();
    if (failure) std::rethrow_exception(failure);
    step(count);
    for (char ok : run.ok) run.failed += ok ? 0 : 1;
    return run;
}

std::string BandFieldName(const std::string& base, bool upper) {
    std::string stem = base == "pdf_est_adapt"   ? "pdf_ad"
                       : base == "cdf_est_adapt" ? "cdf_ad"
                       : base == "ParamPDF"      ? "PPDF"
                       : base == "ParamCDF"      ? "PCDF"
                                                 : base;
    if (stem.size() > 7) stem.resize(7);
    return stem + (upper ? "_hi" : "_lo");
}

}  // namespace zorv

#pragma once
// Seeded synthetic catalogues on a plan for the map tests: regions of known
// b-value, rate and completeness, events uniform over each region and over
// the time span, records in time order.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "catalogue/AnalysisSettings.h"
#include "table/Table.h"

namespace zorv::testing {

inline constexpr std::int32_t kMapFirstDay = 36892;  // 2001-01-01

// A rectangle of the plan [m] with its events: count, b-value, the smallest
// magnitude recorded there, the largest possible magnitude and, for a
// change, the b-value after `changeDay` (days from the first day).
struct Region {
    double x0, y0, x1, y1;
    int events;
    double b;
    double mMin;
    double mMax = 4.5;
    double bAfter = 0.0;  // 0: no change
    int changeDay = 0;
};

struct MapEvent {
    double day;
    double x, y, m;
};

// Truncated Gutenberg–Richter magnitude by the inverse distribution function.
inline double grMagnitude(std::mt19937_64& g, double mMin, double mMax, double b) {
    std::uniform_real_distribution<double> u(0.0, 1.0);
    const double beta = b * std::log(10.0);
    return mMin - std::log1p(-u(g) * -std::expm1(-beta * (mMax - mMin))) / beta;
}

// Events of every region over `days` days; X and Y rounded to whole metres
// (the catalogue stores integers), energies by log10 E = 1.96·M + 1.15.
inline Table mapCatalogue(const std::vector<Region>& regions, int days, std::uint64_t seed) {
    std::mt19937_64 g(seed);
    std::vector<MapEvent> events;
    for (const Region& r : regions) {
        std::uniform_real_distribution<double> ux(r.x0, r.x1), uy(r.y0, r.y1), ut(0.0, days);
        for (int i = 0; i < r.events; ++i) {
            MapEvent e;
            e.day = std::floor(ut(g));
            e.x = std::round(ux(g));
            e.y = std::round(uy(g));
            const double b = r.bAfter > 0.0 && e.day >= r.changeDay ? r.bAfter : r.b;
            e.m = grMagnitude(g, r.mMin, r.mMax, b);
            events.push_back(e);
        }
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const MapEvent& a, const MapEvent& b) { return a.day < b.day; });
    Table t({{"DATA", FieldType::Date},
             {"X", FieldType::Integer},
             {"Y", FieldType::Integer},
             {"ENG", FieldType::Float},
             {"MAGNITUDA", FieldType::Float}});
    for (const MapEvent& e : events)
        t.appendRecord({Value::date(kMapFirstDay + static_cast<std::int32_t>(e.day)),
                        Value::integer(static_cast<std::int64_t>(e.x)),
                        Value::integer(static_cast<std::int64_t>(e.y)),
                        Value::real(std::pow(10.0, 1.96 * e.m + 1.15)), Value::real(e.m)});
    t.first();
    return t;
}

inline AnalysisSettings mapSettings(double mMin = 1.0) {
    AnalysisSettings s;
    s.OutputDir = "/tmp/zorv/";
    s.MMin = mMin;
    s.WithProgress = false;
    s.UserLocale = Locale::make('.', "yyyy-MM-dd");
    return s;
}

}  // namespace zorv::testing

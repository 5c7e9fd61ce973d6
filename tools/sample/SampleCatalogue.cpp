#include "SampleCatalogue.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "text/Dates.h"

namespace zorv::sample {

namespace {

class Random {
public:
    explicit Random(std::uint64_t seed) : engine_(seed) {}
    // Uniform on [0, 1), 53 random bits.
    double uniform() { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }
    double uniform(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    double normal() {
        // Box–Muller; 1 − u keeps the logarithm finite.
        const double u = 1.0 - uniform();
        const double v = uniform();
        return std::sqrt(-2.0 * std::log(u)) * std::cos(2.0 * std::numbers::pi * v);
    }
    // Poisson count by multiplying uniforms (rates here are small).
    int poisson(double mean) {
        const double limit = std::exp(-mean);
        int k = 0;
        double p = uniform();
        while (p > limit) {
            ++k;
            p *= uniform();
        }
        return k;
    }

private:
    std::mt19937_64 engine_;
};

constexpr double kB = 1.0;         // Gutenberg–Richter b-value
constexpr double kMLow = 0.3;      // smallest magnitude the network can see
constexpr double kMMax = 4.2;      // upper truncation
constexpr double kComplete = 1.3;  // completeness threshold of the network
constexpr double kA = 1.96, kBCoeff = 1.15;

// Share of events of magnitude m that the network records.
double detection(double m) {
    if (m >= kComplete) return 1.0;
    const double t = (m - kMLow) / (kComplete - kMLow);
    return t * t;
}

double truncatedGutenbergRichter(Random& rnd) {
    const double span = 1.0 - std::pow(10.0, -kB * (kMMax - kMLow));
    return kMLow - std::log10(1.0 - rnd.uniform() * span) / kB;
}

struct Zone {
    std::string code;
    std::string face;   // longwall and seam, for the description
    double x0, y0;      // front position at the start of mining [m]
    double heading;     // direction of advance [rad]
    double speed;       // advance [m/day]
    double start, end;  // mining period as fractions of the span
    double weight;      // relative activity
    double phase;       // of the seasonal swing [rad]
};

std::vector<Zone> makeZones(Random& rnd) {
    const int zonesPerDepartment[4] = {4, 3, 5, 4};
    std::vector<Zone> zones;
    for (int d = 0; d < 4; ++d) {
        // Departments lie side by side; the zones of one share its ground.
        const double cx = 4000.0 + 2500.0 * d;
        const double cy = 3000.0 + 1200.0 * (d % 2);
        for (int z = 0; z < zonesPerDepartment[d]; ++z) {
            Zone zone;
            zone.code = "G-" + std::to_string(d + 1) + "/" + std::to_string(z + 1);
            zone.face = "ściana " + std::to_string(100 * (d + 1) + z + 1) + ", pokład " +
                        std::to_string(501 + (z % 3) * 9);
            zone.x0 = cx + rnd.uniform(-900.0, 900.0);
            zone.y0 = cy + rnd.uniform(-1200.0, 1200.0);
            zone.heading = rnd.uniform(0.0, 2.0 * std::numbers::pi);
            zone.speed = rnd.uniform(1.0, 3.5);
            zone.start = z == 0 ? 0.0 : rnd.uniform(0.0, 0.5);
            zone.end = z == 0 ? 1.0 : std::min(1.0, zone.start + rnd.uniform(0.35, 0.9));
            zone.weight = rnd.uniform(0.4, 1.6);
            zone.phase = rnd.uniform(0.0, 2.0 * std::numbers::pi);
            zones.push_back(zone);
        }
    }
    return zones;
}

// Activity of a zone on a day, before scaling: nothing outside its mining
// period, a ramp over the first and last months, and a seasonal swing.
double activity(const Zone& z, double fraction, double day) {
    if (fraction < z.start || fraction > z.end) return 0.0;
    const double ramp = std::min({1.0, (fraction - z.start) / 0.02 + 0.05, (z.end - fraction) / 0.02 + 0.05});
    return z.weight * ramp * (1.0 + 0.4 * std::sin(2.0 * std::numbers::pi * day / 365.25 + z.phase));
}

struct Event {
    std::int32_t day;
    int second;  // of the day
    std::size_t zone;
    double magnitude;
    std::int32_t x, y;
};

}  // namespace

FieldDefs sampleFields() {
    return {{"ODDZIAL", FieldType::String, 10}, {"DATA", FieldType::Date},   {"X", FieldType::Integer},
            {"Y", FieldType::Integer},          {"ENG", FieldType::Float},   {"MAGNITUDA", FieldType::Float},
            {"GODZ", FieldType::Integer},       {"MIN", FieldType::Integer}, {"SEK", FieldType::Integer},
            {"OPIS", FieldType::String, 40}};
}

Table makeSampleCatalogue(const SampleOptions& options) {
    Random rnd(options.seed);
    const std::vector<Zone> zones = makeZones(rnd);
    const std::int32_t firstDay = dayNumber(options.firstYear, 1, 1);
    const std::int32_t lastDay = dayNumber(options.lastYear, 12, 31);
    const double days = lastDay - firstDay + 1;

    // Scale the rates so that the expected number of recorded events is as
    // asked: recorded = candidates · P(detected), P from the magnitude law.
    double detected = 0.0;
    {
        const int steps = 20000;
        const double h = (kMMax - kMLow) / steps;
        const double norm = 1.0 - std::pow(10.0, -kB * (kMMax - kMLow));
        for (int i = 0; i < steps; ++i) {
            const double m = kMLow + (i + 0.5) * h;
            detected += detection(m) * kB * std::log(10.0) * std::pow(10.0, -kB * (m - kMLow)) / norm * h;
        }
    }
    double totalActivity = 0.0;
    for (std::int32_t day = firstDay; day <= lastDay; ++day)
        for (const Zone& z : zones) totalActivity += activity(z, (day - firstDay + 0.5) / days, day);
    const double scale = options.expectedEvents / detected / totalActivity;

    std::vector<Event> events;
    events.reserve(static_cast<std::size_t>(options.expectedEvents * 1.1));
    std::vector<Event> today;
    for (std::int32_t day = firstDay; day <= lastDay; ++day) {
        today.clear();
        const double fraction = (day - firstDay + 0.5) / days;
        for (std::size_t zi = 0; zi < zones.size(); ++zi) {
            const Zone& z = zones[zi];
            const double rate = scale * activity(z, fraction, day);
            if (rate <= 0.0) continue;
            const int candidates = rnd.poisson(rate);
            for (int k = 0; k < candidates; ++k) {
                const double m = truncatedGutenbergRichter(rnd);
                if (rnd.uniform() >= detection(m)) continue;
                Event e;
                e.day = day;
                e.second = static_cast<int>(rnd.uniform() * 86400.0);
                e.zone = zi;
                e.magnitude = m;
                // Ahead of the front, spread along the face (about 240 m).
                const double advanced = z.speed * (fraction - z.start) * days;
                const double along = advanced + 25.0 + 60.0 * rnd.normal();
                const double across = rnd.uniform(-120.0, 120.0) + 40.0 * rnd.normal();
                const double c = std::cos(z.heading), s = std::sin(z.heading);
                e.x = static_cast<std::int32_t>(std::lround(z.x0 + along * c - across * s));
                e.y = static_cast<std::int32_t>(std::lround(z.y0 + along * s + across * c));
                if (rnd.uniform() < 0.1) e.x = e.y = 0;  // not located
                today.push_back(e);
            }
        }
        std::sort(today.begin(), today.end(),
                  [](const Event& a, const Event& b) { return a.second < b.second; });
        events.insert(events.end(), today.begin(), today.end());
    }

    Table table(sampleFields());
    const std::size_t n = events.size();
    for (int f = 0; f < table.fieldCount(); ++f) table.loadColumn(f).reserve(n);
    for (const Event& e : events) {
        const Zone& z = zones[e.zone];
        table.loadColumn(0).appendText(z.code);
        table.loadColumn(1).appendInt32(e.day);
        table.loadColumn(2).appendInt32(e.x);
        table.loadColumn(3).appendInt32(e.y);
        table.loadColumn(4).appendDouble(std::pow(10.0, kA * e.magnitude + kBCoeff));
        table.loadColumn(5).appendDouble(e.magnitude);
        table.loadColumn(6).appendInt32(e.second / 3600);
        table.loadColumn(7).appendInt32(e.second / 60 % 60);
        table.loadColumn(8).appendInt32(e.second % 60);
        std::string opis = z.face;
        if (e.x == 0) opis += ", bez lokalizacji";
        if (e.magnitude >= 3.5) opis += ", tąpnięcie";
        table.loadColumn(9).appendText(opis);
    }
    table.finishLoad();
    return table;
}

std::vector<double> truncatedGutenbergRichterSample(std::size_t n, std::uint64_t seed, double mMin,
                                                    double mMax, double b) {
    std::mt19937_64 engine(seed);
    const double span = 1.0 - std::pow(10.0, -b * (mMax - mMin));
    std::vector<double> m(n);
    for (double& v : m) {
        const double u = static_cast<double>(engine() >> 11) * 0x1.0p-53;
        v = mMin - std::log10(1.0 - u * span) / b;
    }
    return m;
}

}  // namespace zorv::sample

#include "text/Dates.h"

#include <cmath>

namespace zorv {

namespace {
constexpr double kMsPerDay = 86400000.0;
}

std::int32_t wholeDays(double dateTime) {
    // Round to the millisecond first so that 23:59:59.9999999 from a float
    // sum does not fall on the previous day.
    const double ms = std::round(dateTime * kMsPerDay);
    return static_cast<std::int32_t>(std::floor(ms / kMsPerDay));
}

TimeOfDay timeOfDay(double dateTime) {
    const double ms = std::round(dateTime * kMsPerDay);
    auto inDay = static_cast<std::int64_t>(ms - std::floor(ms / kMsPerDay) * kMsPerDay);
    TimeOfDay t;
    t.msec = static_cast<int>(inDay % 1000);
    inDay /= 1000;
    t.second = static_cast<int>(inDay % 60);
    inDay /= 60;
    t.minute = static_cast<int>(inDay % 60);
    t.hour = static_cast<int>(inDay / 60);
    return t;
}

double dayFraction(const TimeOfDay& t) {
    return ((t.hour * 60.0 + t.minute) * 60.0 * 1000.0 + t.second * 1000.0 + t.msec) / kMsPerDay;
}

}  // namespace zorv

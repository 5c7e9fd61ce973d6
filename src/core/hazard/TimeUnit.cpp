#include "hazard/TimeUnit.h"

#include "text/Dates.h"

namespace zorv {

std::string timeUnitName(TimeUnit unit) { return unit == TimeUnit::Months ? "Miesiące" : "Kwartały"; }

std::string ReturnPeriodAxisTitle(TimeUnit unit) {
    return unit == TimeUnit::Months ? "Średni okres powrotu [miesiące]" : "Średni okres powrotu [kwartały]";
}

double timeUnitCount(double spanDays, TimeUnit unit) {
    const CivilDate c = civilDate(wholeDays(spanDays));
    const double years = c.year - 1900;
    const double months = c.month - 1;
    const double days = c.day - 1;
    if (unit == TimeUnit::Months) return 12.0 * years + months + days / 30.0;
    return 4.0 * years + months / 3.0 + days / 90.0;
}

double requirePositiveTimeUnitCount(double spanDays, TimeUnit unit) {
    const double count = timeUnitCount(spanDays, unit);
    if (!(count > 0.0)) throw ESamplePeriodTooShort();
    return count;
}

}  // namespace zorv

#pragma once
// The time unit of the hazard analyses (months or quarters) and the length of
// a sample's span in it, by the calendar arithmetic the activity rate uses.

#include <cstdint>
#include <string>

#include "hazard/HazardErrors.h"

namespace zorv {

// The values are those the parameter dialog returns.
enum class TimeUnit : std::uint8_t { Quarters = 1, Months = 2 };

// "Miesiące" / "Kwartały": the name of the unit, the time axis of the hazard
// chart.
std::string timeUnitName(TimeUnit unit);
// The value axis of the return-period charts: "Średni okres powrotu
// [miesiące]" or "[kwartały]".
std::string ReturnPeriodAxisTitle(TimeUnit unit);

// The length of a span of `spanDays` days in months or quarters: the span is
// read as a date counted from 1899-12-30 and decoded into year Y, month M and
// day D; months = 12·(Y − 1900) + (M − 1) + (D − 1)/30, quarters =
// 4·(Y − 1900) + (M − 1)/3 + (D − 1)/90. A fraction of a day is dropped.
// 365 days give 11 + 29/30 months. Spans under three days give 0 or less.
double timeUnitCount(double spanDays, TimeUnit unit);

// The events of the sample span too short a time for an activity rate:
// timeUnitCount is not positive.
class ESamplePeriodTooShort : public HazardError {
public:
    ESamplePeriodTooShort()
        : HazardError(
              "Okres czasu próby jest zbyt krótki (krótszy niż trzy dni), aby wyznaczyć średnią "
              "aktywność sejsmiczną") {}
};

// timeUnitCount of the span, raising ESamplePeriodTooShort when it is not
// positive (an infinite or negative activity rate would follow).
double requirePositiveTimeUnitCount(double spanDays, TimeUnit unit);

}  // namespace zorv

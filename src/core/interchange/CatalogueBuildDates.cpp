// The dates and times of day of a catalogue's records, from one column or
// from columns of year, month, day, hour, minute and second.

#include "interchange/CatalogueBuild.h"
#include "text/Dates.h"

namespace zorv::catalogue_build {

DateOrderGuess Builder::guessDateOrder(int c) const {
    DateOrderGuess guess;
    guess.dateColumn = true;
    if (o_.dateOrder) {
        guess.order = *o_.dateOrder;
        return guess;
    }
    std::optional<std::size_t> dayRow, monthRow, eitherRow;
    bool dotted = true;
    for (std::size_t r = 0; r < n_; ++r) {
        if (missing(r, c)) continue;
        switch (dateFit(cell(r, c))) {
            case DateFit::Iso: break;
            case DateFit::DayFirst:
                if (!dayRow) dayRow = r;
                break;
            case DateFit::MonthFirst:
                if (!monthRow) monthRow = r;
                break;
            case DateFit::Either:
                if (!eitherRow) eitherRow = r;
                if (cell(r, c).find('.') == std::string_view::npos) dotted = false;
                break;
            case DateFit::None:
                guess.problem =
                    "'" + std::string(cell(r, c)) + "' nie jest datą (" + where(r, c) +
                    "). Daty czytane są w zapisie ISO 8601 (2021-03-04, 2021-03-04T05:06:07Z) albo "
                    "dzień.miesiąc.rok i miesiąc/dzień/rok (pole „Daty”, opcja --date-format).";
                return guess;
        }
    }
    if (dayRow && monthRow) {
        guess.problem = "Daty kolumny " + caption(c) + " nie pasują do jednej kolejności: '" +
                        std::string(cell(*dayRow, c)) + "' (" + where(*dayRow, c) +
                        ") ma na początku dzień, a '" + std::string(cell(*monthRow, c)) + "' (" +
                        where(*monthRow, c) + ") miesiąc.";
        return guess;
    }
    if (dayRow) {
        guess.order = DateOrder::DayFirst;
    } else if (monthRow) {
        guess.order = DateOrder::MonthFirst;
    } else if (eitherRow && !dotted) {
        guess.ambiguous = true;
        guess.problem = "Daty kolumny " + caption(c) +
                        " pasują zarówno do kolejności dzień/miesiąc/rok, jak i "
                        "miesiąc/dzień/rok (np. '" +
                        std::string(cell(*eitherRow, c)) + "', " + where(*eitherRow, c) +
                        "). Wybierz kolejność: --date-format dmy albo mdy.";
    } else {
        guess.order = eitherRow ? DateOrder::DayFirst : DateOrder::Iso;
    }
    return guess;
}

DateOrder Builder::findDateOrder(int c) const {
    const DateOrderGuess guess = guessDateOrder(c);
    if (!guess.order) throw ImportError(guess.problem);
    return *guess.order;
}

void Builder::readDates(CatalogueBuildReport& report) {
    day_.assign(n_, 0);
    hour_.assign(n_, 0);
    minute_.assign(n_, 0);
    second_.assign(n_, 0);
    const auto takeTime = [&](std::size_t r, const CatalogueTime& t) {
        if (!t.hasTime) return;
        haveTime_ = true;
        hour_[r] = static_cast<std::int8_t>(t.hour);
        minute_[r] = static_cast<std::int8_t>(t.minute);
        second_[r] = t.second;
        if (t.second != std::floor(t.second)) fractionalSeconds_ = true;
    };
    if (has(ColumnRole::Date)) {
        const int c = col(ColumnRole::Date);
        const DateOrder order = findDateOrder(c);
        report.dateOrder = order;
        haveDate_ = true;
        for (std::size_t r = 0; r < n_; ++r) {
            tick(r);
            if (missing(r, c))
                throw ImportError("Brak daty (" + where(r, c) +
                                  "). Każde zdarzenie katalogu musi mieć datę.");
            const auto t = parseCatalogueTime(cell(r, c), order);
            if (!t)
                throw ImportError("'" + std::string(cell(r, c)) + "' nie jest istniejącą datą w zapisie " +
                                  dateOrderName(order) + " (" + where(r, c) + ").");
            day_[r] = t->day;
            takeTime(r, *t);
        }
    } else if (has(ColumnRole::Year)) {
        haveDate_ = true;
        const int cy = col(ColumnRole::Year), cm = col(ColumnRole::Month), cd = col(ColumnRole::Day);
        for (std::size_t r = 0; r < n_; ++r) {
            tick(r);
            const double y = number(r, cy), m = number(r, cm), d = number(r, cd);
            const auto whole = [](double v) {
                return std::isfinite(v) && v == std::floor(v) && std::fabs(v) < 1e5;
            };
            // A year of four digits, as every date form the catalogue is
            // written in (and read back from) has.
            if (!whole(y) || !whole(m) || !whole(d) || y < 1000 || y > 9999 ||
                !isValidDate(int(y), int(m), int(d)))
                throw ImportError("Rok " + std::string(cell(r, cy)) + ", miesiąc " +
                                  std::string(cell(r, cm)) + ", dzień " + std::string(cell(r, cd)) +
                                  " nie dają istniejącej daty (wiersz " + std::to_string(rows_.lineOf(r)) +
                                  ").");
            day_[r] = dayNumber(int(y), int(m), int(d));
        }
    }
    // A column of the time of day (or of a part of it) gives the catalogue
    // its three time fields even where every value is missing: otherwise
    // the fields it got would hang on the values, and the catalogue written
    // out and read back would have others.
    if (haveDate_ && (has(ColumnRole::TimeOfDay) || has(ColumnRole::Hour) || has(ColumnRole::Minute) ||
                      has(ColumnRole::Second)))
        haveTime_ = true;
    if (has(ColumnRole::TimeOfDay)) {
        const int c = col(ColumnRole::TimeOfDay);
        for (std::size_t r = 0; r < n_; ++r) {
            if (missing(r, c)) continue;
            CatalogueTime t;
            if (!parseTimeOfDay(cell(r, c), t))
                throw ImportError("'" + std::string(cell(r, c)) + "' nie jest godziną gg:mm[:ss] (" +
                                  where(r, c) + ").");
            takeTime(r, t);
        }
    }
    if (has(ColumnRole::Hour) || has(ColumnRole::Minute) || has(ColumnRole::Second)) {
        struct Part {
            ColumnRole role;
            double limit;
            const char* what;
        };
        for (const Part& p :
             {Part{ColumnRole::Hour, 24, "godzina 0..23"}, Part{ColumnRole::Minute, 60, "minuta 0..59"},
              Part{ColumnRole::Second, 61, "sekunda 0..60"}}) {
            if (!has(p.role)) continue;
            const int c = col(p.role);
            for (std::size_t r = 0; r < n_; ++r) {
                const double v = number(r, c);
                if (std::isnan(v)) continue;
                const bool whole = v == std::floor(v);
                if (v < 0 || v >= p.limit || (!whole && p.role != ColumnRole::Second))
                    throw ImportError("'" + std::string(cell(r, c)) + "' to nie " + p.what + " (" +
                                      where(r, c) + ").");
                haveTime_ = true;
                if (p.role == ColumnRole::Hour) hour_[r] = static_cast<std::int8_t>(v);
                if (p.role == ColumnRole::Minute) minute_[r] = static_cast<std::int8_t>(v);
                if (p.role == ColumnRole::Second) {
                    second_[r] = v;
                    if (!whole) fractionalSeconds_ = true;
                }
            }
        }
    }
}

}  // namespace zorv::catalogue_build

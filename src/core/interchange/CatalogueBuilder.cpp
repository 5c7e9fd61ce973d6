#include "interchange/CatalogueBuilder.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <functional>
#include <limits>
#include <numeric>

#include "base/HazardError.h"
#include "base/Progress.h"
#include "interchange/Projection.h"
#include "table/Table.h"
#include "text/Dates.h"
#include "text/TextCase.h"

namespace zorv {

namespace {

constexpr std::size_t kProgressStep = 4096;
constexpr int kMinTextSize = 8;
constexpr int kMaxTextSize = 254;
constexpr double kNull = std::numeric_limits<double>::quiet_NaN();
constexpr std::size_t kRoleCount = static_cast<std::size_t>(ColumnRole::Extra) + 1;

std::size_t utf8Length(std::string_view s) {
    return static_cast<std::size_t>(std::count_if(
        s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

class Builder {
public:
    Builder(const CatalogueRows& rows, const std::vector<ColumnMapping>& mapping,
            const CatalogueFieldNames& names, const CatalogueBuildOptions& options, Progress* progress)
        : rows_(rows),
          mapping_(mapping),
          names_(names),
          o_(options),
          progress_(progress),
          n_(rows.rowCount()) {
        column_.fill(-1);
        for (std::size_t c = 0; c < mapping.size(); ++c) {
            const auto r = static_cast<std::size_t>(mapping[c].role);
            if (mapping[c].role != ColumnRole::Extra && mapping[c].role != ColumnRole::Skip && column_[r] < 0)
                column_[r] = static_cast<int>(c);
        }
    }

    Table build(CatalogueBuildReport& report);

private:
    int col(ColumnRole r) const { return column_[static_cast<std::size_t>(r)]; }
    bool has(ColumnRole r) const { return col(r) >= 0; }
    const std::string& caption(int c) const { return rows_.header()[static_cast<std::size_t>(c)]; }
    std::string where(std::size_t row, int c) const {
        return "wiersz " + std::to_string(rows_.lineOf(row)) + ", kolumna " + caption(c);
    }
    std::string_view cell(std::size_t row, int c) const {
        return rows_.cell(row, static_cast<std::size_t>(c));
    }
    bool missing(std::size_t row, int c) const { return o_.missing.isMissing(cell(row, c)); }

    // The cell as a number; NaN when missing.
    double number(std::size_t row, int c) const {
        const std::string_view text = cell(row, c);
        if (o_.missing.isMissing(text)) return kNull;
        const auto v = parseCellNumber(text, o_.decimalComma);
        if (!v)
            throw ImportError("'" + std::string(text) + "' nie jest liczbą (" + where(row, c) +
                              "). Sprawdź separator dziesiętny (" +
                              (o_.decimalComma ? "przecinek" : "kropka") +
                              ") albo podaj znacznik braku wartości (--missing).");
        return *v;
    }
    void tick(std::size_t row) const {
        if (progress_ && row % kProgressStep == 0) {
            if (progress_->isCancelled()) throw EBreakProcess();
            progress_->setPosition(static_cast<int>(std::min<std::size_t>(row, INT32_MAX)));
        }
    }

    void checkRoles() const;
    DateOrder findDateOrder(int c) const;
    void readDates(CatalogueBuildReport& report);
    void readPlane();
    void project(CatalogueBuildReport& report);

    const CatalogueRows& rows_;
    const std::vector<ColumnMapping>& mapping_;
    const CatalogueFieldNames& names_;
    const CatalogueBuildOptions& o_;
    Progress* progress_;
    const std::size_t n_;
    std::array<int, kRoleCount> column_{};

    bool haveDate_ = false, haveTime_ = false, fractionalSeconds_ = false;
    std::vector<std::int32_t> day_;
    std::vector<std::int8_t> hour_, minute_;
    std::vector<double> second_;
    std::vector<double> x_, y_;  // [m]; NaN: no location (stored as 0)
    bool havePlane_ = false;
};

void Builder::checkRoles() const {
    // Two columns of one name leave unsaid which of them is meant (and
    // which one an export and its reading back would keep).
    const std::vector<std::string>& header = rows_.header();
    for (std::size_t i = 0; i < header.size(); ++i)
        for (std::size_t j = i + 1; j < header.size(); ++j) {
            std::string a = header[i], b = header[j];
            for (std::string* s : {&a, &b})
                for (char& ch : *s) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
            if (!a.empty() && a == b)
                throw ImportError("Kolumna '" + header[i] + "' występuje w nagłówku dwa razy (kolumny " +
                                  std::to_string(i + 1) + " i " + std::to_string(j + 1) +
                                  "); nadaj kolumnom różne nazwy.");
        }
    if (!has(ColumnRole::Magnitude) && !has(ColumnRole::Energy)) {
        std::string list;
        for (const std::string& h : rows_.header()) list += (list.empty() ? "" : ", ") + h;
        throw ImportError(
            "Nie zdefiniowane pole MAGNITUDA/ENERGIA. Procedura importowania przerwana. Żadna kolumna (" +
            list +
            ") nie została rozpoznana jako magnituda (Mag, ML, Mw, Magnitude) ani energia (Energy, E [J]); "
            "wskaż ją opcją --column NUMER=magnituda lub NUMER=energia.");
    }
    if (has(ColumnRole::Longitude) != has(ColumnRole::Latitude))
        throw ImportError(
            std::string("Jest kolumna ") + (has(ColumnRole::Longitude) ? "długości" : "szerokości") +
            " geograficznej bez kolumny " + (has(ColumnRole::Longitude) ? "szerokości" : "długości") +
            "; potrzebne są obie (Lat, Lon).");
    if (has(ColumnRole::X) != has(ColumnRole::Y))
        throw ImportError(std::string("Jest kolumna ") + (has(ColumnRole::X) ? "X" : "Y") + " bez kolumny " +
                          (has(ColumnRole::X) ? "Y" : "X") + " (Easting i Northing idą w parze).");
    const int parts = int(has(ColumnRole::Year)) + int(has(ColumnRole::Month)) + int(has(ColumnRole::Day));
    if (parts != 0 && parts != 3)
        throw ImportError(
            "Data w osobnych kolumnach potrzebuje kolumn roku, miesiąca i dnia (year, month, day).");
    if (parts == 3 && has(ColumnRole::Date))
        throw ImportError("Data jest podana dwa razy: w jednej kolumnie (" + caption(col(ColumnRole::Date)) +
                          ") i w kolumnach roku, miesiąca i dnia; wskaż jedną z nich (--column N=pomin).");
}

DateOrder Builder::findDateOrder(int c) const {
    if (o_.dateOrder) return *o_.dateOrder;
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
                throw ImportError(
                    "'" + std::string(cell(r, c)) + "' nie jest datą (" + where(r, c) +
                    "). Daty czytane są w zapisie ISO 8601 (2021-03-04, 2021-03-04T05:06:07Z) albo "
                    "dzień.miesiąc.rok i miesiąc/dzień/rok (--date-format).");
        }
    }
    if (dayRow && monthRow)
        throw ImportError("Daty kolumny " + caption(c) + " nie pasują do jednej kolejności: '" +
                          std::string(cell(*dayRow, c)) + "' (" + where(*dayRow, c) +
                          ") ma na początku dzień, a '" + std::string(cell(*monthRow, c)) + "' (" +
                          where(*monthRow, c) + ") miesiąc.");
    if (dayRow) return DateOrder::DayFirst;
    if (monthRow) return DateOrder::MonthFirst;
    if (eitherRow && !dotted)
        throw ImportError("Daty kolumny " + caption(c) +
                          " pasują zarówno do kolejności dzień/miesiąc/rok, jak i "
                          "miesiąc/dzień/rok (np. '" +
                          std::string(cell(*eitherRow, c)) + "', " + where(*eitherRow, c) +
                          "). Wybierz kolejność: --date-format dmy albo mdy.");
    return eitherRow ? DateOrder::DayFirst : DateOrder::Iso;
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

void Builder::readPlane() {
    x_.assign(n_, kNull);
    y_.assign(n_, kNull);
    if (has(ColumnRole::X)) {
        havePlane_ = true;
        for (std::size_t r = 0; r < n_; ++r) {
            x_[r] = number(r, col(ColumnRole::X));
            y_[r] = number(r, col(ColumnRole::Y));
        }
    }
}

void Builder::project(CatalogueBuildReport& report) {
    if (has(ColumnRole::X) || !has(ColumnRole::Longitude)) return;
    havePlane_ = true;
    const int clon = col(ColumnRole::Longitude), clat = col(ColumnRole::Latitude);
    std::vector<double> lon(n_), lat(n_);
    double sumLon = 0, sumLat = 0;
    std::size_t located = 0;
    for (std::size_t r = 0; r < n_; ++r) {
        lon[r] = number(r, clon);
        lat[r] = number(r, clat);
        if (std::isnan(lon[r]) || std::isnan(lat[r])) continue;
        if (std::fabs(lat[r]) > 90 || std::fabs(lon[r]) > 180)
            throw ImportError("Współrzędne " + std::string(cell(r, clon)) + ", " +
                              std::string(cell(r, clat)) +
                              " nie są długością i szerokością geograficzną (wiersz " +
                              std::to_string(rows_.lineOf(r)) + ").");
        sumLon += lon[r];
        sumLat += lat[r];
        ++located;
    }
    const int epsg = o_.epsg != 0 ? o_.epsg
                                  : utmZoneEpsg(located ? sumLon / double(located) : 0.0,
                                                located ? sumLat / double(located) : 0.0);
    const Projection projection(epsg);
    report.crs = projection.description();
    for (std::size_t r = 0; r < n_; ++r) {
        tick(r);
        if (std::isnan(lon[r]) || std::isnan(lat[r])) continue;
        const auto p = projection.forward(lon[r], lat[r]);
        x_[r] = p.x;
        y_[r] = p.y;
    }
}

enum class ExtraType { Integer, Float, Text };

Table Builder::build(CatalogueBuildReport& report) {
    if (mapping_.size() != rows_.columnCount())
        throw ImportError("Liczba ról kolumn nie zgadza się z liczbą kolumn pliku.");
    checkRoles();
    if (n_ == 0) throw ImportError("Plik nie zawiera żadnego wiersza danych (jest tylko nagłówek).");
    if (progress_)
        progress_->start("Import danych", 0, static_cast<int>(std::min<std::size_t>(n_, INT32_MAX)));

    readDates(report);
    readPlane();
    project(report);
    std::vector<double> magnitude(n_, kNull), energy(n_, kNull);
    if (has(ColumnRole::Magnitude))
        for (std::size_t r = 0; r < n_; ++r) magnitude[r] = number(r, col(ColumnRole::Magnitude));
    if (has(ColumnRole::Energy))
        for (std::size_t r = 0; r < n_; ++r) {
            energy[r] = number(r, col(ColumnRole::Energy));
            if (energy[r] < 0)
                throw ImportError("Energia " + std::string(cell(r, col(ColumnRole::Energy))) +
                                  " J jest ujemna (" + where(r, col(ColumnRole::Energy)) +
                                  "); jeśli to znacznik braku wartości, podaj go opcją --missing.");
        }

    // The records kept, in date order.
    std::vector<std::size_t> order;
    order.reserve(n_);
    for (std::size_t r = 0; r < n_; ++r) {
        if (std::isnan(magnitude[r]) && std::isnan(energy[r])) {
            ++report.withoutSize;
            if (o_.dropWithoutSize) {
                ++report.dropped;
                continue;
            }
        }
        order.push_back(r);
    }
    if (haveDate_) {
        const auto key = [&](std::size_t r) {
            return double(day_[r]) * 86400.0 + hour_[r] * 3600.0 + minute_[r] * 60.0 + second_[r];
        };
        // Moved: the fewest records whose moving puts the rest in order,
        // those off the longest run already in date order.
        std::vector<double> tails;
        for (const std::size_t r : order) {
            const auto at = std::upper_bound(tails.begin(), tails.end(), key(r));
            if (at == tails.end())
                tails.push_back(key(r));
            else
                *at = key(r);
        }
        report.moved = order.size() - tails.size();
        std::vector<std::size_t> sorted = order;
        std::stable_sort(sorted.begin(), sorted.end(),
                         [&](std::size_t a, std::size_t b) { return key(a) < key(b); });
        order = std::move(sorted);
    }

    // The fields, in column order, then the added ones. Each field fills
    // its column from a source row.
    FieldDefs defs;
    std::vector<std::function<void(Column&, std::size_t)>> fill;
    // The catalogue's own names belong to their roles: an extra column of
    // such a name (or of one already made) keeps its values under a
    // numbered name.
    const std::string reserved[] = {
        names_.roles.magnitude, names_.roles.energy, names_.roles.zone, names_.roles.date, names_.roles.x,
        names_.roles.y,         names_.hour,         names_.minute,     names_.second};
    const auto taken = [&](const std::string& name, bool extra) {
        const std::string folded = foldCase(name);
        if (extra && std::any_of(std::begin(reserved), std::end(reserved),
                                 [&](const std::string& r) { return foldCase(r) == folded; }))
            return true;
        return std::any_of(defs.begin(), defs.end(),
                           [&](const FieldDef& e) { return foldCase(e.name) == folded; });
    };
    const auto addExtra = [&](FieldDef def, std::function<void(Column&, std::size_t)> f) {
        if (taken(def.name, true))
            for (int k = 2;; ++k) {
                const std::string candidate = def.name.substr(0, 22) + "_" + std::to_string(k);
                if (!taken(candidate, true)) {
                    def.name = candidate;
                    break;
                }
            }
        defs.push_back(std::move(def));
        fill.push_back(std::move(f));
    };
    // A role's field; each role makes one.
    const auto addField = [&](FieldDef def, std::function<void(Column&, std::size_t)> f) {
        defs.push_back(std::move(def));
        fill.push_back(std::move(f));
    };
    const auto doubles = [](const std::vector<double>& v) {
        return [&v](Column& c, std::size_t r) {
            if (std::isnan(v[r]))
                c.appendNull();
            else
                c.appendDouble(v[r]);
        };
    };
    const auto plane = [](const std::vector<double>& v) {
        return [&v](Column& c, std::size_t r) {
            c.appendInt32(std::isnan(v[r]) ? 0 : static_cast<std::int32_t>(std::llround(v[r])));
        };
    };
    for (const std::vector<double>* v : {&x_, &y_})
        for (std::size_t r = 0; r < n_; ++r)
            if (!std::isnan((*v)[r]) && std::fabs((*v)[r]) > 2.1e9)
                throw ImportError("Współrzędna " + std::to_string((*v)[r]) +
                                  " m nie mieści się w polu X/Y (wiersz " + std::to_string(rows_.lineOf(r)) +
                                  "); wybierz układ o mniejszych liczbach.");
    bool dateField = false, planeX = false, planeY = false, zoneField = false;
    const bool separateTime = has(ColumnRole::Hour) || has(ColumnRole::Minute) || has(ColumnRole::Second);
    bool hourField = false, minuteField = false, secondField = false;
    const auto addHour = [&] {
        if (hourField) return;
        hourField = true;
        addField({names_.hour, FieldType::Integer},
                 [this](Column& c, std::size_t r) { c.appendInt32(hour_[r]); });
    };
    const auto addMinute = [&] {
        if (minuteField) return;
        minuteField = true;
        addField({names_.minute, FieldType::Integer},
                 [this](Column& c, std::size_t r) { c.appendInt32(minute_[r]); });
    };
    const auto addSecond = [&] {
        if (secondField) return;
        secondField = true;
        if (fractionalSeconds_)
            addField({names_.second, FieldType::Float},
                     [this](Column& c, std::size_t r) { c.appendDouble(second_[r]); });
        else
            addField({names_.second, FieldType::Integer}, [this](Column& c, std::size_t r) {
                c.appendInt32(static_cast<std::int32_t>(second_[r]));
            });
    };
    // The date field, and with it the time of day unless that has columns
    // of its own (whose fields then keep their places).
    const auto addDate = [&] {
        if (dateField || !haveDate_) return;
        dateField = true;
        addField({names_.roles.date, FieldType::Date},
                 [this](Column& c, std::size_t r) { c.appendInt32(day_[r]); });
        if (!haveTime_ || separateTime) return;
        addHour();
        addMinute();
        addSecond();
    };
    const bool projected = !has(ColumnRole::X) && has(ColumnRole::Longitude);
    for (std::size_t c = 0; c < mapping_.size(); ++c) {
        const int ci = static_cast<int>(c);
        const ColumnRole role = mapping_[c].role;
        const bool first = col(role) == ci;
        switch (role) {
            case ColumnRole::Magnitude:
                if (first) addField({names_.roles.magnitude, FieldType::Float}, doubles(magnitude));
                break;
            case ColumnRole::Energy:
                if (first) addField({names_.roles.energy, FieldType::Float}, doubles(energy));
                break;
            case ColumnRole::X:
            case ColumnRole::Longitude:
                if (first && !planeX && (role == ColumnRole::X || projected)) {
                    planeX = true;
                    addField({names_.roles.x, FieldType::Integer}, plane(x_));
                }
                break;
            case ColumnRole::Y:
            case ColumnRole::Latitude:
                if (first && !planeY && (role == ColumnRole::Y || projected)) {
                    planeY = true;
                    addField({names_.roles.y, FieldType::Integer}, plane(y_));
                }
                break;
            case ColumnRole::Date:
            case ColumnRole::Year:
                if (first) addDate();
                break;
            case ColumnRole::Hour:
                if (first && haveDate_) addHour();
                break;
            case ColumnRole::Minute:
                if (first && haveDate_) addMinute();
                break;
            case ColumnRole::Second:
                if (first && haveDate_) addSecond();
                break;
            case ColumnRole::Zone:
                if (first) {
                    zoneField = true;
                    int size = kMinTextSize;
                    for (std::size_t r = 0; r < n_; ++r)
                        size = std::max(size, static_cast<int>(std::min<std::size_t>(utf8Length(cell(r, ci)),
                                                                                     kMaxTextSize)));
                    size = std::max(size, static_cast<int>(std::min<std::size_t>(utf8Length(o_.base.zoneName),
                                                                                 kMaxTextSize)));
                    addField({names_.roles.zone, FieldType::String, size},
                             [this, ci](Column& col, std::size_t r) {
                                 const std::string_view t = trimBlanks(cell(r, ci));
                                 col.appendText(t.empty() ? std::string_view(o_.base.zoneName) : t);
                             });
                }
                break;
            case ColumnRole::Extra: {
                // The narrowest type all its values take.
                ExtraType type = ExtraType::Integer;
                bool any = false;
                int size = kMinTextSize;
                for (std::size_t r = 0; r < n_; ++r) {
                    const std::string_view t = cell(r, ci);
                    size =
                        std::max(size, static_cast<int>(std::min<std::size_t>(utf8Length(t), kMaxTextSize)));
                    if (type == ExtraType::Text || o_.missing.isMissing(t)) continue;
                    any = true;
                    const auto v = parseCellNumber(t, o_.decimalComma);
                    if (!v)
                        type = ExtraType::Text;
                    else if (type == ExtraType::Integer &&
                             (*v != std::floor(*v) || std::fabs(*v) > 2147483647.0))
                        type = ExtraType::Float;
                }
                if (!any) type = ExtraType::Text;
                if (type == ExtraType::Text)
                    addExtra(
                        {mapping_[c].name, FieldType::String, size},
                        [this, ci](Column& col, std::size_t r) { col.appendText(trimBlanks(cell(r, ci))); });
                else
                    addExtra({mapping_[c].name,
                              type == ExtraType::Integer ? FieldType::Integer : FieldType::Float},
                             [this, ci, type](Column& col, std::size_t r) {
                                 const std::string_view t = cell(r, ci);
                                 const auto v = o_.missing.isMissing(t) ? std::nullopt
                                                                        : parseCellNumber(t, o_.decimalComma);
                                 if (!v)
                                     col.appendNull();
                                 else if (type == ExtraType::Integer)
                                     col.appendInt32(static_cast<std::int32_t>(*v));
                                 else
                                     col.appendDouble(*v);
                             });
                break;
            }
            default: break;
        }
    }
    if (haveDate_ && haveTime_) {
        addDate();
        addHour();
        addMinute();
        addSecond();
    }

    // The fields the columns did not give.
    const ImportOptions& base = o_.base;
    const double a = base.a, b = base.b;
    if (base.addMissingFields && base.createEnergyMagnitude) {
        if (!has(ColumnRole::Energy))
            addField({names_.roles.energy, FieldType::Float}, [&magnitude, a, b](Column& c, std::size_t r) {
                if (std::isnan(magnitude[r]))
                    c.appendNull();
                else
                    c.appendDouble(std::pow(10.0, a * magnitude[r] + b));
            });
        if (!has(ColumnRole::Magnitude)) {
            for (const std::size_t r : order)
                if (!(energy[r] > 0)) ++report.withoutMagnitude;
            addField({names_.roles.magnitude, FieldType::Float}, [&energy, a, b](Column& c, std::size_t r) {
                if (!(energy[r] > 0))
                    c.appendNull();
                else
                    c.appendDouble((std::log10(energy[r]) - b) / a);
            });
        }
    }
    if (!base.addMissingFields) {
        std::string lacking;
        if (!planeX) lacking += names_.roles.x + ", " + names_.roles.y;
        if (!zoneField) lacking += (lacking.empty() ? "" : ", ") + names_.roles.zone;
        if (!dateField) lacking += (lacking.empty() ? "" : ", ") + names_.roles.date;
        if (!lacking.empty())
            throw ImportError("Katalog nie miałby pól: " + lacking +
                              ". Wskaż kolumny tych pól albo pozwól je dodać (bez --no-missing).");
    } else {
        if (!planeX)
            addField({names_.roles.x, FieldType::Integer}, [](Column& c, std::size_t) { c.appendInt32(0); });
        if (!planeY)
            addField({names_.roles.y, FieldType::Integer}, [](Column& c, std::size_t) { c.appendInt32(0); });
        if (!zoneField)
            addField({names_.roles.zone, FieldType::String,
                      std::clamp(static_cast<int>(utf8Length(base.zoneName)), kMinTextSize, kMaxTextSize)},
                     [&base](Column& c, std::size_t) { c.appendText(base.zoneName); });
        if (!dateField) {
            // Spread evenly over the range, as the text import does.
            const double step = (base.endDate - base.startDate) / double(n_);
            addField({names_.roles.date, FieldType::Date}, [&base, step](Column& c, std::size_t r) {
                c.appendInt32(static_cast<std::int32_t>(std::trunc(base.startDate + step * double(r))));
            });
        }
    }

    for (std::size_t i = 0; i < defs.size(); ++i)
        for (std::size_t j = 0; j < i; ++j)
            if (foldCase(defs[i].name) == foldCase(defs[j].name))
                throw ImportError("Próba utworzenia nowej bazy z conajmniej dwoma takimi samymi polami (" +
                                  defs[i].name + "); sprawdź nazwy pól katalogu w ustawieniach.");
    Table table(defs);
    for (int f = 0; f < table.fieldCount(); ++f) {
        Column& column = table.loadColumn(f);
        column.reserve(order.size());
        const auto& put = fill[static_cast<std::size_t>(f)];
        for (const std::size_t r : order) put(column, r);
    }
    table.finishLoad();
    report.records = order.size();
    if (progress_) progress_->hide();
    return table;
}

}  // namespace

Table buildCatalogue(const CatalogueRows& rows, const std::vector<ColumnMapping>& mapping,
                     const CatalogueFieldNames& names, const CatalogueBuildOptions& options,
                     CatalogueBuildReport* report, Progress* progress) {
    CatalogueBuildReport r;
    Builder builder(rows, mapping, names, options, progress);
    Table table = builder.build(r);
    if (report) *report = r;
    return table;
}

}  // namespace zorv

// The fields of the new catalogue: those of the columns in column order, then
// the ones the import adds.

#include <algorithm>
#include <optional>
#include <unordered_set>

#include "interchange/CatalogueBuild.h"
#include "text/TextCase.h"

namespace zorv::catalogue_build {

namespace {

enum class ExtraType { Integer, Float, Text };

}  // namespace

FieldPlan Builder::planFields(CatalogueBuildReport& report, const std::vector<std::size_t>& order) const {
    // The fields, in column order, then the added ones. Each field fills
    // its column from a source row.
    FieldDefs defs;
    std::vector<std::function<void(Column&, std::size_t)>> fill;
    // The catalogue's own names belong to their roles: an extra column of
    // such a name (or of one already made) keeps its values under a
    // numbered name.
    // Names are compared folded; each is folded once, as the field is made.
    std::unordered_set<std::string> reserved;
    for (const std::string* r :
         {&names_.roles.magnitude, &names_.roles.energy, &names_.roles.zone, &names_.roles.date,
          &names_.roles.x, &names_.roles.y, &names_.hour, &names_.minute, &names_.second})
        reserved.insert(foldCase(*r));
    std::unordered_set<std::string> made;
    const auto taken = [&](const std::string& name, bool extra) {
        const std::string folded = foldCase(name);
        return (extra && reserved.count(folded) > 0) || made.count(folded) > 0;
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
        made.insert(foldCase(def.name));
        defs.push_back(std::move(def));
        fill.push_back(std::move(f));
    };
    // A role's field; each role makes one. It repeats a name only when the
    // settings give two roles one name: the first such field is named once
    // the plan is made.
    std::optional<std::string> twin;
    const auto addField = [&](FieldDef def, std::function<void(Column&, std::size_t)> f) {
        if (!made.insert(foldCase(def.name)).second && !twin) twin = def.name;
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
                if (first) addField({names_.roles.magnitude, FieldType::Float}, doubles(magnitude_));
                break;
            case ColumnRole::Energy:
                if (first) addField({names_.roles.energy, FieldType::Float}, doubles(energy_));
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
                             [this, ci, size](Column& col, std::size_t r) {
                                 const std::string_view t = fieldText(cell(r, ci), size);
                                 col.appendText(t.empty() ? fieldText(o_.base.zoneName, size) : t);
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
                    addExtra({mapping_[c].name, FieldType::String, size},
                             [this, ci, size](Column& col, std::size_t r) {
                                 col.appendText(fieldText(cell(r, ci), size));
                             });
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
            addField({names_.roles.energy, FieldType::Float}, [this, a, b](Column& c, std::size_t r) {
                if (std::isnan(magnitude_[r]))
                    c.appendNull();
                else
                    c.appendDouble(std::pow(10.0, a * magnitude_[r] + b));
            });
        if (!has(ColumnRole::Magnitude)) {
            for (const std::size_t r : order)
                if (!(energy_[r] > 0)) ++report.withoutMagnitude;
            addField({names_.roles.magnitude, FieldType::Float}, [this, a, b](Column& c, std::size_t r) {
                if (!(energy_[r] > 0))
                    c.appendNull();
                else
                    c.appendDouble((std::log10(energy_[r]) - b) / a);
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
                              ". Wskaż kolumny tych pól albo pozwól je dodać („Dodaj brakujące kolumny "
                              "danych”, bez --no-missing).");
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

    if (twin)
        throw ImportError("Próba utworzenia nowej bazy z conajmniej dwoma takimi samymi polami (" + *twin +
                          "); sprawdź nazwy pól katalogu w ustawieniach.");
    return {std::move(defs), std::move(fill)};
}

}  // namespace zorv::catalogue_build

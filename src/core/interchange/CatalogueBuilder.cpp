// The catalogue built stage by stage (CatalogueBuild.h): the records kept
// in date order, and the table filled from the planned fields.

#include <algorithm>

#include "interchange/CatalogueBuild.h"

namespace zorv {

namespace catalogue_build {

std::size_t utf8Length(std::string_view s) {
    return static_cast<std::size_t>(std::count_if(
        s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string_view fieldText(std::string_view cell, int chars) {
    const std::string_view t = trimBlanks(cell);
    std::size_t end = 0;
    for (int n = 0; end < t.size(); ++n) {
        if (n == chars) return trimBlanks(t.substr(0, end));
        ++end;
        while (end < t.size() && (static_cast<unsigned char>(t[end]) & 0xC0) == 0x80) ++end;
    }
    return t;
}

Builder::Builder(const CatalogueRows& rows, const std::vector<ColumnMapping>& mapping,
                 const CatalogueFieldNames& names, const CatalogueBuildOptions& options, Progress* progress)
    : rows_(rows), mapping_(mapping), names_(names), o_(options), progress_(progress), n_(rows.rowCount()) {
    column_.fill(-1);
    for (std::size_t c = 0; c < mapping.size(); ++c) {
        const auto r = static_cast<std::size_t>(mapping[c].role);
        if (mapping[c].role != ColumnRole::Extra && mapping[c].role != ColumnRole::Skip && column_[r] < 0)
            column_[r] = static_cast<int>(c);
    }
}

double Builder::number(std::size_t row, int c) const {
    const std::string_view text = cell(row, c);
    if (o_.missing.isMissing(text)) return kNull;
    const auto v = parseCellNumber(text, o_.decimalComma);
    if (!v)
        throw ImportError("'" + std::string(text) + "' nie jest liczbą (" + where(row, c) +
                          "). Sprawdź separator dziesiętny (" + (o_.decimalComma ? "przecinek" : "kropka") +
                          ") albo podaj znacznik braku wartości (pole „Brak wartości”, opcja --missing).");
    return *v;
}

void Builder::readSizes() {
    magnitude_.assign(n_, kNull);
    energy_.assign(n_, kNull);
    if (has(ColumnRole::Magnitude))
        for (std::size_t r = 0; r < n_; ++r) magnitude_[r] = number(r, col(ColumnRole::Magnitude));
    if (has(ColumnRole::Energy))
        for (std::size_t r = 0; r < n_; ++r) {
            energy_[r] = number(r, col(ColumnRole::Energy));
            if (energy_[r] < 0)
                throw ImportError("Energia " + std::string(cell(r, col(ColumnRole::Energy))) +
                                  " J jest ujemna (" + where(r, col(ColumnRole::Energy)) +
                                  "); jeśli to znacznik braku wartości, podaj go w polu „Brak wartości” "
                                  "(opcja --missing).");
        }
}

std::vector<std::size_t> Builder::keptInDateOrder(CatalogueBuildReport& report) const {
    std::vector<std::size_t> order;
    order.reserve(n_);
    for (std::size_t r = 0; r < n_; ++r) {
        if (std::isnan(magnitude_[r]) && std::isnan(energy_[r])) {
            ++report.withoutSize;
            if (o_.dropWithoutSize) {
                ++report.dropped;
                continue;
            }
        }
        order.push_back(r);
    }
    if (!haveDate_) return order;
    const auto key = [&](std::size_t r) {
        return double(day_[r]) * 86400.0 + hour_[r] * 3600.0 + minute_[r] * 60.0 + second_[r];
    };
    // Moved: the fewest records whose moving puts the rest in order, those
    // off the longest run already in date order.
    std::vector<double> tails;
    for (const std::size_t r : order) {
        const auto at = std::upper_bound(tails.begin(), tails.end(), key(r));
        if (at == tails.end())
            tails.push_back(key(r));
        else
            *at = key(r);
    }
    report.moved = order.size() - tails.size();
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return key(a) < key(b); });
    return order;
}

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
    readSizes();
    const std::vector<std::size_t> order = keptInDateOrder(report);
    const FieldPlan plan = planFields(report, order);

    Table table(plan.defs);
    for (int f = 0; f < table.fieldCount(); ++f) {
        Column& column = table.loadColumn(f);
        column.reserve(order.size());
        const auto& put = plan.fill[static_cast<std::size_t>(f)];
        for (const std::size_t r : order) put(column, r);
    }
    table.finishLoad();
    report.records = order.size();
    if (progress_) progress_->hide();
    return table;
}

}  // namespace catalogue_build

Table buildCatalogue(const CatalogueRows& rows, const std::vector<ColumnMapping>& mapping,
                     const CatalogueFieldNames& names, const CatalogueBuildOptions& options,
                     CatalogueBuildReport* report, Progress* progress) {
    CatalogueBuildReport r;
    catalogue_build::Builder builder(rows, mapping, names, options, progress);
    Table table = builder.build(r);
    if (report) *report = r;
    return table;
}

DateOrderGuess detectDateOrder(const CatalogueRows& rows, const std::vector<ColumnMapping>& mapping,
                               const MissingValues& missing) {
    DateOrderGuess guess;
    if (mapping.size() != rows.columnCount()) return guess;
    const CatalogueFieldNames names;
    CatalogueBuildOptions o;
    o.missing = missing;
    const catalogue_build::Builder builder(rows, mapping, names, o, nullptr);
    const int c = builder.col(ColumnRole::Date);
    if (c < 0) return guess;
    return builder.guessDateOrder(c);
}

}  // namespace zorv

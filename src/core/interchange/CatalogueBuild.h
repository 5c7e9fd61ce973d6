#pragma once
// The stages of buildCatalogue, each in a file of its own: the roles
// checked (CatalogueBuildRoles), the dates and times of day read
// (CatalogueBuildDates), the plane co-ordinates read or projected
// (CatalogueBuildPlane), the fields planned from the columns and the added
// ones (CatalogueBuildFields), and the records kept in date order and the
// table filled (CatalogueBuilder). Only those files include this.

#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "base/HazardError.h"
#include "base/Progress.h"
#include "interchange/CatalogueBuilder.h"
#include "table/Table.h"

namespace zorv::catalogue_build {

inline constexpr std::size_t kProgressStep = 4096;
inline constexpr int kMinTextSize = 8;
inline constexpr int kMaxTextSize = 254;
inline constexpr double kNull = std::numeric_limits<double>::quiet_NaN();
inline constexpr std::size_t kRoleCount = static_cast<std::size_t>(ColumnRole::Extra) + 1;

// Characters, not bytes, of UTF-8 text.
std::size_t utf8Length(std::string_view s);
// A cell's text as a text field of `chars` characters keeps it: without
// blanks at either end, also after the clipping (a text written out and
// read back then stays the same).
std::string_view fieldText(std::string_view cell, int chars);

// A field of the new table and how it fills its column from a source row.
struct FieldPlan {
    FieldDefs defs;
    std::vector<std::function<void(Column&, std::size_t)>> fill;
};

class Builder {
public:
    Builder(const CatalogueRows& rows, const std::vector<ColumnMapping>& mapping,
            const CatalogueFieldNames& names, const CatalogueBuildOptions& options, Progress* progress);

    Table build(CatalogueBuildReport& report);

    int col(ColumnRole r) const { return column_[static_cast<std::size_t>(r)]; }
    bool has(ColumnRole r) const { return col(r) >= 0; }
    // The order of the dates of column c: the option's, else found from
    // the dates. Throws ImportError on a date of neither order, on dates
    // that need both and on dates that fit both.
    DateOrder findDateOrder(int c) const;
    DateOrderGuess guessDateOrder(int c) const;

private:
    const std::string& caption(int c) const { return rows_.header()[static_cast<std::size_t>(c)]; }
    std::string where(std::size_t row, int c) const {
        return "wiersz " + std::to_string(rows_.lineOf(row)) + ", kolumna " + caption(c);
    }
    std::string_view cell(std::size_t row, int c) const {
        return rows_.cell(row, static_cast<std::size_t>(c));
    }
    bool missing(std::size_t row, int c) const { return o_.missing.isMissing(cell(row, c)); }

    // The cell as a number; NaN when missing.
    double number(std::size_t row, int c) const;
    void tick(std::size_t row) const {
        if (progress_ && row % kProgressStep == 0) {
            if (progress_->isCancelled()) throw EBreakProcess();
            progress_->setPosition(static_cast<int>(std::min<std::size_t>(row, INT32_MAX)));
        }
    }

    void checkRoles() const;
    void readDates(CatalogueBuildReport& report);
    void readPlane();
    void project(CatalogueBuildReport& report);
    void readSizes();
    std::vector<std::size_t> keptInDateOrder(CatalogueBuildReport& report) const;
    FieldPlan planFields(CatalogueBuildReport& report, const std::vector<std::size_t>& order) const;

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
    std::vector<double> magnitude_, energy_;  // NaN: missing
};

}  // namespace zorv::catalogue_build

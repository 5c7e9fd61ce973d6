#include "analysis/Database.h"

#include <atomic>

#include "text/Dates.h"

namespace zorv {

namespace {
// Analyses may be built on several threads at once (the Python module).
std::atomic<std::int32_t> gAnalysisCount{0};
}  // namespace

std::int32_t Database::analysisCount() { return gAnalysisCount; }

Table& Database::emptyTable() {
    static Table empty;
    return empty;
}

Database::Database(const AnalysisSettings& settings, Table* dataset)
    : settings_(settings),
      dataset_(dataset),
      reader_(std::in_place, dataset ? *dataset : emptyTable(), settings.EnergyField, settings.MagnitudeField,
              EnergyMagnitudeRelation{settings.a, settings.b}) {
    ++gAnalysisCount;
    const int dateField = dataset ? dataset->fieldIndex(settings.DateField) : -1;
    // A sample without a date field, or without any event, has no span.
    hasData = dateField >= 0 && !dataset->isEmpty();
    if (!hasData) return;
    separator = "\t";
    const Column& dates = dataset->column(dateField);
    auto dayAt = [&](std::size_t index) {
        const std::size_t row = dataset->rowOfRecord(index);
        return dates.storage() == StorageKind::Double ? dates.doubles()[row] : dates.numberAt(row);
    };
    SetDateSpan(dayAt(0), dayAt(dataset->recordCount() - 1));
}

void Database::SetDateSpan(double first, double last) {
    firstDate = first;
    lastDate = last;
    const CivilDate f = civilDate(wholeDays(first));
    const CivilDate l = civilDate(wholeDays(last));
    firstYear = static_cast<std::uint16_t>(f.year);
    firstMonth = static_cast<std::uint16_t>(f.month);
    firstDay = static_cast<std::uint16_t>(f.day);
    lastYear = static_cast<std::uint16_t>(l.year);
    lastMonth = static_cast<std::uint16_t>(l.month);
    lastDay = static_cast<std::uint16_t>(l.day);
    firstQuarter = static_cast<std::uint16_t>((firstMonth - 1) / 3 + 1);
    lastQuarter = static_cast<std::uint16_t>((lastMonth - 1) / 3 + 1);
}

void Database::SetDataset(Table* dataset) {
    dataset_ = dataset;
    reader_.emplace(dataset ? *dataset : emptyTable(), settings_.EnergyField, settings_.MagnitudeField,
                    EnergyMagnitudeRelation{settings_.a, settings_.b});
}

double Database::ReadMagnitude() const { return reader_->magnitude(dataset_->currentRow()); }

double Database::ReadEnergy() const { return reader_->energy(dataset_->currentRow()); }

}  // namespace zorv

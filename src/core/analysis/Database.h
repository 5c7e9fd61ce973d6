#pragma once
// The root of every analysis. An analysis is built on a copy of the settings
// and a dataset (the frozen sample of events); its constructor computes
// everything, and afterwards it answers for its result table, titles, report
// and table text.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/AnalysisSettings.h"
#include "catalogue/EnergyMagnitude.h"
#include "report/ReportLines.h"
#include "report/ReportScope.h"
#include "table/Table.h"

namespace zorv {

// The estimate an analysis hands to its chart (hazard analyses): smoothing
// factor and maximum magnitude in use, −1 when not given.
struct ScaleHints {
    double H = -1.0;
    double MMaxEst = -1.0;
    bool VariableUpperLimit = true;
    bool Recompute = true;
    friend bool operator==(const ScaleHints&, const ScaleHints&) = default;
};

class Database {
public:
    Database(const AnalysisSettings& settings, Table* dataset);
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
    virtual ~Database() = default;

    virtual Table* GetTable() = 0;
    // Copies the result table into a table file (dBase or Paradox by the
    // extension). `message` receives the text to show the user, if any.
    virtual bool CopyToFile(const std::string& fileName, std::string* message) = 0;
    // Writes the header line and every row, joined by `separator`, as a
    // windows-1250 text file. False when there is no table; a file that
    // cannot be written throws FileWriteError naming the cause.
    virtual bool SaveTableAsText(const std::string& fileName, const std::string& separator) = 0;
    virtual bool WriteReport(ReportLines& lines) = 0;
    virtual bool WriteTableText(ReportLines& lines) = 0;
    virtual std::string GetTitle() const { return title; }
    virtual std::string GetSubtitle() const { return subtitle; }
    virtual std::string GetBottomAxisTitle() const { return bottomAxisTitle; }
    virtual std::string GetRightAxisTitle() const { return rightAxisTitle; }
    virtual std::string GetLeftAxisTitle() const { return leftAxisTitle; }
    virtual std::string GetSeriesCaption1() const { return {}; }
    virtual std::string GetSeriesCaption2() const { return {}; }
    virtual ScaleHints GetScaleHints() const { return {}; }
    // The magnitudes or periods D that number the table's value columns
    // ("m1"…, "D1"…), for the titles of their chart series; empty otherwise.
    const std::vector<double>& GetSeriesValues() const { return seriesValues; }

    // Magnitude and energy [J] of the dataset's current record, or of a
    // physical row.
    double ReadMagnitude() const;
    double ReadEnergy() const;
    double ReadMagnitude(std::size_t row) const { return reader_->magnitude(row); }
    double ReadEnergy(std::size_t row) const { return reader_->energy(row); }
    double EnergyFromMagnitude(double magnitude) const { return relation().energyFromMagnitude(magnitude); }
    double MagnitudeFromEnergy(double energy) const { return relation().magnitudeFromEnergy(energy); }

    const AnalysisSettings& settings() const { return settings_; }
    // Reports written for printing carry their section tags.
    void SetPrintMarkup(bool on) { settings_.PrintMarkup = on; }
    Table* dataset() const { return dataset_; }
    const std::string& columnSeparator() const { return separator; }
    void setColumnSeparator(std::string s) { separator = std::move(s); }
    bool HasData() const { return hasData; }
    double FirstDate() const { return firstDate; }
    double LastDate() const { return lastDate; }
    // The common blocks of the analysis' report read these.
    operator ReportScope() const { return {settings_, firstDate, lastDate, separator}; }

    // Analyses built since the program started; each names its result table.
    static std::int32_t analysisCount();

protected:
    EnergyMagnitudeRelation relation() const { return {settings_.a, settings_.b}; }
    // Sets the date span (day numbers) with its years, months, days and
    // quarters.
    void SetDateSpan(double first, double last);
    // The dataset of an analysis that takes it after construction; the
    // energies and magnitudes are read from it from then on.
    void SetDataset(Table* dataset);

    AnalysisSettings settings_;
    Table* dataset_;
    std::string separator;
    std::string title, subtitle, bottomAxisTitle, leftAxisTitle, rightAxisTitle;
    std::vector<double> seriesValues;
    bool hasData = false;
    double firstDate = 0.0, lastDate = 0.0;  // day numbers
    std::uint16_t firstQuarter = 0, lastQuarter = 0;
    std::uint16_t firstDay = 0, firstMonth = 0, firstYear = 0;
    std::uint16_t lastDay = 0, lastMonth = 0, lastYear = 0;

private:
    static Table& emptyTable();
    std::optional<EventReader> reader_;
};

}  // namespace zorv

#pragma once
// Time variations of the parametric hazard: a window of fixed width [days]
// slides along the period of the selection by a fixed step, and the
// parametric estimate is made anew on the events of each window. One record
// per window; a window whose estimate fails keeps its record with a short
// note instead of the values. With the completeness on, every window also
// gets its completeness magnitude, whether its estimate failed or not.

#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "hazard/ParametricHazard.h"
#include "hazard/TimeVariationsParameters.h"

namespace zorv {

// The note of a window whose estimate failed: "Zbyt mała ilość rekordów",
// "Przekroczony limit iteracji", … and "Nieznany wyjątek" for a failure of
// no known kind. A span under three days, which has no activity rate, gets
// "Zbyt krótki okres próby".
std::string TimeVariationsNote(std::exception_ptr failure);

// The completeness magnitude of one window's magnitudes by the method and
// bin width of `c`, without a bootstrap; nullopt when the window has too few
// events or the method finds none.
std::optional<double> WindowCompletenessMagnitude(const std::vector<double>& magnitudes,
                                                  const WindowCompleteness& c);

class TimeVariations : public ParametricHazard {
public:
    // Runs every window over `selection` (its filter is switched off and
    // cleared; a window is every record whose whole day lies in
    // [start, end]). Raises ENoRecords for an empty selection, AnalysisError
    // for a step or width below one day, EMcBinWidth for a completeness bin
    // that is not positive, and EBreakProcess when the user stops the run.
    TimeVariations(const AnalysisSettings& settings, Table* selection, const TimeVariationsParameters& p,
                   Progress* progress = nullptr);

    const TimeVariationsParameters& Parameters() const { return parameters; }
    int FirstDay() const { return first; }
    int LastDay() const { return last; }
    // (last − first − width) div step + 1: negative for a selection shorter
    // than the window, which still gets one window.
    int WindowCountFormula() const { return windowCountFormula; }
    int WindowsWritten() const { return windowsWritten; }
    int SampleSizeOfLastWindow() const { return n; }
    // With the bands: replicates run and failed over all windows.
    int ReplicatesRun() const { return replicatesRun; }
    int ReplicatesFailed() const { return replicatesFailed; }
    // With the completeness: windows whose column "Mc" stayed empty.
    int WindowsWithoutMc() const { return windowsWithoutMc; }

    // "Średni okres powrotu zjawiska o magnitudzie m =…" and "Prawd.
    // przekroczenia magnitudy m = … w przeciągu D miesięcy"; the chart labels.
    std::string ReturnPeriodLabel() const;
    std::string HazardLabel() const;
    std::string GetSeriesCaption1() const override { return ReturnPeriodLabel(); }
    std::string GetSeriesCaption2() const override { return HazardLabel(); }

    bool WriteReport(ReportLines& lines) override;
    // The window's midpoint "Data" is a day number in the table (the axis of
    // the charts) and a date in its text.
    bool WriteTableText(ReportLines& lines) override;

private:
    void RunWindows();

    TimeVariationsParameters parameters;
    int first = 0, last = 0;  // whole day numbers of the first and last record
    int windowCountFormula = 0;
    int windowsWritten = 0;
    int n = 0;  // events of the current window at or above MMin
    int replicatesRun = 0, replicatesFailed = 0;
    int windowsWithoutMc = 0;
};

}  // namespace zorv

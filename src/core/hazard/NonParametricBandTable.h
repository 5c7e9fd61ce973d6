#pragma once
// The nonparametric tables that can carry bootstrap bands
// (NonParametricBootstrap.h): the hazard tables, the density table and the
// smoothing-factor table. With the bands each value column is followed by its
// "_lo" and "_hi" columns, and the report gives the intervals of h, MMaxEst
// and the activity rate the table rests on.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "hazard/NonParametricBootstrap.h"
#include "hazard/NonParametricHazard.h"

namespace zorv {

class NonParametricBandTable : public NonParametricHazard {
public:
    using NonParametricHazard::NonParametricHazard;

    // The bands, when made.
    const std::optional<NonParametricBands>& Bands() const { return bands; }

protected:
    // Makes the bands when the option is on; the progress window counts the
    // replicates. `request` gives the magnitudes, the time units and the
    // kind of replicate; the sample's h and upper-limit option are filled in
    // here. searchH: the user asked for the search of h; with both searches
    // of the settings off the replicates take the sample's h, as the sample
    // took the alternative one.
    void RunBands(const BootstrapOptions& options, bool searchH, NonParametricBootstrapRequest request);
    // The value column `name` and, with the bands, its band columns.
    void AddValueField(FieldDefs& fields, const std::string& name) const;
    // The value, then its band from the replicates when made.
    void PushValue(std::vector<Value>& record, double value,
                   const std::function<double(const NonParametricReplicate&)>& quantity) const;
    // With the bands: a blank line, the heading, the intervals of h, of
    // MMaxEst (withMMax) and of the rate (rateLabel, when given), the count
    // of failed replicates and a blank line. Nothing without them.
    void WriteBandLines(ReportLines& lines, bool withMMax, const char* rateLabel) const;

    std::optional<NonParametricBands> bands;
};

}  // namespace zorv

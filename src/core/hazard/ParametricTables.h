#pragma once
// The result tables of the parametric hazard: hazard over the period D,
// mean return period, hazard over magnitude, density and distribution
// function of magnitude.

#include <functional>
#include <string>
#include <vector>

#include "hazard/ParametricHazard.h"

namespace zorv {

// What the hazard dialog hands to a table.
struct ParametricRequest {
    TimeUnit timeUnit = TimeUnit::Months;
    // Magnitudes (PHazard) or periods D in time units (PHazardVsMagnitude).
    std::vector<double> values;
    // Range of the table's variable; any of them −1 selects the defaults.
    double start = -1.0, step = -1.0, end = -1.0;
    bool variableUpperLimit = true;
    // "Przedział ufności": the tables gain a band after each value column.
    BootstrapOptions bootstrap;
};

class ParametricTable : public ParametricHazard {
public:
    double Start() const { return start; }
    double Step() const { return step; }
    double End() const { return end; }
    const std::vector<double>& Values() const { return values; }

protected:
    ParametricTable(const AnalysisSettings& settings, Table* dataset, const ParametricRequest& request,
                    Progress* progress);
    // Settles the range (the defaults are D from 0 to 12 by 0.2 or the
    // magnitudes from the smallest observed to MMaxEst by 0.01), refuses a
    // step that is not positive, then calls row(v) for v = start,
    // start + step, … while v ≤ end.
    template <class Row>
    void Fill(bool magnitudeRange, Row&& row);
    // "Magnituda" with the probability mask, "Energia" with the energy mask
    // and the named fields with the probability mask.
    Table& CreateTable(const FieldDefs& fields, const std::vector<std::string>& probabilityFields);
    // A value column, followed by its "_lo" and "_hi" band columns when the
    // bands are made; the names go to `masked` too.
    void AddValueField(FieldDefs& fields, std::vector<std::string>& masked, const std::string& name) const;
    // The row's value of a column: the estimate's value, then its band
    // (nulls where no replicate gave a finite value) when the bands are made.
    void PushValue(std::vector<Value>& row, double value,
                   const std::function<double(const ParametricModel&)>& quantity) const;

    // The density or the distribution of the fitted law over the magnitude
    // range: "Magnituda", "Energia" and the `field` column of `law` with its
    // band from the replicates' own laws, under `title`.
    enum class Law { Density, Distribution };
    void FillLawTable(Law law, const char* field, const char* title);

    std::vector<double> values;
    double start, step, end;
};

class PHazard : public ParametricTable {
public:
    PHazard(const AnalysisSettings& settings, Table* dataset, const ParametricRequest& request,
            Progress* progress = nullptr);
};

class PMeanReturnPeriod : public ParametricTable {
public:
    PMeanReturnPeriod(const AnalysisSettings& settings, Table* dataset, const ParametricRequest& request,
                      Progress* progress = nullptr);
};

class PHazardVsMagnitude : public ParametricTable {
public:
    PHazardVsMagnitude(const AnalysisSettings& settings, Table* dataset, const ParametricRequest& request,
                       Progress* progress = nullptr);
};

class PPDF : public ParametricTable {
public:
    PPDF(const AnalysisSettings& settings, Table* dataset, const ParametricRequest& request,
         Progress* progress = nullptr);
};

class PCDF : public ParametricTable {
public:
    PCDF(const AnalysisSettings& settings, Table* dataset, const ParametricRequest& request,
         Progress* progress = nullptr);
};

}  // namespace zorv

#pragma once
// The maximum magnitude of one sample by several estimators side by side:
// the program's own nonparametric estimate (adaptive kernel with the
// cross-validated h; fixed and variable upper limit of integration), its
// parametric estimate (Kijko–Sellevoll with the jointly estimated β; both
// limits), and Kijko–Sellevoll–Bayes, Tate–Pisarenko, Robson–Whitlock,
// Robson–Whitlock–Cooke and the Gaussian kernel with the rule-of-thumb h
// (formulas in MMaxEstimators.h). One table row per estimator with its
// estimate, standard deviation and status, and a verdict whether the
// estimates disagree: two estimates disagree when they differ by more than
// √(σ_i² + σ_j²), the standard deviation of their difference were they
// independent.

#include <string>
#include <vector>

#include "hazard/HKernel.h"
#include "hazard/MMaxEstimators.h"

namespace zorv {

struct MMaxRow {
    std::string name;   // "Robson–Whitlock"
    std::string label;  // the chart's short label, "R-W"
    MMaxResult result;
};

// The pair of successful estimates farthest apart in units of their
// combined standard deviation; `disagree` when that ratio exceeds 1.
struct MMaxVerdict {
    int estimates = 0;  // successful rows
    bool disagree = false;
    int first = -1, second = -1;  // row indices of the pair, −1 with fewer than two
    double difference = 0.0;      // |estimate_first − estimate_second| [magnitude]
    double combinedSigma = 0.0;   // √(σ_first² + σ_second²) [magnitude]
};
MMaxVerdict JudgeMMaxSpread(const std::vector<MMaxRow>& rows);

class MMaxComparison : public HKernel {
public:
    // Reads the sample (the failures of HKernel) and runs every estimator;
    // an estimator's failure is a row's status, not an exception. Raises
    // EBreakProcess when the user stops.
    MMaxComparison(const AnalysisSettings& settings, Table* dataset, Progress* progress = nullptr);

    const std::vector<MMaxRow>& Rows() const { return rows; }
    const MMaxVerdict& Verdict() const { return verdict; }
    // The β of Tate–Pisarenko and Kijko–Sellevoll–Bayes [1/magnitude] and
    // where it came from.
    double Beta() const { return beta; }
    const std::string& BetaSource() const { return betaSource; }
    double RuleOfThumbH() const { return ruleOfThumbH; }
    double CrossValidatedH() const { return crossValidatedH; }
    // "Estymatory są zgodne…" or "Estymatory NIE są zgodne…", for the
    // report and the chart.
    std::string VerdictText() const;
    // The verdict in a few words, under the chart's title (the subtitle).
    std::string ShortVerdict() const;

    bool WriteReport(ReportLines& lines) override;

private:
    void RunEstimators();
    void FillTable();

    std::vector<MMaxRow> rows;
    MMaxVerdict verdict;
    double beta = 0.0;
    std::string betaSource;
    double ruleOfThumbH = 0.0;
    double crossValidatedH = 0.0;
};

}  // namespace zorv

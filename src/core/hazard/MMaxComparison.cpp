#include "hazard/MMaxComparison.h"

#include <cmath>
#include <numeric>

#include "hazard/HazardErrors.h"
#include "hazard/NonParametricHazard.h"
#include "hazard/ParametricHazard.h"
#include "report/ReportWriter.h"
#include "text/NumberFormat.h"

namespace zorv {

namespace {

// The program's kernel estimator as such, without a table of its own.
class KernelEstimate : public NonParametricHazard {
public:
    using NonParametricHazard::NonParametricHazard;
    bool WriteReport(ReportLines&) override { return false; }
};

MMaxResult fromEstimate(double estimate, double largest) {
    MMaxResult r;
    r.estimate = estimate;
    r.sigma = std::fabs(estimate - largest);
    return r;
}

MMaxResult failedWith(std::exception_ptr e) {
    MMaxResult r;
    r.failure = MMaxFailureText(e);
    return r;
}

}  // namespace

MMaxVerdict JudgeMMaxSpread(const std::vector<MMaxRow>& rows) {
    MMaxVerdict v;
    double worst = -1.0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (!rows[i].result.ok()) continue;
        ++v.estimates;
        for (std::size_t j = i + 1; j < rows.size(); ++j) {
            if (!rows[j].result.ok()) continue;
            const MMaxResult& a = rows[i].result;
            const MMaxResult& b = rows[j].result;
            const double d = std::fabs(a.estimate - b.estimate);
            const double s = std::sqrt(a.sigma * a.sigma + b.sigma * b.sigma);
            // Two exact equal estimates agree whatever their σ.
            const double ratio = d == 0.0 ? 0.0 : s > 0.0 ? d / s : INFINITY;
            if (ratio > worst) {
                worst = ratio;
                v.first = static_cast<int>(i);
                v.second = static_cast<int>(j);
                v.difference = d;
                v.combinedSigma = s;
            }
        }
    }
    v.disagree = worst > 1.0;
    return v;
}

MMaxComparison::MMaxComparison(const AnalysisSettings& settings, Table* dataset, Progress* progress)
    : HKernel(settings, dataset, progress) {
    title = "Maksymalna magnituda — porównanie estymatorów";
    bottomAxisTitle = "Estymator";
    leftAxisTitle = "Maksymalna magnituda";
    RunEstimators();
    verdict = JudgeMMaxSpread(rows);
    subtitle = ShortVerdict();
    FillTable();
    HideProgress();
    hasData = true;
}

void MMaxComparison::RunEstimators() {
    const AnalysisSettings& s = settings_;
    const double largest = largestObserved;
    const int stages = 9;
    StartProgress("Porównanie estymatorów maksymalnej magnitudy", 0, stages);
    int stage = 0;
    const auto step = [&] {
        SetProgressPosition(++stage);
        CheckCancel();
    };

    // The program's nonparametric estimate: h searched once, then both limits.
    AnalysisSettings inner = s;
    inner.MinSampleSize = 0;  // the sample was judged once, above
    double h = -1.0;
    for (const bool variable : {false, true}) {
        MMaxRow row{variable ? "Nieparametryczny (zmienna granica całkowania)"
                             : "Nieparametryczny (stała granica całkowania)",
                    variable ? "NP zm." : "NP st.",
                    {}};
        try {
            const KernelEstimate e(inner, dataset_, h, -1.0, {0, 0, static_cast<std::uint8_t>(variable)},
                                   progressWindow);
            h = e.SmoothingFactor();
            crossValidatedH = h;
            row.result = fromEstimate(e.MMaxEst(), largest);
        } catch (const EBreakProcess&) {
            throw;
        } catch (...) {
            row.result = failedWith(std::current_exception());
        }
        rows.push_back(row);
        StartProgress("Porównanie estymatorów maksymalnej magnitudy", 0, stages);
        step();
    }

    // The parametric estimate with the joint β, both limits.
    double jointBeta = 0.0;
    for (const bool variable : {false, true}) {
        MMaxRow row{variable ? "Kijko–Sellevoll (zmienna granica całkowania)"
                             : "Kijko–Sellevoll (stała granica całkowania)",
                    variable ? "K-S zm." : "K-S st.",
                    {}};
        try {
            const ParametricHazard e(s, dataset_, TimeUnit::Months, variable, progressWindow);
            row.result = fromEstimate(e.MMaxEst(), largest);
            row.result.passes = e.PassCount();
            if (jointBeta == 0.0 || variable) jointBeta = e.Beta();
        } catch (const EBreakProcess&) {
            throw;
        } catch (...) {
            row.result = failedWith(std::current_exception());
        }
        rows.push_back(row);
        step();
    }

    // β of the estimators that assume the Gutenberg–Richter law.
    if (jointBeta > 0.0) {
        beta = jointBeta;
        betaSource = "łączna estymacja Kijko–Sellevoll";
    } else {
        const double mean = std::accumulate(x.begin(), x.end(), 0.0) / static_cast<double>(x.size());
        beta = mean > mMin ? 1.0 / (mean - mMin) : 0.0;
        betaSource = "estymator Aki (bez ograniczenia magnitudy)";
    }

    MMaxFixedPoint fp;
    fp.epsilon = s.Epsilon;
    fp.passLimit = s.IntegralIterations;
    fp.valueLimit = s.MMaxLimit;
    rows.push_back({"Kijko–Sellevoll–Bayes", "K-S-B", KijkoSellevollBayesEquation(x, mMin, beta, fp)});
    step();
    rows.push_back({"Tate–Pisarenko", "T-P", TatePisarenko(x, mMin, beta)});
    step();
    rows.push_back({"Robson–Whitlock", "R-W", RobsonWhitlock(x)});
    step();
    rows.push_back({"Robson–Whitlock–Cooke", "R-W-C", RobsonWhitlockCooke(x)});
    step();
    ruleOfThumbH = RuleOfThumbSmoothing(x);
    rows.push_back({"Nieparametryczny gaussowski (h z reguły kciuka)", "N-P-G",
                    GaussianKernelMMaxEquation(x, mMin, ruleOfThumbH, fp)});
    step();
}

void MMaxComparison::FillTable() {
    Table& t = CreateResultTable({{"Estymator", FieldType::String, 60},
                                  {"Skrot", FieldType::String, 10},
                                  {"MMax", FieldType::Float},
                                  {"Sigma", FieldType::Float},
                                  {"MObs", FieldType::Float},
                                  {"Status", FieldType::String, 80}});
    for (const char* name : {"MMax", "Sigma", "MObs"})
        t.setDisplayFormat(t.requireField(name), settings_.ProbabilityMask);
    for (const MMaxRow& r : rows) {
        const bool ok = r.result.ok();
        t.appendRecord({Value{}, Value::text(r.name), Value::text(r.label),
                        ok ? Value::real(r.result.estimate) : Value{},
                        ok ? Value::real(r.result.sigma) : Value{}, Value::real(largestObserved),
                        Value::text(ok ? "obliczony" : r.result.failure)});
    }
    t.first();
}

std::string MMaxComparison::ShortVerdict() const {
    if (verdict.estimates < 2) return "Za mało estymacji do porównania";
    if (!verdict.disagree) return "Estymatory zgodne w granicach odchyleń";
    return "Estymatory NIE są zgodne (" + rows[static_cast<std::size_t>(verdict.first)].label + " i " +
           rows[static_cast<std::size_t>(verdict.second)].label + ")";
}

std::string MMaxComparison::VerdictText() const {
    const Locale& loc = settings_.UserLocale;
    if (verdict.estimates < 2) return "Za mało udanych estymacji do porównania";
    const std::string pair = rows[static_cast<std::size_t>(verdict.first)].label + " i " +
                             rows[static_cast<std::size_t>(verdict.second)].label;
    const std::string numbers = "różnica " + formatMask(verdict.difference, "0.000", loc) +
                                ", łączne odchylenie " + formatMask(verdict.combinedSigma, "0.000", loc);
    if (verdict.disagree)
        return "Estymatory NIE są zgodne: rozrzut większy od łącznych odchyleń standardowych (" + pair +
               ": " + numbers + ")";
    return "Estymatory są zgodne w granicach łącznych odchyleń standardowych (największa rozbieżność " +
           pair + ": " + numbers + ")";
}

bool MMaxComparison::WriteReport(ReportLines& lines) {
    const Locale& loc = settings_.UserLocale;
    WriteReportOpening(*this, lines, title);
    WriteCommonParameters(*this, lines, 3);
    lines.push_back(ReportLabel("Wielkość próby:") + std::to_string(SampleSize()));
    lines.push_back(ReportLabel("Maksymalna magnituda obserwowana:") +
                    FormatMagnitudeEnergy(*this, largestObserved));
    lines.push_back(ReportLabel("Współczynnik Beta:") + formatMask(beta, "0.000", loc) + " (" + betaSource +
                    ")");
    lines.push_back(
        ReportLabel("Współczynnik gładkości (LSCV):") +
        (crossValidatedH > 0.0 ? formatMask(crossValidatedH, "0.0000", loc) : std::string("brak")));
    lines.push_back(ReportLabel("Współczynnik gładkości (reguła):") +
                    formatMask(ruleOfThumbH, "0.0000", loc));
    lines.push_back(ReportMarker(*this, "<p>"));
    for (const MMaxRow& r : rows) {
        std::string line = "  " + r.name + ": ";
        if (r.result.ok())
            line += formatMask(r.result.estimate, "0.000", loc) + " ± " +
                    formatMask(r.result.sigma, "0.000", loc);
        else
            line += "brak estymacji — " + r.result.failure;
        lines.push_back(line);
    }
    lines.push_back("");
    lines.push_back("  " + VerdictText());
    lines.push_back(ReportMarker(*this, "<p>"));
    WriteTableText(lines);
    return true;
}

}  // namespace zorv

#pragma once
// Magnitude catalogues, settings and a scripted progress window for the
// hazard tests.

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "analysis/Progress.h"
#include "catalogue/AnalysisSettings.h"
#include "hazard/NonParametricHazard.h"
#include "table/Table.h"

namespace zorv::testing {

// A catalogue with DATA (one event a day from 2001-01-01) and MAGNITUDA.
inline Table magnitudeCatalogue(const std::vector<double>& magnitudes, std::int32_t firstDay = 36892) {
    Table t({{"DATA", FieldType::Date}, {"MAGNITUDA", FieldType::Float}});
    for (std::size_t i = 0; i < magnitudes.size(); ++i)
        t.appendRecord({Value::date(firstDay + static_cast<std::int32_t>(i)), Value::real(magnitudes[i])});
    t.first();
    return t;
}

inline AnalysisSettings hazardSettings(double mMin = 1.0) {
    AnalysisSettings s;
    s.FilePrefix = "temp";
    s.EnergyField = "ENG";
    s.MagnitudeField = "MAGNITUDA";
    s.DateField = "DATA";
    s.MainTitle = "Katalog";
    s.OutputDir = "/tmp/zorv/";
    s.EnergyMask = "0.00e+00";
    s.ProbabilityMask = "0.000";
    s.MMin = mMin;
    s.UserLocale = Locale::make('.', "yyyy-MM-dd");
    return s;
}

// Continuous truncated Gutenberg–Richter magnitudes (inverse distribution
// function of uniform numbers from a fixed seed).
inline std::vector<double> grSample(std::size_t n, std::uint64_t seed, double mMin, double mMax,
                                    double b = 1.0) {
    std::mt19937_64 engine(seed);
    const double span = 1.0 - std::pow(10.0, -b * (mMax - mMin));
    std::vector<double> m(n);
    for (double& v : m) {
        const double u = static_cast<double>(engine() >> 11) * 0x1.0p-53;
        v = mMin - std::log10(1.0 - u * span) / b;
    }
    return m;
}

// The estimator as such (the hazard tables add their report).
class Estimator : public NonParametricHazard {
public:
    using NonParametricHazard::NonParametricHazard;
    bool WriteReport(ReportLines&) override { return false; }
};

// Records what the computation shows and answers as told.
class ScriptedProgress : public Progress {
public:
    void start(const std::string& caption, int, int maximum) override {
        captions.push_back(caption);
        maxima.push_back(maximum);
    }
    void setRange(int, int) override {}
    void setPosition(int) override {
        if (cancelAfter >= 0 && ++positions > cancelAfter) cancelled = true;
    }
    void hide() override {}
    bool isCancelled() const override { return cancelled; }
    bool confirm(const std::string& question) override {
        questions.push_back(question);
        return answer;
    }
    void inform(const std::string& title, const std::string& text, bool error) override {
        messages.push_back({title, text, error});
    }

    struct Message {
        std::string title, text;
        bool error;
    };
    std::vector<std::string> captions;
    std::vector<int> maxima;
    std::vector<std::string> questions;
    std::vector<Message> messages;
    bool answer = true;
    bool cancelled = false;
    int cancelAfter = -1;  // positions before the cancel button is pressed
    int positions = 0;
};

}  // namespace zorv::testing

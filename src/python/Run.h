#pragma once
// One analysis of the registry run from Python: the keyword arguments as
// the options zorv-batch takes, the progress reported to a Python callback
// with Ctrl-C turned into the core's cancel, and the result kept with its
// sample.

#include <pybind11/pybind11.h>

#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "Selection.h"
#include "analysis/Database.h"
#include "base/Progress.h"
#include "registry/AnalysisRegistry.h"
#include "registry/OptionSource.h"

namespace zorv::python {

namespace py = pybind11;

// Keyword arguments by option name ("time_unit" → --time-unit): True sets a
// flag, None or False leaves an option out, a list gives a repeated option
// its values or a list option its items.
class KeywordOptions : public OptionSource {
public:
    void add(const OptionSpec& spec, py::handle value);
    bool isSet(std::string_view name) const override { return values_.count(std::string(name)) != 0; }
    std::vector<std::string> values(std::string_view name) const override;

private:
    std::map<std::string, std::vector<std::string>, std::less<>> values_;
};

// The option name of a keyword: underscores become dashes.
std::string optionNameOf(const std::string& keyword);

// Progress of a computation that runs without the GIL: at most every 50 ms
// it takes the GIL, checks for Ctrl-C (KeyboardInterrupt) and calls the
// callback (caption, position, maximum); either stopping makes the core
// cancel. The small-sample question is answered OK, as in zorv-batch, and
// noted.
class PythonProgress : public Progress {
public:
    explicit PythonProgress(py::object callback) : callback_(std::move(callback)) {}
    void start(const std::string& caption, int minimum, int maximum) override;
    void setRange(int minimum, int maximum) override;
    void setPosition(int position) override;
    void hide() override {}
    bool isCancelled() const override;
    bool confirm(const std::string& question) override;
    void inform(const std::string& title, const std::string& text, bool error) override;

    // With the GIL held: the Python error that stopped the run, if any.
    std::optional<py::error_already_set> takeError();
    std::vector<std::string> notes;

private:
    void poll(bool force) const;
    bool countCall() const;

    py::object callback_;
    mutable std::mutex mutex_;
    std::string caption_;
    std::atomic<int> maximum_{0}, position_{0};
    mutable std::atomic<bool> cancelled_{false};
    mutable std::atomic<unsigned> calls_{0};
    mutable std::chrono::steady_clock::time_point last_{};
    mutable std::optional<py::error_already_set> error_;
};

struct RunResult {
    const AnalysisEntry* entry = nullptr;
    AnalysisRequest request;
    AnalysisSettings settings;
    std::string filterDescription;
    std::vector<std::string> notes;
    std::unique_ptr<Table> sample;       // outlives the analysis, which reads it
    std::shared_ptr<Database> analysis;  // after the sample, so destroyed first
};

// Runs the analysis `name` on the selection. `options` holds the analysis
// options and setting overrides (mmin, a, b, ...); `progress` may be None.
std::shared_ptr<RunResult> runAnalysis(const std::string& name, const Selection& selection,
                                       const py::dict& options, py::object progress);

// The figures of the estimate line zorv-batch prints for the analysis.
py::dict estimateOf(RunResult& r);

}  // namespace zorv::python

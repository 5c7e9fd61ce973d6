#include "Run.h"

#include <pybind11/numpy.h>

#include <cmath>
#include <optional>

#include "analysis/DBBase.h"
#include "hazard/Backtest.h"
#include "hazard/Hrds.h"
#include "hazard/LSCV.h"
#include "hazard/MMaxComparison.h"
#include "hazard/NonParametricHazard.h"
#include "hazard/ParametricTables.h"
#include "hazard/TimeVariations.h"
#include "registry/AnalysisRequestOptions.h"

namespace zorv::python {

std::string optionNameOf(const std::string& keyword) {
    std::string name = keyword;
    for (char& c : name)
        if (c == '_') c = '-';
    return name;
}

namespace {

std::string textOf(py::handle v, const std::string& option) {
    if (py::isinstance<py::bool_>(v))
        throw OptionError("Opcja --" + option + " przyjmuje wartość, nie True/False.");
    if (py::isinstance<py::float_>(v)) return py::repr(v).cast<std::string>();
    if (py::isinstance<py::int_>(v) || py::isinstance<py::str>(v)) return py::str(v).cast<std::string>();
    // NumPy scalars and other numbers.
    if (py::hasattr(v, "__float__") && !py::isinstance<py::str>(v))
        return py::repr(py::float_(py::reinterpret_borrow<py::object>(v))).cast<std::string>();
    throw OptionError("Opcja --" + option + ": nieobsługiwana wartość " + py::repr(v).cast<std::string>());
}

bool isSequence(py::handle v) {
    return py::isinstance<py::list>(v) || py::isinstance<py::tuple>(v) || py::isinstance<py::array>(v);
}

}  // namespace

void KeywordOptions::add(const OptionSpec& spec, py::handle value) {
    const std::string name = spec.name;
    if (value.is_none()) return;
    if (spec.kind == OptionKind::Flag) {
        if (!py::isinstance<py::bool_>(value))
            throw OptionError("Opcja --" + name + " przyjmuje True lub False.");
        if (value.cast<bool>()) values_[name];
        return;
    }
    if (py::isinstance<py::bool_>(value) && !value.cast<bool>()) return;
    std::vector<std::string>& out = values_[name];
    if (isSequence(value)) {
        std::vector<std::string> items;
        for (py::handle item : value) items.push_back(textOf(item, name));
        if (spec.kind == OptionKind::Repeated) {
            out = items;
        } else if (spec.kind == OptionKind::List) {
            std::string joined;
            for (const std::string& i : items) joined += (joined.empty() ? "" : ",") + i;
            out = {joined};
        } else {
            throw OptionError("Opcja --" + name + " przyjmuje jedną wartość.");
        }
    } else {
        out = {textOf(value, name)};
    }
}

std::vector<std::string> KeywordOptions::values(std::string_view name) const {
    const auto v = values_.find(name);
    return v == values_.end() ? std::vector<std::string>{} : v->second;
}

void PythonProgress::start(const std::string& caption, int, int maximum) {
    {
        std::lock_guard lock(mutex_);
        caption_ = caption;
    }
    maximum_ = maximum;
    position_ = 0;
    poll(true);
}

void PythonProgress::setRange(int, int maximum) { maximum_ = maximum; }

// The estimators report and ask tens of thousands of times a run: the clock
// is read on every 64th call only, and nothing on the way is a locked
// instruction (a seq_cst store or an atomic increment costs as much as a
// small analysis' own work over its records). Calls from two threads may
// lose a count; that only moves the next look at the clock.
bool PythonProgress::countCall() const {
    const unsigned calls = calls_.load(std::memory_order_relaxed) + 1;
    calls_.store(calls, std::memory_order_relaxed);
    return (calls & 63u) == 0;
}

void PythonProgress::setPosition(int position) {
    position_.store(position, std::memory_order_relaxed);
    if (countCall()) poll(false);
}

bool PythonProgress::isCancelled() const {
    if (countCall()) poll(false);
    return cancelled_.load(std::memory_order_relaxed);
}

bool PythonProgress::confirm(const std::string& question) {
    std::lock_guard lock(mutex_);
    notes.push_back(question + " OK");
    return true;
}

void PythonProgress::inform(const std::string& title, const std::string& text, bool) {
    std::lock_guard lock(mutex_);
    notes.push_back(title + ": " + text);
}

void PythonProgress::poll(bool force) const {
    if (cancelled_) return;
    const auto now = std::chrono::steady_clock::now();
    std::string caption;
    {
        std::lock_guard lock(mutex_);
        if (!force && now - last_ < std::chrono::milliseconds(50)) return;
        last_ = now;
        caption = caption_;
    }
    const int position = position_, maximum = maximum_;
    py::gil_scoped_acquire gil;
    if (PyErr_CheckSignals() != 0) {
        error_.emplace();
        cancelled_ = true;
        return;
    }
    if (callback_.is_none()) return;
    try {
        callback_(caption, position, maximum);
    } catch (py::error_already_set& e) {
        error_.emplace(std::move(e));
        cancelled_ = true;
    }
}

std::optional<py::error_already_set> PythonProgress::takeError() {
    std::optional<py::error_already_set> e;
    e.swap(error_);
    return e;
}

std::shared_ptr<RunResult> runAnalysis(const std::string& name, const Selection& selection,
                                       const py::dict& options, py::object progressCallback) {
    const AnalysisEntry* entry = findAnalysis(name);
    if (!entry) throw OptionError("Nieznana analiza: " + name + " (zorv.analyses()).");
    std::map<std::string, SettingValue> overrides;
    KeywordOptions keywords;
    static const std::vector<std::string> settingKeys = settingNames();
    for (const auto& [key, value] : options) {
        const std::string keyword = py::str(key).cast<std::string>();
        if (const OptionSpec* spec = findAnalysisOption(optionNameOf(keyword))) {
            keywords.add(*spec, value);
        } else if (std::find(settingKeys.begin(), settingKeys.end(), keyword) != settingKeys.end()) {
            if (py::isinstance<py::bool_>(value))
                overrides[keyword] = value.cast<bool>();
            else if (py::isinstance<py::int_>(value))
                overrides[keyword] = value.cast<long long>();
            else if (py::isinstance<py::float_>(value))
                overrides[keyword] = value.cast<double>();
            else
                overrides[keyword] = py::str(value).cast<std::string>();
        } else {
            throw OptionError("Nieznana opcja: " + keyword + " (zorv.options()).");
        }
    }
    // The catalogue's settings are copied only where this run changes them.
    std::optional<ModuleSettings> changed;
    if (!overrides.empty()) {
        changed = selection.file->settings;
        applySettingOverrides(*changed, overrides);
    }
    const ModuleSettings& settings = changed ? *changed : selection.file->settings;

    auto r = std::make_shared<RunResult>();
    r->entry = entry;
    r->request = readAnalysisRequest(keywords, *entry, settings.prefs, settings.locale);
    r->settings =
        settings.analysisSettings(static_cast<std::int32_t>(selection.file->table->physicalCount()));
    r->filterDescription = selection.description;
    const Table& source =
        entry->selection == SampleSelection::WholeCatalogue ? *selection.file->table : *selection.records;
    int copyCounter = 1;
    r->sample = CopyCatalogueForAnalysis(source, r->settings, copyCounter);

    PythonProgress progress(std::move(progressCallback));
    std::exception_ptr failure;
    {
        py::gil_scoped_release released;
        try {
            r->analysis = entry->make({r->settings, r->sample.get(), r->request, &progress, nullptr});
        } catch (...) {
            failure = std::current_exception();
        }
    }
    if (auto e = progress.takeError()) throw std::move(*e);
    if (failure) std::rethrow_exception(failure);
    r->notes = progress.notes;
    return r;
}

namespace {

void addBands(py::dict& d, const char* name, const Band& b) {
    d[(std::string(name) + "_lo").c_str()] = b.lower;
    d[(std::string(name) + "_hi").c_str()] = b.upper;
}

const char* unitName(TimeUnit u) { return u == TimeUnit::Months ? "months" : "quarters"; }

}  // namespace

py::dict estimateOf(RunResult& r) {
    py::dict d;
    Database& a = *r.analysis;
    if (const auto* e = dynamic_cast<const NonParametricHazard*>(&a)) {
        d["n"] = e->SampleSize();
        if (r.request.nonParametric.kind != HazardKind::SmoothingFactor) {
            d["h"] = e->SmoothingFactor();
            d["MMaxEst"] = e->MMaxEst();
        }
        if (const auto* h = dynamic_cast<const Hrds*>(e)) {
            d["rate"] = h->ActivityRate();
            d["unit"] = unitName(h->Unit());
        }
        if (const auto* l = dynamic_cast<const LSCV*>(e)) d["h"] = l->SampleH();
        if (const auto* t = dynamic_cast<const NonParametricBandTable*>(e); t && t->Bands()) {
            const NonParametricBands& b = *t->Bands();
            d["level"] = b.options.level;
            d["replicates"] = b.options.replicates;
            d["failed"] = b.failed;
            addBands(d, "h", b.of([](const NonParametricReplicate& x) { return x.h; }));
            addBands(d, "MMaxEst", b.of([](const NonParametricReplicate& x) { return x.mMax; }));
            addBands(d, "rate", b.of([](const NonParametricReplicate& x) { return x.rate; }));
        }
    } else if (const auto* t = dynamic_cast<const ParametricTable*>(&a)) {
        d["beta"] = t->Beta();
        d["b"] = t->BValue();
        d["MMaxEst"] = t->MMaxEst();
        d["rate"] = t->ActivityRate();
        d["unit"] = unitName(t->Unit());
        d["n"] = t->SampleSize();
        if (const auto& bands = t->Bands()) {
            d["level"] = bands->options.level;
            d["replicates"] = bands->options.replicates;
            d["failed"] = bands->failed;
            addBands(d, "beta", bands->of([](const ParametricModel& m) { return m.beta; }));
            addBands(d, "MMaxEst", bands->of([](const ParametricModel& m) { return m.mMax; }));
            addBands(d, "rate", bands->of([](const ParametricModel& m) { return m.rate; }));
        }
    } else if (auto* v = dynamic_cast<TimeVariations*>(&a)) {
        const Table& t = *v->GetTable();
        const int note = t.requireField("Opis");
        int failed = 0;
        for (std::size_t i = 0; i < t.recordCount(); ++i)
            failed += !t.column(note).textAt(t.rowOfRecord(i)).empty();
        d["windows"] = v->WindowsWritten();
        d["windows_without_estimate"] = failed;
        if (v->Parameters().bootstrap.enabled) {
            d["replicates"] = v->ReplicatesRun();
            d["failed"] = v->ReplicatesFailed();
        }
        if (v->Parameters().completeness.enabled) d["windows_without_mc"] = v->WindowsWithoutMc();
    } else if (const auto* b = dynamic_cast<const Backtest*>(&a)) {
        for (const bool parametric : {true, false}) {
            const FamilyScores& s = parametric ? b->Parametric() : b->NonParametric();
            py::dict f;
            f["forecasts"] = s.forecasts;
            f["failures"] = s.failures;
            f["brier"] = s.brier;
            f["climatology_brier"] = s.climatologyBrier;
            f["skill"] = s.skill;
            f["observed"] = s.number.observed;
            f["expected"] = s.number.expected;
            d[parametric ? "parametric" : "nonparametric"] = f;
        }
    } else if (const auto* m = dynamic_cast<const MMaxComparison*>(&a)) {
        d["n"] = m->SampleSize();
        d["beta"] = m->Beta();
        d["h"] = m->CrossValidatedH();
        d["rule_of_thumb_h"] = m->RuleOfThumbH();
        d["verdict"] = m->VerdictText();
        py::dict rows;
        for (const MMaxRow& row : m->Rows())
            rows[row.label.c_str()] = py::make_tuple(row.result.estimate, row.result.sigma);
        d["MMax"] = rows;
    }
    return d;
}

}  // namespace zorv::python

#include "Estimators.h"

#include <pybind11/stl.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "Arrays.h"
#include "Run.h"
#include "catalogue/EnergyMagnitude.h"
#include "hazard/BValue.h"
#include "hazard/Completeness.h"

namespace zorv::python {

namespace {

std::map<std::string, SettingValue> settingOverrides(const py::kwargs& kw, std::string* file) {
    std::map<std::string, SettingValue> out;
    for (const auto& [key, value] : kw) {
        const std::string k = py::str(key).cast<std::string>();
        if (k == "settings") {
            *file = py::str(value).cast<std::string>();
        } else if (py::isinstance<py::bool_>(value)) {
            out[k] = value.cast<bool>();
        } else if (py::isinstance<py::int_>(value)) {
            out[k] = value.cast<long long>();
        } else if (py::isinstance<py::float_>(value)) {
            out[k] = value.cast<double>();
        } else {
            out[k] = py::str(value).cast<std::string>();
        }
    }
    return out;
}

// A catalogue of the magnitudes (with their dates, or all on one day): the
// date, energy and magnitude fields of the settings, the energy from the
// relation log10 E = a·M + b.
Selection sampleOfArrays(const RealArray& m, py::handle dates, double mmin, ModuleSettings settings) {
    settings.base.MMin = mmin;
    std::vector<std::int32_t> days;
    if (!dates.is_none()) {
        days = dayNumbers(dates, "dates");
        if (days.size() != m.size())
            throw ArrayError("Tablice magnitud i dat muszą mieć jednakową długość (" +
                             std::to_string(m.size()) + " i " + std::to_string(days.size()) + ").");
    }
    const AnalysisSettings as = settings.analysisSettings(static_cast<std::int32_t>(m.size()));
    auto table = std::make_unique<Table>(FieldDefs{{as.DateField, FieldType::Date},
                                                   {as.EnergyField, FieldType::Float},
                                                   {as.MagnitudeField, FieldType::Float}});
    const EnergyMagnitudeRelation relation{as.a, as.b};
    Column& d = table->loadColumn(0);
    Column& e = table->loadColumn(1);
    Column& x = table->loadColumn(2);
    d.reserve(m.size());
    e.reserve(m.size());
    x.reserve(m.size());
    const std::span<const double> v = m.values();
    for (std::size_t i = 0; i < v.size(); ++i) {
        d.appendInt32(days.empty() ? kUnixEpochDay : days[i]);
        e.appendDouble(relation.energyFromMagnitude(v[i]));
        x.appendDouble(v[i]);
    }
    table->finishLoad();
    return catalogueOfTable(std::move(table), std::move(settings), "<arrays>");
}

ModuleSettings estimatorSettings(const py::kwargs& kw) {
    std::string file;
    const auto overrides = settingOverrides(kw, &file);
    return readModuleSettings(file, overrides);
}

McMethod methodOf(const std::string& name) {
    const auto m = mcMethodOfName(name);
    if (!m) throw OptionError("Nieznana metoda Mc: " + name + " (maxc, maxc+0.2, gof90, gof95, mbs, ks)");
    return *m;
}

McOptions mcOptions(double bin, int bootstrap, long long seed) {
    McOptions o;
    if (!(bin >= 0.001 && bin <= 1.0))
        throw OptionError("Szerokość przedziału bin musi należeć do [0,001; 1].");
    if (bootstrap < 0 || bootstrap > 100000)
        throw OptionError("Liczba prób bootstrap musi być liczbą całkowitą od 0 do 100000.");
    if (seed < 0) throw OptionError("Ziarno seed musi być liczbą nieujemną.");
    o.binWidth = bin;
    o.bootstrapResamples = bootstrap;
    o.seed = static_cast<std::uint64_t>(seed);
    return o;
}

double mc(py::object m, const std::string& method, double bin) {
    const RealArray x(m, "m");
    const McOptions o = mcOptions(bin, 0, 20050101);
    const McMethod chosen = methodOf(method);
    CompletenessResult r;
    {
        py::gil_scoped_release released;
        r = estimateCompleteness(x.vector(), o, {chosen});
    }
    const McEstimate& e = r.estimates.front();
    return e.mc ? *e.mc : std::numeric_limits<double>::quiet_NaN();
}

py::dict completeness(py::object m, py::object methods, double bin, int bootstrap, long long seed) {
    const RealArray x(m, "m");
    const McOptions o = mcOptions(bin, bootstrap, seed);
    std::vector<McMethod> chosen;
    if (py::isinstance<py::str>(methods) && methods.cast<std::string>() == "all")
        chosen = allMcMethods();
    else if (py::isinstance<py::str>(methods))
        chosen = {methodOf(methods.cast<std::string>())};
    else
        for (py::handle name : methods) chosen.push_back(methodOf(py::str(name).cast<std::string>()));
    if (chosen.empty()) throw OptionError("Podaj metodę Mc.");
    CompletenessResult r;
    {
        py::gil_scoped_release released;
        r = estimateCompleteness(x.vector(), o, chosen);
    }
    py::dict out;
    for (const McEstimate& e : r.estimates) {
        const bool fitted = e.mc && !std::isnan(e.fit.b);
        const double nan = std::numeric_limits<double>::quiet_NaN();
        py::dict d;
        d["mc"] = e.mc ? *e.mc : nan;
        d["sigma"] = e.mc ? e.sigma : nan;
        d["b"] = fitted ? e.fit.b : nan;
        d["sigma_b"] = fitted ? e.fit.sigma : nan;
        d["n"] = fitted ? py::object(py::int_(e.fit.events)) : py::object(py::none());
        d["resamples_with_estimate"] = e.resamplesWithEstimate;
        out[mcMethodName(e.method)] = d;
    }
    return out;
}

py::tuple bValue(py::object m, double mmin, const std::string& method, double bin, double threshold,
                 py::object dates, const py::kwargs& kw) {
    const RealArray x(m, "m");
    if (!std::isfinite(mmin)) throw OptionError("Próg mmin musi być liczbą.");
    if (!(bin >= 0.0 && bin <= 1.0))
        throw OptionError("Szerokość klasy magnitudy musi leżeć w przedziale 0 do 1.");
    if (method == "aki") {
        std::size_t used = 0;
        const double b = akiUtsuB(x.values(), mmin, bin, &used);
        if (b == 0.0) throw ENoRecords();
        // The Shi–Bolt error over the magnitudes the estimate took.
        std::vector<double> taken;
        taken.reserve(x.size());
        for (const double v : x.values())
            if (v >= mmin - bin / 2.0) taken.push_back(v);
        return py::make_tuple(b, shiBoltStandardError(b, taken));
    }
    if (method == "positive") {
        if (!(threshold >= 0.0 && threshold <= 5.0))
            throw OptionError("Próg różnic b-dodatniego musi leżeć w przedziale 0 do 5.");
        std::vector<double> ordered = x.vector();
        if (!dates.is_none()) {
            const std::vector<std::int32_t> days = dayNumbers(dates, "dates");
            if (days.size() != ordered.size())
                throw ArrayError("Tablice magnitud i dat muszą mieć jednakową długość.");
            std::vector<std::size_t> order(days.size());
            std::iota(order.begin(), order.end(), 0);
            std::stable_sort(order.begin(), order.end(),
                             [&](std::size_t a, std::size_t b) { return days[a] < days[b]; });
            for (std::size_t i = 0; i < order.size(); ++i) ordered[i] = x.values()[order[i]];
        }
        const BPositive r = bPositive(ordered, threshold, bin);
        if (r.b == 0.0) throw ENoRecords();
        return py::make_tuple(r.b, r.standardError);
    }
    if (method == "truncated") {
        Selection s = sampleOfArrays(x, dates, mmin, estimatorSettings(kw));
        const AnalysisSettings as = s.file->settings.analysisSettings(static_cast<std::int32_t>(x.size()));
        BEstimate e;
        {
            py::gil_scoped_release released;
            e = EstimateB(as, s.records.get(), TimeUnit::Months);
        }
        if (e.beta == 0.0) throw AnalysisError(e.description.empty() ? "Brak estymacji b" : e.description);
        const double sigma = truncatedBetaStandardError(e.beta, e.range, e.moments.n) / std::log(10.0);
        return py::make_tuple(bFromBeta(e.beta), sigma);
    }
    throw OptionError("Nieznana metoda b: " + method + " (aki, truncated, positive)");
}

std::shared_ptr<RunResult> runOnArrays(const char* name, py::handle m, py::handle dates, double mmin,
                                       const py::kwargs& kw, py::object progress) {
    const RealArray x(m, "m");
    py::dict options, settings;
    const std::vector<std::string> names = settingNames();
    for (const auto& [key, value] : kw) {
        const std::string k = py::str(key).cast<std::string>();
        if (k == "settings" || std::find(names.begin(), names.end(), k) != names.end())
            settings[key] = value;
        else
            options[key] = value;
    }
    Selection s = sampleOfArrays(x, dates, mmin, estimatorSettings(py::kwargs(settings)));
    return runAnalysis(name, s, options, std::move(progress));
}

}  // namespace

void addEstimators(py::module_& m) {
    m.def("mc", &mc, py::arg("m"), py::arg("method") = "maxc", py::arg("bin") = 0.1,
          R"(Completeness magnitude Mc of the magnitudes `m` [magnitude].

method: "maxc" (maximum curvature), "maxc+0.2" (with the Woessner-Wiemer
correction), "gof90", "gof95" (goodness of fit at 90 % and 95 %), "mbs"
(b-value stability) or "ks" (Kolmogorov-Smirnov); bin: the magnitude bin
width dM [magnitude]. Returns Mc [magnitude], NaN when the method gives no
estimate on the sample. The same estimate as `zorv-batch mc`.)");
    m.def("completeness", &completeness, py::arg("m"), py::arg("methods") = "all", py::arg("bin") = 0.1,
          py::arg("bootstrap") = 200, py::arg("seed") = 20050101,
          R"(Completeness magnitude by several methods with the bootstrap spread.

Returns {method: {"mc", "sigma", "b", "sigma_b", "n", "resamples_with_estimate"}}:
Mc and its bootstrap standard deviation [magnitude], the Aki-Utsu b-value
above Mc with its Shi-Bolt error, and the events above Mc; the table
`zorv-batch mc` prints. methods: "all", one name or a list (see mc).)");
    m.def("b_value", &bValue, py::arg("m"), py::arg("mmin"), py::arg("method") = "aki", py::arg("bin") = 0.0,
          py::arg("threshold") = 0.2, py::arg("dates") = py::none(),
          R"(Gutenberg-Richter b-value of the magnitudes `m` at or above `mmin` and its standard error.

method:
  "aki"        Aki (1965) maximum likelihood with Utsu's bin correction,
               b = log10(e) / (mean(M) - (mmin - bin/2)); error of Shi and Bolt (1982).
  "truncated"  b = beta / ln 10 with beta of the truncated exponential law
               estimated jointly with Mmax (variable upper limit), as the b-value
               analyses (b-changes, zone-b) estimate it; its error from the Fisher
               information of the truncated law.
  "positive"   b-positive (van der Elst 2021) from the differences of consecutive
               magnitudes at least `threshold`; the magnitudes are taken in the
               order given, or in the order of `dates` when given.
bin: magnitude bin width [magnitude], 0 for continuous magnitudes.
Returns (b, sigma) in 1/magnitude units.)");
    m.def(
        "mmax",
        [](py::object m, double mmin, py::object method, py::kwargs kw) -> py::object {
            const auto r = runOnArrays("mmax-compare", m, py::none(), mmin, kw, py::none());
            const py::dict rows = estimateOf(*r)["MMax"];
            if (method.is_none()) return rows;
            const std::string name = py::str(method).cast<std::string>();
            if (!rows.contains(name.c_str())) {
                std::string known;
                for (const auto& [k, v] : rows)
                    known += (known.empty() ? "" : ", ") + py::str(k).cast<std::string>();
                throw OptionError("Nieznany estymator Mmax: " + name + " (" + known + ")");
            }
            return rows[name.c_str()];
        },
        py::arg("m"), py::arg("mmin"), py::arg("method") = py::none(),
        R"(Maximum possible magnitude Mmax of the magnitudes `m` at or above `mmin` [magnitude].

Runs every estimator of the comparison analysis (mmax-compare): the kernel
estimate with the cross-validated h (fixed and variable upper limit), the
parametric Kijko-Sellevoll estimate (both limits), Kijko-Sellevoll-Bayes,
Tate-Pisarenko, Robson-Whitlock, Robson-Whitlock-Cooke and the Gaussian
kernel. method: the short label of one estimator ("R-W", ...); None gives a
dict of every label. Each value is (Mmax, sigma) [magnitude]; NaN where
the estimator failed. Keyword arguments: settings (a, b, H, ...).)");
    m.def(
        "smoothing_factor",
        [](py::object m, double mmin, py::kwargs kw) {
            const auto r = runOnArrays("mmax-compare", m, py::none(), mmin, kw, py::none());
            return estimateOf(*r)["h"].cast<double>();
        },
        py::arg("m"), py::arg("mmin"),
        R"(Smoothing factor h of the adaptive kernel estimator [magnitude], cross-validated.

The h the nonparametric hazard analyses use with the search on: the least
squares cross-validation of the kernel density of the magnitudes at or
above `mmin` (the optimal smoothing factor of Silverman).)");
    m.def(
        "np_hazard",
        [](py::object m, py::object dates, double mmin, py::object progress, py::kwargs kw) {
            return runOnArrays("np-hazard", m, dates, mmin, kw, std::move(progress));
        },
        py::arg("m"), py::arg("dates"), py::arg("mmin"), py::arg("progress") = py::none(),
        R"(Nonparametric seismic hazard of the events of magnitudes `m` on `dates` (datetime64[D]).

The probability that an event of at least the given magnitude occurs within
D time units, from the adaptive kernel estimate of the magnitude
distribution of the events at or above `mmin` and their mean activity rate.
Takes the options of zorv.run("np-hazard"): magnitude (up to four, default
3), start/end/step (the periods D), time_unit ("months" or "quarters"),
silverman, alt_h, variable_upper_limit, bootstrap, level. Returns a Result
(.table with the probabilities, .estimate with h, MMaxEst and rate).)");
    m.def(
        "p_hazard",
        [](py::object m, py::object dates, double mmin, py::object progress, py::kwargs kw) {
            return runOnArrays("p-hazard", m, dates, mmin, kw, std::move(progress));
        },
        py::arg("m"), py::arg("dates"), py::arg("mmin"), py::arg("progress") = py::none(),
        R"(Parametric seismic hazard of the events of magnitudes `m` on `dates` (datetime64[D]).

The probability of an event of at least the given magnitude within D time
units from the truncated Gutenberg-Richter law (beta and Mmax estimated
jointly) and the mean activity rate. Takes the options of
zorv.run("p-hazard"): magnitude (up to four, default 3), start/end/step,
time_unit, fixed_upper_limit, bootstrap, level. Returns a Result (.estimate
with beta, b, MMaxEst and rate).)");
}

}  // namespace zorv::python

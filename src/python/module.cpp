// The Python module zorv over zorvcore: catalogues with their selections,
// every analysis of the registry and the estimators on arrays. The Python
// package (zorv/__init__.py) imports it as zorv._zorv.

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include "Arrays.h"
#include "Errors.h"
#include "Estimators.h"
#include "Run.h"
#include "Selection.h"
#include "files/TableFiles.h"
#include "report/ReportLines.h"
#include "text/DateText.h"

namespace py = pybind11;
using namespace zorv;
using namespace zorv::python;

namespace {

std::string joined(const ReportLines& lines) {
    std::string out;
    for (const std::string& l : lines) out += l + "\n";
    return out;
}

// Keyword arguments that are settings: "settings" names the file.
std::pair<std::string, std::map<std::string, SettingValue>> settingArguments(const py::kwargs& kw) {
    std::string file;
    std::map<std::string, SettingValue> out;
    const std::vector<std::string> names = settingNames();
    for (const auto& [key, value] : kw) {
        const std::string k = py::str(key).cast<std::string>();
        if (k == "settings") {
            file = py::str(value).cast<std::string>();
            continue;
        }
        if (std::find(names.begin(), names.end(), k) == names.end())
            throw OptionError("Nieznane ustawienie: " + k + " (zorv.setting_names()).");
        if (py::isinstance<py::bool_>(value))
            out[k] = value.cast<bool>();
        else if (py::isinstance<py::int_>(value))
            out[k] = value.cast<long long>();
        else if (py::isinstance<py::float_>(value))
            out[k] = value.cast<double>();
        else
            out[k] = py::str(value).cast<std::string>();
    }
    return {file, out};
}

void warnAll(const std::vector<std::string>& warnings) {
    for (const std::string& w : warnings) PyErr_WarnEx(PyExc_UserWarning, w.c_str(), 1);
}

// A date argument of filter(): datetime.date, datetime64 or text in the
// catalogue's locale or ISO.
std::optional<std::int32_t> dateArgument(py::handle v, const Locale& locale, const char* name) {
    if (v.is_none()) return std::nullopt;
    if (py::isinstance<py::str>(v)) {
        const std::string text = v.cast<std::string>();
        const auto d = parseDate(text, locale);
        if (!d) throw OptionError("Niepoprawna data w opcji " + std::string(name) + ": " + text);
        return *d;
    }
    const std::vector<std::int32_t> days =
        dayNumbers(py::module_::import("numpy").attr("atleast_1d")(v), name);
    if (days.size() != 1) throw OptionError("Opcja " + std::string(name) + " przyjmuje jedną datę.");
    return days.front();
}

std::vector<std::string> textList(py::handle v) {
    if (v.is_none()) return {};
    if (py::isinstance<py::str>(v)) return {v.cast<std::string>()};
    std::vector<std::string> out;
    for (py::handle item : v) out.push_back(py::str(item).cast<std::string>());
    return out;
}

py::dict tableDict(const Table& t, py::handle owner) {
    py::dict d;
    for (int f = 0; f < t.fieldCount(); ++f) d[t.field(f).name.c_str()] = columnArray(t, f, owner);
    return d;
}

}  // namespace

PYBIND11_MODULE(_zorv, m) {
    m.doc() = "Zorv: seismic hazard of underground mines from their event catalogues (zorvcore).";
    registerErrorTranslator();
    py::register_exception_translator([](std::exception_ptr p) {
        try {
            if (p) std::rethrow_exception(p);
        } catch (const StructureCheckFailure& e) {
            const py::object cls = py::module_::import("zorv.errors").attr("StructureCheckError");
            py::object error = cls(e.what(), "the catalogue failed its structure check");
            error.attr("report") = e.report;
            PyErr_SetObject(cls.ptr(), error.ptr());
        }
    });

    py::class_<Selection, std::shared_ptr<Selection>>(m, "Selection", R"(Events of a catalogue.

zorv.open() gives the whole catalogue; filter() gives a new selection. The
records are frozen when the selection is made: a selection never changes.)")
        .def(
            "__len__", [](const Selection& s) { return s.records->physicalCount(); },
            "The number of records.")
        .def_property_readonly(
            "fields",
            [](const Selection& s) {
                std::vector<std::string> names;
                for (const FieldDef& f : s.records->fields()) names.push_back(f.name);
                return names;
            },
            "The field names of the catalogue, in file order.")
        .def(
            "__getitem__",
            [](py::object self, const std::string& name) {
                const Selection& s = self.cast<const Selection&>();
                const int f = s.records->fieldIndex(name);
                if (f < 0) throw py::key_error(name);
                return columnArray(*s.records, f, self);
            },
            R"(The field as a NumPy array: numbers as float64 or int32 (float64 with
NaN where a whole-number field has nulls), dates as datetime64[D] (NaT for
null), date-times as datetime64[ms], texts as an object array of str (None
for null). Float fields come without a copy, read only.)")
        .def(
            "columns",
            [](py::object self) { return tableDict(*self.cast<const Selection&>().records, self); },
            "Every field as a NumPy array, {name: array}.")
        .def_property_readonly(
            "magnitudes",
            [](py::object self) {
                const Selection& s = self.cast<const Selection&>();
                return columnArray(*s.records, s.records->requireField(s.file->settings.prefs.Magnituda),
                                   self);
            },
            "The magnitude field of the settings (Magnituda) [magnitude].")
        .def_property_readonly(
            "dates",
            [](py::object self) {
                const Selection& s = self.cast<const Selection&>();
                return columnArray(*s.records, s.records->requireField(s.file->settings.prefs.Data), self);
            },
            "The date field of the settings (Data), datetime64[D].")
        .def_property_readonly(
            "energies",
            [](py::object self) {
                const Selection& s = self.cast<const Selection&>();
                return columnArray(*s.records, s.records->requireField(s.file->settings.prefs.Energia), self);
            },
            "The energy field of the settings (Energia) [J].")
        .def_property_readonly(
            "path", [](const Selection& s) { return s.file->path; }, "The catalogue file.")
        .def_property_readonly(
            "description", [](const Selection& s) { return s.description; },
            "The filters applied, as the filter bar describes them.")
        .def_property_readonly(
            "expression", [](const Selection& s) { return s.expression; },
            "The filter expression of the last filter.")
        .def_property_readonly(
            "check_report", [](const Selection& s) { return s.file->checkReport; },
            "The lines of the structure check's report (empty when opened without the check).")
        .def_property_readonly(
            "settings",
            [](const Selection& s) {
                const ModuleSettings& t = s.file->settings;
                py::dict d;
                d["mmin"] = t.base.MMin;
                d["a"] = t.base.a;
                d["b"] = t.base.b;
                d["locale"] = t.locale.decimalSeparator == '.' ? "en" : "pl";
                d["Magnituda"] = t.prefs.Magnituda;
                d["Energia"] = t.prefs.Energia;
                d["Data"] = t.prefs.Data;
                d["Oddzial"] = t.prefs.Oddzial;
                d["H"] = t.prefs.H;
                d["Auto"] = t.prefs.Auto;
                d["file"] = t.store->path();
                d["file_read"] = t.store->rootExists();
                return d;
            },
            "The settings the selection is analysed with (mmin, a, b, field names, ...).")
        .def(
            "filter",
            [](const Selection& s, py::object zones, py::object departments, py::object period,
               py::object start, py::object end, bool located, std::string where, bool any) {
                CatalogueSelection c;
                c.zones = textList(zones);
                c.departments = textList(departments);
                const Locale& loc = s.file->settings.locale;
                if (!period.is_none()) {
                    if (py::len(period) != 2) throw OptionError("Okres period podaj jako parę dat (od, do).");
                    c.from = dateArgument(period[py::int_(0)], loc, "period");
                    c.to = dateArgument(period[py::int_(1)], loc, "period");
                }
                if (!start.is_none()) c.from = dateArgument(start, loc, "start");
                if (!end.is_none()) c.to = dateArgument(end, loc, "end");
                c.locatedOnly = located;
                c.expression = std::move(where);
                c.anyOf = any;
                Selection out = filterSelection(s, c);
                warnAll(std::vector<std::string>(out.warnings.begin() + static_cast<long>(s.warnings.size()),
                                                 out.warnings.end()));
                return std::make_shared<Selection>(std::move(out));
            },
            py::arg("zones") = py::none(), py::arg("departments") = py::none(),
            py::arg("period") = py::none(), py::arg("start") = py::none(), py::arg("end") = py::none(),
            py::arg("located") = false, py::arg("where") = "", py::arg("any") = false,
            R"(A new selection of the records this one holds that pass the filter.

The selection options of zorv-batch: zones (codes as in the zone list, e.g.
["G-1/2"]; --zone), departments (a department with all its zones, "G-1";
--department), period=(from, to) or start/end (datetime.date, datetime64 or
text in the locale's or ISO form, inclusive; --from/--to), located (only
events with a location; --located), where (an extra filter expression;
--where), any (join the conditions by OR instead of AND; --or).)")
        .def(
            "save",
            [](const Selection& s, const std::string& path) {
                py::gil_scoped_release released;
                writeTableFile(*s.records, path);
            },
            py::arg("path"), "Writes the records to a new dBase (.dbf) or Paradox (.db) file.")
        .def("__repr__", [](const Selection& s) {
            return "<zorv.Selection " + std::to_string(s.records->physicalCount()) + " records of " +
                   s.file->path + (s.description.empty() ? "" : " (" + s.description + ")") + ">";
        });

    py::class_<RunResult, std::shared_ptr<RunResult>>(m, "Result", "The result of one analysis (zorv.run).")
        .def_property_readonly(
            "table",
            [](py::object self) { return tableDict(*self.cast<RunResult&>().analysis->GetTable(), self); },
            R"(The result table, {column: NumPy array}, in column order. Float columns
come without a copy, read only, kept alive by the result.)")
        .def_property_readonly(
            "report",
            [](RunResult& r) {
                ReportLines lines;
                r.analysis->WriteReport(lines);
                return joined(lines);
            },
            "The report of the analysis, as text (the --report of zorv-batch).")
        .def_property_readonly(
            "text",
            [](RunResult& r) {
                ReportLines lines;
                r.analysis->WriteTableText(lines);
                return joined(lines);
            },
            "The result table as the text zorv-batch prints without --table.")
        .def_property_readonly("estimate", &estimateOf, R"(The figures of the estimate line zorv-batch prints.

Nonparametric: n, h (smoothing factor [magnitude]), MMaxEst [magnitude],
rate (events per time unit), unit, and with bootstrap the bands
(h_lo/h_hi, ...). Parametric: beta [1/magnitude], b, MMaxEst, rate, unit,
n. mmax-compare: every estimator's (Mmax, sigma). Empty for the
statistics analyses.)")
        .def_property_readonly(
            "name", [](const RunResult& r) { return std::string(r.entry->name); },
            "The analysis (zorv-batch name).")
        .def_property_readonly(
            "title", [](const RunResult& r) { return r.analysis->GetTitle(); }, "The chart title.")
        .def_property_readonly(
            "notes", [](const RunResult& r) { return r.notes; },
            "Messages the analysis gave on its way (the small-sample question is answered OK).")
        .def(
            "save_table",
            [](RunResult& r, const std::string& path) {
                const auto dot = path.find_last_of('.');
                std::string ext = dot == std::string::npos ? "" : path.substr(dot);
                for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
                bool ok = false;
                std::string message;
                {
                    py::gil_scoped_release released;
                    if (ext == ".dbf" || ext == ".db")
                        ok = r.analysis->CopyToFile(path, &message);
                    else if (ext == ".txt" || ext == ".csv" || ext == ".dat")
                        ok = r.analysis->SaveTableAsText(path, ext == ".txt"   ? "\t"
                                                               : ext == ".csv" ? ";"
                                                                               : " ");
                    else
                        message = "Nieznany typ pliku tabeli: " + path + " (.dbf, .db, .txt, .csv, .dat)";
                }
                if (!ok) throw OptionError(message.empty() ? "Nie można zapisać tabeli " + path : message);
            },
            py::arg("path"),
            "Writes the result table as zorv-batch --table does (.dbf, .db, .txt, .csv, .dat).")
        .def("__repr__", [](const RunResult& r) {
            return "<zorv.Result " + std::string(r.entry->name) + ", " +
                   std::to_string(r.analysis->GetTable()->physicalCount()) + " rows>";
        });

    m.def(
        "open",
        [](const std::string& path, bool check, py::kwargs kw) {
            const auto [file, overrides] = settingArguments(kw);
            ModuleSettings settings = readModuleSettings(file, overrides);
            warnAll(settings.warnings);
            Selection s;
            {
                py::gil_scoped_release released;
                s = openCatalogue(path, std::move(settings), check);
            }
            return std::make_shared<Selection>(std::move(s));
        },
        py::arg("path"), py::arg("check") = true,
        R"(Opens a catalogue, read only: dBase (.dbf), Paradox (.db) or text (.txt
tab-separated, .csv semicolons, .dat spaces; the first line names the
fields, windows-1250, numbers and dates in the settings' locale).

With check=True the structure check of the desktop program runs first (the
fields of the roles with their types, dates in time order, positive
energies, ...) and a failure raises StructureCheckError with its report.
Settings: the user's settings file (~/.config/Morvane/Zorv.conf) as
zorv-batch reads it, or settings="file.conf", then keyword arguments over
them: mmin, a, b (log10 E = a*M + b), locale ("pl" or "en") and the
preferences by the names of the preferences dialog (Magnituda, Energia,
Data, Oddzial, X, Y, H, Auto, ...; see zorv.setting_names()). Returns a Selection of every
record.)");
    m.def(
        "catalogue",
        [](py::dict columns, py::kwargs kw) {
            const auto [file, overrides] = settingArguments(kw);
            ModuleSettings settings = readModuleSettings(file, overrides);
            std::vector<std::pair<std::string, py::handle>> parts;
            for (const auto& [k, v] : columns) parts.emplace_back(py::str(k).cast<std::string>(), v);
            return std::make_shared<Selection>(catalogueOfTable(std::make_unique<Table>(tableOfArrays(parts)),
                                                                std::move(settings), "<arrays>"));
        },
        py::arg("columns"),
        R"(A catalogue of arrays, {field name: array}: float -> Float, integer ->
Integer, bool -> Boolean, datetime64 -> Date, str/object -> String; NaN,
NaT and None are nulls. Settings as for zorv.open.)");
    m.def(
        "run",
        [](const std::string& name, const Selection& s, py::object progress, py::kwargs kw) {
            return runAnalysis(name, s, kw, std::move(progress));
        },
        py::arg("name"), py::arg("selection"), py::arg("progress") = py::none(),
        R"(Runs one analysis of the registry on the selection; returns a Result.

name: a zorv-batch analysis (zorv.analyses()). Options: those of zorv-batch
with underscores for dashes (zorv.options()), e.g. period="months",
zones=["G-1", "G-2/3"], magnitude=[3, 2.5], time_unit="quarters",
bootstrap=200, level=0.9, variable_upper_limit=True; and the settings mmin,
a, b, ... for this run. Wrong options raise OptionError with the message
zorv-batch prints. progress: called as progress(caption, position,
maximum) from time to time; an exception it raises stops the run. Ctrl-C
stops a long run through the core's cancel (KeyboardInterrupt). The
computation runs without the GIL.)");
    m.def(
        "analyses",
        [] {
            py::dict d;
            for (const AnalysisEntry& e : analysisRegistry()) d[e.name] = py::make_tuple(e.help, e.options);
            return d;
        },
        "Every analysis of the registry: {name: (description, options it reads)}.");
    m.def(
        "options",
        [] {
            py::dict d;
            for (const OptionSpec& o : analysisOptions()) {
                const char* kind = o.kind == OptionKind::Flag    ? "flag"
                                   : o.kind == OptionKind::Value ? "value"
                                   : o.kind == OptionKind::List  ? "list"
                                                                 : "repeated";
                std::string keyword = o.name;
                for (char& c : keyword)
                    if (c == '-') c = '_';
                d[keyword.c_str()] = kind;
            }
            return d;
        },
        R"(Every analysis option, {keyword: kind}: "flag" (True/False), "value" (one
value), "list" (a list of items, or a comma-separated text), "repeated"
(one value or a list of values).)");
    m.def("setting_names", &settingNames, "The settings zorv.open and zorv.run take as keyword arguments.");
    m.def(
        "read_table",
        [](const std::string& path) {
            std::shared_ptr<Table> t;
            {
                py::gil_scoped_release released;
                t = std::shared_ptr<Table>(openTableFile(path, false));
            }
            py::object owner = py::capsule(new std::shared_ptr<Table>(t),
                                           [](void* p) { delete static_cast<std::shared_ptr<Table>*>(p); });
            return tableDict(*t, owner);
        },
        py::arg("path"),
        "Every field of a dBase or Paradox table file, {name: NumPy array}, as Selection.columns() gives "
        "them.");
    addEstimators(m);
}

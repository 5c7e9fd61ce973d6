// zorv-batch: runs one analysis of a catalogue from the command line and
// writes its result table and report.
//
//   zorv-batch activity --period months --zone G-1/2 --located katalog.dbf
//   zorv-batch histogram --table wynik.csv --report raport.rtf katalog.db

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStandardPaths>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "QtSettingsStore.h"
#include "analysis/ActivityHistogram.h"
#include "analysis/ActivitySeries.h"
#include "analysis/BValue.h"
#include "analysis/DBBase.h"
#include "analysis/EnergyTraces.h"
#include "analysis/ZoneStatistics.h"
#include "catalogue/AnalysisSettings.h"
#include "catalogue/FilterBuilder.h"
#include "catalogue/Preferences.h"
#include "hazard/HazardAnalysis.h"
#include "hazard/NonParametricTables.h"
#include "hazard/ParametricTables.h"
#include "hazard/TimeVariations.h"
#include "report/ReportWriter.h"
#include "table/TableError.h"
#include "table/TableFiles.h"
#include "text/DateText.h"
#include "text/NumberFormat.h"

namespace zorv {
namespace {

// A failure the user caused: bad option, file or expression. Exit code 1.
struct BatchError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Context {
    AnalysisSettings settings;
    Table* sample = nullptr;
    PeriodKind kind = PeriodKind::Quarters;
    int classes = 9;
    double traceThreshold = 500.0;
    double dischargeThreshold = 1e7;
    std::vector<std::string> zones;  // of the zone statistics
    bool energyClasses = false;
    HazardParameters hazard;  // the np-* analyses
};

struct Subcommand {
    const char* name;
    const char* help;
    const char* parameters;
    std::function<std::unique_ptr<Database>(const Context&)> make;
};

template <class T>
auto series() {
    return [](const Context& c) -> std::unique_ptr<Database> {
        return std::make_unique<T>(c.settings, c.sample, c.kind);
    };
}

// ---- nonparametric hazard: np-hazard, np-return-period, np-smoothing,
// np-hazard-magnitude, np-density

// Messages the estimator shows on its way go to standard error; a small
// sample is analysed as it is (the question's OK).
class BatchProgress : public Progress {
public:
    void start(const std::string&, int, int) override {}
    void setRange(int, int) override {}
    void setPosition(int) override {}
    void hide() override {}
    bool isCancelled() const override { return false; }
    bool confirm(const std::string& question) override {
        std::fprintf(stderr, "%s OK\n", question.c_str());
        return true;
    }
    void inform(const std::string& title, const std::string& text, bool) override {
        std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    }
};

const char* const kNonParametricHelp =
    "\nHazard nieparametryczny (np-*) i parametryczny (p-*):\n"
    "  --start X, --end X, --step X zakres tabeli (okres D, współczynnik h lub magnituda);\n"
    "                              bez nich skala automatyczna\n"
    "  --magnitude M               np-hazard: magnituda (do 4 razy; domyślnie 3)\n"
    "  --duration D                np-hazard-magnitude: okres D (do 4 razy; domyślnie 1, 3, 5, 7)\n"
    "  --time-unit months|quarters jednostka czasu D (miesiące|kwartały; domyślnie miesiące)\n"
    "  --silverman on|off          poszukiwanie optymalnego współczynnika gładkości\n"
    "                              (domyślnie z ustawień programu)\n"
    "  --alt-h H                   alternatywny współczynnik gładkości (domyślnie z ustawień)\n"
    "  --variable-upper-limit      zmienna górna granica całkowania\n"
    "  --functions LISTA           np-density: pdf,pdf-adapt,cdf (domyślnie wszystkie)\n";

double parseDoubleOption(const QCommandLineParser& p, const QString& name);

// The time unit of D and of the activity rate (--time-unit, months by default).
TimeUnit readTimeUnit(const QCommandLineParser& p) {
    const std::string unit = p.value(QStringLiteral("time-unit")).toStdString();
    if (unit == "quarters" || unit == "kwartały") return TimeUnit::Quarters;
    if (unit.empty() || unit == "months" || unit == "miesiące") return TimeUnit::Months;
    throw BatchError("Nieznana jednostka czasu: " + unit + " (months|quarters)");
}

void addNonParametricOptions(QCommandLineParser& p) {
    for (const char* name :
         {"start", "end", "step", "magnitude", "duration", "time-unit", "silverman", "alt-h", "functions"}) {
        QCommandLineOption o(QString::fromLatin1(name));
        o.setValueName(QStringLiteral("x"));
        p.addOption(o);
    }
    p.addOption(QCommandLineOption(QStringLiteral("variable-upper-limit")));
}

// The dialog's record from the options, checked as the dialog checks it.
HazardParameters readNonParametricOptions(const QCommandLineParser& p, HazardKind kind,
                                          const Preferences& prefs, const Locale& locale) {
    const auto isSet = [&](const char* name) { return p.isSet(QString::fromLatin1(name)); };
    const auto number = [&](const char* name) { return parseDoubleOption(p, QString::fromLatin1(name)); };
    HazardParameters r = DefaultHazardParameters(kind, 0, prefs.H, prefs.Auto, false);
    r.accepted = true;
    const int rangeOptions = isSet("start") + isSet("end") + isSet("step");
    if (rangeOptions != 0 && rangeOptions != 3)
        throw BatchError("Podaj wszystkie trzy opcje --start, --end, --step.");
    r.automaticRange = rangeOptions == 0;
    if (r.automaticRange) {
        r.start = r.end = r.step = -1.0;
    } else {
        r.start = number("start");
        r.end = number("end");
        r.step = number("step");
        if (const auto problem = HazardRangeProblem(r)) throw BatchError(*problem);
    }
    r.unit = readTimeUnit(p);
    const std::string search = p.value(QStringLiteral("silverman")).toStdString();
    if (search == "on" || search == "off")
        r.useSearch = search == "on";
    else if (!search.empty())
        throw BatchError("Opcja --silverman przyjmuje on lub off.");
    if (isSet("alt-h")) {
        r.alternativeH = number("alt-h");
        if (!(r.alternativeH >= 1e-7 && r.alternativeH <= 1.0))
            throw BatchError("Alternatywny współczynnik gładkości musi leżeć w przedziale od 1e-7 do 1.");
    }
    r.variableUpperLimit = isSet("variable-upper-limit");
    r.touched = isSet("silverman") || isSet("alt-h") || r.variableUpperLimit;

    const char* valueOption = kind == HazardKind::Hazard ? "magnitude" : "duration";
    std::vector<SelectableValue> rows;
    for (const QString& v : p.values(QString::fromLatin1(valueOption))) {
        const std::string text = v.toStdString();
        const auto x = parseNumber(text, Locale::point()) ? parseNumber(text, Locale::point())
                                                          : parseNumber(text, Locale::comma());
        if (!x || !(*x > 0.0))
            throw BatchError("Niepoprawna liczba w opcji --" + std::string(valueOption) + ": " + text);
        rows.push_back({true, *x});
    }
    if (rows.size() > 4)
        throw BatchError("Opcję --" + std::string(valueOption) + " można podać najwyżej 4 razy.");
    if (rows.empty()) {
        if (kind == HazardKind::Hazard) rows = {{true, 3.0}};
        if (kind == HazardKind::HazardVsMagnitude)
            rows = {{true, 1.0}, {true, 3.0}, {true, 5.0}, {true, 7.0}};
    }
    const std::vector<double> values = SelectedValues(rows, locale);
    r.count = static_cast<int>(values.size());
    std::copy(values.begin(), values.end(), r.values.begin());

    if (kind == HazardKind::Probabilities) {
        const QStringList names =
            isSet("functions")
                ? p.value(QStringLiteral("functions")).split(QLatin1Char(','), Qt::SkipEmptyParts)
                : QStringList{QStringLiteral("pdf"), QStringLiteral("pdf-adapt"), QStringLiteral("cdf")};
        for (const QString& n : names) {
            const std::string f = n.trimmed().toStdString();
            if (f == "pdf")
                r.functions |= DensityFunction;
            else if (f == "pdf-adapt")
                r.functions |= AdaptiveDensityFunction;
            else if (f == "cdf")
                r.functions |= AdaptiveDistribution;
            else
                throw BatchError("Nieznana funkcja: " + f + " (pdf, pdf-adapt, cdf)");
        }
    }
    if (!ContinueEnabled(kind, rows, r.functions))
        throw BatchError("Wybierz co najmniej jedną funkcję (--functions).");
    return r;
}

// Runs the nonparametric analysis of the context's record and tells its
// estimate on standard error.
std::unique_ptr<Database> runNonParametric(const Context& c) {
    BatchProgress progress;
    HazardCache cache;
    std::unique_ptr<Database> a;
    try {
        a = RunNonParametricHazard(c.settings, c.sample, c.hazard, cache, &progress);
    } catch (...) {
        const HazardFailureMessage m = DescribeHazardFailure(std::current_exception());
        throw BatchError(m.title + " " + m.text);
    }
    const Locale& loc = c.settings.UserLocale;
    if (const auto* e = dynamic_cast<const NonParametricHazard*>(a.get())) {
        std::string line = "n = " + std::to_string(e->SampleSize());
        if (c.hazard.kind != HazardKind::SmoothingFactor)
            line += ", h = " + formatGeneral(e->SmoothingFactor(), loc) +
                    ", MMaxEst = " + formatMask(e->MMaxEst(), "0.000000", loc);
        if (const auto* r = dynamic_cast<const Hrds*>(e))
            line += ", średnia aktywność = " + formatMask(r->ActivityRate(), "0.000", loc) +
                    (r->Unit() == TimeUnit::Months ? " zdarzeń/miesiąc" : " zdarzeń/kwartał");
        std::fprintf(stderr, "%s\n", line.c_str());
    }
    return a;
}

// ---- parametric hazard and b-value: options and subcommands

// The table request of the p-* subcommands, read from their options.
ParametricRequest& parametricRequest() {
    static ParametricRequest request;
    return request;
}

// --start/--end/--step, --magnitude, --duration and --time-unit are the
// options of the nonparametric subcommands.
void addParametricOptions(QCommandLineParser& p) {
    p.addOption(QCommandLineOption(QStringLiteral("fixed-upper-limit")));
}

double parametricNumber(const std::string& text, const char* name) {
    const auto v = parseNumber(text, Locale::point());
    const auto w = v ? v : parseNumber(text, Locale::comma());
    if (!w) throw BatchError("Niepoprawna liczba w opcji --" + std::string(name) + ": " + text);
    return *w;
}

// The values of a repeatable option (each may also be a comma-separated
// list), at most four.
std::vector<double> parseList(const QCommandLineParser& p, const char* name, std::vector<double> fallback) {
    if (!p.isSet(QString::fromLatin1(name))) return fallback;
    std::vector<double> out;
    for (const QString& given : p.values(QString::fromLatin1(name)))
        for (const QString& item : given.split(QLatin1Char(','), Qt::SkipEmptyParts))
            out.push_back(parametricNumber(item.trimmed().toStdString(), name));
    if (out.empty() || out.size() > 4)
        throw BatchError("Opcja --" + std::string(name) + " przyjmuje od 1 do 4 wartości.");
    return out;
}

void readParametricOptions(const QCommandLineParser& p, const std::string& command) {
    if (command.rfind("p-", 0) != 0) return;
    ParametricRequest& r = parametricRequest();
    r.timeUnit = readTimeUnit(p);
    r.variableUpperLimit = !p.isSet(QStringLiteral("fixed-upper-limit"));
    r.values = command == "p-hazard"             ? parseList(p, "magnitude", {3.0})
               : command == "p-hazard-magnitude" ? parseList(p, "duration", {1.0, 3.0, 5.0, 7.0})
                                                 : std::vector<double>{};
    const int given =
        p.isSet(QStringLiteral("start")) + p.isSet(QStringLiteral("step")) + p.isSet(QStringLiteral("end"));
    if (given != 0 && given != 3) throw BatchError("Podaj razem --start, --step i --end albo żadnej z nich.");
    if (given == 3) {
        r.start = parametricNumber(p.value(QStringLiteral("start")).toStdString(), "start");
        r.step = parametricNumber(p.value(QStringLiteral("step")).toStdString(), "step");
        r.end = parametricNumber(p.value(QStringLiteral("end")).toStdString(), "end");
    }
}

// Builds a parametric table and prints its estimate to standard error.
template <class T>
auto parametricTable() {
    return [](const Context& c) -> std::unique_ptr<Database> {
        auto table = std::make_unique<T>(c.settings, c.sample, parametricRequest());
        const bool months = table->Unit() == TimeUnit::Months;
        std::fprintf(stderr, "Beta = %.4f  b = %.4f  MMaxEst = %.4f  aktywność = %.4f zdarzeń/%s  n = %d\n",
                     table->Beta(), table->BValue(), table->MMaxEst(), table->ActivityRate(),
                     months ? "miesiąc" : "kwartał", table->SampleSize());
        return table;
    };
}

// ---- end of parametric hazard and b-value

// ---- time variations of the hazard: time-variations

// The dialog's record of the time-variations subcommand, read from its options.
TimeVariationsParameters& timeVariationsRequest() {
    static TimeVariationsParameters request;
    return request;
}

void addTimeVariationsOptions(QCommandLineParser& p) {
    for (const char* name : {"window", "window-step", "min-events", "return-magnitude"})
        p.addOption(QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("x")));
}

// --magnitude, --duration and --time-unit are those of the np-* analyses;
// --fixed-upper-limit that of the p-* analyses.
void readTimeVariationsOptions(const QCommandLineParser& p) {
    TimeVariationsParameters& r = timeVariationsRequest();
    r = TimeVariationsDefaults(10);
    const auto whole = [&](const char* name, int& target) {
        if (!p.isSet(QString::fromLatin1(name))) return;
        const double v = parseDoubleOption(p, QString::fromLatin1(name));
        if (v != std::trunc(v) || std::fabs(v) > 1e9)
            throw BatchError("Opcja --" + std::string(name) + " przyjmuje liczbę całkowitą.");
        target = static_cast<int>(v);
    };
    const auto single = [&](const char* name, double& target) {
        if (!p.isSet(QString::fromLatin1(name))) return;
        if (p.values(QString::fromLatin1(name)).size() > 1)
            throw BatchError("Opcję --" + std::string(name) + " można tu podać tylko raz.");
        target = parseDoubleOption(p, QString::fromLatin1(name));
    };
    whole("window", r.windowWidth);
    whole("window-step", r.windowStep);
    whole("min-events", r.minEvents);
    single("magnitude", r.hazardMagnitude);
    single("duration", r.hazardPeriod);
    single("return-magnitude", r.returnMagnitude);
    r.unit = readTimeUnit(p);
    r.variableUpperLimit = !p.isSet(QStringLiteral("fixed-upper-limit"));
    // A step that is not positive would never end the run.
    if (const auto problem = TimeVariationsProblem(r)) throw BatchError(*problem);
}

std::unique_ptr<Database> runTimeVariations(const Context& c) {
    std::unique_ptr<TimeVariations> a;
    try {
        a = std::make_unique<TimeVariations>(c.settings, c.sample, timeVariationsRequest());
    } catch (const std::exception& e) {
        throw BatchError(std::string("Problem... ") + e.what());
    }
    int failed = 0;
    Table& t = *a->GetTable();
    const int note = t.requireField("Opis");
    for (std::size_t i = 0; i < t.recordCount(); ++i)
        failed += !t.column(note).textAt(t.rowOfRecord(i)).empty();
    std::fprintf(stderr, "Liczba okien: %d, w tym bez estymacji: %d\n", a->WindowsWritten(), failed);
    return a;
}

const char* const kTimeVariationsHelp =
    "\nZmienność hazardu w czasie (time-variations):\n"
    "  --window DNI                szerokość okna (domyślnie 300)\n"
    "  --window-step DNI           krok przemieszczania okna (domyślnie 25)\n"
    "  --min-events N              minimalna ilość zjawisk w oknie (30 do 1000; domyślnie 30)\n"
    "  --magnitude M               magnituda hazardu (domyślnie 3)\n"
    "  --duration D                okres D hazardu (domyślnie 1)\n"
    "  --return-magnitude M        magnituda średniego okresu powrotu (domyślnie 3)\n"
    "  --time-unit months|quarters jednostka czasu (domyślnie miesiące)\n"
    "  --fixed-upper-limit         stała górna granica całkowania (domyślnie zmienna)\n";

// ---- end of time variations

const std::vector<Subcommand>& subcommands() {
    static const std::vector<Subcommand> list = {
        {"activity", "aktywność sejsmiczna w klasach energii", "--period, --classes",
         [](const Context& c) -> std::unique_ptr<Database> {
             return std::make_unique<DBActivity>(c.settings, c.sample, c.kind, c.classes);
         }},
        {"cumulative-activity", "skumulowana aktywność sejsmiczna w klasach energii", "--period, --classes",
         [](const Context& c) -> std::unique_ptr<Database> {
             return std::make_unique<DBActivityC>(c.settings, c.sample, c.kind, c.classes);
         }},
        {"energy", "energia wyzwolona w okresach", "--period", series<DBBarEnReleased>()},
        {"cumulative-energy", "skumulowana energia wyzwolona", "--period", series<DBBarEnReleasedC>()},
        {"daily-energy", "energia wyzwolona w dniach (ciągły)", "--period", series<DBLineEnReleased>()},
        {"cumulative-daily-energy", "skumulowana energia wyzwolona w dniach (wykres Benioffa)", "--period",
         series<DBLineEnReleasedC>()},
        {"total-activity", "aktywność sejsmiczna (zjawiska od 1000 J) i energia", "--period",
         series<DBTotalActivity>()},
        {"cumulative-total-activity", "skumulowana aktywność sejsmiczna", "--period",
         series<DBTotalActivityC>()},
        {"over-threshold", "liczba zjawisk powyżej progu kompletności", "--period, --mmin",
         series<ActivityOverTreshold>()},
        {"cumulative-over-threshold", "skumulowana liczba zjawisk powyżej progu kompletności",
         "--period, --mmin", series<DBActivityOverTresholdC>()},
        {"histogram", "wykres powtarzalności (klasy magnitudy 0,25)", "",
         [](const Context& c) -> std::unique_ptr<Database> {
             return std::make_unique<ActivityHistogram>(c.settings, c.sample);
         }},
        {"energy-traces", "energia śladów", "--trace-threshold, --discharge-threshold",
         [](const Context& c) -> std::unique_ptr<Database> {
             return std::make_unique<DBEnergiaSladow>(c.settings, c.sample, c.traceThreshold,
                                                      c.dischargeThreshold);
         }},
        {"zone-total-activity", "aktywność sejsmiczna w strefach", "--zones",
         [](const Context& c) -> std::unique_ptr<Database> {
             return std::make_unique<DBZoneTotalActivity>(c.settings, c.sample, c.zones);
         }},
        {"zone-energy", "energia wyzwolona w strefach", "--zones",
         [](const Context& c) -> std::unique_ptr<Database> {
             return std::make_unique<DBZoneEnergyReleased>(c.settings, c.sample, c.zones);
         }},
        {"zone-over-threshold", "aktywność powyżej progu kompletności w strefach", "--zones, --mmin",
         [](const Context& c) -> std::unique_ptr<Database> {
             return std::make_unique<DBZoneActivityOverTreshold>(c.settings, c.sample, c.zones);
         }},
        {"zone-activity", "aktywność sejsmiczna w strefach (cały katalog)", "--zones, --energy-classes",
         [](const Context& c) -> std::unique_ptr<Database> {
             return std::make_unique<DBZoneActivity>(c.settings, c.sample, c.zones, c.energyClasses,
                                                     c.classes);
         }},
        {"np-hazard", "hazard sejsmiczny (nieparametryczny)",
         "--start/--end/--step, --magnitude, --time-unit, --silverman, --alt-h, --variable-upper-limit",
         runNonParametric},
        {"np-return-period", "średni okres powrotu (nieparametryczny)",
         "--start/--end/--step, --time-unit, --silverman, --alt-h, --variable-upper-limit", runNonParametric},
        {"np-smoothing", "współczynnik gładkości Silvermana (tabela LSCV)", "--start/--end/--step",
         runNonParametric},
        {"np-hazard-magnitude", "hazard w funkcji magnitudy (nieparametryczny)",
         "--start/--end/--step, --duration, --time-unit, --silverman, --alt-h, --variable-upper-limit",
         runNonParametric},
        {"np-density", "funkcje gęstości, dystrybuanta rozkładu (nieparametryczne)",
         "--start/--end/--step, --functions, --silverman, --alt-h, --variable-upper-limit", runNonParametric},
        // Parametric hazard and b-value.
        {"p-hazard", "parametryczny hazard sejsmiczny w okresie D",
         "--start/--end/--step, --magnitude, --time-unit, --fixed-upper-limit", parametricTable<PHazard>()},
        {"p-return-period", "parametryczny średni okres powrotu", "--start/--end/--step, --time-unit",
         parametricTable<PMeanReturnPeriod>()},
        {"p-hazard-magnitude", "parametryczny hazard w funkcji magnitudy",
         "--start/--end/--step, --duration, --time-unit", parametricTable<PHazardVsMagnitude>()},
        {"p-density", "parametryczna funkcja gęstości rozkładu magnitudy", "--start/--end/--step",
         parametricTable<PPDF>()},
        {"p-cdf", "parametryczna dystrybuanta rozkładu magnitudy", "--start/--end/--step",
         parametricTable<PCDF>()},
        {"b-changes", "zmiana współczynnika b w okresach", "--period, --mmin",
         [](const Context& c) -> std::unique_ptr<Database> {
             return std::make_unique<DBBChanges>(c.settings, c.sample, c.kind);
         }},
        {"zone-b", "estymator współczynnika b w strefach", "--zones, --mmin",
         [](const Context& c) -> std::unique_ptr<Database> {
             return std::make_unique<DBZoneBChanges>(c.settings, c.sample, c.zones);
         }},
        {"time-variations", "zmienność hazardu parametrycznego w czasie (okno przesuwne)",
         "--window, --window-step, --min-events, --magnitude, --duration, --return-magnitude, --time-unit",
         runTimeVariations},
    };
    return list;
}

std::string helpText() {
    std::string s =
        "Użycie: zorv-batch ANALIZA [opcje] KATALOG\n"
        "Wykonuje jedną analizę katalogu zjawisk sejsmicznych (.dbf lub .db) i zapisuje tabelę wyników\n"
        "oraz raport.\n\nAnalizy:\n";
    for (const Subcommand& c : subcommands()) {
        std::string line = "  " + std::string(c.name);
        line.resize(30, ' ');
        s += line + c.help +
             (std::string(c.parameters).empty() ? "" : std::string(" [") + c.parameters + "]") + "\n";
    }
    s += "\nWybór zdarzeń (łączone spójnikiem AND, z --or spójnikiem OR):\n"
         "  --zone KOD                  strefa (można podać kilka razy)\n"
         "  --department ODDZIAŁ        oddział: wszystkie jego strefy\n"
         "  --from DATA, --to DATA      okres (data w formacie rrrr-mm-dd lub lokalnym)\n"
         "  --located                   tylko zlokalizowane zjawiska\n"
         "  --where WYRAŻENIE           dodatkowe wyrażenie filtrujące\n"
         "  --or                        łącz warunki spójnikiem OR\n"
         "\nParametry analizy:\n"
         "  --period kwartały|miesiące|lata   podział skali czasu (domyślnie kwartały;\n"
         "                              także quarters|months|years)\n"
         "  --classes N                 najwyższa klasa energii (domyślnie 9)\n"
         "  --trace-threshold J         próg energii śladów (domyślnie 500)\n"
         "  --discharge-threshold J     próg energii zjawisk rozładowujących (domyślnie 10000000)\n"
         "  --zones LISTA               strefy analiz stref, rozdzielone przecinkami (G-1,G-2/3);\n"
         "                              nazwa bez separatora oznacza oddział ze wszystkimi strefami\n"
         "  --energy-classes            zone-activity: podział na klasy energii\n"
         "  --fixed-upper-limit         p-*: stała górna granica całkowania (domyślnie zmienna)\n"
         "  --mmin M, --a A, --b B      próg kompletności i współczynniki zależności log E = a·M + b\n"
         "                              (domyślnie z ustawień programu)\n"
         "\nWyniki:\n"
         "  --table PLIK                tabela wyników: .dbf, .db, .txt (TAB), .csv (;), .dat (spacja);\n"
         "                              bez tej opcji tabela tekstowa na standardowe wyjście\n"
         "  --report PLIK               raport: .txt lub .rtf\n"
         "  --settings PLIK             plik ustawień zamiast ustawień użytkownika\n"
         "  --locale pl|en              separator dziesiętny i format daty (domyślnie pl)\n"
         "  -h, --help                  ta pomoc\n";
    s += kNonParametricHelp;
    s += kTimeVariationsHelp;
    return s;
}

double parseDoubleOption(const QCommandLineParser& p, const QString& name) {
    const std::string text = p.value(name).toStdString();
    const auto v = parseNumber(text, Locale::point());
    const auto w = v ? v : parseNumber(text, Locale::comma());
    if (!w) throw BatchError("Niepoprawna liczba w opcji --" + name.toStdString() + ": " + text);
    return *w;
}

std::string extensionOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    const auto dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string ext = path.substr(dot);
    for (char& ch : ext) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return ext;
}

int run(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Morvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Zorv"));

    QCommandLineParser p;
    p.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const auto opt = [&](const char* name, const char* value = nullptr) {
        QCommandLineOption o(QString::fromLatin1(name));
        if (value) o.setValueName(QString::fromLatin1(value));
        p.addOption(o);
    };
    p.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}));
    for (const char* name :
         {"zone", "department", "from", "to", "where", "period", "classes", "trace-threshold",
          "discharge-threshold", "mmin", "a", "b", "table", "report", "settings", "locale", "zones"})
        opt(name, "x");
    opt("located");
    opt("or");
    opt("energy-classes");
    addNonParametricOptions(p);
    addParametricOptions(p);
    addTimeVariationsOptions(p);
    if (!p.parse(QCoreApplication::arguments())) throw BatchError(p.errorText().toStdString());
    if (p.isSet(QStringLiteral("help"))) {
        std::fputs(helpText().c_str(), stdout);
        return 0;
    }
    const QStringList args = p.positionalArguments();
    if (args.size() != 2) throw BatchError("Podaj analizę i plik katalogu (zorv-batch --help).");
    const std::string command = args[0].toStdString();
    const Subcommand* sub = nullptr;
    for (const Subcommand& c : subcommands())
        if (command == c.name) sub = &c;
    if (!sub) throw BatchError("Nieznana analiza: " + command + " (zorv-batch --help).");

    // Settings: the user's (or the named file), read only; defaults when none.
    const Locale locale =
        p.value(QStringLiteral("locale")) == QStringLiteral("en") ? Locale::point() : Locale::comma();
    std::unique_ptr<QtSettingsStore> store =
        p.isSet(QStringLiteral("settings"))
            ? std::make_unique<QtSettingsStore>(p.value(QStringLiteral("settings")))
            : std::make_unique<QtSettingsStore>();
    Preferences prefs;
    prefs.ExportImportDirectory =
        (QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/temp"))
            .toStdString();
    if (store->rootExists()) {
        try {
            LoadSettings(*store, prefs);
        } catch (const SettingsError& e) {
            std::fprintf(stderr, "Uszkodzone ustawienia (%s) - użyto ustawień domyślnych.\n", e.what());
        }
    }
    BaseProperties base{prefs.a, prefs.b, prefs.MMin};
    if (p.isSet(QStringLiteral("a"))) base.a = parseDoubleOption(p, QStringLiteral("a"));
    if (p.isSet(QStringLiteral("b"))) base.b = parseDoubleOption(p, QStringLiteral("b"));
    if (p.isSet(QStringLiteral("mmin"))) base.MMin = parseDoubleOption(p, QStringLiteral("mmin"));

    Context ctx;
    const std::string period = p.value(QStringLiteral("period")).toStdString();
    static const std::map<std::string, PeriodKind> kinds = {
        {"", PeriodKind::Quarters},         {"kwartały", PeriodKind::Quarters},
        {"quarters", PeriodKind::Quarters}, {"miesiące", PeriodKind::Months},
        {"months", PeriodKind::Months},     {"lata", PeriodKind::Years},
        {"years", PeriodKind::Years}};
    const auto kind = kinds.find(period);
    if (kind == kinds.end()) throw BatchError("Nieznany podział skali czasu: " + period);
    ctx.kind = kind->second;
    if (p.isSet(QStringLiteral("classes"))) {
        const double n = parseDoubleOption(p, QStringLiteral("classes"));
        if (n < 0 || n > 30 || n != static_cast<int>(n))
            throw BatchError("Najwyższa klasa energii musi być liczbą całkowitą od 0 do 30.");
        ctx.classes = static_cast<int>(n);
    }
    if (p.isSet(QStringLiteral("trace-threshold")))
        ctx.traceThreshold = parseDoubleOption(p, QStringLiteral("trace-threshold"));
    if (p.isSet(QStringLiteral("discharge-threshold")))
        ctx.dischargeThreshold = parseDoubleOption(p, QStringLiteral("discharge-threshold"));

    for (const QString& z : p.value(QStringLiteral("zones")).split(QLatin1Char(','), Qt::SkipEmptyParts))
        ctx.zones.push_back(z.trimmed().toStdString());
    ctx.energyClasses = p.isSet(QStringLiteral("energy-classes"));
    static const std::map<std::string, HazardKind> hazardKinds = {
        {"np-hazard", HazardKind::Hazard},
        {"np-return-period", HazardKind::MeanReturnPeriod},
        {"np-smoothing", HazardKind::SmoothingFactor},
        {"np-hazard-magnitude", HazardKind::HazardVsMagnitude},
        {"np-density", HazardKind::Probabilities}};
    if (const auto k = hazardKinds.find(command); k != hazardKinds.end())
        ctx.hazard = readNonParametricOptions(p, k->second, prefs, locale);
    readParametricOptions(p, command);
    if (command == "time-variations") readTimeVariationsOptions(p);
    if (command.rfind("zone-", 0) == 0 && ctx.zones.empty())
        throw BatchError("Podaj strefy analizy opcją --zones (np. --zones G-1,G-2/3).");

    // The catalogue, read only, and its filter.
    const std::string path = args[1].toStdString();
    std::unique_ptr<Table> catalogue;
    try {
        catalogue = openTableFile(path, false);
    } catch (const std::exception& e) {
        throw BatchError("Niewłasciwy format bazy lub baza uszkodzona [ " + std::string(e.what()) + " ].");
    }
    catalogue->setReadOnly(true);
    catalogue->setLocale(locale);

    FilterSources sources;
    sources.XField = prefs.X;
    sources.LocationFilter = prefs.LocationFilter;
    // Zones as ticked in the list, departments as chosen in the tree; more
    // than one choice is ORed.
    std::vector<std::string> zones;
    for (const QString& z : p.values(QStringLiteral("zone"))) zones.push_back(z.toStdString());
    std::vector<ZoneFilter> chosen;
    if (!zones.empty()) chosen.push_back(zoneListFilter(prefs.Oddzial, zones));
    for (const QString& d : p.values(QStringLiteral("department")))
        chosen.push_back(zoneTreeDepartmentFilter(prefs.Oddzial, d.toStdString(), prefs.Slash));
    ZoneFilter zone;
    for (const ZoneFilter& z : chosen) {
        zone.expression += (zone.expression.empty() ? "" : " OR ") + z.expression;
        zone.description += z.description;
    }
    if (chosen.size() > 1) zone.expression = "(" + zone.expression + ")";
    sources.ZoneExpression = zone.expression;
    sources.ZoneDescription = zone.description;
    if (p.isSet(QStringLiteral("from")) || p.isSet(QStringLiteral("to"))) {
        const auto date = [&](const char* name, std::int32_t fallback) {
            if (!p.isSet(QString::fromLatin1(name))) return fallback;
            const std::string text = p.value(QString::fromLatin1(name)).toStdString();
            const auto d = parseDate(text, locale);
            if (!d) throw BatchError("Niepoprawna data w opcji --" + std::string(name) + ": " + text);
            return *d;
        };
        const std::int32_t from = date("from", -693593), to = date("to", 2958465);
        if (from > to) throw BatchError("Data początkowa nie może być większa od daty końcowej");
        sources.PeriodExpression = prefs.Data + ">='" + formatDate(from, locale) + "' AND " + prefs.Data +
                                   "<='" + formatDate(to, locale) + "'";
        sources.PeriodDescription = formatDate(from, locale) + " do " + formatDate(to, locale);
    }
    sources.locatedOnly = p.isSet(QStringLiteral("located"));
    sources.ExtraExpression = p.value(QStringLiteral("where")).toStdString();
    if (p.isSet(QStringLiteral("or"))) {
        sources.Connective = " OR ";
        sources.DescriptionConnective = " lub ";
    }
    const JoinedFilter filter = joinFilters(sources, [&](const std::string& e) {
        try {
            catalogue->checkFilter(e);
            return true;
        } catch (const TableError&) {
            return false;
        }
    });
    if (filter.locationRejected) std::fprintf(stderr, "%s\n", kBadLocationFilterMessage);
    try {
        catalogue->setFilter(filter.expression);
        catalogue->setFiltered(!filter.expression.empty());
    } catch (const TableError& e) {
        throw BatchError(std::string("Błędny filtr: ") + e.what());
    }

    ctx.settings = RefreshAnalysisSettings(
        prefs, base, true, static_cast<std::int32_t>(catalogue->physicalCount()), *store, locale);
    int copyCounter = 1;
    // The zone activity always works on the whole catalogue: the zones are its
    // only selection.
    if (command == "zone-activity") catalogue->setFiltered(false);
    std::unique_ptr<Table> sample = CopyCatalogueForAnalysis(*catalogue, ctx.settings, copyCounter);
    ctx.sample = sample.get();
    std::unique_ptr<Database> analysis = sub->make(ctx);

    // Result table.
    if (p.isSet(QStringLiteral("table"))) {
        const std::string out = p.value(QStringLiteral("table")).toStdString();
        const std::string ext = extensionOf(out);
        bool ok = false;
        std::string message;
        if (ext == ".dbf" || ext == ".db")
            ok = analysis->CopyToFile(out, &message);
        else if (ext == ".txt" || ext == ".csv" || ext == ".dat")
            ok = analysis->SaveTableAsText(out, ext == ".txt" ? "\t" : ext == ".csv" ? ";" : " ");
        else
            throw BatchError("Nieznany typ pliku tabeli: " + out + " (.dbf, .db, .txt, .csv, .dat)");
        if (!ok) throw BatchError(message.empty() ? "Nie można zapisać tabeli " + out : message);
    } else {
        ReportLines lines;
        analysis->WriteTableText(lines);
        for (const std::string& l : lines) std::printf("%s\n", l.c_str());
    }
    if (p.isSet(QStringLiteral("report"))) {
        const std::string out = p.value(QStringLiteral("report")).toStdString();
        ReportLines lines;
        analysis->WriteReport(lines);
        const std::string ext = extensionOf(out);
        if (ext == ".rtf")
            ExportReportRtf(lines, out);
        else if (ext == ".txt" || ext.empty())
            SaveReportText(lines, out);
        else
            throw BatchError("Nieznany typ pliku raportu: " + out + " (.txt, .rtf)");
    }
    if (!filter.description.empty()) std::fprintf(stderr, "Filtr: %s\n", filter.description.c_str());
    return 0;
}

}  // namespace
}  // namespace zorv

int main(int argc, char** argv) {
    try {
        return zorv::run(argc, argv);
    } catch (const zorv::BatchError& e) {
        std::fprintf(stderr, "zorv-batch: %s\n", e.what());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zorv-batch: Problem... %s\n", e.what());
        return 1;
    }
}

#include "analysis/AnalysisCommands.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

#include "analysis/DBBase.h"
#include "analysis/TfmAddSort.h"
#include "analysis/TfmZones.h"
#include "chart/TemplateCommands.h"
#include "chart/TfmChartsProp.h"
#include "chart/TfmGraph.h"
#include "hazard/BootstrapBox.h"
#include "hazard/FailureAdvice.h"
#include "hazard/HazardAnalysis.h"
#include "hazard/TfmBacktest.h"
#include "hazard/TfmHazardMap.h"
#include "hazard/TfmHazards.h"
#include "hazard/TfmTimeVariations.h"
#include "services/CatalogueSession.h"
#include "services/ChildWindow.h"
#include "services/Commands.h"
#include "services/ProgressWindow.h"
#include "services/ShellInterface.h"
#include "services/UserDialogs.h"
#include "services/WindowSlots.h"

namespace zorv {

namespace {

// The analysis together with the frozen sample it reads: both live as long
// as the chart windows showing the analysis.
struct AnalysisWithSample {
    std::unique_ptr<Table> sample;
    std::unique_ptr<Database> analysis;
};

// The b-value analyses offer their statistics in their dialogs.
bool offersBStatistics(const AnalysisEntry& e) {
    const std::string_view name = e.name;
    return name == "b-changes" || name == "zone-b";
}

bool hazardFamily(AnalysisParameters p) {
    return p == AnalysisParameters::NonParametric || p == AnalysisParameters::Parametric ||
           p == AnalysisParameters::TimeVariations || p == AnalysisParameters::Backtest;
}

// The first and last day of the selection's events, the periods a change
// map is offered; 0 and 0 without dates.
std::pair<std::int32_t, std::int32_t> dateSpan(const Table& t, const std::string& field) {
    const int f = t.fieldIndex(field);
    if (f < 0) return {0, 0};
    double first = 0.0, last = 0.0;
    bool any = false;
    for (std::size_t i = 0; i < t.recordCount(); ++i) {
        const std::size_t row = t.rowOfRecord(i);
        if (t.column(f).isNull(row)) continue;
        const double d = t.column(f).numberAt(row);
        first = any ? std::min(first, d) : d;
        last = any ? std::max(last, d) : d;
        any = true;
    }
    return {static_cast<std::int32_t>(first), static_cast<std::int32_t>(last)};
}

}  // namespace

AnalysisCommands::AnalysisCommands(ShellInterface& shell) : QObject(shell.mainWindow()), shell_(shell) {}

AnalysisCommands::~AnalysisCommands() = default;

void AnalysisCommands::bind() {
    for (const AnalysisAction& c : analysisActions()) {
        const char* action = c.action;
        shell_.bindCommand(QString::fromUtf8(action), [this, action](int tag) { execute(action, tag); });
    }
    bindChartCommands();
}

TfmGraph* AnalysisCommands::activeChart() const {
    QMdiSubWindow* w = shell_.activeChild();
    return w ? qobject_cast<TfmGraph*>(w->widget()) : nullptr;
}

void AnalysisCommands::bindChartCommands() {
    const auto onChart = [this](const char* name, std::function<void(TfmGraph&, int)> work) {
        shell_.bindCommand(QString::fromUtf8(name), [this, work](int tag) {
            if (TfmGraph* w = activeChart()) work(*w, tag);
        });
    };
    onChart("mSaveGraphAsTemplate", [this](TfmGraph& w, int) {
        saveTemplateCommand(w, shell_.dialogs(),
                            QString::fromStdString(shell_.preferences().WorkingDirectory));
    });
    onChart("mLoadGraphTemplate", [this](TfmGraph& w, int) {
        loadTemplateCommand(w, shell_.dialogs(),
                            QString::fromStdString(shell_.preferences().DatabaseDirectory));
    });
    onChart("mLoadDefaultTemplate", [this](TfmGraph& w, int) {
        applyDefaultTemplate(w, shell_.preferences().TemplateFileName, shell_.dialogs());
    });
    for (const char* name : {"mDefaultSize", "m300x200", "m400x300", "m500x400", "mGraphSize"})
        onChart(name, [this](TfmGraph& w, int tag) { w.setSizePreset(tag, chartOptions()); });
    // The properties dialog opens at the page of the command's tag.
    for (const char* name : {"mGraphProperties", "mGraphTitles", "mGraphAxisTitles", "mGraphColors",
                             "mGraphLegend", "mGraphSeries", "mGraphAxis"})
        onChart(name, [this](TfmGraph& w, int tag) {
            TfmChartsProp& dialog = chartPropertiesDialog();
            dialog.load(w);
            dialog.showPage(tag);
            shell_.execDialog(dialog);
        });
}

ChartOptions AnalysisCommands::chartOptions() const {
    const Preferences& p = shell_.preferences();
    return {p.AnimationsOn, p.GraphZoom, p.BlockZoomForActivities, p.GraphWidth, p.GraphHeight};
}

void AnalysisCommands::execute(const char* action, int tag) {
    const AnalysisEntry* e = findAnalysisByAction(action, tag);
    if (!e || !shell_.session().table()) return;
    if (const auto request = ask(*e, tag)) run(*e, *request);
}

TfmAddSort& AnalysisCommands::scaleDialog() {
    if (!scale_) {
        scale_ = new TfmAddSort(shell_.mainWindow());
        connect(scale_, &TfmAddSort::helpRequested, this,
                [this](const QString& page) { shell_.showHelpPage(page); });
    }
    return *scale_;
}

TfmZones& AnalysisCommands::zonesDialog() {
    if (!zones_) {
        zones_ = new TfmZones(shell_.mainWindow());
        connect(zones_, &TfmZones::helpRequested, this,
                [this](const QString& page) { shell_.showHelpPage(page); });
    }
    return *zones_;
}

TfmChartsProp& AnalysisCommands::chartPropertiesDialog() {
    if (!chartProperties_) chartProperties_ = new TfmChartsProp(shell_.mainWindow());
    return *chartProperties_;
}

TfmZoneActivity& AnalysisCommands::zoneActivityDialog() {
    if (!zoneActivity_) {
        zoneActivity_ = new TfmZoneActivity(shell_.mainWindow());
        connect(zoneActivity_, &TfmZoneActivity::helpRequested, this,
                [this](const QString& page) { shell_.showHelpPage(page); });
    }
    return *zoneActivity_;
}

TfmHazards& AnalysisCommands::hazardDialog() {
    if (!hazards_) {
        hazards_ = new TfmHazards(shell_.mainWindow());
        connect(hazards_, &TfmHazards::helpRequested, this,
                [this](const QString& page) { shell_.showHelpPage(page); });
    }
    return *hazards_;
}

TfmHazardMap& AnalysisCommands::hazardMapDialog() {
    if (!hazardMapDialog_) {
        hazardMapDialog_ = new TfmHazardMap(shell_.mainWindow());
        connect(hazardMapDialog_, &TfmHazardMap::helpRequested, this,
                [this](const QString& page) { shell_.showHelpPage(page); });
    }
    return *hazardMapDialog_;
}

TfmBacktest& AnalysisCommands::backtestDialog() {
    if (!backtestDialog_) backtestDialog_ = new TfmBacktest(shell_.mainWindow());
    return *backtestDialog_;
}

TfmTimeVariations& AnalysisCommands::timeVariationsDialog() {
    if (!timeVariations_) {
        timeVariations_ = new TfmTimeVariations(shell_.mainWindow());
        connect(timeVariations_, &TfmTimeVariations::helpRequested, this,
                [this](const QString& page) { shell_.showHelpPage(page); });
    }
    return *timeVariations_;
}

std::optional<AnalysisRequest> AnalysisCommands::ask(const AnalysisEntry& e, int tag) {
    AnalysisRequest r;
    shell_.refreshAnalysisSettings();
    const AnalysisSettings& settings = shell_.analysisSettings();
    const QString root = QString::fromStdString(shell_.analysisSettings().MainTitle);
    switch (e.parameters) {
        case AnalysisParameters::None: return r;
        case AnalysisParameters::Period:
        case AnalysisParameters::EnergyTraces: {
            TfmAddSort& d = scaleDialog();
            const bool traces = e.parameters == AnalysisParameters::EnergyTraces;
            d.prepare(QString::fromUtf8(e.dialogText), traces, offersBStatistics(e));
            if (shell_.execDialog(d) != QDialog::Accepted) return std::nullopt;
            r.bStatistics.enabled = d.bStatistics();
            r.bStatistics.aki = d.bAki();
            // The energy traces run over the whole span whatever the list says.
            r.period = traces ? PeriodKind::WholeSpan : d.periodKind();
            r.traceThreshold = d.traceThreshold();
            r.dischargeThreshold = d.dischargeThreshold();
            return r;
        }
        case AnalysisParameters::Zones: {
            TfmZones& d = zonesDialog();
            d.prepare(shell_.session().zones(), root, QString::fromUtf8(findCommand(e.action)->caption),
                      offersBStatistics(e));
            if (shell_.execDialog(d) != QDialog::Accepted) return std::nullopt;
            r.zones = d.zones();
            r.bStatistics.enabled = d.bStatistics();
            r.bStatistics.aki = d.bAki();
            return r;
        }
        case AnalysisParameters::ZoneActivity: {
            TfmZoneActivity& d = zoneActivityDialog();
            d.prepare(shell_.session().zones(), root, QString::fromUtf8(e.dialogText), d.energyClasses());
            if (shell_.execDialog(d) != QDialog::Accepted) return std::nullopt;
            r.zones = d.zones();
            r.energyClasses = d.energyClasses();
            return r;
        }
        case AnalysisParameters::NonParametric: {
            const auto menu = HazardMenuEntryOfTag(tag);
            if (!menu) return std::nullopt;
            TfmHazards& d = hazardDialog();
            const Preferences& p = shell_.preferences();
            HazardParameters offered = DefaultHazardParameters(menu->kind, menu->functions, p.H, p.Auto,
                                                               shell_.hazardCache().VariableUpperLimit());
            offered.bootstrap = hazardBootstrap_;
            d.prepareNonParametric(offered, settings.a, settings.b, settings.UserLocale);
            if (shell_.execDialog(d) != QDialog::Accepted) return std::nullopt;
            r.nonParametric = d.nonParametric();
            r.nonParametric.accepted = true;
            hazardBootstrap_ = r.nonParametric.bootstrap;
            return r;
        }
        case AnalysisParameters::Parametric: {
            TfmHazards& d = hazardDialog();
            d.prepareParametric(e.chartKind, parametricUpperLimit_, settings.a, settings.b,
                                settings.UserLocale);
            d.bootstrap()->setOptions(hazardBootstrap_);
            if (shell_.execDialog(d) != QDialog::Accepted) return std::nullopt;
            r.parametric = d.parametric();
            parametricUpperLimit_ = r.parametric.variableUpperLimit;
            hazardBootstrap_ = r.parametric.bootstrap;
            return r;
        }
        case AnalysisParameters::TimeVariations: {
            TfmTimeVariations& d = timeVariationsDialog();
            TimeVariationsParameters offered = TimeVariationsDefaults(tag);
            offered.bootstrap = timeVariationsBootstrap_;
            d.prepare(offered, settings.a, settings.b, settings.UserLocale);
            if (shell_.execDialog(d) != QDialog::Accepted) return std::nullopt;
            r.timeVariations = d.parameters();
            timeVariationsBootstrap_ = r.timeVariations.bootstrap;
            timeVariationActivity_ = d.activityCode();
            return r;
        }
        case AnalysisParameters::HazardMap: {
            TfmHazardMap& d = hazardMapDialog();
            const auto [first, last] = dateSpan(*shell_.session().table(), settings.DateField);
            d.prepare(hazardMap_.value_or(HazardMapParameters{}), first, last);
            if (shell_.execDialog(d) != QDialog::Accepted) return std::nullopt;
            hazardMap_ = r.hazardMap = d.parameters();
            // The map zone "Obszar" of the location map, where one is set,
            // is the map's extent (its events are those of the zone).
            if (const std::optional<MapBox>& area = shell_.session().mapZoneArea())
                r.hazardMap.grid.box = *area;
            const Preferences& p = shell_.preferences();
            r.hazardMap.locationExpression = p.X + p.LocationFilter;
            return r;
        }
        case AnalysisParameters::Backtest: {
            TfmBacktest& d = backtestDialog();
            d.prepare(backtest_);
            if (shell_.execDialog(d) != QDialog::Accepted) return std::nullopt;
            r.backtest = backtest_ = d.parameters();
            return r;
        }
    }
    return std::nullopt;
}

std::shared_ptr<Database> AnalysisCommands::compute(const AnalysisEntry& e, const AnalysisRequest& request) {
    Table* catalogue = shell_.session().table();
    if (!catalogue) return nullptr;
    shell_.refreshAnalysisSettings();
    const AnalysisSettings& settings = shell_.analysisSettings();
    auto holder = std::make_shared<AnalysisWithSample>();
    int copyNumber = shell_.takeCopyNumber();
    if (e.selection == SampleSelection::WholeCatalogue && catalogue->filtered()) {
        catalogue->setFiltered(false);
        holder->sample = CopyCatalogueForAnalysis(*catalogue, settings, copyNumber);
        catalogue->setFiltered(true);
    } else {
        holder->sample = CopyCatalogueForAnalysis(*catalogue, settings, copyNumber);
    }
    const ProgressScope progress(shell_.progressWindow());
    holder->analysis =
        e.make({settings, holder->sample.get(), request, progress.get(), &shell_.hazardCache()});
    return std::shared_ptr<Database>(holder, holder->analysis.get());
}

TfmGraph* AnalysisCommands::run(const AnalysisEntry& e, const AnalysisRequest& request) {
    std::shared_ptr<Database> analysis;
    try {
        analysis = compute(e, request);
    } catch (...) {
        // The failure's message with what to try, from the figures of the
        // events the analysis was given.
        const Table* catalogue = shell_.session().table();
        const HazardFailureMessage m =
            catalogue ? DescribeHazardFailure(std::current_exception(),
                                              DescribeFailureSample(*catalogue, shell_.analysisSettings()),
                                              shell_.analysisSettings().UserLocale)
                      : DescribeHazardFailure(std::current_exception());
        const QString text = QString::fromStdString(m.text);
        if (!hazardFamily(e.parameters) || m.title == "Problem...")
            showProblem(shell_.dialogs(), text);
        else if (m.error)
            shell_.dialogs().error(QString::fromStdString(m.title), text);
        else
            shell_.dialogs().information(QString::fromStdString(m.title), text);
        return nullptr;
    }
    if (!analysis) return nullptr;
    if (e.parameters == AnalysisParameters::TimeVariations)
        return openTimeVariationCharts(std::move(analysis), request.timeVariations);
    if (e.chartKind == ChartKind::HazardMap) return openMapCharts(std::move(analysis));
    return openChart(std::move(analysis), e.chartKind);
}

TfmGraph* AnalysisCommands::openTimeVariationCharts(std::shared_ptr<Database> analysis,
                                                    const TimeVariationsParameters& p) {
    // One slot for all the charts of the run.
    const int slot = shell_.windowSlots().freeSlot();
    TfmGraph* last = nullptr;
    for (const TimeVariationsChart& c : TimeVariationsCharts(p)) {
        // The strong events of the chart's magnitude.
        const double threshold = c.quantity == 1 ? p.returnMagnitude : p.hazardMagnitude;
        last = openChart(analysis, ChartKind::TimeVariations, slot, [&](TfmGraph& w) {
            w.buildTimeVariation(c.quantity, timeVariationActivity_);
            if (c.markEvents) w.showEventMarkers(threshold);
        });
    }
    return last;
}

TfmGraph* AnalysisCommands::openChart(std::shared_ptr<Database> analysis, ChartKind kind) {
    return openChart(std::move(analysis), kind, shell_.windowSlots().freeSlot(),
                     [](TfmGraph& w) { w.build(); });
}

TfmGraph* AnalysisCommands::openChart(std::shared_ptr<Database> analysis, ChartKind kind, int slot,
                                      const std::function<void(TfmGraph&)>& build) {
    const Preferences& prefs = shell_.preferences();
    auto* window = new TfmGraph(std::move(analysis), shell_.analysisSettings(), kind,
                                QString::fromStdString(shell_.session().filterDescription()),
                                &shell_.windowSlots(), slot);
    build(*window);
    const ChartOptions options = chartOptions();
    window->setupZoom(options);
    // The chart commands at hand on the window itself.
    if (const QList<QAction*> charts = shell_.menuActions(QStringLiteral("Wykresy")); !charts.isEmpty()) {
        window->setContextMenuPolicy(Qt::ActionsContextMenu);
        window->addActions(charts);
    }
    QMdiSubWindow* frame = shell_.addChild(window);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    showChildWindow(frame, QSize(options.width, options.height));
    applyDefaultTemplate(*window, prefs.TemplateFileName, shell_.dialogs());
    return window;
}

}  // namespace zorv

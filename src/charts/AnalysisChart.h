#pragma once
// The chart of an analysis: one chart with fourteen fixed series, the
// analysis object whose result table it draws, and the chart kind that
// decides which fields go to which series and axes. The desktop program's
// chart window is one (TfmGraph); zorv-batch draws them into picture files.

#include <qcustomplot.h>

#include <QWidget>
#include <array>
#include <memory>

#include "catalogue/AnalysisSettings.h"
#include "charts/ChartLayout.h"
#include "registry/ChartKind.h"

class QToolButton;

namespace zorv {

class Database;

// One of the fourteen series: a bar or a graph (line or points).
struct ChartSeries {
    SeriesType type = SeriesType::Line;
    QCPBars* bars = nullptr;
    QCPGraph* graph = nullptr;
    QCPErrorBars* errorBars = nullptr;  // ± the binding's error field, when it has one
    bool active = false;
    bool marksVisible = false;
    // Value marks: the mask (empty: the Y field's display format), the
    // font, and the gap between the value and its mark [px].
    QString marksFormat;
    QFont marksFont;
    int marksSpan = 0;
    std::string field;  // the Y field bound
    int tag = 0;
    QCPAbstractPlottable* plottable() const {
        return bars ? static_cast<QCPAbstractPlottable*>(bars) : static_cast<QCPAbstractPlottable*>(graph);
    }
};

// The chart settings a window takes at its opening.
struct ChartOptions {
    bool animations = false;        // AnimationsOn
    bool zoom = true;               // GraphZoom
    bool blockBarZoom = true;       // BlockZoomForActivities
    int width = 450, height = 350;  // GraphWidth × GraphHeight [px]
};

class AnalysisChart : public QWidget {
    Q_OBJECT
public:
    AnalysisChart(std::shared_ptr<Database> analysis, const AnalysisSettings& settings, ChartKind kind,
                  const QString& filterDescription, QWidget* parent = nullptr);

    // Builds the chart of the window's kind: all series made inactive, the
    // kind's bindings and axes, the texts, the "Info" hint.
    void build();
    // Builds a time-variation chart from its two codes; the chart
    // of the completeness magnitude (5) also draws MMin as a level line.
    void buildTimeVariation(int quantity, int activity);
    // Marks the events of the analysis' sample of at least `magnitude` on a
    // time-variation chart: a point series along the top of the plot.
    void showEventMarkers(double magnitude);
    // A hazard map (ChartKind::HazardMap, AnalysisChartMap.cpp): the node
    // values of `column` (one of mapChartColumns) as a colour grid with its
    // colour scale (PlanScale.h), the located events as dots, the map box,
    // X and Y at one scale; build() draws the first column.
    void buildMap(const std::string& column);
    const std::string& mapColumn() const { return mapColumn_; }
    QCPColorMap* colourMap() const { return colourMap_; }
    QCPColorScale* colourScale() const { return colourScale_; }
    QCPGraph* mapEvents() const { return mapEvents_; }
    // The node whose cell holds `pixel` (the chart's co-ordinates); -1 for
    // none.
    int mapNodeAt(const QPointF& pixel) const;
    // The node's place, sample size, radius and values, one per line.
    QString mapNodeText(int node) const;
    // Back to the extent of the grid.
    void undoMapZoom();
    // Zoom by the chart settings; bar charts follow their own setting.
    void setupZoom(const ChartOptions& options);

    Database& analysis() const { return *analysis_; }
    std::shared_ptr<Database> sharedAnalysis() const { return analysis_; }
    ChartKind kind() const { return kind_; }
    QCustomPlot* chart() const { return chart_; }
    const ChartSeries& series(int index) const { return series_[static_cast<std::size_t>(index)]; }
    ChartSeries& series(int index) { return series_[static_cast<std::size_t>(index)]; }
    QCPAxis* axis(ChartAxis a) const;
    const ChartLayout& layout() const { return layout_; }
    // Whether the axis is logarithmic and its label mask.
    bool axisLogarithmic(ChartAxis a) const;
    QString axisFormat(ChartAxis a) const;
    // A new label mask; text and date labels keep theirs.
    void setAxisFormat(ChartAxis a, const QString& format);
    // Automatic range or [minimum, maximum] in either order; turning the
    // automatic range on fits the axis to its series again.
    bool axisAutomatic(ChartAxis a) const { return automatic_[static_cast<std::size_t>(a)]; }
    void setAxisRange(ChartAxis a, bool automatic, double minimum, double maximum);
    // A value axis turned logarithmic (its range refitted when automatic:
    // whole decades about the positive values) or back to linear.
    void setAxisLogarithmic(ChartAxis a, bool logarithmic);
    // Re-draws the value marks after a change of the series' marks fields.
    void redrawMarks() { addMarks(); }

    // The rows of the bound series without a value but with a reason (the
    // binding's failureField): a marker each at the bottom of the value
    // axis, the reason as its tooltip, their count in the legend entry.
    struct FailureMarker {
        double key = 0.0;
        QString reason;
    };
    const std::vector<FailureMarker>& failureMarkers() const { return failures_; }
    // The legend entry of the markers; null when there are none.
    QCPGraph* failureLegend() const { return failureLegend_; }
    // The reason of the marker within a few pixels of `pixel` (the chart's
    // co-ordinates); empty for none.
    QString failureAt(const QPointF& pixel) const;

    QCPTextElement* titleElement() const { return title_; }
    QCPTextElement* footerElement() const { return footer_; }
    QString titleText() const;
    QString footerText() const;
    QString infoHint() const { return infoHint_; }
    QToolButton* infoButton() const { return info_; }
    bool zoomEnabled() const;
    bool zoomAnimated() const { return animated_; }

    // Legend position: 0 left, 1 right, 2 top, 3 bottom.
    int legendPosition = 1;
    void setLegendPosition(int position);
    // The legend's top in percent of its cell (beside the plot), and its
    // shadow: a rectangle of the colour offset by the size [px] to the lower
    // right, drawn under the legend at every layout (0: none).
    double legendTopPercent = 0.0;
    std::uint32_t legendShadowColour = 0;
    double legendShadowSize = 0.0;
    QCPItemRect* legendShadow() const { return legendShadow_; }
    std::uint32_t gradientStart = 0xFFFFFF, gradientEnd = 0xFFFFFF;
    bool gradientVisible = false;
    int gradientDirection = 0;
    // Re-draws the background after a change of the gradient fields.
    void applyBackground();
    std::uint32_t backColour() const { return backColour_; }
    std::uint32_t panelColour() const { return panelColour_; }
    void setBackColour(std::uint32_t c);
    void setPanelColour(std::uint32_t c);
    // Minor ticks between two main ticks, through the axis' ticker.
    int minorTickCount(ChartAxis a) const;
    void setMinorTickCount(ChartAxis a, int n);

signals:
    // A click on a node of a hazard map (not a zoom rectangle).
    void mapNodeClicked(int node);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createSeries();
    // A horizontal line at `value` across the X range of the bound series.
    void showLevelLine(double value, const QString& title);
    void bindSeries(const SeriesBinding& b);
    // The confidence band of every bound line whose Y field has "_lo" and
    // "_hi" band columns: a light area between two graphs under the lines.
    void addBands();
    void addFailureMarkers();
    void setupAxis(const AxisSetup& s);
    void applyLayout();
    void setTexts();
    // The caption followed by " /" and the filter, where there is one.
    QString withFilter(const QString& caption) const;
    void prepareInfoHint();
    void addMarks();
    void placeLegend();
    void placeLegendShadow();
    void setBottomLabels(const SeriesBinding& b, const QVector<double>& keys);
    void animateTo(const QCPRange& x, const QCPRange& y);
    void fitAxis(ChartAxis a);
    // The upper ends of the open bands at the top of their axis, or left
    // out (NaN) while an axis is fitted.
    void openBandEnds(bool atTop);

    std::shared_ptr<Database> analysis_;
    AnalysisSettings settings_;
    ChartKind kind_;
    QString filterDescription_;
    ChartLayout layout_;

    QCustomPlot* chart_;
    QCPTextElement* title_;
    QCPTextElement* footer_;
    QCPLayoutGrid* body_ = nullptr;
    QCPLayoutGrid* legendCell_ = nullptr;
    QToolButton* info_;
    QCPItemRect* legendShadow_ = nullptr;
    QString infoHint_;
    std::array<ChartSeries, kSeriesCount> series_;
    std::vector<QCPGraph*> bandGraphs_;
    struct OpenBand {
        QCPGraph* graph;
        QVector<double> keys, upper;  // NaN where the upper end is open
    };
    std::vector<OpenBand> openBands_;
    std::vector<FailureMarker> failures_;
    std::vector<QCPItemTracer*> failureItems_;
    QCPGraph* failureLegend_ = nullptr;
    std::array<bool, 3> logarithmic_{};
    std::array<QString, 3> formats_;
    std::array<QString, 3> linearFormats_;  // the masks before setAxisLogarithmic
    std::array<bool, 3> automatic_{true, true, true};
    std::uint32_t backColour_ = 0xFFFFFF;
    std::uint32_t panelColour_ = 13086103;
    bool animated_ = false;
    bool zoomAllowed_ = true;

    // The hazard map's parts; null on other kinds.
    void keepMapScale();
    std::string mapColumn_;
    QCPColorMap* colourMap_ = nullptr;
    QCPColorScale* colourScale_ = nullptr;
    QCPGraph* mapEvents_ = nullptr;
    QCPItemRect* mapBox_ = nullptr;
    QCPRange mapFullX_{0, 1}, mapFullY_{0, 1};
    QCPRange mapViewX_{0, 1}, mapViewY_{0, 1};        // what the user wants to see
    QCPRange mapAppliedX_{0, 0}, mapAppliedY_{0, 0};  // the ranges last set to show it
    int mapRescalings_ = 0;
    QPointF pressedAt_;
};

// TColor-style value (red in the lowest byte) and QColor.
QColor toQColor(std::uint32_t colour);
std::uint32_t fromQColor(const QColor& colour);

}  // namespace zorv

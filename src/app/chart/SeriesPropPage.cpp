// "Serie": one set of controls for the series picked in the chooser; the
// edits of every series are kept until the dialog applies them all.

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>
#include <array>
#include <cmath>
#include <map>

#include "analysis/Database.h"
#include "chart/ChartPropPages.h"
#include "chart/StyleButtons.h"
#include "chart/TfmGraph.h"
#include "charts/ChartTemplateQt.h"

namespace zorv {

namespace {

template <typename W>
W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromUtf8(name));
    return widget;
}

// Point shapes in the order of the lists.
constexpr std::array<QCPScatterStyle::ScatterShape, 8> kShapes = {
    QCPScatterStyle::ssSquare,   QCPScatterStyle::ssCircle,
    QCPScatterStyle::ssTriangle, QCPScatterStyle::ssTriangleInverted,
    QCPScatterStyle::ssPlus,     QCPScatterStyle::ssCross,
    QCPScatterStyle::ssStar,     QCPScatterStyle::ssDiamond};

QComboBox* shapeBox(const char* name, QWidget* parent) {
    auto* box = named(new QComboBox(parent), name);
    box->addItems({QStringLiteral("Kwadrat"), QStringLiteral("Koło"), QStringLiteral("Trójkąt"),
                   QStringLiteral("Trójkąt odw."), QStringLiteral("Plus"), QStringLiteral("Krzyż"),
                   QStringLiteral("Gwiazdka"), QStringLiteral("Diament")});
    return box;
}

int shapeIndex(QCPScatterStyle::ScatterShape shape) {
    const auto at = std::find(kShapes.begin(), kShapes.end(), shape);
    return at == kShapes.end() ? 0 : static_cast<int>(at - kShapes.begin());
}

// How the bars of one period stand: the arrangement is the chart's, not a
// single series'.
enum BarStyle { SideBySide = 0, Stacked = 1, StackedPercent = 2 };
const char* const kBarStyle = "zorvBarStyle";
// The values of a bar series before they were turned into percentages.
const char* const kOwnValues = "zorvValues";
// How far the bars stand off their period [plot units].
const char* const kKeyShift = "zorvKeyShift";

int barStyle(const TfmGraph& w) {
    const QVariant v = w.chart()->property(kBarStyle);
    return v.isValid() ? v.toInt() : SideBySide;
}

int groupSize(const QCPBars* bars) { return bars->barsGroup() ? std::max(1, bars->barsGroup()->size()) : 1; }

double keyShift(const QCPBars* bars) { return bars->property(kKeyShift).toDouble(); }

void shiftKeys(QCPBars* bars, double shift) {
    const double delta = shift - keyShift(bars);
    if (delta != 0.0)
        for (auto it = bars->data()->begin(); it != bars->data()->end(); ++it) it->key += delta;
    bars->setProperty(kKeyShift, shift);
}

void restoreOwnValues(QCPBars* bars) {
    const QVariant own = bars->property(kOwnValues);
    if (!own.isValid()) return;
    const QList<double> values = own.value<QList<double>>();
    int k = 0;
    for (auto it = bars->data()->begin(); it != bars->data()->end() && k < values.size(); ++it)
        it->value = values[k++];
    bars->setProperty(kOwnValues, QVariant());
}

// Each period's bars as percentages of the period's total, so that a stack
// always reaches 100; the own values are kept for a later arrangement.
void toPercentages(const std::vector<QCPBars*>& bars) {
    std::map<double, double> totals;
    for (const QCPBars* b : bars)
        for (const QCPBarsData& d : *b->data()) totals[d.key - keyShift(b)] += std::abs(d.value);
    for (QCPBars* b : bars) {
        QList<double> own;
        for (auto it = b->data()->begin(); it != b->data()->end(); ++it) {
            own.push_back(it->value);
            const double total = totals[it->key - keyShift(b)];
            it->value = total > 0.0 ? std::abs(it->value) / total * 100.0 : 0.0;
        }
        b->setProperty(kOwnValues, QVariant::fromValue(own));
    }
}

// Side by side the active bars share one group (as the chart window builds
// them); stacked each stands on the one before it on the same axis.
void arrangeBars(TfmGraph& w, int style) {
    std::vector<QCPBars*> all, active;
    QCPBarsGroup* group = nullptr;
    for (int i = 0; i < kSeriesCount; ++i) {
        QCPBars* b = w.series(i).bars;
        if (!b) continue;
        all.push_back(b);
        if (w.series(i).active) active.push_back(b);
        if (!group) group = b->barsGroup();
    }
    for (QCPBars* b : all) {
        b->moveAbove(nullptr);
        b->setBarsGroup(nullptr);
        restoreOwnValues(b);
    }
    if (style == SideBySide && active.size() > 1) {
        if (!group) group = new QCPBarsGroup(w.chart());
        group->setSpacingType(QCPBarsGroup::stAbsolute);
        group->setSpacing(0);
        for (QCPBars* b : active) group->append(b);
    } else if (style != SideBySide) {
        for (std::size_t k = 1; k < active.size(); ++k)
            if (active[k]->valueAxis() == active[k - 1]->valueAxis()) active[k]->moveAbove(active[k - 1]);
        if (style == StackedPercent) toPercentages(active);
    }
    w.chart()->setProperty(kBarStyle, style);
}

struct SeriesState {
    bool active = false;
    std::uint32_t colour = 0;
    QString name, legend;
    int barOffset = 0;   // [% of the bar width]
    int barWidth = 90;   // [% of a period]
    int pointType = 0;   // index into kShapes
    int pointSize = 7;   // [px]
    int lineWidth = 2;   // [px]
    bool marker = true;  // points drawn on the line
    int markerType = 0;
    int markerSize = 5;  // [px]
    std::uint32_t markerColour = 0;
    bool marks = false;
    int marksSpan = 0;  // [px]
    QString marksFormat;
    QFont marksFont;
};

QString fieldFormat(const TfmGraph& w, const ChartSeries& s) {
    Table* table = w.analysis().GetTable();
    const int f = table ? table->fieldIndex(s.field) : -1;
    return f >= 0 ? QString::fromStdString(table->field(f).displayFormat) : QString();
}

SeriesState capture(const TfmGraph& w, int index) {
    const ChartSeries& s = w.series(index);
    SeriesState st;
    st.active = s.active;
    st.colour = seriesColour(w, index);
    st.name = s.plottable()->objectName();
    if (st.name.isEmpty())
        st.name = QString::fromUtf8(seriesDefaults()[static_cast<std::size_t>(index)].name);
    st.legend = s.plottable()->name();
    if (s.bars) {
        const double width = s.bars->width();
        st.barWidth = static_cast<int>(std::lround(width * groupSize(s.bars) * 100.0));
        st.barOffset = width > 0.0 ? static_cast<int>(std::lround(keyShift(s.bars) / width * 100.0)) : 0;
    } else {
        const QCPScatterStyle scatter = s.graph->scatterStyle();
        st.pointType = shapeIndex(scatter.shape());
        st.pointSize = static_cast<int>(std::lround(scatter.size()));
        st.lineWidth = s.graph->pen().width();
        st.marker = scatter.shape() != QCPScatterStyle::ssNone;
        st.markerType = st.pointType;
        st.markerSize = st.pointSize;
        st.markerColour = fromQColor(scatter.brush().color());
    }
    st.marks = s.marksVisible;
    st.marksSpan = s.marksSpan;
    st.marksFormat = s.marksFormat.isEmpty() ? fieldFormat(w, s) : s.marksFormat;
    st.marksFont = s.marksFont;
    return st;
}

class SeriesPage : public ChartPropPage {
public:
    SeriesPage(const StylePickers& pickers, QWidget* parent)
        : ChartPropPage(parent),
          chooser_(named(new QComboBox(this), "Series")),
          active_(named(new QCheckBox(QStringLiteral("Seria aktywna"), this), "SeriesActive")),
          colour_(named(new ColourButton(pickers, this), "SeriesColour")),
          name_(named(new QLineEdit(this), "SeriesName")),
          legend_(named(new QLineEdit(this), "LegendText")),
          bars_(named(new QGroupBox(QStringLiteral("Słupki"), this), "BarOptions")),
          barStyle_(named(new QComboBox(bars_), "BarStyle")),
          barOffset_(named(new QSpinBox(bars_), "BarOffset")),
          barWidth_(named(new QSpinBox(bars_), "BarWidth")),
          points_(named(new QGroupBox(QStringLiteral("Punkty"), this), "PointOptions")),
          pointType_(shapeBox("PointType", points_)),
          pointSize_(named(new QSpinBox(points_), "PointSize")),
          lines_(named(new QGroupBox(QStringLiteral("Linia"), this), "LineOptions")),
          lineWidth_(named(new QSpinBox(lines_), "LineWidth")),
          marker_(named(new QCheckBox(QStringLiteral("Znacznik punktów"), lines_), "LineMarker")),
          markerType_(shapeBox("MarkerType", lines_)),
          markerSize_(named(new QSpinBox(lines_), "MarkerSize")),
          markerColour_(named(new ColourButton(pickers, lines_), "MarkerColour")),
          marks_(named(new QCheckBox(QStringLiteral("Pokaż wartości serii"), this), "MarksVisible")),
          marksSpan_(named(new QSpinBox(this), "MarksSpan")),
          marksFormat_(named(new QComboBox(this), "MarksFormat")),
          marksFont_(named(new FontButton(pickers, this), "MarksFont")) {
        barStyle_->addItems({QStringLiteral("Obok siebie"), QStringLiteral("Skumulowane"),
                             QStringLiteral("Skumulowane (100%)")});
        barOffset_->setRange(0, 100);
        barWidth_->setRange(0, 100);
        for (QSpinBox* b : {barOffset_, barWidth_}) b->setSuffix(QStringLiteral(" %"));
        pointSize_->setRange(1, 40);
        lineWidth_->setRange(0, 9);
        markerSize_->setRange(0, 9);
        marksSpan_->setRange(0, 40);
        marksFormat_->setEditable(true);
        marksFormat_->addItems({QStringLiteral("0.#E+0"), QStringLiteral("#,##0.###")});

        auto* box = new QVBoxLayout(this);
        auto* general = new QFormLayout;
        general->addRow(QStringLiteral("Seria"), chooser_);
        general->addRow(active_);
        general->addRow(QStringLiteral("Kolor"), colour_);
        general->addRow(QStringLiteral("Nazwa"), name_);
        general->addRow(QStringLiteral("Tekst legendy"), legend_);
        box->addLayout(general);
        addFormGroup(box, this, QString(),
                     {{QStringLiteral("Układ"), barStyle_},
                      {QStringLiteral("Przesunięcie"), barOffset_},
                      {QStringLiteral("Szerokość"), barWidth_}},
                     bars_);
        addFormGroup(box, this, QString(),
                     {{QStringLiteral("Rodzaj"), pointType_}, {QStringLiteral("Wielkość"), pointSize_}},
                     points_);
        addFormGroup(box, this, QString(),
                     {{QStringLiteral("Grubość"), lineWidth_},
                      {QString(), marker_},
                      {QStringLiteral("Rodzaj"), markerType_},
                      {QStringLiteral("Wielkość"), markerSize_},
                      {QStringLiteral("Kolor"), markerColour_}},
                     lines_);
        addFormGroup(box, this, QStringLiteral("Wartości"),
                     {{QString(), marks_},
                      {QStringLiteral("Odstęp"), marksSpan_},
                      {QStringLiteral("Format"), marksFormat_},
                      {QStringLiteral("Czcionka"), marksFont_}});
        box->addStretch();

        connect(marker_, &QCheckBox::toggled, this, [this](bool on) {
            for (QWidget* c : {static_cast<QWidget*>(markerType_), static_cast<QWidget*>(markerSize_),
                               static_cast<QWidget*>(markerColour_)})
                c->setEnabled(on);
        });
        connect(chooser_, &QComboBox::currentIndexChanged, this, [this](int index) {
            if (current_ >= 0) storeSeries(current_);
            showSeries(index);
        });
    }

    void load(const TfmGraph& w) override {
        int first = -1;
        for (int i = 0; i < kSeriesCount; ++i) {
            states_[static_cast<std::size_t>(i)] = capture(w, i);
            if (first < 0 && w.series(i).active) first = i;
        }
        loaded_ = states_;
        style_ = loadedStyle_ = barStyle(w);
        types_.clear();
        for (int i = 0; i < kSeriesCount; ++i) types_.push_back(w.series(i).type);
        current_ = -1;
        const QSignalBlocker quiet(chooser_);
        chooser_->clear();
        for (const SeriesState& s : states_) chooser_->addItem(s.legend);
        current_ = std::max(first, 0);
        chooser_->setCurrentIndex(current_);
        showSeries(current_);
    }

    void apply(TfmGraph& w) override {
        storeSeries(current_);
        bool arrangementChanged = style_ != loadedStyle_;
        for (int i = 0; i < kSeriesCount; ++i) {
            ChartSeries& s = w.series(i);
            if (s.bars && s.active != states_[static_cast<std::size_t>(i)].active) arrangementChanged = true;
            setActive(s, states_[static_cast<std::size_t>(i)].active);
        }
        arrangeBars(w, style_);
        for (int i = 0; i < kSeriesCount; ++i)
            applySeries(w, i, states_[static_cast<std::size_t>(i)], loaded_[static_cast<std::size_t>(i)]);
        // Stacks and percentages change the height the bars need.
        if (arrangementChanged)
            for (ChartAxis a : {ChartAxis::Left, ChartAxis::Right})
                if (w.axisAutomatic(a) && !w.axisLogarithmic(a)) w.setAxisRange(a, true, 0.0, 0.0);
        w.redrawMarks();
        loaded_ = states_;
        loadedStyle_ = style_;
        for (int i = 0; i < kSeriesCount; ++i)
            chooser_->setItemText(i, states_[static_cast<std::size_t>(i)].legend);
    }

private:
    static void setActive(ChartSeries& s, bool active) {
        s.active = active;
        s.plottable()->setVisible(active);
        if (active)
            s.plottable()->addToLegend();
        else
            s.plottable()->removeFromLegend();
    }

    static void applySeries(TfmGraph& w, int index, const SeriesState& st, const SeriesState& was) {
        ChartSeries& s = w.series(index);
        QCPAbstractPlottable* p = s.plottable();
        p->setObjectName(st.name);
        p->setName(st.legend);
        // Colours are written only when edited: the series colour also paints
        // the point markers.
        if (st.colour != was.colour) setSeriesColour(w, index, st.colour);
        if (s.bars) {
            s.bars->setWidth(st.barWidth / 100.0 / groupSize(s.bars));
            shiftKeys(s.bars, st.barOffset / 100.0 * s.bars->width());
        } else if (s.type == SeriesType::Point) {
            QCPScatterStyle scatter = s.graph->scatterStyle();
            scatter.setShape(kShapes[static_cast<std::size_t>(st.pointType)]);
            scatter.setSize(st.pointSize);
            s.graph->setScatterStyle(scatter);
        } else {
            QPen pen = s.graph->pen();
            pen.setWidth(st.lineWidth);
            s.graph->setPen(pen);
            QCPScatterStyle scatter = s.graph->scatterStyle();
            scatter.setShape(st.marker ? kShapes[static_cast<std::size_t>(st.markerType)]
                                       : QCPScatterStyle::ssNone);
            scatter.setSize(st.markerSize);
            if (st.markerColour != was.markerColour) {
                scatter.setPen(QPen(toQColor(st.markerColour)));
                scatter.setBrush(toQColor(st.markerColour));
            }
            s.graph->setScatterStyle(scatter);
        }
        s.marksVisible = st.marks;
        s.marksSpan = st.marksSpan;
        s.marksFormat = st.marksFormat;
        s.marksFont = st.marksFont;
    }

    // Only the options of the series' own type are shown.
    void showSeries(int index) {
        if (index < 0 || index >= kSeriesCount) return;
        current_ = index;
        const SeriesState& st = states_[static_cast<std::size_t>(index)];
        const SeriesType type = types_[static_cast<std::size_t>(index)];
        bars_->setVisible(type == SeriesType::Bar);
        points_->setVisible(type == SeriesType::Point);
        lines_->setVisible(type == SeriesType::Line);
        active_->setChecked(st.active);
        colour_->setColour(st.colour);
        name_->setText(st.name);
        legend_->setText(st.legend);
        barStyle_->setCurrentIndex(style_);
        barOffset_->setValue(st.barOffset);
        barWidth_->setValue(st.barWidth);
        pointType_->setCurrentIndex(st.pointType);
        pointSize_->setValue(st.pointSize);
        lineWidth_->setValue(st.lineWidth);
        marker_->setChecked(st.marker);
        markerType_->setCurrentIndex(st.markerType);
        markerSize_->setValue(st.markerSize);
        markerColour_->setColour(st.markerColour);
        marks_->setChecked(st.marks);
        marksSpan_->setValue(st.marksSpan);
        marksFormat_->setCurrentText(st.marksFormat);
        marksFont_->setChosenFont(st.marksFont);
    }

    void storeSeries(int index) {
        if (index < 0 || index >= kSeriesCount) return;
        SeriesState& st = states_[static_cast<std::size_t>(index)];
        const SeriesType type = types_[static_cast<std::size_t>(index)];
        st.active = active_->isChecked();
        st.colour = colour_->colour();
        st.name = name_->text();
        st.legend = legend_->text();
        if (type == SeriesType::Bar) {
            style_ = barStyle_->currentIndex();
            st.barOffset = barOffset_->value();
            st.barWidth = barWidth_->value();
        } else if (type == SeriesType::Point) {
            st.pointType = pointType_->currentIndex();
            st.pointSize = pointSize_->value();
        } else {
            st.lineWidth = lineWidth_->value();
            st.marker = marker_->isChecked();
            st.markerType = markerType_->currentIndex();
            st.markerSize = markerSize_->value();
            st.markerColour = markerColour_->colour();
        }
        st.marks = marks_->isChecked();
        st.marksSpan = marksSpan_->value();
        st.marksFormat = marksFormat_->currentText();
        st.marksFont = marksFont_->chosenFont();
    }

    QComboBox* chooser_;
    QCheckBox* active_;
    ColourButton* colour_;
    QLineEdit* name_;
    QLineEdit* legend_;
    QGroupBox* bars_;
    QComboBox* barStyle_;
    QSpinBox* barOffset_;
    QSpinBox* barWidth_;
    QGroupBox* points_;
    QComboBox* pointType_;
    QSpinBox* pointSize_;
    QGroupBox* lines_;
    QSpinBox* lineWidth_;
    QCheckBox* marker_;
    QComboBox* markerType_;
    QSpinBox* markerSize_;
    ColourButton* markerColour_;
    QCheckBox* marks_;
    QSpinBox* marksSpan_;
    QComboBox* marksFormat_;
    FontButton* marksFont_;

    std::array<SeriesState, kSeriesCount> states_, loaded_;
    std::vector<SeriesType> types_;
    int style_ = SideBySide, loadedStyle_ = SideBySide;
    int current_ = -1;
};

}  // namespace

ChartPropPage* makeSeriesPage(const StylePickers& p, QWidget* parent) { return new SeriesPage(p, parent); }

}  // namespace zorv

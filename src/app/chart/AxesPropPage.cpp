// "Osie": grid, range, labels and ticks of the bottom, left and right axes;
// the edits of all three are kept until the dialog applies them.

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QSpinBox>
#include <QVBoxLayout>
#include <array>

#include "chart/ChartPropPages.h"
#include "chart/StyleButtons.h"
#include "chart/TfmGraph.h"
#include "charts/MaskTicker.h"

namespace zorv {

namespace {

template <typename W>
W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromUtf8(name));
    return widget;
}

// The chooser's order: "Oś wartości x", "... y (lewa)", "... y (prawa)".
constexpr std::array<ChartAxis, 3> kAxes = {ChartAxis::Bottom, ChartAxis::Left, ChartAxis::Right};
// Grid pen styles in the order of their codes.
constexpr std::array<Qt::PenStyle, 5> kPenStyles = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine,
                                                    Qt::DashDotDotLine};

struct AxisState {
    bool grid = true;
    std::uint32_t gridColour = 0;
    int gridStyle = 0;
    int gridWidth = 0;  // [px]
    bool minorGrid = false;
    bool automatic = true;
    bool logarithmic = false;
    double minimum = 0.0, maximum = 0.0;
    bool labels = true;
    QString format;
    bool formatted = false;                   // mask labels (not text or dates)
    int tickLength = 0, minorTickLength = 0;  // [px]
    int minorTicks = 0;
};

AxisState capture(const TfmGraph& w, ChartAxis id) {
    const QCPAxis* a = w.axis(id);
    AxisState st;
    const QPen pen = a->grid()->pen();
    st.grid = a->grid()->visible();
    st.gridColour = fromQColor(pen.color());
    const auto style = std::find(kPenStyles.begin(), kPenStyles.end(), pen.style());
    st.gridStyle = style == kPenStyles.end() ? 0 : static_cast<int>(style - kPenStyles.begin());
    st.gridWidth = pen.width();
    st.minorGrid = a->grid()->subGridVisible();
    st.automatic = w.axisAutomatic(id);
    st.logarithmic = w.axisLogarithmic(id);
    st.minimum = a->range().lower;
    st.maximum = a->range().upper;
    st.labels = a->tickLabels();
    st.format = w.axisFormat(id);
    st.formatted = qSharedPointerDynamicCast<MaskTicker>(a->ticker()) ||
                   qSharedPointerDynamicCast<LogMaskTicker>(a->ticker());
    st.tickLength = a->tickLengthOut();
    st.minorTickLength = a->subTickLengthOut();
    // -1 (as the step suggests) shows as 0 and stays so unless edited.
    st.minorTicks = std::max(0, w.minorTickCount(id));
    return st;
}

QDoubleSpinBox* limitEdit(const char* name, QWidget* parent) {
    auto* e = named(new QDoubleSpinBox(parent), name);
    e->setRange(-1e15, 1e15);
    e->setDecimals(6);
    return e;
}

QSpinBox* countEdit(const char* name, int most, QWidget* parent) {
    auto* e = named(new QSpinBox(parent), name);
    e->setRange(0, most);
    return e;
}

class AxesPage : public ChartPropPage {
public:
    AxesPage(const StylePickers& pickers, QWidget* parent)
        : ChartPropPage(parent),
          chooser_(named(new QComboBox(this), "Axis")),
          grid_(named(new QGroupBox(QStringLiteral("Główny grid"), this), "MainGrid")),
          gridColour_(named(new ColourButton(pickers, grid_), "GridColour")),
          gridStyle_(named(new QComboBox(grid_), "GridStyle")),
          gridWidth_(countEdit("GridWidth", 5, grid_)),
          minorGrid_(named(new QCheckBox(QStringLiteral("Grid pomocniczy"), this), "MinorGrid")),
          automatic_(named(new QCheckBox(QStringLiteral("Automatyczna skala"), this), "Automatic")),
          logarithmic_(named(new QCheckBox(QStringLiteral("Skala logarytmiczna"), this), "Logarithmic")),
          minimum_(limitEdit("Minimum", this)),
          maximum_(limitEdit("Maximum", this)),
          labels_(named(new QCheckBox(QStringLiteral("Etykiety"), this), "Labels")),
          format_(named(new QComboBox(this), "LabelFormat")),
          tickLength_(countEdit("TickLength", 20, this)),
          minorTickLength_(countEdit("MinorTickLength", 20, this)),
          minorTicks_(countEdit("MinorTickCount", 10, this)) {
        chooser_->addItems({QStringLiteral("Oś wartości x"), QStringLiteral("Oś wartości y (lewa)"),
                            QStringLiteral("Oś wartości y (prawa)")});
        gridStyle_->addItems({QStringLiteral("Linia"), QStringLiteral("Kreska"), QStringLiteral("Kropka"),
                              QStringLiteral("Kropka Kreska"), QStringLiteral("Kreska Kropka Kropka")});
        grid_->setCheckable(true);
        format_->setEditable(true);
        format_->addItems({QStringLiteral("#"), QStringLiteral("0.##"), QStringLiteral("#.##"),
                           QStringLiteral("0.#E+0"), QStringLiteral("0.##E+0"), QStringLiteral("#,##0.###")});

        auto* box = new QVBoxLayout(this);
        auto* top = new QFormLayout;
        top->addRow(QStringLiteral("Oś"), chooser_);
        box->addLayout(top);
        addFormGroup(box, this, QString(),
                     {{QStringLiteral("Kolor"), gridColour_},
                      {QStringLiteral("Styl"), gridStyle_},
                      {QStringLiteral("Grubość"), gridWidth_}},
                     grid_);
        box->addWidget(minorGrid_);
        addFormGroup(box, this, QStringLiteral("Skala"),
                     {{QString(), automatic_},
                      {QString(), logarithmic_},
                      {QStringLiteral("Minimum"), minimum_},
                      {QStringLiteral("Maksimum"), maximum_}});
        addFormGroup(box, this, QStringLiteral("Etykiety i znaczniki"),
                     {{QString(), labels_},
                      {QStringLiteral("Format etykiet"), format_},
                      {QStringLiteral("Długość znacznika głównego"), tickLength_},
                      {QStringLiteral("Długość znacznika pomocniczego"), minorTickLength_},
                      {QStringLiteral("Znaczniki pomocnicze na główny"), minorTicks_}});
        box->addStretch();

        // Limits are the user's only while the scale is not automatic.
        connect(automatic_, &QCheckBox::toggled, this, [this](bool on) {
            minimum_->setEnabled(!on);
            maximum_->setEnabled(!on);
        });
        connect(chooser_, &QComboBox::currentIndexChanged, this, [this](int index) {
            if (current_ >= 0) storeAxis(current_);
            showAxis(index);
        });
    }

    void load(const TfmGraph& w) override {
        for (std::size_t i = 0; i < kAxes.size(); ++i) states_[i] = capture(w, kAxes[i]);
        loaded_ = states_;
        current_ = -1;
        const QSignalBlocker quiet(chooser_);
        chooser_->setCurrentIndex(0);
        showAxis(0);
    }

    void apply(TfmGraph& w) override {
        storeAxis(current_);
        for (std::size_t i = 0; i < kAxes.size(); ++i) applyAxis(w, kAxes[i], states_[i], loaded_[i]);
        loaded_ = states_;
    }

private:
    static void applyAxis(TfmGraph& w, ChartAxis id, const AxisState& st, const AxisState& was) {
        QCPAxis* a = w.axis(id);
        a->grid()->setVisible(st.grid);
        a->grid()->setPen(
            QPen(toQColor(st.gridColour), st.gridWidth, kPenStyles[static_cast<std::size_t>(st.gridStyle)]));
        if (st.logarithmic != was.logarithmic) w.setAxisLogarithmic(id, st.logarithmic);
        a->grid()->setSubGridVisible(st.minorGrid);
        // A range already automatic is left as the chart fitted it.
        if (!st.automatic)
            w.setAxisRange(id, false, st.minimum, st.maximum);
        else if (!w.axisAutomatic(id))
            w.setAxisRange(id, true, 0.0, 0.0);
        a->setTickLabels(st.labels);
        if (st.formatted && st.format != was.format) w.setAxisFormat(id, st.format);
        a->setTickLengthOut(st.tickLength);
        a->setSubTickLengthOut(st.minorTickLength);
        if (st.minorTicks != was.minorTicks) w.setMinorTickCount(id, st.minorTicks);
    }

    void showAxis(int index) {
        if (index < 0 || index >= static_cast<int>(kAxes.size())) return;
        current_ = index;
        const AxisState& st = states_[static_cast<std::size_t>(index)];
        grid_->setChecked(st.grid);
        gridColour_->setColour(st.gridColour);
        gridStyle_->setCurrentIndex(st.gridStyle);
        gridWidth_->setValue(st.gridWidth);
        minorGrid_->setChecked(st.minorGrid);
        minimum_->setValue(st.minimum);
        maximum_->setValue(st.maximum);
        automatic_->setChecked(st.automatic);
        logarithmic_->setChecked(st.logarithmic);
        // Value axes with mask labels only (not record labels or dates).
        logarithmic_->setEnabled(st.formatted && index != 0);
        minimum_->setEnabled(!st.automatic);
        maximum_->setEnabled(!st.automatic);
        labels_->setChecked(st.labels);
        format_->setCurrentText(st.format);
        format_->setEnabled(st.formatted);
        tickLength_->setValue(st.tickLength);
        minorTickLength_->setValue(st.minorTickLength);
        minorTicks_->setValue(st.minorTicks);
    }

    void storeAxis(int index) {
        if (index < 0 || index >= static_cast<int>(kAxes.size())) return;
        AxisState& st = states_[static_cast<std::size_t>(index)];
        st.grid = grid_->isChecked();
        st.gridColour = gridColour_->colour();
        st.gridStyle = gridStyle_->currentIndex();
        st.gridWidth = gridWidth_->value();
        st.minorGrid = minorGrid_->isChecked();
        st.automatic = automatic_->isChecked();
        st.logarithmic = logarithmic_->isChecked();
        st.minimum = minimum_->value();
        st.maximum = maximum_->value();
        st.labels = labels_->isChecked();
        st.format = format_->currentText();
        st.tickLength = tickLength_->value();
        st.minorTickLength = minorTickLength_->value();
        st.minorTicks = minorTicks_->value();
    }

    QComboBox* chooser_;
    QGroupBox* grid_;
    ColourButton* gridColour_;
    QComboBox* gridStyle_;
    QSpinBox* gridWidth_;
    QCheckBox* minorGrid_;
    QCheckBox* automatic_;
    QCheckBox* logarithmic_;
    QDoubleSpinBox* minimum_;
    QDoubleSpinBox* maximum_;
    QCheckBox* labels_;
    QComboBox* format_;
    QSpinBox* tickLength_;
    QSpinBox* minorTickLength_;
    QSpinBox* minorTicks_;

    std::array<AxisState, 3> states_, loaded_;
    int current_ = -1;
};

}  // namespace

ChartPropPage* makeAxesPage(const StylePickers& p, QWidget* parent) { return new AxesPage(p, parent); }

}  // namespace zorv

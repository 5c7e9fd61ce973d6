#include "chart/ChartPropPages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "chart/StyleButtons.h"
#include "chart/TfmGraph.h"

namespace zorv {

QGroupBox* addFormGroup(QBoxLayout* box, QWidget* parent, const QString& caption,
                        std::initializer_list<FormRow> rows, QGroupBox* group) {
    if (!group) group = new QGroupBox(caption, parent);
    auto* form = new QFormLayout(group);
    for (const FormRow& r : rows) {
        if (r.label.isEmpty())
            form->addRow(r.control);
        else
            form->addRow(r.label, r.control);
    }
    box->addWidget(group);
    return group;
}

namespace {

template <typename W>
W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromUtf8(name));
    return widget;
}

// Title and footer positions in the order of their codes: 0 left, 1 right,
// 2 centre.
QComboBox* alignmentBox(const char* name, QWidget* parent) {
    auto* box = named(new QComboBox(parent), name);
    box->addItems({QStringLiteral("Lewo"), QStringLiteral("Prawo"), QStringLiteral("Środek")});
    return box;
}

int alignmentIndex(int flags) {
    if (flags & Qt::AlignRight) return 1;
    if (flags & Qt::AlignHCenter) return 2;
    return 0;
}

int alignmentFlags(int index) {
    return (index == 1 ? Qt::AlignRight : index == 2 ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter;
}

class TitlesPage : public ChartPropPage {
public:
    TitlesPage(const StylePickers& pickers, QWidget* parent)
        : ChartPropPage(parent),
          title_(named(new QPlainTextEdit(this), "TitleText")),
          titleFont_(named(new FontButton(pickers, this), "TitleFont")),
          titleAlignment_(alignmentBox("TitleAlignment", this)),
          footer_(named(new QPlainTextEdit(this), "FooterText")),
          footerFont_(named(new FontButton(pickers, this), "FooterFont")),
          footerAlignment_(alignmentBox("FooterAlignment", this)) {
        auto* box = new QVBoxLayout(this);
        const auto group = [&](const QString& caption, QPlainTextEdit* text, FontButton* font,
                               QComboBox* alignment) {
            text->setTabChangesFocus(true);
            text->setFixedHeight(text->fontMetrics().lineSpacing() * 4);
            addFormGroup(box, this, caption,
                         {{QStringLiteral("Tekst"), text},
                          {QStringLiteral("Czcionka"), font},
                          {QStringLiteral("Położenie"), alignment}});
        };
        group(QStringLiteral("Tytuł wykresu"), title_, titleFont_, titleAlignment_);
        group(QStringLiteral("Stopka"), footer_, footerFont_, footerAlignment_);
        box->addStretch();
    }

    void load(const TfmGraph& w) override {
        title_->setPlainText(w.titleElement()->text());
        titleFont_->setChosenFont(w.titleElement()->font());
        titleAlignment_->setCurrentIndex(alignmentIndex(w.titleElement()->textFlags()));
        footer_->setPlainText(w.footerText());
        footerFont_->setChosenFont(w.footerElement()->font());
        footerAlignment_->setCurrentIndex(alignmentIndex(w.footerElement()->textFlags()));
    }

    void apply(TfmGraph& w) override {
        QCPTextElement* title = w.titleElement();
        title->setText(title_->toPlainText());
        title->setFont(titleFont_->chosenFont());
        title->setTextFlags(alignmentFlags(titleAlignment_->currentIndex()));
        // An empty footer takes no room.
        QCPTextElement* footer = w.footerElement();
        footer->setText(footer_->toPlainText());
        footer->setVisible(!footer_->toPlainText().isEmpty());
        footer->setFont(footerFont_->chosenFont());
        footer->setTextFlags(alignmentFlags(footerAlignment_->currentIndex()));
    }

private:
    QPlainTextEdit* title_;
    FontButton* titleFont_;
    QComboBox* titleAlignment_;
    QPlainTextEdit* footer_;
    FontButton* footerFont_;
    QComboBox* footerAlignment_;
};

class AxisTitlesPage : public ChartPropPage {
public:
    AxisTitlesPage(const StylePickers& pickers, QWidget* parent)
        : ChartPropPage(parent),
          bottom_(named(new QLineEdit(this), "BottomTitle")),
          left_(named(new QLineEdit(this), "LeftTitle")),
          right_(named(new QLineEdit(this), "RightTitle")),
          font_(named(new FontButton(pickers, this), "AxisTitleFont")) {
        auto* box = new QVBoxLayout(this);
        addFormGroup(box, this, QStringLiteral("Tytuły osi"),
                     {{QStringLiteral("Oś X"), bottom_},
                      {QStringLiteral("Oś Y"), left_},
                      {QStringLiteral("Oś dodatkowa (prawa)"), right_},
                      {QStringLiteral("Czcionka"), font_}});
        box->addStretch();
    }

    void load(const TfmGraph& w) override {
        bottom_->setText(w.axis(ChartAxis::Bottom)->label());
        left_->setText(w.axis(ChartAxis::Left)->label());
        right_->setText(w.axis(ChartAxis::Right)->label());
        // One font for all three, as templates keep it: the left axis'.
        font_->setChosenFont(w.axis(ChartAxis::Left)->labelFont());
    }

    void apply(TfmGraph& w) override {
        w.axis(ChartAxis::Bottom)->setLabel(bottom_->text());
        w.axis(ChartAxis::Left)->setLabel(left_->text());
        w.axis(ChartAxis::Right)->setLabel(right_->text());
        for (ChartAxis a : {ChartAxis::Left, ChartAxis::Right, ChartAxis::Bottom})
            w.axis(a)->setLabelFont(font_->chosenFont());
    }

private:
    QLineEdit* bottom_;
    QLineEdit* left_;
    QLineEdit* right_;
    FontButton* font_;
};

class ColoursPage : public ChartPropPage {
public:
    ColoursPage(const StylePickers& pickers, QWidget* parent)
        : ChartPropPage(parent),
          back_(named(new ColourButton(pickers, this), "BackColour")),
          start_(named(new ColourButton(pickers, this), "GradientStart")),
          end_(named(new ColourButton(pickers, this), "GradientEnd")),
          gradient_(named(new QCheckBox(QStringLiteral("Gradient widoczny"), this), "GradientVisible")),
          direction_(named(new QComboBox(this), "GradientDirection")),
          panel_(named(new ColourButton(pickers, this), "PanelColour")) {
        // In the order of the direction codes the chart window draws.
        direction_->addItems({QStringLiteral("Dół -> Góra"), QStringLiteral("Góra -> Dół"),
                              QStringLiteral("Prawo -> Lewo"), QStringLiteral("Lewo -> Prawo"),
                              QStringLiteral("Ze Środka"), QStringLiteral("Z Rogu")});
        auto* copy = named(new QPushButton(QStringLiteral("Kopiuj kolor"), this), "CopyColour");
        copy->setToolTip(QStringLiteral("Kolor tła wykresu jako kolor wypełnienia"));
        connect(copy, &QPushButton::clicked, this, [this] { panel_->setColour(back_->colour()); });

        auto* box = new QVBoxLayout(this);
        addFormGroup(box, this, QStringLiteral("Tło wykresu"), {{QStringLiteral("Kolor tła"), back_}});
        addFormGroup(box, this, QStringLiteral("Gradient"),
                     {{QString(), gradient_},
                      {QStringLiteral("Kolor początkowy"), start_},
                      {QStringLiteral("Kolor końcowy"), end_},
                      {QStringLiteral("Kierunek"), direction_}});
        addFormGroup(box, this, QStringLiteral("Wypełnienie jednolite"),
                     {{QStringLiteral("Kolor wypełnienia"), panel_}, {QString(), copy}});
        box->addStretch();
    }

    void load(const TfmGraph& w) override {
        back_->setColour(w.backColour());
        start_->setColour(w.gradientStart);
        end_->setColour(w.gradientEnd);
        gradient_->setChecked(w.gradientVisible);
        direction_->setCurrentIndex(std::clamp(w.gradientDirection, 0, 5));
        panel_->setColour(w.panelColour());
    }

    void apply(TfmGraph& w) override {
        w.setBackColour(back_->colour());
        w.gradientStart = start_->colour();
        w.gradientEnd = end_->colour();
        w.gradientVisible = gradient_->isChecked();
        w.gradientDirection = direction_->currentIndex();
        w.setPanelColour(panel_->colour());  // draws the background again
    }

private:
    ColourButton* back_;
    ColourButton* start_;
    ColourButton* end_;
    QCheckBox* gradient_;
    QComboBox* direction_;
    ColourButton* panel_;
};

class LegendPage : public ChartPropPage {
public:
    LegendPage(const StylePickers& pickers, QWidget* parent)
        : ChartPropPage(parent),
          visible_(named(new QCheckBox(QStringLiteral("Pokaż legendę"), this), "LegendVisible")),
          position_(named(new QComboBox(this), "LegendPosition")),
          colour_(named(new ColourButton(pickers, this), "LegendColour")),
          shadowColour_(named(new ColourButton(pickers, this), "ShadowColour")),
          shadowSize_(named(new QSpinBox(this), "ShadowSize")),
          top_(named(new QSpinBox(this), "LegendTop")),
          font_(named(new FontButton(pickers, this), "LegendFont")) {
        position_->addItems({QStringLiteral("Po lewej"), QStringLiteral("Po prawej"),
                             QStringLiteral("Na górze"), QStringLiteral("Na dole")});
        shadowSize_->setRange(0, 10);
        top_->setRange(0, 100);
        top_->setSuffix(QStringLiteral(" %"));
        auto* box = new QVBoxLayout(this);
        addFormGroup(box, this, QStringLiteral("Legenda"),
                     {{QString(), visible_},
                      {QStringLiteral("Położenie"), position_},
                      {QStringLiteral("Pozycja od góry"), top_},
                      {QStringLiteral("Kolor tła"), colour_},
                      {QStringLiteral("Kolor cienia"), shadowColour_},
                      {QStringLiteral("Wielkość cienia"), shadowSize_},
                      {QStringLiteral("Czcionka"), font_}});
        box->addStretch();
    }

    void load(const TfmGraph& w) override {
        const QCPLegend* legend = w.chart()->legend;
        visible_->setChecked(legend->visible());
        position_->setCurrentIndex(std::clamp(w.legendPosition, 0, 3));
        top_->setValue(static_cast<int>(w.legendTopPercent));
        colour_->setColour(fromQColor(legend->brush().color()));
        shadowColour_->setColour(w.legendShadowColour);
        shadowSize_->setValue(static_cast<int>(w.legendShadowSize));
        font_->setChosenFont(legend->font());
    }

    void apply(TfmGraph& w) override {
        QCPLegend* legend = w.chart()->legend;
        legend->setVisible(visible_->isChecked());
        legend->setBrush(toQColor(colour_->colour()));
        legend->setFont(font_->chosenFont());
        w.legendShadowColour = shadowColour_->colour();
        w.legendShadowSize = shadowSize_->value();
        // The top position takes effect when the legend is placed.
        w.legendTopPercent = top_->value();
        w.setLegendPosition(position_->currentIndex());
    }

private:
    QCheckBox* visible_;
    QComboBox* position_;
    ColourButton* colour_;
    ColourButton* shadowColour_;
    QSpinBox* shadowSize_;
    QSpinBox* top_;
    FontButton* font_;
};

}  // namespace

ChartPropPage* makeTitlesPage(const StylePickers& p, QWidget* parent) { return new TitlesPage(p, parent); }
ChartPropPage* makeAxisTitlesPage(const StylePickers& p, QWidget* parent) {
    return new AxisTitlesPage(p, parent);
}
ChartPropPage* makeColoursPage(const StylePickers& p, QWidget* parent) { return new ColoursPage(p, parent); }
ChartPropPage* makeLegendPage(const StylePickers& p, QWidget* parent) { return new LegendPage(p, parent); }

}  // namespace zorv

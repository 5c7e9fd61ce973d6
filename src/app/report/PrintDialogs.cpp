#include "report/PrintDialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace zorv {

namespace {

QDoubleSpinBox* centimetres(QWidget* parent, double maximum, double value) {
    auto* box = new QDoubleSpinBox(parent);
    box->setRange(0, maximum);
    box->setSingleStep(0.1);
    box->setDecimals(1);
    box->setSuffix(QStringLiteral(" cm"));
    box->setValue(value);
    return box;
}

QGroupBox* marginGroup(QWidget* parent, MarginBoxes& m) {
    auto* group = new QGroupBox(QStringLiteral("Marginesy"), parent);
    auto* form = new QFormLayout(group);
    m.left = centimetres(group, 10, 2.0);
    m.right = centimetres(group, 10, 2.0);
    m.top = centimetres(group, 10, 2.0);
    m.bottom = centimetres(group, 10, 2.0);
    form->addRow(QStringLiteral("Lewy"), m.left);
    form->addRow(QStringLiteral("Prawy"), m.right);
    form->addRow(QStringLiteral("Górny"), m.top);
    form->addRow(QStringLiteral("Dolny"), m.bottom);
    return group;
}

QDialogButtonBox* printButtons(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(dialog);
    buttons->addButton(QStringLiteral("Drukuj"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("Anuluj"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

template <std::size_t N>
int checkedOf(const std::array<QRadioButton*, N>& buttons) {
    for (std::size_t i = 0; i < N; ++i)
        if (buttons[i]->isChecked()) return int(i);
    return -1;
}

}  // namespace

PrintMargins MarginBoxes::margins() const {
    return {left->value(), right->value(), top->value(), bottom->value()};
}

PrintKindDialog::PrintKindDialog(QWidget* parent)
    : QDialog(parent),
      full_(new QRadioButton(QStringLiteral("Pełny raport (wykres i dane)"), this)),
      chartOnly_(new QRadioButton(QStringLiteral("Tylko wykres"), this)) {
    setObjectName(QStringLiteral("PrintKind"));
    setWindowTitle(QStringLiteral("Wybierz rodzaj raportu"));
    auto* group = new QGroupBox(QStringLiteral("Sposób drukowania"), this);
    auto* inner = new QVBoxLayout(group);
    inner->addWidget(full_);
    inner->addWidget(chartOnly_);
    full_->setChecked(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Anuluj"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
}

bool PrintKindDialog::fullReport() const { return full_->isChecked(); }

TfmReportPanel::TfmReportPanel(QWidget* parent)
    : QDialog(parent),
      ownPage_(new QCheckBox(QStringLiteral("Osobna strona"), this)),
      graph_(new QCheckBox(QStringLiteral("Wykres"), this)),
      specifySize_(new QCheckBox(QStringLiteral("Ustalone Rozmiary"), this)),
      width_(centimetres(this, 20, 16)),
      height_(centimetres(this, 26, 12)) {
    setObjectName(QStringLiteral("TfmReportPanel"));
    setWindowTitle(QStringLiteral("Raport"));
    const char* captions[kReportSections] = {"Tytuł główny", "Nagłówek wykresu", "Parametry", "Tabela danych",
                                             "Komentarz"};
    const char* pages[kReportSections] = {"Tytuł główny", "Nagłówek wykresu", "Parametry", "Tabela",
                                          "Komentarz"};
    auto* tabs = new QTabWidget(this);
    for (int i = 0; i < kReportSections; ++i) {
        boxes_[std::size_t(i)] = new QCheckBox(QString::fromUtf8(captions[i]), this);
        boxes_[std::size_t(i)]->setChecked(i != TableSection);
        auto* page = new QWidget(tabs);
        auto* pageLayout = new QVBoxLayout(page);
        auto* memo = new QPlainTextEdit(page);
        memo->setLineWrapMode(QPlainTextEdit::NoWrap);
        memos_[std::size_t(i)] = memo;
        auto* font = new QPushButton(QStringLiteral("Czcionka"), page);
        connect(font, &QPushButton::clicked, this, [memo, this] {
            bool ok = false;
            const QFont chosen = QFontDialog::getFont(&ok, memo->font(), this);
            if (ok) memo->setFont(chosen);
        });
        pageLayout->addWidget(memo);
        pageLayout->addWidget(font, 0, Qt::AlignLeft);
        tabs->addTab(page, QString::fromUtf8(pages[i]));
    }
    graph_->setChecked(true);
    specifySize_->setChecked(true);
    const char* places[3] = {"Do lewej", "Do prawej", "Środek"};
    auto* placeGroup = new QGroupBox(QStringLiteral("Położenie wykresu"), this);
    auto* placeLayout = new QHBoxLayout(placeGroup);
    for (std::size_t i = 0; i < 3; ++i) {
        position_[i] = new QRadioButton(QString::fromUtf8(places[i]), placeGroup);
        placeLayout->addWidget(position_[i]);
    }
    connect(specifySize_, &QCheckBox::toggled, width_, &QWidget::setEnabled);
    connect(specifySize_, &QCheckBox::toggled, height_, &QWidget::setEnabled);

    auto* sectionsGroup = new QGroupBox(QStringLiteral("Drukuj"), this);
    auto* sectionsLayout = new QFormLayout(sectionsGroup);
    sectionsLayout->addRow(boxes_[TitleSection]);
    sectionsLayout->addRow(boxes_[HeaderSection]);
    sectionsLayout->addRow(boxes_[ParametersSection], ownPage_);
    sectionsLayout->addRow(graph_, specifySize_);
    sectionsLayout->addRow(QStringLiteral("Szerokość"), width_);
    sectionsLayout->addRow(QStringLiteral("Wysokość"), height_);
    sectionsLayout->addRow(boxes_[TableSection]);
    sectionsLayout->addRow(boxes_[FooterSection]);
    auto* left = new QVBoxLayout;
    left->addWidget(sectionsGroup);
    left->addWidget(placeGroup);
    left->addWidget(marginGroup(this, margins_));
    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addWidget(tabs, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(printButtons(this));
}

void TfmReportPanel::prepare(const std::array<PrintSectionText, kReportSections>& sections, double widthCm,
                             double heightCm) {
    for (int i = 0; i < kReportSections; ++i) {
        memos_[std::size_t(i)]->setPlainText(sections[std::size_t(i)].lines.join(QLatin1Char('\n')));
        memos_[std::size_t(i)]->setFont(sections[std::size_t(i)].font);
    }
    width_->setValue(widthCm);
    height_->setValue(heightCm);
}

std::array<PrintSectionText, kReportSections> TfmReportPanel::sections() const {
    std::array<PrintSectionText, kReportSections> out;
    for (int i = 0; i < kReportSections; ++i) {
        const QString text = memos_[std::size_t(i)]->toPlainText();
        out[std::size_t(i)].lines = text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
        out[std::size_t(i)].font = memos_[std::size_t(i)]->font();
        out[std::size_t(i)].visible = boxes_[std::size_t(i)]->isChecked();
    }
    return out;
}

ReportPrintOptions TfmReportPanel::options() const {
    ReportPrintOptions o;
    o.specifySize = specifySize_->isChecked();
    const int place = checkedOf(position_);
    o.position = place == 1 ? ChartHPos::Right : place == 2 ? ChartHPos::Centre : ChartHPos::Left;
    o.widthCm = width_->value();
    o.heightCm = height_->value();
    o.margins = margins_.margins();
    return o;
}

bool TfmReportPanel::parametersOnOwnPage() const {
    return boxes_[ParametersSection]->isChecked() && ownPage_->isChecked();
}

bool TfmReportPanel::tableDocument() const { return boxes_[TableSection]->isChecked(); }

TfmPrintGraph::TfmPrintGraph(QWidget* parent)
    : QDialog(parent),
      autoSize_(new QCheckBox(QStringLiteral("Maksymalizuj obszar wykresu"), this)),
      width_(centimetres(this, 20, 15)),
      height_(centimetres(this, 26, 12)) {
    setObjectName(QStringLiteral("TfmPrintGraph"));
    setWindowTitle(QStringLiteral("Drukuj wykres"));
    autoSize_->setChecked(true);
    const char* hs[3] = {"Do lewej", "Do prawej", "Wyśrodkowany"};
    const char* vs[3] = {"Do góry", "Do dołu", "Wyśrodkowane"};
    auto* hGroup = new QGroupBox(QStringLiteral("W poziomie"), this);
    auto* vGroup = new QGroupBox(QStringLiteral("W pionie"), this);
    auto* hLayout = new QVBoxLayout(hGroup);
    auto* vLayout = new QVBoxLayout(vGroup);
    for (std::size_t i = 0; i < 3; ++i) {
        h_[i] = new QRadioButton(QString::fromUtf8(hs[i]), hGroup);
        v_[i] = new QRadioButton(QString::fromUtf8(vs[i]), vGroup);
        hLayout->addWidget(h_[i]);
        vLayout->addWidget(v_[i]);
    }
    h_[0]->setChecked(true);
    v_[0]->setChecked(true);
    auto* size = new QFormLayout;
    size->addRow(QStringLiteral("Szerokość"), width_);
    size->addRow(QStringLiteral("Wysokość"), height_);
    const auto enable = [hGroup, vGroup, this](bool automatic) {
        for (QWidget* w : {static_cast<QWidget*>(hGroup), static_cast<QWidget*>(vGroup),
                           static_cast<QWidget*>(width_), static_cast<QWidget*>(height_)})
            w->setEnabled(!automatic);
    };
    connect(autoSize_, &QCheckBox::toggled, this, enable);
    enable(true);
    auto* placement = new QHBoxLayout;
    placement->addWidget(hGroup);
    placement->addWidget(vGroup);
    auto* right = new QVBoxLayout;
    right->addWidget(autoSize_);
    right->addLayout(placement);
    right->addLayout(size);
    auto* top = new QHBoxLayout;
    top->addWidget(marginGroup(this, margins_));
    top->addLayout(right);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(printButtons(this));
}

bool TfmPrintGraph::autoSize() const { return autoSize_->isChecked(); }
ChartHPos TfmPrintGraph::hAlign() const { return ChartHPos(std::max(0, checkedOf(h_))); }
ChartVPos TfmPrintGraph::vAlign() const { return ChartVPos(std::max(0, checkedOf(v_))); }
double TfmPrintGraph::widthCm() const { return width_->value(); }
double TfmPrintGraph::heightCm() const { return height_->value(); }

}  // namespace zorv

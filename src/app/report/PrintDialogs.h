#pragma once
// The print dialogs of a chart window: the kind of print ("Wybierz rodzaj
// raportu"), the report composer (TfmReportPanel, "Raport": which sections,
// their texts and fonts, the chart's size and place, the margins) and the
// chart page (TfmPrintGraph, "Drukuj wykres": margins, size and alignment).

#include <QDialog>
#include <array>

#include "report/ReportPrinting.h"

class QCheckBox;
class QDoubleSpinBox;
class QPlainTextEdit;
class QRadioButton;

namespace zorv {

// "Pełny raport (wykres i dane)" (the default) or "Tylko wykres".
class PrintKindDialog : public QDialog {
    Q_OBJECT
public:
    explicit PrintKindDialog(QWidget* parent = nullptr);
    bool fullReport() const;
    QRadioButton* chartOnlyButton() const { return chartOnly_; }

private:
    QRadioButton* full_;
    QRadioButton* chartOnly_;
};

struct MarginBoxes {
    QDoubleSpinBox *left, *right, *top, *bottom;
    PrintMargins margins() const;
};

class TfmReportPanel : public QDialog {
    Q_OBJECT
public:
    explicit TfmReportPanel(QWidget* parent = nullptr);
    // The sections' texts and fonts into the memos, the chart size preset.
    void prepare(const std::array<PrintSectionText, kReportSections>& sections, double widthCm,
                 double heightCm);
    // The sections as the dialog leaves them: memo texts, fonts, visibility.
    std::array<PrintSectionText, kReportSections> sections() const;
    ReportPrintOptions options() const;
    bool parametersOnOwnPage() const;
    bool tableDocument() const;

    QCheckBox* sectionBox(int section) const { return boxes_[std::size_t(section)]; }
    QCheckBox* ownPageBox() const { return ownPage_; }
    QCheckBox* specifySizeBox() const { return specifySize_; }
    QPlainTextEdit* memo(int section) const { return memos_[std::size_t(section)]; }
    QDoubleSpinBox* widthBox() const { return width_; }
    QDoubleSpinBox* heightBox() const { return height_; }

private:
    std::array<QCheckBox*, kReportSections> boxes_{};
    std::array<QPlainTextEdit*, kReportSections> memos_{};
    QCheckBox* ownPage_;
    QCheckBox* graph_;
    QCheckBox* specifySize_;
    std::array<QRadioButton*, 3> position_{};
    QDoubleSpinBox* width_;
    QDoubleSpinBox* height_;
    MarginBoxes margins_{};
};

class TfmPrintGraph : public QDialog {
    Q_OBJECT
public:
    explicit TfmPrintGraph(QWidget* parent = nullptr);
    PrintMargins margins() const { return margins_.margins(); }
    bool autoSize() const;
    ChartHPos hAlign() const;
    ChartVPos vAlign() const;
    double widthCm() const;
    double heightCm() const;
    QCheckBox* autoSizeBox() const { return autoSize_; }

private:
    MarginBoxes margins_{};
    QCheckBox* autoSize_;
    std::array<QRadioButton*, 3> h_{};
    std::array<QRadioButton*, 3> v_{};
    QDoubleSpinBox* width_;
    QDoubleSpinBox* height_;
};

}  // namespace zorv

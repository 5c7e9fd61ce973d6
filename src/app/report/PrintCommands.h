#pragma once
// "Drukuj" and "Właściwości drukowania": a text window printed as one
// document titled by its caption; a chart window as a full report composed
// in TfmReportPanel (with the parameters and the data table as documents of
// their own when asked) or as the chart alone placed by TfmPrintGraph.

#include <QObject>
#include <QString>
#include <memory>
#include <vector>

class QPrinter;

namespace zorv {

class TfmGraph;
class TfmPrintGraph;
class TfmReportPanel;
class TfmRichText;
class ShellInterface;

class PrintCommands : public QObject {
    Q_OBJECT
public:
    explicit PrintCommands(ShellInterface& shell);
    ~PrintCommands() override;
    void bind();

    void print();
    void pageSetup();
    bool printText(TfmRichText& window);
    // The kind question, the colour warning, then the report or the chart.
    bool printChart(TfmGraph& chart);
    bool printReport(TfmGraph& chart);
    bool printChartOnly(TfmGraph& chart);

    TfmReportPanel& reportPanel();
    TfmPrintGraph& chartDialog();
    QPrinter& printer() { return *printer_; }

private:
    ShellInterface& shell_;
    std::unique_ptr<QPrinter> printer_;
    TfmReportPanel* panel_ = nullptr;
    TfmPrintGraph* chartDialog_ = nullptr;
};

// The name of a separate document printed to a PDF file: "raport.pdf" gives
// "raport-tabela.pdf".
QString separateDocumentFile(const QString& pdf, const QString& suffix);

// The documents a report print wrote to PDF, each under its caption.
struct PrintedFile {
    QString caption, path;
};
using PrintedFiles = std::vector<PrintedFile>;
// "Zapisano pliki:" and a line "caption: path" for each.
QString printedFilesMessage(const PrintedFiles& files);

}  // namespace zorv

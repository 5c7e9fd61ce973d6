#include "chart/TemplateCommands.h"

#include <QFileInfo>

#include "charts/AnalysisChart.h"
#include "charts/ChartTemplateQt.h"
#include "services/UserDialogs.h"

namespace zorv {

namespace {

const QString kTemplateFilter = QStringLiteral("Szablon wykresu (*.tpt)|*.tpt");

}  // namespace

void applyDefaultTemplate(AnalysisChart& w, const std::string& fileName, UserDialogs& dialogs) {
    if (fileName.empty()) return;
    const ChartTemplateLoad load = loadChartTemplate(fileName);
    if (!load.chartTemplate) {
        showProblem(dialogs, QString::fromStdString(templateUnreadableMessage(fileName)));
        return;
    }
    applyTemplate(w, *load.chartTemplate);
}

void saveTemplateCommand(AnalysisChart& w, UserDialogs& dialogs, const QString& workDir) {
    const QString name = dialogs.saveFile(
        {QStringLiteral("Zapisz szablon wykresu"), workDir, kTemplateFilter, QStringLiteral("tpt")});
    if (name.isEmpty()) return;
    const int error = saveChartTemplate(withDefaultExtension(name, QStringLiteral("tpt")).toStdString(),
                                        captureTemplate(w));
    if (error != 0) showProblem(dialogs, QString::fromStdString(templateSaveErrorMessage(error)));
}

void loadTemplateCommand(AnalysisChart& w, UserDialogs& dialogs, const QString& databaseDir) {
    const QString name = dialogs.openFile(
        {QStringLiteral("Odczytaj szablon wykresu"), databaseDir, kTemplateFilter, QStringLiteral("tpt")});
    if (name.isEmpty()) return;
    const ChartTemplateLoad load = loadChartTemplate(name.toStdString());
    if (!load.chartTemplate) {
        showProblem(dialogs, QString::fromStdString(templateReadErrorMessage(load.error)));
        return;
    }
    applyTemplate(w, *load.chartTemplate);
}

}  // namespace zorv

#include "BatchPicture.h"

#include <QFileInfo>
#include <cstdio>
#include <cstring>

#include "BatchError.h"
#include "charts/AnalysisCharts.h"
#include "charts/ChartTemplateQt.h"
#include "text/AtomicFile.h"

namespace zorv {

bool pictureRequested(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (std::strcmp(a, "--") == 0) return false;
        for (const char* form : {"--picture", "-picture"}) {
            const std::size_t n = std::strlen(form);
            if (std::strncmp(a, form, n) == 0 && (a[n] == '\0' || a[n] == '=')) return true;
        }
    }
    return false;
}

std::optional<PictureType> pictureOption(const QCommandLineParser& p) {
    if (!p.isSet(QStringLiteral("picture"))) return std::nullopt;
    const QString path = p.value(QStringLiteral("picture"));
    const auto type = pictureTypeOf(path);
    if (!type)
        throw BatchError("Nieznany typ pliku rysunku: " + path.toStdString() +
                         " (.png, .svg, .pdf, .bmp, .jpg, .emf, .wmf)");
    return type;
}

QString pictureFileName(const QString& path, int index) {
    if (index == 0) return path;
    const QFileInfo info(path);
    const QString suffix = QLatin1Char('.') + info.suffix();
    const QString stem = path.left(path.size() - suffix.size());
    return stem + QLatin1Char('-') + QString::number(index + 1) + suffix;
}

std::optional<ChartTemplate> pictureTemplate(const QCommandLineParser& p, const Preferences& prefs) {
    if (p.isSet(QStringLiteral("template"))) {
        const std::string path = p.value(QStringLiteral("template")).toStdString();
        const ChartTemplateLoad load = loadChartTemplate(path);
        if (!load.chartTemplate) throw BatchError(templateReadErrorMessage(load.error) + " (" + path + ")");
        return load.chartTemplate;
    }
    if (prefs.TemplateFileName.empty()) return std::nullopt;
    const ChartTemplateLoad load = loadChartTemplate(prefs.TemplateFileName);
    if (!load.chartTemplate)
        std::fprintf(stderr, "%s\n", templateUnreadableMessage(prefs.TemplateFileName).c_str());
    return load.chartTemplate;
}

void writePictures(const QString& path, PictureType type, std::shared_ptr<Database> analysis,
                   const AnalysisEntry& entry, const AnalysisRequest& request,
                   const AnalysisSettings& settings, const Preferences& prefs,
                   const std::string& filterDescription, const ChartTemplate* style) {
    const auto charts = buildAnalysisCharts(std::move(analysis), entry, request, settings,
                                            QString::fromStdString(filterDescription),
                                            QSize(prefs.GraphWidth, prefs.GraphHeight));
    if (charts.empty()) throw BatchError("Analiza nie ma wykresu do zapisania w pliku " + path.toStdString());
    for (std::size_t i = 0; i < charts.size(); ++i) {
        if (style) applyTemplate(*charts[i], *style);
        try {
            writeChartPicture(*charts[i]->chart(), pictureFileName(path, static_cast<int>(i)), type,
                              prefs.JPEGQuality);
        } catch (const FileWriteError& e) {
            throw BatchError(e.what());
        }
    }
}

}  // namespace zorv

#pragma once
// --picture FILE: the analysis' chart drawn offscreen, as the desktop's
// chart window draws it, to a picture whose type the extension decides.

#include <QCommandLineParser>
#include <memory>
#include <optional>

#include "analysis/Database.h"
#include "catalogue/Preferences.h"
#include "charts/ChartPicture.h"
#include "interchange/ChartTemplate.h"
#include "registry/AnalysisRegistry.h"

namespace zorv {

// Whether --picture is among the raw arguments: the program then needs a
// GUI application (on the offscreen platform unless one is chosen).
bool pictureRequested(int argc, char** argv);

// The picture type of --picture; none without the option; BatchError for
// an extension that names no picture type.
std::optional<PictureType> pictureOption(const QCommandLineParser& p);

// The file of chart `index` (from 0) of a run that draws several: the
// first takes the name given, the next ones "-2", "-3", ... before the
// extension ("wykres.png", "wykres-2.png").
QString pictureFileName(const QString& path, int index);

// The template of the pictures: --template FILE (BatchError when it cannot
// be read), else the default template of the settings as the desktop
// program applies it to a new chart window (a warning when it cannot be
// read), else none.
std::optional<ChartTemplate> pictureTemplate(const QCommandLineParser& p, const Preferences& prefs);

// Draws every chart of the analysis to its file, in the template's style
// when one is given.
void writePictures(const QString& path, PictureType type, std::shared_ptr<Database> analysis,
                   const AnalysisEntry& entry, const AnalysisRequest& request,
                   const AnalysisSettings& settings, const Preferences& prefs,
                   const std::string& filterDescription, const ChartTemplate* style = nullptr);

}  // namespace zorv

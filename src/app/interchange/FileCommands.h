#pragma once
// The file commands of the main window, each acting on the active child
// window by its kind: "Zapisz"/"Zapisz jako..." (a table copy, or the text
// of a text window), "Eksportuj plik" (delimited text, a chart picture, or
// RTF), "Podgląd bazy danych" (a table file in a preview window), and the
// chart's result as a text window or a table window. Each command asks for
// its file, then hands the work to a function that tests call directly.

#include <QObject>
#include <QString>
#include <string>

#include "report/ReportLines.h"
#include "services/SaveChoices.h"

class QMdiSubWindow;
class QWidget;

namespace zorv {

class Table;
class TfmChildBase;
class TfmDatabase;
class TfmGraph;
class TfmImport;
class TfmRichText;
class ShellInterface;

class FileCommands : public QObject {
    Q_OBJECT
public:
    explicit FileCommands(ShellInterface& shell);
    void bind();

    // ---- the commands (dialog, then the work)
    void save();
    void exportFile();
    void openPreview();
    // "Raport tekstowy" (tag 1) or "Tabela tekstowa" (any other tag) of the
    // active chart window; null when no chart window is active.
    TfmRichText* viewReport(int tag);
    // The active chart's result table in a table window; null when none.
    TfmDatabase* viewTable();

    // ---- the work after the dialog; failures are shown, false returned
    // A copy of the records the table presents: dBase level 7 or Paradox by
    // the extension, or dBase III (type 3 with a ".dbf" name).
    bool saveTable(const Table& table, const QString& path, int type);
    // Delimited text, the separator by the type (1 TAB, 2 space, 3 ";"), or
    // the comma CSV, QuakeML or OpenQuake CSV (types 4, 5, 6); the latter
    // two take the longitude and latitude from X/Y through the CRS of the
    // open catalogue's .crs file.
    bool exportTable(Table& table, const QString& path, int type);
    // The chart as a picture of the type (1 BMP ... 7 PDF of the filter).
    bool exportPicture(TfmGraph& chart, const QString& path, int type);
    bool saveText(const TfmRichText& window, const QString& path);
    bool exportRtf(const TfmRichText& window, const QString& path);
    // A preview window on the file; null (after the message) when it
    // cannot be opened, and without a word for an extension other than
    // ".dbf" or ".db".
    TfmChildBase* openPreview(const QString& path);
    // "Importuj plik": the file, the import dialog, the new table's name.
    void importText();
    // The dialog on the file, then the import of what it was given; the
    // table written, or nothing (after the message).
    bool importFile(const QString& path);
    // The new table from the dialog's mapping (or, for the forms read by
    // column names, the catalogue the dialog built, built here when it has
    // not), with its .crs file when co-ordinates were projected; the
    // message is shown either way.
    bool importInto(TfmImport& dialog, const QString& path, int type);
    TfmImport& importDialog();

    // A text window with the lines, captioned.
    TfmRichText* openText(const ReportLines& lines, const QString& caption);

private:
    QMdiSubWindow* addWindow(QWidget* window, const QString& caption);
    TfmGraph* activeChart() const;
    void exportFailed(const std::string& cause);

    ShellInterface& shell_;
    SaveChoices saveChoices_;
    TfmImport* import_ = nullptr;
};

// "Operacja eksportowania pliku nie powiodła się! (cause)".
QString exportFailedMessage(const std::string& cause);
QString saveFailedMessage(const std::string& cause);

}  // namespace zorv

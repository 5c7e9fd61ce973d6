#include "interchange/FileCommands.h"

#include <QFileInfo>
#include <QMdiSubWindow>
#include <QStyle>

#include "analysis/DBBase.h"
#include "base/HazardError.h"
#include "chart/TfmGraph.h"
#include "charts/ChartPicture.h"
#include "dbase/DbaseFile.h"
#include "files/TableFiles.h"
#include "interchange/CatalogueWriters.h"
#include "interchange/ColumnRoles.h"
#include "interchange/CrsSidecar.h"
#include "interchange/FileTypes.h"
#include "interchange/Projection.h"
#include "interchange/TableWindows.h"
#include "interchange/TextImport.h"
#include "interchange/TfmImport.h"
#include "report/ReportWriter.h"
#include "report/TfmRichText.h"
#include "services/CatalogueSession.h"
#include "services/ChildWindow.h"
#include "services/ProgressWindow.h"
#include "services/ShellInterface.h"
#include "services/UserDialogs.h"
#include "services/UserLocale.h"

namespace zorv {

namespace {

const QString kPictureExported = QStringLiteral("Rysunek został pomyślnie wyeksportowany.");
const QString kPreviewFailed = QStringLiteral(
    "Wystąpił problem związany z uruchomieniem bazy danych. Prawdopodobnie zły format danych...");

std::string text(const QString& s) { return s.toStdString(); }

// The name with the extension of the chosen type when it has none.
QString completed(const QString& path, const QString& types, int type) {
    return withDefaultExtension(path, extensionOfType(types, type));
}

}  // namespace

QString exportFailedMessage(const std::string& cause) {
    return QStringLiteral("Operacja eksportowania pliku nie powiodła się! (") +
           QString::fromStdString(cause) + QLatin1Char(')');
}

QString saveFailedMessage(const std::string& cause) {
    return QStringLiteral("Operacja zapisywania pliku nie powiodła się! (") + QString::fromStdString(cause) +
           QLatin1Char(')');
}

FileCommands::FileCommands(ShellInterface& shell) : QObject(shell.mainWindow()), shell_(shell) {}

void FileCommands::bind() {
    shell_.bindCommand(QStringLiteral("mSave"), [this](int) { save(); });
    shell_.bindCommand(QStringLiteral("mSaveAs"), [this](int) { save(); });
    shell_.bindCommand(QStringLiteral("mExport"), [this](int) { exportFile(); });
    shell_.bindCommand(QStringLiteral("mOpen"), [this](int) { openPreview(); });
    shell_.bindCommand(QStringLiteral("mImport"), [this](int) { importText(); });
    shell_.bindCommand(QStringLiteral("mViewTable"), [this](int) { viewTable(); });
    shell_.bindCommand(QStringLiteral("mViewReport"), [this](int tag) { viewReport(tag); });
    shell_.bindCommand(QStringLiteral("mViewTextTable"), [this](int tag) { viewReport(tag); });
}

// ------------------------------------------------------------------ commands

void FileCommands::save() {
    QMdiSubWindow* active = shell_.activeChild();
    const QString workDir = QString::fromStdString(shell_.preferences().WorkingDirectory);
    UserDialogs& dialogs = shell_.dialogs();
    switch (childKindOf(active)) {
        case ChildKind::Catalogue: {
            if (!shell_.session().basePropertiesSet() || !shell_.session().table()) return;
            const SaveChoice c = saveChoices_.ask(dialogs, {QStringLiteral("Zapisz bazę danych"), workDir,
                                                            kTableSaveTypes, QStringLiteral("dbf")});
            if (c.name.isEmpty() || !saveTable(*shell_.session().table(), c.name, c.type)) return;
            // The copy keeps the co-ordinate system of the catalogue's X/Y.
            try {
                copyCrsSidecar(shell_.session().filePath(), text(completed(c.name, kTableSaveTypes, c.type)));
            } catch (const std::exception& e) {
                showProblem(dialogs, saveFailedMessage(e.what()));
            }
            return;
        }
        case ChildKind::ResultTable: {
            const SaveChoice c = saveChoices_.ask(dialogs, {QStringLiteral("Zapisz tabelę wykresu"), workDir,
                                                            kTableSaveTypes, QStringLiteral("dbf")});
            if (!c.name.isEmpty())
                saveTable(static_cast<TableWindow*>(active->widget())->table(), c.name, c.type);
            return;
        }
        case ChildKind::Text: {
            const SaveChoice c = saveChoices_.ask(dialogs, {QStringLiteral("Zapisz raport tekstowy"), workDir,
                                                            kReportTextTypes, QStringLiteral("txt")});
            if (c.name.isEmpty()) return;
            auto& window = *static_cast<TfmRichText*>(active->widget());
            if (c.type == 2)
                exportRtf(window, c.name);
            else
                saveText(window, c.name);
            return;
        }
        default: return;
    }
}

void FileCommands::exportFile() {
    QMdiSubWindow* active = shell_.activeChild();
    const QString workDir = QString::fromStdString(shell_.preferences().WorkingDirectory);
    UserDialogs& dialogs = shell_.dialogs();
    const auto exportTableOf = [&](Table* table) {
        if (!table) return;
        const SaveChoice c = saveChoices_.ask(dialogs, {QStringLiteral("Eksportuj bazę danych"), workDir,
                                                        kTableExportTypes, QStringLiteral("txt")});
        if (!c.name.isEmpty()) exportTable(*table, c.name, c.type);
    };
    switch (childKindOf(active)) {
        case ChildKind::Catalogue:
            if (shell_.session().basePropertiesSet()) exportTableOf(shell_.session().table());
            return;
        case ChildKind::PreviewTable:
        case ChildKind::ResultTable:
            exportTableOf(&static_cast<TableWindow*>(active->widget())->table());
            return;
        case ChildKind::Chart: {
            const SaveChoice c = saveChoices_.ask(
                dialogs, {QStringLiteral("Eksportuj wykres"), workDir, kPictureTypes, QStringLiteral("bmp")});
            if (!c.name.isEmpty()) exportPicture(*static_cast<TfmGraph*>(active->widget()), c.name, c.type);
            return;
        }
        case ChildKind::Text: {
            const SaveChoice c = saveChoices_.ask(dialogs, {QStringLiteral("Eksportuj raport tekstowy"),
                                                            workDir, kReportRtfTypes, QStringLiteral("rtf")});
            if (!c.name.isEmpty()) exportRtf(*static_cast<TfmRichText*>(active->widget()), c.name);
            return;
        }
        default: return;
    }
}

void FileCommands::openPreview() {
    const QString path =
        shell_.dialogs().openFile({QStringLiteral("Podgląd pliku bazy danych"),
                                   QString::fromStdString(shell_.preferences().DatabaseDirectory),
                                   kTableFileTypes, QStringLiteral("dbf")});
    if (!path.isEmpty()) openPreview(path);
}

TfmRichText* FileCommands::viewReport(int tag) {
    TfmGraph* chart = activeChart();
    if (!chart) return nullptr;
    ReportLines lines;
    {
        ProcessNoticeScope busy(shell_.processNotice(), QStringLiteral("Tworzenie raportu..."));
        if (tag == 1)
            chart->analysis().WriteReport(lines);
        else
            chart->analysis().WriteTableText(lines);
    }
    return openText(lines, chart->windowTitle());
}

TfmDatabase* FileCommands::viewTable() {
    TfmGraph* chart = activeChart();
    if (!chart || !chart->analysis().GetTable()) return nullptr;
    TfmDatabase* window = nullptr;
    {
        ProcessNoticeScope busy(shell_.processNotice(),
                                QStringLiteral("Kopiowanie bazy danych do pliku tymczasowego"));
        window = new TfmDatabase(*chart->analysis().GetTable(), userLocale());
    }
    QMdiSubWindow* frame = addWindow(window, chart->windowTitle());
    frame->setWindowIcon(window->style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    return window;
}

TfmGraph* FileCommands::activeChart() const {
    QMdiSubWindow* w = shell_.activeChild();
    return w ? qobject_cast<TfmGraph*>(w->widget()) : nullptr;
}

// ------------------------------------------------------------------ the work

bool FileCommands::saveTable(const Table& table, const QString& path, int type) {
    const QString name = completed(path, kTableSaveTypes, type);
    // Renaming a copy over the working catalogue would cut the open table
    // off its file: later edits and its lock would go to a file no longer
    // there.
    const QString working = QString::fromStdString(shell_.session().filePath());
    if (!working.isEmpty() && QFileInfo(name).exists() &&
        QFileInfo(name).canonicalFilePath() == QFileInfo(working).canonicalFilePath()) {
        showProblem(shell_.dialogs(),
                    saveFailedMessage("to jest plik otwartego katalogu; wybierz inną nazwę"));
        return false;
    }
    shell_.refreshAnalysisSettings();
    ProcessNoticeScope busy(shell_.processNotice(), QStringLiteral("Kopiowanie danych..."));
    try {
        if (type == DBase3Type && tableFormatOf(text(name)) == TableFormat::DBase) {
            writeDbase(table, text(name), DbaseLevel::DBase3);
            return true;
        }
        // The whole-table analysis only reads the table it is built on.
        DBBase base(shell_.analysisSettings(), const_cast<Table*>(&table));
        std::string message;
        if (base.CopyToFile(text(name), &message)) return true;
        showProblem(shell_.dialogs(), saveFailedMessage(message));
    } catch (const std::exception& e) {
        showProblem(shell_.dialogs(), saveFailedMessage(e.what()));
    }
    return false;
}

bool FileCommands::exportTable(Table& table, const QString& path, int type) {
    const QString name = completed(path, kTableExportTypes, type);
    if (type >= CommaCsvType && type <= OpenQuakeType) {
        const ExportForm form = type == CommaCsvType  ? ExportForm::Csv
                                : type == QuakeMlType ? ExportForm::QuakeMl
                                                      : ExportForm::OpenQuake;
        const std::string catalogue = shell_.session().filePath();
        const auto crs = catalogue.empty() ? std::nullopt : readCrsSidecar(catalogue);
        if (form != ExportForm::Csv && !crs) {
            exportFailed(
                "długość i szerokość geograficzną daje tylko katalog o znanym układzie współrzędnych X/Y: "
                "zaimportowany z długością i szerokością albo z plikiem " +
                text(QFileInfo(
                         QString::fromStdString(crsSidecarPath(catalogue.empty() ? "katalog" : catalogue)))
                         .fileName()) +
                " obok, z kodem układu w pierwszym wierszu (np. EPSG:2180)");
            return false;
        }
        ProcessNoticeScope busy(shell_.processNotice(), QStringLiteral("Konwertowanie danych..."));
        try {
            std::optional<Projection> projection;
            if (crs) projection.emplace(crs->epsg);
            writeCatalogue(table, form, catalogueFieldNames(shell_.preferences()),
                           projection ? &*projection : nullptr, text(name));
            return true;
        } catch (const std::exception& e) {
            exportFailed(e.what());
        }
        return false;
    }
    shell_.refreshAnalysisSettings();
    ProcessNoticeScope busy(shell_.processNotice(), QStringLiteral("Konwertowanie danych..."));
    try {
        DBBase base(shell_.analysisSettings(), &table);
        return base.SaveTableAsText(text(name), separatorOfTextType(type));
    } catch (const std::exception& e) {
        exportFailed(e.what());
    }
    return false;
}

bool FileCommands::exportPicture(TfmGraph& chart, const QString& path, int type) {
    if (type < 1 || type > int(PictureType::Pdf) + 1) type = 1;
    const QString name = completed(path, kPictureTypes, type);
    try {
        writeChartPicture(*chart.chart(), name, PictureType(type - 1), shell_.preferences().JPEGQuality);
    } catch (const std::exception& e) {
        exportFailed(e.what());
        return false;
    }
    shell_.dialogs().information(kInfoTitle, kPictureExported);
    return true;
}

bool FileCommands::saveText(const TfmRichText& window, const QString& path) {
    try {
        SaveReportText(window.lines(), text(path));
        return true;
    } catch (const std::exception& e) {
        showProblem(shell_.dialogs(), saveFailedMessage(e.what()));
    }
    return false;
}

bool FileCommands::exportRtf(const TfmRichText& window, const QString& path) {
    try {
        ExportReportRtf(window.lines(), text(path));
        return true;
    } catch (const std::exception& e) {
        exportFailed(e.what());
    }
    return false;
}

TfmChildBase* FileCommands::openPreview(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QLatin1String("dbf") && suffix != QLatin1String("db")) return nullptr;
    std::unique_ptr<Table> table;
    try {
        table = openTableFile(text(path), false);
    } catch (const std::exception&) {
        showProblem(shell_.dialogs(), kPreviewFailed);
        return nullptr;
    }
    auto* window = new TfmChildBase(std::move(table), userLocale());
    QMdiSubWindow* frame = addWindow(window, QFileInfo(path).fileName());
    frame->setWindowIcon(window->style()->standardIcon(QStyle::SP_FileDialogContentsView));
    return window;
}

TfmImport& FileCommands::importDialog() {
    if (!import_) {
        import_ = new TfmImport(shell_.dialogs(), shell_.mainWindow());
        connect(import_, &TfmImport::helpRequested, this,
                [this](const QString& page) { shell_.showHelpPage(page); });
    }
    return *import_;
}

void FileCommands::importText() {
    const QString path =
        shell_.dialogs().openFile({QStringLiteral("Importuj plik danych"),
                                   QString::fromStdString(shell_.preferences().DatabaseDirectory),
                                   kImportFileTypes, QStringLiteral("txt")});
    if (!path.isEmpty()) importFile(path);
}

bool FileCommands::importFile(const QString& path) {
    TfmImport& dialog = importDialog();
    if (!dialog.load(path, shell_.preferences())) return false;
    if (shell_.execDialog(dialog) != QDialog::Accepted) {
        dialog.releaseCatalogue();
        return false;
    }
    if (dialog.form() == ImportFileForm::ManualText) {
        try {
            checkImportRoles(dialog.columns(), dialog.roles(), dialog.options());
        } catch (const ImportError& e) {
            showProblem(shell_.dialogs(), QString::fromStdString(e.what()));
            return false;
        }
    }
    const SaveChoice c =
        saveChoices_.ask(shell_.dialogs(), {QStringLiteral("Zapisz importowaną bazę danych"),
                                            QString::fromStdString(shell_.preferences().WorkingDirectory),
                                            kTableFileTypes, QStringLiteral("dbf")});
    if (c.name.isEmpty()) return false;
    return importInto(dialog, c.name, c.type);
}

bool FileCommands::importInto(TfmImport& dialog, const QString& path, int type) {
    const QString name = completed(path, kTableFileTypes, type);
    if (dialog.form() != ImportFileForm::ManualText) {
        if (!dialog.builtCatalogue() && !dialog.buildCatalogue()) return false;
        bool written = false;
        try {
            ProcessNoticeScope busy(shell_.processNotice(), QStringLiteral("Zapisywanie katalogu..."));
            const CatalogueBuildReport& r = dialog.buildReport();
            writeTableFile(*dialog.builtCatalogue(), text(name));
            written = true;
            setCatalogueCrs(text(name), r.epsg ? std::optional<CatalogueCrs>({r.epsg, r.crs}) : std::nullopt);
            shell_.dialogs().information(kInfoTitle, QString::fromStdString(catalogueImportMessage(
                                                         text(QFileInfo(name).fileName()), r)));
            dialog.releaseCatalogue();
            return true;
        } catch (const std::exception& e) {
            showProblem(shell_.dialogs(),
                        written ? saveFailedMessage(e.what())
                                : QStringLiteral("Próba utworzenia nowej bazy nie powiodła się. (") +
                                      QString::fromStdString(e.what()) + QLatin1Char(')'));
        }
        return false;
    }
    try {
        ImportResult r;
        {
            const ProgressScope progress(shell_.progressWindow());
            r = importTextCatalogue(dialog.lines(), dialog.separator(), dialog.columns(), dialog.roles(),
                                    dialog.options(), userLocale(), text(name), progress.get());
        }
        shell_.dialogs().information(
            kInfoTitle, QString::fromStdString(importSucceededMessage(text(QFileInfo(name).fileName()), r)));
        return true;
    } catch (const EBreakProcess&) {
        return false;
    } catch (const std::exception& e) {
        showProblem(shell_.dialogs(), QString::fromStdString(e.what()));
    }
    return false;
}

TfmRichText* FileCommands::openText(const ReportLines& lines, const QString& caption) {
    auto* window = new TfmRichText();
    window->setLines(lines);
    QMdiSubWindow* frame = addWindow(window, caption);
    frame->setWindowIcon(window->style()->standardIcon(QStyle::SP_FileIcon));
    return window;
}

QMdiSubWindow* FileCommands::addWindow(QWidget* window, const QString& caption) {
    const Preferences& prefs = shell_.preferences();
    window->setWindowTitle(caption);
    QMdiSubWindow* frame = shell_.addChild(window);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    showChildWindow(frame, QSize(prefs.GraphWidth, prefs.GraphHeight));
    return frame;
}

void FileCommands::exportFailed(const std::string& cause) {
    showProblem(shell_.dialogs(), exportFailedMessage(cause));
}

}  // namespace zorv

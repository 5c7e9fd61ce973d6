#pragma once
// The main window (TfmZorv): an MDI frame with the program's commands, tool
// bars and status bar. It owns the live preferences, the working catalogue
// and the record of analysis settings, and routes every command by name to
// the handler bound to it. The command groups it builds (analyses, files,
// printing) see it only as the ShellInterface it implements.

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>

#include "catalogue/AnalysisSettings.h"
#include "catalogue/FilterBuilder.h"
#include "catalogue/Preferences.h"
#include "catalogue/ZoneTree.h"
#include "hazard/HazardCache.h"
#include "services/CatalogueSession.h"
#include "services/ChildWindow.h"
#include "services/Commands.h"
#include "services/ShellInterface.h"
#include "services/WindowSlots.h"
#include "shell/SingleInstance.h"
#include "table/Table.h"

class QDialog;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTabWidget;
class QTimer;
class QToolBar;

namespace zorv {

class AnalysisCommands;
class FileCommands;
class PrintCommands;
class HelpWindow;
class SettingsStore;
class TfmBasePreferences;
class TfmMainBase;
class TfmSort;
class TfmPreferences;
class TfmProcessNotice;
class TfmProgress;
class UserDialogs;

// Where the program keeps its lock and its default folders.
struct ShellPaths {
    QString lockFile;      // the single-instance lock
    QString documentsDir;  // default working and catalogue folder
    QString tempDir;       // default folder of temporary and exchanged files
};
// The user's folders; creates the temporary folder.
ShellPaths defaultShellPaths();

class TfmZorv : public QMainWindow, public ShellInterface {
    Q_OBJECT
public:
    TfmZorv(SettingsStore& store, UserDialogs& dialogs, ShellPaths paths, QWidget* parent = nullptr);
    ~TfmZorv() override;

    // The work of the first showing: refuses a second instance (false:
    // the caller ends the program), loads the settings and enters the
    // no-catalogue state. Runs once; the first show() calls it.
    bool startUp();
    bool startedUp() const { return started_; }

    // ---- commands
    QAction* action(const QString& name) const;
    QMenu* menu(const QString& path) const;
    // Binds the work of a command; the command is enabled from then on
    // whenever its state rule allows.
    void bindCommand(const QString& name, Handler handler) override;
    bool commandBound(const QString& name) const;
    // What the command's state rule says, bound or not.
    bool commandWanted(const QString& name) const;
    // Catalogue-dependent commands and record navigation.
    void updateCommands();
    // Save, print, export and chart commands by the active child (timer).
    void updateFileCommands();
    QTimer* statusTimer() const { return statusTimer_; }

    // ---- working catalogue
    // "Nowa baza do analizy": asks for the file, then newBase(path).
    void newBase();
    // Opens the file as the working catalogue: the structure check (when
    // the preferences ask for it), the zone tree, the base properties
    // dialog, the filter. A failure leaves no catalogue open.
    void newBase(const QString& path);
    // Makes `table` the working catalogue as the new-base command does
    // after its check: record count, zone tree, base properties dialog,
    // filter, commands and status bar.
    void openCatalogue(std::unique_ptr<Table> table, const QString& name);
    // Closes the catalogue: the no-catalogue state.
    void shutDatabase();
    // "Własności bazy danych".
    void showBaseProperties();
    TfmMainBase& catalogueWindow();
    QMdiSubWindow* catalogueFrame() const { return catalogueFrame_; }
    TfmBasePreferences& basePreferencesDialog();
    TfmSort& periodDialog();
    // The manual's window, once opened.
    HelpWindow* helpWindow() const;
    // Modal dialogs of the catalogue commands are run through this, so that
    // tests can answer them; the default is QDialog::exec().
    void setDialogRunner(std::function<int(QDialog&)> runner) { dialogRunner_ = std::move(runner); }
    int execDialog(QDialog& dialog) override;
    // "Oszacuj" beside MMin: the completeness-magnitude dialog on the
    // catalogue as filtered now, over `parent`; the estimate taken, if any.
    std::optional<double> estimateCompletenessMagnitude(QWidget* parent);

    // ---- filters
    void applyFilter();
    void clearFilters();
    void buildZoneTree();
    void zoneTreeClicked();
    void zoneListChanged();
    // "Drzewo stref" / "Lista stref": shows the tree exactly when `tree`.
    void showZoneView(bool tree);
    // "Filtr czasowy".
    void periodFilter();
    void setConnective(int tag);
    void setMapZone();
    void unsetMapZone();
    void inverseAxes();
    void showCataloguePage(int tag);
    const FilterSources& filterSources() const { return session_.sources(); }
    QString filterDescription() const { return QString::fromStdString(session_.filterDescription()); }
    QString filterBarText() const;
    const ZoneTree& zones() const { return session_.zones(); }
    Table* catalogue() const { return session_.table(); }
    QString catalogueName() const { return QString::fromStdString(session_.name()); }
    bool basePropertiesSet() const { return session_.basePropertiesSet(); }
    std::int32_t recordCount() const { return session_.recordCount(); }
    const Bookmark& bookmark() const { return session_.bookmark(); }
    CatalogueSession& session() { return session_; }
    const CatalogueSession& session() const override { return session_; }

    // ---- settings
    Preferences& preferences() { return prefs_; }
    const Preferences& preferences() const override { return prefs_; }
    BaseProperties& baseProperties() { return base_; }
    const AnalysisSettings& analysisSettings() const override { return settings_; }
    void refreshAnalysisSettings() override;
    SettingsStore& settingsStore() { return store_; }
    UserDialogs& dialogs() override { return dialogs_; }
    const ShellPaths& paths() const { return paths_; }

    // ---- parts shared with the analysis commands
    WindowSlots& windowSlots() override { return slots_; }
    HazardCache& hazardCache() override { return hazardCache_; }
    int takeCopyNumber() override { return copyNumber_++; }
    int chartCounter() const { return chartCounter_; }
    TfmProgress& progressWindow() override;
    TfmProcessNotice& processNotice() override;
    TfmPreferences& preferencesDialog();
    QMdiArea* mdiArea() const { return mdi_; }

    // ---- the rest of what the command groups are given
    QWidget* mainWindow() override { return this; }
    QList<QAction*> menuActions(const QString& path) const override;
    QMdiSubWindow* activeChild() const override;
    QMdiSubWindow* addChild(QWidget* window) override;
    AnalysisCommands& analysisCommands() { return *analyses_; }
    FileCommands& fileCommands() { return *files_; }
    PrintCommands& printCommands() { return *prints_; }

    // ---- status bar
    QString hintText() const;
    QString catalogueStatus() const;
    QString recordStatus() const;
    void refreshStatusBar();
    void setFilterBarText(const QString& text);

    // ---- the work of this window's own commands
    void navigate(int tag);
    void setBookmark();
    void gotoBookmark();
    void lockUnlock();
    void tileHorizontally();
    void tileVertically();
    void arrangeIcons();
    void minimizeAll();
    // Asks, then closes the window; false when the user declined.
    bool exitProgram();
    void showPreferences();
    void showHelp(bool index);
    // Opens the manual at a page ("katalog.html").
    void showHelpPage(const QString& page) override;
    void showInformation();

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Shows the base properties for the open catalogue and applies what was
    // confirmed; true when the recurrence graph was asked for.
    bool runBasePropertiesDialog();
    struct Command {
        const CommandDescriptor* descriptor = nullptr;
        QAction* action = nullptr;
        Handler handler;
        bool wanted = true;
    };

    void buildCommands();
    void buildToolBars();
    void buildStatusBar();
    void bindOwnCommands();
    QMenu* menuFor(const QString& path);
    void setWanted(const QString& name, bool wanted);
    void applyEnabled(Command& c);
    void runCommand(const QString& name);
    void applyLoadedSettings();
    void fillWindowMenu();
    void afterPreferencesClosed();
    void resetSettingsAndClose();
    void bindCatalogueCommands();
    void afterNewBase();
    void showProtection(bool on);
    ZoneSummary summarize() const;

    SettingsStore& store_;
    UserDialogs& dialogs_;
    ShellPaths paths_;
    SingleInstance instance_;

    Preferences prefs_;
    BaseProperties base_;
    AnalysisSettings settings_;

    CatalogueSession session_;

    WindowSlots slots_;
    HazardCache hazardCache_;
    int copyNumber_ = 1;
    int chartCounter_ = 100;

    bool started_ = false;
    bool startAttempted_ = false;

    QMdiArea* mdi_;
    QTimer* statusTimer_;
    QHash<QString, Command> commands_;
    QHash<QString, QMenu*> menus_;
    QList<QMenu*> analysisMenus_;
    QHash<int, QToolBar*> toolBars_;  // by the tag of the "Widok" toggle
    QTabWidget* analysisTabs_ = nullptr;
    QMenu* windowMenu_ = nullptr;
    QList<QAction*> windowListActions_;
    QLabel* hint_ = nullptr;
    QLabel* cataloguePanel_ = nullptr;
    QLabel* recordPanel_ = nullptr;
    QLabel* filterBar_ = nullptr;
    QString filterText_ = QStringLiteral("   ");  // whole, where the bar may show it cut

    AnalysisCommands* analyses_ = nullptr;
    FileCommands* files_ = nullptr;
    PrintCommands* prints_ = nullptr;
    TfmProgress* progress_ = nullptr;
    TfmProcessNotice* notice_ = nullptr;
    TfmPreferences* preferencesDialog_ = nullptr;
    QPointer<HelpWindow> help_;

    TfmMainBase* catalogueWindow_ = nullptr;
    QMdiSubWindow* catalogueFrame_ = nullptr;
    TfmBasePreferences* basePreferences_ = nullptr;
    TfmSort* periodDialog_ = nullptr;
    std::function<int(QDialog&)> dialogRunner_;
};

}  // namespace zorv

#pragma once
// What the command groups of the desktop program (the analysis, file and
// print commands) are given of the main window: its commands, the catalogue
// session, the settings, the ways to ask the user, the progress windows, the
// child windows and what the analyses keep between runs. The main window
// implements it; the groups never see the window itself.

#include <QList>
#include <QString>
#include <functional>

class QAction;
class QDialog;
class QMdiSubWindow;
class QWidget;

namespace zorv {

class CatalogueSession;
class HazardCache;
class TfmProcessNotice;
class TfmProgress;
class UserDialogs;
class WindowSlots;
struct AnalysisSettings;
struct Preferences;

class ShellInterface {
public:
    using Handler = std::function<void(int tag)>;

    virtual ~ShellInterface() = default;

    // The window the groups' dialogs and windows belong to.
    virtual QWidget* mainWindow() = 0;

    // ---- commands
    // Binds the work of a command by its name; the command is enabled from
    // then on whenever its state rule allows.
    virtual void bindCommand(const QString& name, Handler handler) = 0;
    // The commands of a top menu ("Wykresy"); empty for none.
    virtual QList<QAction*> menuActions(const QString& menu) const = 0;

    // ---- the working catalogue, its filter and zones
    virtual const CatalogueSession& session() const = 0;

    // ---- settings
    virtual const Preferences& preferences() const = 0;
    // The analysis settings as they stand; refreshAnalysisSettings() first
    // takes them anew from the preferences and the base properties.
    virtual const AnalysisSettings& analysisSettings() const = 0;
    virtual void refreshAnalysisSettings() = 0;

    // ---- asking the user
    virtual UserDialogs& dialogs() = 0;
    // Runs a modal dialog (tests answer it); the dialog's result.
    virtual int execDialog(QDialog& dialog) = 0;
    // Opens the manual at a page ("katalog.html").
    virtual void showHelpPage(const QString& page) = 0;

    // ---- long work
    virtual TfmProgress& progressWindow() = 0;
    virtual TfmProcessNotice& processNotice() = 0;

    // ---- child windows
    // The active child window's frame; null when none.
    virtual QMdiSubWindow* activeChild() const = 0;
    // Adds a window as a child window and returns its frame (not shown yet).
    virtual QMdiSubWindow* addChild(QWidget* window) = 0;

    // ---- what the analyses keep between runs
    virtual WindowSlots& windowSlots() = 0;
    virtual HazardCache& hazardCache() = 0;
    // The number of the next analysis copy of the catalogue (1, 2, ...).
    virtual int takeCopyNumber() = 0;
};

}  // namespace zorv

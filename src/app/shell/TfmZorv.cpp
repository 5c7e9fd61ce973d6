#include "shell/TfmZorv.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <stdexcept>

#include "analysis/AnalysisCommands.h"
#include "catalogue/SettingsStore.h"
#include "catalogue/TfmMainBase.h"
#include "catalogue/TfmPreferences.h"
#include "catalogue/TfmSort.h"
#include "help/HelpWindow.h"
#include "help/TfmGreetings.h"
#include "interchange/CrsSidecar.h"
#include "interchange/FileCommands.h"
#include "report/PrintCommands.h"
#include "services/ProgressWindow.h"
#include "services/ShellTexts.h"
#include "services/UserDialogs.h"
#include "services/UserLocale.h"
#include "table/TableError.h"

namespace zorv {

ShellPaths defaultShellPaths() {
    ShellPaths p;
    p.lockFile = SingleInstance::defaultLockPath();
    p.documentsDir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (p.documentsDir.isEmpty()) p.documentsDir = QDir::homePath();
    p.tempDir =
        QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/temp");
    QDir().mkpath(p.tempDir);
    return p;
}

TfmZorv::TfmZorv(SettingsStore& store, UserDialogs& dialogs, ShellPaths paths, QWidget* parent)
    : QMainWindow(parent),
      store_(store),
      dialogs_(dialogs),
      paths_(std::move(paths)),
      instance_(paths_.lockFile),
      mdi_(new QMdiArea(this)),
      statusTimer_(new QTimer(this)) {
    setObjectName(QStringLiteral("TfmZorv"));
    setWindowTitle(kProgramCaption);
    mdi_->setObjectName(QStringLiteral("ClientArea"));
    mdi_->setBackground(QColor(96, 110, 124));
    setCentralWidget(mdi_);
    buildCommands();
    buildToolBars();
    buildStatusBar();
    bindOwnCommands();
    bindCatalogueCommands();
    analyses_ = new AnalysisCommands(*this);
    analyses_->bind();
    files_ = new FileCommands(*this);
    files_->bind();
    prints_ = new PrintCommands(*this);
    prints_->bind();
    settings_ = RefreshAnalysisSettings(prefs_, base_, false, 0, store_, userLocale());
    statusTimer_->setInterval(250);
    connect(statusTimer_, &QTimer::timeout, this, &TfmZorv::updateFileCommands);
    connect(mdi_, &QMdiArea::subWindowActivated, this, [this] { updateFileCommands(); });
    for (auto it = commands_.begin(); it != commands_.end(); ++it) applyEnabled(*it);
    updateCommands();
    updateFileCommands();
    refreshStatusBar();
}

TfmZorv::~TfmZorv() {
    // The child windows go after this object's members; their last
    // activation signals must not reach it.
    disconnect(mdi_, nullptr, this, nullptr);
    statusTimer_->stop();
    // The catalogue window and the period dialog look into the catalogue
    // table, which goes with this object's members.
    delete catalogueFrame_;
    delete periodDialog_;
}

// ------------------------------------------------------------------ commands

void TfmZorv::buildCommands() {
    for (const char* top : topMenus()) menuFor(QString::fromUtf8(top));
    QHash<QString, QActionGroup*> radioGroups;
    QSet<QString> usedShortcuts;
    for (const CommandDescriptor& d : commandTable()) {
        const QString name = QString::fromUtf8(d.name);
        QMenu* m = menuFor(QString::fromUtf8(d.menu));
        if (d.flags & SeparatorBefore) m->addSeparator();
        auto* a = new QAction(QString::fromUtf8(d.caption), this);
        a->setObjectName(name);
        a->setStatusTip(QString::fromUtf8(d.hint));
        a->setToolTip(QString::fromUtf8(d.caption));
        a->setIconText(QString::fromUtf8(toolBarText(d.name)));
        a->setData(d.tag);
        const QString key = QString::fromUtf8(d.shortcut);
        if (!key.isEmpty()) {
            // A key bound twice belongs to the first command in the table;
            // the later one only shows it.
            if (usedShortcuts.contains(key)) {
                a->setText(a->text() + QLatin1Char('\t') +
                           QKeySequence(key).toString(QKeySequence::NativeText));
            } else {
                a->setShortcut(QKeySequence(key));
                usedShortcuts.insert(key);
            }
        }
        if (d.flags & Checkable) {
            a->setCheckable(true);
            a->setChecked((d.flags & Checked) != 0);
        }
        if (d.flags & HiddenCommand) a->setVisible(false);
        m->addAction(a);
        addAction(a);  // shortcuts work while the menus are closed
        commands_.insert(name, Command{&d, a, {}, true});
        connect(a, &QAction::triggered, this, [this, name] { runCommand(name); });
        if (name == QLatin1String("mAND") || name == QLatin1String("mOR")) {
            auto*& group = radioGroups[QStringLiteral("connective")];
            if (!group) group = new QActionGroup(this);
            group->addAction(a);
        }
    }
    for (auto* top : menuBar()->findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly))
        connect(top, &QMenu::aboutToShow, this, &TfmZorv::updateCommands);
    menu(QStringLiteral("Sejsmometria"))->menuAction()->setVisible(false);
    windowMenu_ = menu(QStringLiteral("Okno"));
    connect(windowMenu_, &QMenu::aboutToShow, this, &TfmZorv::fillWindowMenu);
}

QMenu* TfmZorv::menuFor(const QString& path) {
    if (QMenu* m = menus_.value(path)) return m;
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    QMenu* m = nullptr;
    if (slash < 0) {
        m = menuBar()->addMenu(path);
    } else {
        m = menuFor(path.left(slash))->addMenu(path.mid(slash + 1));
        if (path.startsWith(QStringLiteral("Analiza zagrożenia/"))) analysisMenus_ << m;
    }
    m->setObjectName(path);
    menus_.insert(path, m);
    return m;
}

QAction* TfmZorv::action(const QString& name) const {
    const auto it = commands_.constFind(name);
    return it == commands_.constEnd() ? nullptr : it->action;
}

QMenu* TfmZorv::menu(const QString& path) const { return menus_.value(path); }

QList<QAction*> TfmZorv::menuActions(const QString& path) const {
    const QMenu* m = menu(path);
    return m ? m->actions() : QList<QAction*>();
}

QMdiSubWindow* TfmZorv::activeChild() const { return mdi_->activeSubWindow(); }

QMdiSubWindow* TfmZorv::addChild(QWidget* window) { return mdi_->addSubWindow(window); }

void TfmZorv::bindCommand(const QString& name, Handler handler) {
    auto it = commands_.find(name);
    // A name outside the command table is a mistake in the program.
    if (it == commands_.end()) throw std::logic_error("unknown command " + name.toStdString());
    it->handler = std::move(handler);
    applyEnabled(*it);
}

bool TfmZorv::commandBound(const QString& name) const {
    const auto it = commands_.constFind(name);
    return it != commands_.constEnd() && static_cast<bool>(it->handler);
}

bool TfmZorv::commandWanted(const QString& name) const {
    const auto it = commands_.constFind(name);
    return it != commands_.constEnd() && it->wanted;
}

void TfmZorv::setWanted(const QString& name, bool wanted) {
    auto it = commands_.find(name);
    if (it == commands_.end()) return;
    it->wanted = wanted;
    applyEnabled(*it);
}

void TfmZorv::applyEnabled(Command& c) {
    const bool never = (c.descriptor->flags & (NeverEnabled | HiddenCommand)) != 0;
    c.action->setEnabled(!never && c.wanted && c.handler);
}

void TfmZorv::runCommand(const QString& name) {
    const auto it = commands_.constFind(name);
    if (it == commands_.constEnd() || !it->handler) return;
    const Handler handler = it->handler;
    const int tag = it->descriptor->tag;
    // A failure a command does not handle itself is reported and the
    // program goes on.
    try {
        handler(tag);
    } catch (const std::exception& e) {
        showProblem(dialogs_, QString::fromUtf8(e.what()));
    }
}

void TfmZorv::bindOwnCommands() {
    for (const char* n :
         {"mFilePanel", "mBasePanel", "mFilterPanel", "mReportsPanel", "mHazardAnalysisPanel"}) {
        const QString name = QString::fromUtf8(n);
        bindCommand(name, [this, name](int tag) {
            if (QToolBar* bar = toolBars_.value(tag)) bar->setVisible(action(name)->isChecked());
        });
    }
    for (const char* n : {"mToBegin", "mPrevious", "mNext", "mToEnd"})
        bindCommand(QString::fromUtf8(n), [this](int tag) { navigate(tag); });
    bindCommand(QStringLiteral("mBookmarkSet"), [this](int) { setBookmark(); });
    bindCommand(QStringLiteral("mBookmarkGoTo"), [this](int) { gotoBookmark(); });
    bindCommand(QStringLiteral("mShutDatabase"), [this](int) { shutDatabase(); });
    bindCommand(QStringLiteral("mLockUnlock"), [this](int) { lockUnlock(); });
    bindCommand(QStringLiteral("mOptions"), [this](int) { showPreferences(); });
    bindCommand(QStringLiteral("mExit"), [this](int) { exitProgram(); });
    bindCommand(QStringLiteral("mCascade"), [this](int) { mdi_->cascadeSubWindows(); });
    bindCommand(QStringLiteral("mTileHorizontal"), [this](int) { tileHorizontally(); });
    bindCommand(QStringLiteral("mTileVertical"), [this](int) { tileVertically(); });
    bindCommand(QStringLiteral("mArrange"), [this](int) { arrangeIcons(); });
    bindCommand(QStringLiteral("mMinimizeAll"), [this](int) { minimizeAll(); });
    bindCommand(QStringLiteral("mMinimize"), [this](int) {
        if (QMdiSubWindow* w = mdi_->activeSubWindow()) w->showMinimized();
    });
    bindCommand(QStringLiteral("mMaximize"), [this](int) {
        if (QMdiSubWindow* w = mdi_->activeSubWindow()) w->showMaximized();
    });
    bindCommand(QStringLiteral("mTopics"), [this](int) { showHelp(false); });
    bindCommand(QStringLiteral("mIndex"), [this](int) { showHelp(true); });
    bindCommand(QStringLiteral("mInfo"), [this](int) { showInformation(); });
}

void TfmZorv::updateCommands() {
    const bool open = session_.basePropertiesSet();
    const Table* table = session_.table();
    const bool atBegin = !table || table->isEmpty() || table->bof() || table->recNo() <= 1;
    const bool atEnd = !table || table->isEmpty() || table->eof() || table->recNo() >= table->recordCount();
    for (auto it = commands_.begin(); it != commands_.end(); ++it) {
        const unsigned f = it->descriptor->flags;
        if (!(f & CatalogueOnly)) continue;
        bool wanted = open;
        if ((f & AtBeginOff) && atBegin) wanted = false;
        if ((f & AtEndOff) && atEnd) wanted = false;
        it->wanted = wanted;
        applyEnabled(*it);
    }
    for (QMenu* m : analysisMenus_) m->menuAction()->setEnabled(open);
}

void TfmZorv::updateFileCommands() {
    const FileCommandState s =
        fileCommandState(childKindOf(mdi_->activeSubWindow()), session_.basePropertiesSet());
    for (auto it = commands_.begin(); it != commands_.end(); ++it) {
        const unsigned f = it->descriptor->flags;
        bool wanted = it->wanted;
        if (f & SaveCommand)
            wanted = s.save;
        else if (f & PrintCommand)
            wanted = s.print;
        else if (f & ExportCommand)
            wanted = s.exportFile;
        else if (f & ChartCommand)
            wanted = s.chart;
        else
            continue;
        if (wanted != it->wanted) {
            it->wanted = wanted;
            applyEnabled(*it);
        }
    }
}

// ------------------------------------------------------------------ layout

void TfmZorv::buildToolBars() {
    const ToolBarId ids[] = {ToolBarId::File, ToolBarId::Database, ToolBarId::Filter, ToolBarId::Charts,
                             ToolBarId::Analysis};
    for (int i = 0; i < 5; ++i) {
        auto* bar = new QToolBar(QString::fromUtf8(toolBarCaption(ids[i])), this);
        bar->setObjectName(QStringLiteral("ToolBar%1").arg(i + 1));
        bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
        toolBars_.insert(i + 1, bar);
        // Rows: file and records; filter and charts; the analysis tabs.
        if (i == 2 || i == 4) addToolBarBreak();
        addToolBar(Qt::TopToolBarArea, bar);
    }
    for (const CommandDescriptor& d : commandTable()) {
        if (d.toolBar == ToolBarId::None || d.toolBar == ToolBarId::Analysis) continue;
        QToolBar* bar = toolBars_.value(static_cast<int>(d.toolBar));
        bar->addAction(action(QString::fromUtf8(d.name)));
    }
    QToolBar* filter = toolBars_.value(static_cast<int>(ToolBarId::Filter));
    filter->addSeparator();
    filter->addWidget(new QLabel(QStringLiteral(" Filtr: "), filter));
    filterBar_ = new QLabel(QStringLiteral("   "), filter);
    filterBar_->setObjectName(QStringLiteral("FilterBar"));
    // Of a fixed width, so that the chart buttons beside it stay where they
    // are whatever the filter says; a longer filter is cut, whole in the tip.
    filterBar_->setFixedWidth(filterBar_->fontMetrics().averageCharWidth() * 44);
    filter->addWidget(filterBar_);

    // The analysis tool bar: one tab per family, a button per command.
    QToolBar* analysis = toolBars_.value(static_cast<int>(ToolBarId::Analysis));
    analysisTabs_ = new QTabWidget(analysis);
    analysisTabs_->setObjectName(QStringLiteral("AnalysisTabs"));
    analysisTabs_->setDocumentMode(true);
    for (const char* tab : analysisTabs()) {
        auto* page = new QWidget(analysisTabs_);
        auto* row = new QHBoxLayout(page);
        row->setContentsMargins(2, 2, 2, 2);
        row->setSpacing(2);
        for (const CommandDescriptor& d : commandTable()) {
            if (!d.tab || QString::fromUtf8(d.tab) != QString::fromUtf8(tab)) continue;
            auto* button = new QToolButton(page);
            button->setDefaultAction(action(QString::fromUtf8(d.name)));
            button->setToolButtonStyle(Qt::ToolButtonTextOnly);
            button->setAutoRaise(true);
            row->addWidget(button);
        }
        row->addStretch();
        analysisTabs_->addTab(page, QString::fromUtf8(tab));
    }
    analysis->addWidget(analysisTabs_);
    // The bars are shown and hidden only through the "Widok" toggles, which
    // keep their check marks.
    setContextMenuPolicy(Qt::PreventContextMenu);
}

void TfmZorv::buildStatusBar() {
    auto panel = [this](const QString& name, int minWidth) {
        auto* l = new QLabel(this);
        l->setObjectName(name);
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        l->setMinimumWidth(minWidth);
        return l;
    };
    hint_ = panel(QStringLiteral("HintPanel"), 200);
    cataloguePanel_ = panel(QStringLiteral("CataloguePanel"), 260);
    recordPanel_ = panel(QStringLiteral("RecordPanel"), 160);
    QFont bold = cataloguePanel_->font();
    bold.setBold(true);
    cataloguePanel_->setFont(bold);
    statusBar()->addWidget(hint_, 1);
    statusBar()->addPermanentWidget(cataloguePanel_);
    statusBar()->addPermanentWidget(recordPanel_);
}

bool TfmZorv::event(QEvent* e) {
    // Hints of commands and widgets go to the hint panel.
    if (e->type() == QEvent::StatusTip) {
        hint_->setText(static_cast<QStatusTipEvent*>(e)->tip());
        return true;
    }
    return QMainWindow::event(e);
}

QString TfmZorv::hintText() const { return hint_->text(); }
QString TfmZorv::catalogueStatus() const { return cataloguePanel_->text(); }
QString TfmZorv::recordStatus() const { return recordPanel_->text(); }

void TfmZorv::refreshStatusBar() {
    const std::size_t filtered = session_.isOpen() ? session_.table()->recordCount() : 0;
    cataloguePanel_->setText(catalogueStatusText(catalogueName(), session_.basePropertiesSet(), filtered));
    recordPanel_->setText(recordStatusText(session_.isOpen(), filtered, session_.recordCount()));
    if (catalogueFrame_)
        catalogueFrame_->setWindowTitle(
            catalogueWindowCaption(catalogueName(), recordPanel_->text()).trimmed());
}

void TfmZorv::setFilterBarText(const QString& text) {
    filterText_ = text;
    filterBar_->setText(filterBar_->fontMetrics().elidedText(text, Qt::ElideRight, filterBar_->width()));
    filterBar_->setToolTip(text);
}

// ------------------------------------------------------------------ start and end

void TfmZorv::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (startAttempted_) return;
    if (!startUp()) {
        // Ends the program once its event loop runs.
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    }
}

bool TfmZorv::startUp() {
    if (startAttempted_) return started_;
    startAttempted_ = true;
    statusTimer_->start();
    if (!instance_.acquire()) {
        dialogs_.error(kProblemTitle, kSecondInstanceMessage);
        statusTimer_->stop();
        return false;
    }
    const DefaultDirectories dirs{paths_.documentsDir.toStdString(), paths_.tempDir.toStdString()};
    const StartupResult r = StartupSettings(store_, dirs, prefs_);
    if (r.damaged) dialogs_.error(kProblemTitle, QString::fromUtf8(kDamagedSettingsMessage));
    applyLoadedSettings();
    preferencesDialog().loadControls();
    // The catalogue window lives from the first showing to the end, minimised
    // while there is nothing to show.
    catalogueWindow();
    arrangeIcons();
    shutDatabase();
    started_ = true;
    return true;
}

void TfmZorv::applyLoadedSettings() {
    action(QStringLiteral("mShowSeismometers"))->setChecked(prefs_.ShowSeismometers);
    action(QStringLiteral("mSeisFilter"))->setChecked(prefs_.SeisFilter);
    action(QStringLiteral("mCopyFilter"))->setChecked(prefs_.CopySeisFilter);
    action(QStringLiteral("mInverseXAxis"))->setChecked(prefs_.InverseXAxis);
    action(QStringLiteral("mInverseYAxis"))->setChecked(prefs_.InverseYAxis);
    inverseAxes();
}

bool TfmZorv::exitProgram() {
    if (!dialogs_.confirm(kExitTitle, kExitQuestion)) return false;
    close();
    return true;
}

void TfmZorv::closeEvent(QCloseEvent* e) {
    statusTimer_->stop();
    if (help_) help_->close();
    QMainWindow::closeEvent(e);
}

// ------------------------------------------------------------------ catalogue

void TfmZorv::refreshAnalysisSettings() {
    settings_ = RefreshAnalysisSettings(prefs_, base_, session_.basePropertiesSet(), session_.recordCount(),
                                        store_, userLocale());
    if (session_.isOpen()) settings_.CoordinateSystem = catalogueCrsText(session_.filePath());
}

void TfmZorv::navigate(int tag) {
    if (!session_.isOpen()) return;
    session_.navigate(tag);
    if (catalogueWindow_) catalogueWindow_->showCurrentRecord();
    updateCommands();
}

void TfmZorv::setBookmark() { session_.setBookmark(); }

void TfmZorv::gotoBookmark() {
    switch (session_.gotoBookmark()) {
        case CatalogueSession::Jump::NoBookmark: return;
        case CatalogueSession::Jump::Hidden: showProblem(dialogs_, kBookmarkHiddenMessage); return;
        case CatalogueSession::Jump::Failed: showProblem(dialogs_, kBookmarkFailedMessage); break;
        case CatalogueSession::Jump::Done:
            if (catalogueWindow_) catalogueWindow_->showCurrentRecord();
            break;
    }
    updateCommands();
}

// ------------------------------------------------------------------ windows

namespace {

QList<QMdiSubWindow*> normalWindows(QMdiArea* mdi) {
    QList<QMdiSubWindow*> out;
    for (QMdiSubWindow* w : mdi->subWindowList(QMdiArea::CreationOrder))
        if (w->isVisible() && !w->isMinimized()) out << w;
    return out;
}

}  // namespace

void TfmZorv::tileHorizontally() {
    // One above the other, each the full width.
    const QList<QMdiSubWindow*> windows = normalWindows(mdi_);
    if (windows.isEmpty()) return;
    const QRect area = mdi_->viewport()->rect();
    const int h = area.height() / static_cast<int>(windows.size());
    int y = 0;
    for (QMdiSubWindow* w : windows) {
        w->showNormal();
        w->setGeometry(0, y, area.width(), h);
        y += h;
    }
}

void TfmZorv::tileVertically() {
    // Side by side, each the full height.
    const QList<QMdiSubWindow*> windows = normalWindows(mdi_);
    if (windows.isEmpty()) return;
    const QRect area = mdi_->viewport()->rect();
    const int w = area.width() / static_cast<int>(windows.size());
    int x = 0;
    for (QMdiSubWindow* win : windows) {
        win->showNormal();
        win->setGeometry(x, 0, w, area.height());
        x += w;
    }
}

void TfmZorv::arrangeIcons() {
    // Minimised windows in rows along the bottom edge.
    const QRect area = mdi_->viewport()->rect();
    int x = 0;
    int y = area.bottom();
    for (QMdiSubWindow* w : mdi_->subWindowList(QMdiArea::CreationOrder)) {
        if (!w->isMinimized()) continue;
        const QSize s = w->size();
        if (x > 0 && x + s.width() > area.width()) {
            x = 0;
            y -= s.height();
        }
        w->move(x, y - s.height() + 1);
        x += s.width();
    }
}

void TfmZorv::minimizeAll() {
    for (QMdiSubWindow* w : mdi_->subWindowList(QMdiArea::CreationOrder)) w->showMinimized();
}

void TfmZorv::fillWindowMenu() {
    for (QAction* a : std::as_const(windowListActions_)) {
        windowMenu_->removeAction(a);
        a->deleteLater();
    }
    windowListActions_.clear();
    const QList<QMdiSubWindow*> windows = mdi_->subWindowList(QMdiArea::CreationOrder);
    if (windows.isEmpty()) return;
    windowListActions_ << windowMenu_->addSeparator();
    int n = 1;
    for (QMdiSubWindow* w : windows) {
        QAction* a = windowMenu_->addAction(QStringLiteral("&%1 %2").arg(n++).arg(w->windowTitle()));
        a->setCheckable(true);
        a->setChecked(w == mdi_->activeSubWindow());
        connect(a, &QAction::triggered, this, [this, w] {
            if (w->isMinimized()) w->showNormal();
            mdi_->setActiveSubWindow(w);
        });
        windowListActions_ << a;
    }
}

// ------------------------------------------------------------------ dialogs

TfmProgress& TfmZorv::progressWindow() {
    if (!progress_) progress_ = new TfmProgress(dialogs_, this);
    return *progress_;
}

TfmProcessNotice& TfmZorv::processNotice() {
    if (!notice_) notice_ = new TfmProcessNotice(this);
    return *notice_;
}

}  // namespace zorv

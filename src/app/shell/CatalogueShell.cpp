// The main window's work on the working catalogue: opening it (with the
// structure check and the base properties), closing it, the write
// protection, the filters and the catalogue window with its map.

#include <fcntl.h>

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableView>

#include "catalogue/CatalogueFilter.h"
#include "catalogue/CatalogueModel.h"
#include "catalogue/StructureCheck.h"
#include "catalogue/TfmBaseCheck.h"
#include "catalogue/TfmBasePreferences.h"
#include "catalogue/TfmMainBase.h"
#include "catalogue/TfmSort.h"
#include "charts/LocationMap.h"
#include "files/TableFiles.h"
#include "hazard/TfmCompleteness.h"
#include "services/ProgressWindow.h"
#include "services/UserDialogs.h"
#include "services/UserLocale.h"
#include "services/WindowTitleFit.h"
#include "shell/TfmZorv.h"
#include "table/TableError.h"
#include "text/FileLock.h"

namespace zorv {

namespace {

const QString kNewBaseTitle = QStringLiteral("Nowa baza danych do analizy");
const QString kCatalogueFileTypes = QStringLiteral("Pliki dBase (*.dbf)|*.dbf|Pliki Paradox (*.db)|*.db");

}  // namespace

void TfmZorv::bindCatalogueCommands() {
    bindCommand(QStringLiteral("mNewBase"), [this](int) { newBase(); });
    bindCommand(QStringLiteral("mBaseProperties"), [this](int) { showBaseProperties(); });
    bindCommand(QStringLiteral("mLockUnlock"), [this](int) { lockUnlock(); });
    bindCommand(QStringLiteral("mTree"),
                [this](int) { showZoneView(action(QStringLiteral("mTree"))->isChecked()); });
    bindCommand(QStringLiteral("mZone"),
                [this](int) { showZoneView(!action(QStringLiteral("mZone"))->isChecked()); });
    for (const char* n : {"mShowMainBase", "mShowLocalizacje", "mShowDaneBazy", "mShowZakresy", "mShowVTAB"})
        bindCommand(QString::fromUtf8(n), [this](int tag) { showCataloguePage(tag); });
    bindCommand(QStringLiteral("mLocalizedOnly"), [this](int) { applyFilter(); });
    bindCommand(QStringLiteral("mFilter"), [this](int) { periodFilter(); });
    bindCommand(QStringLiteral("mClearFilters"), [this](int) { clearFilters(); });
    bindCommand(QStringLiteral("mAND"), [this](int tag) { setConnective(tag); });
    bindCommand(QStringLiteral("mOR"), [this](int tag) { setConnective(tag); });
    bindCommand(QStringLiteral("mSetZone"), [this](int) { setMapZone(); });
    bindCommand(QStringLiteral("mUnsetZone"), [this](int) { unsetMapZone(); });
    bindCommand(QStringLiteral("mZoomIn"), [this](int) { catalogueWindow().map()->zoomTo(1.25); });
    bindCommand(QStringLiteral("mZoomOut"), [this](int) { catalogueWindow().map()->zoomTo(0.75); });
    bindCommand(QStringLiteral("m100Percent"), [this](int) { catalogueWindow().map()->undoZoom(); });
    bindCommand(QStringLiteral("mInverseXAxis"), [this](int) { inverseAxes(); });
    bindCommand(QStringLiteral("mInverseYAxis"), [this](int) { inverseAxes(); });
    bindCommand(QStringLiteral("mShowSeismometers"), [this](int) {
        QAction* a = action(QStringLiteral("mShowSeismometers"));
        a->setChecked(false);
        a->setVisible(false);
        catalogueWindow().map()->hideSecondSeries();
    });
}

int TfmZorv::execDialog(QDialog& dialog) {
    fitWindowTitle(dialog);
    return dialogRunner_ ? dialogRunner_(dialog) : dialog.exec();
}

// ------------------------------------------------------------------ windows and dialogs

TfmMainBase& TfmZorv::catalogueWindow() {
    if (!catalogueWindow_) {
        catalogueWindow_ = new TfmMainBase;
        catalogueFrame_ = mdi_->addSubWindow(catalogueWindow_);
        catalogueFrame_->setObjectName(QStringLiteral("CatalogueWindow"));
        catalogueWindow_->setSummaryGenerator([this] { return summarize(); });
        connect(catalogueWindow_, &TfmMainBase::treeSelectionChanged, this, [this] {
            if (catalogueWindow_->treeShown()) zoneTreeClicked();
        });
        connect(catalogueWindow_, &TfmMainBase::listTicksChanged, this, [this] {
            if (!catalogueWindow_->treeShown()) zoneListChanged();
        });
        connect(catalogueWindow_, &TfmMainBase::currentRecordChanged, this, &TfmZorv::updateCommands);
        connect(catalogueWindow_->model(), &CatalogueModel::editFailed, this,
                [this](const QString& message) { showProblem(dialogs_, message); });
        catalogueWindow_->setMapPageVisible(false);
        catalogueFrame_->showMinimized();
        refreshStatusBar();
    }
    return *catalogueWindow_;
}

TfmBasePreferences& TfmZorv::basePreferencesDialog() {
    if (!basePreferences_) {
        basePreferences_ = new TfmBasePreferences(base_, prefs_, userLocale(), this);
        connect(basePreferences_, &TfmBasePreferences::helpRequested, this, &TfmZorv::showHelpPage);
        basePreferences_->setCompletenessEstimator(
            [this] { return estimateCompletenessMagnitude(basePreferences_); });
    }
    return *basePreferences_;
}

std::optional<double> TfmZorv::estimateCompletenessMagnitude(QWidget* parent) {
    refreshAnalysisSettings();
    const ProgressScope progress(progressWindow());
    return estimateCompletenessInteractively(
        settings_, session_.isOpen() ? catalogue() : nullptr, dialogs_, progress.get(),
        [this](QDialog& d) { return execDialog(d); }, parent);
}

TfmSort& TfmZorv::periodDialog() {
    if (!periodDialog_) {
        periodDialog_ = new TfmSort(dialogs_, this);
        connect(periodDialog_, &TfmSort::helpRequested, this, &TfmZorv::showHelpPage);
    }
    return *periodDialog_;
}

void TfmZorv::showCataloguePage(int tag) {
    TfmMainBase& w = catalogueWindow();
    if (catalogueFrame_->isMinimized() || !catalogueFrame_->isVisible()) {
        catalogueFrame_->showNormal();
        catalogueFrame_->setGeometry(mdi_->viewport()->rect());
    }
    mdi_->setActiveSubWindow(catalogueFrame_);
    catalogueFrame_->raise();
    w.showPage(static_cast<TfmMainBase::Page>(tag - 1));
}

// ------------------------------------------------------------------ opening and closing

void TfmZorv::newBase() {
    const QString path = dialogs_.openFile({kNewBaseTitle, QString::fromStdString(prefs_.DatabaseDirectory),
                                            kCatalogueFileTypes, QStringLiteral("dbf")});
    if (path.isEmpty()) {
        afterNewBase();
        return;
    }
    newBase(path);
}

void TfmZorv::newBase(const QString& path) {
    shutDatabase();
    bool writable = QFileInfo(path).isWritable();
    // A catalogue another window or program has open for writing is offered
    // read-only, rather than refused after the check.
    if (writable) {
        const FileLock probe(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC));
        if (probe.heldElsewhere()) {
            const QString question = QString::fromStdString(FileLockedError(path.toStdString()).what()) +
                                     QStringLiteral("\n\nOtworzyć go tylko do odczytu?");
            if (!dialogs_.confirm(kConfirmTitle, question)) {
                afterNewBase();
                return;
            }
            writable = false;
        }
    }
    try {
        std::unique_ptr<Table> table;
        if (prefs_.CheckDBF) {
            refreshAnalysisSettings();
            TfmBaseCheck check(settings_, path, dialogs_, this);
            check.setReadOnly(!writable);
            execDialog(check);
            if (!check.checkPassed()) {
                showProblem(dialogs_, QString::fromUtf8(kCheckFailedMessage));
                shutDatabase();
                afterNewBase();
                return;
            }
            table = check.takeTable();
        } else {
            ProcessNoticeScope busy(processNotice(), QStringLiteral("Otwieranie bazy danych"));
            table = openTableFile(path.toStdString(), writable);
        }
        openCatalogue(std::move(table), QFileInfo(path).fileName());
        session_.setFilePath(QFileInfo(path).absoluteFilePath().toStdString());
    } catch (const std::exception& e) {
        showProblem(dialogs_, QString::fromStdString(badCatalogueMessage(e.what())));
        shutDatabase();
    }
    afterNewBase();
}

void TfmZorv::afterNewBase() {
    refreshAnalysisSettings();
    updateCommands();
    updateFileCommands();
    refreshStatusBar();
}

void TfmZorv::openCatalogue(std::unique_ptr<Table> table, const QString& name) {
    shutDatabase();
    if (!table) return;
    session_.open(std::move(table), name.toStdString(), action(QStringLiteral("mLockUnlock"))->isChecked(),
                  userLocale());
    refreshAnalysisSettings();

    buildZoneTree();
    TfmMainBase& w = catalogueWindow();
    w.setTable(session_.table(), userLocale());
    w.setMapPageVisible(true);
    w.showPage(TfmMainBase::GridPage);
    updateCommands();

    const bool histogramRequested = runBasePropertiesDialog();
    session_.setBasePropertiesSet(true);
    refreshAnalysisSettings();
    applyFilter();
    showCataloguePage(TfmMainBase::GridPage + 1);
    if (histogramRequested) runCommand(QStringLiteral("mHistogram"));
    if (w.map()->zoneShown()) unsetMapZone();
    periodDialog().setUp(session_.table(), settings_.DateField, PeriodKind::WholeSpan);
}

bool TfmZorv::runBasePropertiesDialog() {
    TfmMainBase& w = catalogueWindow();
    TfmBasePreferences& d = basePreferencesDialog();
    std::vector<TfmBasePreferences::Field> fields;
    const Table& table = *session_.table();
    for (int f = 0; f < table.fieldCount(); ++f)
        fields.push_back({QString::fromStdString(table.field(f).name), w.fieldVisible(f)});
    d.prepare(fields, action(QStringLiteral("mLockUnlock"))->isChecked(),
              action(QStringLiteral("mLocalizedOnly"))->isChecked());
    if (execDialog(d) == QDialog::Accepted || d.histogramRequested()) {
        const std::vector<bool> shown = d.checkedFields();
        for (int f = 0; f < static_cast<int>(shown.size()); ++f) w.setFieldVisible(f, shown[std::size_t(f)]);
        showProtection(d.baseProtected());
        action(QStringLiteral("mLocalizedOnly"))->setChecked(d.localized());
    }
    return d.histogramRequested();
}

void TfmZorv::shutDatabase() {
    session_.setBasePropertiesSet(false);
    TfmMainBase& w = catalogueWindow();
    // Nothing may keep pointing at the table that goes.
    w.setTable(nullptr, userLocale());
    periodDialog().setUp(nullptr, settings_.DateField, PeriodKind::WholeSpan);
    session_.close();
    w.clearZones();
    clearFilters();
    basePreferencesDialog().setInitFromPreferences(true);
    w.setMapPageVisible(false);
    w.showPage(TfmMainBase::GridPage);
    catalogueFrame_->showMinimized();
    updateCommands();
    updateFileCommands();
    refreshStatusBar();
    applyFilter();
    refreshAnalysisSettings();
}

void TfmZorv::showBaseProperties() {
    if (!session_.basePropertiesSet() || !session_.isOpen()) return;
    if (runBasePropertiesDialog()) runCommand(QStringLiteral("mHistogram"));
    refreshAnalysisSettings();
    applyFilter();
}

void TfmZorv::lockUnlock() {
    // The action has already toggled its check mark.
    showProtection(action(QStringLiteral("mLockUnlock"))->isChecked());
}

void TfmZorv::showProtection(bool on) {
    // The check mark and the table's read-only state always agree, so that
    // a protected catalogue cannot be edited through the grid.
    action(QStringLiteral("mLockUnlock"))->setChecked(on);
    session_.setReadOnly(on);
    if (catalogueWindow_) catalogueWindow_->refreshRecords();
    updateCommands();
}

// ------------------------------------------------------------------ filters

void TfmZorv::applyFilter() {
    FilterSources& sources = session_.sources();
    sources.locatedOnly = action(QStringLiteral("mLocalizedOnly"))->isChecked();
    sources.XField = prefs_.X;
    sources.LocationFilter = prefs_.LocationFilter;
    JoinedFilter joined;
    try {
        joined = session_.applyFilter();
    } catch (const CatalogueFilterError& e) {
        // A zone code or an expression the engine cannot take: the records
        // stay unfiltered rather than half filtered.
        joined = e.joined();
        dialogs_.error(QString::fromUtf8(kBadFilterCaption), QString::fromUtf8(e.what()));
    }
    if (joined.locationRejected) showProblem(dialogs_, QString::fromUtf8(kBadLocationFilterMessage));
    setFilterBarText(QString::fromStdString(zorv::filterBarText(joined, prefs_.DescrFilter)));
    hazardCache_.Reset();
    if (catalogueWindow_) {
        // The grid follows the masks of the preferences, also after they changed.
        catalogueWindow_->model()->setNumberMasks(prefs_.Energia, prefs_.EnergyMask, prefs_.Magnituda,
                                                  prefs_.ProbabilityMask);
        catalogueWindow_->refreshRecords();
    }
    refreshStatusBar();
    updateCommands();
}

QString TfmZorv::filterBarText() const { return filterText_; }

void TfmZorv::clearFilters() {
    session_.clearSources();
    action(QStringLiteral("mAND"))->setChecked(true);
    action(QStringLiteral("mOR"))->setChecked(false);
    action(QStringLiteral("mLocalizedOnly"))->setChecked(false);
    if (catalogueWindow_) {
        catalogueWindow_->untickAll();
        catalogueWindow_->selectRoot();
        catalogueWindow_->map()->hideZone();
    }
    applyFilter();
}

void TfmZorv::buildZoneTree() {
    if (!session_.isOpen()) return;
    {
        const ProgressScope progress(progressWindow());
        session_.buildZones(settings_.DepartmentField, settings_.ZoneSeparator, progress.get());
    }
    catalogueWindow().setZones(session_.zones(), QString::fromStdString(settings_.MainTitle));
}

void TfmZorv::zoneTreeClicked() {
    QString name;
    ZoneFilter z;
    switch (catalogueWindow().selectedNode(&name)) {
        case TfmMainBase::TreeNode::Department:
            z = zoneTreeDepartmentFilter(settings_.DepartmentField, name.toStdString(),
                                         settings_.ZoneSeparator);
            break;
        case TfmMainBase::TreeNode::Zone:
            z = zoneTreeZoneFilter(settings_.DepartmentField, name.toStdString());
            break;
        case TfmMainBase::TreeNode::Root:
        case TfmMainBase::TreeNode::None: z = zoneTreeRootFilter(); break;
    }
    session_.setZoneFilter(z);
    applyFilter();
}

void TfmZorv::zoneListChanged() {
    const ZoneFilter z = zoneListFilter(settings_.DepartmentField, catalogueWindow().tickedZones());
    session_.setZoneFilter(z);
    applyFilter();
}

void TfmZorv::showZoneView(bool tree) {
    action(QStringLiteral("mTree"))->setChecked(tree);
    action(QStringLiteral("mZone"))->setChecked(!tree);
    catalogueWindow().showTree(tree);
    if (tree)
        zoneTreeClicked();
    else
        zoneListChanged();
}

void TfmZorv::periodFilter() {
    if (!session_.isOpen()) return;
    TfmSort& d = periodDialog();
    d.setWindowTitle(QStringLiteral("Filtr"));
    if (execDialog(d) != QDialog::Accepted) return;
    const PeriodDialogValues v = d.values();
    FilterSources& sources = session_.sources();
    sources.PeriodExpression = periodDialogExpression(v, settings_.DateField, userLocale());
    sources.PeriodDescription = periodDialogDescription(v, userLocale());
    sources.ExtraExpression = periodDialogExtraExpression(v);
    applyFilter();
}

void TfmZorv::setConnective(int tag) {
    const bool orJoin = tag == kOrTag;
    action(QStringLiteral("mAND"))->setChecked(!orJoin);
    action(QStringLiteral("mOR"))->setChecked(orJoin);
    session_.setConnective(orJoin);
    applyFilter();
}

void TfmZorv::setMapZone() {
    if (!session_.isOpen()) return;
    LocationMap* map = catalogueWindow().map();
    catalogueWindow_->regenerateSummary();
    const QRectF area = map->visibleArea();
    const ZoneFilter z = mapZoneFilter(settings_.XField, settings_.YField, area.left(), area.top(),
                                       area.right(), area.bottom());
    map->showZone(area);
    session_.setMapZoneFilter(z, MapBox{area.left(), area.top(), area.right(), area.bottom()});
    action(QStringLiteral("mLocalizedOnly"))->setChecked(true);
    applyFilter();
}

void TfmZorv::unsetMapZone() {
    catalogueWindow().map()->hideZone();
    session_.setMapZoneFilter({});
    applyFilter();
}

void TfmZorv::inverseAxes() {
    catalogueWindow().map()->setInverted(action(QStringLiteral("mInverseXAxis"))->isChecked(),
                                         action(QStringLiteral("mInverseYAxis"))->isChecked());
}

ZoneSummary TfmZorv::summarize() const {
    if (!session_.isOpen()) return {};
    const Table& catalogue = *session_.table();
    const ZoneTree& zones = session_.zones();
    ZoneSummaryFields f{settings_.DepartmentField, settings_.DateField,     settings_.XField,
                        settings_.YField,          settings_.ZoneSeparator, prefs_.LocationFilter};
    // The zones and departments chosen in the tree or the list.
    ZoneChoiceKind kind = ZoneChoiceKind::Everything;
    std::vector<std::string> names;
    if (catalogueWindow_ && catalogueWindow_->treeShown()) {
        QString name;
        switch (catalogueWindow_->selectedNode(&name)) {
            case TfmMainBase::TreeNode::Department: kind = ZoneChoiceKind::Department; break;
            case TfmMainBase::TreeNode::Zone: kind = ZoneChoiceKind::Zone; break;
            case TfmMainBase::TreeNode::Root:
            case TfmMainBase::TreeNode::None: break;
        }
        names = {name.toStdString()};
    } else if (catalogueWindow_) {
        kind = ZoneChoiceKind::TickedZones;
        names = catalogueWindow_->tickedZones();
    }
    const ZoneChoice chosen = chosenZones(zones, kind, names);
    try {
        return summarizeZones(catalogue, f, chosen.zones, chosen.departments);
    } catch (const TableError&) {
        // The location expression is reported by the filter; the map then
        // shows every event.
        f.locationFilter = " IS NOT NULL";
        return summarizeZones(catalogue, f, chosen.zones, chosen.departments);
    }
}

}  // namespace zorv

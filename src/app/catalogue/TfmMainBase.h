#pragma once
// The catalogue window: the record grid, the location map, the summaries of
// the zones and departments, the time chart and the VTAB table on five
// pages, with the zone tree or the zone list on the left. There is one; it
// is created at the first showing and closing it only minimises it.

#include <QWidget>
#include <functional>

#include "catalogue/ZoneTree.h"
#include "services/ChildWindow.h"
#include "table/Table.h"

class QListWidget;
class QStackedWidget;
class QTabWidget;
class QTableView;
class QTableWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace zorv {

class CatalogueModel;
class LocationMap;
class TimeChart;

class TfmMainBase : public QWidget, public ChildWindow {
    Q_OBJECT
public:
    enum Page { GridPage = 0, MapPage, SummaryPage, RangesPage, VtabPage };
    enum class TreeNode { None, Root, Department, Zone };

    explicit TfmMainBase(QWidget* parent = nullptr);
    ChildKind childKind() const override { return ChildKind::Catalogue; }

    // ---- the catalogue
    void setTable(Table* table, const Locale& locale);
    // Re-reads the records after a filter change, a deletion or an edit.
    void refreshRecords();
    // Puts the grid's current row on the table's current record.
    void showCurrentRecord();
    CatalogueModel* model() const { return model_; }
    QTableView* grid() const { return grid_; }
    bool fieldVisible(int field) const;
    void setFieldVisible(int field, bool visible);

    // ---- pages
    QTabWidget* pages() const { return pages_; }
    void showPage(Page page);
    void setMapPageVisible(bool visible);
    LocationMap* map() const { return map_; }
    TimeChart* timeChart() const { return timeGraph_; }
    QTableWidget* zoneGrid() const { return dane_; }
    QTableWidget* departmentGrid() const { return mainDane_; }
    // The summaries and charts are rebuilt when one of their pages is shown
    // after the selection changed; `generator` computes them.
    void setSummaryGenerator(std::function<ZoneSummary()> generator);
    void invalidateSummary();
    void regenerateSummary();
    bool summaryCurrent() const { return summaryCurrent_; }

    // ---- the zone tree and list
    void setZones(const ZoneTree& zones, const QString& rootCaption);
    void clearZones();
    QTreeWidget* zoneTree() const { return tree_; }
    QListWidget* zoneList() const { return list_; }
    void showTree(bool tree);
    bool treeShown() const;
    TreeNode selectedNode(QString* name) const;
    void selectRoot();
    std::vector<std::string> tickedZones() const;
    void untickAll();

signals:
    void treeSelectionChanged();
    void listTicksChanged();
    void currentRecordChanged();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void fillSummaryGrid(QTableWidget* grid, const std::vector<ZoneSummaryRow>& rows);

    CatalogueModel* model_;
    Table* table_ = nullptr;
    Locale locale_;
    QStackedWidget* left_;
    QTreeWidget* tree_;
    QListWidget* list_;
    QTabWidget* pages_;
    QTableView* grid_;
    LocationMap* map_;
    QTableWidget* dane_;
    QTableWidget* mainDane_;
    TimeChart* timeGraph_;
    QTableWidget* vtab_;
    std::function<ZoneSummary()> generator_;
    bool summaryCurrent_ = false;
};

}  // namespace zorv

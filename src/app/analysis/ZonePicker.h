#pragma once
// The zone chooser of the zone dialogs: a read-only copy of the department
// tree, fully expanded, and the sorted list of the zones taken into the
// chart. A zone enters the list by dragging a department or zone node from
// the tree onto it, or with the add button (the selected node, any level).

#include <QListWidget>
#include <QTreeWidget>
#include <QWidget>

#include "catalogue/ZoneTree.h"

class QPushButton;

namespace zorv {

// The list accepts drops from its tree only, and only of nodes of level 1
// (a department) or 2 (a zone).
class ZoneDropList : public QListWidget {
    Q_OBJECT
public:
    explicit ZoneDropList(QTreeWidget* source, QWidget* parent = nullptr);
    // Whether a node of the tree may be dropped here.
    bool acceptsNode(const QTreeWidgetItem* node) const;
    // Adds a zone once; the list stays sorted.
    void addZone(const QString& zone);

signals:
    void zonesChanged();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool acceptsDrag(const QDropEvent* event) const;
    QTreeWidget* source_;
};

class ZonePicker : public QWidget {
    Q_OBJECT
public:
    ZonePicker(const QString& addText, const QString& removeText, const QString& clearText,
               QWidget* parent = nullptr);

    // Refills the tree from the department tree and expands it.
    void setZones(const ZoneTree& zones, const QString& rootCaption);
    std::vector<std::string> chosenZones() const;
    void clearChosen();

    QTreeWidget* tree() const { return tree_; }
    ZoneDropList* list() const { return list_; }
    QPushButton* addButton() const { return add_; }
    QPushButton* removeButton() const { return remove_; }
    QPushButton* clearButton() const { return clear_; }
    // Tree level of a node: 0 the root, 1 a department, 2 a zone.
    static int level(const QTreeWidgetItem* node);

signals:
    void zonesChanged();

private:
    QTreeWidget* tree_;
    ZoneDropList* list_;
    QPushButton* add_;
    QPushButton* remove_;
    QPushButton* clear_;
};

}  // namespace zorv

#include "analysis/ZonePicker.h"

#include <QDragEnterEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zorv {

ZoneDropList::ZoneDropList(QTreeWidget* source, QWidget* parent) : QListWidget(parent), source_(source) {
    setSortingEnabled(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
}

bool ZoneDropList::acceptsNode(const QTreeWidgetItem* node) const {
    const int l = ZonePicker::level(node);
    return l == 1 || l == 2;
}

void ZoneDropList::addZone(const QString& zone) {
    if (zone.isEmpty() || !findItems(zone, Qt::MatchExactly).isEmpty()) return;
    addItem(zone);
    emit zonesChanged();
}

bool ZoneDropList::acceptsDrag(const QDropEvent* event) const {
    if (event->source() != source_) return false;
    const auto items = source_->selectedItems();
    return !items.isEmpty() && acceptsNode(items.first());
}

void ZoneDropList::dragEnterEvent(QDragEnterEvent* event) {
    if (acceptsDrag(event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void ZoneDropList::dragMoveEvent(QDragMoveEvent* event) {
    if (acceptsDrag(event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void ZoneDropList::dropEvent(QDropEvent* event) {
    if (!acceptsDrag(event)) {
        event->ignore();
        return;
    }
    for (const QTreeWidgetItem* node : source_->selectedItems())
        if (acceptsNode(node)) addZone(node->text(0));
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

ZonePicker::ZonePicker(const QString& addText, const QString& removeText, const QString& clearText,
                       QWidget* parent)
    : QWidget(parent),
      tree_(new QTreeWidget(this)),
      list_(new ZoneDropList(tree_, this)),
      add_(new QPushButton(addText, this)),
      remove_(new QPushButton(removeText, this)),
      clear_(new QPushButton(clearText, this)) {
    tree_->setObjectName(QStringLiteral("AvailableZones"));
    list_->setObjectName(QStringLiteral("ChosenZones"));
    tree_->setHeaderHidden(true);
    tree_->setDragEnabled(true);
    tree_->setDragDropMode(QAbstractItemView::DragOnly);
    tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(add_, &QPushButton::clicked, this, [this] {
        if (QTreeWidgetItem* node = tree_->currentItem()) list_->addZone(node->text(0));
    });
    connect(remove_, &QPushButton::clicked, this, [this] {
        qDeleteAll(list_->selectedItems());
        emit zonesChanged();
    });
    connect(clear_, &QPushButton::clicked, this, [this] { clearChosen(); });
    connect(list_, &ZoneDropList::zonesChanged, this, &ZonePicker::zonesChanged);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Dostępne strefy"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Strefy uwzględnione"), this), 0, 2);
    grid->addWidget(tree_, 1, 0);
    auto* buttons = new QVBoxLayout;
    buttons->addStretch();
    buttons->addWidget(add_);
    buttons->addWidget(remove_);
    buttons->addWidget(clear_);
    buttons->addStretch();
    grid->addLayout(buttons, 1, 1);
    grid->addWidget(list_, 1, 2);
}

int ZonePicker::level(const QTreeWidgetItem* node) {
    int l = 0;
    for (const QTreeWidgetItem* p = node ? node->parent() : nullptr; p; p = p->parent()) ++l;
    return node ? l : -1;
}

void ZonePicker::setZones(const ZoneTree& zones, const QString& rootCaption) {
    tree_->clear();
    auto* root = new QTreeWidgetItem(tree_, {rootCaption});
    for (const ZoneDepartment& d : zones.tree) {
        auto* dep = new QTreeWidgetItem(root, {QString::fromStdString(d.name)});
        for (const std::string& z : d.zones) new QTreeWidgetItem(dep, {QString::fromStdString(z)});
    }
    tree_->expandAll();
}

std::vector<std::string> ZonePicker::chosenZones() const {
    std::vector<std::string> out;
    for (int i = 0; i < list_->count(); ++i) out.push_back(list_->item(i)->text().toStdString());
    return out;
}

void ZonePicker::clearChosen() {
    list_->clear();
    emit zonesChanged();
}

}  // namespace zorv

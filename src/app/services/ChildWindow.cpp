#include "services/ChildWindow.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace zorv {

ChildKind childKindOf(const QMdiSubWindow* window) {
    if (window == nullptr) return ChildKind::None;
    const auto* child = dynamic_cast<const ChildWindow*>(window->widget());
    return child ? child->childKind() : ChildKind::None;
}

void showChildWindow(QMdiSubWindow* frame, QSize size) {
    QWidget* widget = frame->widget();
    widget->resize(size);
    frame->show();
    if (frame->isMaximized()) return;
    // The frame's title bar and borders come on top of the client size.
    const QSize decoration = (frame->size() - widget->size()).expandedTo(QSize(0, 0));
    QSize wanted = size + decoration;
    if (const QMdiArea* area = frame->mdiArea(); area && area->isVisible()) {
        const QSize free = area->viewport()->size();
        if (!free.isEmpty()) wanted = wanted.boundedTo(free);
    }
    frame->resize(wanted);
}

FileCommandState fileCommandState(ChildKind active, bool basePropertiesSet) {
    switch (active) {
        case ChildKind::PreviewTable: return {false, false, true, false};
        case ChildKind::ResultTable: return {true, false, true, false};
        case ChildKind::Chart: return {false, true, true, true};
        case ChildKind::Catalogue: return {basePropertiesSet, false, basePropertiesSet, false};
        case ChildKind::Text: return {true, true, true, false};
        case ChildKind::None: break;
    }
    return {};
}

}  // namespace zorv

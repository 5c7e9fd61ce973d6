#include "services/ChildWindow.h"

#include <QMdiSubWindow>

namespace zorv {

ChildKind childKindOf(const QMdiSubWindow* window) {
    if (window == nullptr) return ChildKind::None;
    const auto* child = dynamic_cast<const ChildWindow*>(window->widget());
    return child ? child->childKind() : ChildKind::None;
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

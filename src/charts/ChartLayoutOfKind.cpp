// chartLayout(): the layout of a chart kind from the layout of its family.

#include "charts/ChartLayout.h"
#include "charts/ChartLayoutParts.h"

namespace zorv {

ChartLayout chartLayout(ChartKind kind, const Database& a) {
    ChartLayout l;
    l.bottomTitle = a.GetBottomAxisTitle();
    l.leftTitle = a.GetLeftAxisTitle();
    l.rightTitle = a.GetRightAxisTitle();
    // The time variations are laid out by timeVariationLayout, from the
    // window's own codes; nothing here.
    for (auto* family : {layOutActivityChart, layOutZoneChart, layOutBValueChart, layOutHazardChart})
        if (family(kind, a, l)) break;
    return l;
}

}  // namespace zorv

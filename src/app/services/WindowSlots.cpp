#include "services/WindowSlots.h"

namespace zorv {

int WindowSlots::freeSlot() const {
    for (int i = 0; i < kCount; ++i)
        if (counters_[static_cast<std::size_t>(i)] == 0) return i;
    return 0;
}

bool WindowSlots::release(int slot) {
    std::int32_t& c = counters_.at(static_cast<std::size_t>(slot));
    // A window never released more often than acquired; guard anyway so a
    // slot cannot go negative and be counted as in use.
    if (c > 0) --c;
    return c == 0;
}

}  // namespace zorv

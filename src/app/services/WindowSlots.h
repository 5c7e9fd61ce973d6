#pragma once
// The result-window slots: each counts the chart windows showing one
// analysis object, which lives until the last of them closes.

#include <array>
#include <cstdint>

namespace zorv {

class WindowSlots {
public:
    static constexpr int kCount = 50;

    // The lowest slot nobody uses; slot 0 when all are taken.
    int freeSlot() const;
    // A chart window starts showing the slot's object.
    void acquire(int slot) { ++counters_.at(static_cast<std::size_t>(slot)); }
    // A chart window of the slot closes; true when it was the last one, so
    // the caller destroys the analysis object.
    bool release(int slot);
    std::int32_t count(int slot) const { return counters_.at(static_cast<std::size_t>(slot)); }

private:
    std::array<std::int32_t, kCount> counters_{};
};

}  // namespace zorv

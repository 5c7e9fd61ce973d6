#pragma once
// Runs the nodes of a map on worker threads while the calling thread shows
// the progress: it wakes at least every kPollInterval, reports the nodes
// done and asks whether the user pressed cancel. Each node writes its own
// result slot, so the results do not depend on the number of threads or on
// which thread ran which node.

#include <chrono>
#include <cstddef>
#include <functional>

#include "hazard/HazardBootstrap.h"

namespace zorv {

inline constexpr std::chrono::milliseconds kPollInterval{40};

// Runs work(node, stop) for every node on `threads` workers (0: every core).
// `poll` runs on the calling thread with the nodes done so far and returns
// true to stop; the workers then finish their current node (which polls
// `stop` on its way) and EBreakProcess is raised. A node's exception stops
// the run and passes on.
void RunNodes(std::size_t count, int threads, const std::function<void(std::size_t, const StopTest&)>& work,
              const std::function<bool(std::size_t)>& poll);

}  // namespace zorv

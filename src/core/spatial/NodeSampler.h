#pragma once
// The events of each node of a map, chosen in one of the two ways of the
// grid-based mapping of frequency–magnitude statistics: all events within a
// radius R of the node, or the N nearest events within a largest radius
// Rmax (constant-number sampling; S. Wiemer and M. Wyss, Mapping the
// frequency–magnitude distribution in asperities, J. Geophys. Res. 102,
// 1997). The events are found through a k-d tree (nanoflann) built once
// over the located events; distances are planar, in catalogue units.

#include <cstdint>
#include <memory>
#include <vector>

#include "spatial/MapGrid.h"

namespace zorv {

enum class SamplingKind : std::uint8_t {
    Radius,   // every event within R
    Nearest,  // the N nearest within Rmax
};

struct SamplingRequest {
    SamplingKind kind = SamplingKind::Nearest;
    double radius = 0.0;     // R [catalogue units]
    int nearest = 200;       // N
    double maxRadius = 0.0;  // Rmax [catalogue units]; 0: no limit
    int minEvents = 50;      // fewer events leave the node empty
};

// The message refusing a request, or an empty text: a radius that is not
// positive, N below 2, a minimum above N or below 2.
std::string SamplingProblem(const SamplingRequest& request);

// One node's sample: the indices of its events in ascending order (so in
// record order) and the radius of the circle searched [catalogue units]:
// R, or for the N nearest the distance of the farthest one taken, or Rmax
// when fewer than N lie within it.
struct NodeSample {
    std::vector<std::uint32_t> events;
    double radius = 0.0;
};

class NodeSampler {
public:
    explicit NodeSampler(const std::vector<PlanPoint>& events);
    ~NodeSampler();
    NodeSampler(const NodeSampler&) = delete;
    NodeSampler& operator=(const NodeSampler&) = delete;

    // Safe to call from several threads at once.
    NodeSample sample(double x, double y, const SamplingRequest& request) const;
    // The distance from (x, y) to the nearest event.
    double nearestDistance(double x, double y) const;

private:
    struct Tree;
    std::unique_ptr<Tree> tree_;
};

}  // namespace zorv

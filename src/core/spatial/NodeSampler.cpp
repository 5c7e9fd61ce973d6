#include "spatial/NodeSampler.h"

#include <algorithm>
#include <cmath>
#include <nanoflann.hpp>
#include <string>
#include <utility>

namespace zorv {

namespace {

// The events as nanoflann reads a point cloud.
struct Cloud {
    const std::vector<PlanPoint>& points;
    std::size_t kdtree_get_point_count() const { return points.size(); }
    double kdtree_get_pt(std::size_t i, std::size_t dim) const {
        return dim == 0 ? points[i].x : points[i].y;
    }
    template <class Box>
    bool kdtree_get_bbox(Box&) const {
        return false;
    }
};

using KdTree =
    nanoflann::KDTreeSingleIndexAdaptor<nanoflann::L2_Simple_Adaptor<double, Cloud>, Cloud, 2, std::uint32_t>;

}  // namespace

struct NodeSampler::Tree {
    explicit Tree(const std::vector<PlanPoint>& events)
        : points(events), cloud{points}, index(2, cloud, nanoflann::KDTreeSingleIndexAdaptorParams(16)) {
        index.buildIndex();
    }
    std::vector<PlanPoint> points;
    Cloud cloud;
    KdTree index;
};

std::string SamplingProblem(const SamplingRequest& r) {
    if (r.minEvents < 2) return "Minimalna liczba zjawisk w węźle musi wynosić co najmniej 2.";
    if (r.kind == SamplingKind::Radius) {
        if (!(r.radius > 0.0) || !std::isfinite(r.radius)) return "Promień R musi być liczbą dodatnią.";
        return {};
    }
    if (r.nearest < 2) return "Liczba najbliższych zjawisk N musi wynosić co najmniej 2.";
    if (!(r.maxRadius >= 0.0) || !std::isfinite(r.maxRadius))
        return "Największy promień Rmax musi być liczbą dodatnią (0: bez ograniczenia).";
    if (r.minEvents > r.nearest)
        return "Minimalna liczba zjawisk w węźle (" + std::to_string(r.minEvents) +
               ") nie może przekraczać liczby najbliższych zjawisk N (" + std::to_string(r.nearest) + ").";
    return {};
}

NodeSampler::NodeSampler(const std::vector<PlanPoint>& events) : tree_(std::make_unique<Tree>(events)) {}

NodeSampler::~NodeSampler() = default;

NodeSample NodeSampler::sample(double x, double y, const SamplingRequest& r) const {
    const double query[2] = {x, y};
    NodeSample s;
    if (r.kind == SamplingKind::Radius) {
        std::vector<std::pair<std::uint32_t, double>> found;
        // The squared distance of the metric is compared with ≤, so an event
        // exactly at R belongs to the node.
        tree_->index.radiusSearch(query, r.radius * r.radius, found,
                                  nanoflann::SearchParams(32, 0.0f, false));
        s.events.reserve(found.size());
        for (const auto& f : found) s.events.push_back(f.first);
        s.radius = r.radius;
    } else {
        const std::size_t k = std::min(static_cast<std::size_t>(r.nearest), tree_->points.size());
        std::vector<std::uint32_t> index(k);
        std::vector<double> squared(k);
        const std::size_t n = tree_->index.knnSearch(query, k, index.data(), squared.data());
        const double limit = r.maxRadius > 0.0 ? r.maxRadius * r.maxRadius : INFINITY;
        double farthest = 0.0;
        for (std::size_t i = 0; i < n; ++i) {
            if (squared[i] > limit) continue;
            s.events.push_back(index[i]);
            farthest = std::max(farthest, squared[i]);
        }
        s.radius = s.events.size() < static_cast<std::size_t>(r.nearest) && r.maxRadius > 0.0
                       ? r.maxRadius
                       : std::sqrt(farthest);
    }
    std::sort(s.events.begin(), s.events.end());
    return s;
}

double NodeSampler::nearestDistance(double x, double y) const {
    const double query[2] = {x, y};
    std::uint32_t index = 0;
    double squared = 0.0;
    if (tree_->index.knnSearch(query, 1, &index, &squared) == 0) return INFINITY;
    return std::sqrt(squared);
}

}  // namespace zorv

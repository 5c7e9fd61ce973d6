#include "interchange/Projection.h"

#include <proj.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "interchange/TextImport.h"

namespace zorv {

struct Projection::Handles {
    PJ_CONTEXT* context = nullptr;
    PJ* transform = nullptr;
    std::string name;
    ~Handles() {
        if (transform) proj_destroy(transform);
        if (context) proj_context_destroy(context);
    }
};

namespace {

std::string pointText(double a, double b) {
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "(%.6f, %.6f)", a, b);
    return buffer;
}

}  // namespace

Projection::Projection(int epsg) : h_(std::make_unique<Handles>()), epsg_(epsg) {
    // A context of its own: PROJ contexts are not shared between threads and
    // keep their own error state.
    h_->context = proj_context_create();
    proj_log_level(h_->context, PJ_LOG_NONE);
    const std::string code = "EPSG:" + std::to_string(epsg);
    PJ* target = proj_create(h_->context, code.c_str());
    const auto refuse = [&](const std::string& why) {
        if (target) proj_destroy(target);
        throw ImportError("Układ współrzędnych " + code + " " + why +
                          " Podaj kod EPSG układu płaskiego (np. 2180 albo strefy UTM 32634).");
    };
    if (!target) refuse("jest nieznany.");
    const PJ_TYPE type = proj_get_type(target);
    if (type != PJ_TYPE_PROJECTED_CRS) refuse("nie jest układem płaskim (współrzędne w metrach).");
    if (const char* name = proj_get_name(target)) h_->name = name;
    PJ* wgs84 = proj_create(h_->context, "EPSG:4326");
    PJ* raw = wgs84 ? proj_create_crs_to_crs_from_pj(h_->context, wgs84, target, nullptr, nullptr) : nullptr;
    if (wgs84) proj_destroy(wgs84);
    proj_destroy(target);
    target = nullptr;
    if (!raw) refuse("nie daje się przeliczyć z WGS 84.");
    // Longitude first and easting first, whatever the CRS's axis order.
    h_->transform = proj_normalize_for_visualization(h_->context, raw);
    proj_destroy(raw);
    if (!h_->transform) refuse("nie daje się przeliczyć z WGS 84.");
}

Projection::~Projection() = default;
const Projection& Projection::ofThread(int epsg) {
    constexpr std::size_t kKept = 8;
    thread_local std::vector<std::unique_ptr<Projection>> kept;
    for (std::size_t i = 0; i < kept.size(); ++i) {
        if (kept[i]->epsg_ != epsg) continue;
        // The newest use first: the oldest is the one let go.
        std::rotate(kept.begin(), kept.begin() + static_cast<std::ptrdiff_t>(i),
                    kept.begin() + static_cast<std::ptrdiff_t>(i) + 1);
        return *kept.front();
    }
    auto made = std::make_unique<Projection>(epsg);
    if (kept.size() == kKept) kept.pop_back();
    kept.insert(kept.begin(), std::move(made));
    return *kept.front();
}

Projection::Projection(Projection&&) noexcept = default;
Projection& Projection::operator=(Projection&&) noexcept = default;

std::string Projection::description() const {
    return "EPSG:" + std::to_string(epsg_) + (h_->name.empty() ? "" : " (" + h_->name + ")");
}

Projection::Plane Projection::forward(double longitude, double latitude) const {
    if (!(std::fabs(latitude) <= 90) || !(std::fabs(longitude) <= 360))
        throw ImportError("Współrzędne geograficzne " + pointText(longitude, latitude) +
                          " są poza zakresem (długość -180..180, szerokość -90..90 stopni).");
    const PJ_COORD out = proj_trans(h_->transform, PJ_FWD, proj_coord(longitude, latitude, 0, 0));
    if (!std::isfinite(out.xy.x) || !std::isfinite(out.xy.y))
        throw ImportError("Punktu " + pointText(longitude, latitude) + " nie da się przeliczyć do układu " +
                          description() + ".");
    return {out.xy.x, out.xy.y};
}

Projection::Geographic Projection::inverse(double x, double y) const {
    const PJ_COORD out = proj_trans(h_->transform, PJ_INV, proj_coord(x, y, 0, 0));
    if (!std::isfinite(out.lp.lam) || !std::isfinite(out.lp.phi))
        throw ImportError("Punktu X/Y " + pointText(x, y) + " nie da się przeliczyć z układu " +
                          description() + " na długość i szerokość geograficzną.");
    return {out.lp.lam, out.lp.phi};
}

int utmZoneEpsg(double longitude, double latitude) {
    double lon = std::fmod(longitude + 180.0, 360.0);
    if (lon < 0) lon += 360.0;
    int zone = static_cast<int>(std::floor(lon / 6.0)) + 1;
    if (zone > 60) zone = 60;
    return (latitude >= 0 ? 32600 : 32700) + zone;
}

int parseEpsg(const std::string& text) {
    std::string t = text;
    if (t.size() > 5 && (t.compare(0, 5, "EPSG:") == 0 || t.compare(0, 5, "epsg:") == 0)) t = t.substr(5);
    if (t.empty() || t.size() > 6) return 0;
    int code = 0;
    for (const char c : t) {
        if (c < '0' || c > '9') return 0;
        code = code * 10 + (c - '0');
    }
    return code;
}

}  // namespace zorv

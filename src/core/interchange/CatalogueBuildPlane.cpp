// The plane co-ordinates of a catalogue's records, read or projected from
// longitude and latitude.

#include "interchange/CatalogueBuild.h"
#include "interchange/Projection.h"

namespace zorv::catalogue_build {

void Builder::readPlane() {
    x_.assign(n_, kNull);
    y_.assign(n_, kNull);
    if (has(ColumnRole::X)) {
        havePlane_ = true;
        for (std::size_t r = 0; r < n_; ++r) {
            x_[r] = number(r, col(ColumnRole::X));
            y_[r] = number(r, col(ColumnRole::Y));
        }
    }
}

void Builder::project(CatalogueBuildReport& report) {
    if (has(ColumnRole::X) || !has(ColumnRole::Longitude)) return;
    havePlane_ = true;
    const int clon = col(ColumnRole::Longitude), clat = col(ColumnRole::Latitude);
    std::vector<double> lon(n_), lat(n_);
    double sumLon = 0, sumLat = 0;
    std::size_t located = 0;
    for (std::size_t r = 0; r < n_; ++r) {
        lon[r] = number(r, clon);
        lat[r] = number(r, clat);
        if (std::isnan(lon[r]) || std::isnan(lat[r])) continue;
        if (std::fabs(lat[r]) > 90 || std::fabs(lon[r]) > 180)
            throw ImportError("Współrzędne " + std::string(cell(r, clon)) + ", " +
                              std::string(cell(r, clat)) +
                              " nie są długością i szerokością geograficzną (wiersz " +
                              std::to_string(rows_.lineOf(r)) + ").");
        sumLon += lon[r];
        sumLat += lat[r];
        ++located;
    }
    const int epsg = o_.epsg != 0 ? o_.epsg
                                  : utmZoneEpsg(located ? sumLon / double(located) : 0.0,
                                                located ? sumLat / double(located) : 0.0);
    const Projection& projection = Projection::ofThread(epsg);
    report.crs = projection.description();
    report.epsg = epsg;
    for (std::size_t r = 0; r < n_; ++r) {
        tick(r);
        if (std::isnan(lon[r]) || std::isnan(lat[r])) continue;
        const auto p = projection.forward(lon[r], lat[r]);
        x_[r] = p.x;
        y_[r] = p.y;
    }
}

}  // namespace zorv::catalogue_build

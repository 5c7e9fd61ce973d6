#pragma once
// Geographic co-ordinates (WGS 84 longitude and latitude [degrees]) to the
// catalogue's plane X (easting) and Y (northing) [m] and back, in a projected
// CRS named by its EPSG code, through PROJ. By default the UTM zone (WGS 84,
// EPSG 326zz north, 327zz south) of the events' mean longitude; events far
// outside that zone are still projected in it, as one catalogue has one
// plane.

#include <memory>
#include <string>
#include <vector>

namespace zorv {

class Projection {
public:
    // Throws ImportError with a message when PROJ does not know the code or
    // the CRS is not a projected one.
    explicit Projection(int epsg);
    // The projection of a code made once in the calling thread and kept
    // (the last few codes): making one opens PROJ's database and searches
    // the operation, a millisecond or more, where a point takes a
    // microsecond. Throws as the constructor does.
    static const Projection& ofThread(int epsg);
    ~Projection();
    Projection(Projection&&) noexcept;
    Projection& operator=(Projection&&) noexcept;

    int epsg() const { return epsg_; }
    // "EPSG:32634 (WGS 84 / UTM zone 34N)".
    std::string description() const;

    struct Plane {
        double x = 0, y = 0;  // easting, northing [m]
    };
    struct Geographic {
        double longitude = 0, latitude = 0;  // [degrees]
    };
    // Throws ImportError naming the point when it cannot be projected.
    Plane forward(double longitude, double latitude) const;
    Geographic inverse(double x, double y) const;

private:
    struct Handles;
    std::unique_ptr<Handles> h_;
    int epsg_ = 0;
};

// The EPSG code of the WGS 84 UTM zone of a longitude (and hemisphere of a
// latitude): 326zz north of the equator, 327zz south.
int utmZoneEpsg(double longitude, double latitude);

// The code of an option "EPSG:2180", "epsg:2180" or "2180"; 0 when it is none.
int parseEpsg(const std::string& text);

}  // namespace zorv

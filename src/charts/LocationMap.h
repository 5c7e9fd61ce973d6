#pragma once
// The location map of the catalogue window: one point series per department
// at the events' X, Y co-ordinates, the rectangle "Obszar" of the map zone,
// zooming and axis inversion; and the time chart: one row of points per
// department along the time axis.

#include <qcustomplot.h>

#include <QRectF>

#include "catalogue/ZoneTree.h"

namespace zorv {

class LocationMap : public QCustomPlot {
    Q_OBJECT
public:
    explicit LocationMap(QWidget* parent = nullptr);

    // Redraws the department series; the view shows all points, or the zone
    // rectangle when one is set.
    void generate(const std::vector<DepartmentPoints>& departments);
    int departmentSeriesCount() const { return graphCount(); }
    QCPGraph* departmentSeries(int i) const { return graph(i); }

    // The visible area: bottom axis for X, left axis for Y.
    QRectF visibleArea() const;
    // Scales the view about its centre: 1.25 shows 125 % (zoom in).
    void zoomTo(double percent);
    // Back to the extent of all points.
    void undoZoom();

    // The map zone rectangle ("Obszar").
    void showZone(const QRectF& area);
    void hideZone();
    bool zoneShown() const;
    QRectF zone() const { return zone_; }

    void setInverted(bool x, bool y);
    // Switches off the series of index 1 (the first after "Obszar").
    void hideSecondSeries();
    // Map units per screen pixel along the axis; X and Y keep one scale.
    double unitsPerPixel(const QCPAxis* axis) const;

private:
    void keepEqualScale();
    int rescalings_ = 0;  // replots in a row that changed a range

    QCPItemRect* rect_;
    QRectF zone_;
    QCPRange fullX_{0, 1}, fullY_{0, 1};
};

class TimeChart : public QCustomPlot {
    Q_OBJECT
public:
    explicit TimeChart(QWidget* parent = nullptr);
    void generate(const std::vector<DepartmentPoints>& departments);
};

// Seconds since 1970 of a day number, the time axis of QCustomPlot.
double dayToPlotTime(std::int32_t dayNumber);

}  // namespace zorv

#include "charts/MetafilePaintEngine.h"

#include <QPainterPath>
#include <QTextItem>
#include <cmath>

namespace zorv {

namespace {

MetaPen::Style penStyle(Qt::PenStyle s) {
    switch (s) {
        case Qt::NoPen: return MetaPen::None;
        case Qt::DashLine: return MetaPen::Dash;
        case Qt::DotLine: return MetaPen::Dot;
        case Qt::DashDotLine: return MetaPen::DashDot;
        case Qt::DashDotDotLine: return MetaPen::DashDotDot;
        default: return MetaPen::Solid;
    }
}

QColor brushColour(const QBrush& b) {
    if (const QGradient* g = b.gradient(); g && !g->stops().isEmpty()) return g->stops().first().second;
    return b.color();
}

}  // namespace

std::uint32_t colourRef(const QColor& c) {
    return static_cast<std::uint32_t>(c.red()) | (static_cast<std::uint32_t>(c.green()) << 8) |
           (static_cast<std::uint32_t>(c.blue()) << 16);
}

int MetafileDevice::metric(PaintDeviceMetric m) const {
    switch (m) {
        case PdmWidth: return size_.width();
        case PdmHeight: return size_.height();
        case PdmWidthMM: return qRound(size_.width() * 25.4 / 96.0);
        case PdmHeightMM: return qRound(size_.height() * 25.4 / 96.0);
        case PdmNumColors: return 0xFFFFFF;
        case PdmDepth: return 24;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY: return 96;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return static_cast<int>(devicePixelRatioFScale());
        default: return 0;
    }
}

MetafilePaintEngine::MetafilePaintEngine() : QPaintEngine(AllFeatures) {}

bool MetafilePaintEngine::begin(QPaintDevice*) {
    setActive(true);
    return true;
}

bool MetafilePaintEngine::end() {
    setActive(false);
    return true;
}

void MetafilePaintEngine::updateState(const QPaintEngineState& s) {
    const auto dirty = s.state();
    if (dirty & DirtyTransform) transform_ = s.transform();
    if (dirty & DirtyPen) pen_ = s.pen();
    if (dirty & DirtyBrush) brush_ = s.brush();
    if (dirty & DirtyFont) font_ = s.font();
}

void MetafilePaintEngine::usePen(bool stroke) {
    MetaPen p;
    if (!stroke || pen_.style() == Qt::NoPen || pen_.brush().style() == Qt::NoBrush) {
        p.style = MetaPen::None;
    } else {
        p.style = penStyle(pen_.style());
        // A cosmetic pen keeps its width in pixels; any other one scales.
        const double scale = pen_.isCosmetic() ? 1.0 : std::sqrt(std::abs(transform_.determinant()));
        p.width = std::max(1, static_cast<int>(std::lround(pen_.widthF() * scale)));
        p.colour = colourRef(brushColour(pen_.brush()));
    }
    selectPen(p);
}

void MetafilePaintEngine::useBrush(bool fill) {
    MetaBrush b;
    if (fill && brush_.style() != Qt::NoBrush && brushColour(brush_).alpha() > 0) {
        b.none = false;
        b.colour = colourRef(brushColour(brush_));
    }
    selectBrush(b);
}

void MetafilePaintEngine::drawPath(const QPainterPath& path) {
    winding_ = path.fillRule() == Qt::WindingFill;
    const QList<QPolygonF> parts = path.toSubpathPolygons(transform_);
    for (const QPolygonF& part : parts) {
        const QPolygon p = part.toPolygon();
        if (p.size() < 2) continue;
        // An open subpath is filled as if closed, so a fill goes by polygon
        // and a lone stroke by polyline.
        const bool fill = brush_.style() != Qt::NoBrush;
        if (fill) {
            usePen(part.isClosed());
            useBrush(true);
            polygon(p, winding_);
            if (!part.isClosed() && pen_.style() != Qt::NoPen) {
                usePen(true);
                polyline(p);
            }
        } else {
            usePen(true);
            polyline(p);
        }
    }
}

void MetafilePaintEngine::drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) {
    QPolygonF poly;
    poly.reserve(count);
    for (int i = 0; i < count; ++i) poly << transform_.map(points[i]);
    const QPolygon p = poly.toPolygon();
    if (mode == PolylineMode) {
        usePen(true);
        polyline(p);
        return;
    }
    usePen(true);
    useBrush(true);
    polygon(p, mode == WindingMode);
}

void MetafilePaintEngine::drawLines(const QLineF* lines, int count) {
    usePen(true);
    for (int i = 0; i < count; ++i)
        polyline(QPolygon{transform_.map(lines[i].p1()).toPoint(), transform_.map(lines[i].p2()).toPoint()});
}

void MetafilePaintEngine::drawRects(const QRectF* rects, int count) {
    for (int i = 0; i < count; ++i) {
        const QPolygonF corners = transform_.map(QPolygonF(rects[i]));
        usePen(true);
        useBrush(true);
        polygon(corners.toPolygon(), false);
    }
}

void MetafilePaintEngine::drawEllipse(const QRectF& r) {
    usePen(true);
    useBrush(true);
    if (transform_.isRotating()) {
        QPainterPath path;
        path.addEllipse(r);
        drawPath(path);
        return;
    }
    ellipse(transform_.mapRect(r).toRect());
}

void MetafilePaintEngine::drawTextItem(const QPointF& p, const QTextItem& item) {
    const QString s = item.text();
    if (s.trimmed().isEmpty()) return;
    const QFont f = item.font();
    MetaFont mf;
    mf.family = f.family();
    // The painter's scale applies to the font as to everything else.
    const double scale = std::sqrt(std::abs(transform_.determinant()));
    const double pixels = f.pixelSize() > 0 ? f.pixelSize() : f.pointSizeF() * 96.0 / 72.0;
    mf.height = std::max(1, static_cast<int>(std::lround(pixels * scale)));
    mf.weight = f.bold() ? 700 : 400;
    mf.italic = f.italic();
    // The baseline's direction on the device, counter-clockwise from the
    // x axis (device y points down).
    const QPointF along = transform_.map(QPointF(1, 0)) - transform_.map(QPointF(0, 0));
    const double degrees = std::atan2(-along.y(), along.x()) * 180.0 / M_PI;
    mf.escapement = static_cast<int>(std::lround(degrees * 10.0));
    selectFont(mf);
    setTextColour(colourRef(pen_.color()));
    text(transform_.map(p).toPoint(), s);
}

void MetafilePaintEngine::image(const QRect&, const QImage&) {}

void MetafilePaintEngine::drawPixmap(const QRectF& r, const QPixmap& pm, const QRectF& sr) {
    drawImage(r, pm.toImage(), sr, Qt::AutoColor);
}

void MetafilePaintEngine::drawImage(const QRectF& r, const QImage& img, const QRectF& sr,
                                    Qt::ImageConversionFlags) {
    image(transform_.mapRect(r).toRect(), img.copy(sr.toRect()));
}

}  // namespace zorv

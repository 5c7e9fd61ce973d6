#pragma once
// The common half of our two metafile writers: a QPaintEngine that takes
// whatever QPainter draws (the chart draws lines, polylines, rectangles,
// filled polygons, ellipses and text), applies the painter's transform, and
// hands the result in device pixels to a record writer as GDI-like
// primitives with the current pen, brush and font. Clipping is left out: the
// chart keeps its plottables inside the axis rectangle by their ranges.
// Gradients become their first colour; transparency is dropped.

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPolygon>
#include <QTransform>

namespace zorv {

// A pen, brush or font as a metafile record holds it.
struct MetaPen {
    enum Style { Solid = 0, Dash = 1, Dot = 2, DashDot = 3, DashDotDot = 4, None = 5 } style = Solid;
    int width = 1;           // [px]
    std::uint32_t colour{};  // COLORREF, red in the lowest byte
    friend bool operator==(const MetaPen&, const MetaPen&) = default;
};
struct MetaBrush {
    bool none = true;
    std::uint32_t colour{};
    friend bool operator==(const MetaBrush&, const MetaBrush&) = default;
};
struct MetaFont {
    QString family;
    int height = 12;   // character height [px]
    int weight = 400;  // 400 normal, 700 bold
    bool italic = false;
    int escapement = 0;  // [0.1°] counter-clockwise
    friend bool operator==(const MetaFont&, const MetaFont&) = default;
};

class MetafilePaintEngine : public QPaintEngine {
public:
    MetafilePaintEngine();

    bool begin(QPaintDevice* device) override;
    bool end() override;
    void updateState(const QPaintEngineState& state) override;
    void drawPath(const QPainterPath& path) override;
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override;
    void drawLines(const QLineF* lines, int count) override;
    void drawRects(const QRectF* rects, int count) override;
    void drawEllipse(const QRectF& rect) override;
    void drawTextItem(const QPointF& p, const QTextItem& item) override;
    void drawPixmap(const QRectF& r, const QPixmap& pm, const QRectF& sr) override;
    void drawImage(const QRectF& r, const QImage& image, const QRectF& sr,
                   Qt::ImageConversionFlags flags) override;
    Type type() const override { return User; }

protected:
    // The record writer's primitives, in device pixels.
    virtual void selectPen(const MetaPen& pen) = 0;
    virtual void selectBrush(const MetaBrush& brush) = 0;
    virtual void selectFont(const MetaFont& font) = 0;
    virtual void setTextColour(std::uint32_t colour) = 0;
    virtual void polyline(const QPolygon& points) = 0;
    virtual void polygon(const QPolygon& points, bool winding) = 0;
    virtual void ellipse(const QRect& box) = 0;
    // Text with its baseline's left end at `at`.
    virtual void text(const QPoint& at, const QString& text) = 0;
    // A bitmap into `target`; the default draws nothing.
    virtual void image(const QRect& target, const QImage& image);

private:
    void usePen(bool stroke);
    void useBrush(bool fill);

    QTransform transform_;
    QPen pen_;
    QBrush brush_;
    QFont font_;
    bool winding_ = false;
};

// The paint device a metafile engine draws on: its size in pixels at 96 dpi.
class MetafileDevice : public QPaintDevice {
public:
    MetafileDevice(QPaintEngine* engine, QSize size) : engine_(engine), size_(size) {}
    QPaintEngine* paintEngine() const override { return engine_; }

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QPaintEngine* engine_;
    QSize size_;
};

std::uint32_t colourRef(const QColor& colour);

}  // namespace zorv

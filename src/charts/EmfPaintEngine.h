#pragma once
// Enhanced metafiles through libEMF, the GDI-like EMF writer: our pens,
// brushes and fonts become its GDI objects, the chart's lines, polygons,
// ellipses and text its drawing records, one logical unit a screen pixel.
// The file is built in memory; the caller writes it.

#include <QByteArray>
#include <memory>

#include "charts/MetafilePaintEngine.h"

namespace zorv {

class EmfPaintEngine : public MetafilePaintEngine {
public:
    explicit EmfPaintEngine(QSize size);
    ~EmfPaintEngine() override;
    // Closes the metafile and returns the whole file; empty on failure.
    QByteArray finish();

protected:
    void selectPen(const MetaPen& pen) override;
    void selectBrush(const MetaBrush& brush) override;
    void selectFont(const MetaFont& font) override;
    void setTextColour(std::uint32_t colour) override;
    void polyline(const QPolygon& points) override;
    void polygon(const QPolygon& points, bool winding) override;
    void ellipse(const QRect& box) override;
    void text(const QPoint& at, const QString& text) override;

private:
    struct Gdi;
    std::unique_ptr<Gdi> gdi_;
};

}  // namespace zorv

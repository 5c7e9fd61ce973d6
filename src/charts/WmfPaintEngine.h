#pragma once
// Windows metafiles (placeable WMF) written record by record: the 22-byte
// placeable header with its checksum, the metafile header, the window
// origin and extent of the picture, pens, brushes and fonts as GDI objects
// kept in the metafile's object table, polylines, polygons, ellipses and
// text in windows-1250 with the East European character set, so that Polish
// letters survive. Coordinates are 16-bit: a picture is at most 32767 px.

#include <QByteArray>
#include <optional>
#include <vector>

#include "charts/MetafilePaintEngine.h"

namespace zorv {

class WmfPaintEngine : public MetafilePaintEngine {
public:
    explicit WmfPaintEngine(QSize size);
    // The whole file, once painting has ended.
    QByteArray file() const;

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
    void record(std::uint16_t function, const std::vector<std::uint16_t>& words);
    // A new object takes the lowest free slot of the object table, is
    // selected, and the object it replaces is deleted.
    void replaceObject(std::optional<int>& current, std::uint16_t function,
                       const std::vector<std::uint16_t>& words);

    QSize size_;
    QByteArray records_;
    std::vector<bool> used_;     // the object table
    std::uint32_t largest_ = 0;  // the largest record [words]
    std::optional<int> pen_, brush_, font_;
    std::optional<MetaPen> penNow_;
    std::optional<MetaBrush> brushNow_;
    std::optional<MetaFont> fontNow_;
    std::optional<std::uint32_t> textColour_;
    std::optional<bool> winding_;
};

}  // namespace zorv

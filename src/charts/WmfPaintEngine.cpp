#include "charts/WmfPaintEngine.h"

#include <algorithm>

#include "text/Cp1250.h"

namespace zorv {

namespace {

// Record functions of the Windows metafile format.
enum : std::uint16_t {
    kEof = 0x0000,
    kSetBkMode = 0x0102,
    kSetMapMode = 0x0103,
    kSetPolyFillMode = 0x0106,
    kSetTextAlign = 0x012E,
    kSelectObject = 0x012D,
    kDeleteObject = 0x01F0,
    kSetTextColor = 0x0209,
    kSetWindowOrg = 0x020B,
    kSetWindowExt = 0x020C,
    kCreatePenIndirect = 0x02FA,
    kCreateFontIndirect = 0x02FB,
    kCreateBrushIndirect = 0x02FC,
    kPolygon = 0x0324,
    kPolyline = 0x0325,
    kEllipse = 0x0418,
    kExtTextOut = 0x0A32,
};
constexpr std::uint16_t kTransparent = 1, kAnisotropic = 8, kAlternate = 1, kWinding = 2;
constexpr std::uint16_t kBaselineLeft = 24;  // TA_BASELINE | TA_LEFT
constexpr std::uint8_t kEastEurope = 238;
constexpr int kUnitsPerInch = 96;

std::uint16_t word(int v) {
    return static_cast<std::uint16_t>(static_cast<std::int16_t>(std::clamp(v, -32768, 32767)));
}

void put16(QByteArray& out, std::uint16_t v) {
    out.append(static_cast<char>(v & 0xFF));
    out.append(static_cast<char>(v >> 8));
}
void put32(QByteArray& out, std::uint32_t v) {
    put16(out, static_cast<std::uint16_t>(v & 0xFFFF));
    put16(out, static_cast<std::uint16_t>(v >> 16));
}

void pushColour(std::vector<std::uint16_t>& w, std::uint32_t c) {
    w.push_back(static_cast<std::uint16_t>(c & 0xFFFF));
    w.push_back(static_cast<std::uint16_t>(c >> 16));
}

// Bytes packed into little-endian words, padded with a zero to an even count.
void pushBytes(std::vector<std::uint16_t>& w, const std::string& bytes) {
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        const auto lo = static_cast<unsigned char>(bytes[i]);
        const auto hi = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0u;
        w.push_back(static_cast<std::uint16_t>(lo | (hi << 8)));
    }
}

void pushPoints(std::vector<std::uint16_t>& w, const QPolygon& points) {
    w.push_back(word(static_cast<int>(points.size())));
    for (const QPoint& p : points) {
        w.push_back(word(p.x()));
        w.push_back(word(p.y()));
    }
}

}  // namespace

WmfPaintEngine::WmfPaintEngine(QSize size) : size_(size) {
    record(kSetMapMode, {kAnisotropic});
    record(kSetWindowOrg, {0, 0});
    record(kSetWindowExt, {word(size.height()), word(size.width())});
    record(kSetBkMode, {kTransparent});
    record(kSetTextAlign, {kBaselineLeft});
}

void WmfPaintEngine::record(std::uint16_t function, const std::vector<std::uint16_t>& words) {
    const auto size = static_cast<std::uint32_t>(3 + words.size());
    largest_ = std::max(largest_, size);
    put32(records_, size);
    put16(records_, function);
    for (std::uint16_t w : words) put16(records_, w);
}

void WmfPaintEngine::replaceObject(std::optional<int>& current, std::uint16_t function,
                                   const std::vector<std::uint16_t>& words) {
    const auto free = std::find(used_.begin(), used_.end(), false);
    const int slot = static_cast<int>(free - used_.begin());
    if (free == used_.end())
        used_.push_back(true);
    else
        *free = true;
    record(function, words);
    record(kSelectObject, {static_cast<std::uint16_t>(slot)});
    if (current) {
        record(kDeleteObject, {static_cast<std::uint16_t>(*current)});
        used_[static_cast<std::size_t>(*current)] = false;
    }
    current = slot;
}

void WmfPaintEngine::selectPen(const MetaPen& pen) {
    if (penNow_ == pen) return;
    penNow_ = pen;
    std::vector<std::uint16_t> w{static_cast<std::uint16_t>(pen.style), word(pen.width), 0};
    pushColour(w, pen.colour);
    replaceObject(pen_, kCreatePenIndirect, w);
}

void WmfPaintEngine::selectBrush(const MetaBrush& brush) {
    if (brushNow_ == brush) return;
    brushNow_ = brush;
    std::vector<std::uint16_t> w{static_cast<std::uint16_t>(brush.none ? 1 : 0)};
    pushColour(w, brush.colour);
    w.push_back(0);
    replaceObject(brush_, kCreateBrushIndirect, w);
}

void WmfPaintEngine::selectFont(const MetaFont& font) {
    if (fontNow_ == font) return;
    fontNow_ = font;
    std::vector<std::uint16_t> w{word(-font.height), 0, word(font.escapement), word(font.escapement),
                                 word(font.weight)};
    // italic, underline, strike-out, character set, precisions, quality,
    // pitch and family.
    w.push_back(static_cast<std::uint16_t>(font.italic ? 1 : 0));
    w.push_back(static_cast<std::uint16_t>(kEastEurope << 8));
    w.push_back(0);
    w.push_back(0);
    std::string face = utf8ToCp1250(font.family.toStdString()).substr(0, 31);
    face.push_back('\0');
    pushBytes(w, face);
    replaceObject(font_, kCreateFontIndirect, w);
}

void WmfPaintEngine::setTextColour(std::uint32_t colour) {
    if (textColour_ == colour) return;
    textColour_ = colour;
    std::vector<std::uint16_t> w;
    pushColour(w, colour);
    record(kSetTextColor, w);
}

void WmfPaintEngine::polyline(const QPolygon& points) {
    if (points.size() < 2) return;
    std::vector<std::uint16_t> w;
    pushPoints(w, points);
    record(kPolyline, w);
}

void WmfPaintEngine::polygon(const QPolygon& points, bool winding) {
    if (points.size() < 3) return;
    if (winding_ != winding) {
        winding_ = winding;
        record(kSetPolyFillMode, {winding ? kWinding : kAlternate});
    }
    std::vector<std::uint16_t> w;
    pushPoints(w, points);
    record(kPolygon, w);
}

void WmfPaintEngine::ellipse(const QRect& b) {
    record(kEllipse, {word(b.bottom() + 1), word(b.right() + 1), word(b.top()), word(b.left())});
}

void WmfPaintEngine::text(const QPoint& at, const QString& s) {
    const std::string bytes = utf8ToCp1250(s.toStdString());
    if (bytes.empty() || bytes.size() > 0x7FFF) return;
    std::vector<std::uint16_t> w{word(at.y()), word(at.x()), static_cast<std::uint16_t>(bytes.size()), 0};
    pushBytes(w, bytes);
    record(kExtTextOut, w);
}

QByteArray WmfPaintEngine::file() const {
    QByteArray body = records_;
    put32(body, 3);
    put16(body, kEof);
    const auto largest = std::max<std::uint32_t>(largest_, 3);

    QByteArray out;
    // Placeable header: key, handle, bounding box, units per inch, reserved,
    // and the XOR of the ten words before the checksum.
    QByteArray placeable;
    put32(placeable, 0x9AC6CDD7u);
    put16(placeable, 0);
    put16(placeable, 0);
    put16(placeable, 0);
    put16(placeable, word(size_.width()));
    put16(placeable, word(size_.height()));
    put16(placeable, kUnitsPerInch);
    put32(placeable, 0);
    std::uint16_t sum = 0;
    for (int i = 0; i < placeable.size(); i += 2)
        sum ^= static_cast<std::uint16_t>(static_cast<unsigned char>(placeable[i]) |
                                          (static_cast<unsigned char>(placeable[i + 1]) << 8));
    put16(placeable, sum);
    out += placeable;
    // Metafile header: on disk, 9 words, version 3.0, total size [words].
    put16(out, 1);
    put16(out, 9);
    put16(out, 0x0300);
    put32(out, static_cast<std::uint32_t>(9 + body.size() / 2));
    put16(out, static_cast<std::uint16_t>(std::max<std::size_t>(used_.size(), 1)));
    put32(out, largest);
    put16(out, 0);
    return out + body;
}

}  // namespace zorv

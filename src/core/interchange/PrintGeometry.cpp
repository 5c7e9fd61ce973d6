#include "interchange/PrintGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace zorv {

namespace {

constexpr double kInchesPerCm = 0.3937007874;
constexpr std::uint32_t kWhite = 0xFFFFFF;

// a × b / c rounded to the nearest integer, halves away from zero.
int mulDiv(std::int64_t a, std::int64_t b, std::int64_t c) {
    const std::int64_t p = a * b;
    const std::int64_t q = (std::llabs(p) + std::llabs(c) / 2) / std::llabs(c);
    return static_cast<int>((p < 0) != (c < 0) ? -q : q);
}

}  // namespace

int pixelsPerCm(int dpi) { return static_cast<int>(dpi * kInchesPerCm); }

PrintCursor pageCursor(int pageWidth, int pageHeight, const PrintMargins& m, int dpiX) {
    const int perCm = pixelsPerCm(dpiX);
    PrintCursor c;
    c.left = static_cast<int>(m.left * perCm);
    c.top = static_cast<int>(m.top * perCm);
    c.right = pageWidth - static_cast<int>(m.right * perCm);
    c.bottom = pageHeight - static_cast<int>(m.bottom * perCm);
    return c;
}

int sectionLineHeight(double points, int dpiY) {
    return std::abs(mulDiv(static_cast<std::int64_t>(std::lround(points)), dpiY, 72));
}

int placeSection(PrintCursor& cursor, int lines, int lineHeight) {
    if (lines <= 0) return -1;
    const int first = cursor.top;
    cursor.top += (lines + 1) * lineHeight;
    return first;
}

std::vector<PlacedLine> placeSectionLines(PrintCursor& cursor, int lines, int lineHeight, int pageTop) {
    std::vector<PlacedLine> out;
    if (lines <= 0) return out;
    out.reserve(static_cast<std::size_t>(lines));
    int y = cursor.top;
    for (int i = 0; i < lines; ++i) {
        PlacedLine line{y, false};
        if (y + lineHeight > cursor.bottom && y > pageTop) line = {pageTop, true};
        out.push_back(line);
        y = line.y + lineHeight;
    }
    cursor.top = y + lineHeight;
    return out;
}

bool chartNeedsNewPage(const PrintCursor& cursor, double heightCm, int dpiY, int pageTop) {
    if (cursor.top <= pageTop) return false;
    const int asked = static_cast<int>(std::trunc(heightCm)) * pixelsPerCm(dpiY);
    const int wanted = asked > 0 ? std::min(asked, cursor.bottom - pageTop) : cursor.bottom - pageTop;
    return 2 * (cursor.bottom - cursor.top) < wanted;
}

PrintRect placeChart(PrintCursor& cursor, ChartHPos h, ChartVPos v, double widthCm, double heightCm, int dpiX,
                     int dpiY) {
    int w = static_cast<int>(std::trunc(widthCm)) * pixelsPerCm(dpiX);
    int hh = static_cast<int>(std::trunc(heightCm)) * pixelsPerCm(dpiY);
    const int W = cursor.right - cursor.left;
    const int H = cursor.bottom - cursor.top;
    w = std::min(w, W);
    hh = std::min(hh, H);
    if (w <= 0 || hh <= 0) {
        w = W;
        hh = H;
    }
    PrintRect r;
    switch (h) {
        case ChartHPos::Right:
            r.left = cursor.right - w;
            r.right = cursor.right;
            break;
        case ChartHPos::Centre:
            r.left = cursor.left + (W - w) / 2;
            r.right = cursor.right - (W - w) / 2;
            break;
        case ChartHPos::Left:
            r.left = cursor.left;
            r.right = cursor.left + w;
            break;
    }
    switch (v) {
        case ChartVPos::Bottom:
            r.top = cursor.bottom - hh;
            r.bottom = cursor.bottom;
            cursor.top += hh;
            break;
        case ChartVPos::Centre:
            r.top = cursor.top + (H - hh) / 2;
            r.bottom = cursor.bottom - (H - hh) / 2;
            cursor.top += H;
            break;
        case ChartVPos::Top:
            r.top = cursor.top;
            r.bottom = cursor.top + hh;
            cursor.top += hh;
            break;
    }
    return r;
}

bool chartBackgroundInColour(bool gradientVisible, std::uint32_t panel, std::uint32_t back,
                             std::uint32_t gradientStart, std::uint32_t gradientEnd) {
    const auto white = [](std::uint32_t c) { return (c & 0xFFFFFF) == kWhite; };
    if (gradientVisible) return !white(gradientStart) || !white(gradientEnd);
    return !white(panel) || !white(back);
}

}  // namespace zorv

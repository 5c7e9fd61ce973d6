#pragma once
// Where printed reports and charts land on the page, in printer pixels:
// page margins and chart sizes given in centimetres, section texts one line
// height apart, the chart placed left, right or centred and top, bottom or
// centred in what is left of the page. Text that reaches the bottom margin
// goes on at the top margin of a new page; a chart that would not get a
// usable part of what is left of the page starts a new page.

#include <cstdint>
#include <vector>

namespace zorv {

// Printer pixels per centimetre of a resolution [dpi], truncated.
int pixelsPerCm(int dpi);

struct PrintMargins {
    double left = 2.0, right = 2.0, top = 2.0, bottom = 2.0;  // [cm]
};

// The part of the page still free, in printer pixels; `top` moves down as
// sections and the chart are placed.
struct PrintCursor {
    int left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const PrintCursor&, const PrintCursor&) = default;
};

// The page inside its margins (all four by the horizontal resolution, the
// margins keeping their tenths).
PrintCursor pageCursor(int pageWidth, int pageHeight, const PrintMargins& margins, int dpiX);

// Line height of a section font [px]: |points × dpiY / 72|, rounded.
int sectionLineHeight(double points, int dpiY);

// Places `lines` lines of a section: returns the y of the first line and
// moves the cursor down by one line height per line and one more after the
// last; an empty or hidden section takes no room (returns −1).
int placeSection(PrintCursor& cursor, int lines, int lineHeight);

// Where each line of a section goes: its y and whether a new page starts
// before it. A line that would cross the bottom margin starts a new page at
// `pageTop` (one line is always put on a page, however tall). The cursor ends
// one line height below the last line, as with placeSection.
struct PlacedLine {
    int y = 0;
    bool newPageBefore = false;
    friend bool operator==(const PlacedLine&, const PlacedLine&) = default;
};
std::vector<PlacedLine> placeSectionLines(PrintCursor& cursor, int lines, int lineHeight, int pageTop);

enum class ChartHPos { Left = 0, Right = 1, Centre = 2 };
enum class ChartVPos { Top = 0, Bottom = 1, Centre = 2 };

struct PrintRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    friend bool operator==(const PrintRect&, const PrintRect&) = default;
};

// The chart's rectangle: its size truncated to whole centimetres and
// limited to the free area; a size that comes to zero in either direction
// fills the free area. The cursor moves below the chart (below the free
// area when centred vertically).
PrintRect placeChart(PrintCursor& cursor, ChartHPos h, ChartVPos v, double widthCm, double heightCm, int dpiX,
                     int dpiY);

// Whether the chart should start a new page rather than be squeezed into
// what is left of this one: less than half of the height asked for (of the
// page's printable height when the chart fills the page) is left, and the
// cursor is not at the top of the page already.
bool chartNeedsNewPage(const PrintCursor& cursor, double heightCm, int dpiY, int pageTop);

// Whether a chart's background would print in colour: the panel colour,
// then the back colour, or with a gradient its start, then its end colour,
// not white (0xRRGGBB).
bool chartBackgroundInColour(bool gradientVisible, std::uint32_t panel, std::uint32_t back,
                             std::uint32_t gradientStart, std::uint32_t gradientEnd);

}  // namespace zorv

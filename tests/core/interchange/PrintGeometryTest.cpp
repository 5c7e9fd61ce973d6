// The print page in printer pixels, worked by hand for an A4 page at 300 dpi
// (2480 × 3508 px, 118 px per cm since 300 × 0.3937007874 = 118.11).

#include <gtest/gtest.h>

#include "interchange/PrintGeometry.h"

namespace zorv {
namespace {

constexpr int kA4W = 2480, kA4H = 3508, kDpi = 300;

TEST(PrintGeometry, UnitsMarginsAndLineHeights) {
    EXPECT_EQ(pixelsPerCm(300), 118);
    EXPECT_EQ(pixelsPerCm(600), 236);  // 236.22
    EXPECT_EQ(pixelsPerCm(96), 37);    // 37.8, truncated
    // Margins keep their tenths: 2.5 cm = 295 px.
    EXPECT_EQ(pageCursor(kA4W, kA4H, {}, kDpi), (PrintCursor{236, 236, 2244, 3272}));
    EXPECT_EQ(pageCursor(kA4W, kA4H, {2.5, 1.0, 0.0, 10.0}, kDpi), (PrintCursor{295, 0, 2362, 2328}));
    // |points × dpi / 72| rounded: 20 pt = 83.3, 14 pt = 58.3, 10 pt = 41.7.
    EXPECT_EQ(sectionLineHeight(20, kDpi), 83);
    EXPECT_EQ(sectionLineHeight(14, kDpi), 58);
    EXPECT_EQ(sectionLineHeight(10, kDpi), 42);
    EXPECT_EQ(sectionLineHeight(-10, kDpi), 42);
    EXPECT_EQ(sectionLineHeight(9, 600), 75);  // exactly

    PrintCursor c{236, 236, 2244, 3272};
    EXPECT_EQ(placeSection(c, 1, 83), 236);
    EXPECT_EQ(c.top, 236 + 2 * 83);  // the line and one more
    // An empty section takes no room.
    EXPECT_EQ(placeSection(c, 0, 58), -1);
    EXPECT_EQ(c.top, 402);
}

// Lines past the bottom margin go on at the top margin of the next page,
// so a long report loses nothing.
TEST(PrintGeometry, SectionsContinueOnNewPages) {
    // 3272 − 236 = 3036 px a page: 72 lines of 42 px (3024), the 73rd
    // would end at 3302.
    PrintCursor c{236, 236, 2244, 3272};
    const auto lines = placeSectionLines(c, 150, 42, 236);
    ASSERT_EQ(lines.size(), 150u);
    EXPECT_EQ(lines[71], (PlacedLine{236 + 71 * 42, false}));
    EXPECT_EQ(lines[72], (PlacedLine{236, true}));
    EXPECT_EQ(lines[143], (PlacedLine{236 + 71 * 42, false}));
    EXPECT_EQ(lines[144], (PlacedLine{236, true}));
    EXPECT_EQ(lines[149], (PlacedLine{236 + 5 * 42, false}));
    int breaks = 0;
    for (const PlacedLine& l : lines) {
        breaks += l.newPageBefore;
        EXPECT_LE(l.y + 42, 3272);
    }
    EXPECT_EQ(breaks, 2);
    EXPECT_EQ(c.top, 236 + 7 * 42);  // the last line and one more
    // Short sections stay where placeSection puts them.
    PrintCursor a{236, 236, 2244, 3272}, b = a;
    EXPECT_EQ(placeSectionLines(a, 3, 83, 236).front().y, placeSection(b, 3, 83));
    EXPECT_EQ(a, b);
    EXPECT_TRUE(placeSectionLines(a, 0, 83, 236).empty());
    EXPECT_EQ(a, b);
    // A line taller than the page is put at the top of a page, not broken
    // before again and again.
    PrintCursor t{236, 236, 2244, 300};
    const auto tall = placeSectionLines(t, 2, 500, 236);
    EXPECT_EQ(tall[0], (PlacedLine{236, false}));
    EXPECT_EQ(tall[1], (PlacedLine{236, true}));
}

// A chart that would get less than half of its height moves to a new page;
// one that fits, or a page with nothing on it yet, stays.
TEST(PrintGeometry, ChartStartsANewPageWhenSqueezed) {
    // 12 cm = 1416 px; 3036 px a page.
    EXPECT_FALSE(chartNeedsNewPage({236, 1800, 2244, 3272}, 12.0, kDpi, 236));  // 1472 left
    EXPECT_FALSE(chartNeedsNewPage({236, 2564, 2244, 3272}, 12.0, kDpi, 236));  // 708 = half
    EXPECT_TRUE(chartNeedsNewPage({236, 2566, 2244, 3272}, 12.0, kDpi, 236));
    EXPECT_TRUE(chartNeedsNewPage({236, 3400, 2244, 3272}, 12.0, kDpi, 236));  // past the margin
    EXPECT_FALSE(chartNeedsNewPage({236, 236, 2244, 1000}, 12.0, kDpi, 236));  // already at the top
    // Filling the page: the printable height counts.
    EXPECT_FALSE(chartNeedsNewPage({236, 1700, 2244, 3272}, 0.0, kDpi, 236));
    EXPECT_TRUE(chartNeedsNewPage({236, 1800, 2244, 3272}, 0.0, kDpi, 236));
}

TEST(PrintGeometry, ChartPlacement) {
    struct Row {
        const char* name;
        ChartHPos h;
        ChartVPos v;
        double widthCm, heightCm;
        PrintRect rect;
        int topAfter;
    };
    // Free area: 236..2244 across (W = 2008), 500..3272 down (H = 2772).
    for (const Row& r : {
             // 15.9 cm is printed 15 cm wide: 1770 px; 12 cm = 1416 px.
             Row{"left top", ChartHPos::Left, ChartVPos::Top, 15.9, 12.0, {236, 500, 2006, 1916}, 1916},
             Row{"right", ChartHPos::Right, ChartVPos::Top, 15.0, 12.0, {474, 500, 2244, 1916}, 1916},
             // (2008 − 1770) / 2 = 119 on each side.
             Row{"centre", ChartHPos::Centre, ChartVPos::Top, 15.0, 12.0, {355, 500, 2125, 1916}, 1916},
             Row{"bottom", ChartHPos::Left, ChartVPos::Bottom, 15.0, 12.0, {236, 1856, 2006, 3272}, 1916},
             // Vertically centred: (2772 − 1416) / 2 = 678; the cursor goes to the bottom.
             Row{"middle", ChartHPos::Left, ChartVPos::Centre, 15.0, 12.0, {236, 1178, 2006, 2594}, 3272},
             // Larger than the free area: reduced to it.
             Row{"too large", ChartHPos::Left, ChartVPos::Top, 20.0, 26.0, {236, 500, 2244, 3272}, 3272},
             // A zero height fills the free area both ways.
             Row{"zero height", ChartHPos::Centre, ChartVPos::Top, 15.0, 0.0, {236, 500, 2244, 3272}, 3272},
             Row{"below one cm", ChartHPos::Left, ChartVPos::Top, 0.9, 12.0, {236, 500, 2244, 3272}, 3272},
         }) {
        SCOPED_TRACE(r.name);
        PrintCursor c{236, 500, 2244, 3272};
        EXPECT_EQ(placeChart(c, r.h, r.v, r.widthCm, r.heightCm, kDpi, kDpi), r.rect);
        EXPECT_EQ(c.top, r.topAfter);
    }
}

TEST(PrintGeometry, ColourWarning) {
    constexpr std::uint32_t white = 0xFFFFFF, yellow = 0xFFFF00;
    EXPECT_FALSE(chartBackgroundInColour(false, white, white, yellow, yellow));
    EXPECT_TRUE(chartBackgroundInColour(false, white, 0xF0F0F0, white, white));
    EXPECT_TRUE(chartBackgroundInColour(true, white, white, yellow, white));
    EXPECT_TRUE(chartBackgroundInColour(true, white, white, white, yellow));
    EXPECT_FALSE(chartBackgroundInColour(true, yellow, yellow, white, white));
}

}  // namespace
}  // namespace zorv

// The chart-template record: every field at its offset, decoding, short and
// damaged files, and the save that replaces the file whole.

#include <gtest/gtest.h>

#include <bit>
#include <cerrno>
#include <vector>

#include "TestFiles.h"
#include "interchange/ChartTemplate.h"
#include "text/AtomicFile.h"

namespace zorv {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// Every field different from every other of its type, so that a swap shows.
TemplateAxis sampleAxis(int b) {
    const auto c = static_cast<std::uint32_t>(b) << 16;
    return {b != 2,         c | 1,          b,
            10.0 * b + 0.5, b != 1,         c | 2,
            b + 1,          10.0 * b + 1.5, 10.0 * b + 2.5,
            10.0 * b + 3.5, 10.0 * b + 4.5};
}

ChartTemplate sample() {
    ChartTemplate t;
    t.legendVisible = true;
    t.legendPosition = 3;
    t.legendTopPercent = 12.5;
    t.legendColour = rgbColour(0x11, 0x22, 0x33);
    t.legendShadowColour = 0x80000005;
    t.legendShadowSize = 3;
    t.titleFont = {0x0000FF, -13, 10, 1, "Arial", kFontBold};
    t.footerFont = {0xFF0000, -11, 8, 2, "Courier New", kFontItalic | kFontStrikeOut};
    t.legendFont = {0x00FF00, 16, 12, 0, "Czcionka ąę", kFontUnderline};
    t.axisTitleFont = {0x80000012, -9, 7, 1, "Tahoma", 15};
    t.backColour = 13086103;
    t.panelColour = 0xFFFFFF;
    t.gradientStart = 0x102030;
    t.gradientEnd = 0x405060;
    t.gradientVisible = true;
    t.gradientDirection = 5;
    t.titleAlignment = 2;
    t.footerAlignment = 1;
    t.leftAxis = sampleAxis(1);
    t.rightAxis = sampleAxis(2);
    t.bottomAxis = sampleAxis(3);
    for (std::uint32_t i = 0; i < 16; ++i) t.seriesColours[i] = 0x00A00000 + i;
    return t;
}

// The bytes of sample(), placed by hand from the documented layout.
Bytes sampleBytes() {
    Bytes b(584, 0);
    const auto le = [&b](std::size_t at, std::size_t width, std::uint64_t v) {
        for (std::size_t i = 0; i < width; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    const auto f64 = [&le](std::size_t at, double v) { le(at, 8, std::bit_cast<std::uint64_t>(v)); };
    const auto font = [&](std::size_t at, std::uint32_t colour, std::int32_t height, int size, int pitch,
                          std::string_view face, int style) {
        le(at, 4, colour);
        le(at + 4, 4, static_cast<std::uint32_t>(height));
        le(at + 8, 4, size);
        le(at + 12, 4, pitch);
        std::copy(face.begin(), face.end(), b.begin() + static_cast<std::ptrdiff_t>(at + 16));
        le(at + 56, 4, style);
    };
    const auto axis = [&](std::size_t at, int k) {
        le(at, 1, k != 2);
        le(at + 4, 4, (k << 16) | 1);
        le(at + 8, 4, k);
        f64(at + 16, 10.0 * k + 0.5);
        le(at + 24, 1, k != 1);
        le(at + 28, 4, (k << 16) | 2);
        le(at + 32, 4, k + 1);
        for (int i = 0; i < 4; ++i) f64(at + 40 + 8 * i, 10.0 * k + 1.5 + i);
    };
    le(0, 1, 1);
    le(4, 4, 3);
    le(8, 8, 0x4029000000000000);  // 12.5
    le(16, 4, 0x332211);
    le(20, 4, 0x80000005);
    f64(24, 3);
    font(32, 0x0000FF, -13, 10, 1, "Arial", 1);
    font(92, 0xFF0000, -11, 8, 2, "Courier New", 10);
    font(152, 0x00FF00, 16, 12, 0, "Czcionka \xB9\xEA", 4);
    font(212, 0x80000012, -9, 7, 1, "Tahoma", 15);
    const std::uint32_t colours[] = {13086103, 0xFFFFFF, 0x102030, 0x405060, 1, 5, 2, 1};
    for (std::size_t i = 0; i < 8; ++i) le(272 + 4 * i, 4, colours[i]);
    axis(304, 1);
    axis(376, 2);
    axis(448, 3);
    for (std::size_t i = 0; i < 16; ++i) le(520 + 4 * i, 4, 0x00A00000 + i);
    return b;
}

TEST(ChartTemplateTest, EncodesEveryFieldAtItsDocumentedOffset) {
    const auto encoded = encodeChartTemplate(sample());
    const Bytes expected = sampleBytes();
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(encoded[i], expected[i]) << "byte " << i;
}

TEST(ChartTemplateTest, DecodeReversesEncode) {
    const auto bytes = encodeChartTemplate(sample());
    std::size_t present = 0;
    EXPECT_EQ(decodeChartTemplate(bytes, &present), sample());
    EXPECT_EQ(present, 584u);

    // Bytes past the record are not read.
    Bytes longer(bytes.begin(), bytes.end());
    longer.resize(700, 0xEE);
    EXPECT_EQ(decodeChartTemplate(longer, &present), sample());
    EXPECT_EQ(present, 584u);
}

TEST(ChartTemplateTest, ShortInputReadsAsIfZeroFilled) {
    const auto full = encodeChartTemplate(sample());
    for (std::size_t length = 0; length <= full.size(); ++length) {
        Bytes padded(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(length));
        padded.resize(full.size(), 0);
        std::size_t present = 999;
        EXPECT_EQ(decodeChartTemplate(std::span(full.data(), length), &present), decodeChartTemplate(padded))
            << length;
        EXPECT_EQ(present, length);
    }
    EXPECT_EQ(decodeChartTemplate({}), ChartTemplate{});
    // Cut inside the legend font's face name.
    const ChartTemplate cut = decodeChartTemplate(std::span(full.data(), 172));
    EXPECT_EQ(cut.legendFont, (TemplateFont{0x00FF00, 16, 12, 0, "Czci", 0}));
    EXPECT_EQ(cut.titleFont, sample().titleFont);
}

TEST(ChartTemplateTest, FaceNameStaysInsideItsField) {
    // No NUL in the title font's 40 face bytes: the name stops at the style.
    Bytes b(584, 0);
    std::fill(b.begin() + 48, b.begin() + 88, 'A');
    b[88] = kFontBold;
    const ChartTemplate t = decodeChartTemplate(b);
    EXPECT_EQ(t.titleFont.face, std::string(40, 'A'));
    EXPECT_EQ(t.titleFont.style, kFontBold);

    // A longer name is cut to 39 bytes so the field keeps its NUL.
    ChartTemplate longName;
    longName.titleFont.face = std::string(45, 'B');
    longName.titleFont.style = kFontItalic;
    const auto encoded = encodeChartTemplate(longName);
    EXPECT_EQ(encoded[48 + 38], 'B');
    EXPECT_EQ(encoded[48 + 39], 0);
    EXPECT_EQ(encoded[88], kFontItalic);
    EXPECT_EQ(decodeChartTemplate(encoded).titleFont.face, std::string(39, 'B'));
}

TEST(ChartTemplateTest, AnyNonZeroFlagReadsAsSet) {
    Bytes b(584, 0);
    b[0] = 2;        // legend visible, 1 byte
    b[288 + 2] = 1;  // gradient visible, 4 bytes
    b[304] = 0xFF;   // left axis grid visible
    const ChartTemplate t = decodeChartTemplate(b);
    EXPECT_TRUE(t.legendVisible);
    EXPECT_TRUE(t.gradientVisible);
    EXPECT_TRUE(t.leftAxis.gridVisible);
    EXPECT_FALSE(t.leftAxis.minorGridVisible);
}

TEST(ChartTemplateTest, ColourHelpers) {
    constexpr std::uint32_t orange = 33023;  // 0x0080FF
    EXPECT_EQ(rgbColour(0xFF, 0x80, 0x00), orange);
    EXPECT_EQ(redOf(orange), 0xFF);
    EXPECT_EQ(greenOf(orange), 0x80);
    EXPECT_EQ(blueOf(orange), 0x00);
    EXPECT_FALSE(isSystemColour(0xFFFFFF));
    EXPECT_TRUE(isSystemColour(0x80000005));
    EXPECT_TRUE(isSystemColour(0x01000000));
}

class ChartTemplateFileTest : public ScratchDirTest {};

TEST_F(ChartTemplateFileTest, SaveReplacesFileAndLoadReadsItBack) {
    const std::string file = path("wykres.tpt");
    writeFileAtomically(file, std::string(1000, 'x'));  // an older, longer file
    ASSERT_EQ(saveChartTemplate(file, sample()), 0);
    const Bytes expected = sampleBytes();
    EXPECT_EQ(slurp(file), std::string(expected.begin(), expected.end()));
    EXPECT_EQ(filesInDir(), 1u);

    const ChartTemplateLoad loaded = loadChartTemplate(file);
    EXPECT_EQ(loaded.error, 0);
    EXPECT_EQ(loaded.bytesRead, 584u);
    ASSERT_TRUE(loaded.chartTemplate);
    EXPECT_EQ(*loaded.chartTemplate, sample());
}

TEST_F(ChartTemplateFileTest, ShortFileLoadsWithItsLength) {
    const std::string file = path("short.tpt");
    const auto full = encodeChartTemplate(sample());
    writeFileAtomically(file, std::string(full.begin(), full.begin() + 32));
    const ChartTemplateLoad loaded = loadChartTemplate(file);
    EXPECT_EQ(loaded.error, 0);
    EXPECT_EQ(loaded.bytesRead, 32u);
    ASSERT_TRUE(loaded.chartTemplate);
    EXPECT_TRUE(loaded.chartTemplate->legendVisible);
    EXPECT_EQ(loaded.chartTemplate->titleFont, TemplateFont{});
}

TEST_F(ChartTemplateFileTest, FailuresGiveTheSystemErrorNumber) {
    EXPECT_EQ(saveChartTemplate(path("no-such-dir/a.tpt"), sample()), ENOENT);
    EXPECT_EQ(filesInDir(), 0u);

    const ChartTemplateLoad missing = loadChartTemplate(path("missing.tpt"));
    EXPECT_EQ(missing.error, ENOENT);
    EXPECT_FALSE(missing.chartTemplate);

    // A folder opens for reading but cannot be read.
    const ChartTemplateLoad folder = loadChartTemplate(dir_.string());
    EXPECT_EQ(folder.error, EISDIR);
    EXPECT_FALSE(folder.chartTemplate);
}

TEST(ChartTemplateTest, Messages) {
    EXPECT_EQ(templateSaveErrorMessage(ENOENT), "Błąd zapisu pliku szablonu... (2)");
    EXPECT_EQ(templateReadErrorMessage(EACCES), "Błąd odczytu pliku szablonu... (13)");
    EXPECT_EQ(templateUnreadableMessage("/home/a/domyślny.tpt"),
              "Szablon /home/a/domyślny.tpt nie może zostać odczytany. ");
}

}  // namespace
}  // namespace zorv

#pragma once
// The chart template: a chart's style (legend, fonts, colours, axis grids and
// ticks, series colours) as a fixed 584-byte ".tpt" record with no header.
//
// On disk everything is little-endian: integers 32-bit signed, doubles
// IEEE 754 64-bit, booleans 0/1 in one or four bytes as the field is wide,
// colours 32-bit with red in the lowest byte, then green, then blue and a
// non-zero high byte marking a system colour. The structs below mirror the
// record field by field and keep the values as stored; turning them into a
// chart (truncating the doubles, mapping codes) is the chart window's job.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zorv {

inline constexpr std::size_t kChartTemplateSize = 584;

constexpr std::uint32_t rgbColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return std::uint32_t{red} | std::uint32_t{green} << 8 | std::uint32_t{blue} << 16;
}
constexpr std::uint8_t redOf(std::uint32_t colour) { return colour & 0xFF; }
constexpr std::uint8_t greenOf(std::uint32_t colour) { return (colour >> 8) & 0xFF; }
constexpr std::uint8_t blueOf(std::uint32_t colour) { return (colour >> 16) & 0xFF; }
// A system colour names an element of the desktop's colour scheme rather
// than red, green and blue.
constexpr bool isSystemColour(std::uint32_t colour) { return (colour >> 24) != 0; }

// Font style bits.
inline constexpr std::int32_t kFontBold = 1;
inline constexpr std::int32_t kFontItalic = 2;
inline constexpr std::int32_t kFontUnderline = 4;
inline constexpr std::int32_t kFontStrikeOut = 8;

// 60 bytes.
struct TemplateFont {
    std::uint32_t colour = 0;
    std::int32_t height = 0;  // pixels; negative: character height rather than cell height
    std::int32_t size = 0;    // points; wins over the height when applied
    std::int32_t pitch = 0;   // 0 default, 1 variable, 2 fixed
    // UTF-8 here, windows-1250 in a 40-byte NUL-terminated field on disk: at
    // most 39 bytes are written, a field without a NUL reads as 40 bytes.
    std::string face;
    std::int32_t style = 0;  // sum of the kFont* bits

    bool operator==(const TemplateFont&) const = default;
};

// 72 bytes. Pen styles: 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot.
struct TemplateAxis {
    bool gridVisible = false;
    std::uint32_t gridColour = 0;
    std::int32_t gridStyle = 0;
    double gridWidth = 0;  // pixels
    bool minorGridVisible = false;
    std::uint32_t minorGridColour = 0;
    std::int32_t minorGridStyle = 0;
    double minorGridWidth = 0;   // pixels
    double tickLength = 0;       // pixels
    double minorTickLength = 0;  // pixels
    double minorTickCount = 0;   // between two main ticks

    bool operator==(const TemplateAxis&) const = default;
};

struct ChartTemplate {
    bool legendVisible = false;
    std::int32_t legendPosition = 0;  // 0 left, 1 right, 2 top, 3 bottom
    double legendTopPercent = 0;
    std::uint32_t legendColour = 0;
    std::uint32_t legendShadowColour = 0;
    double legendShadowSize = 0;  // pixels
    TemplateFont titleFont;
    TemplateFont footerFont;
    TemplateFont legendFont;
    TemplateFont axisTitleFont;  // one font for the titles of all three axes
    std::uint32_t backColour = 0;
    std::uint32_t panelColour = 0;
    std::uint32_t gradientStart = 0;
    std::uint32_t gradientEnd = 0;
    bool gradientVisible = false;
    std::int32_t gradientDirection = 0;  // the chart engine's code
    std::int32_t titleAlignment = 0;     // 0 left, 1 right, 2 centre
    std::int32_t footerAlignment = 0;    // as titleAlignment
    TemplateAxis leftAxis;
    TemplateAxis rightAxis;
    TemplateAxis bottomAxis;
    // Slot i holds the colour of series i; charts fill slots 0 to 9 and
    // leave the rest zero.
    std::array<std::uint32_t, 16> seriesColours{};

    bool operator==(const ChartTemplate&) const = default;
};

std::array<std::uint8_t, kChartTemplateSize> encodeChartTemplate(const ChartTemplate& tpl);

// Decodes the first 584 bytes; a shorter input reads as if the missing tail
// were zero bytes. `present`, when given, receives how many bytes were there
// (at most 584), so that the caller can tell a short record.
ChartTemplate decodeChartTemplate(std::span<const std::uint8_t> bytes, std::size_t* present = nullptr);

// Writes the record through AtomicFile, creating or replacing the file; a
// failure leaves any previous file as it was. Returns 0, or the system error
// number (errno) when the file cannot be written.
int saveChartTemplate(const std::string& path, const ChartTemplate& tpl);

struct ChartTemplateLoad {
    // The system error number when the file cannot be opened or read, else 0.
    int error = 0;
    // Set exactly when error is 0.
    std::optional<ChartTemplate> chartTemplate;
    // Bytes the file held, at most 584; a short file still decodes (the rest
    // as zeros) and is the caller's to accept or refuse.
    std::size_t bytesRead = 0;
};

// Reads at most 584 bytes of the file and decodes them.
ChartTemplateLoad loadChartTemplate(const std::string& path);

// Messages of the template commands.
std::string templateSaveErrorMessage(int error);               // a save that failed
std::string templateReadErrorMessage(int error);               // a chosen template that cannot be opened
std::string templateUnreadableMessage(std::string_view name);  // the default template cannot be opened

}  // namespace zorv

#include "interchange/ChartTemplate.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <limits>
#include <memory>
#include <stdexcept>

#include "text/AtomicFile.h"
#include "text/Cp1250.h"

namespace zorv {

namespace {

static_assert(std::numeric_limits<double>::is_iec559, "the record stores IEEE 754 doubles");

constexpr std::size_t kFontSize = 60;
constexpr std::size_t kFaceSize = 40;
constexpr std::size_t kAxisSize = 72;

using Record = std::array<std::uint8_t, kChartTemplateSize>;

// Byte-wise little-endian, so the host's byte order never shows.
class Writer {
public:
    explicit Writer(Record& out) : out_(out) {}

    void u32(std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) out_[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
    void i32(std::size_t at, std::int32_t v) { u32(at, static_cast<std::uint32_t>(v)); }
    void f64(std::size_t at, double v) {
        const auto bits = std::bit_cast<std::uint64_t>(v);
        for (int i = 0; i < 8; ++i) out_[at + i] = static_cast<std::uint8_t>(bits >> (8 * i));
    }
    void flag8(std::size_t at, bool v) { out_[at] = v ? 1 : 0; }
    void flag32(std::size_t at, bool v) { u32(at, v ? 1 : 0); }

    void font(std::size_t at, const TemplateFont& f) {
        u32(at, f.colour);
        i32(at + 4, f.height);
        i32(at + 8, f.size);
        i32(at + 12, f.pitch);
        // Room for the NUL; the rest of the field stays zero.
        const std::string face = utf8ToCp1250(f.face).substr(0, kFaceSize - 1);
        std::copy(face.begin(), face.end(), out_.begin() + static_cast<std::ptrdiff_t>(at + 16));
        i32(at + 16 + kFaceSize, f.style);
    }
    void axis(std::size_t at, const TemplateAxis& a) {
        flag8(at, a.gridVisible);
        u32(at + 4, a.gridColour);
        i32(at + 8, a.gridStyle);
        f64(at + 16, a.gridWidth);
        flag8(at + 24, a.minorGridVisible);
        u32(at + 28, a.minorGridColour);
        i32(at + 32, a.minorGridStyle);
        f64(at + 40, a.minorGridWidth);
        f64(at + 48, a.tickLength);
        f64(at + 56, a.minorTickLength);
        f64(at + 64, a.minorTickCount);
    }

private:
    Record& out_;
};

class Reader {
public:
    explicit Reader(const Record& in) : in_(in) {}

    std::uint32_t u32(std::size_t at) const {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= std::uint32_t{in_[at + i]} << (8 * i);
        return v;
    }
    std::int32_t i32(std::size_t at) const { return static_cast<std::int32_t>(u32(at)); }
    double f64(std::size_t at) const {
        std::uint64_t bits = 0;
        for (int i = 0; i < 8; ++i) bits |= std::uint64_t{in_[at + i]} << (8 * i);
        return std::bit_cast<double>(bits);
    }
    bool flag8(std::size_t at) const { return in_[at] != 0; }
    bool flag32(std::size_t at) const { return u32(at) != 0; }

    TemplateFont font(std::size_t at) const {
        TemplateFont f;
        f.colour = u32(at);
        f.height = i32(at + 4);
        f.size = i32(at + 8);
        f.pitch = i32(at + 12);
        const auto* face = reinterpret_cast<const char*>(in_.data() + at + 16);
        f.face = cp1250ToUtf8(std::string_view(face, std::find(face, face + kFaceSize, '\0') - face));
        f.style = i32(at + 16 + kFaceSize);
        return f;
    }
    TemplateAxis axis(std::size_t at) const {
        TemplateAxis a;
        a.gridVisible = flag8(at);
        a.gridColour = u32(at + 4);
        a.gridStyle = i32(at + 8);
        a.gridWidth = f64(at + 16);
        a.minorGridVisible = flag8(at + 24);
        a.minorGridColour = u32(at + 28);
        a.minorGridStyle = i32(at + 32);
        a.minorGridWidth = f64(at + 40);
        a.tickLength = f64(at + 48);
        a.minorTickLength = f64(at + 56);
        a.minorTickCount = f64(at + 64);
        return a;
    }

private:
    const Record& in_;
};

// Offsets of the blocks.
constexpr std::size_t kTitleFont = 32;
constexpr std::size_t kFooterFont = kTitleFont + kFontSize;
constexpr std::size_t kLegendFont = kFooterFont + kFontSize;
constexpr std::size_t kAxisTitleFont = kLegendFont + kFontSize;
constexpr std::size_t kColours = kAxisTitleFont + kFontSize;
constexpr std::size_t kLeftAxis = 304;
constexpr std::size_t kRightAxis = kLeftAxis + kAxisSize;
constexpr std::size_t kBottomAxis = kRightAxis + kAxisSize;
constexpr std::size_t kSeriesColours = kBottomAxis + kAxisSize;
static_assert(kColours == 272 && kSeriesColours == 520 && kSeriesColours + 16 * 4 == kChartTemplateSize);

}  // namespace

std::array<std::uint8_t, kChartTemplateSize> encodeChartTemplate(const ChartTemplate& tpl) {
    Record out{};
    Writer w(out);
    w.flag8(0, tpl.legendVisible);
    w.i32(4, tpl.legendPosition);
    w.f64(8, tpl.legendTopPercent);
    w.u32(16, tpl.legendColour);
    w.u32(20, tpl.legendShadowColour);
    w.f64(24, tpl.legendShadowSize);
    w.font(kTitleFont, tpl.titleFont);
    w.font(kFooterFont, tpl.footerFont);
    w.font(kLegendFont, tpl.legendFont);
    w.font(kAxisTitleFont, tpl.axisTitleFont);
    w.u32(kColours, tpl.backColour);
    w.u32(kColours + 4, tpl.panelColour);
    w.u32(kColours + 8, tpl.gradientStart);
    w.u32(kColours + 12, tpl.gradientEnd);
    w.flag32(kColours + 16, tpl.gradientVisible);
    w.i32(kColours + 20, tpl.gradientDirection);
    w.i32(kColours + 24, tpl.titleAlignment);
    w.i32(kColours + 28, tpl.footerAlignment);
    w.axis(kLeftAxis, tpl.leftAxis);
    w.axis(kRightAxis, tpl.rightAxis);
    w.axis(kBottomAxis, tpl.bottomAxis);
    for (std::size_t i = 0; i < tpl.seriesColours.size(); ++i)
        w.u32(kSeriesColours + 4 * i, tpl.seriesColours[i]);
    return out;
}

ChartTemplate decodeChartTemplate(std::span<const std::uint8_t> bytes, std::size_t* present) {
    // A short input is read from a zero-filled copy, which also keeps every
    // field read inside the record.
    Record in{};
    const std::size_t n = std::min(bytes.size(), kChartTemplateSize);
    std::copy_n(bytes.begin(), n, in.begin());
    if (present) *present = n;

    const Reader r(in);
    ChartTemplate tpl;
    tpl.legendVisible = r.flag8(0);
    tpl.legendPosition = r.i32(4);
    tpl.legendTopPercent = r.f64(8);
    tpl.legendColour = r.u32(16);
    tpl.legendShadowColour = r.u32(20);
    tpl.legendShadowSize = r.f64(24);
    tpl.titleFont = r.font(kTitleFont);
    tpl.footerFont = r.font(kFooterFont);
    tpl.legendFont = r.font(kLegendFont);
    tpl.axisTitleFont = r.font(kAxisTitleFont);
    tpl.backColour = r.u32(kColours);
    tpl.panelColour = r.u32(kColours + 4);
    tpl.gradientStart = r.u32(kColours + 8);
    tpl.gradientEnd = r.u32(kColours + 12);
    tpl.gradientVisible = r.flag32(kColours + 16);
    tpl.gradientDirection = r.i32(kColours + 20);
    tpl.titleAlignment = r.i32(kColours + 24);
    tpl.footerAlignment = r.i32(kColours + 28);
    tpl.leftAxis = r.axis(kLeftAxis);
    tpl.rightAxis = r.axis(kRightAxis);
    tpl.bottomAxis = r.axis(kBottomAxis);
    for (std::size_t i = 0; i < tpl.seriesColours.size(); ++i)
        tpl.seriesColours[i] = r.u32(kSeriesColours + 4 * i);
    return tpl;
}

int saveChartTemplate(const std::string& path, const ChartTemplate& tpl) {
    const Record bytes = encodeChartTemplate(tpl);
    // Kept outside the try block so that errno is read before the destructor
    // (closing and removing the temporary file) can change it.
    std::optional<AtomicFile> file;
    errno = 0;
    try {
        file.emplace(path);
        file->write(bytes.data(), bytes.size());
        file->commit();
    } catch (const std::runtime_error&) {
        return errno ? errno : EIO;
    }
    return 0;
}

ChartTemplateLoad loadChartTemplate(const std::string& path) {
    ChartTemplateLoad result;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) {
        result.error = errno;
        return result;
    }
    Record bytes{};
    const std::size_t n = std::fread(bytes.data(), 1, bytes.size(), file.get());
    // A directory opens for reading on Linux and fails only here.
    if (std::ferror(file.get())) {
        result.error = errno ? errno : EIO;
        return result;
    }
    result.chartTemplate = decodeChartTemplate(std::span(bytes.data(), n), &result.bytesRead);
    return result;
}

std::string templateSaveErrorMessage(int error) {
    return "Błąd zapisu pliku szablonu... (" + std::to_string(error) + ")";
}

std::string templateReadErrorMessage(int error) {
    return "Błąd odczytu pliku szablonu... (" + std::to_string(error) + ")";
}

std::string templateUnreadableMessage(std::string_view name) {
    return "Szablon " + std::string(name) + " nie może zostać odczytany. ";
}

}  // namespace zorv

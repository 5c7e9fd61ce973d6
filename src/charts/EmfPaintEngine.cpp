#include "charts/EmfPaintEngine.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

// libEMF brings its own copy of the GDI declarations; they stay in this file.
#include <libEMF/emf.h>

namespace zorv {

struct EmfPaintEngine::Gdi {
    char* buffer = nullptr;
    std::size_t length = 0;
    std::FILE* stream = nullptr;
    HDC dc = 0;  // libEMF handles are numbers
    HGDIOBJ pen = 0, brush = 0, font = 0;
    std::optional<MetaPen> penNow;
    std::optional<MetaBrush> brushNow;
    std::optional<MetaFont> fontNow;
    std::optional<std::uint32_t> textColour;
    std::optional<bool> winding;

    void replace(HGDIOBJ& current, HGDIOBJ next) {
        SelectObject(dc, next);
        if (current) DeleteObject(current);
        current = next;
    }
    ~Gdi() {
        if (dc) {
            if (HENHMETAFILE m = CloseEnhMetaFileWithFILE(dc)) DeleteEnhMetaFile(m);
        }
        if (stream) std::fclose(stream);
        std::free(buffer);
    }
};

namespace {

std::vector<POINT> points(const QPolygon& p) {
    std::vector<POINT> out;
    out.reserve(static_cast<std::size_t>(p.size()));
    for (const QPoint& q : p) out.push_back(POINT{q.x(), q.y()});
    return out;
}

}  // namespace

EmfPaintEngine::EmfPaintEngine(QSize size) : gdi_(std::make_unique<Gdi>()) {
    gdi_->stream = open_memstream(&gdi_->buffer, &gdi_->length);
    if (!gdi_->stream) return;
    // The frame in 0.01 mm on the reference device, whose pixel is 1/3.2 mm
    // (1024 px over 320 mm, as a GDI screen reports itself): readers place
    // the picture in the reference device's pixels, so one pixel of the
    // chart stays one pixel of theirs.
    const RECT frame{0, 0, static_cast<LONG>((size.width() * 3125 + 99) / 100),
                     static_cast<LONG>((size.height() * 3125 + 99) / 100)};
    gdi_->dc = CreateEnhMetaFileWithFILEW(0, gdi_->stream, &frame, nullptr);
    if (!gdi_->dc) return;
    // One logical unit a screen pixel, whatever the reference device.
    SetMapMode(gdi_->dc, MM_ANISOTROPIC);
    SetWindowOrgEx(gdi_->dc, 0, 0, nullptr);
    SetWindowExtEx(gdi_->dc, size.width(), size.height(), nullptr);
    const int hres = GetDeviceCaps(gdi_->dc, HORZRES), vres = GetDeviceCaps(gdi_->dc, VERTRES);
    const int hmm = GetDeviceCaps(gdi_->dc, HORZSIZE), vmm = GetDeviceCaps(gdi_->dc, VERTSIZE);
    SetViewportOrgEx(gdi_->dc, 0, 0, nullptr);
    SetViewportExtEx(gdi_->dc, static_cast<int>(frame.right / 100.0 * hres / hmm),
                     static_cast<int>(frame.bottom / 100.0 * vres / vmm), nullptr);
    SetBkMode(gdi_->dc, TRANSPARENT);
    SetTextAlign(gdi_->dc, TA_BASELINE | TA_LEFT);
}

EmfPaintEngine::~EmfPaintEngine() = default;

QByteArray EmfPaintEngine::finish() {
    if (!gdi_->dc) return {};
    HENHMETAFILE m = CloseEnhMetaFileWithFILE(gdi_->dc);
    gdi_->dc = 0;
    if (m) DeleteEnhMetaFile(m);
    std::fflush(gdi_->stream);
    QByteArray out(gdi_->buffer, static_cast<qsizetype>(gdi_->length));
    return m ? out : QByteArray();
}

void EmfPaintEngine::selectPen(const MetaPen& pen) {
    if (!gdi_->dc || gdi_->penNow == pen) return;
    gdi_->penNow = pen;
    gdi_->replace(gdi_->pen, CreatePen(static_cast<int>(pen.style), pen.width, pen.colour));
}

void EmfPaintEngine::selectBrush(const MetaBrush& brush) {
    if (!gdi_->dc || gdi_->brushNow == brush) return;
    gdi_->brushNow = brush;
    LOGBRUSH b{static_cast<UINT>(brush.none ? BS_NULL : BS_SOLID), brush.colour, 0};
    gdi_->replace(gdi_->brush, CreateBrushIndirect(&b));
}

void EmfPaintEngine::selectFont(const MetaFont& font) {
    if (!gdi_->dc || gdi_->fontNow == font) return;
    gdi_->fontNow = font;
    LOGFONTW f{};
    f.lfHeight = -font.height;
    f.lfEscapement = font.escapement;
    f.lfOrientation = font.escapement;
    f.lfWeight = font.weight;
    f.lfItalic = font.italic ? 1 : 0;
    f.lfCharSet = EASTEUROPE_CHARSET;
    const std::u16string face = font.family.left(31).toStdU16String();
    for (std::size_t i = 0; i < face.size(); ++i) f.lfFaceName[i] = face[i];
    gdi_->replace(gdi_->font, CreateFontIndirectW(&f));
}

void EmfPaintEngine::setTextColour(std::uint32_t colour) {
    if (!gdi_->dc || gdi_->textColour == colour) return;
    gdi_->textColour = colour;
    SetTextColor(gdi_->dc, colour);
}

void EmfPaintEngine::polyline(const QPolygon& p) {
    if (!gdi_->dc || p.size() < 2) return;
    const std::vector<POINT> pts = points(p);
    Polyline(gdi_->dc, pts.data(), static_cast<INT>(pts.size()));
}

void EmfPaintEngine::polygon(const QPolygon& p, bool winding) {
    if (!gdi_->dc || p.size() < 3) return;
    if (gdi_->winding != winding) {
        gdi_->winding = winding;
        SetPolyFillMode(gdi_->dc, winding ? WINDING : ALTERNATE);
    }
    const std::vector<POINT> pts = points(p);
    Polygon(gdi_->dc, pts.data(), static_cast<INT>(pts.size()));
}

void EmfPaintEngine::ellipse(const QRect& b) {
    if (!gdi_->dc) return;
    Ellipse(gdi_->dc, b.left(), b.top(), b.right() + 1, b.bottom() + 1);
}

void EmfPaintEngine::text(const QPoint& at, const QString& s) {
    if (!gdi_->dc) return;
    const std::u16string u = s.toStdU16String();
    std::vector<WCHAR> w(u.begin(), u.end());
    w.push_back(0);
    ExtTextOutW(gdi_->dc, at.x(), at.y(), 0, nullptr, w.data(), static_cast<UINT>(u.size()), nullptr);
}

}  // namespace zorv

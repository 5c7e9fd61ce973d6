#include "charts/ChartPicture.h"

#include <qcustomplot.h>

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <array>

#include "charts/EmfPaintEngine.h"
#include "charts/WmfPaintEngine.h"
#include "text/AtomicFile.h"

namespace zorv {

namespace {

struct PictureName {
    PictureType type;
    const char* extension;
};
constexpr std::array<PictureName, 7> kNames{{{PictureType::Bmp, ".bmp"},
                                             {PictureType::Wmf, ".wmf"},
                                             {PictureType::Emf, ".emf"},
                                             {PictureType::Jpeg, ".jpg"},
                                             {PictureType::Png, ".png"},
                                             {PictureType::Svg, ".svg"},
                                             {PictureType::Pdf, ".pdf"}}};

// The document title of SVG and PDF: the chart window's caption.
QString captionOf(const QCustomPlot& chart) {
    if (!chart.windowTitle().isEmpty() || !chart.parentWidget()) return chart.windowTitle();
    return chart.parentWidget()->windowTitle();
}

QSize shownSize(const QCustomPlot& chart) {
    const QSize s = chart.size();
    return s.isEmpty() ? QSize(std::max(1, s.width()), std::max(1, s.height())) : s;
}

// Draws the chart on a vector device: labels as text, never cached pixmaps.
void paintVector(QCustomPlot& chart, QPaintDevice& device, QSize size) {
    QCPPainter painter;
    if (!painter.begin(&device)) throw FileWriteError("nie można narysować wykresu", 0);
    painter.setMode(QCPPainter::pmVectorized);
    painter.setMode(QCPPainter::pmNoCaching);
    chart.toPainter(&painter, size.width(), size.height());
    painter.end();
}

QByteArray raster(QCustomPlot& chart, QSize size, const char* format, int quality) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QCPPainter painter(&image);
        chart.toPainter(&painter, size.width(), size.height());
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (quality > 0) writer.setQuality(std::clamp(quality, 1, 100));
    if (!writer.write(image))
        throw FileWriteError("nie można zakodować obrazu (" + writer.errorString().toStdString() + ")", 0);
    return bytes;
}

QByteArray svg(QCustomPlot& chart, QSize size) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setResolution(96);
    generator.setTitle(captionOf(chart));
    paintVector(chart, generator, size);
    return bytes;
}

QByteArray pdf(QCustomPlot& chart, QSize size) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    // One page the chart's size, one point a pixel at 96 dpi.
    writer.setResolution(96);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setPageSize(QPageSize(QSizeF(size.width() * 72.0 / 96.0, size.height() * 72.0 / 96.0),
                                 QPageSize::Point, QString(), QPageSize::ExactMatch));
    writer.setCreator(QStringLiteral("Zorv"));
    writer.setTitle(captionOf(chart));
    paintVector(chart, writer, size);
    return bytes;
}

QByteArray wmf(QCustomPlot& chart, QSize size) {
    WmfPaintEngine engine(size);
    MetafileDevice device(&engine, size);
    paintVector(chart, device, size);
    return engine.file();
}

QByteArray emf(QCustomPlot& chart, QSize size) {
    EmfPaintEngine engine(size);
    {
        MetafileDevice device(&engine, size);
        paintVector(chart, device, size);
    }
    QByteArray bytes = engine.finish();
    if (bytes.isEmpty()) throw FileWriteError("nie można utworzyć metapliku EMF", 0);
    return bytes;
}

}  // namespace

std::optional<PictureType> pictureTypeOf(const QString& path) {
    const QString suffix = QLatin1Char('.') + QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String(".jpeg")) return PictureType::Jpeg;
    for (const PictureName& n : kNames)
        if (suffix == QLatin1String(n.extension)) return n.type;
    return std::nullopt;
}

QString pictureExtension(PictureType type) {
    return QLatin1String(kNames[static_cast<std::size_t>(type)].extension);
}

QByteArray chartPictureBytes(QCustomPlot& chart, PictureType type, int jpegQuality) {
    const QSize size = shownSize(chart);
    switch (type) {
        case PictureType::Bmp: return raster(chart, size, "bmp", -1);
        case PictureType::Jpeg: return raster(chart, size, "jpg", std::clamp(jpegQuality, 1, 100));
        case PictureType::Png: return raster(chart, size, "png", -1);
        case PictureType::Svg: return svg(chart, size);
        case PictureType::Pdf: return pdf(chart, size);
        case PictureType::Wmf: return wmf(chart, size);
        case PictureType::Emf: break;
    }
    return emf(chart, size);
}

void writeChartPicture(QCustomPlot& chart, const QString& path, PictureType type, int jpegQuality) {
    // The temporary file exists before the drawing, so that a folder we
    // cannot write to is reported before any work.
    AtomicFile file(QFile::encodeName(path).toStdString());
    QByteArray bytes;
    try {
        bytes = chartPictureBytes(chart, type, jpegQuality);
    } catch (const FileWriteError& e) {
        throw FileWriteError("Nie można zapisać pliku " + file.target() + ": " + e.what() + ".", e.error());
    }
    file.write(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    file.commit();
}

}  // namespace zorv

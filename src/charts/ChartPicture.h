#pragma once
// Chart pictures: the chart as it is shown, at its on-screen size, written
// as a Windows bitmap, a Windows or enhanced metafile, JPEG, PNG, SVG or
// PDF. The metafiles, SVG and PDF are vector pictures with their texts as
// text. Every picture goes through a temporary file beside the target that
// is renamed over it only when complete.

#include <QString>
#include <optional>

class QCustomPlot;

namespace zorv {

// In the order of the export dialog's file types.
enum class PictureType { Bmp, Wmf, Emf, Jpeg, Png, Svg, Pdf };

// By the name's extension, in any case (".jpeg" is JPEG too); none for any
// other extension.
std::optional<PictureType> pictureTypeOf(const QString& path);
// ".bmp", ".wmf", ".emf", ".jpg", ".png", ".svg", ".pdf".
QString pictureExtension(PictureType type);

// Writes the chart to `path` whatever its extension; `jpegQuality` 1–100.
// Throws FileWriteError with the Polish cause on failure; the old file is
// then untouched.
void writeChartPicture(QCustomPlot& chart, const QString& path, PictureType type, int jpegQuality);

// The picture's bytes, as writeChartPicture() writes them; throws
// FileWriteError with a bare cause ("nie można ...") when drawing fails.
QByteArray chartPictureBytes(QCustomPlot& chart, PictureType type, int jpegQuality);

}  // namespace zorv

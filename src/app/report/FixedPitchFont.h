#pragma once
// The fixed-pitch font of the text windows, in which the report's
// 36-character labels and the table columns line up. It is chosen by what a
// family is, not by its name alone: "Courier New" may resolve to a family
// the font database does not report as fixed-pitch (a metric clone), and a
// proportional fallback would scatter the columns.

#include <QFont>
#include <QStringList>
#include <functional>

namespace zorv {

// Known monospace families, best first: Courier New, its metric clone, then
// the common free ones.
const QStringList& monospaceFamilies();

// The family to use among `families` (the machine's): Courier New when the
// database reports it fixed-pitch; else the first known monospace family
// there is; else the first family `isFixedPitch` reports; else empty (the
// caller takes the system's fixed font).
QString fixedPitchFamily(const QStringList& families,
                         const std::function<bool(const QString&)>& isFixedPitch);

// The font of that family at `points`, or the system's fixed font.
QFont fixedPitchFont(int points);

}  // namespace zorv

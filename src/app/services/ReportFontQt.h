#pragma once
// A report font choice of the preferences as a Qt font and back.

#include <QFont>

#include "catalogue/Preferences.h"

namespace zorv {

// A choice of no size prints at 10 points.
QFont qtFont(const ReportFontChoice& choice, QFont::StyleHint hint = QFont::AnyStyle);
ReportFontChoice fontChoice(const QFont& font);

}  // namespace zorv

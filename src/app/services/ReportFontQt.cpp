#include "services/ReportFontQt.h"

namespace zorv {

QFont qtFont(const ReportFontChoice& c, QFont::StyleHint hint) {
    QFont f(QString::fromStdString(c.family));
    f.setPointSizeF(c.points > 0 ? c.points : 10.0);
    f.setBold(c.bold);
    f.setItalic(c.italic);
    f.setStyleHint(hint);
    return f;
}

ReportFontChoice fontChoice(const QFont& f) {
    return {f.family().toStdString(), f.pointSizeF(), f.bold(), f.italic()};
}

}  // namespace zorv

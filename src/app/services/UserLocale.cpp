#include "services/UserLocale.h"

namespace zorv {

Locale toCoreLocale(const QLocale& locale) {
    // The core works on single-byte separators; a locale with anything else
    // falls back to the point and the ISO date.
    const QString point = locale.decimalPoint();
    const QString group = locale.groupSeparator();
    const char decimal = point.size() == 1 && point[0].unicode() < 0x80 ? point[0].toLatin1() : '.';
    char thousands = group.size() == 1 && group[0].unicode() < 0x80 ? group[0].toLatin1() : ' ';
    if (thousands == decimal) thousands = 0;
    QString pattern = locale.dateFormat(QLocale::ShortFormat);
    static const QString allowed = QStringLiteral("dMy./- ");
    bool plain = !pattern.isEmpty();
    for (QChar c : pattern)
        if (!allowed.contains(c)) plain = false;
    // Month and day names ("MMM", "ddd") are not numbers we can write and read back.
    if (pattern.contains(QStringLiteral("MMM")) || pattern.contains(QStringLiteral("ddd"))) plain = false;
    if (!plain) pattern = QStringLiteral("yyyy-MM-dd");
    return Locale::make(decimal, pattern.toStdString(), thousands);
}

}  // namespace zorv

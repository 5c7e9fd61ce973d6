#include "report/FixedPitchFont.h"

#include <QFontDatabase>

namespace zorv {

const QStringList& monospaceFamilies() {
    static const QStringList families{
        QStringLiteral("Courier New"),      QStringLiteral("Liberation Mono"),
        QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Noto Sans Mono"),
        QStringLiteral("Noto Mono"),        QStringLiteral("Cousine"),
        QStringLiteral("FreeMono"),         QStringLiteral("Nimbus Mono PS"),
        QStringLiteral("Courier"),
    };
    return families;
}

QString fixedPitchFamily(const QStringList& families,
                         const std::function<bool(const QString&)>& isFixedPitch) {
    const QString courier = monospaceFamilies().front();
    if (families.contains(courier, Qt::CaseInsensitive) && isFixedPitch(courier)) return courier;
    for (const QString& known : monospaceFamilies().mid(1))
        if (families.contains(known, Qt::CaseInsensitive)) return known;
    for (const QString& family : families)
        if (isFixedPitch(family)) return family;
    return {};
}

QFont fixedPitchFont(int points) {
    const QString family = fixedPitchFamily(QFontDatabase::families(),
                                            [](const QString& f) { return QFontDatabase::isFixedPitch(f); });
    if (family.isEmpty()) {
        QFont system = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        system.setPointSize(points);
        return system;
    }
    QFont font(family, points);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

}  // namespace zorv

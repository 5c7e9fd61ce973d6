#include "services/ShellTexts.h"

namespace zorv {

QString catalogueStatusText(const QString& catalogueName, bool basePropertiesSet, std::size_t filteredCount) {
    if (!basePropertiesSet) return QStringLiteral("Brak aktywnej bazy");
    return catalogueName + QStringLiteral(" (Rekordów: ") + QString::number(filteredCount) + QLatin1Char(')');
}

QString recordStatusText(bool tableOpen, std::size_t filteredCount, std::int32_t recordCount) {
    if (!tableOpen) return QStringLiteral("Brak rekordów");
    return QStringLiteral("Rekordów: ") + QString::number(filteredCount) + QLatin1Char('/') +
           QString::number(recordCount);
}

QString catalogueWindowCaption(const QString& tableFileName, const QString& recordText) {
    return tableFileName + QStringLiteral(" (") + recordText + QLatin1Char(')');
}

QString fatalErrorMessage(const QString& errorText) {
    return QStringLiteral("W programienie wystąpił nieoczekiwany wyjątek niebsłużony przez aplikację [ ") +
           errorText + QStringLiteral(" ]. Proszę skontaktować się z autorem (") + kContactAddress +
           QStringLiteral(")  oraz podać okoliczności powstania błędu.");
}

}  // namespace zorv

#pragma once
// Texts of the main window that depend on its state.

#include <QString>
#include <cstddef>
#include <cstdint>

namespace zorv {

inline const QString kProgramCaption = QStringLiteral("Zorv 2.10.1");
// Configuration values: the program's web page and the author's address.
inline const QString kWebAddress = QStringLiteral("https://www.morvane.pl/zorv/");
inline const QString kContactAddress = QStringLiteral("zorv@morvane.pl");

inline const QString kSecondInstanceMessage =
    QStringLiteral("Program ZORV jest już uruchomiony. Nie jest możliwe uruchomienie drugiego programu.");
inline const QString kBookmarkHiddenMessage = QStringLiteral(
    "Nie można skoczyć do rekordu określonego zakładką; rekord jest ukryty (sprawdź ustawienia filtru) lub "
    "został usunięty");
inline const QString kBookmarkFailedMessage =
    QStringLiteral("Nie można skoczyć do rekordu określonego zakładką");
inline const QString kExitQuestion = QStringLiteral("Czy zakończyć pracę programu ?");
inline const QString kExitTitle = QStringLiteral("Koniec programu");
inline const QString kResetQuestion = QStringLiteral(
    "Operacja usunie zapisy w rejestrze oraz zakończy pracę programu. Czy chcesz kontynuować?");

// The catalogue panel: "name (Rekordów: n)" while the base properties are
// set, else "Brak aktywnej bazy".
QString catalogueStatusText(const QString& catalogueName, bool basePropertiesSet, std::size_t filteredCount);
// The record panel: "Rekordów: filtered/total", or "Brak rekordów" while no
// catalogue table is open.
QString recordStatusText(bool tableOpen, std::size_t filteredCount, std::int32_t recordCount);
// The caption of the catalogue window: "name (record panel text)".
QString catalogueWindowCaption(const QString& tableFileName, const QString& recordText);

// The message of a failure that escaped the start or the message loop.
QString fatalErrorMessage(const QString& errorText);

}  // namespace zorv

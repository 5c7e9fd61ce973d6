#pragma once
// The user's number and date conventions as the core's Locale.

#include <QLocale>

#include "text/Locale.h"

namespace zorv {

Locale toCoreLocale(const QLocale& locale);
inline Locale userLocale() { return toCoreLocale(QLocale::system()); }

}  // namespace zorv

#pragma once
// The failure kinds of the hazard estimators; their base and EBreakProcess
// are in base/HazardError.h. Each carries its fixed message; the command
// that started the analysis catches them by class and shows the message (or,
// in the time-variation table, notes it in the row).

#include "base/HazardError.h"

namespace zorv {

// The catalogue has no record, or no event reaches MMin.
class ENoRecords : public HazardError {
public:
    ENoRecords() : HazardError("Brak rekordów do analizy") {}
};

class ESampleTooLow : public HazardError {
public:
    ESampleTooLow() : HazardError("Zbyt mała próba") {}
};

class ETooManyIterations : public HazardError {
public:
    ETooManyIterations() : HazardError("Zbyt wielka liczba iteracji, proces być może nie jest zbieżny") {}
};

class ETooLargeMagnitude : public HazardError {
public:
    ETooLargeMagnitude() : HazardError("Zbyt wielka wartość magnitudy/energii") {}

protected:
    explicit ETooLargeMagnitude(const char* message) : HazardError(message) {}
};

// The maximum-magnitude equation has no root between the largest observed
// magnitude and MMaxLimit: its excess T(u) − u stays positive there, and
// substitution would run past the limit however long it went on.
class ENoMMaxRoot : public ETooLargeMagnitude {
public:
    ENoMMaxRoot()
        : ETooLargeMagnitude(
              "Równanie maksymalnej magnitudy nie ma rozwiązania poniżej dopuszczalnej wartości") {}
};

// A root finder ended on a smoothing factor that is not positive.
class EHFactorBelowZero : public HazardError {
public:
    EHFactorBelowZero() : HazardError("Czynnik wygładzający mniejszy lub równy zero.") {}
};

class EDerivZero : public HazardError {
public:
    EDerivZero() : HazardError("Pochodna równa zero...") {}
};

class EZeroNotFound : public HazardError {
public:
    EZeroNotFound() : HazardError("Nie znaleziono miejsca zerowego funkcji") {}
};

class EMMaxEstExceeded : public HazardError {
public:
    EMMaxEstExceeded()
        : HazardError(
              "Przekroczona dopuszczalna wartość estymatora maksymalnej magnitudy. Najprawdopodobniej proces "
              "obliczania całki nie jest zbieżny") {}
};

}  // namespace zorv

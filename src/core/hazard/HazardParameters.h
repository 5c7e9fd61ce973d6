#pragma once
// The parameters of a nonparametric hazard analysis as the parameter dialog
// returns them, and the dialog's logic that needs no window: the titles of
// the kinds, the defaults, the enabling of "Kontynuuj", the reading of the
// selected magnitudes or periods, and the check of the table range.

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "hazard/HazardBootstrap.h"
#include "hazard/Hrds.h"
#include "text/Locale.h"

namespace zorv {

// The analysis kinds of the nonparametric mode, numbered as the dialog
// returns them.
enum class HazardKind : std::uint8_t {
    Hazard = 6,
    MeanReturnPeriod = 7,
    SmoothingFactor = 8,
    Probabilities = 9,
    HazardVsMagnitude = 10,
};

struct HazardParameters {
    // The range of the table's variable: D for the hazard, h for the
    // smoothing-factor table, magnitude otherwise; all −1 with the automatic
    // range.
    double start = -1.0, end = -1.0, step = -1.0;
    HazardKind kind = HazardKind::Hazard;
    // Magnitudes (hazard) or periods (hazard vs magnitude), `count` of them,
    // ordered as text and without repeats (SelectedValues).
    std::array<double, 4> values{};
    double alternativeH = 0.12;  // "Alternatywny współczynnik gładkości"
    int count = 0;
    std::uint8_t functions = 0;  // ProbabilityFunction flags
    TimeUnit unit = TimeUnit::Months;
    bool accepted = false;  // OK rather than Cancel
    // "Użyj metody Silvermana poszukiwania optymalnego współczynnika
    // gładkości": search h (on) or use the alternative h (off).
    bool useSearch = true;
    bool automaticRange = true;
    // The user clicked the search option, changed the alternative h or
    // clicked the variable upper limit: the cached estimate is not reused.
    bool touched = false;
    bool variableUpperLimit = false;  // "Zmienna górna granica całkowania"
    // "Przedział ufności": bootstrap bands of the table's values.
    BootstrapOptions bootstrap;

    std::vector<double> Values() const {
        return {values.begin(), values.begin() + std::max(0, std::min(count, 4))};
    }
};

// The caption of the dialog and its heading.
inline constexpr const char* kHazardDialogCaption = "Nieparametryczna analiza hazardu";
inline constexpr const char* kHazardDialogHeading = "Nieparametryczna analiza hazardu sejsmicznego";

// "Hazard sejsmiczny", "Średni okres powrotu", "Współczynnik gładkości
// Silvermana", "Funkcje gęstości, dystrybuanta rozkładu", "Hazard w funkcji
// magnitudy".
std::string HazardKindTitle(HazardKind kind);

// The menu entries of the command, tags 1 to 7: the kind and the preselected
// function flags (tags 5, 6, 7 preselect the density, the adaptive density,
// the adaptive distribution function). nullopt for another tag.
struct HazardMenuEntry {
    HazardKind kind;
    std::uint8_t functions;
};
std::optional<HazardMenuEntry> HazardMenuEntryOfTag(int tag);

// The dialog's initial record for a kind: its default range and values (not
// the automatic range; the check box starts on), the settings' alternative h
// and search option, the last variable-upper-limit option.
HazardParameters DefaultHazardParameters(HazardKind kind, std::uint8_t functions, double alternativeH,
                                         bool useSearch, bool variableUpperLimit);

// One row of magnitudes or periods: its check box and spin edit.
struct SelectableValue {
    bool checked = false;
    double value = 0.0;
};

// "Kontynuuj" is enabled when the hazard has a magnitude chosen, the hazard
// vs magnitude a period, the density table a function; always for the mean
// return period and the smoothing-factor table.
bool ContinueEnabled(HazardKind kind, const std::vector<SelectableValue>& rows, std::uint8_t functions);

// The checked values written as text (general format, the locale's decimal
// separator), ordered as text without repeats, and read back: 12 comes before
// 3, and a value chosen twice counts once.
std::vector<double> SelectedValues(const std::vector<SelectableValue>& rows, const Locale& locale);

// The message refusing a range the table could not step through, or nullopt
// when the range is fine (the automatic range always is).
std::optional<std::string> HazardRangeProblem(const HazardParameters& p);

// The energy read-out next to a magnitude: 10^(a·M + b) [J] as "0.000E+00".
std::string EnergyReadout(double magnitude, double a, double b, const Locale& locale);

// The unit label next to the periods: "miesięcy" or "kwartałów".
std::string PeriodUnitLabel(TimeUnit unit);

}  // namespace zorv

#include "services/Commands.h"

namespace zorv {

namespace {

using enum ToolBarId;

constexpr unsigned kCat = CatalogueOnly;
constexpr unsigned kAnalysis = CatalogueOnly | AnalysisCommand;
constexpr unsigned kChart = ChartCommand;

constexpr const char* kActivity = "Analiza zagrożenia/Aktywność sejsmiczna";
constexpr const char* kEnergy = "Analiza zagrożenia/Energia sejsmiczna";
constexpr const char* kExtra = "Analiza zagrożenia/Powtarzalność i współczynnik b";
constexpr const char* kPha = "Analiza zagrożenia/Parametryczna analiza hazardu";
constexpr const char* kNpha = "Analiza zagrożenia/Nieparametryczna analiza hazardu";
constexpr const char* kDensity = "Analiza zagrożenia/Funkcje gęstości i dystrybuanta";
constexpr const char* kTime = "Analiza zagrożenia/Zmienność w czasie";
constexpr const char* kZones = "Analiza zagrożenia/Zmienność w strefach";
constexpr const char* kCheck = "Analiza zagrożenia/Pewność oceny hazardu";
constexpr const char* kSpace = "Analiza zagrożenia/Rozkład przestrzenny";

// clang-format off
constexpr CommandDescriptor kCommands[] = {
    // ---- Plik
    {"mNewBase", "Nowa baza do analizy", "Otwiera katalog zjawisk do analizy", "Ctrl+N", 0, "Plik", 0, File, nullptr},
    {"mBaseProperties", "Własności bazy danych", "Współczynniki, próg kompletności i pola otwartego katalogu", "", 0, "Plik", kCat, File, nullptr},
    {"mShutDatabase", "Zakończ pracę z bazą", "Zamyka otwarty katalog", "", 0, "Plik", kCat, None, nullptr},
    {"mOpen", "Podgląd bazy danych", "Otwiera plik bazy danych do podglądu", "Ctrl+O", 0, "Plik", SeparatorBefore, File, nullptr},
    {"mSave", "Zapisz", "Zapisuje zawartość aktywnego okna", "Ctrl+S", 0, "Plik", SaveCommand, File, nullptr},
    {"mSaveAs", "Zapisz jako...", "Zapisuje zawartość aktywnego okna pod nową nazwą", "", 0, "Plik", SaveCommand, None, nullptr},
    {"mExport", "Eksportuj plik", "Eksportuje zawartość aktywnego okna", "", 0, "Plik", ExportCommand | SeparatorBefore, File, nullptr},
    {"mImport", "Importuj plik", "Tworzy katalog z pliku tekstowego", "", 0, "Plik", 0, File, nullptr},
    {"mPrint", "Drukuj", "Drukuje zawartość aktywnego okna", "Ctrl+P", 0, "Plik", PrintCommand | SeparatorBefore, File, nullptr},
    {"mPrintSetup", "Właściwości drukowania", "Wybór i ustawienia drukarki", "", 0, "Plik", 0, None, nullptr},
    {"mOptions", "Opcje programu", "Ustawienia programu", "", 0, "Plik", SeparatorBefore, File, nullptr},
    {"mExit", "Wyjście z programu", "Kończy pracę programu", "Ctrl+Alt+Q", 0, "Plik", SeparatorBefore, None, nullptr},
    // ---- Widok
    {"mFilePanel", "Plik", "Pokazuje lub ukrywa pasek narzędzi Plik", "", 1, "Widok/Paski narzędzi", Checkable | Checked, None, nullptr},
    {"mBasePanel", "Baza danych", "Pokazuje lub ukrywa pasek narzędzi Baza danych", "", 2, "Widok/Paski narzędzi", Checkable | Checked, None, nullptr},
    {"mFilterPanel", "Filtr", "Pokazuje lub ukrywa pasek narzędzi Filtr", "", 3, "Widok/Paski narzędzi", Checkable | Checked, None, nullptr},
    {"mReportsPanel", "Wykresy", "Pokazuje lub ukrywa pasek narzędzi Wykresy", "", 4, "Widok/Paski narzędzi", Checkable | Checked, None, nullptr},
    {"mHazardAnalysisPanel", "Analiza zagrożenia", "Pokazuje lub ukrywa pasek analiz zagrożenia", "", 5, "Widok/Paski narzędzi", Checkable | Checked, None, nullptr},
    {"mTree", "Drzewo stref", "Wybór stref w drzewie oddziałów", "", 0, "Widok", Checkable | Checked | kCat | SeparatorBefore, None, nullptr},
    {"mZone", "Lista stref", "Wybór stref z listy", "", 0, "Widok", Checkable | kCat, None, nullptr},
    {"mShowMainBase", "Baza danych", "Pokazuje rekordy katalogu", "", 1, "Widok", SeparatorBefore, None, nullptr},
    {"mShowLocalizacje", "Lokalizacje", "Pokazuje mapę lokalizacji zjawisk", "", 2, "Widok", 0, None, nullptr},
    {"mShowDaneBazy", "Dane bazy", "Pokazuje podsumowanie wybranych stref", "", 3, "Widok", 0, None, nullptr},
    {"mShowZakresy", "Zakresy", "Pokazuje zakresy czasowe zjawisk w oddziałach", "", 4, "Widok", 0, None, nullptr},
    {"mShowVTAB", "Tablica VTAB", "Pokazuje tablicę VTAB", "", 5, "Widok", 0, None, nullptr},
    // ---- Baza danych
    {"mToBegin", "Początek", "Przejście do pierwszego rekordu", "Ctrl+B", kFirstRecord, "Baza danych", kCat | AtBeginOff, Database, nullptr},
    {"mPrevious", "Poprzedni rekord", "Przejście do poprzedniego rekordu", "Ctrl+Z", kPriorRecord, "Baza danych", kCat | AtBeginOff, Database, nullptr},
    {"mNext", "Następny rekord", "Przejście do następnego rekordu", "Ctrl+X", kNextRecord, "Baza danych", kCat | AtEndOff, Database, nullptr},
    {"mToEnd", "Koniec", "Przejście do ostatniego rekordu", "Ctrl+E", kLastRecord, "Baza danych", kCat | AtEndOff, Database, nullptr},
    {"mBookmarkSet", "Ustal", "Zapamiętuje bieżący rekord w zakładce", "Ctrl+B", 0, "Baza danych/Zakładka", kCat, Database, nullptr},
    {"mBookmarkGoTo", "Skocz do zakładki", "Przejście do rekordu zapamiętanego w zakładce", "Ctrl+G", 0, "Baza danych/Zakładka", kCat, Database, nullptr},
    {"mLocalizedOnly", "Zlokalizowane", "Pokazuje tylko zlokalizowane wstrząsy", "", 0, "Baza danych", Checkable | kCat | SeparatorBefore, Filter, nullptr},
    {"mZoomIn", "Powiększ", "Powiększa mapę lokalizacji", "", 0, "Baza danych/Mapa", kCat, None, nullptr},
    {"mZoomOut", "Pomniejsz", "Pomniejsza mapę lokalizacji", "", 0, "Baza danych/Mapa", kCat, None, nullptr},
    {"m100Percent", "100%", "Przywraca pełny widok mapy", "", 0, "Baza danych/Mapa", kCat, None, nullptr},
    {"mSetZone", "Zaznacz strefę", "Ogranicza zjawiska do widocznego obszaru mapy", "", 0, "Baza danych/Mapa", kCat | SeparatorBefore, None, nullptr},
    {"mUnsetZone", "Usuń strefę", "Usuwa obszar zaznaczony na mapie", "", 0, "Baza danych/Mapa", kCat, None, nullptr},
    {"mShowSeismometers", "Pokaż lokalizacje rejestratorów", "Pokazuje rejestratory na mapie", "", 0, "Baza danych/Mapa", Checkable | HiddenCommand, None, nullptr},
    {"mInverseXAxis", "Odwróć oś X mapy lokalizacji zjawisk", "Odwraca kierunek osi X mapy", "", 1, "Baza danych/Mapa", Checkable | kCat | SeparatorBefore, None, nullptr},
    {"mInverseYAxis", "Odwróć oś Y mapy lokalizacji zjawisk", "Odwraca kierunek osi Y mapy", "", 2, "Baza danych/Mapa", Checkable | kCat, None, nullptr},
    {"mFilter", "Filtr czasowy", "Filtruje bazę danych względem czasu", "Ctrl+F", 0, "Baza danych", kCat | SeparatorBefore, Filter, nullptr},
    {"mClearFilters", "Usuń filtr", "Usuwa wszystkie filtry nadane bazie", "", 0, "Baza danych", kCat, Filter, nullptr},
    {"mAND", "AND", "Łączy filtry spójnikiem i", "", kAndTag, "Baza danych/Spójnik wyrażeń filtrujących", Checkable | Checked | kCat, Filter, nullptr},
    {"mOR", "OR", "Łączy filtry spójnikiem lub", "", kOrTag, "Baza danych/Spójnik wyrażeń filtrujących", Checkable | kCat, Filter, nullptr},
    {"mLockUnlock", "Zabezpiecz", "Zabezpiecza bazę przed zmianami", "Ctrl+L", 0, "Baza danych", Checkable | kCat | SeparatorBefore, Database, nullptr},
    // ---- Analiza zagrożenia
    {"mSeisActivity", "Aktywność Sejsmiczna w klasach energii", "Liczba zjawisk w klasach energii w okresach", "", 1, kActivity, kAnalysis, Analysis, "Aktywność"},
    {"mCSeisActivity", "Skumulowana aktywność sejsmiczna w klasach energii", "Skumulowana liczba zjawisk w klasach energii", "", 2, kActivity, kAnalysis, Analysis, "Aktywność"},
    {"mTotalActivity", "Aktywność sejsmiczna", "Całkowita liczba zjawisk w okresach", "", 7, kActivity, kAnalysis | SeparatorBefore, Analysis, "Aktywność"},
    {"mCTotalActivity", "Skumulowana aktywność sejsmiczna", "Skumulowana całkowita liczba zjawisk", "", 8, kActivity, kAnalysis, Analysis, "Aktywność"},
    {"mActivityOverTreshold", "Aktywność powyżej progu kompletności", "Liczba zjawisk powyżej progu kompletności katalogu", "", 9, kActivity, kAnalysis | SeparatorBefore, Analysis, "Aktywność"},
    {"mCActivityOverTreshold", "Skumulowana aktywność powyżej progu kompletności", "Skumulowana liczba zjawisk powyżej progu kompletności", "", 12, kActivity, kAnalysis, Analysis, "Aktywność"},
    {"mEnReleased", "Energia wyzwolona", "Energia wyzwolona w okresach", "", 3, kEnergy, kAnalysis, Analysis, "Energia"},
    {"mCEnReleased", "Skumulowana energia wyzwolona", "Skumulowana energia wyzwolona w okresach", "", 4, kEnergy, kAnalysis, Analysis, "Energia"},
    {"mLEnReleased", "Energia wyzwolona (ciągły)", "Energia wyzwolona jako wykres liniowy", "", 5, kEnergy, kAnalysis, Analysis, "Energia"},
    {"mCLEnReleased", "Skumulowana energia wyzwolona (ciągły)", "Wykres Benioffa", "", 6, kEnergy, kAnalysis, Analysis, "Energia"},
    {"mEnergiaSladow", "Energia Śladów", "Narastanie energii słabych zjawisk między wstrząsami rozładowującymi", "", 11, kEnergy, kAnalysis | SeparatorBefore, Analysis, "Energia"},
    {"mHistogram", "Wykres powtarzalności", "Liczba zjawisk w klasach magnitudy", "", 0, kExtra, kAnalysis, Analysis, "Dodatkowe"},
    {"mBChanges", "Współczynnik b", "Wykres zmian współczynnika b", "", 10, kExtra, kAnalysis, Analysis, "Dodatkowe"},
    {"mParamHazard", "Hazard sejsmiczny", "Parametryczny hazard sejsmiczny w okresie D", "", 0, kPha, kAnalysis, Analysis, "PHA"},
    {"mParamMRP", "Średni okres powrotu", "Parametryczny średni okres powrotu", "", 1, kPha, kAnalysis, Analysis, "PHA"},
    {"mParamHazardVsMagnitudy", "Hazard w funkcji magnitudy", "Parametryczny hazard w funkcji magnitudy", "", 2, kPha, kAnalysis, Analysis, "PHA"},
    {"mParamPDF", "Parametryczna funkcja gęstości rozkładu magnitudy", "Funkcja gęstości rozkładu Gutenberga-Richtera", "", 3, kPha, kAnalysis | SeparatorBefore, Analysis, "PHA"},
    {"mParamCDF", "Parametryczna dystrybuant funkcji gęstości rozkładu magnitudy", "Dystrybuanta rozkładu Gutenberga-Richtera", "", 4, kPha, kAnalysis, Analysis, "PHA"},
    {"mHazard", "Hazard sejsmiczny", "Nieparametryczny hazard sejsmiczny w okresie D", "", 1, kNpha, kAnalysis, Analysis, "NPHA"},
    {"mMeanReturnPeriod", "Średni okres powrotu", "Nieparametryczny średni okres powrotu", "", 2, kNpha, kAnalysis, Analysis, "NPHA"},
    {"mHazardVsMagnitude", "Hazard w funkcji magnitudy", "Nieparametryczny hazard w funkcji magnitudy", "", 4, kNpha, kAnalysis, Analysis, "NPHA"},
    {"mSmoothingFactor", "Współczynnik gładkości Silvermana", "Tabela współczynnika gładkości estymatora jądrowego", "", 3, kNpha, kAnalysis | SeparatorBefore, Analysis, "NPHA"},
    {"mPDFest", "Funkcja gęstości", "Jądrowy estymator funkcji gęstości magnitudy", "", 5, kDensity, kAnalysis, Analysis, "NPHA"},
    {"mPDFest_adapt", "Funkcja gęstości (adaptacyjna)", "Adaptacyjny estymator funkcji gęstości magnitudy", "", 6, kDensity, kAnalysis, Analysis, "NPHA"},
    {"mCDFest_adapt", "Dystrybuanta (adaptacyjna)", "Adaptacyjny estymator dystrybuanty magnitudy", "", 7, kDensity, kAnalysis, Analysis, "NPHA"},
    {"mtvMMaxEst", "Magnituda maksymalna", "Zmiany estymatora magnitudy maksymalnej w oknach czasowych", "", 1, kTime, kAnalysis, Analysis, "Zmienność w czasie"},
    {"mtvHazard", "Hazard sejsmiczny", "Zmiany hazardu sejsmicznego w oknach czasowych", "", 3, kTime, kAnalysis, Analysis, "Zmienność w czasie"},
    {"mtvMRP", "Średni okres powrotu", "Zmiany średniego okresu powrotu w oknach czasowych", "", 4, kTime, kAnalysis, Analysis, "Zmienność w czasie"},
    {"mtvBeta", "Współczynnik b", "Zmiany współczynnika b w oknach czasowych", "", 5, kTime, kAnalysis, Analysis, "Zmienność w czasie"},
    {"mShowAll", "Wszystkie wykresy", "Wszystkie wykresy zmienności w czasie", "", 10, kTime, kAnalysis | SeparatorBefore, Analysis, "Zmienność w czasie"},
    {"mZoneActivity", "Aktywność sejsmiczna w klasach energii", "Aktywność w klasach energii w wybranych strefach", "", 0, kZones, kAnalysis, Analysis, "Zmienność w strefach"},
    {"mZoneTotalActivity", "Aktywność sejsmiczna", "Aktywność sejsmiczna w wybranych strefach", "", 1, kZones, kAnalysis, Analysis, "Zmienność w strefach"},
    {"mZoneEnergyReleased", "Energia wyzwolona", "Energia wyzwolona w wybranych strefach", "", 2, kZones, kAnalysis, Analysis, "Zmienność w strefach"},
    {"mZoneB", "Estymator współczynnika b", "Współczynnik b w wybranych strefach", "", 3, kZones, kAnalysis, Analysis, "Zmienność w strefach"},
    {"mZoneActivityOverTreshold", "Aktywność powyżej progu kompletności", "Aktywność powyżej progu kompletności w wybranych strefach", "", 4, kZones, kAnalysis, Analysis, "Zmienność w strefach"},
    {"mMMaxCompare", "Maksymalna magnituda — porównanie estymatorów", "Maksymalna magnituda według kilku estymatorów z odchyleniami standardowymi", "", 0, kCheck, kAnalysis, Analysis, "Dodatkowe"},
    {"mBacktest", "Weryfikacja prognoz hazardu", "Wynik Briera, niezawodność i test liczby zjawisk prognoz z przeszłości katalogu", "", 0, kCheck, kAnalysis, Analysis, "Dodatkowe"},
    {"mHazardMap", "Mapa zagrożenia", "Tempo, Mc, współczynnik b, Mmax i hazard w węzłach siatki nad planem kopalni", "", 0, kSpace, kAnalysis, Analysis, "Dodatkowe"},
    // ---- Sejsmometria (hidden menu)
    {"mSeisFilter", "Filtrowanie tablicy VTAB", "Filtruje tablicę VTAB", "", 0, "Sejsmometria", Checkable, None, nullptr},
    {"mRemoveVTABFilter", "Usuń filtr", "Usuwa filtr tablicy VTAB", "", 0, "Sejsmometria", 0, None, nullptr},
    {"mCopyFilter", "Kopiowanie filtru bazy danych", "Przenosi filtr katalogu na tablicę VTAB", "", 0, "Sejsmometria", Checkable, None, nullptr},
    // ---- Wykresy
    {"mGraphProperties", "Własności wykresów", "Zmiana wyglądu aktywnego wykresu", "Ctrl+W", 1, "Wykresy", kChart, Charts, nullptr},
    {"mGraphTitles", "Tytuły", "Tytuły wykresu", "", 1, "Wykresy/Edycja wykresu", kChart, None, nullptr},
    {"mGraphAxisTitles", "Tytuły osi", "Tytuły osi wykresu", "", 2, "Wykresy/Edycja wykresu", kChart, None, nullptr},
    {"mGraphColors", "Kolory", "Kolory wykresu", "", 3, "Wykresy/Edycja wykresu", kChart, None, nullptr},
    {"mGraphLegend", "Legenda", "Legenda wykresu", "", 4, "Wykresy/Edycja wykresu", kChart, None, nullptr},
    {"mGraphSeries", "Serie", "Serie danych wykresu", "", 5, "Wykresy/Edycja wykresu", kChart, None, nullptr},
    {"mGraphAxis", "Osie", "Osie wykresu", "", 6, "Wykresy/Edycja wykresu", kChart, None, nullptr},
    {"mSaveGraphAsTemplate", "Zapisz wykres jako szablon", "Zapisuje wygląd wykresu w pliku szablonu", "", 0, "Wykresy/Szablony", kChart, Charts, nullptr},
    {"mLoadGraphTemplate", "Odczytaj szablon wykresu", "Nadaje wykresowi wygląd z pliku szablonu", "", 0, "Wykresy/Szablony", kChart, Charts, nullptr},
    {"mLoadDefaultTemplate", "Szablon domyślny", "Nadaje wykresowi wygląd szablonu domyślnego", "", 0, "Wykresy/Szablony", kChart, None, nullptr},
    {"mDefaultSize", "Domyślna", "Rozmiar wykresu z ustawień programu", "", kSizeOfSettings, "Wykresy/Rozmiar wykresu", kChart, None, nullptr},
    {"m300x200", "400 x 300 pikseli", "Rozmiar wykresu 400 x 300 pikseli", "", kSize400x300, "Wykresy/Rozmiar wykresu", kChart, None, nullptr},
    {"m400x300", "500 x 400 pikseli", "Rozmiar wykresu 500 x 400 pikseli", "", kSize500x400, "Wykresy/Rozmiar wykresu", kChart, None, nullptr},
    {"m500x400", "600 x 500 pikseli", "Rozmiar wykresu 600 x 500 pikseli", "", kSize600x500, "Wykresy/Rozmiar wykresu", kChart, None, nullptr},
    {"mGraphSize", "Przywróć okno", "Przywraca okno wykresu", "", kRestoreOnly, "Wykresy/Rozmiar wykresu", kChart | SeparatorBefore, None, nullptr},
    {"mViewReport", "Raport tekstowy (Txt/Rtf)", "Raport z analizy w oknie tekstowym", "Ctrl+T", 1, "Wykresy", kChart | SeparatorBefore, Charts, nullptr},
    {"mViewTextTable", "Tabela tekstowa", "Tabela wyników w oknie tekstowym", "", 2, "Wykresy", kChart, Charts, nullptr},
    {"mViewTable", "Tabela dBase/Paradox", "Tabela wyników w oknie tabeli", "", 0, "Wykresy", kChart, Charts, nullptr},
    // ---- Okno
    {"mCascade", "Kaskadowo...", "Układa okna kaskadowo", "", 0, "Okno", 0, None, nullptr},
    {"mTileHorizontal", "Rozłóż w poziomie", "Układa okna jedno pod drugim", "", 0, "Okno", 0, None, nullptr},
    {"mTileVertical", "Rozłóż w pionie", "Układa okna obok siebie", "", 0, "Okno", 0, None, nullptr},
    {"mArrange", "Uporządkuj okna", "Porządkuje zminimalizowane okna", "", 0, "Okno", 0, None, nullptr},
    {"mMinimizeAll", "Minimalizuj wszystkie", "Minimalizuje wszystkie okna", "", 0, "Okno", SeparatorBefore, None, nullptr},
    {"mMinimize", "Minimalizuj", "Minimalizuje aktywne okno", "", 0, "Okno", 0, None, nullptr},
    {"mMaximize", "Maksymalizuj", "Maksymalizuje aktywne okno", "", 0, "Okno", 0, None, nullptr},
    // ---- Pomoc
    {"mTopics", "Tematy pomocy", "Spis treści podręcznika", "F1", 0, "Pomoc", 0, None, nullptr},
    {"mIndex", "Indeks", "Indeks haseł podręcznika", "Ctrl+H", 0, "Pomoc", 0, None, nullptr},
    {"mHowToUseHelp", "Jak korzystać z pomocy", "Jak korzystać z pomocy", "", 0, "Pomoc", NeverEnabled, None, nullptr},
    {"mSearchHelp", "Szukaj w pomocy...", "Szukanie hasła w pomocy", "", 0, "Pomoc", NeverEnabled, None, nullptr},
    {"mInfo", "O programie...", "Informacje o programie", "", 0, "Pomoc", SeparatorBefore, None, nullptr},
};
// clang-format on

constexpr const char* kTopMenus[] = {"Plik",         "Widok",   "Baza danych", "Analiza zagrożenia",
                                     "Sejsmometria", "Wykresy", "Okno",        "Pomoc"};

constexpr const char* kTabs[] = {
    "Aktywność", "Energia", "PHA", "NPHA", "Zmienność w czasie", "Dodatkowe", "Zmienność w strefach"};

struct ToolText {
    const char* name;
    const char* text;
};

constexpr ToolText kToolTexts[] = {
    {"mNewBase", "Nowa baza"},
    {"mBaseProperties", "Własności"},
    {"mOpen", "Podgląd"},
    {"mExport", "Eksport"},
    {"mImport", "Import"},
    {"mOptions", "Opcje"},
    {"mToBegin", "«"},
    {"mPrevious", "‹"},
    {"mNext", "›"},
    {"mToEnd", "»"},
    {"mBookmarkGoTo", "Skocz"},
    {"mGraphProperties", "Własności wykresu"},
    {"mSaveGraphAsTemplate", "Zapisz szablon"},
    {"mLoadGraphTemplate", "Odczytaj szablon"},
    {"mViewReport", "Raport"},
    {"mViewTable", "Tabela"},
    {"mSeisActivity", "Klasy energii"},
    {"mCSeisActivity", "Klasy energii (skum.)"},
    {"mTotalActivity", "Aktywność"},
    {"mCTotalActivity", "Aktywność (skum.)"},
    {"mActivityOverTreshold", "Powyżej progu"},
    {"mCActivityOverTreshold", "Powyżej progu (skum.)"},
    {"mEnReleased", "Energia"},
    {"mCEnReleased", "Energia (skum.)"},
    {"mLEnReleased", "Energia (ciągły)"},
    {"mCLEnReleased", "Wykres Benioffa"},
    {"mParamHazard", "Hazard"},
    {"mParamMRP", "Okres powrotu"},
    {"mParamHazardVsMagnitudy", "Hazard(M)"},
    {"mParamPDF", "Gęstość"},
    {"mParamCDF", "Dystrybuanta"},
    {"mHazard", "Hazard"},
    {"mMeanReturnPeriod", "Okres powrotu"},
    {"mHazardVsMagnitude", "Hazard(M)"},
    {"mSmoothingFactor", "Współczynnik gładkości"},
    {"mPDFest", "Gęstość"},
    {"mPDFest_adapt", "Gęstość (adapt.)"},
    {"mCDFest_adapt", "Dystrybuanta (adapt.)"},
    {"mtvMMaxEst", "Mmax"},
    {"mtvHazard", "Hazard"},
    {"mtvMRP", "Okres powrotu"},
    {"mtvBeta", "Współczynnik b"},
    {"mShowAll", "Wszystkie"},
    {"mZoneActivity", "Klasy energii"},
    {"mZoneTotalActivity", "Aktywność"},
    {"mZoneEnergyReleased", "Energia"},
    {"mZoneB", "Współczynnik b"},
    {"mZoneActivityOverTreshold", "Powyżej progu"},
    {"mMMaxCompare", "Mmax — estymatory"},
    {"mBacktest", "Weryfikacja prognoz"},
    {"mHazardMap", "Mapa zagrożenia"},
};

}  // namespace

const char* toolBarText(std::string_view name) {
    for (const ToolText& t : kToolTexts)
        if (name == t.name) return t.text;
    const CommandDescriptor* c = findCommand(name);
    return c ? c->caption : "";
}

std::span<const CommandDescriptor> commandTable() { return kCommands; }

const CommandDescriptor* findCommand(std::string_view name) {
    for (const CommandDescriptor& c : kCommands)
        if (name == c.name) return &c;
    return nullptr;
}

std::span<const char* const> topMenus() { return kTopMenus; }

std::span<const char* const> analysisTabs() { return kTabs; }

const char* toolBarCaption(ToolBarId id) {
    switch (id) {
        case ToolBarId::File: return "Plik";
        case ToolBarId::Database: return "Baza danych";
        case ToolBarId::Filter: return "Filtr";
        case ToolBarId::Charts: return "Wykresy";
        case ToolBarId::Analysis: return "Analiza zagrożenia";
        case ToolBarId::None: break;
    }
    return "";
}

}  // namespace zorv

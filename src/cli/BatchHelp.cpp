#include "BatchHelp.h"

#include <regex>
#include <vector>

#include "registry/AnalysisRegistry.h"

namespace zorv {

namespace {

const char* const kOptionsHelp =
    "\nWybór zdarzeń (łączone spójnikiem AND, z --or spójnikiem OR):\n"
    "  --zone KOD                  strefa (można podać kilka razy)\n"
    "  --department ODDZIAŁ        oddział: wszystkie jego strefy\n"
    "  --from DATA, --to DATA      okres (data w formacie rrrr-mm-dd lub lokalnym)\n"
    "  --located                   tylko zlokalizowane zjawiska\n"
    "  --where WYRAŻENIE           dodatkowe wyrażenie filtrujące\n"
    "  --or                        łącz warunki spójnikiem OR\n"
    "\nParametry analizy:\n"
    "  --period kwartały|miesiące|lata   podział skali czasu (domyślnie kwartały;\n"
    "                              także quarters|months|years)\n"
    "  --classes N                 najwyższa klasa energii (domyślnie 9)\n"
    "  --trace-threshold J         próg energii śladów (domyślnie 500)\n"
    "  --discharge-threshold J     próg energii zjawisk rozładowujących (domyślnie 10000000)\n"
    "  --zones LISTA               strefy analiz stref, rozdzielone przecinkami (G-1,G-2/3);\n"
    "                              nazwa bez separatora oznacza oddział ze wszystkimi strefami\n"
    "  --energy-classes            zone-activity: podział na klasy energii\n"
    "  --fixed-upper-limit         p-*: stała górna granica całkowania (domyślnie zmienna)\n"
    "  --mmin M, --a A, --b B      próg kompletności i współczynniki zależności log E = a·M + b\n"
    "                              (domyślnie z ustawień programu)\n"
    "  --b-stats                   b-changes, zone-b: kolumny sigma (błąd Shi–Bolta) i P_UTSU\n"
    "                              (test Utsu), w raporcie statystyki b całej próby\n"
    "  --b-aki                     b-changes, zone-b: kolumny b_AKI i sigma_AKI (b Aki–Utsu z błędem\n"
    "                              Shi–Bolta) i ich seria na wykresie, także gdzie estymator\n"
    "                              obcięty nie daje wyniku\n"
    "  --b-positive-threshold D    próg różnic magnitud b-dodatniego (domyślnie 0,2)\n"
    "  --b-bin DM                  szerokość klasy magnitudy estymatora Aki–Utsu i b-dodatniego\n"
    "                              (domyślnie 0: magnitudy ciągłe)\n"
    "\nWyniki:\n"
    "  --table PLIK                tabela wyników: .dbf, .db, .txt (TAB), .csv (;), .dat (spacja);\n"
    "                              bez tej opcji tabela tekstowa na standardowe wyjście\n"
    "  --report PLIK               raport: .txt lub .rtf\n"
    "  --picture PLIK              wykres analizy jak w oknie wykresu, o rozmiarze GraphWidth x\n"
    "                              GraphHeight z ustawień: .png, .svg, .pdf, .bmp, .jpg (jakość\n"
    "                              JPEGQuality), .emf, .wmf; time-variations zapisuje każdy\n"
    "                              wykres osobno: PLIK, potem PLIK z -2, -3... przed rozszerzeniem\n"
    "  --template PLIK.tpt         szablon wykresu rysunków (domyślnie szablon z ustawień)\n"
    "  --no-check                  bez sprawdzenia struktury katalogu (sprawdzany, gdy w ustawieniach\n"
    "                              włączone jest sprawdzanie poprawności pliku, jak w programie)\n"
    "  --settings PLIK             plik ustawień zamiast ustawień użytkownika\n"
    "  --locale pl|en              separator dziesiętny i format daty (domyślnie pl)\n"
    "  -h, --help                  ta pomoc\n";

const char* const kHazardHelp =
    "\nHazard nieparametryczny (np-*) i parametryczny (p-*):\n"
    "  --start X, --end X, --step X zakres tabeli (okres D, współczynnik h lub magnituda);\n"
    "                              bez nich skala automatyczna\n"
    "  --magnitude M               np-hazard: magnituda (do 4 razy; domyślnie 3)\n"
    "  --duration D                np-hazard-magnitude: okres D (do 4 razy; domyślnie 1, 3, 5, 7)\n"
    "  --time-unit months|quarters jednostka czasu D (miesiące|kwartały; domyślnie miesiące)\n"
    "  --silverman on|off          poszukiwanie optymalnego współczynnika gładkości\n"
    "                              (domyślnie z ustawień programu)\n"
    "  --alt-h H                   alternatywny współczynnik gładkości (domyślnie z ustawień)\n"
    "  --variable-upper-limit      zmienna górna granica całkowania\n"
    "  --functions LISTA           np-density: pdf,pdf-adapt,cdf (domyślnie wszystkie)\n"
    "  --bootstrap B               przedział ufności: B replikacji bootstrap (20 do 10000),\n"
    "                              kolumny _lo i _hi po każdej kolumnie wartości (także\n"
    "                              np-density i time-variations; np-smoothing: przedział h\n"
    "                              w raporcie)\n"
    "  --level L                   poziom ufności: 0,9 lub 90 (domyślnie 90 %)\n";

const char* const kTimeVariationsHelp =
    "\nZmienność hazardu w czasie (time-variations):\n"
    "  --window DNI                szerokość okna (domyślnie 300)\n"
    "  --window-step DNI           krok przemieszczania okna (domyślnie 25)\n"
    "  --min-events N              minimalna ilość zjawisk w oknie (30 do 1000; domyślnie 30)\n"
    "  --magnitude M               magnituda hazardu (domyślnie 3)\n"
    "  --duration D                okres D hazardu (domyślnie 1)\n"
    "  --return-magnitude M        magnituda średniego okresu powrotu (domyślnie 3)\n"
    "  --time-unit months|quarters jednostka czasu (domyślnie miesiące)\n"
    "  --fixed-upper-limit         stała górna granica całkowania (domyślnie zmienna)\n"
    "  --mc METODA                 magnituda kompletności Mc w każdym oknie ze wszystkich jego\n"
    "                              zjawisk (maxc, maxc+0.2, gof90, gof95, mbs, ks): kolumna Mc\n"
    "                              tabeli, wiersze raportu i wykres\n"
    "  --mc-bin DM                 szerokość przedziału magnitudy Mc (domyślnie 0,1)\n";

const char* const kMcHelp =
    "\nMagnituda kompletności (zorv-batch mc [opcje] KATALOG): Mc wybranych zjawisk z odchyleniem\n"
    "standardowym bootstrap, tabela na standardowe wyjście; --table zapisuje rozkład liczby zjawisk\n"
    "w przedziałach magnitudy (zwykły i skumulowany), --report raport:\n"
    "  --bin DM                    szerokość przedziału magnitudy (domyślnie 0,1)\n"
    "  --method LISTA              maxc, maxc+0.2 (maksymalna krzywizna, z poprawką +0,2), gof90,\n"
    "                              gof95 (dobroć dopasowania 90 % i 95 %), mbs (stabilność b),\n"
    "                              ks (test Kołmogorowa–Smirnowa) lub all (domyślnie), po przecinku\n"
    "  --bootstrap N               liczba prób bootstrap (domyślnie 200; 0 bez odchylenia)\n"
    "  --seed N                    ziarno generatora prób (domyślnie 20050101)\n";
const char* const kMapHelp =
    "\nMapa zagrożenia (zorv-batch hazard-map [opcje] KATALOG): siatka nad zlokalizowanymi zjawiskami\n"
    "wyboru, w każdym węźle wielkości z próby jego zjawisk; tabela: wiersz na węzeł:\n"
    "  --quantity LISTA            count, rate, energy, log-energy, mc, b, b-positive, a, mmax-ks,\n"
    "                              mmax-np, hazard, return-period, np-hazard, np-return-period\n"
    "                              (domyślnie count,rate,mc,b), po przecinku\n"
    "  --cell C                    rozmiar komórki w jednostkach X/Y (domyślnie około 50 węzłów)\n"
    "  --box X0;Y0;X1;Y1           obszar mapy (domyślnie zasięg zjawisk)\n"
    "  --sampling nearest|radius   N najbliższych zjawisk (domyślnie) lub wszystkie w promieniu R\n"
    "  --nearest N, --max-radius R N najbliższych (domyślnie 200) w promieniu Rmax (0: bez limitu)\n"
    "  --radius R                  promień próby --sampling radius\n"
    "  --min-events N              najmniej zjawisk w węźle (domyślnie 50)\n"
    "  --threshold mc|mmin         próg b, a, tempa i hazardu: max(Mc węzła, MMin) lub MMin\n"
    "  --mc METODA, --mc-bin DM    metoda i przedział Mc (domyślnie maxc+0.2 i 0,1)\n"
    "  --magnitude M, --duration D hazard P(M >= m w ciągu D) i okres powrotu m (--time-unit)\n"
    "  --variable-upper-limit      zmienna górna granica całkowania MMax (domyślnie stała)\n"
    "  --normalise area|sample     na rok i pole odniesienia (domyślnie) lub w próbie węzła\n"
    "  --reference-area A          pole odniesienia (domyślnie 1 km2)\n"
    "  --xy-unit M|xy              metry na jednostkę X/Y (domyślnie 1) lub pole w jednostkach X/Y\n"
    "  --before OD,DO --after OD,DO  mapa zmian: iloraz tempa i różnica b dwóch okresów\n"
    "  --significance P            poziom istotności mapy zmian (domyślnie 0,05)\n"
    "  --bootstrap N, --level L    przedziały ufności wartości węzłów\n"
    "  --grid PLIK.asc|.tif        siatka GIS jednej kolumny (--grid-quantity, domyślnie pierwszej),\n"
    "                              --epsg KOD układu współrzędnych (GeoTIFF)\n"
    "  --picture PLIK              mapy rysowane jak w oknach programu, po jednej na wielkość\n"
    "                              (PLIK, PLIK-2, ...)\n";
const char* const kBacktestHelp =
    "\nWeryfikacja prognoz hazardu (backtest):\n"
    "  --magnitude M               magnituda prognozowanych zjawisk (domyślnie 3,5)\n"
    "  --horizon DNI               horyzont prognozy i krok kolejnych prognoz (domyślnie 30)\n"
    "  --window DNI                okno przeszłości (domyślnie 0: cała przeszłość)\n";

const char* const kImportHelp =
    "\nImport katalogu z pliku tekstowego (zorv-batch import [opcje] PLIK.txt|.dat|.csv KATALOG.dbf|.db):\n"
    "  --header                    pierwszy wiersz to nazwy kolumn: kolumny nazwane jak pola katalogu\n"
    "                              (ustawienia Magnituda, Energia, Oddzial, Data, X, Y) dostają ich typ,\n"
    "                              pozostałe importowane są jako tekst; wiersz nazw jest pomijany\n"
    "  --column N=ROLA             kolumna N jako pole katalogu: magnituda, energia, strefa, data, x, y\n"
    "  --column N=NAZWA:TYP        kolumna N jako pole NAZWA typu float, int, date lub text\n"
    "                              (opcję można podać wiele razy)\n"
    "  --separator tab|space|semicolon  separator kolumn (domyślnie według rozszerzenia)\n"
    "  --no-missing                nie dodawaj brakujących pól (katalog musi mieć datę, strefę, X i Y)\n"
    "  --energy-magnitude          oblicz brakującą energię lub magnitudę (log E = a·M + b; --a, --b)\n"
    "  --first-date DATA, --last-date DATA  daty rozłożone równomiernie, gdy brak kolumny daty\n"
    "                              (domyślnie od dziś przez tyle dni, ile wierszy)\n"
    "  --zone-name NAZWA           strefa, gdy brak kolumny strefy (domyślnie G-99/9)\n"
    "  --ignore-first-line         pomiń pierwszy wiersz danych\n"
    "\nImport katalogu z innych systemów (CSV z przecinkiem, OpenQuake CSV, tekst FDSN, QuakeML):\n"
    "  --columns auto              role kolumn według ich nazw (Mag, ML, Mw, Energy, E [J], Easting,\n"
    "                              Northing, Lat, Lon, Date, Time, year…second); mapowanie jest drukowane\n"
    "  --column N=ROLA             zmiana roli kolumny N: magnituda, energia, x, y, dlugosc, szerokosc,\n"
    "                              data, czas, rok, miesiac, dzien, godzina, minuta, sekunda, strefa,\n"
    "                              dodatkowe, pomin\n"
    "  --separator comma|semicolon|tab|space|pipe|auto  separator (domyślnie wykrywany)\n"
    "  --format csv|openquake|fdsn|quakeml  postać pliku (domyślnie wykrywana)\n"
    "  --encoding utf-8|cp1250     kodowanie (domyślnie wykrywane)\n"
    "  --date-format iso|dmy|mdy   kolejność dat dzień/miesiąc (domyślnie wykrywana)\n"
    "  --missing WARTOŚĆ           znacznik braku wartości (np. -999; puste, NaN i NA zawsze)\n"
    "  --drop-empty                pomiń zdarzenia bez magnitudy i energii\n"
    "  --crs EPSG:KOD              układ X/Y dla Lat/Lon (domyślnie strefa UTM średniej długości)\n";
const char* const kExportHelp =
    "\nEksport katalogu (zorv-batch export [opcje wyboru] KATALOG PLIK.csv|.xml):\n"
    "  --format csv|quakeml|openquake  postać pliku (domyślnie według rozszerzenia)\n"
    "  --crs EPSG:KOD              układ X/Y katalogu (potrzebny dla quakeml i openquake)\n";

}  // namespace

std::string batchHelpText() {
    std::string s =
        "Użycie: zorv-batch ANALIZA [opcje] KATALOG\n"
        "Wykonuje jedną analizę katalogu zjawisk sejsmicznych (.dbf lub .db) i zapisuje tabelę wyników\n"
        "oraz raport.\n\nAnalizy:\n";
    for (const AnalysisEntry& e : analysisRegistry()) {
        std::string line = "  " + std::string(e.name);
        line.resize(30, ' ');
        s += line + e.help + (*e.options ? std::string(" [") + e.options + "]" : std::string()) + "\n";
    }
    std::string mc = "  mc";
    mc.resize(30, ' ');
    s += mc + "magnituda kompletności Mc czterema metodami [--bin, --method, --bootstrap]\n";
    return s + kOptionsHelp + kHazardHelp + kTimeVariationsHelp + kMcHelp + kMapHelp + kBacktestHelp +
           kImportHelp + kExportHelp;
}

namespace {

// The option names of a help text, each once, in their order.
std::string optionNamesOf(std::string_view text) {
    static const std::regex option("--[a-z0-9][a-z0-9+-]*");
    std::vector<std::string> names;
    const std::string s(text);
    for (auto it = std::sregex_iterator(s.begin(), s.end(), option); it != std::sregex_iterator(); ++it) {
        const std::string name = it->str();
        // The outputs every command takes, which a section may mention.
        bool seen = name == "--table" || name == "--report" || name == "--picture";
        for (const std::string& n : names) seen = seen || n == name;
        if (!seen) names.push_back(name);
    }
    std::string out;
    for (const std::string& n : names) out += (out.empty() ? "" : ", ") + n;
    return out;
}

}  // namespace

std::optional<std::string> commandOptionsText(std::string_view command) {
    if (command == "mc") return optionNamesOf(kMcHelp);
    if (command == "hazard-map") return optionNamesOf(kMapHelp);
    if (command == "import") return optionNamesOf(kImportHelp);
    if (command == "export") return optionNamesOf(kExportHelp);
    if (const AnalysisEntry* e = findAnalysis(std::string(command))) return optionNamesOf(e->options);
    return std::nullopt;
}

}  // namespace zorv

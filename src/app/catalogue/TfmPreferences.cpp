#include "catalogue/TfmPreferences.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFontDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "catalogue/AnalysisSettings.h"
#include "catalogue/SettingsStore.h"
#include "services/ReportFontQt.h"
#include "services/ShellTexts.h"
#include "services/UserDialogs.h"
#include "text/NumberFormat.h"

namespace zorv {

const char* const TfmPreferences::kPageNames[9] = {"Katalogi",       "Baza danych",  "Raporty",
                                                   "Własności bazy", "Wykresy",      "Hazard sejsmiczny",
                                                   "Inne",           "Sejsmometria", "Rejestratory"};

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

QFormLayout* formOf(QWidget* page) {
    auto* form = new QFormLayout(page);
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    return form;
}

}  // namespace

TfmPreferences::TfmPreferences(Preferences& prefs, SettingsStore& store, UserDialogs& dialogs,
                               const Locale& locale, QWidget* parent)
    : QDialog(parent),
      prefs_(prefs),
      store_(store),
      dialogs_(dialogs),
      locale_(locale),
      pageButtons_(new QButtonGroup(this)),
      pages_(new QStackedWidget(this)),
      ok_(new QPushButton(QStringLiteral("OK"), this)),
      cancel_(new QPushButton(QStringLiteral("Anuluj"), this)),
      apply_(new QPushButton(QStringLiteral("Zastosuj"), this)) {
    setObjectName(QStringLiteral("TfmPreferences"));
    setWindowTitle(QStringLiteral("Opcje programu"));
    // The section fonts are those reports print with.
    fonts_ = {qtFont(prefs_.TitleFont),
              qtFont(prefs_.HeaderFont),
              qtFont(prefs_.ParametersFont, QFont::TypeWriter),
              qtFont(prefs_.TableFont),
              qtFont(prefs_.FooterFont),
              qtFont({prefs_.ReportFontName, 10}, QFont::TypeWriter)};

    auto* buttonColumn = new QVBoxLayout;
    buttonColumn->setSpacing(2);
    const auto buildPage = [this](int i) -> QWidget* {
        switch (i) {
            case 0: return buildDirectoriesPage();
            case 1: return buildDatabasePage();
            case 2: return buildReportsPage();
            case 3: return buildBasePage();
            case 4: return buildChartsPage();
            case 5: return buildHazardPage();
            case 6: return buildOtherPage();
            case 7: return buildSeismometryPage();
            default: return buildStationsPage();
        }
    };
    for (int i = 0; i < 9; ++i) {
        auto* b = new QToolButton(this);
        b->setText(QString::fromUtf8(kPageNames[i]));
        b->setCheckable(true);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        b->setMinimumHeight(30);
        pageButtons_->addButton(b, i);
        buttonColumn->addWidget(b);
        QWidget* page = buildPage(i);
        page->setObjectName(QStringLiteral("Page%1").arg(i + 1));
        pages_->addWidget(page);
    }
    buttonColumn->addStretch();
    connect(pageButtons_, &QButtonGroup::idClicked, this, &TfmPreferences::showPage);

    auto* body = new QHBoxLayout;
    body->addLayout(buttonColumn);
    body->addWidget(pages_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    buttons->addWidget(apply_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(buttons);

    ok_->setDefault(true);
    apply_->setEnabled(false);
    connect(apply_, &QPushButton::clicked, this, &TfmPreferences::apply);
    connect(ok_, &QPushButton::clicked, this, [this] {
        apply();
        accept();
    });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    showPage(0);
    loadControls();
    resize(720, 470);
}

void TfmPreferences::showPage(int index) {
    pages_->setCurrentIndex(index);
    if (QAbstractButton* b = pageButtons_->button(index)) b->setChecked(true);
}

int TfmPreferences::currentPage() const { return pages_->currentIndex(); }

void TfmPreferences::showEvent(QShowEvent* event) {
    // The preferences may have been reloaded since the last showing.
    loadControls();
    QDialog::showEvent(event);
}

void TfmPreferences::loadControls() {
    loading_ = true;
    for (const auto& load : loaders_) load();
    loading_ = false;
    appliedInverseX_ = prefs_.InverseXAxis;
    appliedInverseY_ = prefs_.InverseYAxis;
    refreshThresholdEnergy();
    refreshEnabledStates();
}

void TfmPreferences::apply() {
    SaveSettings(store_, prefs_);
    apply_->setEnabled(false);
    // Only a changed inversion is passed on: the map's menu toggles stay as
    // the user left them when other preferences are applied.
    if (prefs_.InverseXAxis != appliedInverseX_ || prefs_.InverseYAxis != appliedInverseY_) {
        appliedInverseX_ = prefs_.InverseXAxis;
        appliedInverseY_ = prefs_.InverseYAxis;
        emit mapAxesChanged(appliedInverseX_, appliedInverseY_);
    }
}

void TfmPreferences::edited() {
    if (!loading_) apply_->setEnabled(true);
}

QString TfmPreferences::thresholdEnergyText() const { return thresholdEnergy_->text(); }

void TfmPreferences::refreshThresholdEnergy() {
    const double energy = std::pow(10.0, prefs_.a * prefs_.MMin + prefs_.b);  // [J]
    thresholdEnergy_->setText(q(formatMask(energy, "0.00e+00", locale_)));
}

void TfmPreferences::refreshEnabledStates() {
    blockZoom_->setEnabled(prefs_.GraphZoom);
    stations_->setEnabled(prefs_.Rejestratory);
    stationButtons_->setEnabled(prefs_.Rejestratory);
    const int pos = std::clamp(prefs_.Epsilon, 0, 3);
    epsilonText_->setText(QString::number(epsilonOfPosition(pos), 'f', pos + 3)
                              .replace(QLatin1Char('.'), QLatin1Char(locale_.decimalSeparator)));
}

void TfmPreferences::setCompletenessEstimator(std::function<std::optional<double>()> estimator) {
    estimator_ = std::move(estimator);
    estimate_->setEnabled(static_cast<bool>(estimator_));
}

// ------------------------------------------------------------------ pages

QWidget* TfmPreferences::buildDirectoriesPage() {
    auto* page = new QWidget;
    auto* form = formOf(page);
    directory(form, QStringLiteral("Katalog roboczy:"), &Preferences::WorkingDirectory, "WorkingDirectory");
    directory(form, QStringLiteral("Katalog plików tymczasowych i wymiany danych:"),
              &Preferences::ExportImportDirectory, "ExportImportDirectory");
    directory(form, QStringLiteral("Katalog baz danych:"), &Preferences::DatabaseDirectory,
              "DatabaseDirectory");
    return page;
}

QWidget* TfmPreferences::buildDatabasePage() {
    auto* page = new QWidget;
    auto* form = formOf(page);
    text(form, QStringLiteral("Strefa:"), &Preferences::Oddzial, "Oddzial");
    text(form, QStringLiteral("Data:"), &Preferences::Data, "Data");
    text(form, QStringLiteral("Współrzędna X zjawiska:"), &Preferences::X, "X");
    text(form, QStringLiteral("Współrzędna Y zjawiska:"), &Preferences::Y, "Y");
    text(form, QStringLiteral("Energia:"), &Preferences::Energia, "Energia");
    text(form, QStringLiteral("Magnituda:"), &Preferences::Magnituda, "Magnituda");
    auto* note = new QLabel(QStringLiteral("Jeżeli baza zawiera pola energii i magnitudy, wartości\n"
                                           "tych pól dla ustalonego rekordu powinny sobie odpowiadać!"),
                            page);
    form->addRow(note);
    text(form, QStringLiteral("Prefiks strefy:"), &Preferences::Prefix, "Prefix");
    text(form, QStringLiteral("Separator strefy:"), &Preferences::Slash, "Slash");
    text(form, QStringLiteral("Skrót energii:"), &Preferences::EnergiaChar, "EnergiaChar");
    QLineEdit* location =
        text(form, QStringLiteral("Filtr lokalizacji:"), &Preferences::LocationFilter, "LocationFilter");
    // The location expression is changed only in the stored settings.
    location->setEnabled(false);
    check(form, QStringLiteral("Zawsze sprawdź poprawność pliku *.dbf"), &Preferences::CheckDBF, "CheckDBF");
    check(form, QStringLiteral("Formalny opis stanu filtru"), &Preferences::DescrFilter, "DescrFilter");
    return page;
}

QWidget* TfmPreferences::buildReportsPage() {
    auto* page = new QWidget;
    auto* form = formOf(page);
    text(form, QStringLiteral("Format liczb (magnitudy, prawdopodobieństwa):"), &Preferences::ProbabilityMask,
         "ProbabilityMask");
    text(form, QStringLiteral("Format energii:"), &Preferences::EnergyMask, "EnergyMask");
    auto* fonts = new QGroupBox(QStringLiteral("Czcionki raportu"), page);
    auto* fontForm = new QFormLayout(fonts);
    fontForm->addRow(QStringLiteral("Tytuł:"),
                     fontRow(QStringLiteral("Tytuł"), &ReportFonts::title, "titleFView"));
    fontForm->addRow(QStringLiteral("Nagłówek:"),
                     fontRow(QStringLiteral("Nagłówek"), &ReportFonts::header, "headerFView"));
    fontForm->addRow(QStringLiteral("Parametry:"),
                     fontRow(QStringLiteral("Parametry"), &ReportFonts::parameters, "parametersFView"));
    fontForm->addRow(QStringLiteral("Tabela:"),
                     fontRow(QStringLiteral("Tabela"), &ReportFonts::table, "tableFView"));
    fontForm->addRow(QStringLiteral("Stopka:"),
                     fontRow(QStringLiteral("Stopka"), &ReportFonts::footer, "footerFView"));
    fontForm->addRow(QStringLiteral("Okno tekstowe:"),
                     fontRow(QStringLiteral("Okno tekstowe"), &ReportFonts::rtf, "rtfFView"));
    form->addRow(fonts);
    auto* size = new QGroupBox(QStringLiteral("Rozmiar drukowanego wykresu [cm]"), page);
    auto* sizeForm = new QFormLayout(size);
    real(sizeForm, QStringLiteral("Szerokość:"), &Preferences::PrinterGraphWidth, "PrinterGraphWidth", 1.0,
         30.0, 0.5, 1, false);
    real(sizeForm, QStringLiteral("Wysokość:"), &Preferences::PrinterGraphHeight, "PrinterGraphHeight", 1.0,
         30.0, 0.5, 1, false);
    form->addRow(size);
    return page;
}

QWidget* TfmPreferences::buildBasePage() {
    auto* page = new QWidget;
    auto* form = formOf(page);
    form->addRow(new QLabel(QStringLiteral("Log Energii = a · Magnituda + b, energia w [J]"), page));
    real(form, QStringLiteral("a:"), &Preferences::a, "a", 0.0, 10.0, 0.01, 2);
    real(form, QStringLiteral("b:"), &Preferences::b, "b", 0.0, 10.0, 0.01, 2);
    QDoubleSpinBox* mmin = real(form, QStringLiteral("Próg kompletności katalogu sejsmicznego:"),
                                &Preferences::MMin, "MMin", 0.0, 10.0, 0.1, 3);
    // The button beside the threshold: the row's field becomes spin and button.
    int mminRow = -1;
    QFormLayout::ItemRole role;
    form->getWidgetPosition(mmin, &mminRow, &role);
    form->removeWidget(mmin);
    auto* mminField = new QWidget(page);
    auto* mminLayout = new QHBoxLayout(mminField);
    mminLayout->setContentsMargins(0, 0, 0, 0);
    mmin->setParent(mminField);
    mminLayout->addWidget(mmin, 1);
    estimate_ = new QPushButton(QStringLiteral("Oszacuj"), mminField);
    estimate_->setObjectName(QStringLiteral("Oszacuj"));
    estimate_->setToolTip(QStringLiteral("Oszacuj magnitudę kompletności z bieżącej próby katalogu"));
    estimate_->setEnabled(false);
    mminLayout->addWidget(estimate_);
    form->setWidget(mminRow, QFormLayout::FieldRole, mminField);
    connect(estimate_, &QPushButton::clicked, this, [this, mmin] {
        if (!estimator_) return;
        if (const std::optional<double> mc = estimator_()) mmin->setValue(*mc);
    });
    thresholdEnergy_ = new QLabel(page);
    thresholdEnergy_->setObjectName(QStringLiteral("MMinEnergy"));
    auto* energyRow = new QWidget(page);
    auto* h = new QHBoxLayout(energyRow);
    h->setContentsMargins(0, 0, 0, 0);
    h->addWidget(thresholdEnergy_);
    h->addWidget(new QLabel(QStringLiteral("[J]"), energyRow));
    h->addStretch();
    form->addRow(QStringLiteral("Energia progu kompletności:"), energyRow);
    check(form, QStringLiteral("Obliczenia na podstawie magnitudy"), &Preferences::onlyMagnitude,
          "onlyMagnitude");
    return page;
}

QWidget* TfmPreferences::buildChartsPage() {
    auto* page = new QWidget;
    auto* form = formOf(page);
    text(form, QStringLiteral("Tytuł wykresów i raportów:"), &Preferences::MainTitle, "MainTitle");
    check(form, QStringLiteral("Pokaż legendę"), &Preferences::ShowLegend, "ShowLegend");
    integer(form, QStringLiteral("Szerokość wykresu [piksele]:"), &Preferences::GraphWidth, "GraphWidth", 100,
            1000, 50);
    integer(form, QStringLiteral("Wysokość wykresu [piksele]:"), &Preferences::GraphHeight, "GraphHeight",
            100, 1000, 50);
    integer(form, QStringLiteral("Jakość plików JPEG:"), &Preferences::JPEGQuality, "JPEGQuality", 1, 100, 5);
    graphZoom_ =
        check(form, QStringLiteral("Powiększanie obszaru wykresów"), &Preferences::GraphZoom, "GraphZoom");
    blockZoom_ = check(form, QStringLiteral("Zablokuj powiększanie dla wykresów słupkowych"),
                       &Preferences::BlockZoomForActivities, "BlockZoomForActivities");
    check(form, QStringLiteral("Włącz animacje wykresów"), &Preferences::AnimationsOn, "AnimationsOn");
    check(form, QStringLiteral("Odwróć oś X mapy lokalizacji zjawisk"), &Preferences::InverseXAxis,
          "InverseXAxis");
    check(form, QStringLiteral("Odwróć oś Y mapy lokalizacji zjawisk"), &Preferences::InverseYAxis,
          "InverseYAxis");
    templateRow(form);
    return page;
}

QWidget* TfmPreferences::buildHazardPage() {
    auto* page = new QWidget;
    auto* form = formOf(page);
    integer(form, QStringLiteral("Liczba iteracji:"), &Preferences::Iterations, "Iterations", 10, 100, 5);
    integer(form, QStringLiteral("Liczba iteracji całkowania:"), &Preferences::IntegralIterations,
            "IntegralIterations", 10, 200, 5);
    real(form, QStringLiteral("Alternatywny współczynnik gładkości:"), &Preferences::H, "H", 0.001, 1.0, 0.01,
         3);
    check(form, QStringLiteral("Automatyczny dobór współczynnika gładkości"), &Preferences::Auto, "Auto");
    check(form, QStringLiteral("Metoda RTMI"), &Preferences::RTMI, "RTMI");
    real(form, QStringLiteral("Początek przedziału RTMI:"), &Preferences::RTMIStart, "RTMIStart", 0.001, 1.0,
         0.1, 3);
    real(form, QStringLiteral("Koniec przedziału RTMI:"), &Preferences::RTMIEnd, "RTMIEnd", 0.001, 1.0, 0.1,
         3);
    check(form, QStringLiteral("Metoda RTNI"), &Preferences::RTNI, "RTNI");
    real(form, QStringLiteral("Początek przedziału RTNI:"), &Preferences::RTNIStart, "RTNIStart", 0.001, 1.0,
         0.1, 3);

    auto* row = new QWidget(page);
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    auto* slider = new QSlider(Qt::Horizontal, row);
    slider->setObjectName(QStringLiteral("Epsilon"));
    slider->setRange(0, 3);
    slider->setSingleStep(1);
    slider->setPageStep(1);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(1);
    epsilonText_ = new QLabel(row);
    epsilonText_->setMinimumWidth(80);
    h->addWidget(slider, 1);
    h->addWidget(epsilonText_);
    form->addRow(QStringLiteral("Dokładność obliczeń:"), row);
    loaders_.push_back([this, slider] {
        const QSignalBlocker block(slider);
        slider->setValue(prefs_.Epsilon);
    });
    connect(slider, &QSlider::valueChanged, this, [this](int v) {
        prefs_.Epsilon = v;
        refreshEnabledStates();
        edited();
    });
    return page;
}

QWidget* TfmPreferences::buildOtherPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* note =
        new QLabel(QStringLiteral("Przywraca ustawienia domyślne: usuwa zapisane ustawienia programu.\n"
                                  "Program zostanie zamknięty; przy następnym uruchomieniu\n"
                                  "zapisze ustawienia domyślne."),
                   page);
    reset_ = new QPushButton(QStringLiteral("Resetowanie ustawień programu"), page);
    reset_->setObjectName(QStringLiteral("ResetSettings"));
    layout->addWidget(note);
    layout->addWidget(reset_, 0, Qt::AlignLeft);
    layout->addStretch();
    connect(reset_, &QPushButton::clicked, this, [this] {
        if (!dialogs_.confirm(kConfirmTitle, kResetQuestion)) return;
        reject();
        emit resetConfirmed();
    });
    return page;
}

QWidget* TfmPreferences::buildSeismometryPage() {
    auto* page = new QWidget;
    auto* form = formOf(page);
    check(form, QStringLiteral("Współpraca z tablicą VTAB"), &Preferences::VTABStatus, "VTABStatus");
    directory(form, QStringLiteral("Katalog tablic VTAB:"), &Preferences::VTABDirectory, "VTABDirectory");
    auto* fields = new QGroupBox(QStringLiteral("Dodatkowe pola bazy konieczne do współpracy z VTAB"), page);
    auto* fieldForm = formOf(fields);
    // The time-of-day names are never stored by "Zastosuj" and do not
    // enable it.
    text(fieldForm, QStringLiteral("Godzina:"), &Preferences::Godzina, "Godzina", false);
    text(fieldForm, QStringLiteral("Minuta:"), &Preferences::Minuta, "Minuta", false);
    text(fieldForm, QStringLiteral("Sekunda:"), &Preferences::Sekunda, "Sekunda", false);
    form->addRow(fields);
    check(form, QStringLiteral("Filtrowanie tablicy VTAB"), &Preferences::SeisFilter, "SeisFilter");
    check(form, QStringLiteral("Kopiowanie filtru bazy danych"), &Preferences::CopySeisFilter,
          "CopySeisFilter");
    return page;
}

QWidget* TfmPreferences::buildStationsPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    stationsOn_ = new QCheckBox(QStringLiteral("Uwzględnij rejestratory"), page);
    stationsOn_->setObjectName(QStringLiteral("Rejestratory"));
    form->addRow(stationsOn_);
    loaders_.push_back([this] {
        const QSignalBlocker block(stationsOn_);
        stationsOn_->setChecked(prefs_.Rejestratory);
    });
    connect(stationsOn_, &QCheckBox::toggled, this, [this](bool on) {
        prefs_.Rejestratory = on;
        refreshEnabledStates();
        edited();
    });
    check(form, QStringLiteral("Pokaż lokalizacje rejestratorów"), &Preferences::ShowSeismometers,
          "ShowSeismometers");
    layout->addWidget(new QLabel(QStringLiteral("Dane o rejestratorach"), page));
    stations_ = new QTableWidget(0, 4, page);
    stations_->setObjectName(QStringLiteral("Stations"));
    stations_->setHorizontalHeaderLabels(
        {QStringLiteral("Nazwa"), QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("Z")});
    stations_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(stations_, 1);
    stationButtons_ = new QWidget(page);
    auto* h = new QHBoxLayout(stationButtons_);
    h->setContentsMargins(0, 0, 0, 0);
    auto* add = new QPushButton(QStringLiteral("Dodaj"), stationButtons_);
    auto* remove = new QPushButton(QStringLiteral("Usuń"), stationButtons_);
    auto* save = new QPushButton(QStringLiteral("Zapisz"), stationButtons_);
    add->setObjectName(QStringLiteral("StationAdd"));
    remove->setObjectName(QStringLiteral("StationRemove"));
    save->setObjectName(QStringLiteral("StationSave"));
    h->addWidget(add);
    h->addWidget(remove);
    h->addWidget(save);
    h->addStretch();
    layout->addWidget(stationButtons_);
    connect(add, &QPushButton::clicked, this, [this] { stations_->insertRow(stations_->rowCount()); });
    connect(remove, &QPushButton::clicked, this, [this] {
        const int row = stations_->currentRow() >= 0 ? stations_->currentRow() : stations_->rowCount() - 1;
        if (row >= 0) stations_->removeRow(row);
    });
    // The grid is not stored; "Zapisz" only marks the dialog as changed.
    connect(save, &QPushButton::clicked, this, &TfmPreferences::edited);
    return page;
}

}  // namespace zorv

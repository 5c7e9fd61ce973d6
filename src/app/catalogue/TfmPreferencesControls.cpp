#include "catalogue/TfmPreferences.h"

// The controls of the preferences dialog bound to the members of the
// preferences: each is loaded with loadControls() and writes its member
// back as it is edited.

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

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

QLineEdit* TfmPreferences::text(QFormLayout* form, const QString& label, std::string Preferences::*member,
                                const char* name, bool tracked) {
    auto* edit = new QLineEdit(form->parentWidget());
    edit->setObjectName(QString::fromLatin1(name));
    form->addRow(label, edit);
    loaders_.push_back([this, edit, member] {
        const QSignalBlocker block(edit);
        edit->setText(q(prefs_.*member));
    });
    connect(edit, &QLineEdit::textEdited, this, [this, member, tracked](const QString& t) {
        prefs_.*member = t.toStdString();
        if (tracked) edited();
    });
    return edit;
}

QLineEdit* TfmPreferences::directory(QFormLayout* form, const QString& label,
                                     std::string Preferences::*member, const char* name) {
    auto* row = new QWidget(form->parentWidget());
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    auto* edit = new QLineEdit(row);
    edit->setObjectName(QString::fromLatin1(name));
    auto* browse = new QPushButton(QStringLiteral("..."), row);
    browse->setFixedWidth(32);
    h->addWidget(edit, 1);
    h->addWidget(browse);
    form->addRow(label, row);
    loaders_.push_back([this, edit, member] {
        const QSignalBlocker block(edit);
        edit->setText(q(prefs_.*member));
    });
    // Folder edits are not tracked: they do not enable "Zastosuj".
    connect(edit, &QLineEdit::textEdited, this,
            [this, member](const QString& t) { prefs_.*member = t.toStdString(); });
    connect(browse, &QPushButton::clicked, this, [this, edit, member, label] {
        const QString chosen = dialogs_.chooseDirectory(label, edit->text());
        if (chosen.isEmpty()) return;
        edit->setText(chosen);
        prefs_.*member = chosen.toStdString();
    });
    return edit;
}

void TfmPreferences::templateRow(QFormLayout* form) {
    auto* row = new QWidget(form->parentWidget());
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    // Chosen from the files, not typed: a typed name would be found wrong
    // only when the next chart opens.
    auto* edit = new QLineEdit(row);
    edit->setObjectName(QStringLiteral("TemplateFileName"));
    edit->setReadOnly(true);
    edit->setPlaceholderText(QStringLiteral("brak"));
    auto* choose = new QPushButton(QStringLiteral("..."), row);
    choose->setObjectName(QStringLiteral("ChooseTemplate"));
    choose->setFixedWidth(32);
    auto* clear = new QPushButton(QStringLiteral("Brak"), row);
    clear->setObjectName(QStringLiteral("ClearTemplate"));
    h->addWidget(edit, 1);
    h->addWidget(choose);
    h->addWidget(clear);
    form->addRow(QStringLiteral("Domyślny szablon wykresu:"), row);
    loaders_.push_back([this, edit] { edit->setText(q(prefs_.TemplateFileName)); });
    connect(choose, &QPushButton::clicked, this, [this, edit] {
        const QString dir = prefs_.TemplateFileName.empty()
                                ? q(prefs_.DatabaseDirectory)
                                : QFileInfo(q(prefs_.TemplateFileName)).absolutePath();
        const QString chosen =
            dialogs_.openFile({QStringLiteral("Domyślny szablon wykresu"), dir,
                               QStringLiteral("Szablon wykresu (*.tpt)|*.tpt"), QStringLiteral("tpt")});
        if (chosen.isEmpty()) return;
        edit->setText(chosen);
        prefs_.TemplateFileName = chosen.toStdString();
        edited();
    });
    connect(clear, &QPushButton::clicked, this, [this, edit] {
        edit->clear();
        prefs_.TemplateFileName.clear();
        edited();
    });
}

QCheckBox* TfmPreferences::check(QFormLayout* form, const QString& caption, bool Preferences::*member,
                                 const char* name) {
    auto* box = new QCheckBox(caption, form->parentWidget());
    box->setObjectName(QString::fromLatin1(name));
    form->addRow(box);
    loaders_.push_back([this, box, member] {
        const QSignalBlocker block(box);
        box->setChecked(prefs_.*member);
    });
    connect(box, &QCheckBox::toggled, this, [this, member](bool on) {
        prefs_.*member = on;
        refreshEnabledStates();
        edited();
    });
    return box;
}

QSpinBox* TfmPreferences::integer(QFormLayout* form, const QString& label, int Preferences::*member,
                                  const char* name, int min, int max, int step) {
    auto* spin = new QSpinBox(form->parentWidget());
    spin->setObjectName(QString::fromLatin1(name));
    spin->setRange(min, max);
    spin->setSingleStep(step);
    form->addRow(label, spin);
    loaders_.push_back([this, spin, member] {
        const QSignalBlocker block(spin);
        spin->setValue(prefs_.*member);
    });
    connect(spin, &QSpinBox::valueChanged, this, [this, member](int v) {
        prefs_.*member = v;
        edited();
    });
    return spin;
}

QDoubleSpinBox* TfmPreferences::real(QFormLayout* form, const QString& label, double Preferences::*member,
                                     const char* name, double min, double max, double step, int decimals,
                                     bool tracked) {
    auto* spin = new QDoubleSpinBox(form->parentWidget());
    spin->setObjectName(QString::fromLatin1(name));
    spin->setDecimals(decimals);
    spin->setRange(min, max);
    spin->setSingleStep(step);
    form->addRow(label, spin);
    loaders_.push_back([this, spin, member] {
        const QSignalBlocker block(spin);
        spin->setValue(prefs_.*member);
    });
    connect(spin, &QDoubleSpinBox::valueChanged, this, [this, member, tracked](double v) {
        prefs_.*member = v;
        refreshThresholdEnergy();
        if (tracked) edited();
    });
    return spin;
}

QWidget* TfmPreferences::fontRow(const QString& label, QFont ReportFonts::*member, const char* name) {
    auto* row = new QWidget;
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    auto* view = new QLabel(row);
    view->setObjectName(QString::fromLatin1(name));
    view->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    view->setMinimumWidth(220);
    auto* change = new QPushButton(QStringLiteral("Czcionka..."), row);
    h->addWidget(view, 1);
    h->addWidget(change);
    auto show = [this, view, member] {
        const QFont& f = fonts_.*member;
        view->setFont(f);
        view->setText(QStringLiteral("%1, %2 pkt").arg(f.family()).arg(f.pointSize()));
    };
    show();
    connect(change, &QPushButton::clicked, this, [this, member, label, show] {
        bool ok = false;
        const QFont f = QFontDialog::getFont(&ok, fonts_.*member, this, label);
        if (!ok) return;
        fonts_.*member = f;
        if (member == &ReportFonts::rtf) prefs_.ReportFontName = f.family().toStdString();
        if (member == &ReportFonts::title) prefs_.TitleFont = fontChoice(f);
        if (member == &ReportFonts::header) prefs_.HeaderFont = fontChoice(f);
        if (member == &ReportFonts::parameters) prefs_.ParametersFont = fontChoice(f);
        if (member == &ReportFonts::table) prefs_.TableFont = fontChoice(f);
        if (member == &ReportFonts::footer) prefs_.FooterFont = fontChoice(f);
        show();
    });
    return row;
}

}  // namespace zorv

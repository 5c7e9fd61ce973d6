#include "catalogue/TfmSort.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "services/UserDialogs.h"
#include "table/TableError.h"
#include "text/Dates.h"
#include "widgets/TypedDateEdit.h"

namespace zorv {

QDate dateOfDay(std::int32_t dayNumber) {
    const CivilDate c = civilDate(dayNumber);
    return QDate(c.year, c.month, c.day);
}

std::int32_t dayOfDate(const QDate& date) { return dayNumber(date.year(), date.month(), date.day()); }

namespace {

QSpinBox* yearSpin(QWidget* parent, const char* name) {
    auto* s = new QSpinBox(parent);
    s->setObjectName(QString::fromUtf8(name));
    s->setSingleStep(1);
    s->setRange(1, 9999);
    return s;
}

QComboBox* choice(QWidget* parent, const char* name, const QStringList& items) {
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromUtf8(name));
    c->addItems(items);
    return c;
}

}  // namespace

TfmSort::TfmSort(UserDialogs& dialogs, QWidget* parent) : QDialog(parent), dialogs_(dialogs) {
    setObjectName(QStringLiteral("TfmSort"));
    setWindowTitle(QStringLiteral("Filtr"));
    const QStringList quarters = {QStringLiteral("I Kwartał"), QStringLiteral("II Kwartał"),
                                  QStringLiteral("III Kwartał"), QStringLiteral("IV Kwartał")};
    const QStringList months = {
        QStringLiteral("Styczeń"),     QStringLiteral("Luty"),     QStringLiteral("Marzec"),
        QStringLiteral("Kwiecień"),    QStringLiteral("Maj"),      QStringLiteral("Czerwiec"),
        QStringLiteral("Lipiec"),      QStringLiteral("Sierpień"), QStringLiteral("Wrzesień"),
        QStringLiteral("Październik"), QStringLiteral("Listopad"), QStringLiteral("Grudzień")};
    scale_ = choice(this, "Scale",
                    {QStringLiteral("Okres"), QStringLiteral("Kwartały"), QStringLiteral("Miesiące"),
                     QStringLiteral("Lata")});
    groups_ = new QStackedWidget(this);
    const auto group = [this](const QString& title) {
        auto* g = new QGroupBox(title, groups_);
        groups_->addWidget(g);
        return new QFormLayout(g);
    };
    QFormLayout* period = group(QStringLiteral("Okres"));
    stDate_ = new TypedDateEdit(this);
    enDate_ = new TypedDateEdit(this);
    stDate_->setObjectName(QStringLiteral("stDate"));
    enDate_->setObjectName(QStringLiteral("enDate"));
    for (QDateEdit* d : {stDate_, enDate_}) {
        d->setCalendarPopup(true);
        d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        connect(d, &QDateEdit::editingFinished, this, [this, d] {
            const QDate b = bounded(d->date());
            if (b != d->date()) d->setDate(b);
        });
    }
    period->addRow(QStringLiteral("Od:"), stDate_);
    period->addRow(QStringLiteral("Do:"), enDate_);
    QFormLayout* q = group(QStringLiteral("Kwartały"));
    stQuarter_ = choice(this, "stQuarter", quarters);
    enQuarter_ = choice(this, "enQuarter", quarters);
    stQYear_ = yearSpin(this, "stQYear");
    enQYear_ = yearSpin(this, "enQYear");
    q->addRow(QStringLiteral("Od:"), stQuarter_);
    q->addRow(QStringLiteral("roku:"), stQYear_);
    q->addRow(QStringLiteral("Do:"), enQuarter_);
    q->addRow(QStringLiteral("roku:"), enQYear_);
    QFormLayout* m = group(QStringLiteral("Miesiące"));
    stMonth_ = choice(this, "stMonth", months);
    enMonth_ = choice(this, "enMonth", months);
    stYear_ = yearSpin(this, "stYear");
    enYear_ = yearSpin(this, "enYear");
    m->addRow(QStringLiteral("Od:"), stMonth_);
    m->addRow(QStringLiteral("roku:"), stYear_);
    m->addRow(QStringLiteral("Do:"), enMonth_);
    m->addRow(QStringLiteral("roku:"), enYear_);
    QFormLayout* y = group(QStringLiteral("Lata"));
    stYYear_ = yearSpin(this, "stYYear");
    enYYear_ = yearSpin(this, "enYYear");
    y->addRow(QStringLiteral("Od roku:"), stYYear_);
    y->addRow(QStringLiteral("Do roku:"), enYYear_);

    exclude_ = new QCheckBox(QStringLiteral("Dodatkowe wyrażenie filtrujące"), this);
    exclude_->setObjectName(QStringLiteral("Exclude"));
    auto* extra = new QGroupBox(QStringLiteral("Wyjątki"), this);
    auto* extraForm = new QFormLayout(extra);
    expression_ = new QLineEdit(extra);
    expression_->setObjectName(QStringLiteral("Expression"));
    fields_ = new QListWidget(extra);
    fields_->setObjectName(QStringLiteral("Fields"));
    fields_->setFlow(QListView::TopToBottom);
    fields_->setWrapping(true);
    fields_->setResizeMode(QListView::Adjust);
    fields_->setMaximumHeight(90);
    extraForm->addRow(QStringLiteral("Wyrażenie"), expression_);
    extraForm->addRow(QStringLiteral("Pola bazy"), fields_);
    expression_->setEnabled(false);
    fields_->setEnabled(false);

    ok_ = new QPushButton(QStringLiteral("Kontynuuj"), this);
    cancel_ = new QPushButton(QStringLiteral("Anuluj"), this);
    help_ = new QPushButton(QStringLiteral("Pomoc"), this);
    connect(help_, &QPushButton::clicked, this,
            [this] { emit helpRequested(QStringLiteral("filtry.html")); });
    defaults_ = new QPushButton(QStringLiteral("Przywróć domyślne wartości"), this);
    defaults_->setObjectName(QStringLiteral("Button1"));
    ok_->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(defaults_);
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    buttons->addWidget(help_);

    auto* top = new QFormLayout;
    top->addRow(QStringLiteral("Podział Skali"), scale_);
    auto* box = new QVBoxLayout(this);
    box->addLayout(top);
    box->addWidget(groups_);
    box->addWidget(exclude_);
    box->addWidget(extra);
    box->addLayout(buttons);

    connect(scale_, &QComboBox::currentIndexChanged, groups_, &QStackedWidget::setCurrentIndex);
    connect(exclude_, &QCheckBox::toggled, this, [this](bool on) {
        expression_->setEnabled(on);
        fields_->setEnabled(on);
    });
    connect(expression_, &QLineEdit::editingFinished, this, [this] {
        if (!expression_->isModified()) return;
        expression_->setModified(false);
        if (!checkExpression()) rejectedShown_ = expression_->text();
    });
    connect(ok_, &QPushButton::clicked, this, &TfmSort::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(defaults_, &QPushButton::clicked, this, &TfmSort::restoreDefaults);
}

void TfmSort::setUp(const Table* catalogue, const std::string& dateField, PeriodKind kind) {
    table_ = catalogue;
    defaultValues_ = catalogue ? periodDialogDefaults(*catalogue, dateField, kind) : PeriodDialogValues{};
    defaultValues_.Scale = kind;
    const CivilDate a = civilDate(defaultValues_.firstDate), b = civilDate(defaultValues_.lastDate);
    const QDate first = dateOfDay(defaultValues_.firstDate), last = dateOfDay(defaultValues_.lastDate);
    // The bounds apply to the date entered, not to each key: a range on the
    // fields themselves makes them refuse the digits of a date being typed
    // (a month "1" of "12" is taken for January when December is past the
    // range of another year).
    firstDate_ = first;
    lastDate_ = last;
    for (QSpinBox* s : {stQYear_, enQYear_, stYear_, enYear_, stYYear_, enYYear_})
        s->setRange(a.year, b.year);
    fields_->clear();
    if (catalogue)
        for (const FieldDef& f : catalogue->fields()) fields_->addItem(QString::fromStdString(f.name));
    setValues(defaultValues_);
}

QDate TfmSort::bounded(const QDate& d) const {
    if (!firstDate_.isValid() || !lastDate_.isValid()) return d;
    return std::clamp(d, firstDate_, lastDate_);
}

void TfmSort::restoreDefaults() {
    // The extra expression is the user's own text, not a default.
    PeriodDialogValues v = defaultValues_;
    v.Scale = values().Scale;
    v.Exclude = exclude_->isChecked();
    v.Expression = expression_->text().toStdString();
    setValues(v);
}

PeriodDialogValues TfmSort::values() const {
    PeriodDialogValues v = defaultValues_;
    v.Scale = static_cast<PeriodKind>(scale_->currentIndex());
    v.stDate = dayOfDate(bounded(stDate_->date()));
    v.enDate = dayOfDate(bounded(enDate_->date()));
    v.stQuarter = stQuarter_->currentIndex() + 1;
    v.enQuarter = enQuarter_->currentIndex() + 1;
    v.stQYear = stQYear_->value();
    v.enQYear = enQYear_->value();
    v.stMonth = stMonth_->currentIndex() + 1;
    v.enMonth = enMonth_->currentIndex() + 1;
    v.stYear = stYear_->value();
    v.enYear = enYear_->value();
    v.stYYear = stYYear_->value();
    v.enYYear = enYYear_->value();
    v.Exclude = exclude_->isChecked();
    v.Expression = expression_->text().toStdString();
    return v;
}

void TfmSort::setValues(const PeriodDialogValues& v) {
    scale_->setCurrentIndex(static_cast<int>(v.Scale));
    groups_->setCurrentIndex(static_cast<int>(v.Scale));
    stDate_->setDate(dateOfDay(v.stDate));
    enDate_->setDate(dateOfDay(v.enDate));
    stQuarter_->setCurrentIndex(v.stQuarter - 1);
    enQuarter_->setCurrentIndex(v.enQuarter - 1);
    stQYear_->setValue(v.stQYear);
    enQYear_->setValue(v.enQYear);
    stMonth_->setCurrentIndex(v.stMonth - 1);
    enMonth_->setCurrentIndex(v.enMonth - 1);
    stYear_->setValue(v.stYear);
    enYear_->setValue(v.enYear);
    stYYear_->setValue(v.stYYear);
    enYYear_->setValue(v.enYYear);
    exclude_->setChecked(v.Exclude);
    expression_->setText(QString::fromStdString(v.Expression));
}

bool TfmSort::expressionAccepted() const {
    if (!table_ || expression_->text().trimmed().isEmpty()) return true;
    try {
        table_->checkFilter(expression_->text().toStdString());
        return true;
    } catch (const TableError&) {
        return false;
    }
}

bool TfmSort::checkExpression() {
    if (expressionAccepted()) return true;
    dialogs_.error(QString::fromUtf8(kBadFilterCaption), QString::fromUtf8(kBadExtraExpressionMessage));
    expression_->selectAll();
    expression_->setFocus();
    return false;
}

void TfmSort::accept() {
    const std::string fault = checkPeriodDialog(values());
    if (!fault.empty()) {
        dialogs_.error(QString::fromUtf8(kBadFilterCaption), QString::fromStdString(fault));
        return;
    }
    // A rejected expression must not reach the catalogue's filter, even when
    // the button is pressed straight from the expression.
    if (exclude_->isChecked() && !expressionAccepted()) {
        // Leaving the field for the button has just said so.
        if (rejectedShown_ == expression_->text())
            rejectedShown_.clear();
        else
            checkExpression();
        expression_->selectAll();
        expression_->setFocus();
        return;
    }
    QDialog::accept();
}

}  // namespace zorv

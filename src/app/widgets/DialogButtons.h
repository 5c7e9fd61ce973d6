#pragma once
// The button row of the analysis dialogs: the dialog's own first button
// (usually "Kontynuuj"), "Anuluj" closing it unanswered and "Pomoc" asking
// for the manual's page of the dialog.

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <functional>

namespace zorv {

// `first` keeps its own connection; `help` is called with the "Pomoc" click.
inline QHBoxLayout* dialogButtonRow(QDialog* dialog, QPushButton* first, std::function<void()> help) {
    auto* cancel = new QPushButton(QStringLiteral("Anuluj"), dialog);
    auto* helpButton = new QPushButton(QStringLiteral("Pomoc"), dialog);
    first->setDefault(true);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    QObject::connect(helpButton, &QPushButton::clicked, dialog, std::move(help));
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(first);
    row->addWidget(cancel);
    row->addWidget(helpButton);
    return row;
}

}  // namespace zorv

#include "help/TfmGreetings.h"

#include <QCoreApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "services/ShellTexts.h"

namespace zorv {

QString TfmGreetings::shippedText(const QString& fileName) {
    for (const QString& path : {QCoreApplication::applicationDirPath() + QLatin1Char('/') + fileName,
                                QStringLiteral(":/") + fileName}) {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly)) return QString::fromUtf8(f.readAll());
    }
    return {};
}

TfmGreetings::TfmGreetings(QWidget* parent)
    : QDialog(parent),
      text_(new QPlainTextEdit(this)),
      readme_(new QPushButton(QStringLiteral("Readme"), this)),
      history_(new QPushButton(QStringLiteral("Historia Powstania"), this)) {
    setObjectName(QStringLiteral("TfmGreetings"));
    setWindowTitle(QStringLiteral("ZORV - informacje"));
    auto* title = new QLabel(kProgramCaption, this);
    QFont f = title->font();
    f.setPointSize(f.pointSize() + 6);
    f.setBold(true);
    title->setFont(f);
    auto* subtitle = new QLabel(QStringLiteral("System Analizy Lokalnego Zagrożenia Sejsmicznego"), this);
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont fixed(QStringLiteral("Monospace"));
    fixed.setStyleHint(QFont::TypeWriter);
    text_->setFont(fixed);
    auto* close = new QPushButton(QStringLiteral("Zamknij"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(readme_);
    buttons->addWidget(history_);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(subtitle);
    layout->addWidget(text_, 1);
    layout->addLayout(buttons);
    connect(readme_, &QPushButton::clicked, this,
            [this] { text_->setPlainText(shippedText(QStringLiteral("readme.txt"))); });
    connect(history_, &QPushButton::clicked, this,
            [this] { text_->setPlainText(shippedText(QStringLiteral("history.txt"))); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    text_->setPlainText(shippedText(QStringLiteral("readme.txt")));
    resize(640, 460);
}

}  // namespace zorv

#include "report/TfmRichText.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace zorv {

TfmRichText::TfmRichText(QWidget* parent) : QWidget(parent), editor_(new QPlainTextEdit(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(editor_);
    QFont font(QStringLiteral("Courier New"), 10);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    // Where Courier New is missing, the system's own fixed-pitch font.
    if (!QFontInfo(font).fixedPitch()) {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPointSize(10);
    }
    editor_->setFont(font);
    editor_->setLineWrapMode(QPlainTextEdit::NoWrap);
    editor_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editor_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // TABs of the table lines every 8 characters, as a text editor shows them.
    editor_->setTabStopDistance(8 * QFontMetricsF(font).horizontalAdvance(QLatin1Char(' ')));
}

void TfmRichText::setLines(const ReportLines& lines) {
    QStringList text;
    text.reserve(qsizetype(lines.size()));
    for (const std::string& line : lines) text << QString::fromStdString(line);
    editor_->setPlainText(text.join(QLatin1Char('\n')));
}

ReportLines TfmRichText::lines() const {
    ReportLines out;
    const QString text = editor_->toPlainText();
    if (text.isEmpty()) return out;
    for (const QString& line : text.split(QLatin1Char('\n'))) out.push_back(line.toStdString());
    return out;
}

}  // namespace zorv

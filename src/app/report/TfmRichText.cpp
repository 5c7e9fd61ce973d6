#include "report/TfmRichText.h"

#include <QPlainTextEdit>
#include <QTextDocument>
#include <QTextOption>
#include <QVBoxLayout>
#include <algorithm>

#include "report/FixedPitchFont.h"

namespace zorv {

TfmRichText::TfmRichText(QWidget* parent) : QWidget(parent), editor_(new QPlainTextEdit(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(editor_);
    const QFont font = fixedPitchFont(10);
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
    setColumnStops(text);
}

void TfmRichText::setColumnStops(const QStringList& lines) {
    // The widest cell of each TAB-separated column, so that a long value
    // ("III 2003") does not push the next one under the following heading.
    const QFontMetricsF metrics(editor_->font());
    const qreal gap = 2 * metrics.horizontalAdvance(QLatin1Char(' '));
    const qreal uniform = 8 * metrics.horizontalAdvance(QLatin1Char(' '));
    QList<qreal> widths;
    for (const QString& line : lines) {
        if (!line.contains(QLatin1Char('\t'))) continue;
        const QStringList cells = line.split(QLatin1Char('\t'));
        // The cell after the last TAB ends the line: it needs no stop.
        for (qsizetype c = 0; c + 1 < cells.size(); ++c) {
            if (widths.size() <= c) widths.append(0);
            widths[c] = std::max(widths[c], metrics.horizontalAdvance(cells[c]));
        }
    }
    QTextOption option = editor_->document()->defaultTextOption();
    QList<QTextOption::Tab> stops;
    qreal at = 0;
    for (const qreal w : widths) {
        // Every stop at least one uniform step on, as TABs fall in text.
        at += std::max(w + gap, uniform);
        stops.append(QTextOption::Tab(at, QTextOption::LeftTab));
    }
    option.setTabs(stops);
    editor_->document()->setDefaultTextOption(option);
}

QList<qreal> TfmRichText::columnStops() const {
    QList<qreal> out;
    for (const QTextOption::Tab& t : editor_->document()->defaultTextOption().tabs()) out.append(t.position);
    return out;
}

ReportLines TfmRichText::lines() const {
    ReportLines out;
    const QString text = editor_->toPlainText();
    if (text.isEmpty()) return out;
    for (const QString& line : text.split(QLatin1Char('\n'))) out.push_back(line.toStdString());
    return out;
}

}  // namespace zorv

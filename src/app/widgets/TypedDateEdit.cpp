#include "widgets/TypedDateEdit.h"

#include <QKeyEvent>

namespace zorv {

namespace {

bool isSeparator(const QString& text) {
    return text.size() == 1 && (text[0] == QLatin1Char('-') || text[0] == QLatin1Char('.') ||
                                text[0] == QLatin1Char('/') || text[0] == QLatin1Char(' '));
}

}  // namespace

TypedDateEdit::TypedDateEdit(QWidget* parent) : QDateEdit(parent) {}

void TypedDateEdit::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    if (movedOn_ && isSeparator(text)) {
        movedOn_ = false;
        event->accept();
        return;
    }
    const Section before = currentSection();
    QDateEdit::keyPressEvent(event);
    movedOn_ = text.size() == 1 && text[0].isDigit() && currentSection() != before;
}

void TypedDateEdit::focusInEvent(QFocusEvent* event) {
    movedOn_ = false;
    QDateEdit::focusInEvent(event);
}

}  // namespace zorv

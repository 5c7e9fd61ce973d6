#include "charts/WrappedTextElement.h"

#include <algorithm>

namespace zorv {

int WrappedTextElement::availableWidth() const {
    // The element fills a row of the plot's outer layout, the whole width.
    return std::max(1, mParentPlot->viewport().width() - mMargins.left() - mMargins.right());
}

bool WrappedTextElement::wraps() const {
    return QFontMetrics(mFont).boundingRect(0, 0, 0, 0, mTextFlags, mText).width() > availableWidth();
}

QSize WrappedTextElement::minimumOuterSizeHint() const {
    if (!wraps()) return QCPTextElement::minimumOuterSizeHint();
    const int width = availableWidth();
    const QRect text = QFontMetrics(mFont).boundingRect(0, 0, width, 0, mTextFlags | Qt::TextWordWrap, mText);
    return {width + mMargins.left() + mMargins.right(), text.height() + mMargins.top() + mMargins.bottom()};
}

QSize WrappedTextElement::maximumOuterSizeHint() const {
    if (!wraps()) return QCPTextElement::maximumOuterSizeHint();
    return {QWIDGETSIZE_MAX, minimumOuterSizeHint().height()};
}

void WrappedTextElement::draw(QCPPainter* painter) {
    if (!wraps()) {
        QCPTextElement::draw(painter);
        return;
    }
    painter->setFont(mainFont());
    painter->setPen(QPen(mainTextColor()));
    painter->drawText(mRect, mTextFlags | Qt::TextWordWrap, mText, &mTextBoundingRect);
}

}  // namespace zorv

#pragma once
// A chart's title or footer that breaks its lines at words where the chart
// is narrower than the text, instead of running past the right edge. Where
// the text fits, it is laid out and drawn exactly as a plain text element.

#include <qcustomplot.h>

namespace zorv {

class WrappedTextElement : public QCPTextElement {
public:
    explicit WrappedTextElement(QCustomPlot* plot) : QCPTextElement(plot) {}

protected:
    QSize minimumOuterSizeHint() const override;
    QSize maximumOuterSizeHint() const override;
    void draw(QCPPainter* painter) override;

private:
    // The width the plot gives the element's text [px].
    int availableWidth() const;
    bool wraps() const;
};

}  // namespace zorv

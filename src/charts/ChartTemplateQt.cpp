#include "charts/ChartTemplateQt.h"

#include <QFileInfo>
#include <cmath>

#include "charts/AnalysisChart.h"

namespace zorv {

namespace {

// The pixel height a font of `points` has on a 96-dpi screen, stored
// negative (a character height).
std::int32_t pixelHeight(int points) { return -static_cast<std::int32_t>(std::lround(points * 96.0 / 72.0)); }

TemplateFont fontRecord(const QFont& f, const QColor& colour) {
    TemplateFont r;
    r.colour = fromQColor(colour);
    const int points = f.pointSize() > 0 ? f.pointSize() : 8;
    r.height = pixelHeight(points);
    r.size = points;
    r.pitch = f.fixedPitch() ? 2 : 0;
    r.face = f.family().toStdString();
    r.style = (f.bold() ? kFontBold : 0) | (f.italic() ? kFontItalic : 0) |
              (f.underline() ? kFontUnderline : 0) | (f.strikeOut() ? kFontStrikeOut : 0);
    return r;
}

// The size in points wins over the stored height.
QFont fontOf(const TemplateFont& r) {
    QFont f(QString::fromStdString(r.face));
    if (r.size > 0) f.setPointSize(r.size);
    f.setFixedPitch(r.pitch == 2);
    f.setBold(r.style & kFontBold);
    f.setItalic(r.style & kFontItalic);
    f.setUnderline(r.style & kFontUnderline);
    f.setStrikeOut(r.style & kFontStrikeOut);
    return f;
}

std::int32_t styleCode(Qt::PenStyle s) {
    switch (s) {
        case Qt::DashLine: return 1;
        case Qt::DotLine: return 2;
        case Qt::DashDotLine: return 3;
        case Qt::DashDotDotLine: return 4;
        default: return 0;
    }
}

Qt::PenStyle penStyle(std::int32_t code) {
    switch (code) {
        case 1: return Qt::DashLine;
        case 2: return Qt::DotLine;
        case 3: return Qt::DashDotLine;
        case 4: return Qt::DashDotDotLine;
        default: return Qt::SolidLine;
    }
}

std::int32_t alignmentCode(int flags) {
    if (flags & Qt::AlignRight) return 1;
    if (flags & Qt::AlignHCenter) return 2;
    return 0;
}

int alignmentFlags(std::int32_t code) {
    return (code == 1 ? Qt::AlignRight : code == 2 ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter;
}

TemplateAxis axisRecord(const AnalysisChart& w, ChartAxis id) {
    const QCPAxis* a = w.axis(id);
    TemplateAxis r;
    r.gridVisible = a->grid()->visible();
    r.gridColour = fromQColor(a->grid()->pen().color());
    r.gridStyle = styleCode(a->grid()->pen().style());
    r.gridWidth = a->grid()->pen().width();
    r.minorGridVisible = a->grid()->subGridVisible();
    r.minorGridColour = fromQColor(a->grid()->subGridPen().color());
    r.minorGridStyle = styleCode(a->grid()->subGridPen().style());
    r.minorGridWidth = a->grid()->subGridPen().width();
    r.tickLength = a->tickLengthOut();
    r.minorTickLength = a->subTickLengthOut();
    r.minorTickCount = std::max(0, w.minorTickCount(id));
    return r;
}

// Doubles of the record are applied truncated to whole numbers.
int whole(double v) { return std::isfinite(v) ? static_cast<int>(std::trunc(v)) : 0; }

void applyAxis(AnalysisChart& w, ChartAxis id, const TemplateAxis& r) {
    QCPAxis* a = w.axis(id);
    a->grid()->setVisible(r.gridVisible);
    a->grid()->setPen(QPen(toQColor(r.gridColour), whole(r.gridWidth), penStyle(r.gridStyle)));
    a->grid()->setSubGridVisible(r.minorGridVisible);
    a->grid()->setSubGridPen(
        QPen(toQColor(r.minorGridColour), whole(r.minorGridWidth), penStyle(r.minorGridStyle)));
    a->setTickLengthOut(whole(r.tickLength));
    a->setSubTickLengthOut(whole(r.minorTickLength));
    w.setMinorTickCount(id, whole(r.minorTickCount));
}

}  // namespace

std::uint32_t seriesColour(const AnalysisChart& w, int index) {
    const ChartSeries& s = w.series(index);
    if (s.bars) return fromQColor(s.bars->brush().color());
    if (s.type == SeriesType::Point || index == seriesIndex("Series11"))
        return fromQColor(s.graph->scatterStyle().brush().color());
    return fromQColor(s.graph->pen().color());
}

void setSeriesColour(AnalysisChart& w, int index, std::uint32_t colour) {
    ChartSeries& s = w.series(index);
    const QColor c = toQColor(colour);
    if (s.bars) {
        s.bars->setBrush(c);
        s.bars->setPen(QPen(c.darker(150)));
        return;
    }
    QCPScatterStyle scatter = s.graph->scatterStyle();
    scatter.setBrush(c);
    scatter.setPen(QPen(c));
    s.graph->setScatterStyle(scatter);
    if (s.type == SeriesType::Line && index != seriesIndex("Series11")) {
        QPen pen = s.graph->pen();
        pen.setColor(c);
        s.graph->setPen(pen);
    }
}

ChartTemplate captureTemplate(const AnalysisChart& w) {
    ChartTemplate t;
    QCustomPlot* c = w.chart();
    t.legendVisible = c->legend->visible();
    t.legendPosition = w.legendPosition;
    t.legendTopPercent = w.legendTopPercent;
    t.legendColour = fromQColor(c->legend->brush().color());
    t.legendShadowColour = w.legendShadowColour;
    t.legendShadowSize = w.legendShadowSize;
    t.titleFont = fontRecord(w.titleElement()->font(), w.titleElement()->textColor());
    t.footerFont = fontRecord(w.footerElement()->font(), w.footerElement()->textColor());
    t.legendFont = fontRecord(c->legend->font(), c->legend->textColor());
    t.axisTitleFont = fontRecord(c->yAxis->labelFont(), c->yAxis->labelColor());
    t.backColour = w.backColour();
    t.panelColour = w.panelColour();
    t.gradientStart = w.gradientStart;
    t.gradientEnd = w.gradientEnd;
    t.gradientVisible = w.gradientVisible;
    t.gradientDirection = w.gradientDirection;
    t.titleAlignment = alignmentCode(w.titleElement()->textFlags());
    t.footerAlignment = alignmentCode(w.footerElement()->textFlags());
    t.leftAxis = axisRecord(w, ChartAxis::Left);
    t.rightAxis = axisRecord(w, ChartAxis::Right);
    t.bottomAxis = axisRecord(w, ChartAxis::Bottom);
    for (int i = 0; i < 10; ++i) t.seriesColours[static_cast<std::size_t>(i)] = seriesColour(w, i);
    return t;
}

void applyTemplate(AnalysisChart& w, const ChartTemplate& t) {
    QCustomPlot* c = w.chart();
    c->legend->setVisible(t.legendVisible);
    w.setLegendPosition(t.legendPosition);
    w.legendTopPercent = whole(t.legendTopPercent);
    c->legend->setBrush(toQColor(t.legendColour));
    w.legendShadowColour = t.legendShadowColour;
    w.legendShadowSize = whole(t.legendShadowSize);
    w.setBackColour(t.backColour);
    w.gradientStart = t.gradientStart;
    w.gradientEnd = t.gradientEnd;
    w.gradientVisible = t.gradientVisible;
    w.gradientDirection = t.gradientDirection;
    w.setPanelColour(t.panelColour);
    w.titleElement()->setFont(fontOf(t.titleFont));
    w.titleElement()->setTextColor(toQColor(t.titleFont.colour));
    for (QCPAxis* a : {c->yAxis, c->yAxis2, c->xAxis}) {
        a->setLabelFont(fontOf(t.axisTitleFont));
        a->setLabelColor(toQColor(t.axisTitleFont.colour));
    }
    w.footerElement()->setFont(fontOf(t.footerFont));
    w.footerElement()->setTextColor(toQColor(t.footerFont.colour));
    c->legend->setFont(fontOf(t.legendFont));
    c->legend->setTextColor(toQColor(t.legendFont.colour));
    w.titleElement()->setTextFlags(alignmentFlags(t.titleAlignment));
    w.footerElement()->setTextFlags(alignmentFlags(t.footerAlignment));
    applyAxis(w, ChartAxis::Left, t.leftAxis);
    applyAxis(w, ChartAxis::Bottom, t.bottomAxis);
    applyAxis(w, ChartAxis::Right, t.rightAxis);
    for (int i = 0; i < 12; ++i) setSeriesColour(w, i, t.seriesColours[static_cast<std::size_t>(i)]);
    c->replot();
}

}  // namespace zorv

#include <algorithm>
#include <cmath>

#include "charts/AnalysisChart.h"
#include "charts/MaskTicker.h"

// The axes of a chart window: their tickers from the layout's masks, the
// ranges fitted to the series (logarithmic ranges by decades), and what the
// axes page of the properties changes.

namespace zorv {

QCPAxis* AnalysisChart::axis(ChartAxis a) const {
    switch (a) {
        case ChartAxis::Left: return chart_->yAxis;
        case ChartAxis::Right: return chart_->yAxis2;
        case ChartAxis::Bottom: break;
    }
    return chart_->xAxis;
}

bool AnalysisChart::axisLogarithmic(ChartAxis a) const { return logarithmic_[static_cast<std::size_t>(a)]; }
QString AnalysisChart::axisFormat(ChartAxis a) const { return formats_[static_cast<std::size_t>(a)]; }

void AnalysisChart::setupAxis(const AxisSetup& s) {
    QCPAxis* a = axis(s.axis);
    const std::size_t i = static_cast<std::size_t>(s.axis);
    logarithmic_[i] = s.logarithmic;
    formats_[i] = QString::fromStdString(s.format);
    const bool bottom = s.axis == ChartAxis::Bottom;
    if (bottom && layout_.dateAxis) {
        auto dates = QSharedPointer<DateTicker>::create();
        dates->setDateTimeFormat(QString::fromStdString(settings_.UserLocale.shortDatePattern));
        dates->setDateTimeSpec(Qt::UTC);
        a->setTicker(dates);
    } else if (s.labels == LabelStyle::Text) {
        if (!qSharedPointerDynamicCast<RecordLabelTicker>(a->ticker()))
            a->setTicker(QSharedPointer<RecordLabelTicker>::create());
    } else if (s.logarithmic) {
        a->setScaleType(QCPAxis::stLogarithmic);
        a->setTicker(QSharedPointer<LogMaskTicker>::create(s.format, settings_.UserLocale));
    } else {
        a->setScaleType(QCPAxis::stLinear);
        a->setTicker(QSharedPointer<MaskTicker>::create(s.format, settings_.UserLocale, s.increment));
    }
    // Logarithmic axes show their minor grid as well.
    a->grid()->setSubGridVisible(s.logarithmic);
    a->setTickLabels(s.labels != LabelStyle::None);
    a->setVisible(true);

    if (s.logarithmic && s.rangeFromSeries >= 0) {
        const ChartSeries& from = series_[static_cast<std::size_t>(s.rangeFromSeries)];
        // The series' own values: a bar series' value range would take in
        // its base as well.
        const QCPPlottableInterface1D* data = from.plottable()->interface1D();
        bool found = false;
        QCPRange r;
        for (int k = 0; data && k < data->dataCount(); ++k) {
            const double v = bottom ? data->dataMainKey(k) : data->dataMainValue(k);
            if (!std::isfinite(v)) continue;
            r = found ? QCPRange(std::min(r.lower, v), std::max(r.upper, v)) : QCPRange(v, v);
            found = true;
        }
        const LogRange lr = found ? logarithmicRange(r.lower, r.upper) : logarithmicRange(0, 0);
        a->setRange(lr.minimum, lr.maximum);
        // Bars stand on the bottom of a logarithmic axis.
        for (ChartSeries& c : series_)
            if (c.bars && c.active && c.bars->valueAxis() == a) c.bars->setBaseValue(lr.minimum);
    } else if (!s.automatic) {
        a->setRange(std::min(s.minimum, s.maximum), std::max(s.minimum, s.maximum));
    } else if (!(bottom && s.labels == LabelStyle::Text)) {
        fitAxis(s.axis);
    }
    automatic_[i] = s.automatic;
}

void AnalysisChart::openBandEnds(bool atTop) {
    for (OpenBand& band : openBands_) {
        const double top = band.graph->valueAxis()->range().upper;
        QVector<double> values = band.upper;
        for (double& v : values)
            if (std::isnan(v) && atTop) v = top;
        band.graph->setData(band.keys, values, true);
    }
}

void AnalysisChart::fitAxis(ChartAxis id) {
    QCPAxis* a = axis(id);
    const bool bottom = id == ChartAxis::Bottom;
    // The open ends of bands follow the axis; they do not set it.
    openBandEnds(false);
    a->rescale(true);
    QCPRange r = a->range();
    if (axisLogarithmic(id) && !bottom) {
        const LogRange lr = logarithmicRange(r.lower, r.upper);
        a->setRange(lr.minimum, lr.maximum);
        openBandEnds(true);
        return;
    }
    // Record labels stand at whole positions: half a record either side.
    if (bottom && qSharedPointerDynamicCast<RecordLabelTicker>(a->ticker())) {
        a->setRange(r.lower - 0.5, r.upper + 0.5);
        return;
    }
    const bool barAxis = std::any_of(series_.begin(), series_.end(), [&](const ChartSeries& c) {
        return c.bars && c.active && c.bars->valueAxis() == a;
    });
    if (barAxis && !axisLogarithmic(id)) r.lower = std::min(0.0, r.lower);
    const double pad = r.size() > 0 ? r.size() * 0.05 : 1.0;
    if (bottom && !barAxis)
        a->setRange(r.lower, r.upper);
    else
        a->setRange(barAxis && r.lower == 0.0 ? 0.0 : r.lower - pad, r.upper + pad);
    openBandEnds(true);
}

void AnalysisChart::setAxisLogarithmic(ChartAxis id, bool on) {
    const std::size_t i = static_cast<std::size_t>(id);
    if (logarithmic_[i] == on) return;
    QCPAxis* a = axis(id);
    const int minor = minorTickCount(id);
    logarithmic_[i] = on;
    if (on) {
        // Decades below 1 need an exponent: a mask without one would label
        // 0.001 as 0. The linear mask comes back with the linear axis.
        linearFormats_[i] = formats_[i];
        if (!formats_[i].contains(QLatin1Char('E'))) formats_[i] = QStringLiteral("0.##E+0");
        a->setScaleType(QCPAxis::stLogarithmic);
        a->setTicker(QSharedPointer<LogMaskTicker>::create(formats_[i].toStdString(), settings_.UserLocale));
    } else {
        if (!linearFormats_[i].isEmpty()) formats_[i] = linearFormats_[i];
        a->setScaleType(QCPAxis::stLinear);
        a->setTicker(
            QSharedPointer<MaskTicker>::create(formats_[i].toStdString(), settings_.UserLocale, 0.0));
    }
    a->grid()->setSubGridVisible(on);
    setMinorTickCount(id, minor);
    if (automatic_[i]) fitAxis(id);
    chart_->replot();
}

void AnalysisChart::setAxisRange(ChartAxis id, bool automatic, double minimum, double maximum) {
    automatic_[static_cast<std::size_t>(id)] = automatic;
    if (automatic)
        fitAxis(id);
    else
        axis(id)->setRange(std::min(minimum, maximum), std::max(minimum, maximum));
}

void AnalysisChart::setAxisFormat(ChartAxis id, const QString& format) {
    QCPAxis* a = axis(id);
    formats_[static_cast<std::size_t>(id)] = format;
    const int minor = minorTickCount(id);
    if (auto m = qSharedPointerDynamicCast<MaskTicker>(a->ticker()))
        a->setTicker(
            QSharedPointer<MaskTicker>::create(format.toStdString(), settings_.UserLocale, m->increment()));
    else if (qSharedPointerDynamicCast<LogMaskTicker>(a->ticker()))
        a->setTicker(QSharedPointer<LogMaskTicker>::create(format.toStdString(), settings_.UserLocale));
    else
        return;
    setMinorTickCount(id, minor);
}

}  // namespace zorv

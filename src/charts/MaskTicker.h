#pragma once
// Axis tickers of the chart windows: labels in the picture masks of the
// chart kinds ("#", "0.##", "0.#E+0", ...) through zorvcore's mask
// formatter and the user's decimal separator; a least distance between two
// labels (the kind's increment); text labels at record positions, thinned
// so they never overlap; and a settable number of minor ticks.

#include <qcustomplot.h>

#include <string>

#include "text/Locale.h"

namespace zorv {

// Linear axis with mask labels.
class MaskTicker : public QCPAxisTicker {
public:
    MaskTicker(std::string mask, Locale locale, double increment);
    const std::string& mask() const { return mask_; }
    double increment() const { return increment_; }
    void setMinorTickCount(int n) { minorTicks_ = n; }
    int minorTickCount() const { return minorTicks_; }

protected:
    double getTickStep(const QCPRange& range) override;
    int getSubTickCount(double tickStep) override;
    QString getTickLabel(double tick, const QLocale& locale, QChar formatChar, int precision) override;

private:
    std::string mask_;
    Locale locale_;
    double increment_;
    double lastStep_ = 1.0;
    int minorTicks_ = -1;  // -1: as the step suggests
};

// Logarithmic axis (powers of ten) with mask labels.
class LogMaskTicker : public QCPAxisTickerLog {
public:
    LogMaskTicker(std::string mask, Locale locale);
    const std::string& mask() const { return mask_; }
    void setMinorTickCount(int n) { minorTicks_ = n; }
    int minorTickCount() const { return minorTicks_; }

protected:
    int getSubTickCount(double tickStep) override;
    QString getTickLabel(double tick, const QLocale& locale, QChar formatChar, int precision) override;

private:
    std::string mask_;
    Locale locale_;
    int minorTicks_ = -1;
};

// Text labels at the X positions of the records; when more labels fall in
// the visible range than fit, every n-th is shown.
class RecordLabelTicker : public QCPAxisTickerText {
public:
    void setMinorTickCount(int n) { minorTicks_ = n; }
    int minorTickCount() const { return minorTicks_; }

protected:
    QVector<double> createTickVector(double tickStep, const QCPRange& range) override;
    int getSubTickCount(double tickStep) override;

private:
    int minorTicks_ = 0;
};

// Dates of day-number positions (QCustomPlot time) in the user's short date.
class DateTicker : public QCPAxisTickerDateTime {
public:
    void setMinorTickCount(int n) { minorTicks_ = n; }
    int minorTickCount() const { return minorTicks_; }

protected:
    int getSubTickCount(double tickStep) override;

private:
    int minorTicks_ = -1;
};

}  // namespace zorv

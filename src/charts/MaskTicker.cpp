#include "charts/MaskTicker.h"

#include <cmath>

#include "text/NumberFormat.h"

namespace zorv {

MaskTicker::MaskTicker(std::string mask, Locale locale, double increment)
    : mask_(std::move(mask)), locale_(locale), increment_(increment) {}

double MaskTicker::getTickStep(const QCPRange& range) {
    double step = QCPAxisTicker::getTickStep(range);
    // The increment is the least step.
    if (increment_ > 0.0 && step < increment_) step = increment_;
    // Labels never finer than the mask shows: two ticks would read alike.
    if (!mask_.empty() && mask_.find_first_of("eE") == std::string::npos) {
        const auto dot = mask_.find('.');
        std::size_t decimals = 0;
        if (dot != std::string::npos) {
            const auto end = mask_.find_first_not_of("0#", dot + 1);
            decimals = (end == std::string::npos ? mask_.size() : end) - dot - 1;
        }
        step = std::max(step, std::pow(10.0, -static_cast<double>(decimals)));
    }
    lastStep_ = step;
    return step;
}

int MaskTicker::getSubTickCount(double tickStep) {
    return minorTicks_ >= 0 ? minorTicks_ : QCPAxisTicker::getSubTickCount(tickStep);
}

QString MaskTicker::getTickLabel(double tick, const QLocale& locale, QChar formatChar, int precision) {
    if (mask_.empty()) return QCPAxisTicker::getTickLabel(tick, locale, formatChar, precision);
    // Ticks accumulated by addition may miss zero by a rounding error.
    if (std::fabs(tick) < 1e-12 * lastStep_) tick = 0.0;
    return QString::fromStdString(formatMask(tick, mask_, locale_));
}

LogMaskTicker::LogMaskTicker(std::string mask, Locale locale) : mask_(std::move(mask)), locale_(locale) {
    setLogBase(10.0);
    setSubTickCount(8);
}

int LogMaskTicker::getSubTickCount(double tickStep) {
    return minorTicks_ >= 0 ? minorTicks_ : QCPAxisTickerLog::getSubTickCount(tickStep);
}

QString LogMaskTicker::getTickLabel(double tick, const QLocale& locale, QChar formatChar, int precision) {
    if (mask_.empty()) return QCPAxisTickerLog::getTickLabel(tick, locale, formatChar, precision);
    return QString::fromStdString(formatMask(tick, mask_, locale_));
}

QVector<double> RecordLabelTicker::createTickVector(double tickStep, const QCPRange& range) {
    const QVector<double> all = QCPAxisTickerText::createTickVector(tickStep, range);
    const int wanted = std::max(1, tickCount());
    if (all.size() <= wanted) return all;
    const int stride = (static_cast<int>(all.size()) + wanted - 1) / wanted;
    QVector<double> out;
    for (int i = 0; i < all.size(); i += stride) out.push_back(all[i]);
    return out;
}

int RecordLabelTicker::getSubTickCount(double) { return minorTicks_; }

int DateTicker::getSubTickCount(double tickStep) {
    return minorTicks_ >= 0 ? minorTicks_ : QCPAxisTickerDateTime::getSubTickCount(tickStep);
}

}  // namespace zorv

#include "hazard/FailureAdvice.h"

#include <algorithm>
#include <cmath>

#include "hazard/HazardErrors.h"
#include "hazard/MagnitudeResolution.h"
#include "table/Table.h"
#include "text/NumberFormat.h"

namespace zorv {

namespace {

std::string magnitudeText(double m, const Locale& locale) { return formatMask(m, "0.00", locale); }

std::string tooFew(const FailureSample& s, const Locale& locale) {
    std::string text = "Zdarzeń o magnitudzie co najmniej MMin = " + magnitudeText(s.mMin, locale) + ": " +
                       std::to_string(s.aboveMMin) + " (z " + std::to_string(s.events) + " w próbie)";
    if (s.minSampleSize > 0 && s.aboveMMin < std::size_t(s.minSampleSize))
        text += ", a estymator potrzebuje co najmniej " + std::to_string(s.minSampleSize);
    return text +
           ". Obniż próg MMin (właściwości bazy) albo poszerz wybór zdarzeń: dłuższy okres, więcej stref, "
           "łagodniejszy filtr.";
}

enum class MMaxFailure { Iterations, NoRoot };

std::string mMaxAdvice(const FailureSample& s, const Locale& locale, MMaxFailure kind) {
    const std::string compare =
        "porównaj estymatory maksymalnej magnitudy (Maksymalna magnituda — porównanie estymatorów)";
    const std::string remedy = kind == MMaxFailure::Iterations
                                   ? "Zwiększ liczbę iteracji (ustawienia) albo " + compare + "."
                                   : "Wyłącz opcję zmiennej górnej granicy całkowania albo " + compare + ".";
    if (s.bValue <= 0 || s.aboveMMin < 2) return remedy;
    const double gap = s.largest - s.expectedLargest;
    const std::string fit = "(b = " + formatMask(s.bValue, "0.00", locale) + ", " +
                            std::to_string(s.aboveMMin) +
                            " zdarzeń od MMin = " + magnitudeText(s.mMin, locale) +
                            ", oczekiwane największe około " + magnitudeText(s.expectedLargest, locale) + ")";
    if (gap < kFarAboveTheLaw)
        return "Największe zdarzenie (M = " + magnitudeText(s.largest, locale) +
               ") nie odstaje od prawa Gutenberga–Richtera dopasowanego do próby " + fit + ". " + remedy;
    return "Największe zdarzenie (M = " + magnitudeText(s.largest, locale) + ") leży o " +
           magnitudeText(gap, locale) +
           " powyżej magnitudy, jakiej każe się spodziewać prawo Gutenberga–Richtera dopasowane do próby " +
           fit +
           "; przy takim odstępie wspólne szacowanie β i Mmax nie zbiega się. Porównaj estymatory "
           "maksymalnej "
           "magnitudy (Maksymalna magnituda — porównanie estymatorów) i sprawdź, czy to zdarzenie należy do "
           "tej "
           "samej populacji (inna strefa, inny okres), albo podnieś MMin.";
}

std::string ties(const FailureSample& s, const Locale& locale) {
    if (s.resolution <= 0 || s.tied == 0)
        return "Podaj czynnik wygładzający ręcznie (alternatywne h) albo poszerz wybór zdarzeń.";
    return "Magnitudy próby podane są z rozdzielczością " + formatGeneral(s.resolution, locale) + " i " +
           std::to_string(s.tied) + " z " + std::to_string(s.aboveMMin) +
           " zdarzeń ma magnitudę powtórzoną; sprawdzian krzyżowy zawodzi na takich remisach. Włącz losowe "
           "rozrzucenie magnitud w przedziałach zaokrąglenia (ustawienia) albo podaj czynnik wygładzający "
           "ręcznie (alternatywne h).";
}

}  // namespace

FailureSample DescribeFailureSample(const std::vector<double>& magnitudes, const AnalysisSettings& settings) {
    FailureSample s;
    s.mMin = settings.MMin;
    s.minSampleSize = settings.MinSampleSize;
    s.events = magnitudes.size();
    std::vector<double> above;
    for (const double m : magnitudes)
        if (m >= settings.MMin - 1e-9) above.push_back(m);
    s.aboveMMin = above.size();
    if (above.empty()) return s;
    s.largest = *std::max_element(above.begin(), above.end());
    s.resolution = magnitudeResolution(above);
    s.tied = tiedMagnitudes(above);
    double mean = 0;
    for (const double m : above) mean += m;
    mean /= double(above.size());
    // The law's lower end: MMin, or the lower edge of its bin.
    const double lower = settings.MMin - s.resolution / 2;
    const double excess = mean - lower;
    if (above.size() >= 2 && excess > 0) {
        s.bValue = std::log10(std::exp(1.0)) / excess;
        // Where the law's expected count of events at or above M is one.
        s.expectedLargest = lower + std::log10(double(above.size())) / s.bValue;
    }
    return s;
}

FailureSample DescribeFailureSample(const Table& sample, const AnalysisSettings& settings) {
    std::vector<double> magnitudes;
    const int magnitude = sample.fieldIndex(settings.MagnitudeField);
    const int energy = sample.fieldIndex(settings.EnergyField);
    for (std::size_t r = 0; r < sample.recordCount(); ++r) {
        const std::size_t row = sample.rowOfRecord(r);
        if (magnitude >= 0) {
            const Value v = sample.value(row, magnitude);
            if (!v.isNull()) magnitudes.push_back(v.toDouble());
        } else if (energy >= 0) {
            const Value v = sample.value(row, energy);
            if (!v.isNull() && v.toDouble() > 0)
                magnitudes.push_back((std::log10(v.toDouble()) - settings.b) / settings.a);
        }
    }
    return DescribeFailureSample(magnitudes, settings);
}

std::string FailureAdvice(std::exception_ptr failure, const FailureSample& sample, const Locale& locale) {
    try {
        std::rethrow_exception(failure);
    } catch (const ENoRecords&) {
        return tooFew(sample, locale);
    } catch (const ESampleTooLow&) {
        return tooFew(sample, locale);
    } catch (const ETooManyIterations&) {
        return mMaxAdvice(sample, locale, MMaxFailure::Iterations);
    } catch (const ETooLargeMagnitude&) {  // the maximum-magnitude equation without a root among them
        return mMaxAdvice(sample, locale, MMaxFailure::NoRoot);
    } catch (const EMMaxEstExceeded&) {
        return mMaxAdvice(sample, locale, MMaxFailure::NoRoot);
    } catch (const EHFactorBelowZero&) {
        return ties(sample, locale);
    } catch (...) {
    }
    return "";
}

HazardFailureMessage DescribeHazardFailure(std::exception_ptr failure, const FailureSample& sample,
                                           const Locale& locale) {
    HazardFailureMessage m = DescribeHazardFailure(failure);
    const std::string advice = FailureAdvice(failure, sample, locale);
    if (!advice.empty()) m.text += "\n" + advice;
    return m;
}

}  // namespace zorv

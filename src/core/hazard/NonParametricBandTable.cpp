#include "hazard/NonParametricBandTable.h"

#include <cmath>

#include "hazard/BandText.h"

namespace zorv {

void NonParametricBandTable::RunBands(const BootstrapOptions& options, bool searchH,
                                      NonParametricBootstrapRequest request) {
    if (!options.enabled) return;
    request.sampleH = h;
    request.searchH = searchH && (settings_.UseRTNI || settings_.UseRTMI);
    request.variableUpperLimit = VariableUpperLimit();
    CheckBandSize(options, request.magnitudes.size(), request.densities ? 3 : 1);
    StartProgress("Przedział ufności (bootstrap)...", 0, options.replicates);
    bands = BootstrapNonParametric(x, settings_, request, options, [this](int done) {
        SetProgressPosition(done);
        CheckCancel();
    });
    HideProgress();
}

void NonParametricBandTable::AddValueField(FieldDefs& fields, const std::string& name) const {
    fields.emplace_back(name, FieldType::Float);
    if (!bands) return;
    fields.emplace_back(BandFieldName(name, false), FieldType::Float);
    fields.emplace_back(BandFieldName(name, true), FieldType::Float);
}

void NonParametricBandTable::PushValue(
    std::vector<Value>& record, double value,
    const std::function<double(const NonParametricReplicate&)>& quantity) const {
    record.push_back(Value::real(value));
    if (!bands) return;
    const Band band = bands->of(quantity);
    for (double v : {band.lower, band.upper}) record.push_back(std::isfinite(v) ? Value::real(v) : Value{});
}

void NonParametricBandTable::WriteBandLines(ReportLines& lines, bool withMMax, const char* rateLabel) const {
    if (!bands) return;
    const Locale& loc = settings_.UserLocale;
    const NonParametricBands& bb = *bands;
    const auto interval = [&](Band band, const char* mask) { return BandText(band, mask, loc); };
    lines.push_back("");
    lines.push_back(BandHeading(bb.options, loc) + "):");
    lines.push_back("    Współczynnik gładkości           " +
                    interval(bb.of([](const NonParametricReplicate& r) { return r.h; }), "0.00000"));
    if (withMMax) {
        const MMaxBand mMaxBand =
            BoundedMMaxBand(bb.of([](const NonParametricReplicate& r) { return r.mMax; }), LargestObserved());
        lines.push_back("    Maksymalna magnituda estymowana  " + interval(mMaxBand.band, "0.000"));
        if (!std::isnan(mMaxBand.band.lower))
            lines.push_back(MMaxBandNote(mMaxBand, LargestObserved(), "0.000", loc));
    }
    if (rateLabel)
        lines.push_back(std::string(rateLabel) +
                        interval(bb.of([](const NonParametricReplicate& r) { return r.rate; }), "0.000"));
    lines.push_back("    Nieudane replikacje:             " + std::to_string(bb.failed) + " z " +
                    std::to_string(bb.options.replicates));
    lines.push_back("");
}

}  // namespace zorv

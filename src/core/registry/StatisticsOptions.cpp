#include "registry/StatisticsOptions.h"

#include <map>

namespace zorv {

void readStatisticsOptions(const OptionSource& p, const AnalysisEntry& entry, AnalysisRequest& r) {
    const std::string period = p.value("period");
    static const std::map<std::string, PeriodKind> kinds = {
        {"", PeriodKind::Quarters},         {"kwartały", PeriodKind::Quarters},
        {"quarters", PeriodKind::Quarters}, {"miesiące", PeriodKind::Months},
        {"months", PeriodKind::Months},     {"lata", PeriodKind::Years},
        {"years", PeriodKind::Years}};
    const auto kind = kinds.find(period);
    if (kind == kinds.end()) throw OptionError("Nieznany podział skali czasu: " + period);
    r.period = kind->second;
    if (p.isSet("classes"))
        r.maxClass =
            wholeOption(p, "classes", 0, 30, "Najwyższa klasa energii musi być liczbą całkowitą od 0 do 30.");
    if (p.isSet("trace-threshold")) r.traceThreshold = numberOption(p, "trace-threshold");
    if (p.isSet("discharge-threshold")) r.dischargeThreshold = numberOption(p, "discharge-threshold");

    r.zones = optionItems(p.value("zones"));
    r.energyClasses = p.isSet("energy-classes");
    const bool zoneAnalysis =
        entry.parameters == AnalysisParameters::Zones || entry.parameters == AnalysisParameters::ZoneActivity;
    if (zoneAnalysis && r.zones.empty())
        throw OptionError("Podaj strefy analizy opcją --zones (np. --zones G-1,G-2/3).");

    BStatisticsOptions& b = r.bStatistics;
    b.enabled = p.isSet("b-stats");
    b.aki = p.isSet("b-aki");
    if (p.isSet("b-positive-threshold")) {
        b.positiveThreshold = numberOption(p, "b-positive-threshold");
        checkRange(b.positiveThreshold, 0.0, 5.0, "Próg różnic b-dodatniego musi leżeć w przedziale 0 do 5.");
    }
    if (p.isSet("b-bin")) {
        b.binWidth = numberOption(p, "b-bin");
        checkRange(b.binWidth, 0.0, 1.0, "Szerokość klasy magnitudy musi leżeć w przedziale 0 do 1.");
    }
}

}  // namespace zorv

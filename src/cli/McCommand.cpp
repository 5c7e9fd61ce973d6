#include "McCommand.h"

#include <cmath>
#include <cstdio>

#include "BatchCatalogue.h"
#include "BatchCatalogueCheck.h"
#include "BatchCatalogueFields.h"
#include "BatchError.h"
#include "BatchOptions.h"
#include "BatchOutput.h"
#include "hazard/CompletenessTable.h"
#include "interchange/CrsSidecar.h"
#include "text/NumberFormat.h"

namespace zorv {

// --bootstrap is one of the common options (the hazard bands read it too).
void addMcOptions(QCommandLineParser& p) {
    for (const char* name : {"bin", "method", "seed"}) {
        QCommandLineOption o(QString::fromLatin1(name));
        o.setValueName(QStringLiteral("x"));
        p.addOption(o);
    }
}

std::vector<McMethod> mcMethodsOption(const QCommandLineParser& p) {
    if (!p.isSet(QStringLiteral("method"))) return allMcMethods();
    std::vector<McMethod> methods;
    for (const QString& option : p.values(QStringLiteral("method"))) {
        for (const QString& part : option.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const std::string name = part.trimmed().toLower().toStdString();
            if (name == "all") return allMcMethods();
            const auto m = mcMethodOfName(name);
            if (!m)
                throw BatchError("Nieznana metoda w opcji --method: " + name +
                                 " (maxc, maxc+0.2, gof90, gof95, mbs, ks, ks-min, all)");
            methods.push_back(*m);
        }
    }
    if (methods.empty()) throw BatchError("Podaj metodę w opcji --method.");
    return methods;
}

McOptions mcOptionsOf(const QCommandLineParser& p) {
    McOptions o;
    if (p.isSet(QStringLiteral("bin"))) {
        o.binWidth = numberOption(p, "bin");
        checkRange(o.binWidth, 0.001, 1.0, "Szerokość przedziału --bin musi należeć do [0,001; 1].");
    }
    if (p.isSet(QStringLiteral("bootstrap")))
        o.bootstrapResamples = wholeOption(
            p, "bootstrap", 0, 100000, "Liczba prób --bootstrap musi być liczbą całkowitą od 0 do 100000.");
    if (p.isSet(QStringLiteral("seed")))
        o.seed = static_cast<std::uint64_t>(wholeOption(
            p, "seed", 0, 2000000000, "Ziarno --seed musi być liczbą całkowitą od 0 do 2000000000."));
    return o;
}

int runMc(const QCommandLineParser& p, const QStringList& args, const BatchSettings& settings) {
    if (args.size() != 2) throw BatchError("Podaj plik katalogu: zorv-batch mc [opcje] KATALOG.");
    const std::vector<McMethod> methods = mcMethodsOption(p);
    const McOptions options = mcOptionsOf(p);

    // The analysis reads the magnitudes (or the energies they come from) and
    // the dates of the period; it runs on the filtered catalogue itself, as
    // it only reads it. The structure check reads every field, so only a
    // run without it loads just these.
    JoinedFilter filter;
    std::unique_ptr<Table> catalogue;
    if (structureCheckWanted(p, settings)) {
        catalogue = openCheckedCatalogue(p, args[1].toStdString(), settings);
        filter = filterCatalogue(p, settings, *catalogue);
    } else {
        catalogue = openCatalogueFields(
            p, settings, args[1].toStdString(),
            {settings.prefs.Magnituda, settings.prefs.Energia, settings.prefs.Data}, filter);
    }
    AnalysisSettings analysisSettings = RefreshAnalysisSettings(
        settings.prefs, settings.base, true, static_cast<std::int32_t>(catalogue->physicalCount()),
        *settings.store, settings.locale);
    analysisSettings.CoordinateSystem = catalogueCrsText(args[1].toStdString());
    std::unique_ptr<CompletenessTable> analysis;
    try {
        analysis = std::make_unique<CompletenessTable>(analysisSettings, catalogue.get(), options, methods);
    } catch (const AnalysisError& e) {
        throw BatchError(e.what());
    }

    // The estimates as a tab-separated table on standard output; empty
    // fields where a method gives none.
    const Locale& loc = analysisSettings.UserLocale;
    const CompletenessResult& r = analysis->Result();
    std::fprintf(stderr, "n = %d, przedział = %s, próby bootstrap = %d\n", analysis->SampleSize(),
                 formatGeneral(options.binWidth, loc).c_str(), r.resamples);
    const auto number = [&loc](double v, const char* mask) {
        return std::isnan(v) ? std::string() : formatMask(v, mask, loc);
    };
    // b and sigma_b: Aki–Utsu with the Shi–Bolt error; b_TM and sigma_b_TM:
    // the exact estimate of binned magnitudes (Tinti and Mulargia 1987).
    std::printf("Metoda\tMc\tOdch_std\tb\tsigma_b\tn\tUdane_proby\tb_TM\tsigma_b_TM\n");
    for (const McEstimate& e : r.estimates) {
        const bool fitted = e.mc && !std::isnan(e.fit.b);
        std::printf("%s\t%s\t%s\t%s\t%s\t%s\t%d\t%s\t%s\n", mcMethodName(e.method),
                    e.mc ? formatMask(*e.mc, "0.00", loc).c_str() : "",
                    number(e.mc ? e.sigma : NAN, "0.000").c_str(),
                    fitted ? formatMask(e.fit.b, "0.000", loc).c_str() : "",
                    fitted ? formatMask(e.fit.sigma, "0.000", loc).c_str() : "",
                    fitted ? std::to_string(e.fit.events).c_str() : "", e.resamplesWithEstimate,
                    number(e.mc ? e.fit.bTintiMulargia : NAN, "0.000").c_str(),
                    number(e.mc ? e.fit.sigmaTintiMulargia : NAN, "0.000").c_str());
    }
    if (p.isSet(QStringLiteral("table"))) writeResultTable(p, *analysis);
    writeReport(p, *analysis);
    if (!filter.description.empty()) std::fprintf(stderr, "Filtr: %s\n", filter.description.c_str());
    return 0;
}

}  // namespace zorv

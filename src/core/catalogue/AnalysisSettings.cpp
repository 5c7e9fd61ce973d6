#include "catalogue/AnalysisSettings.h"

namespace zorv {

double epsilonOfPosition(int position) {
    switch (position) {
        case 0: return 1e-3;
        case 1: return 1e-4;
        case 2: return 1e-5;
        case 3: return 1e-6;
        default: return 1e-5;
    }
}

AnalysisSettings RefreshAnalysisSettings(const Preferences& p, const BaseProperties& base,
                                         bool basePropertiesSet, std::int32_t recordCount,
                                         const SettingsStore& store, const Locale& locale) {
    AnalysisSettings s;
    try {
        s.FilePrefix = store.readString("Application", "FilePrefix");
    } catch (const SettingsError&) {
        s.FilePrefix = "temp";
    }
    s.EnergyChar = p.EnergiaChar;
    s.EnergyField = p.Energia;
    s.DepartmentField = p.Oddzial;
    s.MagnitudeField = p.Magnituda;
    s.DateField = p.Data;
    s.a = basePropertiesSet ? base.a : p.a;
    s.b = basePropertiesSet ? base.b : p.b;
    s.ReportFontName = p.ReportFontName;
    s.MainTitle = p.MainTitle;
    s.OutputDir = p.ExportImportDirectory;
    if (s.OutputDir.empty() || s.OutputDir.back() != '/') s.OutputDir += '/';
    s.EnergyMask = p.EnergyMask;
    s.ProbabilityMask = p.ProbabilityMask;
    s.ZoneSeparator = p.Slash;
    s.TableExtension = ".dbf";
    s.ZonePrefix = p.Prefix;
    s.XField = p.X;
    s.YField = p.Y;
    s.RecordCount = recordCount;
    s.MagnitudeOnly = p.onlyMagnitude;
    s.PrintMarkup = false;
    s.Epsilon = epsilonOfPosition(p.Epsilon);
    s.Iterations = p.Iterations;
    s.IntegralIterations = p.IntegralIterations;
    s.MMin = base.MMin;
    s.MMaxLimit = 10.0;
    s.H = p.H;
    s.UseRTMI = p.RTMI;
    s.UseRTNI = p.RTNI;
    s.RTNIStart = p.RTNIStart;
    s.RTMIStart = p.RTMIStart;
    s.RTMIEnd = p.RTMIEnd;
    s.MinSampleSize = 30;
    s.WithProgress = true;
    s.UserLocale = locale;
    return s;
}

}  // namespace zorv

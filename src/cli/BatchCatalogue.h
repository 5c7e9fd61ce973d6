#pragma once
// What zorv-batch reads before an analysis: the settings, the catalogue file
// and the selection options turned into the catalogue's filter.

#include <QCommandLineParser>
#include <memory>
#include <string>

#include "QtSettingsStore.h"
#include "catalogue/AnalysisSettings.h"
#include "catalogue/FilterBuilder.h"
#include "catalogue/Preferences.h"
#include "table/Table.h"

namespace zorv {

struct BatchSettings {
    std::unique_ptr<QtSettingsStore> store;
    Preferences prefs;
    BaseProperties base;  // the preferences' relation, or --a, --b, --mmin
    Locale locale;        // of --locale, comma decimals by default
};

// The user's settings, or those of the --settings file, read only: defaults
// when there are none, and with a warning when they do not read.
BatchSettings readBatchSettings(const QCommandLineParser& p);

// The catalogue file, read only, with the locale of its filter literals.
std::unique_ptr<Table> openCatalogue(const std::string& path, const Locale& locale);

// Filters the catalogue by the selection options (--zone, --department,
// --from, --to, --located, --where, --or) and returns the filter.
JoinedFilter filterCatalogue(const QCommandLineParser& p, const BatchSettings& settings, Table& catalogue);

}  // namespace zorv

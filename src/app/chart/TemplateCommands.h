#pragma once
// The chart commands on templates: the default template of a new chart
// window, "Zapisz wykres jako szablon" and "Odczytaj szablon wykresu".

#include <QString>
#include <string>

namespace zorv {

class AnalysisChart;
class UserDialogs;

// The default template of a new chart window: `fileName` empty applies
// nothing; a file that cannot be read shows its message.
void applyDefaultTemplate(AnalysisChart& window, const std::string& fileName, UserDialogs& dialogs);

// "Zapisz wykres jako szablon" and "Odczytaj szablon wykresu".
void saveTemplateCommand(AnalysisChart& window, UserDialogs& dialogs, const QString& workDir);
void loadTemplateCommand(AnalysisChart& window, UserDialogs& dialogs, const QString& databaseDir);

}  // namespace zorv

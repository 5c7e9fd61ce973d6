#include "analysis/DBDialogs.h"

#include "base/HazardError.h"
#include "files/TableFiles.h"
#include "report/ReportWriter.h"
#include "table/TableError.h"
#include "text/LineFile.h"

namespace zorv {

DBDialogs::DBDialogs(const AnalysisSettings& settings, Table* dataset, Progress* progress)
    : Database(settings, dataset), progressWindow(progress) {}

void DBDialogs::StartProgress(const std::string& caption, int minimum, int maximum) {
    if (!progressWindow) return;
    progressStarted = true;
    progressWindow->start(caption, minimum, maximum);
}

void DBDialogs::SetProgressRange(int minimum, int maximum) {
    if (progressStarted) progressWindow->setRange(minimum, maximum);
}

void DBDialogs::SetProgressPosition(int position) {
    if (progressStarted) progressWindow->setPosition(position);
}

void DBDialogs::HideProgress() {
    if (progressStarted) progressWindow->hide();
}

bool DBDialogs::IsCancelled() const { return progressStarted && progressWindow->isCancelled(); }

void DBDialogs::CheckCancel() const {
    if (IsCancelled()) throw EBreakProcess();
}

Table& DBDialogs::CreateResultTable(const FieldDefs& fields, const std::vector<std::string>& energyFields) {
    FieldDefs all;
    all.reserve(fields.size() + 1);
    all.emplace_back("Numer", FieldType::AutoInc);
    all.insert(all.end(), fields.begin(), fields.end());
    resultTable = std::make_unique<Table>(all);
    resultTable->setName(settings_.OutputDir + settings_.FilePrefix + std::to_string(analysisCount()) +
                         settings_.TableExtension);
    for (const std::string& name : energyFields) {
        const int f = resultTable->fieldIndex(name);
        if (f >= 0) resultTable->setDisplayFormat(f, settings_.EnergyMask);
    }
    return *resultTable;
}

}  // namespace zorv

namespace zorv {

bool DBDialogs::WriteTableText(ReportLines& lines) {
    if (!resultTable) return false;
    WriteTableHeader(*this, lines, *resultTable);
    WriteTableRows(*this, lines, *resultTable);
    return true;
}

bool DBDialogs::SaveTableAsText(const std::string& fileName, const std::string& separatorText) {
    if (!resultTable) return false;
    separator = separatorText;
    ReportLines lines;
    WriteTableText(lines);
    writeLines(fileName, lines);
    return true;
}

bool DBDialogs::CopyToFile(const std::string& fileName, std::string* message) {
    try {
        if (!resultTable) throw TableError("Brak tabeli wyników");
        writeTableFile(*resultTable, fileName);
        if (message)
            *message = "Pomyślnie skopiowano " + std::to_string(resultTable->recordCount()) +
                       " rekordów do pliku " + fileName;
        return true;
    } catch (const std::exception& e) {
        // The cause (the engine's text) follows, so that the user can act on it.
        if (message)
            *message = "Skopiowanie bazy danych do pliku " + fileName + " nie powiodło się... " + e.what();
        return false;
    }
}

}  // namespace zorv

#include "analysis/DBBase.h"

#include "files/TableFiles.h"
#include "report/ReportWriter.h"
#include "text/LineFile.h"

namespace zorv {

DBBase::DBBase(const AnalysisSettings& settings, Table* table) : Database(settings, table) {
    // A table without a date field still exports with TAB between columns.
    separator = "\t";
}

bool DBBase::CopyToFile(const std::string& fileName, std::string* message) {
    if (message) message->clear();
    if (!dataset_) return false;
    try {
        writeTableFile(*dataset_, fileName);
        return true;
    } catch (const std::exception& e) {
        if (message) *message = e.what();
        return false;
    }
}

bool DBBase::SaveTableAsText(const std::string& fileName, const std::string& separatorText) {
    if (!dataset_) return false;
    separator = separatorText;
    ReportLines lines;
    WriteTableHeader(*this, lines, *dataset_);
    WriteTableRows(*this, lines, *dataset_);
    writeLines(fileName, lines);
    return true;
}

bool DBBase::WriteReport(ReportLines& lines) {
    WriteReportOpening(*this, lines, "Baza danych");
    lines.push_back(ReportMarker(*this, "<p>"));
    if (dataset_) {
        WriteTableHeader(*this, lines, *dataset_);
        WriteTableRows(*this, lines, *dataset_);
    }
    return true;
}

bool DBBase::WriteTableText(ReportLines& lines) {
    if (!dataset_) return false;
    WriteTableHeader(*this, lines, *dataset_);
    return true;
}

std::unique_ptr<Table> CopyCatalogueForAnalysis(const Table& source, const AnalysisSettings& settings,
                                                int& copyCounter) {
    auto copy = std::make_unique<Table>(source.copyView());
    copy->setName(settings.OutputDir + "dbcopy" + std::to_string(copyCounter) + settings.TableExtension);
    copy->setLocale(settings.UserLocale);
    ++copyCounter;
    return copy;
}

}  // namespace zorv

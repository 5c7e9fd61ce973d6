#pragma once
// The catalogue (or any table) itself as an analysis: its result table is the
// dataset, for saving and exporting whole tables.

#include <memory>

#include "analysis/Database.h"

namespace zorv {

class DBBase : public Database {
public:
    DBBase(const AnalysisSettings& settings, Table* table);

    Table* GetTable() override { return dataset_; }
    // Copies the records the table presents, silently on success; a failure
    // leaves its cause in `message`.
    bool CopyToFile(const std::string& fileName, std::string* message) override;
    bool SaveTableAsText(const std::string& fileName, const std::string& separator) override;
    // The report "Baza danych": the common opening and the table.
    bool WriteReport(ReportLines& lines) override;
    // The header line only.
    bool WriteTableText(ReportLines& lines) override;
};

// The frozen sample of an analysis: the records the source presents, in its
// order, in a new in-memory table named OutputDir + "dbcopy" + counter +
// TableExtension. The counter starts at 1 and grows with every copy.
std::unique_ptr<Table> CopyCatalogueForAnalysis(const Table& source, const AnalysisSettings& settings,
                                                int& copyCounter);

}  // namespace zorv

#pragma once
// An analysis that owns its result table and reports its progress. A null
// progress means none is shown, nothing can be cancelled and nothing is
// asked.

#include <memory>
#include <string>
#include <vector>

#include "analysis/Database.h"
#include "base/Progress.h"

namespace zorv {

class DBDialogs : public Database {
public:
    DBDialogs(const AnalysisSettings& settings, Table* dataset, Progress* progress);

    Table* GetTable() override { return resultTable.get(); }
    bool CopyToFile(const std::string& fileName, std::string* message) override;
    bool SaveTableAsText(const std::string& fileName, const std::string& separator) override;
    // The header line and every row of the result table.
    bool WriteTableText(ReportLines& lines) override;

    void StartProgress(const std::string& caption, int minimum, int maximum);
    void SetProgressRange(int minimum, int maximum);
    void SetProgressPosition(int position);
    void HideProgress();
    bool IsCancelled() const;
    // Raises EBreakProcess when the user asked to stop.
    void CheckCancel() const;

protected:
    // Creates the result table in memory, named OutputDir + FilePrefix +
    // analysis number + TableExtension, with "Numer" (auto-increment) first;
    // the fields named in `energyFields` show values with EnergyMask.
    Table& CreateResultTable(const FieldDefs& fields, const std::vector<std::string>& energyFields = {});

    std::unique_ptr<Table> resultTable;
    Progress* progressWindow;
    bool progressStarted = false;
};

}  // namespace zorv

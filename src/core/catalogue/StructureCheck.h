#pragma once
// The structure check of a catalogue before it is accepted: the table must
// open, the fields of the roles must exist with their types, and every
// record must have a readable date in time order, integer co-ordinates and a
// positive energy. The check writes a text report and a list of faulty
// records, from which the user can look at a record and delete it; deleting
// reaches the file through the table's store.

#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/AnalysisSettings.h"
#include "table/FieldType.h"
#include "table/Table.h"

namespace zorv {

class Progress;

enum class CheckStage { Opening, FieldExistence, FieldFormat, RecordStructure };
enum class StageState { Waiting, InProgress, Failed, Passed };

struct FieldRequirement {
    std::string fieldName;
    std::string label;
    FieldType requiredType = FieldType::Unknown;
    bool exists = false;
    bool typeCorrect = false;
};

// One line of the error list taken apart: "[12] Konwersja daty niemożliwa."
struct CheckErrorLine {
    std::size_t recordNumber = 0;  // 0: the line names no record
    std::string message;
};
CheckErrorLine parseCheckErrorLine(std::string_view line);

// The scan stops once more errors than this were found.
inline constexpr int kMaxCheckErrors = 100;

extern const char* const kCheckFailedMessage;                  // the opening refused after a failed check
extern const char* const kTooManyErrorsMessage;                // more than kMaxCheckErrors errors
extern const char* const kDeleteRecordQuestion;                // "Usunąć bieżący rekord ?"
extern const char* const kDeleteRecordTitle;                   // "Usuwanie rekordu"
extern const char* const kCheckReportSeparator;                // 74 minus signs
std::string badCatalogueMessage(std::string_view engineText);  // an opening that raised an error

class StructureCheck {
public:
    // Opens a table file; the default is openTableFile(path, true), so that
    // the repair can delete records in the file.
    using Opener = std::function<std::unique_ptr<Table>(const std::string& path)>;

    StructureCheck(AnalysisSettings settings, std::string path);

    // Called whenever an indicator changes.
    void setStageObserver(std::function<void(CheckStage, StageState)> observer);
    // Receives the scan's progress; may be null.
    void setProgress(Progress* progress) { progress_ = progress; }

    // The three stages in order, each only when the previous one passed.
    bool run(const Opener& open = {});

    bool openStage(const Opener& open = {});
    bool fieldStage();
    bool recordScan();

    bool checkPassed() const { return passed_; }
    int errorCount() const { return errorCount_; }
    bool tooManyErrors() const { return errorCount_ > kMaxCheckErrors; }
    // "Napraw bazę" is offered after a failure or too many errors.
    bool repairOffered() const { return !passed_ || tooManyErrors(); }
    bool energyExists() const { return energyExists_; }
    bool magnitudeExists() const { return magnitudeExists_; }
    StageState stage(CheckStage s) const { return stages_[static_cast<std::size_t>(s)]; }

    const std::vector<std::string>& report() const { return report_; }
    // Why the check stopped before the records were scanned: the engine's
    // text of a file that did not open, or the required fields that are
    // missing. Empty when the scan was reached.
    const std::string& failureMessage() const { return failure_; }
    const std::vector<std::string>& errorLines() const { return errorLines_; }
    const std::vector<std::size_t>& faultyRecords() const { return faultyRecords_; }
    const std::vector<FieldRequirement>& requirements() const { return requirements_; }

    // The table under test (null until it opened); the caller may take it
    // over as the working catalogue.
    Table* table() const { return table_.get(); }
    std::unique_ptr<Table> takeTable() { return std::move(table_); }

    // The repair view: moves to a record (first, then forward by n − 1) and
    // deletes the current record, in the file too.
    void gotoRecord(std::size_t recordNumber);
    void deleteCurrentRecord();

private:
    void setStage(CheckStage s, StageState state);
    void line(std::string text) { report_.push_back(std::move(text)); }
    void recordError(std::size_t recordNumber, const std::string& message);

    AnalysisSettings settings_;
    std::string path_;
    std::function<void(CheckStage, StageState)> observer_;
    Progress* progress_ = nullptr;
    std::unique_ptr<Table> table_;

    std::array<StageState, 4> stages_{};
    std::vector<FieldRequirement> requirements_;
    bool energyExists_ = false;
    bool magnitudeExists_ = false;
    bool passed_ = false;
    int errorCount_ = 0;
    std::vector<std::string> report_;
    std::string failure_;
    std::vector<std::string> errorLines_;
    std::vector<std::size_t> faultyRecords_;
};

}  // namespace zorv

#include "catalogue/StructureCheck.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

#include "base/Progress.h"
#include "catalogue/FieldRoles.h"
#include "files/TableFiles.h"
#include "table/TableError.h"
#include "text/DateText.h"
#include "text/Dates.h"
#include "text/NumberFormat.h"

namespace zorv {

const char* const kCheckFailedMessage =
    "Program testujący wykrył błędy w strukturze bazy. Baza nie zostanie otworzona.";
const char* const kTooManyErrorsMessage =
    "Bardzo duża liczba błędów! Prawdopodobnie jest to błąd systematyczny.";
const char* const kDeleteRecordQuestion = "Usunąć bieżący rekord ?";
const char* const kDeleteRecordTitle = "Usuwanie rekordu";
const char* const kCheckReportSeparator =
    "--------------------------------------------------------------------------";

std::string badCatalogueMessage(std::string_view engineText) {
    return "Niewłasciwy format bazy lub baza uszkodzona [ " + std::string(engineText) + " ].";
}

CheckErrorLine parseCheckErrorLine(std::string_view line) {
    CheckErrorLine out;
    const auto open = line.find('[');
    const auto close = line.find(']');
    if (open == std::string_view::npos || close == std::string_view::npos || close < open) return out;
    const std::string_view digits = line.substr(open + 1, close - open - 1);
    std::size_t n = 0;
    const auto r = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    if (r.ec == std::errc{} && r.ptr == digits.data() + digits.size()) out.recordNumber = n;
    const auto text = line.find("] ");
    if (text != std::string_view::npos) out.message = std::string(line.substr(text + 2));
    return out;
}

namespace {

// Reading one role of a record the way the engine's typed accessors read it:
// a number field reads as its number (null as 0), a text field is parsed, a
// field of any other type cannot be read as that kind.
std::optional<double> readNumber(const Column& c, std::size_t row, const Locale& locale) {
    switch (c.storage()) {
        case StorageKind::Int32:
        case StorageKind::Int64:
        case StorageKind::Double:
            if (c.type() == FieldType::Date || c.type() == FieldType::DateTime ||
                c.type() == FieldType::Time || c.type() == FieldType::Boolean)
                return std::nullopt;
            return c.numberAt(row);
        case StorageKind::Text: return parseNumber(c.textAt(row), locale);
        case StorageKind::None: break;
    }
    return std::nullopt;
}

std::optional<std::int32_t> readInteger(const Column& c, std::size_t row, const Locale& locale) {
    if (c.storage() == StorageKind::Text) {
        const std::string& s = c.textAt(row);
        std::int32_t v = 0;
        const char* b = s.data();
        const char* e = b + s.size();
        while (b < e && *b == ' ') ++b;
        while (e > b && e[-1] == ' ') --e;
        const auto r = std::from_chars(b, e, v);
        if (b == e || r.ec != std::errc{} || r.ptr != e) return std::nullopt;
        return v;
    }
    const std::optional<double> d = readNumber(c, row, locale);
    if (!d || !std::isfinite(*d)) return std::nullopt;
    const double r = std::round(*d);
    if (r < std::numeric_limits<std::int32_t>::min() || r > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(r);
}

std::optional<std::int32_t> readDay(const Column& c, std::size_t row, const Locale& locale) {
    // A record without a date has no place in time: it cannot be ordered.
    if (c.isNull(row)) return std::nullopt;
    switch (c.type()) {
        case FieldType::Date: return c.int32s()[row];
        case FieldType::DateTime: return wholeDays(c.doubles()[row]);
        case FieldType::String:
        case FieldType::Memo: return parseDate(c.textAt(row), locale);
        default: break;
    }
    return std::nullopt;
}

}  // namespace

StructureCheck::StructureCheck(AnalysisSettings settings, std::string path)
    : settings_(std::move(settings)), path_(std::move(path)) {
    stages_.fill(StageState::Waiting);
}

void StructureCheck::setStageObserver(std::function<void(CheckStage, StageState)> observer) {
    observer_ = std::move(observer);
}

void StructureCheck::setStage(CheckStage s, StageState state) {
    stages_[static_cast<std::size_t>(s)] = state;
    if (observer_) observer_(s, state);
}

bool StructureCheck::run(const Opener& open) {
    passed_ = false;
    failure_.clear();
    if (!openStage(open)) return false;
    if (!fieldStage()) return false;
    return recordScan();
}

bool StructureCheck::openStage(const Opener& open) {
    setStage(CheckStage::Opening, StageState::InProgress);
    if (progress_) progress_->start("", 0, 100);
    line("Próba otwarcia pliku bazy danych:");
    line(kCheckReportSeparator);
    line("");
    line(path_);
    try {
        table_ = open ? open(path_) : openTableFile(path_, true);
        if (!table_) throw TableError("Nie można otworzyć pliku " + path_);
        table_->setLocale(settings_.UserLocale);
        table_->setCaseInsensitiveFilter(true);
        if (progress_) progress_->setPosition(100);
        line("Próba zakończona pozytywnie...");
        line("");
        setStage(CheckStage::Opening, StageState::Passed);
        return true;
    } catch (const TableError& e) {
        setStage(CheckStage::Opening, StageState::Failed);
        line("Problem z otwarciem bazy danych...");
        line("Interfejs BDE zwrócił następujący błąd:");
        line(e.what());
        line("");
        failure_ = e.what();
    } catch (const std::exception& e) {
        setStage(CheckStage::Opening, StageState::Failed);
        line("Przy testowaniu programu nastąpił nieoczekiwany wyjątek:");
        line(e.what());
        line("");
        failure_ = e.what();
    }
    table_.reset();
    passed_ = false;
    return false;
}

bool StructureCheck::fieldStage() {
    setStage(CheckStage::FieldExistence, StageState::InProgress);
    setStage(CheckStage::FieldFormat, StageState::InProgress);
    line("Weryfikacja istnienia i formatu pól bazy danych");
    line(kCheckReportSeparator);
    line("");
    try {
        if (!table_) throw std::runtime_error("Tabela nie jest otwarta");
        const std::pair<FieldRole, const std::string*> roles[] = {
            {FieldRole::Zone, &settings_.DepartmentField},
            {FieldRole::Date, &settings_.DateField},
            {FieldRole::X, &settings_.XField},
            {FieldRole::Y, &settings_.YField},
            {FieldRole::Energy, &settings_.EnergyField},
            {FieldRole::Magnitude, &settings_.MagnitudeField}};
        requirements_.clear();
        for (const auto& [role, name] : roles) {
            const FieldRoleInfo& info = fieldRoleInfo(role);
            requirements_.push_back({*name, info.checkLabel, info.requiredType});
        }
        if (progress_) progress_->start("", 0, static_cast<int>(requirements_.size()));
        bool allExist = true;
        bool allTypesCorrect = true;
        int done = 0;
        for (FieldRequirement& r : requirements_) {
            const std::string head = r.label + " [" + r.fieldName + "]";
            const int f = table_->fieldIndex(r.fieldName);
            if (f < 0) {
                allExist = allTypesCorrect = false;
                line(head + " Pole nie istnieje!");
            } else {
                r.exists = true;
                const FieldType actual = table_->field(f).type;
                if (actual == r.requiredType) {
                    r.typeCorrect = true;
                    line(head + " Pole istnieje Poprawna struktura pola (" + fieldTypeCheckName(actual) +
                         ")");
                } else {
                    allTypesCorrect = false;
                    line(head + " Pole istnieje Błędna struktura pola ");
                    line(std::string("   Jest: ") + fieldTypeCheckName(actual));
                    line(std::string("   Powinno być: ") + fieldTypeCheckName(r.requiredType));
                }
            }
            line("");
            if (progress_) progress_->setPosition(++done);
        }
        line("");
        if (!allExist) line("Baza nie posiada wszystkich pól danych...");
        if (!allTypesCorrect) line("Baza może posiadać pola z nieprawidłowym formatem danych...");
        energyExists_ = requirements_[4].exists;
        magnitudeExists_ = requirements_[5].exists;
        bool firstFourExist = true;
        for (int i = 0; i < 4; ++i) firstFourExist = firstFourExist && requirements_[std::size_t(i)].exists;
        // A wrong type alone is only a warning: the scan reads values by kind.
        setStage(CheckStage::FieldFormat, allTypesCorrect ? StageState::Passed : StageState::Failed);
        if (firstFourExist && (energyExists_ || magnitudeExists_)) {
            setStage(CheckStage::FieldExistence, StageState::Passed);
            return true;
        }
        setStage(CheckStage::FieldExistence, StageState::Failed);
        line("Nie istnieją wymagane przez program pola danych:");
        std::string missing;
        const auto name = [&](const FieldRequirement& r) {
            if (!missing.empty()) missing += ", ";
            missing += r.label + " [" + r.fieldName + "]";
        };
        for (int i = 0; i < 4; ++i) {
            const FieldRequirement& r = requirements_[std::size_t(i)];
            if (!r.exists) {
                line(r.label + " [" + r.fieldName + "] ");
                name(r);
            }
        }
        if (!energyExists_ && !magnitudeExists_) {
            line(requirements_[4].label + " [" + requirements_[4].fieldName + "] bądź ");
            line(requirements_[5].label + " [" + requirements_[5].fieldName + "] ");
            name(requirements_[4]);
            missing += " bądź " + requirements_[5].label + " [" + requirements_[5].fieldName + "]";
        }
        line("Baza NIE MOŻE zostać otwarta");
        failure_ =
            "Nie istnieją wymagane przez program pola danych: " + missing + ". Baza NIE MOŻE zostać otwarta.";
    } catch (const std::exception& e) {
        setStage(CheckStage::FieldExistence, StageState::Failed);
        line("Przy testowaniu programu nastąpił nieoczekiwany wyjątek:");
        line(e.what());
        line("");
        failure_ = e.what();
    }
    passed_ = false;
    return false;
}

void StructureCheck::recordError(std::size_t recordNumber, const std::string& message) {
    passed_ = false;
    ++errorCount_;
    std::string text = "[" + std::to_string(recordNumber) + "] " + message;
    line(text);
    errorLines_.push_back(std::move(text));
    faultyRecords_.push_back(recordNumber);
}

bool StructureCheck::recordScan() {
    line("");
    line("Rozpoczęcie przeszukiwania rekordów");
    setStage(CheckStage::RecordStructure, StageState::InProgress);
    if (!table_) {
        setStage(CheckStage::RecordStructure, StageState::Failed);
        passed_ = false;
        return false;
    }
    Table& t = *table_;
    const std::size_t count = t.recordCount();
    if (progress_) progress_->start("", 0, static_cast<int>(count));
    passed_ = true;
    errorCount_ = 0;
    errorLines_.clear();
    faultyRecords_.clear();
    const Locale& locale = settings_.UserLocale;
    const Column& date = t.column(t.requireField(settings_.DateField));
    const Column& x = t.column(t.requireField(settings_.XField));
    const Column& y = t.column(t.requireField(settings_.YField));
    const Column* energy = energyExists_ ? &t.column(t.requireField(settings_.EnergyField)) : nullptr;
    const std::string xMessage =
        "Nie jest możliwe przekorwertowanie pola " + settings_.XField + " na liczbę całkowitą.";
    const std::string yMessage =
        "Nie jest możliwe przekorwertowanie pola " + settings_.YField + " na liczbę całkowitą.";
    const std::string energyMessage =
        "Nie jest możliwe przekorwertowanie pola " + settings_.EnergyField + " na liczbę zmiennoprzecinkową.";

    std::int32_t previous = 0;
    if (count > 0) previous = readDay(date, t.rowOfRecord(0), locale).value_or(0);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t recNo = i + 1;
        if (progress_ && (i & 0xFFF) == 0) progress_->setPosition(static_cast<int>(recNo));
        const std::size_t row = t.rowOfRecord(i);
        const std::optional<std::int32_t> day = readDay(date, row, locale);
        if (day && *day < previous) recordError(recNo, "Rekordy nie są posortowane względem czasu.");
        if (!day) recordError(recNo, "Konwersja daty niemożliwa.");
        if (!readInteger(x, row, locale)) recordError(recNo, xMessage);
        if (!readInteger(y, row, locale)) recordError(recNo, yMessage);
        if (energy) {
            const std::optional<double> e = readNumber(*energy, row, locale);
            if (!e)
                recordError(recNo, energyMessage);
            else if (!(*e > 0.0))
                recordError(recNo, "Wartość energii zjawiska jest ujemna lub równa zero.");
        }
        if (errorCount_ > kMaxCheckErrors) break;
        if (day) previous = *day;
    }
    if (progress_) progress_->setPosition(static_cast<int>(count));
    if (passed_) {
        setStage(CheckStage::RecordStructure, StageState::Passed);
        line("Przeszukano " + std::to_string(count) + " rekordów.");
        line("Brak błędów");
    } else {
        setStage(CheckStage::RecordStructure, StageState::Failed);
        line("Liczba błędów :" + std::to_string(errorCount_));
    }
    line("");
    if (!t.isEmpty()) t.first();
    return passed_;
}

void StructureCheck::gotoRecord(std::size_t recordNumber) {
    if (!table_ || table_->isEmpty() || recordNumber == 0) return;
    table_->first();
    table_->moveBy(static_cast<long long>(recordNumber) - 1);
}

void StructureCheck::deleteCurrentRecord() {
    if (!table_) throw TableError("Tabela nie jest otwarta");
    table_->deleteRecord();
}

}  // namespace zorv

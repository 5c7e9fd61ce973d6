// Writing a whole table as a dBase file; the field mapping is described in
// DbaseFile.h.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <ctime>
#include <optional>
#include <stdexcept>

#include "dbase/DbaseCodec.h"
#include "dbase/DbaseFile.h"
#include "dbase/DbaseHeader.h"
#include "table/TableError.h"
#include "text/AtomicFile.h"
#include "text/Cp1250.h"
#include "text/Dates.h"

namespace zorv {

namespace {

constexpr int kMaxTextWidth = 254;
constexpr int kNumberWidth = 20;
constexpr std::size_t kBufferBytes = std::size_t{1} << 20;

enum class How : std::uint8_t {
    Text,
    Int,
    Real,
    RealShortest,
    Date,
    Logical,
    Timestamp,
    DateTimeText,
    TimeText
};

struct Planned {
    int source = 0;  // table field
    How how = How::Text;
    bool msec = false;  // DateTimeText, TimeText: with milliseconds
};

// Letters of windows-1250 written without their marks in a field name.
char plainLetter(char32_t cp) {
    static constexpr std::pair<char32_t, char> kLetters[] = {
        {U'Ą', 'A'}, {U'Á', 'A'}, {U'Â', 'A'}, {U'Ă', 'A'}, {U'Ä', 'A'}, {U'Ć', 'C'}, {U'Č', 'C'},
        {U'Ç', 'C'}, {U'Ď', 'D'}, {U'Đ', 'D'}, {U'Ę', 'E'}, {U'É', 'E'}, {U'Ě', 'E'}, {U'Ë', 'E'},
        {U'Í', 'I'}, {U'Î', 'I'}, {U'Ł', 'L'}, {U'Ĺ', 'L'}, {U'Ľ', 'L'}, {U'Ń', 'N'}, {U'Ň', 'N'},
        {U'Ó', 'O'}, {U'Ô', 'O'}, {U'Ö', 'O'}, {U'Ő', 'O'}, {U'Ŕ', 'R'}, {U'Ř', 'R'}, {U'Ś', 'S'},
        {U'Š', 'S'}, {U'Ş', 'S'}, {U'Ť', 'T'}, {U'Ţ', 'T'}, {U'Ú', 'U'}, {U'Ů', 'U'}, {U'Ü', 'U'},
        {U'Ű', 'U'}, {U'Ý', 'Y'}, {U'Ź', 'Z'}, {U'Ż', 'Z'}, {U'Ž', 'Z'}, {U'ą', 'A'}, {U'á', 'A'},
        {U'â', 'A'}, {U'ă', 'A'}, {U'ä', 'A'}, {U'ć', 'C'}, {U'č', 'C'}, {U'ç', 'C'}, {U'ď', 'D'},
        {U'đ', 'D'}, {U'ę', 'E'}, {U'é', 'E'}, {U'ě', 'E'}, {U'ë', 'E'}, {U'í', 'I'}, {U'î', 'I'},
        {U'ł', 'L'}, {U'ĺ', 'L'}, {U'ľ', 'L'}, {U'ń', 'N'}, {U'ň', 'N'}, {U'ó', 'O'}, {U'ô', 'O'},
        {U'ö', 'O'}, {U'ő', 'O'}, {U'ŕ', 'R'}, {U'ř', 'R'}, {U'ś', 'S'}, {U'š', 'S'}, {U'ş', 'S'},
        {U'ť', 'T'}, {U'ţ', 'T'}, {U'ú', 'U'}, {U'ů', 'U'}, {U'ü', 'U'}, {U'ű', 'U'}, {U'ý', 'Y'},
        {U'ź', 'Z'}, {U'ż', 'Z'}, {U'ž', 'Z'},
    };
    for (const auto& [letter, plain] : kLetters)
        if (letter == cp) return plain;
    return '_';
}

std::string fileFieldName(const std::string& name, std::size_t maxLength) {
    std::string out;
    std::size_t i = 0;
    while (i < name.size() && out.size() < maxLength) {
        const char32_t cp = decodeUtf8(name, i);
        char c = '_';
        if (cp >= 'a' && cp <= 'z')
            c = static_cast<char>(cp - 'a' + 'A');
        else if ((cp >= 'A' && cp <= 'Z') || (cp >= '0' && cp <= '9') || cp == '_')
            c = static_cast<char>(cp);
        else if (cp >= 0x80)
            c = plainLetter(cp);
        out += c;
    }
    return out;
}

// Texts of a text column in windows-1250, each distinct text encoded once.
class EncodedTexts {
public:
    explicit EncodedTexts(const Column& c)
        : column_(c), texts_(c.dictionarySize()), done_(c.dictionarySize()) {}
    const std::string& at(std::size_t row) {
        const std::uint32_t id = column_.textIds()[row];
        if (!done_[id]) {
            texts_[id] = utf8ToCp1250(column_.dictionaryText(id));
            done_[id] = true;
        }
        return texts_[id];
    }

private:
    const Column& column_;
    std::vector<std::string> texts_;
    std::vector<bool> done_;
};

std::string dateTimeText(const DbaseField& f, double dateTime, bool time, bool msec) {
    const CivilDate c = civilDate(wholeDays(dateTime));
    const TimeOfDay t = timeOfDay(dateTime);
    char buf[48];
    int n;
    if (time) {
        n = std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.hour, t.minute, t.second);
    } else {
        if (c.year < 1 || c.year > 9999)
            throw TableError("Data spoza zakresu lat 1-9999 nie mieści się w polu " + describeDbaseField(f) +
                             " pliku dBase");
        n = std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", c.year, c.month, c.day, t.hour,
                          t.minute, t.second);
    }
    if (msec) n += std::snprintf(buf + n, sizeof buf - static_cast<std::size_t>(n), ".%03d", t.msec);
    return std::string(buf, static_cast<std::size_t>(n));
}

class Writer {
public:
    Writer(const Table& table, DbaseLevel level) : table_(table), level_(level) {
        rows_.reserve(table.recordCount());
        for (std::size_t i = 0; i < table.recordCount(); ++i)
            rows_.push_back(static_cast<std::uint32_t>(table.rowOfRecord(i)));
        for (int f = 0; f < table.fieldCount(); ++f)
            if (isTextType(table.field(f).type))
                texts_.emplace_back(table.column(f));
            else
                texts_.emplace_back(std::nullopt);
        plan();
    }

    void write(const std::string& path);

private:
    template <typename Fn>
    void forValues(int f, Fn fn) const {
        const Column& c = table_.column(f);
        for (const auto row : rows_)
            if (!c.isNull(row)) fn(row);
    }

    void plan();
    void planField(int f, DbaseField& out, Planned& p);
    void encodeRecord(std::uint32_t row, unsigned char* rec);

    const Table& table_;
    DbaseLevel level_;
    std::vector<std::uint32_t> rows_;
    std::vector<std::optional<EncodedTexts>> texts_;
    DbaseHeader header_;
    std::vector<Planned> planned_;
};

void Writer::planField(int f, DbaseField& out, Planned& p) {
    const FieldDef& def = table_.field(f);
    const Column& c = table_.column(f);
    const bool l7 = level_ == DbaseLevel::Level7;
    p.source = f;
    auto number = [&](int width, int decimals) {
        out.type = 'N';
        out.width = width;
        out.decimals = decimals;
    };
    auto assign = [&](char type, int width) {
        out.type = type;
        out.width = width;
    };
    auto intsWithin = [&](std::int64_t lo, std::int64_t hi) {
        bool within = true;
        forValues(f, [&](std::uint32_t row) {
            const std::int64_t v = c.storage() == StorageKind::Int64 ? c.int64s()[row] : c.int32s()[row];
            within = within && v >= lo && v <= hi;
        });
        return within;
    };
    switch (def.type) {
        case FieldType::String:
        case FieldType::Memo: {
            std::size_t longest = 0;
            forValues(f, [&](std::uint32_t row) {
                longest = std::max(longest, texts_[static_cast<std::size_t>(f)]->at(row).size());
            });
            if (longest > static_cast<std::size_t>(kMaxTextWidth))
                throw TableError("Tekst pola '" + def.name + "' ma " + std::to_string(longest) +
                                 " znaków, a pole znakowe pliku dBase mieści najwyżej 254");
            const std::size_t wanted = def.type == FieldType::String && def.size > 0
                                           ? static_cast<std::size_t>(def.size)
                                           : std::max<std::size_t>(longest, 1);
            out.type = 'C';
            out.width = static_cast<int>(std::min<std::size_t>(wanted, kMaxTextWidth));
            p.how = How::Text;
            return;
        }
        case FieldType::SmallInt:
            p.how = How::Int;
            if (l7)
                assign('I', 4);
            else
                number(intsWithin(-999, 9999) ? 4 : 6, 0);
            return;
        case FieldType::Word:
            p.how = How::Int;
            if (l7)
                assign('I', 4);
            else
                number(intsWithin(0, 9999) ? 4 : 5, 0);
            return;
        case FieldType::Integer:
        case FieldType::AutoInc:
            p.how = How::Int;
            if (!l7) {
                number(intsWithin(-99999999, 999999999) ? 9 : 11, 0);
            } else if (def.type == FieldType::Integer) {
                assign('I', 4);
            } else {
                assign('+', 4);
                std::int64_t next = 1;
                forValues(
                    f, [&](std::uint32_t row) { next = std::max(next, std::int64_t{c.int32s()[row]} + 1); });
                out.nextAutoInc = static_cast<std::uint32_t>(next);
            }
            return;
        case FieldType::LargeInt:
            p.how = How::Int;
            number(kNumberWidth, 0);
            return;
        case FieldType::Float: {
            if (l7) {
                assign('O', 8);
                p.how = How::Real;
                return;
            }
            // The fewest decimals that write every value exactly.
            std::size_t intChars = 1, decimals = 0;
            forValues(f, [&](std::uint32_t row) {
                const double v = c.doubles()[row];
                if (!std::isfinite(v)) return;
                char buf[400];
                const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
                const std::string_view s(buf, static_cast<std::size_t>(r.ptr - buf));
                const std::size_t dot = s.find('.');
                intChars = std::max(intChars, std::min(dot, s.size()));
                if (dot != std::string_view::npos) decimals = std::max(decimals, s.size() - dot - 1);
            });
            // At least one decimal, so that the field reads back as Float.
            decimals = std::max<std::size_t>(decimals, 1);
            if (intChars + 1 + decimals <= static_cast<std::size_t>(kNumberWidth)) {
                number(kNumberWidth, static_cast<int>(decimals));
                p.how = How::Real;
                return;
            }
            out.type = 'F';
            out.width = kNumberWidth;
            out.decimals = static_cast<int>(std::min<std::size_t>(decimals, kNumberWidth - 2));
            p.how = How::RealShortest;
            forValues(f, [&](std::uint32_t row) {
                const double v = c.doubles()[row];
                if (std::isfinite(v) &&
                    shortestDbaseNumber(v).size() > static_cast<std::size_t>(kNumberWidth))
                    throw TableError("Wartości " + shortestDbaseNumber(v) + " pola '" + def.name +
                                     "' nie da się zapisać w pliku dBase III bez utraty cyfr; zapisz tabelę "
                                     "w formacie dBase 7");
            });
            return;
        }
        case FieldType::Boolean:
            assign('L', 1);
            p.how = How::Logical;
            return;
        case FieldType::Date:
            assign('D', 8);
            p.how = How::Date;
            return;
        case FieldType::DateTime:
        case FieldType::Time: {
            if (l7) {
                assign('@', 8);
                p.how = How::Timestamp;
                return;
            }
            const bool time = def.type == FieldType::Time;
            forValues(f,
                      [&](std::uint32_t row) { p.msec = p.msec || timeOfDay(c.doubles()[row]).msec != 0; });
            out.type = 'C';
            out.width = (time ? 8 : 19) + (p.msec ? 4 : 0);
            p.how = time ? How::TimeText : How::DateTimeText;
            return;
        }
        case FieldType::Unknown: break;
    }
}

void Writer::plan() {
    const bool l7 = level_ == DbaseLevel::Level7;
    header_.level7 = l7;
    header_.version = l7 ? 0x04 : 0x03;
    header_.languageDriver = kDbaseLanguageCp1250;
    if (l7) header_.languageDriverName = std::string(kDbaseLanguageNameCp1250);
    header_.recordCount = static_cast<std::uint32_t>(rows_.size());
    std::size_t recordLength = 1;
    for (int f = 0; f < table_.fieldCount(); ++f) {
        // Fields the engine could not read hold only nulls.
        if (table_.field(f).type == FieldType::Unknown) continue;
        DbaseField out;
        Planned p;
        const std::string& name = table_.field(f).name;
        out.name = fileFieldName(name, l7 ? 31 : 10);
        if (out.name.empty()) throw TableError("Pole bez nazwy nie może być zapisane w pliku dBase");
        for (std::size_t k = 0; k < header_.fields.size(); ++k)
            if (header_.fields[k].name == out.name)
                throw TableError("Pola '" + table_.field(planned_[k].source).name + "' i '" + name +
                                 "' miałyby w pliku dBase tę samą nazwę '" + out.name + "'");
        planField(f, out, p);
        recordLength += static_cast<std::size_t>(out.width);
        header_.fields.push_back(std::move(out));
        planned_.push_back(p);
    }
    if (header_.fields.empty()) throw TableError("Tabela nie ma pól, które można zapisać w pliku dBase");
    if (recordLength > 65535) throw TableError("Rekord pliku dBase byłby dłuższy niż 65 535 bajtów");
    const std::size_t maxFields = l7 ? (65535 - 69) / 48 : (65535 - 33) / 32;
    if (header_.fields.size() > maxFields) throw TableError("Tabela ma za dużo pól dla pliku dBase");
}

void Writer::encodeRecord(std::uint32_t row, unsigned char* rec) {
    rec[0] = ' ';
    for (std::size_t k = 0; k < planned_.size(); ++k) {
        const Planned& p = planned_[k];
        const DbaseField& f = header_.fields[k];
        const Column& c = table_.column(p.source);
        unsigned char* out = rec + f.offset;
        if (c.isNull(row)) {
            encodeDbaseBlank(f, out);
            continue;
        }
        switch (p.how) {
            case How::Text:
                encodeDbaseText(f, texts_[static_cast<std::size_t>(p.source)]->at(row), out);
                break;
            case How::Int:
                encodeDbaseInteger(f, c.storage() == StorageKind::Int64 ? c.int64s()[row] : c.int32s()[row],
                                   out);
                break;
            case How::Real: encodeDbaseReal(f, c.doubles()[row], out); break;
            case How::RealShortest:
                if (std::isfinite(c.doubles()[row]))
                    encodeDbaseNumberText(f, shortestDbaseNumber(c.doubles()[row]), out);
                else
                    encodeDbaseBlank(f, out);
                break;
            case How::Date: encodeDbaseDate(f, c.int32s()[row], out); break;
            case How::Logical: out[0] = c.int32s()[row] != 0 ? 'T' : 'F'; break;
            case How::Timestamp: putDbaseTimestamp(c.doubles()[row], out); break;
            case How::DateTimeText:
            case How::TimeText:
                encodeDbaseText(f, dateTimeText(f, c.doubles()[row], p.how == How::TimeText, p.msec), out);
                break;
        }
    }
}

void Writer::write(const std::string& path) {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    ::localtime_r(&now, &tm);
    const std::string head = buildDbaseHeader(header_, tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
    const std::size_t recordLength = header_.recordLength;
    const std::size_t perBuffer = std::max<std::size_t>(1, kBufferBytes / recordLength);
    std::vector<unsigned char> buffer(std::min(perBuffer, std::max<std::size_t>(rows_.size(), 1)) *
                                      recordLength);
    try {
        AtomicFile file(path);
        file.write(head);
        for (std::size_t first = 0; first < rows_.size(); first += perBuffer) {
            const std::size_t n = std::min(perBuffer, rows_.size() - first);
            for (std::size_t i = 0; i < n; ++i)
                encodeRecord(rows_[first + i], buffer.data() + i * recordLength);
            file.write(buffer.data(), n * recordLength);
        }
        file.write("\x1A");
        file.commit();
    } catch (const TableError&) {
        throw;
    } catch (const std::runtime_error& e) {
        throw TableError(e.what());
    }
}

}  // namespace

void writeDbase(const Table& table, const std::string& path, DbaseLevel level) {
    Writer(table, level).write(path);
}

}  // namespace zorv

#include "interchange/CsvReader.h"

#include <algorithm>
#include <array>
#include <string>

#include "interchange/CatalogueDates.h"
#include "interchange/CellValues.h"
#include "interchange/TextImport.h"

namespace zorv {

namespace {

constexpr std::size_t kSniffBytes = 64 * 1024;
constexpr std::size_t kSniffRecords = 30;

std::string lineText(std::size_t line) { return "wiersz " + std::to_string(line); }

// Splits text into records of fields by RFC 4180, calling field(text) for
// every field and record(line) at the end of every record (line: where it
// started). Blank lines are no records. Returns false and sets `error` on a
// malformed quote unless `lenient` (then it just stops there).
class RecordParser {
public:
    RecordParser(std::string_view text, char separator) : t_(text), sep_(separator) {}

    template <class Field, class Record>
    bool run(Field&& field, Record&& record, std::size_t maxRecords, std::string* error) {
        std::size_t records = 0;
        const std::size_t n = t_.size();
        while (pos_ < n && records < maxRecords) {
            if (sep_ == ' ') skipBlanks();
            if (pos_ >= n) break;
            if (t_[pos_] == '\r' || t_[pos_] == '\n') {
                endOfLine();
                continue;
            }
            const std::size_t startLine = line_;
            for (;;) {
                if (sep_ == ' ') skipBlanks();
                if (pos_ < n && t_[pos_] == '"') {
                    if (!quoted(error, startLine)) return false;
                    field(std::string_view(scratch_));
                } else {
                    const std::size_t start = pos_;
                    while (pos_ < n && t_[pos_] != sep_ && t_[pos_] != '\n' && t_[pos_] != '\r') ++pos_;
                    field(trimBlanks(t_.substr(start, pos_ - start)));
                }
                if (sep_ == ' ') {
                    // A run of blanks is one separator.
                    skipBlanks();
                    if (pos_ >= n || t_[pos_] == '\r' || t_[pos_] == '\n') break;
                    continue;
                }
                if (pos_ >= n || t_[pos_] == '\r' || t_[pos_] == '\n') break;
                ++pos_;  // the separator
            }
            record(startLine);
            ++records;
            if (pos_ < n) endOfLine();
        }
        return true;
    }

private:
    void skipBlanks() {
        while (pos_ < t_.size() && t_[pos_] == ' ') ++pos_;
    }
    void endOfLine() {
        if (t_[pos_] == '\r' && pos_ + 1 < t_.size() && t_[pos_ + 1] == '\n') ++pos_;
        ++pos_;
        ++line_;
    }
    bool quoted(std::string* error, std::size_t startLine) {
        scratch_.clear();
        ++pos_;
        for (;;) {
            const std::size_t q = t_.find('"', pos_);
            if (q == std::string_view::npos) {
                if (error)
                    *error = "Niezamknięty cudzysłów w polu zaczętym w: " + lineText(startLine) +
                             ". Sprawdź, czy każde pole w cudzysłowie jest nim zamknięte.";
                return false;
            }
            const std::string_view part = t_.substr(pos_, q - pos_);
            line_ += static_cast<std::size_t>(std::count(part.begin(), part.end(), '\n'));
            scratch_.append(part);
            pos_ = q + 1;
            if (pos_ < t_.size() && t_[pos_] == '"') {
                scratch_ += '"';
                ++pos_;
                continue;
            }
            break;
        }
        std::size_t after = pos_;
        while (after < t_.size() && (t_[after] == ' ' || t_[after] == '\t') && t_[after] != sep_) ++after;
        if (after < t_.size() && t_[after] != sep_ && t_[after] != '\r' && t_[after] != '\n') {
            if (error)
                *error = "Tekst po zamykającym cudzysłowie (" + lineText(line_) +
                         "). Cudzysłów wewnątrz pola zapisuje się podwójnie (\"\").";
            return false;
        }
        pos_ = after;
        return true;
    }

    std::string_view t_;
    char sep_;
    std::size_t pos_ = 0;
    std::size_t line_ = 1;
    std::string scratch_;
};

// The field counts of the first records with this separator.
std::vector<std::size_t> fieldCounts(std::string_view text, char separator) {
    std::vector<std::size_t> counts;
    std::size_t fields = 0;
    RecordParser parser(text, separator);
    parser.run([&](std::string_view) { ++fields; },
               [&](std::size_t) {
                   counts.push_back(fields);
                   fields = 0;
               },
               kSniffRecords, nullptr);
    return counts;
}

// The sniffed part: whole lines of the first bytes.
std::string_view sniffed(std::string_view text) {
    if (text.size() <= kSniffBytes) return text;
    std::string_view head = text.substr(0, kSniffBytes);
    const auto end = head.find_last_of('\n');
    return end == std::string_view::npos ? head : head.substr(0, end + 1);
}

// A number or a date: what a data row holds and a header does not.
bool looksLikeValue(const std::string& cell) {
    return parseCellNumber(cell, false).has_value() || parseCellNumber(cell, true).has_value() ||
           dateFit(cell) != DateFit::None;
}

}  // namespace

const char* csvSeparatorName(char separator) {
    switch (separator) {
        case ',': return "przecinek";
        case ';': return "średnik";
        case '\t': return "tabulator";
        case '|': return "|";
        case ' ': return "spacja";
        default: break;
    }
    return "?";
}

char detectCsvSeparator(std::string_view text) {
    const std::string_view head = sniffed(text);
    char best = ',';
    std::size_t bestAgree = 0;
    for (const char sep : {'\t', ';', '|', ',', ' '}) {
        const auto counts = fieldCounts(head, sep);
        if (counts.empty() || counts.front() < 2) continue;
        // A separator at the end of the first line only (a header) or of
        // every line makes one more field; count widths alike within one.
        const std::size_t agree =
            static_cast<std::size_t>(std::count_if(counts.begin(), counts.end(), [&](std::size_t c) {
                return c + 1 >= counts.front() && c <= counts.front() + 1;
            }));
        if (agree == counts.size()) return sep;
        if (agree > bestAgree) {
            bestAgree = agree;
            best = sep;
        }
    }
    return best;
}

CsvRead readCsv(std::string_view bytes, const CsvOptions& options) {
    CsvRead out;
    CsvDialect& d = out.dialect;
    d.encoding = options.encoding ? *options.encoding : detectTextEncoding(bytes);
    const std::string text = decodeText(bytes, d.encoding);
    d.separator = options.separator ? *options.separator : detectCsvSeparator(text);

    // The first two records decide the header and the width.
    std::vector<std::vector<std::string>> firsts;
    {
        std::vector<std::string> record;
        RecordParser parser(text, d.separator);
        std::string error;
        parser.run([&](std::string_view f) { record.emplace_back(f); },
                   [&](std::size_t) { firsts.push_back(std::move(record)), record.clear(); }, 2, &error);
    }
    if (firsts.empty()) throw ImportError("Plik nie zawiera żadnego wiersza danych.");
    std::vector<std::string> first = firsts.front();
    bool trailing = first.size() > 1 && first.back().empty();
    if (trailing) first.pop_back();
    if (options.header) {
        d.header = *options.header;
    } else {
        // A header holds no number or date; the row after it (if any) does.
        const bool noNumber = std::none_of(first.begin(), first.end(), looksLikeValue);
        const bool nextHasNumber =
            firsts.size() < 2 || std::any_of(firsts[1].begin(), firsts[1].end(), looksLikeValue);
        d.header = noNumber && nextHasNumber;
    }
    std::vector<std::string> header = first;
    if (!d.header)
        for (std::size_t c = 0; c < header.size(); ++c) header[c] = "Pole" + std::to_string(c + 1);
    const std::size_t width = header.size();
    std::size_t extra = 0;
    out.rows = CatalogueRows(header);
    CatalogueRows& rows = out.rows;
    rows.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1, text.size());

    // The rows, every one as wide as the first.
    bool skipFirst = d.header;
    std::string error;
    RecordParser parser(text, d.separator);
    const bool ok = parser.run(
        [&](std::string_view f) {
            // Cells beyond one past the width are only counted; the row is
            // refused anyway.
            if (rows.openCells() <= width)
                rows.addCell(f);
            else
                ++extra;
        },
        [&](std::size_t line) {
            const std::size_t cells = rows.openCells() + extra;
            extra = 0;
            if (skipFirst) {
                skipFirst = false;
                rows.dropOpenRow();
                return;
            }
            // A separator closing the line, as in the first line, leaves an
            // empty field past the width.
            const bool closing = trailing && cells == width + 1 && rows.lastOpenCell().empty();
            if (cells != width && !closing)
                throw ImportError("Wiersz " + std::to_string(line) + " ma " + std::to_string(cells) +
                                  " pól, a pierwszy wiersz " + std::to_string(width) +
                                  " (separator: " + csvSeparatorName(d.separator) +
                                  "). Sprawdź ten wiersz: brakujące lub nadmiarowe pola albo pole z "
                                  "separatorem bez cudzysłowu.");
            if (closing) rows.dropLastCell();
            rows.endRow(line);
        },
        static_cast<std::size_t>(-1), &error);
    if (!ok) throw ImportError(error);

    if (options.decimalComma) {
        d.decimalComma = *options.decimalComma;
    } else if (d.separator != ',') {
        // The decimal mark of the numbers that have one.
        std::size_t commas = 0, points = 0;
        const std::size_t sampled = std::min<std::size_t>(rows.rowCount(), 1000);
        for (std::size_t r = 0; r < sampled; ++r)
            for (std::size_t c = 0; c < width; ++c) {
                const std::string_view cell = rows.cell(r, c);
                if (cell.find(',') != std::string_view::npos && parseCellNumber(cell, true))
                    ++commas;
                else if (cell.find('.') != std::string_view::npos && parseCellNumber(cell, false))
                    ++points;
            }
        d.decimalComma = commas > points;
    }
    return out;
}

}  // namespace zorv

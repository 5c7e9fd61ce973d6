#include "paradox/ParadoxFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <limits>

#include "paradox/BlockRecords.h"
#include "paradox/FileBytes.h"
#include "paradox/ParadoxLayout.h"
#include "paradox/PxDocument.h"
#include "table/TableError.h"
#include "table/TableStore.h"
#include "text/AtomicFile.h"
#include "text/Cp1250.h"
#include "text/FileLock.h"

namespace zorv {

using paradox::ParadoxLayout;
using paradox::PxDocument;
using paradox::PxField;
using paradox::PxType;

namespace {

constexpr int kBlockHead = 6;           // bytes before the records of a data block
constexpr unsigned kMaxBlocks = 65535;  // block numbers are 16-bit
constexpr std::size_t kMaxFieldName = 25;
constexpr std::size_t kMaxTableName = 78;  // pxlib writes the name without a length check

std::string quoted(const std::string& path) { return "\"" + path + "\""; }

[[noreturn]] void pxlibFailed(const std::string& path, const std::string& what, const std::string& detail) {
    throw FileFormatError("Tabela Paradox " + quoted(path) + " jest uszkodzona: " + what +
                          (detail.empty() ? std::string() : " (pxlib: " + detail + ")"));
}

struct Loaded {
    ParadoxLayout layout;
    Table table;
    std::string records;  // raw records, kept for rewriting an open file
};

Loaded loadBytes(std::span<char> bytes, const std::string& path, bool keepRecords) {
    Loaded out;
    out.layout = paradox::checkParadoxFile(bytes, path);
    const ParadoxLayout& L = out.layout;

    FieldDefs defs;
    for (const PxField& f : L.fields) {
        const FieldType type = paradox::fieldTypeOf(f.type);
        const bool sized = type == FieldType::String || type == FieldType::Memo || type == FieldType::Unknown;
        defs.emplace_back(cp1250ToUtf8(f.name), type, sized ? f.length : 0);
    }
    out.table = Table(std::move(defs));
    out.table.setName(path);

    PxDocument doc;
    if (!doc.openMemory(bytes.data(), bytes.size()))
        pxlibFailed(path, "nie można otworzyć tabeli", doc.error());
    if (!doc.agreesWith(L)) pxlibFailed(path, "pxlib odczytuje nagłówek inaczej", doc.error());
    const auto n = static_cast<std::size_t>(L.recordCount);
    const auto size = static_cast<std::size_t>(L.recordSize);
    for (std::size_t f = 0; f < L.fields.size(); ++f) out.table.loadColumn(static_cast<int>(f)).reserve(n);
    if (keepRecords) out.records.reserve(n * size);
    std::vector<char> record(size);
    paradox::BlockRecords records(std::string_view(bytes.data(), bytes.size()), L);
    for (std::size_t i = 0; i < n; ++i) {
        const char* stored = records.next();
        if (stored == nullptr)
            pxlibFailed(path, "nie można odczytać rekordu " + std::to_string(i + 1), std::string());
        // A copy: pxlib's field readers take writable bytes.
        std::memcpy(record.data(), stored, size);
        if (keepRecords) out.records.append(record.data(), size);
        std::size_t at = 0;
        for (std::size_t f = 0; f < L.fields.size(); ++f) {
            paradox::decodeField(doc, L.fields[f], record.data() + at,
                                 out.table.loadColumn(static_cast<int>(f)));
            at += static_cast<std::size_t>(L.fields[f].length);
        }
    }
    out.table.finishLoad();
    return out;
}

Loaded load(const std::string& path, bool keepRecords) {
    paradox::FileBytes file(path);
    return loadBytes(file.bytes(), path, keepRecords);
}

// ---------------------------------------------------------------- writing

using RecordFill = std::function<void(const PxDocument&, std::size_t, char*)>;

// Smallest standard block size that holds a record (bytes).
int blockSizeFor(int recordSize) {
    for (const int kib : {4, 16, 32})
        if (kib * 1024 - kBlockHead >= recordSize) return kib * 1024;
    return 0;
}

// Writes a table of `count` records, record i filled by `fill`, to `path`
// through AtomicFile (which keeps the permissions of a table rewritten in
// place and refuses a read-only one). With `lock`, the table's write lock:
// the new file is locked before it takes the name, so the lock never lapses.
void writeTableBytes(const std::string& path, PxDocument::Creation creation, std::size_t count,
                     const RecordFill& fill, FileLock* lock = nullptr) {
    int recordSize = 0;
    for (const PxField& f : creation.fields) recordSize += f.length;
    creation.blockSize = blockSizeFor(recordSize);
    if (creation.blockSize == 0)
        throw TableError("Rekord tabeli jest za długi dla formatu Paradox (" + std::to_string(recordSize) +
                         " B)");
    const std::size_t perBlock = static_cast<std::size_t>((creation.blockSize - kBlockHead) / recordSize);
    if (count > perBlock * kMaxBlocks)
        throw TableError("Tabela ma za dużo rekordów dla formatu Paradox (" + std::to_string(count) + ")");

    PxDocument doc;
    if (!doc.create(creation))
        throw TableError("Nie można utworzyć tabeli Paradox " + quoted(path) + " (pxlib: " + doc.error() +
                         ")");
    std::vector<char> record(static_cast<std::size_t>(recordSize));
    for (std::size_t i = 0; i < count; ++i) {
        fill(doc, i, record.data());
        if (!doc.appendRecord(record.data()))
            throw TableError("Błąd zapisu tabeli Paradox " + quoted(path) + " (pxlib: " + doc.error() + ")");
    }
    const std::string bytes = doc.finish();
    try {
        AtomicFile file(path);
        file.write(bytes);
        FileLock next;
        if (lock) next = FileLock(::dup(file.descriptor()));
        file.commit();
        if (lock && next.held()) *lock = std::move(next);
    } catch (const std::runtime_error& e) {
        throw TableError(e.what());
    }
}

std::string tableNameFor(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    std::string name = utf8ToCp1250(slash == std::string::npos ? path : path.substr(slash + 1));
    if (name.size() > kMaxTableName) name.resize(kMaxTableName);
    return name;
}

std::string upperAscii(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return s;
}

// Field descriptor for a column written from the table engine.
PxField pxFieldFor(const Table& table, int f) {
    const FieldDef& def = table.field(f);
    PxField out;
    out.name = utf8ToCp1250(def.name);
    switch (def.type) {
        case FieldType::String: {
            int width = def.size;
            if (width <= 0) {
                // No declared width: the longest text (characters; one byte each in windows-1250).
                const Column& c = table.column(f);
                for (std::size_t i = 0; i < table.recordCount(); ++i) {
                    const std::size_t row = table.rowOfRecord(i);
                    if (c.isNull(row)) continue;
                    const std::string& t = c.textAt(row);
                    int chars = 0;
                    for (const char ch : t)
                        if ((static_cast<unsigned char>(ch) & 0xC0) != 0x80) ++chars;
                    width = std::max(width, chars);
                }
            }
            out.type = PxType::Alpha;
            out.length = std::clamp(width, 1, 255);
            break;
        }
        case FieldType::SmallInt: out.type = PxType::Short, out.length = 2; break;
        case FieldType::Integer:
        case FieldType::Word: out.type = PxType::Long, out.length = 4; break;
        case FieldType::AutoInc: out.type = PxType::AutoInc, out.length = 4; break;
        case FieldType::LargeInt:
        case FieldType::Float: out.type = PxType::Number, out.length = 8; break;
        case FieldType::Boolean: out.type = PxType::Logical, out.length = 1; break;
        case FieldType::Date: out.type = PxType::Date, out.length = 4; break;
        case FieldType::Time: out.type = PxType::Time, out.length = 4; break;
        case FieldType::DateTime: out.type = PxType::Timestamp, out.length = 8; break;
        case FieldType::Memo:
            out.type = PxType::Memo;
            out.length = def.size >= 11 && def.size <= 250 ? def.size : 20;
            break;
        case FieldType::Unknown:
            out.type = PxType::Bytes;
            out.length = std::clamp(def.size, 1, 255);
            break;
    }
    return out;
}

void checkFieldNames(const std::vector<PxField>& fields, const Table& table) {
    if (fields.empty()) throw TableError("Tabeli bez pól nie można zapisać w formacie Paradox");
    if (fields.size() > 255)
        throw TableError("Tabela ma za dużo pól dla formatu Paradox (" + std::to_string(fields.size()) + ")");
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string& name = table.field(static_cast<int>(i)).name;
        const std::string& bytes = fields[i].name;
        if (bytes.empty() || bytes.find('\0') != std::string::npos)
            throw TableError("Pole " + std::to_string(i + 1) + " nie ma poprawnej nazwy");
        if (bytes.size() > kMaxFieldName)
            throw TableError("Nazwa pola \"" + name + "\" jest za długa dla formatu Paradox (najwyżej " +
                             std::to_string(kMaxFieldName) + " znaków)");
        for (std::size_t j = 0; j < i; ++j)
            if (upperAscii(fields[j].name) == upperAscii(bytes))
                throw TableError("Nazwa pola \"" + name + "\" powtarza się");
    }
}

std::int32_t maxAutoInc(const Table& table, const std::vector<std::size_t>* rows) {
    std::int32_t best = 0;
    for (int f = 0; f < table.fieldCount(); ++f) {
        if (table.field(f).type != FieldType::AutoInc) continue;
        const Column& c = table.column(f);
        const std::size_t n = rows ? rows->size() : c.size();
        for (std::size_t i = 0; i < n; ++i) {
            const std::size_t row = rows ? (*rows)[i] : i;
            if (!c.isNull(row)) best = std::max(best, c.int32s()[row]);
        }
    }
    return best;
}

// The file behind an open table: each edit rewrites it from the table.
// Fields the engine does not read keep the bytes they had in the file.
class ParadoxStore : public TableStore {
public:
    ParadoxStore(std::string path, FileLock lock, ParadoxLayout layout, std::string records)
        : path_(std::move(path)),
          lock_(std::move(lock)),
          layout_(std::move(layout)),
          records_(std::move(records)) {}

    void appended(const Table& table, std::size_t) override {
        checkEditable(table, table.physicalCount() - 1);
        rewrite(table, kNone);
        records_.append(static_cast<std::size_t>(layout_.recordSize), '\0');
    }

    void updated(const Table& table, std::size_t) override {
        checkEditable(table, table.physicalCount());
        rewrite(table, kNone);
    }

    void removing(const Table& table, std::size_t row) override {
        checkEditable(table, table.physicalCount());
        rewrite(table, row);
        const auto size = static_cast<std::size_t>(layout_.recordSize);
        records_.erase(row * size, size);
    }

    // An empty alpha field is null in the file.
    Value stored(int f, const Value& v) const override {
        if (f >= 0 && static_cast<std::size_t>(f) < layout_.fields.size() &&
            layout_.fields[static_cast<std::size_t>(f)].type == PxType::Alpha &&
            v.kind() == Value::Kind::Text && v.textValue().empty())
            return {};
        return v;
    }

private:
    static constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

    void checkEditable(const Table& table, std::size_t storedRows) const {
        if (layout_.keyed())
            throw TableError("Tabela Paradox " + quoted(path_) +
                             " ma klucz główny; zmiany w tabelach z kluczem nie są obsługiwane");
        if (layout_.writeProtected)
            throw TableError("Tabela Paradox " + quoted(path_) + " jest zabezpieczona przed zmianami");
        if (records_.size() != storedRows * static_cast<std::size_t>(layout_.recordSize) ||
            table.fieldCount() != static_cast<int>(layout_.fields.size()))
            throw TableError("Tabela " + quoted(path_) + " nie odpowiada już swojemu plikowi");
    }

    void rewrite(const Table& table, std::size_t skip) {
        const std::size_t rows = table.physicalCount() - (skip == kNone ? 0 : 1);
        const auto size = static_cast<std::size_t>(layout_.recordSize);
        const std::size_t stored = records_.size() / size;
        std::vector<std::size_t> offsets;
        std::size_t at = 0;
        for (const PxField& f : layout_.fields) {
            offsets.push_back(at);
            at += static_cast<std::size_t>(f.length);
        }

        PxDocument::Creation c;
        c.fields = layout_.fields;
        c.codePage = layout_.codePage != 0 ? layout_.codePage : 1250;
        c.sortOrder = layout_.sortOrder;
        c.autoInc = std::max(layout_.autoInc, maxAutoInc(table, nullptr));
        c.tableName = layout_.tableName;

        writeTableBytes(
            path_, c, rows,
            [&](const PxDocument& doc, std::size_t i, char* record) {
                const std::size_t row = skip != kNone && i >= skip ? i + 1 : i;
                if (row < stored)
                    std::memcpy(record, records_.data() + row * size, size);
                else
                    std::memset(record, 0, size);
                for (std::size_t f = 0; f < layout_.fields.size(); ++f) {
                    const PxField& pf = layout_.fields[f];
                    const Value v = table.value(row, static_cast<int>(f));
                    const FieldType t = paradox::fieldTypeOf(pf.type);
                    // Unread fields keep their bytes, unless someone put a value there.
                    if ((t == FieldType::Memo || t == FieldType::Unknown) && v.isNull()) continue;
                    paradox::encodeField(doc, pf, v, record + offsets[f],
                                         table.field(static_cast<int>(f)).name);
                }
            },
            &lock_);
        layout_.autoInc = c.autoInc;
    }

    std::string path_;
    FileLock lock_;  // held as long as the store, moved to each new file
    ParadoxLayout layout_;
    std::string records_;  // raw records of the physical rows that reached the file
};

}  // namespace

Table readParadox(const std::string& path) { return std::move(load(path, false).table); }

Table readParadoxMemory(std::string_view bytes, const std::string& name) {
    std::string copy(bytes);
    return std::move(loadBytes(std::span<char>(copy.data(), copy.size()), name, false).table);
}

std::unique_ptr<Table> openParadox(const std::string& path, bool writable) {
    // Locked before reading; a file that does not open is reported by load().
    FileLock lock;
    if (writable) {
        lock = FileLock(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
        if (lock.heldElsewhere()) throw FileLockedError(path);
    }
    Loaded l = load(path, writable);
    auto table = std::make_unique<Table>(std::move(l.table));
    if (writable)
        table->setStore(
            std::make_unique<ParadoxStore>(path, std::move(lock), std::move(l.layout), std::move(l.records)));
    else
        table->setReadOnly(true);
    return table;
}

void writeParadox(const Table& table, const std::string& path) {
    PxDocument::Creation c;
    for (int f = 0; f < table.fieldCount(); ++f) c.fields.push_back(pxFieldFor(table, f));
    checkFieldNames(c.fields, table);
    std::vector<std::size_t> rows(table.recordCount());
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = table.rowOfRecord(i);
    c.autoInc = maxAutoInc(table, &rows);
    c.tableName = tableNameFor(path);
    std::vector<std::size_t> offsets;
    std::size_t at = 0;
    for (const PxField& f : c.fields) {
        offsets.push_back(at);
        at += static_cast<std::size_t>(f.length);
    }
    writeTableBytes(path, c, rows.size(), [&](const PxDocument& doc, std::size_t i, char* record) {
        for (std::size_t f = 0; f < c.fields.size(); ++f)
            paradox::encodeField(doc, c.fields[f], table.value(rows[i], static_cast<int>(f)),
                                 record + offsets[f], table.field(static_cast<int>(f)).name);
    });
}

}  // namespace zorv

// Reading dBase files: the header once, then the records in large chunks,
// decoded field by field straight into the columns.

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string_view>

#include "dbase/DbaseCodec.h"
#include "dbase/DbaseFile.h"
#include "dbase/DbaseHeader.h"
#include "dbase/DbaseIo.h"
#include "dbase/DbaseStore.h"
#include "table/TableError.h"
#include "text/FileLock.h"

namespace zorv {

namespace {

// Bytes read at a time: large enough that the system calls cost nothing,
// small enough that the chunk stays in the processor cache while each field
// is decoded from it in turn (4 MB chunks load a third slower).
constexpr std::size_t kChunkBytes = std::size_t{1} << 20;

enum class Decode : std::uint8_t { Text, IntText, RealText, Date, Logical, Long, Double, Timestamp, Null };

struct FieldReader {
    Decode decode;
    std::size_t offset;
    std::size_t width;
    FieldType type;
};

Decode decodeOf(const DbaseField& f, FieldType type) {
    switch (f.type) {
        case 'C': return Decode::Text;
        case 'N':
        case 'F': return isIntegerType(type) ? Decode::IntText : Decode::RealText;
        case 'D': return Decode::Date;
        case 'L': return Decode::Logical;
        case 'I':
        case '+': return Decode::Long;
        case 'O': return Decode::Double;
        case '@': return Decode::Timestamp;
        default: return Decode::Null;
    }
}

// Appends field `r` of the live records of a chunk to `column`.
void readField(const FieldReader& r, const unsigned char* chunk, std::size_t recordLength,
               const std::vector<std::uint32_t>& live, Column& column, std::string& scratch) {
    auto at = [&](std::uint32_t i) { return chunk + std::size_t{i} * recordLength + r.offset; };
    auto text = [&](std::uint32_t i) {
        return std::string_view(reinterpret_cast<const char*>(at(i)), r.width);
    };
    switch (r.decode) {
        case Decode::Text:
            for (const auto i : live) column.appendText(dbaseText(text(i), scratch));
            break;
        case Decode::IntText:
            for (const auto i : live) {
                // Range checked: "9e99" fits in a field of width 4.
                const auto v = parseDbaseInteger(text(i));
                if (v && fitsIntegerType(*v, r.type))
                    column.appendInt32(static_cast<std::int32_t>(*v));
                else
                    column.appendNull();
            }
            break;
        case Decode::RealText:
            for (const auto i : live) {
                if (const auto v = parseDbaseNumber(text(i)))
                    column.appendDouble(*v);
                else
                    column.appendNull();
            }
            break;
        case Decode::Date:
            for (const auto i : live) {
                if (const auto v = parseDbaseDate(text(i)))
                    column.appendInt32(*v);
                else
                    column.appendNull();
            }
            break;
        case Decode::Logical:
            for (const auto i : live) {
                if (const auto v = parseDbaseLogical(static_cast<char>(*at(i))))
                    column.appendInt32(*v ? 1 : 0);
                else
                    column.appendNull();
            }
            break;
        case Decode::Long:
            for (const auto i : live) {
                if (const auto v = getDbaseLong(at(i)))
                    column.appendInt32(*v);
                else
                    column.appendNull();
            }
            break;
        case Decode::Double:
            for (const auto i : live) {
                if (const auto v = getDbaseDouble(at(i)))
                    column.appendDouble(*v);
                else
                    column.appendNull();
            }
            break;
        case Decode::Timestamp:
            for (const auto i : live) {
                if (const auto v = getDbaseTimestamp(at(i)))
                    column.appendDouble(*v);
                else
                    column.appendNull();
            }
            break;
        case Decode::Null:
            for (std::size_t k = 0; k < live.size(); ++k) column.appendNull();
            break;
    }
}

// Where the bytes of a table come from: an open file or a buffer.
struct ByteSource {
    std::uint64_t size;
    std::function<void(void*, std::size_t, std::uint64_t)> read;  // exactly n bytes at an offset
};

ByteSource fileSource(const DbaseFd& fd, const std::string& path) {
    return {dbaseFileSize(fd, path), [&fd, &path](void* data, std::size_t n, std::uint64_t at) {
                readDbaseBytes(fd, data, n, at, path);
            }};
}

ByteSource memorySource(std::string_view bytes, const std::string& name) {
    return {bytes.size(), [bytes, &name](void* data, std::size_t n, std::uint64_t at) {
                if (at > bytes.size() || n > bytes.size() - at)
                    throw FileFormatError("Plik dBase '" + name +
                                          "' jest uszkodzony: skończył się przedwcześnie.");
                std::memcpy(data, bytes.data() + at, n);
            }};
}

bool sameName(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

// What of a file to read: every field or only the named ones, and the
// records or none.
struct Selection {
    const std::vector<std::string>* names = nullptr;  // null: every field
    bool records = true;

    bool wants(const FieldDef& f) const {
        return !names || std::any_of(names->begin(), names->end(),
                                     [&f](const std::string& n) { return sameName(n, f.name); });
    }
};

// Reads the table's bytes into a table; fills `recordOfRow` (when given)
// with the file record of each row.
Table load(const ByteSource& source, const std::string& path, DbaseHeader& header,
           std::vector<std::uint32_t>* recordOfRow, const Selection& selection = {}) {
    const std::uint64_t size = source.size;
    std::string head(static_cast<std::size_t>(std::min<std::uint64_t>(size, 65536)), '\0');
    source.read(head.data(), head.size(), 0);
    header = parseDbaseHeader(head, size, path);

    FieldDefs defs;
    std::vector<FieldReader> readers;
    for (const auto& f : header.fields) {
        FieldDef def = fieldDefOf(f);
        if (!selection.wants(def)) continue;
        defs.push_back(std::move(def));
        readers.push_back({decodeOf(f, defs.back().type), static_cast<std::size_t>(f.offset),
                           static_cast<std::size_t>(f.width), defs.back().type});
    }
    Table table(std::move(defs));
    table.setName(path);
    const std::size_t count = selection.records ? header.recordCount : 0;
    for (int f = 0; f < table.fieldCount(); ++f) table.loadColumn(f).reserve(count);
    if (recordOfRow) recordOfRow->reserve(count);

    const std::size_t recordLength = header.recordLength;
    const std::size_t perChunk = std::max<std::size_t>(1, kChunkBytes / recordLength);
    std::vector<unsigned char> chunk(std::min(perChunk, std::max<std::size_t>(count, 1)) * recordLength);
    std::vector<std::uint32_t> live;
    live.reserve(perChunk);
    std::string scratch;
    for (std::size_t first = 0; first < count; first += perChunk) {
        const std::size_t n = std::min(perChunk, count - first);
        source.read(chunk.data(), n * recordLength,
                    header.headerLength + std::uint64_t{first} * recordLength);
        live.clear();
        for (std::size_t i = 0; i < n; ++i)
            if (chunk[i * recordLength] != '*') live.push_back(static_cast<std::uint32_t>(i));
        if (recordOfRow)
            for (const auto i : live) recordOfRow->push_back(static_cast<std::uint32_t>(first + i));
        for (std::size_t f = 0; f < readers.size(); ++f)
            readField(readers[f], chunk.data(), recordLength, live, table.loadColumn(static_cast<int>(f)),
                      scratch);
    }
    table.finishLoad();
    return table;
}

}  // namespace

Table readDbase(const std::string& path) {
    const DbaseFd fd = openDbaseFile(path, false);
    DbaseHeader header;
    return load(fileSource(fd, path), path, header, nullptr);
}

Table readDbaseFields(const std::string& path, const std::vector<std::string>& names) {
    const DbaseFd fd = openDbaseFile(path, false);
    DbaseHeader header;
    return load(fileSource(fd, path), path, header, nullptr, {&names, true});
}

Table readDbaseLayout(const std::string& path) {
    const DbaseFd fd = openDbaseFile(path, false);
    DbaseHeader header;
    return load(fileSource(fd, path), path, header, nullptr, {nullptr, false});
}

Table readDbaseMemory(std::string_view bytes, const std::string& name) {
    DbaseHeader header;
    return load(memorySource(bytes, name), name, header, nullptr);
}

std::unique_ptr<Table> openDbase(const std::string& path, bool writable) {
    DbaseFd fd = openDbaseFile(path, writable);
    // Locked before reading, so that what is read is what no one else edits.
    FileLock lock;
    if (writable) {
        lock = FileLock(::dup(fd.get()));
        if (lock.heldElsewhere()) throw FileLockedError(path);
        // A file system without locks (lock.error() otherwise) is edited unlocked.
    }
    DbaseHeader header;
    std::vector<std::uint32_t> recordOfRow;
    auto table =
        std::make_unique<Table>(load(fileSource(fd, path), path, header, writable ? &recordOfRow : nullptr));
    if (writable)
        table->setStore(std::make_unique<DbaseStore>(std::move(fd), std::move(lock), path, std::move(header),
                                                     std::move(recordOfRow)));
    else
        table->setReadOnly(true);
    return table;
}

}  // namespace zorv

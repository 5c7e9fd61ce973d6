#include "paradox/ParadoxLayout.h"

#include <cstring>

#include "table/TableError.h"
#include "text/Cp1250.h"

namespace zorv::paradox {

namespace {

// Offsets in the common header.
constexpr std::size_t kRecordSize = 0x00;
constexpr std::size_t kHeaderSize = 0x02;
constexpr std::size_t kFileType = 0x04;
constexpr std::size_t kMaxTableSize = 0x05;
constexpr std::size_t kNumRecords = 0x06;
constexpr std::size_t kFileBlocks = 0x0C;
constexpr std::size_t kFirstBlock = 0x0E;
constexpr std::size_t kLastBlock = 0x10;
constexpr std::size_t kNumFields = 0x21;
constexpr std::size_t kEncryption1 = 0x25;
constexpr std::size_t kSortOrder = 0x29;
constexpr std::size_t kWriteProtected = 0x38;
constexpr std::size_t kFileVersion = 0x39;
constexpr std::size_t kAutoInc = 0x49;
constexpr std::size_t kCommonHeaderEnd = 0x58;
// Offsets in the data header (format 4.0 and later).
constexpr std::size_t kEncryption2 = 0x5C;
constexpr std::size_t kCodePage = 0x6A;
constexpr std::size_t kDataHeaderEnd = 0x78;

constexpr std::size_t kBlockHead = 6;  // next, previous, bytes used - record size
constexpr std::uint32_t kEncryptionInDataHeader = 0xFF00FF00u;

unsigned u8(std::span<const char> b, std::size_t at) { return static_cast<unsigned char>(b[at]); }
unsigned u16(std::span<const char> b, std::size_t at) { return u8(b, at) | u8(b, at + 1) << 8; }
std::uint32_t u32(std::span<const char> b, std::size_t at) {
    return u16(b, at) | static_cast<std::uint32_t>(u16(b, at + 2)) << 16;
}
int s16(std::span<const char> b, std::size_t at) { return static_cast<std::int16_t>(u16(b, at)); }
void put16(std::span<char> b, std::size_t at, unsigned v) {
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>(v >> 8 & 0xFF);
}

[[noreturn]] void notParadox(const std::string& path, const std::string& cause) {
    throw FileFormatError("Plik \"" + path + "\" nie jest tabelą Paradox: " + cause);
}

[[noreturn]] void damaged(const std::string& path, const std::string& cause) {
    throw FileFormatError("Tabela Paradox \"" + path + "\" jest uszkodzona: " + cause);
}

bool knownType(unsigned code) {
    switch (static_cast<PxType>(code)) {
        case PxType::Alpha:
        case PxType::Date:
        case PxType::Short:
        case PxType::Long:
        case PxType::Money:
        case PxType::Number:
        case PxType::Logical:
        case PxType::Memo:
        case PxType::Blob:
        case PxType::FormattedMemo:
        case PxType::Ole:
        case PxType::Graphic:
        case PxType::Time:
        case PxType::Timestamp:
        case PxType::AutoInc:
        case PxType::Bcd:
        case PxType::Bytes: return true;
    }
    return false;
}

// Whether `length` bytes suit a field of type `t`.
bool validLength(PxType t, int length) {
    switch (t) {
        case PxType::Alpha:
        case PxType::Bytes: return length >= 1 && length <= 255;
        case PxType::Logical: return length == 1;
        case PxType::Short: return length == 2;
        case PxType::Date:
        case PxType::Long:
        case PxType::Time:
        case PxType::AutoInc: return length == 4;
        case PxType::Money:
        case PxType::Number:
        case PxType::Timestamp: return length == 8;
        case PxType::Memo:
        case PxType::Blob:
        case PxType::FormattedMemo:
        case PxType::Ole:
        case PxType::Graphic: return length >= 10 && length <= 255;  // 10-byte tail after the leader
        case PxType::Bcd: return length == 17;
    }
    return false;
}

std::string fieldLabel(const PxField& f, std::size_t index) {
    if (!f.name.empty()) return "\"" + cp1250ToUtf8(f.name) + "\"";
    return std::to_string(index + 1);
}

}  // namespace

const char* pxTypeName(PxType t) {
    switch (t) {
        case PxType::Alpha: return "alfanumeryczne";
        case PxType::Date: return "data";
        case PxType::Short: return "krótka liczba całkowita";
        case PxType::Long: return "długa liczba całkowita";
        case PxType::Money: return "walutowe";
        case PxType::Number: return "liczbowe";
        case PxType::Logical: return "logiczne";
        case PxType::Memo: return "memo";
        case PxType::Blob: return "binarne";
        case PxType::FormattedMemo: return "sformatowane memo";
        case PxType::Ole: return "OLE";
        case PxType::Graphic: return "graficzne";
        case PxType::Time: return "czas";
        case PxType::Timestamp: return "znacznik czasu";
        case PxType::AutoInc: return "autonumer";
        case PxType::Bcd: return "BCD";
        case PxType::Bytes: return "bajtowe";
    }
    return "nieznane";
}

ParadoxLayout checkParadoxFile(std::span<char> bytes, const std::string& path) {
    const std::size_t size = bytes.size();
    if (size < kCommonHeaderEnd)
        notParadox(path, "plik jest za krótki na nagłówek (" + std::to_string(size) + " B)");

    ParadoxLayout L;
    L.fileType = static_cast<std::uint8_t>(u8(bytes, kFileType));
    if (L.fileType != 0 && L.fileType != 2) {
        if (L.fileType <= 8)
            notParadox(path, "to plik indeksu, a nie tabela danych (typ " + std::to_string(L.fileType) + ")");
        notParadox(path, "nieznany typ pliku (" + std::to_string(L.fileType) + ")");
    }
    const unsigned version = u8(bytes, kFileVersion);
    if (version < 3 || version > 12)
        notParadox(path, "nieznana wersja formatu (" + std::to_string(version) + ")");
    const unsigned maxTableSize = u8(bytes, kMaxTableSize);
    if (maxTableSize < 1 || maxTableSize > 32)
        notParadox(path, "niepoprawny rozmiar bloku danych (" + std::to_string(maxTableSize) + " KiB)");
    L.blockSize = static_cast<int>(maxTableSize) * 1024;

    // Format 4.0 (version code 5) and later carry the data header.
    const bool dataHeader = version >= 5;
    std::uint32_t encryption = u32(bytes, kEncryption1);
    if (encryption == kEncryptionInDataHeader) {
        if (!dataHeader || size < kDataHeaderEnd) damaged(path, "nagłówek jest niespójny (szyfrowanie)");
        encryption = u32(bytes, kEncryption2);
    }
    if (encryption != 0)
        throw FileFormatError("Tabela Paradox \"" + path +
                              "\" jest chroniona hasłem; odczyt takich tabel nie jest obsługiwany");

    L.recordSize = static_cast<int>(u16(bytes, kRecordSize));
    L.headerSize = static_cast<int>(u16(bytes, kHeaderSize));
    if (L.recordSize == 0) damaged(path, "długość rekordu w nagłówku wynosi 0");
    if (static_cast<std::size_t>(L.headerSize) > size)
        damaged(path, "plik jest obcięty (nagłówek ma " + std::to_string(L.headerSize) + " B, plik " +
                          std::to_string(size) + " B)");

    const unsigned fieldCount = u16(bytes, kNumFields);
    if (fieldCount < 1 || fieldCount > 255)
        damaged(path, "niepoprawna liczba pól (" + std::to_string(fieldCount) + ")");

    // Everything up to the end of the field names must lie in the header.
    const std::size_t headerEnd = static_cast<std::size_t>(L.headerSize);
    const std::size_t fieldInfo = dataHeader ? kDataHeaderEnd : kCommonHeaderEnd;
    const std::size_t tableNameLength = version == 12 ? 261 : 79;
    const std::size_t tableNameAt = fieldInfo + 2 * fieldCount + 4 + 4 * fieldCount;
    if (tableNameAt + tableNameLength > headerEnd) damaged(path, "nagłówek jest za krótki na opis pól");

    if (dataHeader) L.codePage = static_cast<int>(u16(bytes, kCodePage));
    L.recordCount = static_cast<std::int32_t>(u32(bytes, kNumRecords));
    L.sortOrder = static_cast<std::uint8_t>(u8(bytes, kSortOrder));
    L.writeProtected = u8(bytes, kWriteProtected) != 0;
    L.autoInc = static_cast<std::int32_t>(u32(bytes, kAutoInc));

    int sum = 0;
    L.fields.resize(fieldCount);
    for (unsigned i = 0; i < fieldCount; ++i) {
        const unsigned code = u8(bytes, fieldInfo + 2 * i);
        const unsigned length = u8(bytes, fieldInfo + 2 * i + 1);
        if (!knownType(code))
            damaged(path,
                    "pole " + std::to_string(i + 1) + " ma nieznany typ (" + std::to_string(code) + ")");
        PxField& f = L.fields[i];
        f.type = static_cast<PxType>(code);
        if (f.type == PxType::Bcd) {
            f.length = 17;
            f.bcdDecimals = static_cast<int>(length);
            if (length > 32)
                damaged(path, "pole " + std::to_string(i + 1) + " typu BCD ma " + std::to_string(length) +
                                  " miejsc po przecinku");
        } else {
            f.length = static_cast<int>(length);
        }
        sum += f.length;
    }

    const char* name = bytes.data() + tableNameAt;
    if (std::memchr(name, '\0', tableNameLength) == nullptr)
        damaged(path, "nazwa tabeli w nagłówku nie jest zakończona");
    L.tableName = name;

    std::size_t at = tableNameAt + tableNameLength;
    for (unsigned i = 0; i < fieldCount; ++i) {
        const void* end = at < headerEnd ? std::memchr(bytes.data() + at, '\0', headerEnd - at) : nullptr;
        if (end == nullptr) damaged(path, "nazwa pola " + std::to_string(i + 1) + " wykracza poza nagłówek");
        const std::size_t length = static_cast<const char*>(end) - (bytes.data() + at);
        if (length == 0 || length > 255)
            damaged(path, "nazwa pola " + std::to_string(i + 1) + " jest pusta lub za długa");
        L.fields[i].name.assign(bytes.data() + at, length);
        at += length + 1;
    }
    for (unsigned i = 0; i < fieldCount; ++i)
        if (!validLength(L.fields[i].type, L.fields[i].length))
            damaged(path, "pole " + fieldLabel(L.fields[i], i) + " typu " + pxTypeName(L.fields[i].type) +
                              " ma niepoprawną długość (" + std::to_string(L.fields[i].length) + " B)");
    if (sum != L.recordSize)
        damaged(path, "długość rekordu w nagłówku (" + std::to_string(L.recordSize) +
                          " B) nie zgadza się z sumą długości pól (" + std::to_string(sum) + " B)");
    const int perBlock = (L.blockSize - static_cast<int>(kBlockHead)) / L.recordSize;
    if (perBlock < 1)
        damaged(path, "rekord (" + std::to_string(L.recordSize) + " B) nie mieści się w bloku danych (" +
                          std::to_string(L.blockSize) + " B)");

    // Walk the block chain: every block inside the file, none twice, record
    // counts adding up to the header's.
    const unsigned fileBlocks = u16(bytes, kFileBlocks);
    std::vector<bool> seen(fileBlocks + 1u, false);
    std::vector<unsigned> used;  // blocks holding records, in chain order
    bool emptyBlocks = false;
    long long total = 0;
    for (unsigned b = u16(bytes, kFirstBlock); b != 0;) {
        if (b > fileBlocks)
            damaged(path, "łańcuch bloków danych wskazuje blok " + std::to_string(b) +
                              " spoza tabeli (bloków: " + std::to_string(fileBlocks) + ")");
        if (seen[b]) damaged(path, "łańcuch bloków danych jest zapętlony (blok " + std::to_string(b) + ")");
        seen[b] = true;
        const std::size_t off =
            headerEnd + static_cast<std::size_t>(b - 1) * static_cast<std::size_t>(L.blockSize);
        if (off + static_cast<std::size_t>(L.blockSize) > size)
            damaged(path,
                    "plik jest obcięty (blok danych " + std::to_string(b) + " wykracza poza koniec pliku)");
        const int added = s16(bytes, off + 4);
        if (added == -L.recordSize) {
            emptyBlocks = true;
        } else {
            if (added < 0 || added % L.recordSize != 0 || added / L.recordSize + 1 > perBlock)
                damaged(path, "blok danych " + std::to_string(b) + " ma niepoprawną długość zawartości (" +
                                  std::to_string(added) + ")");
            total += added / L.recordSize + 1;
            used.push_back(b);
            L.dataBlocks.push_back({off + kBlockHead, added / L.recordSize + 1});
        }
        b = u16(bytes, off);
    }
    if (total != L.recordCount)
        damaged(path, "liczba rekordów w nagłówku (" + std::to_string(L.recordCount) +
                          ") nie zgadza się z liczbą rekordów w blokach danych (" + std::to_string(total) +
                          ")");

    if (emptyBlocks) {
        put16(bytes, kFirstBlock, used.empty() ? 0 : used.front());
        put16(bytes, kLastBlock, used.empty() ? 0 : used.back());
        for (std::size_t i = 0; i < used.size(); ++i) {
            const std::size_t off = headerEnd + static_cast<std::size_t>(used[i] - 1) * L.blockSize;
            put16(bytes, off, i + 1 < used.size() ? used[i + 1] : 0);
            put16(bytes, off + 2, i > 0 ? used[i - 1] : 0);
        }
    }
    return L;
}

}  // namespace zorv::paradox

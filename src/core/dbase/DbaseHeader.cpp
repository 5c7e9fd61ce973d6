#include "dbase/DbaseHeader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "table/TableError.h"
#include "text/Cp1250.h"

namespace zorv {

namespace {

[[noreturn]] void damaged(const std::string& path, const std::string& cause) {
    throw FileFormatError("Plik dBase '" + path + "' jest uszkodzony: " + cause + ".");
}

std::uint32_t le16(const unsigned char* p) { return p[0] | (std::uint32_t{p[1]} << 8); }

std::uint32_t le32(const unsigned char* p) {
    return p[0] | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24);
}

void putLe16(unsigned char* p, std::uint32_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}

void putLe32(unsigned char* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

// A name field: bytes up to the first NUL, trailing blanks dropped.
std::string fieldName(const unsigned char* p, std::size_t size) {
    std::size_t n = 0;
    while (n < size && p[n] != 0) ++n;
    while (n > 0 && p[n - 1] == ' ') --n;
    return cp1250ToUtf8(std::string_view(reinterpret_cast<const char*>(p), n));
}

std::string quoted(const std::string& s) { return "'" + s + "'"; }

// Width a type letter demands, 0 when any width is allowed.
int fixedWidth(char type) {
    switch (type) {
        case 'D':
        case 'O':
        case '@': return 8;
        case 'L': return 1;
        case 'I':
        case '+': return 4;
        default: return 0;
    }
}

bool isLevel7Type(char type) { return type == 'I' || type == '+' || type == 'O' || type == '@'; }

bool isKnownType(char type) { return std::strchr("CNFDLMBG", type) != nullptr || isLevel7Type(type); }

std::string typeText(unsigned char type) {
    if (type >= 0x20 && type < 0x7F) return std::string("'") + static_cast<char>(type) + "'";
    char buf[8];
    std::snprintf(buf, sizeof buf, "0x%02X", type);
    return buf;
}

}  // namespace

DbaseHeader parseDbaseHeader(std::string_view head, std::uint64_t fileSize, const std::string& path) {
    const auto* b = reinterpret_cast<const unsigned char*>(head.data());
    if (fileSize < 32 || head.size() < 32)
        damaged(path, "nagłówek jest obcięty (plik ma " + std::to_string(fileSize) + " bajtów)");
    DbaseHeader h;
    h.version = b[0];
    // Version bytes of the levels read: III, IV and V with 32-byte
    // descriptors (the high bits flag memo and SQL tables), 7 with 48-byte
    // ones. Other programs' variants (binary integers of other byte order,
    // null-flag fields) are refused rather than misread.
    switch (h.version) {
        case 0x03:
        case 0x05:
        case 0x43:
        case 0x63:
        case 0x7B:
        case 0x83:
        case 0x8B:
        case 0xCB:
        case 0xFB: break;
        case 0x04:
        case 0x8C: h.level7 = true; break;
        default: {
            char buf[8];
            std::snprintf(buf, sizeof buf, "0x%02X", h.version);
            throw FileFormatError("Plik '" + path +
                                  "' nie jest tabelą dBase w obsługiwanej wersji (bajt wersji " + buf + ").");
        }
    }
    const std::size_t fieldsAt = h.level7 ? kDbaseLevel7FieldsOffset : kDbaseFieldsOffset;
    const std::size_t descSize = h.level7 ? kDbaseLevel7DescriptorSize : kDbaseDescriptorSize;
    if (fileSize < fieldsAt + 1 || head.size() < fieldsAt + 1)
        damaged(path, "nagłówek jest obcięty (plik ma " + std::to_string(fileSize) + " bajtów)");
    h.recordCount = le32(b + kDbaseCountOffset);
    h.headerLength = le16(b + 8);
    h.recordLength = le16(b + 10);
    h.languageDriver = b[29];
    if (h.level7) h.languageDriverName = fieldName(b + 32, 32);
    if (h.headerLength > fileSize)
        damaged(path, "długość nagłówka (" + std::to_string(h.headerLength) +
                          " bajtów) przekracza rozmiar pliku (" + std::to_string(fileSize) + " bajtów)");
    if (h.headerLength < fieldsAt + 1)
        damaged(path, "długość nagłówka (" + std::to_string(h.headerLength) + " bajtów) jest za mała");

    std::size_t pos = fieldsAt;
    int offset = 1;  // after the delete flag
    while (pos < h.headerLength && b[pos] != 0x0D) {
        if (pos + descSize > h.headerLength)
            damaged(path, "opis pola nr " + std::to_string(h.fields.size() + 1) + " wykracza poza nagłówek");
        const unsigned char* d = b + pos;
        DbaseField f;
        if (h.level7) {
            f.name = fieldName(d, 32);
            f.type = static_cast<char>(d[32]);
            f.width = d[33];
            f.decimals = d[34];
            f.nextAutoInc = le32(d + kDbaseAutoIncOffset);
        } else {
            f.name = fieldName(d, 11);
            f.type = static_cast<char>(d[11]);
            f.width = d[16];
            f.decimals = d[17];
            // Text fields wider than 255 bytes keep the high byte of the
            // width in the decimals byte.
            if (f.type == 'C') {
                f.width += 256 * f.decimals;
                f.decimals = 0;
            }
        }
        const std::string what = "pole " + quoted(f.name);
        if (!isKnownType(f.type))
            damaged(path, what + " ma nieznany typ " + typeText(static_cast<unsigned char>(f.type)));
        if (!h.level7 && isLevel7Type(f.type))
            damaged(path, what + " ma typ " + typeText(static_cast<unsigned char>(f.type)) +
                              ", którego nie ma w plikach dBase tej wersji");
        if (f.width == 0) damaged(path, what + " ma zerową długość");
        const int fixed = fixedWidth(f.type);
        if (fixed != 0 && f.width != fixed)
            damaged(path, what + " typu " + typeText(static_cast<unsigned char>(f.type)) + " ma długość " +
                              std::to_string(f.width) + " zamiast " + std::to_string(fixed));
        f.offset = offset;
        offset += f.width;
        h.fields.push_back(std::move(f));
        pos += descSize;
    }
    if (h.fields.empty()) damaged(path, "tabela nie ma żadnego pola");
    if (static_cast<std::uint32_t>(offset) != h.recordLength)
        damaged(path, "długość rekordu w nagłówku (" + std::to_string(h.recordLength) +
                          " bajtów) nie zgadza się z polami (" + std::to_string(offset) + " bajtów)");
    const std::uint64_t fits = (fileSize - h.headerLength) / h.recordLength;
    if (h.recordCount > fits)
        damaged(path, "nagłówek podaje " + std::to_string(h.recordCount) + " rekordów, a plik mieści " +
                          std::to_string(fits));
    return h;
}

std::string buildDbaseHeader(DbaseHeader& h, int year, int month, int day) {
    const std::size_t fieldsAt = h.level7 ? kDbaseLevel7FieldsOffset : kDbaseFieldsOffset;
    const std::size_t descSize = h.level7 ? kDbaseLevel7DescriptorSize : kDbaseDescriptorSize;
    const std::size_t nameSize = h.level7 ? 32 : 11;
    h.headerLength = static_cast<std::uint32_t>(fieldsAt + descSize * h.fields.size() + 1);
    int offset = 1;
    for (auto& f : h.fields) {
        f.offset = offset;
        offset += f.width;
    }
    h.recordLength = static_cast<std::uint32_t>(offset);

    std::string out(h.headerLength, '\0');
    auto* b = reinterpret_cast<unsigned char*>(out.data());
    b[0] = h.version;
    b[1] = static_cast<unsigned char>(year - 1900);
    b[2] = static_cast<unsigned char>(month);
    b[3] = static_cast<unsigned char>(day);
    putLe32(b + kDbaseCountOffset, h.recordCount);
    putLe16(b + 8, h.headerLength);
    putLe16(b + 10, h.recordLength);
    b[29] = h.languageDriver;
    if (h.level7)
        std::memcpy(b + 32, h.languageDriverName.data(),
                    std::min<std::size_t>(31, h.languageDriverName.size()));
    for (std::size_t i = 0; i < h.fields.size(); ++i) {
        const DbaseField& f = h.fields[i];
        unsigned char* d = b + fieldsAt + i * descSize;
        const std::string name = utf8ToCp1250(f.name);
        std::memcpy(d, name.data(), std::min(nameSize - 1, name.size()));
        if (h.level7) {
            d[32] = static_cast<unsigned char>(f.type);
            d[33] = static_cast<unsigned char>(f.width);
            d[34] = static_cast<unsigned char>(f.decimals);
            if (f.type == '+') putLe32(d + kDbaseAutoIncOffset, f.nextAutoInc);
        } else {
            d[11] = static_cast<unsigned char>(f.type);
            d[16] = static_cast<unsigned char>(f.width);
            d[17] = static_cast<unsigned char>(f.decimals);
        }
    }
    b[h.headerLength - 1] = 0x0D;
    return out;
}

FieldDef fieldDefOf(const DbaseField& f) {
    FieldType t = FieldType::Unknown;
    switch (f.type) {
        case 'C': t = FieldType::String; break;
        case 'N':
            if (f.decimals > 0)
                t = FieldType::Float;
            else
                t = f.width <= 4 ? FieldType::SmallInt : f.width <= 9 ? FieldType::Integer : FieldType::Float;
            break;
        case 'F':
        case 'O': t = FieldType::Float; break;
        case 'D': t = FieldType::Date; break;
        case '@': t = FieldType::DateTime; break;
        case 'L': t = FieldType::Boolean; break;
        case 'M': t = FieldType::Memo; break;
        case 'I': t = FieldType::Integer; break;
        case '+': t = FieldType::AutoInc; break;
        default: break;  // B, G: binary and OLE memos, not read
    }
    return FieldDef(f.name, t, f.width, f.decimals);
}

}  // namespace zorv

#include "text/TextCase.h"

#include "text/Cp1250.h"

namespace zorv {

char32_t foldCase(char32_t c) {
    if (c < 0x80) return c >= 'A' && c <= 'Z' ? c + 32 : c;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
    if (c >= 0x100 && c <= 0x137) return c | 1;                // pairs: even upper, odd lower
    if (c >= 0x139 && c <= 0x148) return (c & 1) ? c + 1 : c;  // odd upper
    if (c >= 0x14A && c <= 0x177) return c | 1;
    if (c == 0x178) return 0xFF;
    if (c >= 0x179 && c <= 0x17E) return (c & 1) ? c + 1 : c;
    return c;
}

std::string foldCase(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            out += static_cast<char>(b >= 'A' && b <= 'Z' ? b + 32 : b);
            ++i;
            continue;
        }
        appendUtf8(out, foldCase(decodeUtf8(utf8, i)));
    }
    return out;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size())
        if (foldCase(decodeUtf8(a, i)) != foldCase(decodeUtf8(b, j))) return false;
    return i == a.size() && j == b.size();
}

}  // namespace zorv

#include "interchange/TextEncoding.h"

#include "text/Cp1250.h"

namespace zorv {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

}  // namespace

const char* textEncodingName(TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Utf8: return "UTF-8";
        case TextEncoding::Utf8Bom: return "UTF-8 z BOM";
        case TextEncoding::Cp1250: break;
    }
    return "windows-1250";
}

bool isValidUtf8(std::string_view s) {
    std::size_t i = 0;
    const std::size_t n = s.size();
    while (i < n) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        int len = 0;
        char32_t cp = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            len = 2;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            len = 3;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + static_cast<std::size_t>(len) > n) return false;
        for (int k = 1; k < len; ++k) {
            const auto cc = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
            if ((cc & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += static_cast<std::size_t>(len);
    }
    return true;
}

TextEncoding detectTextEncoding(std::string_view bytes) {
    if (bytes.substr(0, kBom.size()) == kBom) return TextEncoding::Utf8Bom;
    return isValidUtf8(bytes) ? TextEncoding::Utf8 : TextEncoding::Cp1250;
}

std::string decodeText(std::string_view bytes, TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Utf8Bom:
            if (bytes.substr(0, kBom.size()) == kBom) bytes.remove_prefix(kBom.size());
            [[fallthrough]];
        case TextEncoding::Utf8:
            // A stray invalid sequence in a file declared UTF-8 is replaced
            // rather than carried into the table's text.
            if (isValidUtf8(bytes)) return std::string(bytes);
            {
                std::string out;
                out.reserve(bytes.size());
                std::size_t i = 0;
                while (i < bytes.size()) appendUtf8(out, decodeUtf8(bytes, i));
                return out;
            }
        case TextEncoding::Cp1250: break;
    }
    return cp1250ToUtf8(bytes);
}

}  // namespace zorv

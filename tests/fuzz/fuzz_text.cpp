// Number, date and date-time texts and picture masks.
//
// The first byte picks the locale and the part; the rest is text to parse,
// or the bytes of a value to format. Properties: what parses formats to a
// text that parses back to the same value (numbers: formatting is stable and
// within the 15 digits of the general format); every finite double's general
// text reads back; a mask never breaks, and a fixed-decimals mask reads back
// within half its last digit.

#include <cmath>
#include <cstring>
#include <limits>

#include "FuzzSupport.h"
#include "text/Cp1250.h"
#include "text/DateText.h"
#include "text/DateTimeText.h"
#include "text/NumberFormat.h"

using namespace zorv;

namespace {

void numberBack(double v, const Locale& locale) {
    if (!std::isfinite(v)) return;
    const std::string text = formatGeneral(v, locale);
    const auto back = parseNumber(text, locale);
    FUZZ_CHECK(back.has_value());
    FUZZ_CHECK(std::fabs(*back - v) <= 1e-14 * std::fabs(v));
    FUZZ_CHECK(formatGeneral(*back, locale) == text);
}

void fixedMask(double v, int decimals, const Locale& locale) {
    if (!std::isfinite(v) || std::fabs(v) > 1e12) return;
    std::string mask = "0";
    if (decimals > 0) mask += "." + std::string(static_cast<std::size_t>(decimals), '0');
    const auto back = parseNumber(formatMask(v, mask, locale), locale);
    FUZZ_CHECK(back.has_value());
    FUZZ_CHECK(std::fabs(*back - v) <= 0.5 * std::pow(10.0, -decimals) * (1 + 1e-9) + 1e-15 * std::fabs(v));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const Locale locale = (data[0] & 1) != 0 ? Locale::comma() : Locale::point();
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    double raw = 0;
    std::memcpy(&raw, text.data(), std::min(sizeof raw, text.size()));
    switch ((data[0] >> 1) % 6) {
        case 0:
            if (auto v = parseNumber(text, locale)) numberBack(*v, locale);
            break;
        case 1:
            numberBack(raw, locale);
            fixedMask(raw, (data[0] >> 4) % 8, locale);
            break;
        case 2:
            // Any mask with a value from the text's first bytes.
            if (text.size() > 8) (void)formatMask(raw, text.substr(8), locale);
            break;
        case 3:
            if (auto d = parseDate(text, locale)) {
                const auto back = parseDate(formatDate(*d, locale), locale);
                FUZZ_CHECK(back == d);
            }
            break;
        case 4:
            if (auto t = parseDateTime(text, locale)) {
                const std::string shown = formatDateTime(*t, locale);
                const auto back = parseDateTime(shown, locale);
                FUZZ_CHECK(back.has_value());
                FUZZ_CHECK(formatDateTime(*back, locale) == shown);
            }
            break;
        case 5: {
            // windows-1250 bytes to UTF-8 and back: every byte the code page
            // defines survives.
            const std::string utf8 = cp1250ToUtf8(text);
            const std::string back = utf8ToCp1250(utf8, '\x01');
            FUZZ_CHECK(back.size() == text.size());
            for (std::size_t i = 0; i < text.size(); ++i)
                if (back[i] != text[i]) FUZZ_CHECK(back[i] == '\x01');
            break;
        }
    }
    return 0;
}

#include "text/Locale.h"

namespace zorv {

std::string widenYear(const std::string& pattern) {
    std::string out;
    for (std::size_t i = 0; i < pattern.size();) {
        if (pattern[i] == 'y') {
            std::size_t j = i;
            while (j < pattern.size() && pattern[j] == 'y') ++j;
            out += "yyyy";
            i = j;
        } else {
            out += pattern[i++];
        }
    }
    return out;
}

Locale Locale::make(char decimalSeparator, std::string shortDatePattern, char thousandsSeparator) {
    Locale l;
    l.decimalSeparator = decimalSeparator;
    l.thousandsSeparator = thousandsSeparator ? thousandsSeparator : (decimalSeparator == ',' ? ' ' : ',');
    l.shortDatePattern = widenYear(shortDatePattern);
    return l;
}

Locale Locale::point() { return make('.', "M/d/yyyy", ','); }

Locale Locale::comma() { return make(',', "dd.MM.yyyy", ' '); }

}  // namespace zorv

#include "charts/ChartLayout.h"

#include <cmath>
#include <cstring>

namespace zorv {

namespace {

constexpr std::uint32_t rgb(unsigned r, unsigned g, unsigned b) { return r | (g << 8) | (b << 16); }

constexpr std::uint32_t kRed = rgb(255, 0, 0), kBlue = rgb(0, 0, 255), kYellow = rgb(255, 255, 0),
                        kLime = rgb(0, 255, 0), kMaroon = rgb(128, 0, 0);

}  // namespace

const std::array<SeriesDefault, kSeriesCount>& seriesDefaults() {
    static const std::array<SeriesDefault, kSeriesCount> list = {{
        {"Series1", SeriesType::Bar, kRed},
        {"Series2", SeriesType::Bar, kBlue},
        {"Series3", SeriesType::Bar, 4227072},
        {"Series4", SeriesType::Bar, 33023},
        {"Series5", SeriesType::Bar, 16744576},
        {"Series13", SeriesType::Bar, kYellow},
        {"Series14", SeriesType::Bar, kLime},
        {"Series6", SeriesType::Line, kYellow},
        {"Series7", SeriesType::Line, kLime},
        {"Series8", SeriesType::Line, kRed},
        {"Series9", SeriesType::Line, kBlue},
        {"Series12", SeriesType::Point, kRed},
        {"Series11", SeriesType::Line, kBlue},
        {"Series10", SeriesType::Point, kMaroon},
    }};
    return list;
}

int seriesIndex(const char* name) {
    const auto& list = seriesDefaults();
    for (int i = 0; i < kSeriesCount; ++i)
        if (std::strcmp(list[static_cast<std::size_t>(i)].name, name) == 0) return i;
    return -1;
}

LogRange logarithmicRange(double smallest, double largest) {
    // Whole decades around the values; below 1 the decade is taken downward,
    // so that values such as 0.3 stay inside the range.
    const double top = largest > 0.0 ? std::floor(std::log10(largest)) : 0.0;
    const double bottom = smallest > 0.0 ? std::floor(std::log10(smallest)) : 0.0;
    return {std::pow(10.0, bottom), std::pow(10.0, top + 1.0)};
}

std::string infoHintText(const std::vector<std::string>& section) {
    if (section.size() <= 2) return "Brak parametrów";
    std::string out;
    for (const std::string& line : section) {
        const auto first = line.find_first_not_of(" \t\r\n");
        const auto last = line.find_last_not_of(" \t\r\n");
        out += (first == std::string::npos ? std::string() : line.substr(first, last - first + 1)) + "\n";
    }
    out.back() = '|';
    return out;
}

}  // namespace zorv

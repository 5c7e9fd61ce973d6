#include "report/ReportWriter.h"

#include <chrono>
#include <cmath>
#include <ctime>

#include "catalogue/EnergyMagnitude.h"
#include "table/ValueText.h"
#include "text/AtomicFile.h"
#include "text/Cp1250.h"
#include "text/DateText.h"
#include "text/DateTimeText.h"
#include "text/Dates.h"
#include "text/LineFile.h"
#include "text/NumberFormat.h"

namespace zorv {

namespace {

double localNow() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return dayNumber(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday) +
           dayFraction({tm.tm_hour, tm.tm_min, tm.tm_sec, 0});
}

std::size_t utf8Length(std::string_view s) {
    std::size_t n = 0;
    for (char c : s)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

const Locale& localeOf(const ReportScope& a) { return a.settings.UserLocale; }

}  // namespace

std::function<double()> reportClock = localNow;

std::string ReportMarker(const ReportScope& analysis, const char* marker) {
    return analysis.settings.PrintMarkup ? std::string(marker) : std::string();
}

std::string ReportLabel(std::string_view label) {
    std::string out = "  ";
    out += label;
    for (std::size_t n = utf8Length(out); n < 36; ++n) out += ' ';
    return out;
}

void WriteReportTitle(const ReportScope& analysis, ReportLines& lines) {
    lines.clear();
    lines.push_back(ReportMarker(analysis, "<H1>"));
    lines.push_back(analysis.settings.MainTitle);
}

void WriteReportOpening(const ReportScope& analysis, ReportLines& lines, const std::string& heading) {
    WriteReportTitle(analysis, lines);
    lines.push_back(ReportMarker(analysis, "<H2>"));
    lines.push_back(heading);
    lines.push_back(ReportMarker(analysis, "<H3>"));
    lines.push_back(ReportLabel("Data utworzenia pliku:") +
                    formatDateTime(reportClock(), localeOf(analysis)));
    if (!analysis.settings.CoordinateSystem.empty())
        lines.push_back(ReportLabel("Układ współrzędnych X/Y:") + analysis.settings.CoordinateSystem);
}

void WriteCommonParameters(const ReportScope& analysis, ReportLines& lines, int count) {
    const Locale& loc = localeOf(analysis);
    lines.push_back(ReportLabel("Okres czasu:") + formatDateTime(analysis.firstDate, loc) + " do " +
                    formatDateTime(analysis.lastDate, loc));
    if (count >= 2)
        lines.push_back(ReportLabel("Próg kompletności katalogu:") +
                        FormatMagnitudeEnergy(analysis, analysis.settings.MMin));
    if (count >= 3)
        lines.push_back(ReportLabel("Zależność Energia - Magnituda:") +
                        "LogE = " + formatGeneral(analysis.settings.a, loc) + " · m + " +
                        formatGeneral(analysis.settings.b, loc));
}

void WriteTableHeader(const ReportScope& analysis, ReportLines& lines, const Table& table) {
    std::string line;
    for (const FieldDef& f : table.fields()) line += f.name + analysis.columnSeparator;
    lines.push_back(line);
}

void WriteTableRows(const ReportScope& analysis, ReportLines& lines, Table& table,
                    const std::vector<std::string>& dayNumberFields) {
    const AnalysisSettings& s = analysis.settings;
    const Locale& loc = localeOf(analysis);
    const std::string& sep = analysis.columnSeparator;
    std::vector<char> isDay(static_cast<std::size_t>(table.fieldCount()), 0);
    for (const std::string& name : dayNumberFields)
        if (const int f = table.fieldIndex(name); f >= 0) isDay[static_cast<std::size_t>(f)] = 1;
    const std::size_t n = table.recordCount();
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t row = table.rowOfRecord(i);
        std::string line;
        for (int f = 0; f < table.fieldCount(); ++f) {
            const FieldType type = table.field(f).type;
            const Column& c = table.column(f);
            if (isDay[static_cast<std::size_t>(f)] && !c.isNull(row)) {
                line += formatDate(static_cast<std::int32_t>(std::floor(c.numberAt(row))), loc);
            } else if (type == FieldType::Float && !c.isNull(row)) {
                const double v = c.doubles()[row];
                line += formatMask(v, v >= 100000.0 ? s.EnergyMask : s.ProbabilityMask, loc);
            } else {
                line += valueText(c.value(row), type, loc);
            }
            line += sep;
        }
        lines.push_back(std::move(line));
    }
    table.first();
}

std::string FormatMagnitudeEnergy(const ReportScope& analysis, double magnitude) {
    const AnalysisSettings& s = analysis.settings;
    return formatMask(magnitude, s.ProbabilityMask, localeOf(analysis)) + " (" +
           formatMask(EnergyMagnitudeRelation{s.a, s.b}.energyFromMagnitude(magnitude), s.EnergyMask,
                      localeOf(analysis)) +
           "[J])";
}

void ExtractReportSection(const ReportLines& report, const std::string& marker, ReportLines& out) {
    out.clear();
    for (std::size_t i = 0; i < report.size(); ++i) {
        if (report[i].compare(0, marker.size(), marker) != 0) continue;
        std::size_t j = i + 1;
        for (; j < report.size() && (report[j].empty() || report[j][0] != '<'); ++j) out.push_back(report[j]);
        i = j - 1;
    }
}

std::string withDefaultExtension(const std::string& fileName, const std::string& extension) {
    const auto slash = fileName.find_last_of('/');
    const auto dot = fileName.find_last_of('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) return fileName;
    return fileName + extension;
}

std::string SaveReportText(const ReportLines& lines, const std::string& fileName) {
    const std::string name = withDefaultExtension(fileName, ".txt");
    writeLines(name, lines);
    return name;
}

std::string reportRtf(const ReportLines& lines) {
    // Courier New, character set 238 (central European), 10 pt (\fs20).
    std::string out =
        "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fmodern\\fcharset238 Courier New;}}\r\n"
        "\\viewkind4\\uc1\\pard\\f0\\fs20 ";
    static const char* const hex = "0123456789abcdef";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        for (char ch : utf8ToCp1250(lines[i])) {
            const auto b = static_cast<unsigned char>(ch);
            if (ch == '\\' || ch == '{' || ch == '}') {
                out += '\\';
                out += ch;
            } else if (ch == '\t') {
                out += "\\tab ";
            } else if (b >= 0x80 || b < 0x20) {
                out += "\\'";
                out += hex[b >> 4];
                out += hex[b & 15];
            } else {
                out += ch;
            }
        }
        out += "\\par\r\n";
    }
    out += "}\r\n";
    return out;
}

std::string ExportReportRtf(const ReportLines& lines, const std::string& fileName) {
    const std::string name = withDefaultExtension(fileName, ".rtf");
    writeFileAtomically(name, reportRtf(lines));
    return name;
}

}  // namespace zorv

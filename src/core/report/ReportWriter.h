#pragma once
// Writing reports: the common header block, tables as TAB-separated text,
// section markers, and saving a report as text or RTF.
//
// A report is one list of lines in which section boundaries are marked by
// marker lines ("<H1>" title, "<H2>" chart header, "<H3>" parameters, "<p>"
// data table, "<H4>" comment). On screen the markers are empty lines; while
// printing (PrintMarkup) they carry their tags so the print composer can cut
// the report into sections.

#include <functional>
#include <string>
#include <string_view>

#include "report/ReportLines.h"
#include "report/ReportScope.h"
#include "table/Table.h"

namespace zorv {

// The marker line: the marker itself while printing, otherwise empty.
std::string ReportMarker(const ReportScope& analysis, const char* marker);

// A parameter label padded with blanks to 36 characters (two blanks, the
// label with its colon, blanks): the value starts in column 37.
std::string ReportLabel(std::string_view label);

// Empties the list, then appends the "<H1>" marker and the main title.
void WriteReportTitle(const ReportScope& analysis, ReportLines& lines);
// The common opening: title, "<H2>", heading, "<H3>", creation date.
void WriteReportOpening(const ReportScope& analysis, ReportLines& lines, const std::string& heading);
// The common parameter block: the period of the sample, then (count >= 2)
// the completeness threshold, then (count >= 3) the energy–magnitude relation.
void WriteCommonParameters(const ReportScope& analysis, ReportLines& lines, int count);

// One line: every field name followed by the column separator.
void WriteTableHeader(const ReportScope& analysis, ReportLines& lines, const Table& table);
// One line per record the table presents: floating values of 100000 or more
// with EnergyMask, smaller ones with ProbabilityMask, other fields in their
// ordinary text form, each followed by the column separator. Leaves the table
// on its first record.
void WriteTableRows(const ReportScope& analysis, ReportLines& lines, Table& table);

// "1.500 (1.12E+07[J])": the magnitude with ProbabilityMask and its energy
// with EnergyMask.
std::string FormatMagnitudeEnergy(const ReportScope& analysis, double magnitude);

// Empties `out` and fills it with the lines of every section that starts at
// a line beginning with `marker`, each up to the next line beginning "<".
void ExtractReportSection(const ReportLines& report, const std::string& marker, ReportLines& out);

// The local date and time reports are stamped with (day number); tests
// replace it.
extern std::function<double()> reportClock;

// Writes the report as windows-1250 text, lines ended by CR LF; ".txt" is
// appended to a name without extension. Returns the name written.
std::string SaveReportText(const ReportLines& lines, const std::string& fileName);
// The report as an RTF document in Courier New 10 pt, central-European
// character set. Returns the name written (".rtf" appended when needed).
std::string ExportReportRtf(const ReportLines& lines, const std::string& fileName);
// The RTF text of a report (windows-1250 bytes, escaped).
std::string reportRtf(const ReportLines& lines);

// The name with `extension` (".txt") appended when it has none.
std::string withDefaultExtension(const std::string& fileName, const std::string& extension);

}  // namespace zorv

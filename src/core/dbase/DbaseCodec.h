#pragma once
// Field values of dBase records.
//
// Levels III to V keep every value as text: C blank-padded on the right, N
// and F right-aligned decimal numbers, D "YYYYMMDD", L one of T F Y N (a
// blank or '?' is null); a blank N, F or D field is null. Level 7 adds binary
// forms, big-endian so that the bytes sort as the values do:
//   I, +  32-bit integer with the sign bit flipped;
//   O     double with the sign bit flipped when the sign bit is clear, all
//         bits inverted when it is set (so -0.0 stays apart from null);
//   @     double, not flipped, of milliseconds: day (0001-01-01 = day 1) x
//         86 400 000 + milliseconds of the day.
// All-zero bytes are null in the binary forms, which leaves -2^31 without an
// I form. Text is windows-1250 in the file and UTF-8 in the program.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "dbase/DbaseHeader.h"
#include "table/Value.h"

namespace zorv {

// ---- level-7 binary forms (4 bytes for Long, 8 for Double and Timestamp)
// putDbaseLong needs v != INT32_MIN (that form is null).
void putDbaseLong(std::int32_t v, unsigned char* out);
std::optional<std::int32_t> getDbaseLong(const unsigned char* in);
void putDbaseDouble(double v, unsigned char* out);
std::optional<double> getDbaseDouble(const unsigned char* in);
// `dateTime` is a day number with the time of day as fraction; throws
// TableError for a moment before 0001-01-01.
void putDbaseTimestamp(double dateTime, unsigned char* out);
std::optional<double> getDbaseTimestamp(const unsigned char* in);

// ---- text forms; blank text, and text that is no value (such as the
// asterisks some programs write on overflow), give nullopt.
std::optional<std::int64_t> parseDbaseInteger(std::string_view text);
// Whether an integer lies in the range of an integer field type.
bool fitsIntegerType(std::int64_t v, FieldType type);
std::optional<double> parseDbaseNumber(std::string_view text);
// "YYYYMMDD" to a day number.
std::optional<std::int32_t> parseDbaseDate(std::string_view text);
std::optional<bool> parseDbaseLogical(char c);

// Shortest text that reads back as `v` (finite), in fixed or exponent
// notation, the exponent without '+' and leading zeros ("6.5e-7").
std::string shortestDbaseNumber(double v);

// Text of windows-1250 field bytes as UTF-8, trailing blanks (and NULs)
// dropped. `scratch` is reused between calls; the result points into it or
// into `bytes`.
std::string_view dbaseText(std::string_view bytes, std::string& scratch);

// ---- whole fields. `in`/`out` point at the field's bytes in a record.
Value decodeDbaseField(const DbaseField& f, const unsigned char* in);
// Throws TableError naming the field when the value has no form in it: a
// number too wide or with more decimals than the field keeps, a date outside
// the years 1-9999, -2^31 in an I field, a value of the wrong kind.
void encodeDbaseField(const DbaseField& f, const Value& v, unsigned char* out);

// Pieces of encodeDbaseField, for writers that hold typed values.
void encodeDbaseBlank(const DbaseField& f, unsigned char* out);
void encodeDbaseText(const DbaseField& f, std::string_view cp1250, unsigned char* out);
void encodeDbaseInteger(const DbaseField& f, std::int64_t v, unsigned char* out);
void encodeDbaseReal(const DbaseField& f, double v, unsigned char* out);
void encodeDbaseDate(const DbaseField& f, std::int32_t dayNumber, unsigned char* out);
// Right-aligns ready number text in an N or F field.
void encodeDbaseNumberText(const DbaseField& f, std::string_view text, unsigned char* out);

// "'NAME' (N 9.2)", for messages.
std::string describeDbaseField(const DbaseField& f);

}  // namespace zorv

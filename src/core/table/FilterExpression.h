#pragma once
// A filter expression, parsed once against a table's fields and evaluated
// per record.
//
// Grammar (keywords and field names in any case):
//   expr    := or
//   or      := and { OR and }
//   and     := not { AND not }
//   not     := NOT not | cmp
//   cmp     := sum [ ( = | <> | < | > | <= | >= ) sum | IS [NOT] NULL ]
//   sum     := term { (+|-) term }
//   term    := unary { (*|/) unary }
//   unary   := - unary | primary
//   primary := number | 'text' | field | "field" | TRUE | FALSE | ( expr )
// Numbers use a point: 12, 0.5, .5, 1e-3, 2.5E+4. In a text literal ''
// stands for one apostrophe. A field name is a word of letters, digits and
// _, or any name in double quotes (for names with blanks or keyword names).
//
// Meaning:
// - Two-valued logic. A comparison with a null value is false, <> too, so
//   NOT (X > 5) holds for a null X; IS NULL and IS NOT NULL test nulls.
//   Arithmetic with a null, and a division by zero, give null.
// - Numbers compare by value whatever the field's width. A date or
//   date-time field holds a day number (days since 1899-12-30, the time of
//   day as fraction) and may be compared with a number or with a text
//   literal, which is then a date in the locale's short date format or ISO
//   yyyy-mm-dd, optionally followed by a blank and a time H:mm[:ss]. A time
//   field (fraction of a day) compares with a number or a literal H:mm[:ss].
//   A date plus or minus a number of days, or plus a time, is a date.
// - Text compares with text only, in character-code order. A text literal
//   ending in * compared with = or <> to a text field is a prefix match
//   ('G-1/*' is every text starting with G-1/); elsewhere * is an ordinary
//   character. With caseInsensitive, texts are compared case-folded (Polish
//   letters included).
// - A logical field is a condition by itself and compares with TRUE, FALSE
//   or another condition.
// - Comparing kinds that do not match (text with a number, a date with a
//   time of day, ...) is an error at parse time, as is a date literal that
//   does not read as a date.
// A FilterError carries the byte offset of the fault; its message names the
// character position counted from 1 and the cause, in Polish.
//
// select() decides a text test once per distinct text of the column and
// runs numeric comparisons straight over the column's storage; it reads the
// table as it is at the call, so edits between calls are seen.

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "text/Locale.h"

namespace zorv {

class Table;

class FilterExpression {
public:
    struct Options {
        bool caseInsensitive = true;
        Locale locale;
    };

    // Throws FilterError (with the position and the cause) for a syntax
    // error, an unknown field or a literal of the wrong kind.
    static std::shared_ptr<const FilterExpression> parse(std::string_view text, const Table& table,
                                                         const Options& options);

    virtual ~FilterExpression() = default;
    // Whether physical row `row` of `table` (the table it was parsed for)
    // passes. A comparison with a null value is false.
    virtual bool matches(const Table& table, std::size_t row) const = 0;
    // All physical rows that pass, ascending.
    virtual std::vector<std::uint32_t> select(const Table& table) const = 0;
    // The indexes of the fields it reads, ascending, each once.
    virtual std::vector<int> fields() const = 0;
};

}  // namespace zorv

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
//   primary := number | 'text' | field | ( expr )
// A text literal compared with a date field is a date in the locale's short
// date format (ISO yyyy-mm-dd accepted too). A text literal ending in * that
// is compared with = or <> to a text field is a prefix match. Text
// comparisons ignore case when the options say so.

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
};

}  // namespace zorv

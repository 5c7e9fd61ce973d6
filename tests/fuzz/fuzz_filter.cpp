// Filter expressions on a small table of every field type, nulls included.
//
// The input is the expression; its first byte also picks case folding and
// the locale. Properties: parsing either succeeds or throws FilterError;
// select() gives exactly the rows matches() accepts, ascending; the table's
// filtered view shows the same rows.

#include <vector>

#include "FuzzSupport.h"
#include "table/FilterExpression.h"
#include "table/TableError.h"

using namespace zorv;

namespace {

Table makeTable() {
    Table t({{"NAME", FieldType::String, 20},
             {"ZONE", FieldType::SmallInt},
             {"N", FieldType::Integer},
             {"E", FieldType::Float},
             {"DAY", FieldType::Date},
             {"AT", FieldType::DateTime},
             {"T", FieldType::Time},
             {"OK", FieldType::Boolean},
             {"BIG", FieldType::LargeInt},
             {"Pole z", FieldType::String, 10}});
    const Value null{};
    t.appendRecord({Value::text("G-1/7"), Value::integer(1), Value::integer(12), Value::real(1.5e5),
                    Value::date(45000), Value::dateTime(45000.25), Value::time(0.5), Value::boolean(true),
                    Value::integer(1LL << 40), Value::text("Łódź")});
    t.appendRecord({Value::text("g-1/8"), Value::integer(-3), null, Value::real(-0.0), Value::date(1), null,
                    Value::time(0.0), Value::boolean(false), Value::integer(-7), Value::text("łódź")});
    t.appendRecord(
        {null, null, Value::integer(2147483647), null, null, Value::dateTime(0.75), null, null, null, null});
    t.appendRecord({Value::text(""), Value::integer(0), Value::integer(-2147483647), Value::real(1e308),
                    Value::date(2958465), Value::dateTime(-1.5), Value::time(0.999), Value::boolean(true),
                    Value::integer(0), Value::text("a'b")});
    t.appendRecord({Value::text("ZĄB *"), Value::integer(32767), Value::integer(5), Value::real(5),
                    Value::date(-657434), Value::dateTime(45000.0), Value::time(1.0 / 3), null,
                    Value::integer(5), Value::text("*")});
    return t;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Table table = makeTable();
    if (size == 0) return 0;
    FilterExpression::Options options;
    options.caseInsensitive = (data[0] & 1) != 0;
    options.locale = (data[0] & 2) != 0 ? Locale::comma() : Locale::point();
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::shared_ptr<const FilterExpression> expr;
    try {
        expr = FilterExpression::parse(text, table, options);
    } catch (const FilterError&) {
        return 0;
    }
    FUZZ_CHECK(expr != nullptr);
    std::vector<std::uint32_t> expected;
    for (std::size_t r = 0; r < table.physicalCount(); ++r)
        if (expr->matches(table, r)) expected.push_back(static_cast<std::uint32_t>(r));
    FUZZ_CHECK(expr->select(table) == expected);

    table.setLocale(options.locale);
    table.setCaseInsensitiveFilter(options.caseInsensitive);
    table.setFilter(std::string(text));
    table.setFiltered(true);
    FUZZ_CHECK(table.recordCount() == expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) FUZZ_CHECK(table.rowOfRecord(i) == expected[i]);
    table.setFiltered(false);
    return 0;
}

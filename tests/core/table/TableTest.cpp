// The in-memory table: appending, auto-increment and navigation, text
// clipping, range and kind checks, bookmarks, read-only tables and copies.

#include <gtest/gtest.h>

#include "table/Table.h"
#include "table/TableError.h"

namespace zorv {
namespace {

Table smallTable() {
    Table t({{"NUMER", FieldType::AutoInc}, {"NAZWA", FieldType::String, 8}, {"X", FieldType::Integer}});
    for (int i = 0; i < 5; ++i)
        t.appendRecord({Value{}, Value::text("R" + std::to_string(i)), Value::integer(i * 10)});
    return t;
}

TEST(Table, AppendNumbersAutoIncAndNavigates) {
    Table t = smallTable();
    EXPECT_EQ(t.recordCount(), 5u);
    t.first();
    EXPECT_TRUE(t.bof());
    EXPECT_FALSE(t.eof());
    EXPECT_EQ(t.fieldValue("numer"), Value::integer(1));
    t.last();
    EXPECT_EQ(t.recNo(), 5u);
    EXPECT_EQ(t.fieldValue(0), Value::integer(5));
    t.next();
    EXPECT_TRUE(t.eof());
    EXPECT_EQ(t.recNo(), 5u);
    int visited = 0;
    for (t.first(); !t.eof(); t.next()) ++visited;
    EXPECT_EQ(visited, 5);
}

TEST(Table, TextIsClippedToFieldSize) {
    Table t({{"S", FieldType::String, 3}});
    t.appendRecord({Value::text("abcdef")});
    EXPECT_EQ(t.fieldValue(0), Value::text("abc"));
}

TEST(Table, RangeAndKindAreChecked) {
    Table t({{"S", FieldType::SmallInt}, {"W", FieldType::Word}});
    EXPECT_THROW(t.appendRecord({Value::integer(40000)}), TableError);
    EXPECT_THROW(t.appendRecord({Value::integer(1), Value::integer(-1)}), TableError);
    EXPECT_THROW(t.appendRecord({Value::text("1")}), TableError);
    EXPECT_EQ(t.recordCount(), 0u);
    EXPECT_EQ(t.state(), Table::State::Browse);
}

TEST(Table, BookmarkFailsClearlyAfterDelete) {
    Table t = smallTable();
    t.setRecNo(3);
    const Bookmark b = t.bookmark();
    t.first();
    t.gotoBookmark(b);
    EXPECT_EQ(t.fieldValue("NAZWA"), Value::text("R2"));
    t.deleteRecord();
    EXPECT_FALSE(t.bookmarkValid(b));
    EXPECT_THROW(t.gotoBookmark(b), TableError);
    EXPECT_EQ(t.recordCount(), 4u);
    EXPECT_EQ(t.fieldValue("NAZWA"), Value::text("R3"));
}

TEST(Table, ReadOnlyRefusesEdits) {
    Table t = smallTable();
    t.setReadOnly(true);
    EXPECT_THROW(t.append(), TableError);
    EXPECT_THROW(t.edit(), TableError);
    EXPECT_THROW(t.deleteRecord(), TableError);
}

TEST(Table, CopyViewKeepsOrderAndNulls) {
    Table t({{"A", FieldType::Float}, {"B", FieldType::String, 10}});
    t.appendRecord({Value::real(1.5), Value::text("x")});
    t.appendRecord({Value{}, Value::text("y")});
    Table c = t.copyView();
    ASSERT_EQ(c.recordCount(), 2u);
    EXPECT_EQ(c.value(0, 0), Value::real(1.5));
    EXPECT_TRUE(c.value(1, 0).isNull());
    EXPECT_EQ(c.value(1, 1), Value::text("y"));
    EXPECT_EQ(c.fields(), t.fields());
}

}  // namespace
}  // namespace zorv

// Deleting, editing and appending records of an open dBase file, checked by
// reading the file again (and, where the bytes matter, by its bytes).

#include <gtest/gtest.h>

#include "dbase/DbaseFile.h"
#include "dbase/DbaseTestFiles.h"
#include "table/TableError.h"
#include "text/Dates.h"

namespace zorv {
namespace {

Table catalogue() {
    Table t({{"ODDZIAL", FieldType::String, 10},
             {"X", FieldType::Integer},
             {"ENG", FieldType::Float},
             {"NR", FieldType::AutoInc}});
    for (int i = 1; i <= 5; ++i)
        t.appendRecord(
            {Value::text("G-" + std::to_string(i)), Value::integer(i * 100), Value::real(i * 1.5e3)});
    return t;
}

std::vector<std::int64_t> column(const Table& t, int f) {
    std::vector<std::int64_t> v;
    for (std::size_t r = 0; r < t.recordCount(); ++r) v.push_back(t.value(r, f).toInt());
    return v;
}

TEST_F(DbaseFiles, StoreDeleteEditAndAppendReachTheFile) {
    const std::string file = path("katalog.dbf");
    writeDbase(catalogue(), file);
    const auto t = openDbase(file, true);
    const std::size_t headerLength = 68 + 4 * 48 + 1, recordLength = 1 + 10 + 4 + 8 + 4;

    t->setRecNo(2);
    t->deleteRecord();
    EXPECT_EQ(column(readDbase(file), 1), (std::vector<std::int64_t>{100, 300, 400, 500}));
    std::string bytes = slurp(file);
    EXPECT_EQ(bytes[headerLength + recordLength], '*');
    EXPECT_EQ(le32(bytes, 4), 5u);

    // The third record of the table is the fourth of the file now.
    t->setRecNo(3);
    t->edit();
    t->setFieldValue("X", Value::integer(-7));
    t->setFieldValue("ODDZIAL", Value::text("Ł-4/2"));
    t->post();
    Table back = readDbase(file);
    EXPECT_EQ(column(back, 1), (std::vector<std::int64_t>{100, 300, -7, 500}));
    EXPECT_EQ(back.value(2, 0), Value::text("Ł-4/2"));
    EXPECT_EQ(back.value(2, 2), Value::real(6e3));

    t->appendRecord({Value::text("G-6"), Value::integer(600), Value::real(0.25)});
    back = readDbase(file);
    EXPECT_EQ(column(back, 1), (std::vector<std::int64_t>{100, 300, -7, 500, 600}));
    EXPECT_EQ(column(back, 3), (std::vector<std::int64_t>{1, 3, 4, 5, 6}));
    EXPECT_EQ(back.value(4, 2), Value::real(0.25));
    bytes = slurp(file);
    EXPECT_EQ(le32(bytes, 4), 6u);
    EXPECT_EQ(bytes.size(), headerLength + 6 * recordLength + 1);
    EXPECT_EQ(bytes.back(), '\x1A');
    // Next autoincrement value of NR, for other programs.
    EXPECT_EQ(le32(bytes, 68 + 3 * 48 + 40), 7u);
}

TEST_F(DbaseFiles, StoreEditKeepsTheBytesOfUnchangedFields) {
    // The third record holds "****" (overflow) and "abc": no values, null in
    // the table; editing the name must not blank them.
    const std::string file = copyFixture("dbase3_types.dbf");
    const std::string before = slurp(file);
    const std::size_t headerLength = le16(before, 8), recordLength = le16(before, 10);
    const auto t = openDbase(file, true);
    t->setRecNo(3);
    t->edit();
    t->setFieldValue("NAZWA", Value::text("ślimak"));
    t->post();
    const std::string after = slurp(file);
    const std::size_t at = headerLength + 3 * recordLength;
    EXPECT_EQ(after.substr(at + 11), before.substr(at + 11));
    EXPECT_EQ(after.substr(at, 11), std::string(" \x9Climak    "));
    EXPECT_EQ(after.substr(0, at).substr(4), before.substr(0, at).substr(4));  // date bytes aside
    EXPECT_EQ(readDbase(file).value(2, 0), Value::text("ślimak"));
}

TEST_F(DbaseFiles, StoreMemoFieldsKeepTheirBlockNumbers) {
    const std::string file = copyFixture("level7_types.dbf");
    const auto t = openDbase(file, true);
    t->edit();
    t->setFieldValue("SZT", Value::integer(-5));
    t->post();
    const std::string bytes = slurp(file);
    const std::size_t headerLength = le16(bytes, 8);
    // OPIS lies after the delete flag and 12+4+4+8+8+8+1 bytes.
    EXPECT_EQ(bytes.substr(headerLength + 1 + 45, 10), "         1");
    EXPECT_EQ(readDbase(file).value(0, 9), Value::integer(-5));
    t->edit();
    EXPECT_THROW(
        {
            t->setFieldValue("OPIS", Value::text("nowa notatka"));
            t->post();
        },
        TableError);
    t->cancel();
    EXPECT_EQ(slurp(file), bytes);
}

TEST_F(DbaseFiles, StoreValueWithoutAFormChangesNeitherTableNorFile) {
    const std::string file = copyFixture("dbase3_types.dbf");
    const std::string before = slurp(file);
    const auto t = openDbase(file, true);
    struct Case {
        const char* name;
        const char* field;
        Value value;
    };
    // MALA is N 4.0 (SmallInt), KWOTA N 12.3.
    const Case cases[] = {
        {"five digits in four characters", "MALA", Value::integer(12345)},
        {"more decimals than the field keeps", "KWOTA", Value::real(1.23456)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Value was = t->fieldValue(c.field);
        t->edit();
        t->setFieldValue(c.field, c.value);
        EXPECT_THROW(t->post(), TableError);
        t->cancel();
        EXPECT_EQ(t->fieldValue(c.field), was);
        EXPECT_THROW(t->appendRecord({Value::text("x"), Value{}, Value{}, Value::integer(12345)}),
                     TableError);
        EXPECT_EQ(t->recordCount(), 4u);
        EXPECT_EQ(slurp(file), before);
    }
    // A value that fits goes in; the file had no end-of-file marker and gets one.
    t->appendRecord({Value::text("nowy"), Value::integer(1), Value{}, Value::integer(9999)});
    const std::string after = slurp(file);
    EXPECT_EQ(le32(after, 4), 6u);
    EXPECT_EQ(after.size(), before.size() + le16(before, 10) + 1);
    EXPECT_EQ(after.back(), '\x1A');
    EXPECT_EQ(readDbase(file).value(4, 3), Value::integer(9999));
}

TEST_F(DbaseFiles, StoreReadOnlyTableRefusesEdits) {
    const std::string file = copyFixture("level7_types.dbf");
    const std::string before = slurp(file);
    const auto t = openDbase(file, false);
    EXPECT_TRUE(t->readOnly());
    EXPECT_EQ(t->store(), nullptr);
    EXPECT_THROW(t->deleteRecord(), TableError);
    EXPECT_THROW(t->append(), TableError);
    EXPECT_EQ(slurp(file), before);
}

}  // namespace
}  // namespace zorv

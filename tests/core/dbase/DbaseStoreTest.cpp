// Deleting, editing and appending records of an open dBase file, checked by
// reading the file again (and, where the bytes matter, by its bytes).

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <algorithm>
#include <functional>
#include <stdexcept>

#include "dbase/DbaseFile.h"
#include "dbase/DbaseStore.h"
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

// The store of an open table, whose file access a test can replace.
DbaseStore& storeOf(Table& t) {
    auto* store = dynamic_cast<DbaseStore*>(t.store());
    if (!store) throw std::logic_error("no dBase store");
    return *store;
}

// Records every write (offset and size) and flush of a store, passing them on.
struct IoLog {
    std::vector<std::string> ops;
    void attach(DbaseStore& store) {
        const DbaseFileOps real = store.fileOps();
        store.setFileOps({[this, real](const void* data, std::size_t size, std::uint64_t offset) {
                              ops.push_back("write " + std::to_string(offset) + " " + std::to_string(size));
                              real.write(data, size, offset);
                          },
                          [this, real] {
                              ops.push_back("sync");
                              real.sync();
                          }});
    }
    std::ptrdiff_t indexOf(const std::string& op) const {
        const auto it = std::find(ops.begin(), ops.end(), op);
        return it == ops.end() ? -1 : it - ops.begin();
    }
};

// An append reaches the disk record first, count second, each flushed; an
// edit and a delete are flushed before the store returns.
TEST_F(DbaseFiles, StoreEditsReachTheDiskInOrder) {
    const std::string file = path("katalog.dbf");
    writeDbase(catalogue(), file);
    const auto t = openDbase(file, true);
    const std::size_t headerLength = 68 + 4 * 48 + 1, recordLength = 1 + 10 + 4 + 8 + 4;
    IoLog log;
    log.attach(storeOf(*t));

    t->appendRecord({Value::text("G-6"), Value::integer(600), Value::real(0.25)});
    const auto record = log.indexOf("write " + std::to_string(headerLength + 5 * recordLength) + " " +
                                    std::to_string(recordLength + 1));
    const auto count = log.indexOf("write 4 4");
    ASSERT_GE(record, 0);
    ASSERT_GE(count, 0);
    EXPECT_EQ(log.ops[static_cast<std::size_t>(record + 1)], "sync");
    EXPECT_LT(record + 1, count);
    EXPECT_EQ(log.ops[static_cast<std::size_t>(count + 1)], "sync");

    for (const auto& edit : std::vector<std::function<void()>>{[&] {
                                                                   t->edit();
                                                                   t->setFieldValue("X", Value::integer(5));
                                                                   t->post();
                                                               },
                                                               [&] { t->deleteRecord(); }}) {
        log.ops.clear();
        edit();
        ASSERT_GE(log.ops.size(), 2u);
        EXPECT_EQ(log.ops[0].rfind("write ", 0), 0u);
        EXPECT_EQ(log.ops[1], "sync");
    }
}

// Writes and flushes that fail, at every step of every edit: the file keeps
// its bytes and the table its records, and the table stays editable.
TEST_F(DbaseFiles, StoreFailedWriteLeavesFileAndTableAsTheyWere) {
    struct Failure {
        const char* name;
        std::function<void(Table&)> edit;
        int failingOp;  // 0-based among writes and flushes of the edit
    };
    const auto append = [](Table& t) { t.appendRecord({Value::text("G-6"), Value::integer(600)}); };
    const auto update = [](Table& t) {
        t.edit();
        t.setFieldValue("X", Value::integer(-1));
        t.post();
    };
    const auto remove = [](Table& t) { t.deleteRecord(); };
    // Append: record, flush, count, flush (then hints). Edit and delete:
    // record or flag, flush.
    const Failure failures[] = {
        {"append: record half written", append, 0}, {"append: record not flushed", append, 1},
        {"append: count half written", append, 2},  {"append: count not flushed", append, 3},
        {"edit: record half written", update, 0},   {"edit: not flushed", update, 1},
        {"delete: flag not written", remove, 0},    {"delete: not flushed", remove, 1},
    };
    for (const Failure& c : failures) {
        SCOPED_TRACE(c.name);
        const std::string file = path("katalog.dbf");
        writeDbase(catalogue(), file);
        const std::string before = slurp(file);
        const auto t = openDbase(file, true);
        DbaseStore& store = storeOf(*t);
        const DbaseFileOps real = store.fileOps();
        int op = 0;
        store.setFileOps({[&, real](const void* data, std::size_t size, std::uint64_t offset) {
                              if (op++ == c.failingOp) {
                                  real.write(data, (size + 1) / 2, offset);
                                  throw TableError("Błąd zapisu pliku: brak miejsca na dysku.");
                              }
                              real.write(data, size, offset);
                          },
                          [&, real] {
                              if (op++ == c.failingOp)
                                  throw TableError("Błąd zapisu pliku: błąd wejścia-wyjścia.");
                              real.sync();
                          }});
        t->setRecNo(2);
        EXPECT_THROW(c.edit(*t), TableError);
        t->cancel();
        EXPECT_EQ(slurp(file), before);
        EXPECT_EQ(t->recordCount(), 5u);
        EXPECT_EQ(t->value(1, 1), Value::integer(200));
        EXPECT_FALSE(t->readOnly());
        store.setFileOps(real);
        update(*t);
        EXPECT_EQ(readDbase(file).value(1, 1), Value::integer(-1));
    }
}

// When the old bytes cannot be put back either, the table turns read-only.
TEST_F(DbaseFiles, StoreThatCannotRestoreTurnsReadOnly) {
    const std::string file = path("katalog.dbf");
    writeDbase(catalogue(), file);
    const auto t = openDbase(file, true);
    storeOf(*t).setFileOps({[](const void*, std::size_t, std::uint64_t) {
                                throw TableError("Błąd zapisu pliku: błąd wejścia-wyjścia.");
                            },
                            [] {}});
    t->edit();
    t->setFieldValue("X", Value::integer(-1));
    try {
        t->post();
        ADD_FAILURE() << "posted";
    } catch (const TableError& e) {
        EXPECT_NE(std::string(e.what()).find("tylko do odczytu"), std::string::npos) << e.what();
    }
    t->cancel();
    EXPECT_TRUE(t->readOnly());
    EXPECT_THROW(t->deleteRecord(), TableError);
    EXPECT_THROW(t->append(), TableError);
}

// A real write cut short (a file size limit stands in for a full disk): the
// end-of-file marker the record began to overwrite is back.
TEST_F(DbaseFiles, StoreAppendCutShortByTheSystemIsUndone) {
    const std::string file = path("katalog.dbf");
    writeDbase(catalogue(), file);
    const std::string before = slurp(file);
    const auto t = openDbase(file, true);
    const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    rlimit was{};
    ::getrlimit(RLIMIT_FSIZE, &was);
    rlimit limit = was;
    limit.rlim_cur = before.size();
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::string message;
    try {
        t->appendRecord({Value::text("G-6"), Value::integer(600)});
    } catch (const TableError& e) {
        message = e.what();
    }
    ::setrlimit(RLIMIT_FSIZE, &was);
    ::signal(SIGXFSZ, oldHandler);
    EXPECT_NE(message.find("przekroczył dopuszczalny rozmiar"), std::string::npos) << message;
    EXPECT_EQ(slurp(file), before);
    EXPECT_EQ(t->recordCount(), 5u);
}

}  // namespace
}  // namespace zorv

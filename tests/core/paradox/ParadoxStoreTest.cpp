// Edits of an open Paradox table reaching the file, checked by reading the
// file again. Fixtures: tests/data/paradox/make_fixtures.py.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "TestFiles.h"
#include "paradox/ParadoxFile.h"
#include "table/TableError.h"

namespace zorv {
namespace {

namespace fs = std::filesystem;

unsigned u16At(const std::string& b, std::size_t at) {
    return static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8;
}

// The records of a table file as stored, in block-chain order.
std::vector<std::string> rawRecords(const fs::path& p) {
    const std::string b = slurp(p);
    const unsigned recordSize = u16At(b, 0);
    const std::size_t headerSize = u16At(b, 2);
    const std::size_t blockSize = static_cast<unsigned char>(b[5]) * 1024u;
    std::vector<std::string> out;
    for (unsigned block = u16At(b, 0x0E); block != 0;) {
        const std::size_t at = headerSize + (block - 1) * blockSize;
        const int used = static_cast<std::int16_t>(u16At(b, at + 4));
        for (int i = 0; i <= used / static_cast<int>(recordSize); ++i)
            out.push_back(b.substr(at + 6 + static_cast<std::size_t>(i) * recordSize, recordSize));
        block = u16At(b, at);
    }
    return out;
}

class ParadoxStore : public ScratchDirTest {
protected:
    fs::path copy(const std::string& fixture) const { return copyFixture("paradox", fixture); }
};

TEST_F(ParadoxStore, DeleteUpdateAndAppendReachTheFile) {
    const fs::path file = copy("types.db");
    auto t = openParadox(file.string(), true);
    const int nr = t->fieldIndex("NR"), x = t->fieldIndex("X"), zone = t->fieldIndex("STREFA");

    t->setRecNo(3);
    t->deleteRecord();
    Table disk = readParadox(file.string());
    ASSERT_EQ(disk.recordCount(), 24u);
    EXPECT_EQ(disk.value(1, nr), Value::integer(2));
    EXPECT_EQ(disk.value(2, nr), Value::integer(4));

    t->setRecNo(1);
    t->edit();
    t->setFieldValue(x, Value::integer(-42));
    t->setFieldValue(zone, Value::text("Ćma/ż"));
    t->post();
    disk = readParadox(file.string());
    EXPECT_EQ(disk.value(0, x), Value::integer(-42));
    EXPECT_EQ(disk.value(0, zone), Value::text("Ćma/ż"));
    EXPECT_EQ(disk.value(1, x), Value::integer(-2147483647));

    t->appendRecord({Value::text("Nowa"), Value::date(45000)});
    disk = readParadox(file.string());
    ASSERT_EQ(disk.recordCount(), 25u);
    EXPECT_EQ(disk.value(24, zone), Value::text("Nowa"));
    EXPECT_EQ(disk.value(24, t->fieldIndex("DATA")), Value::date(45000));
    EXPECT_EQ(disk.value(24, nr), Value::integer(26));  // numbered by the table: largest + 1
    EXPECT_TRUE(disk.value(24, x).isNull());
    // The header's counter follows, so another program numbers on from 26.
    const std::string bytes = slurp(file);
    EXPECT_EQ(u16At(bytes, 0x49) | u16At(bytes, 0x4B) << 16, 26u);
}

// A Paradox number as stored: big-endian, sign bit set for positive values.
std::string pxNumber(double v) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    bits = v >= 0 ? bits ^ (std::uint64_t{1} << 63) : ~bits;
    std::string out(8, '\0');
    for (int i = 0; i < 8; ++i) out[static_cast<std::size_t>(i)] = static_cast<char>(bits >> (56 - 8 * i));
    return out;
}

// Timestamps another program wrote with a fraction of a millisecond: the
// table shows what its rewrites store, so rewriting changes nothing.
TEST_F(ParadoxStore, TimestampFractionsReadAsTheRewriteStoresThem) {
    const fs::path file = path("czas.db");
    const double day = 45000;  // 2023-03-15
    Table t({{"KIEDY", FieldType::DateTime}, {"X", FieldType::Integer}});
    for (const double ms : {1234.0, 86399999.0, 7.0})
        t.appendRecord({Value::dateTime(day + ms / 86400000), Value::integer(1)});
    writeParadox(t, file.string());
    // Milliseconds from 0000-12-31: 1-01-01 is day 1, day number 0 is 693594.
    const double dayMs = (day + 693594) * 86400000;
    std::string bytes = slurp(file);
    for (const auto& [was, now] : {std::pair{1234.0, 1234.6}, {86399999.0, 86399999.5}, {7.0, 7.4}}) {
        const std::size_t at = bytes.find(pxNumber(dayMs + was));
        ASSERT_NE(at, std::string::npos) << was;
        bytes.replace(at, 8, pxNumber(dayMs + now));
    }
    std::ofstream(file, std::ios::binary) << bytes;

    const auto open = openParadox(file.string(), true);
    const std::vector<Value> shown = {open->value(0, 0), open->value(1, 0), open->value(2, 0)};
    EXPECT_EQ(shown[0], Value::dateTime(day + 1235.0 / 86400000));
    EXPECT_EQ(shown[1], Value::dateTime(day + 1));
    EXPECT_EQ(shown[2], Value::dateTime(day + 7.0 / 86400000));
    for (int edit = 0; edit < 3; ++edit) {
        open->setRecNo(3);
        open->edit();
        open->setFieldValue("X", Value::integer(edit));
        open->post();
        const Table disk = readParadox(file.string());
        for (std::size_t r = 0; r < 3; ++r) {
            EXPECT_EQ(disk.value(r, 0), shown[r]) << r;
            EXPECT_EQ(open->value(r, 0), shown[r]) << r;
        }
    }
}

TEST_F(ParadoxStore, RecordsNotEditedKeepEveryByte) {
    // Memo, BCD and bytes fields are not read, yet an edit must not lose them;
    // and re-encoding what was read must give back the same bytes.
    const fs::path file = copy("types.db");
    const std::vector<std::string> before = rawRecords(file);
    auto t = openParadox(file.string(), true);
    t->setRecNo(2);
    t->edit();
    t->setFieldValue("GODZ", Value::integer(12));
    t->post();
    const std::vector<std::string> after = rawRecords(file);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i)
        if (i != 1) {
            EXPECT_EQ(after[i], before[i]) << "record " << i + 1;
        }
    // GODZ, a short, lies at bytes 20..21 of the record.
    EXPECT_EQ(after[1].substr(0, 20), before[1].substr(0, 20));
    EXPECT_EQ(after[1].substr(20, 2), std::string("\x80\x0C", 2));
    EXPECT_EQ(after[1].substr(22), before[1].substr(22));
}

TEST_F(ParadoxStore, RefusedEditsChangeNeitherTableNorFile) {
    struct Case {
        const char* name;
        const char* fixture;
        bool writable;
        std::function<void(Table&)> edit;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"keyed table", "keyed.db", true, [](Table& t) { t.deleteRecord(); }, "klucz"},
        {"opened read-only", "format4.db", false, [](Table& t) { t.deleteRecord(); }, "tylko do odczytu"},
        {"value the field cannot hold", "types.db", true,
         [](Table& t) {
             t.edit();
             t.setFieldValue("GODZ", Value::integer(-32768));
             t.post();
         },
         "spoza zakresu"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path file = copy(c.fixture);
        const std::string before = slurp(file);
        auto t = openParadox(file.string(), c.writable);
        const std::size_t count = t->recordCount();
        std::vector<Value> first;
        for (int f = 0; f < t->fieldCount(); ++f) first.push_back(t->value(0, f));
        try {
            c.edit(*t);
            ADD_FAILURE() << "no exception";
        } catch (const TableError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
        t->cancel();
        EXPECT_EQ(t->recordCount(), count);
        for (int f = 0; f < t->fieldCount(); ++f)
            EXPECT_EQ(t->value(0, f), first[static_cast<std::size_t>(f)]);
        EXPECT_EQ(slurp(file), before);
        fs::remove(file);
    }
}

}  // namespace
}  // namespace zorv

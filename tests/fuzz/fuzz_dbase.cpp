// dBase reader, store and writer on arbitrary files.
//
// Properties: a file that reads (from memory) is written back at level 7 and as dBase III;
// a written file reads alike from the file and from its bytes, and writing what was read gives the same
// records again (a second round trip changes nothing). A write that is refused leaves no file behind. The
// file opened for writing takes an edit, a delete and an append in place, and reading the file afterwards
// gives exactly the records the open table shows.

#include <filesystem>
#include <vector>

#include "FuzzSupport.h"
#include "dbase/DbaseFile.h"
#include "table/TableError.h"

using namespace zorv;
using zorv::fuzz::sameRecords;

namespace {

// Writes `t` at `level`; returns whether the file was written.
bool tryWrite(const Table& t, const std::string& path, DbaseLevel level) {
    std::filesystem::remove(path);
    try {
        writeDbase(t, path, level);
        return true;
    } catch (const TableError&) {
        FUZZ_CHECK(!std::filesystem::exists(path));
        return false;
    }
}

void roundTrip(const Table& t, DbaseLevel level) {
    const std::string first = fuzz::scratchFile("first.dbf");
    const std::string second = fuzz::scratchFile("second.dbf");
    if (!tryWrite(t, first, level)) return;
    Table once = readDbase(first);
    FUZZ_CHECK(once.recordCount() == t.recordCount());
    FUZZ_CHECK(sameRecords(once, readDbaseMemory(fuzz::fileBytes(first), first)));
    FUZZ_CHECK(tryWrite(once, second, level));
    Table twice = readDbase(second);
    FUZZ_CHECK(sameRecords(once, twice));
}

// Some value of field `f` for an edit: another record's, else null.
Value otherValue(const Table& t, int f) {
    if (t.recordCount() > 1) return t.value(t.rowOfRecord(t.recordCount() - 1), f);
    return Value();
}

void editInPlace(const std::uint8_t* data, std::size_t size) {
    const std::string work = fuzz::scratchFile("work.dbf");
    fuzz::writeBytes(work, data, size);
    std::unique_ptr<Table> t;
    try {
        t = openDbase(work, true);
    } catch (const TableError&) {
        return;
    }
    auto attempt = [&](auto&& change) {
        try {
            change();
        } catch (const TableError&) {
            if (t->state() != Table::State::Browse) t->cancel();
        }
    };
    if (!t->isEmpty()) {
        attempt([&] {
            t->first();
            t->edit();
            for (int f = 0; f < t->fieldCount(); ++f)
                if (t->field(f).type != FieldType::AutoInc) t->setFieldValue(f, otherValue(*t, f));
            t->post();
        });
    }
    if (t->recordCount() > 1) {
        attempt([&] {
            t->last();
            t->deleteRecord();
        });
    }
    attempt([&] {
        std::vector<Value> values(static_cast<std::size_t>(t->fieldCount()));
        if (!t->isEmpty())
            for (int f = 0; f < t->fieldCount(); ++f)
                if (t->field(f).type != FieldType::AutoInc)
                    values[static_cast<std::size_t>(f)] = t->value(t->rowOfRecord(0), f);
        t->appendRecord(values);
    });
    Table fromFile = readDbase(work);
    FUZZ_CHECK(sameRecords(*t, fromFile));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Table t;
    try {
        t = readDbaseMemory(fuzz::bytesOf(data, size), "in.dbf");
    } catch (const TableError&) {
        return 0;
    }
    roundTrip(t, DbaseLevel::Level7);
    roundTrip(t, DbaseLevel::DBase3);
    editInPlace(data, size);
    return 0;
}

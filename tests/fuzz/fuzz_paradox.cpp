// Paradox reader and writer on arbitrary files.
//
// Properties: a file that reads (from memory) is written back; the written
// file reads alike from the file and from its bytes, and
// writing what was read gives the same records again. A write that is
// refused leaves no file behind.

#include <filesystem>

#include "FuzzSupport.h"
#include "paradox/ParadoxFile.h"
#include "table/TableError.h"

using namespace zorv;

namespace {

bool tryWrite(const Table& t, const std::string& path) {
    std::filesystem::remove(path);
    try {
        writeParadox(t, path);
        return true;
    } catch (const TableError&) {
        FUZZ_CHECK(!std::filesystem::exists(path));
        return false;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Table t;
    try {
        t = readParadoxMemory(fuzz::bytesOf(data, size), "in.db");
    } catch (const TableError&) {
        return 0;
    }
    const std::string first = fuzz::scratchFile("first.db");
    const std::string second = fuzz::scratchFile("second.db");
    if (!tryWrite(t, first)) return 0;
    Table once = readParadox(first);
    FUZZ_CHECK(once.recordCount() == t.recordCount());
    FUZZ_CHECK(fuzz::sameRecords(once, readParadoxMemory(fuzz::fileBytes(first), first)));
    FUZZ_CHECK(tryWrite(once, second));
    Table twice = readParadox(second);
    FUZZ_CHECK(fuzz::sameRecords(once, twice));
    return 0;
}

// The block reader against pxlib's record access, record by record and byte
// by byte: on the sample catalogue (many blocks), on the fuzz corpus and on
// the readable fixtures (a chain out of file order, an empty block in the
// chain, a keyed table, format 4.0).

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "paradox/BlockRecords.h"
#include "paradox/PxDocument.h"
#include "table/TableError.h"

namespace zorv::paradox {
namespace {

// Compares every record; returns the number compared.
std::size_t compareWithPxlib(const std::string& file) {
    std::string bytes = slurp(file);
    const ParadoxLayout layout = checkParadoxFile(bytes, file);
    PxDocument doc;
    EXPECT_TRUE(doc.openMemory(bytes)) << doc.error();
    EXPECT_TRUE(doc.agreesWith(layout));
    BlockRecords records(bytes, layout);
    std::vector<char> expected(static_cast<std::size_t>(layout.recordSize));
    std::size_t n = 0;
    for (; n < static_cast<std::size_t>(layout.recordCount); ++n) {
        const char* got = records.next();
        if (got == nullptr) {
            ADD_FAILURE() << "the reader stopped at record " << n;
            return n;
        }
        EXPECT_TRUE(doc.readRecord(static_cast<int>(n), expected.data())) << doc.error();
        if (std::memcmp(got, expected.data(), expected.size()) != 0) {
            ADD_FAILURE() << "record " << n << " differs";
            return n;
        }
    }
    EXPECT_EQ(records.next(), nullptr);
    return n;
}

TEST(BlockRecords, SampleCatalogueAsPxlibReadsIt) {
    EXPECT_GT(compareWithPxlib(std::string(ZORV_SAMPLE_DIR) + "/katalog.db"), 10000u);
}

TEST(BlockRecords, FuzzCorpusAndFixturesAsPxlibReadsThem) {
    std::vector<std::filesystem::path> files;
    for (const auto& e : std::filesystem::directory_iterator(std::string(ZORV_TEST_DATA_DIR) +
                                                             "/../fuzz/corpus/fuzz_paradox"))
        files.push_back(e.path());
    for (const char* name : {"types.db", "emptyblock.db", "keyed.db", "format4.db", "notable.db"})
        files.push_back(std::filesystem::path(ZORV_TEST_DATA_DIR) / "paradox" / name);
    ASSERT_GE(files.size(), 10u);
    std::size_t records = 0;
    for (const auto& f : files) {
        SCOPED_TRACE(f.string());
        try {
            records += compareWithPxlib(f.string());
        } catch (const TableError& e) {
            // A corpus file may be one the checks refuse; pxlib is not asked then.
            SCOPED_TRACE(e.what());
        }
    }
    EXPECT_GT(records, 20u);
}

}  // namespace
}  // namespace zorv::paradox

#include <gtest/gtest.h>

#include "TestFiles.h"
#include "text/AtomicFile.h"

namespace zorv {
namespace {

namespace fs = std::filesystem;

class AtomicFileTest : public ScratchDirTest {};

TEST_F(AtomicFileTest, ReplacesTargetOnlyOnCommit) {
    const fs::path dir = dir_;
    const fs::path target = dir / "a.txt";
    writeFileAtomically(target.string(), "old");
    {
        AtomicFile f(target.string());
        f.write("new, unfinished");
        // destroyed without commit: an interrupted write
    }
    EXPECT_EQ(slurp(target), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    writeFileAtomically(target.string(), "new");
    EXPECT_EQ(slurp(target), "new");
    EXPECT_THROW(AtomicFile((dir / "no-such-dir" / "x").string()), std::runtime_error);
}

}  // namespace
}  // namespace zorv

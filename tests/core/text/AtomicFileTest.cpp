#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "text/AtomicFile.h"

namespace zorv {
namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(AtomicFile, ReplacesTargetOnlyOnCommit) {
    const fs::path dir = fs::temp_directory_path() / "zorv-atomic-test";
    fs::remove_all(dir);
    fs::create_directories(dir);
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
    fs::remove_all(dir);
}

}  // namespace
}  // namespace zorv

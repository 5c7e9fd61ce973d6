#pragma once
// Files of the tests: a fresh folder per test, whole-file reads and copies of
// the fixtures in tests/data.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace zorv {

inline std::string slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// A test with a folder of its own, removed afterwards.
class ScratchDirTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::temp_directory_path() /
               ("zorv-" + std::to_string(::getpid()) + "-" + info->test_suite_name() + "-" + info->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    // A copy of tests/data/<folder>/<name>, free to change.
    std::string copyFixture(const std::string& folder, const std::string& name) const {
        std::filesystem::copy_file(std::filesystem::path(ZORV_TEST_DATA_DIR) / folder / name, dir_ / name);
        return path(name);
    }
    std::size_t filesInDir() const {
        return static_cast<std::size_t>(
            std::distance(std::filesystem::directory_iterator(dir_), std::filesystem::directory_iterator()));
    }

    std::filesystem::path dir_;
};

}  // namespace zorv

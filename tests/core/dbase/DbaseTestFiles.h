#pragma once
// Files of the dBase tests: a fresh folder per test, whole-file reads and
// little-endian numbers of headers.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace zorv {

class DbaseFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("zorv-dbase-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    // A copy of a fixture of tests/data/dbase, free to change.
    std::string copyFixture(const std::string& name) const {
        std::filesystem::copy_file(std::filesystem::path(ZORV_TEST_DATA_DIR) / "dbase" / name, dir_ / name);
        return path(name);
    }
    std::size_t filesInDir() const {
        return static_cast<std::size_t>(
            std::distance(std::filesystem::directory_iterator(dir_), std::filesystem::directory_iterator()));
    }

    std::filesystem::path dir_;
};

inline std::string slurp(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline unsigned byteAt(const std::string& s, std::size_t i) { return static_cast<unsigned char>(s[i]); }
inline unsigned le16(const std::string& s, std::size_t i) { return byteAt(s, i) | byteAt(s, i + 1) << 8; }
inline unsigned le32(const std::string& s, std::size_t i) { return le16(s, i) | le16(s, i + 2) << 16; }

inline std::string unhex(const std::string& h) {
    std::string s;
    for (std::size_t i = 0; i < h.size(); i += 2)
        s += static_cast<char>(std::stoi(h.substr(i, 2), nullptr, 16));
    return s;
}

}  // namespace zorv

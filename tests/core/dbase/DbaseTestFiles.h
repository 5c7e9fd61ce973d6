#pragma once
// Files of the dBase tests: fixtures and little-endian numbers of headers.

#include <string>

#include "TestFiles.h"

namespace zorv {

class DbaseFiles : public ScratchDirTest {
protected:
    std::string copyFixture(const std::string& name) const {
        return ScratchDirTest::copyFixture("dbase", name);
    }
};

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

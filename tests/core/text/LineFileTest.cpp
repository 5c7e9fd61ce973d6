// Line files: the bytes on disk and the line ends read.

#include <gtest/gtest.h>

#include "TestFiles.h"
#include "text/AtomicFile.h"
#include "text/LineFile.h"

namespace zorv {
namespace {

namespace fs = std::filesystem;

class LineFileTest : public ScratchDirTest {};

TEST_F(LineFileTest, BytesOnDiskRoundTrip) {
    const fs::path dir = dir_;
    const std::string in = (dir / "in.txt").string(), out = (dir / "out.txt").string();

    // Every byte but the line ends, the five windows-1250 leaves undefined included.
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        if (b != '\r' && b != '\n') bytes += static_cast<char>(b);
    writeFileAtomically(in, bytes);
    writeLines(out, readLines(in));
    EXPECT_EQ(slurp(out), bytes + "\r\n");

    // /usr/bin/python3 -c "print('Zażółć gęślą jaźń ŁÓDŹ'.encode('cp1250').hex())"
    const std::vector<std::string> polish{"Zażółć gęślą jaźń ŁÓDŹ", "", "x"};
    writeLines(out, polish);
    EXPECT_EQ(slurp(out),
              "\x5a\x61\xbf\xf3\xb3\xe6\x20\x67\xea\x9c\x6c\xb9\x20\x6a\x61\x9f\xf1\x20\xa3\xd3\x44\x8f\r\n\r"
              "\nx\r\n");
    EXPECT_EQ(readLines(out), polish);

    for (const std::string& bad : {(dir / "missing.txt").string(), dir.string()}) {
        try {
            readLines(bad);
            ADD_FAILURE() << bad;
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find("Nie można odczytać pliku " + bad), std::string::npos)
                << e.what();
        }
    }
}

TEST(LineFile, LineEnds) {
    using L = std::vector<std::string>;
    const struct {
        const char* name;
        std::string bytes;
        L lines;
    } rows[] = {
        {"empty file", "", {}},
        {"all three line ends", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"final CR LF adds no line", "a\r\n", {"a"}},
        {"final lone CR adds no line", "a\r", {"a"}},
        {"one empty line", "\r\n", {""}},
        {"blank line kept", "a\n\nb\n", {"a", "", "b"}},
        {"CR CR LF is two ends", "\r\r\n", {"", ""}},
        {"LF CR is two ends", "a\n\r", {"a", ""}},
    };
    for (const auto& r : rows) EXPECT_EQ(decodeLines(r.bytes), r.lines) << r.name;
    // A break inside a line is written as a line end of the file; a character
    // windows-1250 lacks as "?".
    EXPECT_EQ(encodeLines({"a\nb", "c\r\nd\re", "ω"}), "a\r\nb\r\nc\r\nd\r\ne\r\n?\r\n");
}

}  // namespace
}  // namespace zorv

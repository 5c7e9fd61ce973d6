// The exported RTF report must open in a word processor with its Polish
// letters intact: LibreOffice converts it back to text, which must be the
// report's lines.
//
//   soffice --headless --convert-to "txt:Text (encoded):UTF8" raport.rtf

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "TestFiles.h"
#include "report/ReportWriter.h"
#include "text/LineFile.h"

namespace zorv {
namespace {

namespace fs = std::filesystem;

class RtfReport : public ScratchDirTest {};

TEST_F(RtfReport, LibreOfficeGivesBackTheText) {
    if (std::system("command -v soffice > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "soffice (libreoffice-writer-nogui) is not installed";
    const fs::path dir = dir_;
    const ReportLines lines{"Katalog", "Zależność Energia - Magnituda:    LogE = 1.96 · m + 1.15",
                            "Próg kompletności katalogu: ŁÓDŹ żółć {nawiasy} \\ukośnik",
                            "Numer\tOkres\tEnergia\t"};
    const std::string rtf = ExportReportRtf(lines, (dir / "raport").string());
    ASSERT_EQ(rtf, (dir / "raport.rtf").string());

    // A profile of its own, so the conversion neither needs nor touches the user's.
    const std::string command = "HOME=" + dir.string() + " soffice -env:UserInstallation=file://" +
                                (dir / "profile").string() +
                                " --headless --convert-to 'txt:Text (encoded):UTF8' --outdir " +
                                dir.string() + " " + rtf + " > " + (dir / "soffice.log").string() + " 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << "soffice failed; see " << (dir / "soffice.log");
    ASSERT_TRUE(fs::exists(dir / "raport.txt")) << "no text came back";
    std::string s = slurp(dir / "raport.txt");
    if (s.rfind("\xEF\xBB\xBF", 0) == 0) s.erase(0, 3);  // byte-order mark
    std::vector<std::string> got;
    std::istringstream ls(s);
    for (std::string line; std::getline(ls, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        got.push_back(line);
    }
    while (!got.empty() && got.back().empty()) got.pop_back();
    // A tab at the end of a paragraph survives as a tab.
    EXPECT_EQ(got, lines);
}

}  // namespace
}  // namespace zorv

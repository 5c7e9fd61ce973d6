// The .crs file beside a catalogue with projected X/Y: its name, what it
// holds and reads back as, and a copy that never keeps a stale one.

#include <gtest/gtest.h>

#include <fstream>

#include "TestFiles.h"
#include "interchange/CrsSidecar.h"
#include "interchange/Projection.h"

namespace zorv {
namespace {

class CrsSidecarTest : public ScratchDirTest {};

TEST(CrsSidecar, NamedAfterTheCatalogue) {
    EXPECT_EQ(crsSidecarPath("/a/katalog.dbf"), "/a/katalog.crs");
    EXPECT_EQ(crsSidecarPath("/a/katalog.DB"), "/a/katalog.crs");
    EXPECT_EQ(crsSidecarPath("/a.b/katalog"), "/a.b/katalog.crs");  // a dot in a folder is no extension
    EXPECT_EQ(crsSidecarPath("/a/.ukryty"), "/a/.ukryty.crs");
}

TEST_F(CrsSidecarTest, WrittenReadAndCopied) {
    const std::string catalogue = path("siec.dbf");
    EXPECT_FALSE(readCrsSidecar(catalogue));
    EXPECT_EQ(catalogueCrsText(catalogue), "");
    const Projection utm(32634);
    setCatalogueCrs(catalogue, CatalogueCrs{32634, utm.description()});
    EXPECT_EQ(slurp(path("siec.crs")), utm.description() + "\n");
    const auto crs = readCrsSidecar(catalogue);
    ASSERT_TRUE(crs);
    EXPECT_EQ(crs->epsg, 32634);
    EXPECT_EQ(crs->description, "EPSG:32634 (WGS 84 / UTM zone 34N)");

    // A copy takes it along; a copy of a catalogue without one drops a
    // stale file the target had.
    copyCrsSidecar(catalogue, path("kopia.db"));
    EXPECT_EQ(readCrsSidecar(path("kopia.db"))->epsg, 32634);
    copyCrsSidecar(path("bez.dbf"), path("kopia.db"));
    EXPECT_FALSE(std::filesystem::exists(path("kopia.crs")));
    // The same catalogue under another extension shares the file: left as it is.
    copyCrsSidecar(catalogue, path("siec.db"));
    EXPECT_TRUE(readCrsSidecar(catalogue));

    // A file written by hand: a code alone, CR LF; one with no code is none.
    std::ofstream(path("reczny.crs"), std::ios::binary) << "EPSG:2180\r\n";
    EXPECT_EQ(readCrsSidecar(path("reczny.dbf"))->epsg, 2180);
    std::ofstream(path("zly.crs"), std::ios::binary) << "układ kopalni\n";
    EXPECT_FALSE(readCrsSidecar(path("zly.dbf")));
    setCatalogueCrs(catalogue, std::nullopt);
    EXPECT_FALSE(std::filesystem::exists(path("siec.crs")));
}

}  // namespace
}  // namespace zorv

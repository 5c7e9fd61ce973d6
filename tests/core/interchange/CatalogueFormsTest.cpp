// QuakeML and the FDSN event text format read as catalogue cells, and the
// writers' files read back: the same catalogue again.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "TestFiles.h"
#include "interchange/CatalogueBuilder.h"
#include "interchange/CatalogueReader.h"
#include "interchange/CatalogueWriters.h"
#include "interchange/Projection.h"
#include "interchange/QuakeMlReader.h"
#include "table/Table.h"
#include "text/Dates.h"

namespace zorv {
namespace {

std::string refusal(const std::function<void()>& work) {
    try {
        work();
    } catch (const ImportError& e) {
        return e.what();
    }
    return "";
}

std::vector<std::string> rowOf(const CatalogueRows& rows, std::size_t r) {
    std::vector<std::string> out;
    for (std::size_t c = 0; c < rows.columnCount(); ++c) out.emplace_back(rows.cell(r, c));
    return out;
}

using Cells = std::vector<std::string>;

const char* const kQuakeMl = R"(<?xml version="1.0" encoding="UTF-8"?>
<q:quakeml xmlns:q="http://quakeml.org/xmlns/quakeml/1.2" xmlns="http://quakeml.org/xmlns/bed/1.2">
  <eventParameters publicID="smi:test/params">
    <event publicID="smi:test/e1">
      <preferredOriginID>smi:test/o2</preferredOriginID>
      <preferredMagnitudeID>smi:test/m2</preferredMagnitudeID>
      <origin publicID="smi:test/o1">
        <time><value>2020-01-01T00:00:00Z</value></time>
        <latitude><value>1</value></latitude><longitude><value>2</value></longitude>
      </origin>
      <magnitude publicID="smi:test/m1"><mag><value>9.9</value></mag><type>Mw</type></magnitude>
      <origin publicID="smi:test/o2">
        <time><value>2020-01-02T03:04:05.5Z</value></time>
        <latitude><value>50.5</value><uncertainty>0.01</uncertainty></latitude>
        <longitude><value>19.25</value></longitude>
        <depth><value>850</value></depth>
      </origin>
      <magnitude publicID="smi:test/m2"><mag><value>1.7</value></mag><type>ML</type></magnitude>
    </event>
    <event publicID="smi:test/e2">
      <origin publicID="smi:test/o3">
        <time><value> 2020-01-01T12:00:00Z </value></time>
        <latitude><value>50.4</value></latitude><longitude><value>19.3</value></longitude>
      </origin>
    </event>
  </eventParameters>
</q:quakeml>
)";

TEST(QuakeMl, PreferredOriginAndMagnitudeOfEveryEvent) {
    const CatalogueRows rows = readQuakeMl(kQuakeMl);
    ASSERT_EQ(rows.rowCount(), 2u);
    EXPECT_EQ(rowOf(rows, 0),
              (Cells{"smi:test/e1", "2020-01-02T03:04:05.5Z", "50.5", "19.25", "0.85", "1.7", "ML"}));
    // No preferred origin: the first; no magnitude: empty.
    EXPECT_EQ(rowOf(rows, 1), (Cells{"smi:test/e2", "2020-01-01T12:00:00Z", "50.4", "19.3", "", "", ""}));

    // Into a catalogue: sorted by time, the event without magnitude counted.
    CatalogueBuildOptions o;
    CatalogueBuildReport report;
    const CatalogueFieldNames names;
    const Table t = buildCatalogue(rows, autoColumnRoles(rows.header(), names), names, o, &report);
    EXPECT_EQ(report.moved, 1u);
    EXPECT_EQ(report.withoutSize, 1u);
    EXPECT_EQ(t.value(0, t.requireField("EventID")).textValue(), "smi:test/e2");
    EXPECT_DOUBLE_EQ(t.value(1, t.requireField("SEK")).toDouble(), 5.5);
    EXPECT_NE(report.crs.find("EPSG:32634"), std::string::npos);
}

TEST(QuakeMl, BrokenFilesRefusedWithTheirCause) {
    EXPECT_NE(
        refusal([] { readQuakeMl("<q:quakeml><eventParameters>"); }).find("nie jest poprawnym XML (wiersz 1"),
        std::string::npos);
    EXPECT_NE(refusal([] { readQuakeMl(""); }).find("nie jest poprawnym XML"), std::string::npos);
    EXPECT_NE(refusal([] { readQuakeMl("<root/>"); }).find("brak elementu eventParameters"),
              std::string::npos);
    const std::string noTime = refusal([] {
        readQuakeMl(
            "<quakeml><eventParameters><event publicID=\"e9\"><origin/></event></eventParameters></quakeml>");
    });
    EXPECT_NE(noTime.find("Zdarzenie e9"), std::string::npos) << noTime;
    EXPECT_EQ(readQuakeMl("<quakeml><eventParameters/></quakeml>").rowCount(), 0u);
    EXPECT_EQ(detectCatalogueForm("\xEF\xBB\xBF  <?xml"), CatalogueForm::QuakeMl);
}

TEST(FdsnText, HeaderWithoutItsMarkAndRolesByName) {
    const std::string text =
        "#EventID|Time|Latitude|Longitude|Depth/"
        "km|Author|Catalog|Contributor|ContributorID|MagType|Magnitude|"
        "MagAuthor|EventLocationName\n"
        "ev1|2021-05-06T07:08:09.123|50.1|19.1|0.9|A|C|C|1|ML|1.4|A|Mine, west\n";
    EXPECT_EQ(detectCatalogueForm(text), CatalogueForm::FdsnText);
    const CatalogueRows rows = readFdsnText(text);
    EXPECT_EQ(rows.header().front(), "EventID");
    EXPECT_EQ(rows.cell(0, 12), "Mine, west");  // a comma is no separator here
    const CatalogueFieldNames names;
    const auto mapping = autoColumnRoles(rows.header(), names);
    EXPECT_EQ(mapping[1].role, ColumnRole::Date);
    EXPECT_EQ(mapping[4].role, ColumnRole::Extra);
    EXPECT_EQ(mapping[4].name, "Depth_km");
    EXPECT_EQ(mapping[10].role, ColumnRole::Magnitude);
    EXPECT_NE(refusal([] { readFdsnText("#EventID|Mag\nx|1\n"); }).find("nie ma kolumny time"),
              std::string::npos);
}

class CatalogueExport : public ScratchDirTest {};

// A catalogue written in each form and read back is the same catalogue:
// dates, times to the millisecond, X/Y to the metre, magnitudes exactly.
TEST_F(CatalogueExport, EachFormReadsBackAsTheSameCatalogue) {
    const std::string csv =
        "Date,Time,Easting,Northing,ML,Depth_km,Comment\n"
        "2020-02-29,23:59:59.25,356671,5540547,1.25,0.8,\"wall 1, \"\"A\"\"\"\n"
        "2020-03-01,00:00:01,0,0,,,unlocated and no size\n"
        "2020-03-02,10:00:00,360000,5545000,2.5,1.1,\n";
    const CatalogueFieldNames names;
    const CsvRead read = readCsv(csv);
    const CatalogueBuildOptions o;
    const Table original = buildCatalogue(read.rows, autoColumnRoles(read.rows.header(), names), names, o);
    const Projection utm(32634);

    const auto back = [&](const std::string& bytes, CatalogueForm form) {
        const CatalogueRead r = readCatalogue(bytes, form);
        CatalogueBuildOptions bo;
        bo.epsg = 32634;
        return buildCatalogue(r.rows, autoColumnRoles(r.rows.header(), names), names, bo);
    };
    const Table fromCsv = back(catalogueCsv(original), CatalogueForm::Csv);
    const Table fromQuakeMl = back(catalogueQuakeMl(original, names, utm), CatalogueForm::QuakeMl);
    const Table fromOpenQuake = back(catalogueOpenQuake(original, names, utm), CatalogueForm::Csv);
    for (const Table* t : {&fromCsv, &fromQuakeMl, &fromOpenQuake}) {
        ASSERT_EQ(t->recordCount(), 3u);
        for (std::size_t r = 0; r < 3; ++r) {
            SCOPED_TRACE(r);
            for (const char* f : {"DATA", "GODZ", "MIN", "SEK", "X", "Y", "MAGNITUDA"}) {
                const Value a = original.value(r, original.requireField(f)),
                            b = t->value(r, t->requireField(f));
                EXPECT_EQ(a.isNull(), b.isNull()) << f;
                EXPECT_DOUBLE_EQ(a.toDouble(), b.toDouble()) << f;
            }
        }
    }
    EXPECT_EQ(fromCsv.value(0, fromCsv.requireField("Comment")).textValue(), "wall 1, \"A\"");
    EXPECT_DOUBLE_EQ(fromQuakeMl.value(2, fromQuakeMl.requireField("Depth_km")).toDouble(), 1.1);

    // Written through a temporary file; without a CRS the geographic forms
    // are refused and nothing is left.
    writeCatalogue(original, ExportForm::Csv, names, nullptr, path("k.csv"));
    EXPECT_EQ(slurp(path("k.csv")), catalogueCsv(original));
    EXPECT_NE(refusal([&] {
                  writeCatalogue(original, ExportForm::QuakeMl, names, nullptr, path("k.xml"));
              }).find("--crs EPSG:KOD"),
              std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(path("k.xml")));
    EXPECT_EQ(exactNumber(0.1), "0.1");
    EXPECT_EQ(exactNumber(2.5e6), "2500000");
}

}  // namespace
}  // namespace zorv

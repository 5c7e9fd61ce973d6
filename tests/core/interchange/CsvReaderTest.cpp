// Delimited catalogues written elsewhere: RFC 4180 quoting, line ends,
// encodings, the detected separator, header and decimal mark, and the rows
// refused with their line.

#include <gtest/gtest.h>

#include <functional>

#include "interchange/CsvReader.h"
#include "interchange/TextImport.h"

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

TEST(CsvReader, QuotedFieldsHoldSeparatorsQuotesAndLineBreaks) {
    const std::string text =
        "Date,Mag,Comment\r\n"
        "2021-01-02,1.5,\"wall 4, \"\"east\"\" side\"\r\n"
        "2021-01-03,2.0,\"two\nlines\"\r\n"
        "\r\n"
        "2021-01-04,,plain\n";
    const CsvRead r = readCsv(text);
    EXPECT_EQ(r.dialect.separator, ',');
    EXPECT_TRUE(r.dialect.header);
    EXPECT_EQ(r.rows.header(), (Cells{"Date", "Mag", "Comment"}));
    ASSERT_EQ(r.rows.rowCount(), 3u);  // the blank line is no row
    EXPECT_EQ(rowOf(r.rows, 0), (Cells{"2021-01-02", "1.5", "wall 4, \"east\" side"}));
    EXPECT_EQ(rowOf(r.rows, 1), (Cells{"2021-01-03", "2.0", "two\nlines"}));
    EXPECT_EQ(rowOf(r.rows, 2), (Cells{"2021-01-04", "", "plain"}));
    // Lines count the break inside the quoted field.
    EXPECT_EQ(r.rows.lineOf(0), 2u);
    EXPECT_EQ(r.rows.lineOf(2), 6u);
}

TEST(CsvReader, SeparatorFoundFromTheFirstLines) {
    struct Case {
        const char* text;
        char separator;
        bool decimalComma;
    };
    const Case cases[] = {
        {"a,b,c\n1,2,3\n", ',', false},
        {"Mag;E [J]\n1,5;2,3e4\n2,25;1e5\n", ';', true},  // a decimal comma splits alike
        {"Mag\tX\n1.5\t100\n", '\t', false},
        {"#EventID|Time|Magnitude\nx1|2020-01-01T00:00:00|1.2\n", '|', false},
        {"  Mag    X   Y\n  1.5  100  200\n 2.0 101 201\n", ' ', false},
        {"1,5;3\n2,5;4\n", ';', true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const CsvRead r = readCsv(c.text);
        EXPECT_EQ(r.dialect.separator, c.separator);
        EXPECT_EQ(r.dialect.decimalComma, c.decimalComma);
    }
    // Blanks: a run is one separator, none at the line's ends.
    const CsvRead blanks = readCsv("  Mag    X   Y\n  1.5  100  200\n");
    EXPECT_EQ(blanks.rows.header(), (Cells{"Mag", "X", "Y"}));
    EXPECT_EQ(rowOf(blanks.rows, 0), (Cells{"1.5", "100", "200"}));
}

TEST(CsvReader, EncodingsAndByteOrderMark) {
    const std::string utf8 = "Strefa,Mag\nŚciana,1.5\n";
    const CsvRead plain = readCsv(utf8);
    EXPECT_EQ(plain.dialect.encoding, TextEncoding::Utf8);
    EXPECT_EQ(plain.rows.cell(0, 0), "Ściana");
    const CsvRead bom = readCsv("\xEF\xBB\xBF" + utf8);
    EXPECT_EQ(bom.dialect.encoding, TextEncoding::Utf8Bom);
    EXPECT_EQ(bom.rows.header().front(), "Strefa");  // the mark is not part of the name
    // windows-1250: Ś is 0x8C.
    const CsvRead cp = readCsv(
        "Strefa,Mag\n\x8C"
        "ciana,1.5\n");
    EXPECT_EQ(cp.dialect.encoding, TextEncoding::Cp1250);
    EXPECT_EQ(cp.rows.cell(0, 0), "Ściana");
    // Told, not detected.
    CsvOptions told;
    told.encoding = TextEncoding::Cp1250;
    // The UTF-8 bytes of Ś (C5 9A) are Ĺ and š in windows-1250.
    EXPECT_EQ(readCsv(utf8, told).rows.cell(0, 0), "Ĺšciana");
}

TEST(CsvReader, HeaderFoundOrTold) {
    EXPECT_FALSE(readCsv("1.5,100\n2.0,200\n").dialect.header);
    EXPECT_EQ(readCsv("1.5,100\n2.0,200\n").rows.header(), (Cells{"Pole1", "Pole2"}));
    EXPECT_EQ(readCsv("1.5,100\n2.0,200\n").rows.rowCount(), 2u);
    CsvOptions noHeader;
    noHeader.header = false;
    EXPECT_EQ(readCsv("Mag,X\n1.5,100\n", noHeader).rows.rowCount(), 2u);
    // A separator closing every line, as the program's own export writes.
    const CsvRead closed = readCsv("Mag;X;\n1,5;100;\n2,0;200;\n");
    EXPECT_EQ(closed.rows.header(), (Cells{"Mag", "X"}));
    EXPECT_EQ(closed.rows.rowCount(), 2u);
    // A header only: no rows, and no error yet (the import refuses it).
    EXPECT_EQ(readCsv("Mag,X\n").rows.rowCount(), 0u);
}

TEST(CsvReader, MalformedRowsRefusedWithTheirLine) {
    EXPECT_EQ(refusal([] { readCsv(""); }), "Plik nie zawiera żadnego wiersza danych.");
    EXPECT_EQ(refusal([] { readCsv("\r\n\n"); }), "Plik nie zawiera żadnego wiersza danych.");
    const std::string ragged = refusal([] { readCsv("a,b,c\n1,2,3\n1,2\n"); });
    EXPECT_NE(ragged.find("Wiersz 3 ma 2 pól, a pierwszy wiersz 3"), std::string::npos) << ragged;
    const std::string wide = refusal([] { readCsv("a,b\n1,2\n1,2,3,4,5\n"); });
    EXPECT_NE(wide.find("Wiersz 3 ma 5 pól"), std::string::npos) << wide;
    const std::string open = refusal([] { readCsv("a,b\n1,\"never closed\n2,3\n"); });
    EXPECT_NE(open.find("Niezamknięty cudzysłów"), std::string::npos) << open;
    EXPECT_NE(open.find("wiersz 2"), std::string::npos) << open;
    const std::string after = refusal([] { readCsv("a,b\n1,\"x\"y\n"); });
    EXPECT_NE(after.find("Tekst po zamykającym cudzysłowie (wiersz 2)"), std::string::npos) << after;
}

}  // namespace
}  // namespace zorv

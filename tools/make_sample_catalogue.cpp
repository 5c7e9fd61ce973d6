// Writes the bundled sample catalogue: katalog.dbf (level 7), katalog.db
// (Paradox) and katalog.txt (tab-separated, windows-1250, Polish number and
// date conventions) into the folder given as the only argument.
//
//   build/tools/make_sample_catalogue data/sample

#include <charconv>
#include <cstdio>
#include <exception>
#include <string>

#include "SampleCatalogue.h"
#include "dbase/DbaseFile.h"
#include "paradox/ParadoxFile.h"
#include "text/AtomicFile.h"
#include "text/Cp1250.h"
#include "text/DateText.h"

namespace {

using namespace zorv;

// Shortest text that reads back to the same double, with a decimal comma.
std::string number(double v) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    std::string s(buf, r.ptr);
    for (char& c : s)
        if (c == '.') c = ',';
    return s;
}

void writeText(const Table& t, const std::string& path) {
    const Locale pl = Locale::comma();
    std::string out;
    for (const auto& f : t.fields()) out += f.name + '\t';
    out += "\r\n";
    for (std::size_t r = 0; r < t.physicalCount(); ++r) {
        std::string line;
        for (int f = 0; f < t.fieldCount(); ++f) {
            const Column& c = t.column(f);
            switch (t.field(f).type) {
                case FieldType::Date: line += formatDate(c.int32s()[r], pl); break;
                case FieldType::Float: line += number(c.doubles()[r]); break;
                case FieldType::String: line += c.textAt(r); break;
                default: line += std::to_string(c.int32s()[r]); break;
            }
            line += '\t';
        }
        out += utf8ToCp1250(line);
        out += "\r\n";
    }
    writeFileAtomically(path, out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "użycie: %s KATALOG_DOCELOWY\n", argv[0]);
        return 2;
    }
    try {
        const std::string dir = argv[1];
        const Table t = sample::makeSampleCatalogue();
        writeDbase(t, dir + "/katalog.dbf");
        writeParadox(t, dir + "/katalog.db");
        writeText(t, dir + "/katalog.txt");
        std::printf("%zu zdarzeń zapisano w %s\n", t.physicalCount(), dir.c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}

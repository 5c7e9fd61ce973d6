#include "files/TableFiles.h"

#include <algorithm>

#include "dbase/DbaseFile.h"
#include "paradox/ParadoxFile.h"
#include "table/TableError.h"
#include "table/TableStore.h"

namespace zorv {

std::optional<TableFormat> tableFormatOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    const auto dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::nullopt;
    std::string ext = path.substr(dot);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    if (ext == ".dbf") return TableFormat::DBase;
    if (ext == ".db") return TableFormat::Paradox;
    return std::nullopt;
}

namespace {
TableFormat requireFormat(const std::string& path) {
    const auto format = tableFormatOf(path);
    if (!format) throw TableError("Nieznany format tabeli (oczekiwano *.dbf lub *.db): " + path);
    return *format;
}

// The store of a table opened read-only: nothing reaches its file, so the
// table refuses every edit (it would otherwise take edits in memory that
// look saved and are lost on closing).
class ReadOnlyStore : public TableStore {
public:
    void appended(const Table&, std::size_t) override {}
    void updated(const Table&, std::size_t) override {}
    void removing(const Table&, std::size_t) override {}
    bool writable() const override { return false; }
};

}  // namespace

std::unique_ptr<Table> openTableFile(const std::string& path, bool writable) {
    auto table =
        requireFormat(path) == TableFormat::DBase ? openDbase(path, writable) : openParadox(path, writable);
    if (!writable) table->setStore(std::make_unique<ReadOnlyStore>());
    return table;
}

void writeTableFile(const Table& table, const std::string& path) {
    if (requireFormat(path) == TableFormat::DBase)
        writeDbase(table, path);
    else
        writeParadox(table, path);
}

}  // namespace zorv

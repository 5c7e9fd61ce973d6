#include "files/TableFiles.h"

#include <algorithm>

#include "dbase/DbaseFile.h"
#include "paradox/ParadoxFile.h"
#include "table/TableError.h"

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
}  // namespace

std::unique_ptr<Table> openTableFile(const std::string& path, bool writable) {
    return requireFormat(path) == TableFormat::DBase ? openDbase(path, writable)
                                                     : openParadox(path, writable);
}

void writeTableFile(const Table& table, const std::string& path) {
    if (requireFormat(path) == TableFormat::DBase)
        writeDbase(table, path);
    else
        writeParadox(table, path);
}

}  // namespace zorv

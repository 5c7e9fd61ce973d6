#include "interchange/CrsSidecar.h"

#include <cstdio>
#include <fstream>

#include "interchange/Projection.h"
#include "text/AtomicFile.h"

namespace zorv {

std::string crsSidecarPath(const std::string& cataloguePath) {
    const auto slash = cataloguePath.find_last_of('/');
    const auto dot = cataloguePath.find_last_of('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    return (hasExtension ? cataloguePath.substr(0, dot) : cataloguePath) + ".crs";
}

void writeCrsSidecar(const std::string& cataloguePath, const CatalogueCrs& crs) {
    AtomicFile file(crsSidecarPath(cataloguePath));
    const std::string line = crs.description.empty() ? "EPSG:" + std::to_string(crs.epsg) : crs.description;
    file.write(line + "\n");
    file.commit();
}

std::optional<CatalogueCrs> readCrsSidecar(const std::string& cataloguePath) {
    std::ifstream in(crsSidecarPath(cataloguePath), std::ios::binary);
    if (!in) return std::nullopt;
    std::string line;
    std::getline(in, line, '\n');
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    const std::string code = line.substr(0, line.find(' '));
    CatalogueCrs crs;
    crs.epsg = parseEpsg(code);
    if (crs.epsg == 0) return std::nullopt;
    crs.description = line;
    return crs;
}

void setCatalogueCrs(const std::string& cataloguePath, const std::optional<CatalogueCrs>& crs) {
    if (crs)
        writeCrsSidecar(cataloguePath, *crs);
    else
        std::remove(crsSidecarPath(cataloguePath).c_str());
}

void copyCrsSidecar(const std::string& from, const std::string& to) {
    if (crsSidecarPath(to) == crsSidecarPath(from)) return;
    setCatalogueCrs(to, readCrsSidecar(from));
}

std::string catalogueCrsText(const std::string& cataloguePath) {
    const auto crs = readCrsSidecar(cataloguePath);
    return crs ? crs->description : std::string();
}

}  // namespace zorv

#pragma once
// The working catalogue of the main window and everything that belongs to
// it: the table, its name and record count, whether its base properties
// were confirmed, its zones, the filter sources with the joined filter and
// its description, and the one bookmark. The window keeps the menus and
// child windows and asks the session; the session shows nothing itself.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "catalogue/CatalogueFilter.h"
#include "catalogue/FilterBuilder.h"
#include "catalogue/ZoneTree.h"
#include "services/Commands.h"
#include "spatial/MapGrid.h"
#include "table/Table.h"
#include "text/Locale.h"

namespace zorv {

class Progress;

class CatalogueSession {
public:
    // Takes the table as the working catalogue: case-insensitive filters, the
    // user's locale, the write protection; at its first record.
    void open(std::unique_ptr<Table> table, std::string name, bool readOnly, const Locale& locale);
    // No catalogue: table, name, zones, filter sources and bookmark go.
    void close();
    bool isOpen() const { return table_ != nullptr; }
    Table* table() const { return table_.get(); }
    const std::string& name() const { return name_; }
    // The file the catalogue was read from ("" for a table made in memory).
    const std::string& filePath() const { return filePath_; }
    void setFilePath(std::string path) { filePath_ = std::move(path); }
    // Records of the catalogue when it was opened.
    std::int32_t recordCount() const { return recordCount_; }
    bool basePropertiesSet() const { return basePropertiesSet_; }
    void setBasePropertiesSet(bool on) { basePropertiesSet_ = on; }
    void setReadOnly(bool on);

    // ---- zones
    void buildZones(const std::string& zoneField, const std::string& separator, Progress* progress);
    const ZoneTree& zones() const { return zones_; }

    // ---- filter sources and the joined filter
    FilterSources& sources() { return sources_; }
    const FilterSources& sources() const { return sources_; }
    void setZoneFilter(const ZoneFilter& z);
    // The map zone "Obszar": its filter, and its rectangle, which a hazard
    // map takes as its extent.
    void setMapZoneFilter(const ZoneFilter& z, std::optional<MapBox> area = std::nullopt);
    const std::optional<MapBox>& mapZoneArea() const { return mapZoneArea_; }
    void setConnective(bool orJoin);
    // Back to no source at all (AND, nothing located only).
    void clearSources();
    // Joins the sources and sets the filter on the table, then goes to the
    // first record. A rejected expression leaves the table unfiltered and
    // throws CatalogueFilterError; the description is kept either way.
    JoinedFilter applyFilter();
    const std::string& filterDescription() const { return description_; }

    // ---- records
    // By a NavigationTag.
    void navigate(int tag);
    void setBookmark();
    const Bookmark& bookmark() const { return bookmark_; }
    enum class Jump { Done, NoBookmark, Hidden, Failed };
    Jump gotoBookmark();

private:
    std::unique_ptr<Table> table_;
    std::string name_;
    std::string filePath_;
    std::int32_t recordCount_ = 0;
    bool basePropertiesSet_ = false;
    ZoneTree zones_;
    FilterSources sources_;
    std::optional<MapBox> mapZoneArea_;
    std::string description_;
    Bookmark bookmark_;
};

}  // namespace zorv

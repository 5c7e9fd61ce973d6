#include "services/CatalogueSession.h"

namespace zorv {

void CatalogueSession::open(std::unique_ptr<Table> table, std::string name, bool readOnly,
                            const Locale& locale) {
    close();
    if (!table) return;
    table_ = std::move(table);
    table_->setCaseInsensitiveFilter(true);
    table_->setLocale(locale);
    table_->setReadOnly(readOnly);
    name_ = std::move(name);
    recordCount_ = static_cast<std::int32_t>(table_->recordCount());
    if (!table_->isEmpty()) table_->first();
}

void CatalogueSession::close() {
    basePropertiesSet_ = false;
    table_.reset();
    name_.clear();
    filePath_.clear();
    zones_ = {};
    recordCount_ = 0;
    bookmark_ = {};
    clearSources();
}

void CatalogueSession::setReadOnly(bool on) {
    if (table_) table_->setReadOnly(on);
}

void CatalogueSession::buildZones(const std::string& zoneField, const std::string& separator,
                                  Progress* progress) {
    zones_ = table_ ? buildZoneTree(*table_, zoneField, separator, progress) : ZoneTree{};
}

void CatalogueSession::setZoneFilter(const ZoneFilter& z) {
    sources_.ZoneExpression = z.expression;
    sources_.ZoneDescription = z.description;
}

void CatalogueSession::setMapZoneFilter(const ZoneFilter& z, std::optional<MapBox> area) {
    sources_.MapZoneExpression = z.expression;
    sources_.MapZoneDescription = z.description;
    mapZoneArea_ = z.expression.empty() ? std::nullopt : area;
}

void CatalogueSession::setConnective(bool orJoin) {
    sources_.Connective = orJoin ? " OR " : " AND ";
    sources_.DescriptionConnective = orJoin ? " lub " : " i ";
}

void CatalogueSession::clearSources() {
    FilterSources fresh;
    fresh.XField = sources_.XField;
    fresh.LocationFilter = sources_.LocationFilter;
    sources_ = fresh;
    mapZoneArea_.reset();
    if (table_) {
        table_->setFiltered(false);
        table_->setFilter({});
    }
}

JoinedFilter CatalogueSession::applyFilter() {
    JoinedFilter joined;
    try {
        joined = applyCatalogueFilter(table_.get(), sources_);
    } catch (const CatalogueFilterError& e) {
        description_ = e.joined().description;
        if (table_ && !table_->isEmpty()) table_->first();
        throw;
    }
    description_ = joined.description;
    if (table_ && !table_->isEmpty()) table_->first();
    return joined;
}

void CatalogueSession::navigate(int tag) {
    if (!table_) return;
    switch (tag) {
        case kFirstRecord: table_->first(); break;
        case kPriorRecord: table_->prior(); break;
        case kNextRecord: table_->next(); break;
        case kLastRecord: table_->last(); break;
        default: break;
    }
}

void CatalogueSession::setBookmark() {
    if (table_) bookmark_ = table_->bookmark();
}

CatalogueSession::Jump CatalogueSession::gotoBookmark() {
    if (!table_ || !bookmark_.isSet()) return Jump::NoBookmark;
    if (!table_->bookmarkValid(bookmark_)) return Jump::Hidden;
    try {
        table_->gotoBookmark(bookmark_);
        return Jump::Done;
    } catch (const std::exception&) {
        return Jump::Failed;
    }
}

}  // namespace zorv

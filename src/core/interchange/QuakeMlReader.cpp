#include "interchange/QuakeMlReader.h"

#include <expat.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "interchange/CellValues.h"
#include "interchange/TextImport.h"

namespace zorv {

namespace {

struct Origin {
    std::string id, time, latitude, longitude, depth;
};
struct Magnitude {
    std::string id, value, type;
};
struct Event {
    std::string id, preferredOrigin, preferredMagnitude;
    std::vector<Origin> origins;
    std::vector<Magnitude> magnitudes;
    std::size_t line = 0;
};

// The element path below <event> decides what a text is: the value of an
// origin's time, latitude, longitude or depth, of a magnitude's mag and
// type, or the event's preferred IDs.
class Handler {
public:
    explicit Handler(CatalogueRows& rows) : rows_(rows) {}

    void start(std::string_view name, const XML_Char** attributes, std::size_t line) {
        path_.emplace_back(name);
        text_.clear();
        if (name == "eventParameters") sawParameters_ = true;
        const auto publicId = [&] {
            for (const XML_Char** a = attributes; *a; a += 2)
                if (std::string_view(a[0]) == "publicID") return std::string(a[1]);
            return std::string();
        };
        if (name == "event" && inside("eventParameters", 1)) {
            event_.emplace();
            event_->id = publicId();
            event_->line = line;
            eventDepth_ = depth();
        } else if (event_ && name == "origin" && depth() == eventDepth() + 1) {
            event_->origins.emplace_back();
            event_->origins.back().id = publicId();
        } else if (event_ && name == "magnitude" && depth() == eventDepth() + 1) {
            event_->magnitudes.emplace_back();
            event_->magnitudes.back().id = publicId();
        }
    }

    void end(std::string_view name) {
        if (event_) {
            const std::size_t d = depth(), e = eventDepth();
            const std::string text(trimBlanks(text_));
            if (d == e + 1 && name == "preferredOriginID") event_->preferredOrigin = text;
            if (d == e + 1 && name == "preferredMagnitudeID") event_->preferredMagnitude = text;
            if (d == e + 3 && name == "value" && at(e + 1) == "origin" && !event_->origins.empty()) {
                Origin& o = event_->origins.back();
                const std::string& what = at(e + 2);
                if (what == "time") o.time = text;
                if (what == "latitude") o.latitude = text;
                if (what == "longitude") o.longitude = text;
                if (what == "depth") o.depth = text;
            }
            if (at(e + 1) == "magnitude" && !event_->magnitudes.empty()) {
                Magnitude& m = event_->magnitudes.back();
                if (d == e + 3 && name == "value" && at(e + 2) == "mag") m.value = text;
                if (d == e + 2 && name == "type") m.type = text;
            }
            if (d == e && name == "event") finishEvent();
        }
        path_.pop_back();
        text_.clear();
    }

    void characters(std::string_view s) {
        if (event_) text_.append(s);
    }

    bool sawParameters() const { return sawParameters_; }

private:
    std::size_t depth() const { return path_.size(); }
    const std::string& at(std::size_t level) const {
        static const std::string none;
        return level >= 1 && level <= path_.size() ? path_[level - 1] : none;
    }
    bool inside(std::string_view name, std::size_t up) const {
        return path_.size() > up && path_[path_.size() - 1 - up] == name;
    }
    std::size_t eventDepth() const { return eventDepth_; }

    void finishEvent() {
        Event& ev = *event_;
        const Origin* origin = nullptr;
        for (const Origin& o : ev.origins)
            if (!ev.preferredOrigin.empty() && o.id == ev.preferredOrigin) origin = &o;
        if (!origin && !ev.origins.empty()) origin = &ev.origins.front();
        if (!origin || origin->time.empty())
            throw ImportError("Zdarzenie " + (ev.id.empty() ? std::string("bez identyfikatora") : ev.id) +
                              " (wiersz " + std::to_string(ev.line) +
                              " pliku QuakeML) nie ma czasu ogniska (origin/time/value).");
        const Magnitude* magnitude = nullptr;
        for (const Magnitude& m : ev.magnitudes)
            if (!ev.preferredMagnitude.empty() && m.id == ev.preferredMagnitude) magnitude = &m;
        if (!magnitude && !ev.magnitudes.empty()) magnitude = &ev.magnitudes.front();
        rows_.addCell(ev.id);
        rows_.addCell(origin->time);
        rows_.addCell(origin->latitude);
        rows_.addCell(origin->longitude);
        // Depth in QuakeML is in metres; the column is in kilometres, as in
        // the event text format.
        std::string depthKm;
        if (const auto metres = parseCellNumber(origin->depth, false)) {
            char buffer[32];
            std::snprintf(buffer, sizeof buffer, "%.15g", *metres / 1000.0);
            depthKm = buffer;
        }
        rows_.addCell(depthKm);
        rows_.addCell(magnitude ? magnitude->value : std::string());
        rows_.addCell(magnitude ? magnitude->type : std::string());
        rows_.endRow(ev.line);
        event_.reset();
        eventDepth_ = 0;
    }

    CatalogueRows& rows_;
    std::vector<std::string> path_;
    std::string text_;
    std::optional<Event> event_;
    std::size_t eventDepth_ = 0;
    bool sawParameters_ = false;
};

std::string_view localName(const XML_Char* name) {
    std::string_view n(name);
    const auto bar = n.rfind('|');
    return bar == std::string_view::npos ? n : n.substr(bar + 1);
}

struct Context {
    Handler* handler;
    XML_Parser parser;
    std::string error;
};

}  // namespace

CatalogueRows readQuakeMl(std::string_view bytes) {
    CatalogueRows rows({"EventID", "Time", "Latitude", "Longitude", "Depth_km", "Magnitude", "MagType"});
    Handler handler(rows);
    std::unique_ptr<std::remove_pointer_t<XML_Parser>, decltype(&XML_ParserFree)> parser(
        XML_ParserCreateNS(nullptr, '|'), &XML_ParserFree);
    if (!parser) throw ImportError("Brak pamięci na odczyt pliku QuakeML.");
    Context context{&handler, parser.get(), {}};
    XML_SetUserData(parser.get(), &context);
    XML_SetElementHandler(
        parser.get(),
        [](void* data, const XML_Char* name, const XML_Char** attributes) {
            auto* c = static_cast<Context*>(data);
            if (!c->error.empty()) return;
            try {
                c->handler->start(localName(name), attributes,
                                  static_cast<std::size_t>(XML_GetCurrentLineNumber(c->parser)));
            } catch (const std::exception& e) {
                c->error = e.what();
                XML_StopParser(c->parser, XML_FALSE);
            }
        },
        [](void* data, const XML_Char* name) {
            auto* c = static_cast<Context*>(data);
            if (!c->error.empty()) return;
            try {
                c->handler->end(localName(name));
            } catch (const std::exception& e) {
                c->error = e.what();
                XML_StopParser(c->parser, XML_FALSE);
            }
        });
    XML_SetCharacterDataHandler(parser.get(), [](void* data, const XML_Char* s, int length) {
        auto* c = static_cast<Context*>(data);
        if (c->error.empty()) c->handler->characters(std::string_view(s, static_cast<std::size_t>(length)));
    });
    // Fed in pieces: expat takes an int length.
    constexpr std::size_t kPiece = 1 << 24;
    bool ok = true;
    do {
        const std::size_t n = std::min(bytes.size(), kPiece);
        const bool last = n == bytes.size();
        ok = XML_Parse(parser.get(), bytes.data(), static_cast<int>(n), last ? XML_TRUE : XML_FALSE) ==
             XML_STATUS_OK;
        bytes.remove_prefix(n);
        if (last) break;
    } while (ok);
    if (!context.error.empty()) throw ImportError(context.error);
    if (!ok)
        throw ImportError("Plik QuakeML nie jest poprawnym XML (wiersz " +
                          std::to_string(XML_GetCurrentLineNumber(parser.get())) + ": " +
                          XML_ErrorString(XML_GetErrorCode(parser.get())) + ").");
    if (!handler.sawParameters())
        throw ImportError("Plik nie zawiera zdarzeń QuakeML (brak elementu eventParameters).");
    return rows;
}

}  // namespace zorv

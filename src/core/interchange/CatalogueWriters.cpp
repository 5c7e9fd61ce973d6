#include "interchange/CatalogueWriters.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>

#include "interchange/Projection.h"
#include "interchange/TextImport.h"
#include "table/Table.h"
#include "text/AtomicFile.h"
#include "text/Dates.h"

namespace zorv {

namespace {

std::string csvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos &&
        (text.empty() || (text.front() != ' ' && text.back() != ' ')))
        return std::string(text);
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

std::string isoDate(std::int32_t day) {
    const CivilDate c = civilDate(day);
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", c.year, c.month, c.day);
    return buffer;
}

std::string xmlText(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default:
                // Control characters other than TAB, LF and CR are not XML.
                if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r')
                    out += ' ';
                else
                    out += c;
        }
    }
    return out;
}

std::string cellText(const Table& t, std::size_t row, int f) {
    const Value v = t.value(row, f);
    if (v.isNull()) return "";
    switch (t.field(f).type) {
        case FieldType::Date: return isoDate(static_cast<std::int32_t>(v.toInt()));
        case FieldType::Float:
        case FieldType::DateTime:
        case FieldType::Time: return exactNumber(v.toDouble());
        case FieldType::String:
        case FieldType::Memo: return v.textValue();
        case FieldType::Boolean: return v.toBool() ? "true" : "false";
        default: break;
    }
    return std::to_string(v.toInt());
}

// What one record says, through the catalogue's field names.
class Records {
public:
    Records(const Table& t, const CatalogueFieldNames& names) : t_(t) {
        date_ = t.fieldIndex(names.roles.date);
        if (date_ < 0)
            throw ImportError("Katalog nie ma pola daty " + names.roles.date +
                              "; bez niego nie da się zapisać czasu zdarzeń.");
        hour_ = t.fieldIndex(names.hour);
        minute_ = t.fieldIndex(names.minute);
        second_ = t.fieldIndex(names.second);
        x_ = t.fieldIndex(names.roles.x);
        y_ = t.fieldIndex(names.roles.y);
        magnitude_ = t.fieldIndex(names.roles.magnitude);
        depth_ = t.fieldIndex("Depth_km");
        if (depth_ < 0) depth_ = t.fieldIndex("depth");  // kilometres, as the OpenQuake catalogue has it
        type_ = t.fieldIndex("MagType");
        id_ = t.fieldIndex("EventID");
        if (id_ < 0) id_ = t.fieldIndex("eventID");
    }
    std::size_t count() const { return t_.recordCount(); }
    std::size_t row(std::size_t i) const { return t_.rowOfRecord(i); }
    CivilDate date(std::size_t r) const {
        return civilDate(static_cast<std::int32_t>(t_.value(r, date_).toInt()));
    }
    int part(int f, std::size_t r) const { return f < 0 ? 0 : static_cast<int>(t_.value(r, f).toInt()); }
    int hour(std::size_t r) const { return part(hour_, r); }
    int minute(std::size_t r) const { return part(minute_, r); }
    double second(std::size_t r) const { return second_ < 0 ? 0.0 : t_.value(r, second_).toDouble(); }
    // Located events: X and Y not both 0.
    bool located(std::size_t r) const {
        return x_ >= 0 && y_ >= 0 && (t_.value(r, x_).toDouble() != 0 || t_.value(r, y_).toDouble() != 0);
    }
    double x(std::size_t r) const { return t_.value(r, x_).toDouble(); }
    double y(std::size_t r) const { return t_.value(r, y_).toDouble(); }
    std::optional<double> magnitude(std::size_t r) const { return number(magnitude_, r); }
    std::optional<double> depthKm(std::size_t r) const { return number(depth_, r); }
    std::string magnitudeType(std::size_t r) const {
        if (type_ < 0) return "ML";
        const std::string t = t_.value(r, type_).textValue();
        return t.empty() ? "ML" : t;
    }
    std::string id(std::size_t i, std::size_t r) const {
        if (id_ >= 0) {
            const std::string text = cellText(t_, r, id_);
            if (!text.empty()) return text;
        }
        return std::to_string(i + 1);
    }
    // "2021-01-02T03:04:05.25Z"
    std::string isoTime(std::size_t r) const {
        const CivilDate d = date(r);
        char buffer[64];
        // To the microsecond, so that 59.9999999 s does not print as 60.
        const double s = second(r);
        const long long micro =
            std::min(std::llround(s * 1e6), static_cast<long long>(std::floor(s)) * 1000000 + 999999);
        std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02lld", d.year, d.month, d.day,
                      hour(r), minute(r), micro / 1000000);
        std::string out = buffer;
        if (micro % 1000000 != 0) {
            std::snprintf(buffer, sizeof buffer, ".%06lld", micro % 1000000);
            std::string fraction = buffer;
            while (fraction.back() == '0') fraction.pop_back();
            out += fraction;
        }
        return out + "Z";
    }

private:
    std::optional<double> number(int f, std::size_t r) const {
        if (f < 0) return std::nullopt;
        const Value v = t_.value(r, f);
        if (v.isNull()) return std::nullopt;
        return v.toDouble();
    }
    const Table& t_;
    int date_ = -1, hour_ = -1, minute_ = -1, second_ = -1, x_ = -1, y_ = -1, magnitude_ = -1, depth_ = -1,
        type_ = -1, id_ = -1;
};

std::string degrees(double v) {
    char buffer[32];
    // 1e-8 degree is about a millimetre, so X/Y come back to the metre.
    std::snprintf(buffer, sizeof buffer, "%.8f", v);
    return buffer;
}

}  // namespace

bool exportFormOfWord(const std::string& word, ExportForm& form) {
    if (word == "csv")
        form = ExportForm::Csv;
    else if (word == "quakeml")
        form = ExportForm::QuakeMl;
    else if (word == "openquake")
        form = ExportForm::OpenQuake;
    else
        return false;
    return true;
}

std::string exactNumber(double value) {
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return ec == std::errc() ? std::string(buffer, end) : std::string();
}

std::string catalogueCsv(const Table& t) {
    std::string out;
    for (int f = 0; f < t.fieldCount(); ++f) out += (f ? "," : "") + csvField(t.field(f).name);
    out += "\r\n";
    for (std::size_t i = 0; i < t.recordCount(); ++i) {
        const std::size_t r = t.rowOfRecord(i);
        for (int f = 0; f < t.fieldCount(); ++f) {
            if (f) out += ',';
            out += csvField(cellText(t, r, f));
        }
        out += "\r\n";
    }
    return out;
}

std::string catalogueQuakeMl(const Table& t, const CatalogueFieldNames& names, const Projection& projection) {
    const Records rec(t, names);
    std::string out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<q:quakeml xmlns:q=\"http://quakeml.org/xmlns/quakeml/1.2\" "
        "xmlns=\"http://quakeml.org/xmlns/bed/1.2\">\n"
        "  <eventParameters publicID=\"smi:local/zorv/catalogue\">\n";
    for (std::size_t i = 0; i < rec.count(); ++i) {
        const std::size_t r = rec.row(i);
        const std::string id = xmlText(rec.id(i, r));
        const std::string base = "smi:local/zorv/" + id;
        const auto m = rec.magnitude(r);
        out += "    <event publicID=\"" + base + "\">\n";
        out += "      <preferredOriginID>" + base + "/origin</preferredOriginID>\n";
        if (m) out += "      <preferredMagnitudeID>" + base + "/magnitude</preferredMagnitudeID>\n";
        out += "      <type>induced or triggered event</type>\n";
        out += "      <origin publicID=\"" + base + "/origin\">\n";
        out += "        <time><value>" + rec.isoTime(r) + "</value></time>\n";
        if (rec.located(r)) {
            const auto g = projection.inverse(rec.x(r), rec.y(r));
            out += "        <latitude><value>" + degrees(g.latitude) + "</value></latitude>\n";
            out += "        <longitude><value>" + degrees(g.longitude) + "</value></longitude>\n";
        }
        if (const auto d = rec.depthKm(r))
            out += "        <depth><value>" + exactNumber(*d * 1000.0) + "</value></depth>\n";
        out += "      </origin>\n";
        if (m) {
            out += "      <magnitude publicID=\"" + base + "/magnitude\">\n";
            out += "        <mag><value>" + exactNumber(*m) + "</value></mag>\n";
            out += "        <type>" + xmlText(rec.magnitudeType(r)) + "</type>\n";
            out += "        <originID>" + base + "/origin</originID>\n";
            out += "      </magnitude>\n";
        }
        out += "    </event>\n";
    }
    return out + "  </eventParameters>\n</q:quakeml>\n";
}

std::string catalogueOpenQuake(const Table& t, const CatalogueFieldNames& names,
                               const Projection& projection) {
    const Records rec(t, names);
    std::string out = "eventID,year,month,day,hour,minute,second,longitude,latitude,depth,magnitude\r\n";
    for (std::size_t i = 0; i < rec.count(); ++i) {
        const std::size_t r = rec.row(i);
        const CivilDate d = rec.date(r);
        out += csvField(rec.id(i, r)) + "," + std::to_string(d.year) + "," + std::to_string(d.month) + "," +
               std::to_string(d.day) + "," + std::to_string(rec.hour(r)) + "," +
               std::to_string(rec.minute(r)) + "," + exactNumber(rec.second(r)) + ",";
        if (rec.located(r)) {
            const auto g = projection.inverse(rec.x(r), rec.y(r));
            out += degrees(g.longitude) + "," + degrees(g.latitude);
        } else {
            out += ",";
        }
        const auto depth = rec.depthKm(r);
        const auto m = rec.magnitude(r);
        out += "," + (depth ? exactNumber(*depth) : std::string()) + "," +
               (m ? exactNumber(*m) : std::string()) + "\r\n";
    }
    return out;
}

void writeCatalogue(const Table& table, ExportForm form, const CatalogueFieldNames& names,
                    const Projection* projection, const std::string& path) {
    std::string bytes;
    if (form == ExportForm::Csv) {
        bytes = catalogueCsv(table);
    } else {
        if (!projection)
            throw ImportError(
                "Do zapisu długości i szerokości geograficznej potrzebny jest układ współrzędnych X/Y "
                "katalogu: podaj --crs EPSG:KOD (np. EPSG:2180 albo strefę UTM EPSG:32634).");
        bytes = form == ExportForm::QuakeMl ? catalogueQuakeMl(table, names, *projection)
                                            : catalogueOpenQuake(table, names, *projection);
    }
    AtomicFile file(path);
    file.write(bytes);
    file.commit();
}

}  // namespace zorv

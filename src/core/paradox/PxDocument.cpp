#include "paradox/PxDocument.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>

#include "table/Column.h"
#include "table/TableError.h"
#include "table/Value.h"
#include "text/Cp1250.h"
#include "text/Dates.h"

// pxlib's header has no C++ linkage block of its own.
extern "C" {
#include <paradox.h>
}

namespace zorv::paradox {

namespace {
// Paradox day count of our day 0 (1899-12-30): 0001-01-01 is day 1 there.
constexpr std::int64_t kPxDayOfDayNumber0 = kPxDayOf00010101 - kDayNumberOf00010101;
constexpr std::int64_t kMaxExactInteger = std::int64_t{1} << 53;  // largest integer a double holds exactly
}  // namespace

struct PxErrorSink {
    // pxlib's error callback. It must not throw: it is called from C.
    static void record(pxdoc_t*, int type, const char* message, void* data) noexcept {
        auto* self = static_cast<PxDocument*>(data);
        if (self == nullptr || message == nullptr || type == PX_Warning) return;
        try {
            if (!self->error_.empty()) self->error_ += "; ";
            self->error_ += message;
        } catch (...) {
        }
    }
};

PxDocument::PxDocument() {
    doc_ = PX_new3(&PxErrorSink::record, nullptr, nullptr, nullptr, this);
    if (doc_ == nullptr) throw TableError("Brak pamięci na obsługę tabeli Paradox");
}

PxDocument::~PxDocument() {
    PX_delete(doc_);
    if (memory_) std::fclose(memory_);
}

bool PxDocument::openMemory(char* bytes, std::size_t size) {
    error_.clear();
    memory_ = ::fmemopen(bytes, size, "rb");
    if (memory_ == nullptr) {
        error_ = std::strerror(errno);
        return false;
    }
    return PX_open_fp(doc_, memory_) == 0;
}

// A growing byte buffer as a pxlib stream.
struct PxDocument::MemoryStream {
    std::string bytes;
    std::size_t pos = 0;

    static MemoryStream* of(pxstream_t* s) { return static_cast<MemoryStream*>(s->s.stream); }

    static size_t read(pxdoc_t*, pxstream_t* s, size_t n, void* buffer) {
        MemoryStream* m = of(s);
        const std::size_t available = m->pos < m->bytes.size() ? std::min(n, m->bytes.size() - m->pos) : 0;
        std::memcpy(buffer, m->bytes.data() + m->pos, available);
        m->pos += available;
        return available;
    }
    static int seek(pxdoc_t*, pxstream_t* s, long offset, int whence) {
        MemoryStream* m = of(s);
        long base = 0;
        if (whence == SEEK_CUR) base = static_cast<long>(m->pos);
        if (whence == SEEK_END) base = static_cast<long>(m->bytes.size());
        if (base + offset < 0) return -1;
        m->pos = static_cast<std::size_t>(base + offset);
        return 0;
    }
    static long tell(pxdoc_t*, pxstream_t* s) { return static_cast<long>(of(s)->pos); }
    static size_t write(pxdoc_t*, pxstream_t* s, size_t n, void* buffer) {
        MemoryStream* m = of(s);
        try {
            if (m->pos + n > m->bytes.size()) m->bytes.resize(m->pos + n);
        } catch (...) {
            return 0;  // called from C: no exception may leave
        }
        std::memcpy(m->bytes.data() + m->pos, buffer, n);
        m->pos += n;
        return n;
    }
};

bool PxDocument::create(const Creation& c) {
    error_.clear();
    // PX_create_fp writes a first header to a FILE; a scratch one in memory
    // takes it, then the stream is turned to our buffer.
    memory_ = ::fmemopen(nullptr, 1 << 16, "w+");
    if (memory_ == nullptr) {
        error_ = std::strerror(errno);
        return false;
    }
    const int n = static_cast<int>(c.fields.size());
    // pxlib keeps the descriptors and frees them with its own allocator.
    auto* fields = static_cast<pxfield_t*>(doc_->malloc(doc_, sizeof(pxfield_t) * c.fields.size(), "fields"));
    if (fields == nullptr) return false;
    for (int i = 0; i < n; ++i) {
        const PxField& f = c.fields[static_cast<std::size_t>(i)];
        fields[i].px_fname = PX_strdup(doc_, f.name.c_str());
        fields[i].px_ftype = static_cast<char>(f.type);
        fields[i].px_flen = f.length;
        fields[i].px_fdc = f.bcdDecimals;
    }
    if (PX_create_fp(doc_, fields, n, memory_, pxfFileTypNonIndexDB) < 0) {
        if (doc_->px_head == nullptr) {
            for (int i = 0; i < n; ++i) doc_->free(doc_, fields[i].px_fname);
            doc_->free(doc_, fields);
        }
        return false;
    }
    output_ = std::make_unique<MemoryStream>();
    pxstream_t* s = doc_->px_stream;
    s->type = pxfIOStream;
    s->close = px_false;
    s->s.stream = output_.get();
    s->read = &MemoryStream::read;
    s->seek = &MemoryStream::seek;
    s->tell = &MemoryStream::tell;
    s->write = &MemoryStream::write;

    // No block is written yet, so the block size may still change.
    pxhead_t* h = doc_->px_head;
    h->px_maxtablesize = c.blockSize / 1024;
    h->px_doscodepage = c.codePage;
    h->px_sortorder = static_cast<char>(c.sortOrder);
    h->px_autoinc = c.autoInc;
    // Left unset by pxlib (malloc'd), yet written into the header.
    h->px_refintegrity = 0;
    h->px_encryption = 0;
    h->px_writeprotected = 0;
    // Writes the header with the values above.
    return PX_set_tablename(doc_, c.tableName.c_str()) == 0;
}

bool PxDocument::appendRecord(char* data) {
    error_.clear();
    return PX_put_record(doc_, data) >= 0;
}

std::string PxDocument::finish() {
    PX_close(doc_);  // writes the cached block and drops the stream
    std::string bytes = std::move(output_->bytes);
    output_.reset();
    return bytes;
}

bool PxDocument::agreesWith(const ParadoxLayout& layout) const {
    if (PX_get_num_records(doc_) != layout.recordCount || PX_get_recordsize(doc_) != layout.recordSize ||
        PX_get_num_fields(doc_) != static_cast<int>(layout.fields.size()))
        return false;
    for (std::size_t i = 0; i < layout.fields.size(); ++i) {
        const pxfield_t* f = PX_get_field(doc_, static_cast<int>(i));
        if (f == nullptr ||
            static_cast<unsigned char>(f->px_ftype) != static_cast<unsigned>(layout.fields[i].type) ||
            f->px_flen != layout.fields[i].length)
            return false;
    }
    return true;
}

bool PxDocument::readRecord(int index, char* data) {
    error_.clear();
    return PX_get_record(doc_, index, data) != nullptr;
}

FieldType fieldTypeOf(PxType t) {
    switch (t) {
        case PxType::Alpha: return FieldType::String;
        case PxType::Date: return FieldType::Date;
        case PxType::Short: return FieldType::SmallInt;
        case PxType::Long: return FieldType::Integer;
        case PxType::Money:
        case PxType::Number: return FieldType::Float;
        case PxType::Logical: return FieldType::Boolean;
        case PxType::Time: return FieldType::Time;
        case PxType::Timestamp: return FieldType::DateTime;
        case PxType::AutoInc: return FieldType::AutoInc;
        case PxType::Memo:
        case PxType::FormattedMemo: return FieldType::Memo;
        case PxType::Blob:
        case PxType::Ole:
        case PxType::Graphic:
        case PxType::Bcd:
        case PxType::Bytes: break;
    }
    return FieldType::Unknown;
}

namespace {

bool allZero(const char* data, int length) {
    for (int i = 0; i < length; ++i)
        if (data[i] != 0) return false;
    return true;
}

// A 4-byte integer field. pxlib's PX_get_data_long tests for null by
// reading 8 bytes of its 4-byte copy (past it, into the stack guard), so a
// null comes back as -2147483648; the null test is ours.
bool readLong(pxdoc_t* d, char* data, long* value) {
    if (allZero(data, 4)) return false;
    return PX_get_data_long(d, data, 4, value) > 0;
}

}  // namespace

void decodeField(const PxDocument& doc, const PxField& f, char* data, Column& out) {
    pxdoc_t* d = doc.handle();
    switch (f.type) {
        case PxType::Alpha: {
            char* text = nullptr;
            if (PX_get_data_alpha(d, data, f.length, &text) > 0 && text != nullptr)
                out.appendText(cp1250ToUtf8(text));
            else
                out.appendNull();
            if (text != nullptr) d->free(d, text);
            return;
        }
        case PxType::Short: {
            short v = 0;
            if (PX_get_data_short(d, data, 2, &v) > 0)
                out.appendInt32(v);
            else
                out.appendNull();
            return;
        }
        case PxType::Long:
        case PxType::AutoInc: {
            long v = 0;
            if (readLong(d, data, &v))
                out.appendInt32(static_cast<std::int32_t>(v));
            else
                out.appendNull();
            return;
        }
        case PxType::Date: {
            long v = 0;
            // Day counts below 1 are no date (only damage produces them).
            if (readLong(d, data, &v) && v >= 1)
                out.appendInt32(static_cast<std::int32_t>(v - kPxDayOfDayNumber0));
            else
                out.appendNull();
            return;
        }
        case PxType::Time: {
            long ms = 0;
            if (readLong(d, data, &ms) && ms >= 0 && ms < static_cast<long>(kMsPerDay))
                out.appendDouble(static_cast<double>(ms) / kMsPerDay);
            else
                out.appendNull();
            return;
        }
        case PxType::Money:
        case PxType::Number: {
            double v = 0;
            if (PX_get_data_double(d, data, 8, &v) > 0)
                out.appendDouble(v);
            else
                out.appendNull();
            return;
        }
        case PxType::Timestamp: {
            // Milliseconds from 0000-12-31 00:00 (day 0 of the Paradox count).
            double ms = 0;
            if (PX_get_data_double(d, data, 8, &ms) > 0 && ms >= 0 && ms < 1e17) {
                // Whole milliseconds, as encodeField() writes them: a fraction
                // written by another program would otherwise change the file
                // on every rewrite of an open table, away from what it shows.
                ms = std::round(ms);
                const double days = std::floor(ms / kMsPerDay);
                const double inDay = ms - days * kMsPerDay;
                out.appendDouble(days - static_cast<double>(kPxDayOfDayNumber0) + inDay / kMsPerDay);
            } else {
                out.appendNull();
            }
            return;
        }
        case PxType::Logical: {
            char v = 0;
            if (PX_get_data_byte(d, data, 1, &v) > 0)
                out.appendInt32(v != 0 ? 1 : 0);
            else
                out.appendNull();
            return;
        }
        case PxType::Memo:
        case PxType::FormattedMemo:
        case PxType::Blob:
        case PxType::Ole:
        case PxType::Graphic:
        case PxType::Bcd:
        case PxType::Bytes: break;
    }
    out.appendNull();
}

namespace {

[[noreturn]] void cannotHold(const std::string& fieldName, const std::string& what) {
    throw TableError("Pole \"" + fieldName + "\": " + what);
}

std::int64_t integral(const Value& v, const std::string& fieldName) {
    using K = Value::Kind;
    if (v.kind() == K::Int || v.kind() == K::Bool) return v.toInt();
    if (v.kind() == K::Float) {
        const double x = v.toDouble();
        if (std::isfinite(x) && x == std::trunc(x) && std::fabs(x) < 9e18)
            return static_cast<std::int64_t>(x);
    }
    cannotHold(fieldName, "wartość nie jest liczbą całkowitą");
}

}  // namespace

void encodeField(const PxDocument& doc, const PxField& f, const Value& v, char* data,
                 const std::string& fieldName) {
    using K = Value::Kind;
    pxdoc_t* d = doc.handle();
    std::memset(data, 0, static_cast<std::size_t>(f.length));
    if (v.isNull()) return;  // all bytes 0 is null in every field type

    switch (f.type) {
        case PxType::Alpha: {
            if (v.kind() != K::Text) cannotHold(fieldName, "wartość nie jest tekstem");
            std::string bytes = utf8ToCp1250(v.textValue());
            if (bytes.size() > static_cast<std::size_t>(f.length))
                cannotHold(fieldName, "tekst jest dłuższy niż " + std::to_string(f.length) + " znaków");
            // An empty text is stored as null: the format knows no other.
            PX_put_data_alpha(d, data, f.length, bytes.data());
            return;
        }
        case PxType::Short: {
            // -32768 would be stored as the null pattern.
            const std::int64_t x = integral(v, fieldName);
            if (x < -32767 || x > 32767)
                cannotHold(fieldName, "wartość " + std::to_string(x) + " spoza zakresu -32767..32767");
            PX_put_data_short(d, data, 2, static_cast<short>(x));
            return;
        }
        case PxType::Long:
        case PxType::AutoInc: {
            const std::int64_t x = integral(v, fieldName);
            if (x < -2147483647 || x > 2147483647)
                cannotHold(fieldName,
                           "wartość " + std::to_string(x) + " spoza zakresu -2147483647..2147483647");
            PX_put_data_long(d, data, 4, static_cast<int>(x));
            return;
        }
        case PxType::Date: {
            std::int64_t day = 0;
            if (v.kind() == K::Date)
                day = v.toInt();
            else if (v.kind() == K::DateTime)
                day = wholeDays(v.toDouble());
            else
                cannotHold(fieldName, "wartość nie jest datą");
            const std::int64_t px = day + kPxDayOfDayNumber0;
            if (px < 1 || px > std::numeric_limits<std::int32_t>::max())
                cannotHold(fieldName, "data spoza zakresu formatu (od 0001-01-01)");
            PX_put_data_long(d, data, 4, static_cast<int>(px));
            return;
        }
        case PxType::Time: {
            if (v.kind() != K::Time && v.kind() != K::DateTime)
                cannotHold(fieldName, "wartość nie jest czasem");
            const double x = v.toDouble();
            if (!std::isfinite(x)) cannotHold(fieldName, "niepoprawny czas");
            auto ms = static_cast<std::int64_t>(std::llround((x - std::floor(x)) * kMsPerDay));
            ms %= static_cast<std::int64_t>(kMsPerDay);
            PX_put_data_long(d, data, 4, static_cast<int>(ms));
            return;
        }
        case PxType::Timestamp: {
            if (v.kind() != K::DateTime && v.kind() != K::Date)
                cannotHold(fieldName, "wartość nie jest datą i czasem");
            const double x = v.toDouble();
            if (!std::isfinite(x) || std::fabs(x) > 1e9) cannotHold(fieldName, "niepoprawna data i czas");
            double days = std::floor(x);
            double ms = std::round((x - days) * kMsPerDay);
            if (ms >= kMsPerDay) {
                days += 1;
                ms -= kMsPerDay;
            }
            const double pxDays = days + static_cast<double>(kPxDayOfDayNumber0);
            if (pxDays < 1) cannotHold(fieldName, "data spoza zakresu formatu (od 0001-01-01)");
            PX_put_data_double(d, data, 8, pxDays * kMsPerDay + ms);
            return;
        }
        case PxType::Money:
        case PxType::Number: {
            double x = 0;
            if (v.kind() == K::Float) {
                x = v.toDouble();
                // The format has no pattern for "not a number"; null is the nearest.
                if (std::isnan(x)) return;
            } else if (v.kind() == K::Int || v.kind() == K::Bool) {
                const std::int64_t i = v.toInt();
                if (i > kMaxExactInteger || i < -kMaxExactInteger)
                    cannotHold(fieldName, "liczba " + std::to_string(i) + " nie może być zapisana dokładnie");
                x = static_cast<double>(i);
            } else {
                cannotHold(fieldName, "wartość nie jest liczbą");
            }
            PX_put_data_double(d, data, 8, x);
            return;
        }
        case PxType::Logical: {
            if (v.kind() != K::Bool && v.kind() != K::Int) cannotHold(fieldName, "wartość nie jest logiczna");
            PX_put_data_byte(d, data, 1, v.toBool() ? 1 : 0);
            return;
        }
        case PxType::Memo:
        case PxType::FormattedMemo:
        case PxType::Blob:
        case PxType::Ole:
        case PxType::Graphic:
        case PxType::Bcd:
        case PxType::Bytes: break;
    }
    cannotHold(fieldName,
               std::string("zapis wartości pól typu ") + pxTypeName(f.type) + " nie jest obsługiwany");
}

}  // namespace zorv::paradox

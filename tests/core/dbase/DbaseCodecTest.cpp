// dBase records encoded and decoded field by field, at each file level.

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "dbase/DbaseCodec.h"
#include "dbase/DbaseTestFiles.h"
#include "table/TableError.h"
#include "text/Dates.h"

namespace zorv {
namespace {

std::string hex(const unsigned char* p, std::size_t n) {
    static const char* digits = "0123456789abcdef";
    std::string s;
    for (std::size_t i = 0; i < n; ++i) {
        s += digits[p[i] >> 4];
        s += digits[p[i] & 15];
    }
    return s;
}

const unsigned char* bytes(const std::string& s) { return reinterpret_cast<const unsigned char*>(s.data()); }

// Reference bytes:
//   python3 -c "import struct; v=-123456; print(struct.pack('>I', (v + 2**31) & 0xffffffff).hex())"
struct LongCase {
    const char* name;
    std::optional<std::int32_t> value;
    const char* hex;
};

TEST(DbaseCodec, Level7LongMatchesReferenceBytes) {
    const LongCase cases[] = {
        {"zero", 0, "80000000"},
        {"one", 1, "80000001"},
        {"minus one", -1, "7fffffff"},
        {"largest", 2147483647, "ffffffff"},
        {"smallest with a form", -2147483647, "00000001"},
        {"positive", 123456, "8001e240"},
        {"negative", -123456, "7ffe1dc0"},
        {"null", std::nullopt, "00000000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.value) {
            unsigned char out[4];
            putDbaseLong(*c.value, out);
            EXPECT_EQ(hex(out, 4), c.hex);
        }
        EXPECT_EQ(getDbaseLong(bytes(unhex(c.hex))), c.value);
    }
}

// Reference bytes:
//   python3 -c "import struct; v=-2.5; b=struct.unpack('>Q', struct.pack('>d', v))[0];
//     b = (~b) & (2**64-1) if b >> 63 else b | 1 << 63; print(struct.pack('>Q', b).hex())"
struct DoubleCase {
    const char* name;
    std::optional<double> value;
    const char* hex;
};

TEST(DbaseCodec, Level7DoubleMatchesReferenceBytes) {
    const DoubleCase cases[] = {
        {"zero", 0.0, "8000000000000000"},      {"negative zero is not null", -0.0, "7fffffffffffffff"},
        {"one", 1.0, "bff0000000000000"},       {"minus one", -1.0, "400fffffffffffff"},
        {"fraction", 2.5, "c004000000000000"},  {"negative fraction", -2.5, "3ffbffffffffffff"},
        {"huge", 1e300, "fe37e43c8800759c"},    {"tiny negative", -1e-300, "7e5a91e03d070ca6"},
        {"energy", 3.25e6, "c148cba800000000"}, {"null", std::nullopt, "0000000000000000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.value) {
            unsigned char out[8];
            putDbaseDouble(*c.value, out);
            EXPECT_EQ(hex(out, 8), c.hex);
        }
        const auto back = getDbaseDouble(bytes(unhex(c.hex)));
        ASSERT_EQ(back.has_value(), c.value.has_value());
        if (c.value) {
            EXPECT_EQ(*back, *c.value);
            EXPECT_EQ(std::signbit(*back), std::signbit(*c.value));
        }
    }
    unsigned char out[8];
    putDbaseDouble(std::nan(""), out);
    EXPECT_TRUE(std::isnan(getDbaseDouble(out).value()));
}

// Reference bytes: milliseconds with 0001-01-01 as day 1, a big-endian double:
//   python3 -c "import struct, datetime as d; t=d.datetime(2024,3,15,13,45,30,250000)-d.datetime(1,1,1);
//     print(struct.pack('>d', float((t.days+1)*86400000 + t.seconds*1000 + t.microseconds//1000)).hex())"
TEST(DbaseCodec, Level7TimestampMatchesReferenceBytes) {
    struct Case {
        const char* name;
        CivilDate date;
        TimeOfDay time;
        const char* hex;
    };
    const Case cases[] = {
        {"afternoon with milliseconds", {2024, 3, 15}, {13, 45, 30, 250}, "42cd08acd7c2c500"},
        {"day zero of the day numbers", {1899, 12, 30}, {0, 0, 0, 0}, "42cb405d842c0000"},
        {"first day of the form", {1, 1, 1}, {0, 0, 0, 0}, "4194997000000000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const double dateTime = dayNumber(c.date) + dayFraction(c.time);
        unsigned char out[8];
        putDbaseTimestamp(dateTime, out);
        EXPECT_EQ(hex(out, 8), c.hex);
        const auto back = getDbaseTimestamp(bytes(unhex(c.hex)));
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(civilDate(wholeDays(*back)), c.date);
        EXPECT_EQ(timeOfDay(*back), c.time);
    }
    EXPECT_EQ(getDbaseTimestamp(bytes(unhex("0000000000000000"))), std::nullopt);
    unsigned char out[8];
    EXPECT_THROW(putDbaseTimestamp(kDayNumberOf00010101 - 1, out), TableError);
}

}  // namespace
}  // namespace zorv

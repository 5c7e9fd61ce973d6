#pragma once
// Helpers shared by the fuzz targets: a property that fails aborts (so the
// fuzzer keeps the input), and a scratch folder on tmpfs, removed at exit,
// for the writers and the in-place edits, which work on files.

#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "table/Table.h"
#include "table/Value.h"

#define FUZZ_CHECK(cond)                                                                        \
    do {                                                                                        \
        if (!(cond)) {                                                                          \
            std::fprintf(stderr, "property violated: %s (%s:%d)\n", #cond, __FILE__, __LINE__); \
            std::abort();                                                                       \
        }                                                                                       \
    } while (0)

namespace zorv::fuzz {

// One folder per process in /dev/shm (the system temporary folder when there
// is none), so parallel fuzzing jobs do not meet.
inline const std::filesystem::path& scratchDir() {
    static const std::filesystem::path dir = [] {
        // tools/fuzz.sh names a folder it removes after the run (libFuzzer
        // may end the process without running exit handlers).
        if (const char* given = std::getenv("ZORV_FUZZ_SCRATCH"); given != nullptr && *given != '\0') {
            std::filesystem::create_directories(given);
            return std::filesystem::path(given);
        }
        std::filesystem::path base = "/dev/shm";
        if (!std::filesystem::is_directory(base)) base = std::filesystem::temp_directory_path();
        auto d = base / ("zorv-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(d);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(scratchDir(), ignored);
        });
        return d;
    }();
    return dir;
}

inline std::string scratchFile(std::string_view name) { return (scratchDir() / name).string(); }

inline std::string_view bytesOf(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

inline std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeBytes(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::filesystem::remove(path);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    FUZZ_CHECK(out.good());
}

// Values equal, NaN equal to NaN of the same kind.
inline bool sameValue(const Value& a, const Value& b) {
    if (a == b) return true;
    if (a.kind() != b.kind()) return false;
    if (a.kind() == Value::Kind::Float || a.kind() == Value::Kind::DateTime || a.kind() == Value::Kind::Time)
        return std::isnan(a.toDouble()) && std::isnan(b.toDouble());
    return false;
}

// The records `a` presents, in its order, against the records of `b`: same
// field types and values.
inline bool sameRecords(const Table& a, const Table& b) {
    if (a.fieldCount() != b.fieldCount() || a.recordCount() != b.recordCount()) return false;
    for (int f = 0; f < a.fieldCount(); ++f)
        if (a.field(f).type != b.field(f).type) return false;
    for (std::size_t r = 0; r < a.recordCount(); ++r)
        for (int f = 0; f < a.fieldCount(); ++f)
            if (!sameValue(a.value(a.rowOfRecord(r), f), b.value(b.rowOfRecord(r), f))) return false;
    return true;
}

}  // namespace zorv::fuzz

#pragma once
// Writing a file so that it is never left half written: the bytes go to a
// temporary file beside the target, which replaces the target only when
// everything was written and flushed.

#include <cstdio>
#include <string>
#include <string_view>

namespace zorv {

class AtomicFile {
public:
    // Creates the temporary file; throws std::runtime_error (with a Polish
    // message naming the file) when it cannot.
    explicit AtomicFile(std::string target);
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    // Removes the temporary file unless commit() succeeded.
    ~AtomicFile();

    void write(std::string_view bytes);
    void write(const void* data, std::size_t size);
    // Flushes, closes and renames over the target; throws on failure (the
    // target is then untouched).
    void commit();

    const std::string& target() const { return target_; }

private:
    [[noreturn]] void fail(const char* what);

    std::string target_;
    std::string temp_;
    std::FILE* file_ = nullptr;
    bool committed_ = false;
};

// Writes the whole file at once through AtomicFile.
void writeFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace zorv

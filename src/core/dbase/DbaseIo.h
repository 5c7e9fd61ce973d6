#pragma once
// File access of the dBase reader and store: whole reads and writes at an
// offset, with Polish messages naming the file.

#include <cstddef>
#include <cstdint>
#include <string>

namespace zorv {

// Owns a file descriptor.
class DbaseFd {
public:
    DbaseFd() = default;
    explicit DbaseFd(int fd) : fd_(fd) {}
    DbaseFd(DbaseFd&& o) noexcept : fd_(o.fd_) { o.fd_ = -1; }
    DbaseFd& operator=(DbaseFd&& o) noexcept;
    DbaseFd(const DbaseFd&) = delete;
    DbaseFd& operator=(const DbaseFd&) = delete;
    ~DbaseFd();

    int get() const { return fd_; }

private:
    int fd_ = -1;
};

// Opens a file for reading (and writing); throws TableError naming the file
// and the cause.
DbaseFd openDbaseFile(const std::string& path, bool writable);

// Size of the open file in bytes.
std::uint64_t dbaseFileSize(const DbaseFd& fd, const std::string& path);

// Reads exactly `size` bytes at `offset`; a file that ends first throws
// FileFormatError, a read error TableError.
void readDbaseBytes(const DbaseFd& fd, void* data, std::size_t size, std::uint64_t offset,
                    const std::string& path);

// Writes all `size` bytes at `offset`; throws TableError on failure.
void writeDbaseBytes(const DbaseFd& fd, const void* data, std::size_t size, std::uint64_t offset,
                     const std::string& path);

// Flushes the file's data to the disk; throws TableError on failure.
void syncDbaseFile(const DbaseFd& fd, const std::string& path);

// Cuts the file to `size` bytes; throws TableError on failure.
void truncateDbaseFile(const DbaseFd& fd, std::uint64_t size, const std::string& path);

}  // namespace zorv

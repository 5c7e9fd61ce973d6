#include "dbase/DbaseIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "table/TableError.h"
#include "text/IoError.h"

namespace zorv {

DbaseFd& DbaseFd::operator=(DbaseFd&& o) noexcept {
    if (this != &o) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = o.fd_;
        o.fd_ = -1;
    }
    return *this;
}

DbaseFd::~DbaseFd() {
    if (fd_ >= 0) ::close(fd_);
}

DbaseFd openDbaseFile(const std::string& path, bool writable) {
    int fd;
    do {
        fd = ::open(path.c_str(), (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        const int err = errno;
        throw TableError("Nie można otworzyć pliku '" + path + "'" + (writable ? " do zapisu" : "") + ": " +
                         ioErrorText(err) + ".");
    }
    DbaseFd owned(fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        throw TableError("Nie można otworzyć pliku '" + path + "': to nie jest zwykły plik.");
    return owned;
}

std::uint64_t dbaseFileSize(const DbaseFd& fd, const std::string& path) {
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        throw TableError("Błąd odczytu pliku '" + path + "': " + ioErrorText(errno) + ".");
    return static_cast<std::uint64_t>(st.st_size);
}

void readDbaseBytes(const DbaseFd& fd, void* data, std::size_t size, std::uint64_t offset,
                    const std::string& path) {
    auto* p = static_cast<char*>(data);
    while (size > 0) {
        const ssize_t n = ::pread(fd.get(), p, size, static_cast<off_t>(offset));
        if (n < 0) {
            if (errno == EINTR) continue;
            throw TableError("Błąd odczytu pliku '" + path + "': " + ioErrorText(errno) + ".");
        }
        if (n == 0)
            throw FileFormatError("Plik dBase '" + path + "' jest uszkodzony: skończył się przedwcześnie.");
        p += n;
        size -= static_cast<std::size_t>(n);
        offset += static_cast<std::uint64_t>(n);
    }
}

void writeDbaseBytes(const DbaseFd& fd, const void* data, std::size_t size, std::uint64_t offset,
                     const std::string& path) {
    const auto* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::pwrite(fd.get(), p, size, static_cast<off_t>(offset));
        if (n < 0) {
            if (errno == EINTR) continue;
            throw TableError("Błąd zapisu pliku '" + path + "': " + ioErrorText(errno) + ".");
        }
        p += n;
        size -= static_cast<std::size_t>(n);
        offset += static_cast<std::uint64_t>(n);
    }
}

void syncDbaseFile(const DbaseFd& fd, const std::string& path) {
    int rc;
    do {
        rc = ::fdatasync(fd.get());
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) throw TableError("Błąd zapisu pliku '" + path + "': " + ioErrorText(errno) + ".");
}

void truncateDbaseFile(const DbaseFd& fd, std::uint64_t size, const std::string& path) {
    if (::ftruncate(fd.get(), static_cast<off_t>(size)) != 0)
        throw TableError("Błąd zapisu pliku '" + path + "': " + ioErrorText(errno) + ".");
}

}  // namespace zorv

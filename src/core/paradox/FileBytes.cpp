#include "paradox/FileBytes.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "table/TableError.h"
#include "text/IoError.h"

namespace zorv::paradox {

namespace {

std::string quoted(const std::string& path) { return "\"" + path + "\""; }

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }

private:
    int fd_;
};

}  // namespace

FileBytes::FileBytes(const std::string& path) {
    const Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0)
        throw TableError("Nie można otworzyć pliku " + quoted(path) + " (" + ioErrorText(errno) + ")");
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || S_ISDIR(st.st_mode)) {
        const int err = S_ISDIR(st.st_mode) ? EISDIR : errno;
        throw TableError("Nie można otworzyć pliku " + quoted(path) + " (" + ioErrorText(err) + ")");
    }
    try {
        // One byte more than the file, so that a file that has not grown is
        // read to its end without a second mapping.
        reserve(static_cast<std::size_t>(std::max<off_t>(st.st_size, 0)) + 1);
        for (;;) {
            if (size_ == capacity_) reserve(2 * capacity_);
            const ssize_t n = ::read(fd.get(), data_ + size_, capacity_ - size_);
            if (n == 0) break;
            if (n < 0) {
                if (errno == EINTR) continue;
                throw TableError("Błąd odczytu pliku " + quoted(path) + " (" + ioErrorText(errno) + ")");
            }
            size_ += static_cast<std::size_t>(n);
        }
    } catch (...) {
        if (data_ != nullptr) ::munmap(data_, capacity_);
        throw;
    }
}

FileBytes::~FileBytes() {
    if (data_ != nullptr) ::munmap(data_, capacity_);
}

void FileBytes::reserve(std::size_t capacity) {
    void* p = ::mmap(nullptr, capacity, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) throw TableError("Brak pamięci na odczyt pliku (" + ioErrorText(errno) + ")");
    // Advice only: where huge pages are off, small ones serve.
    ::madvise(p, capacity, MADV_HUGEPAGE);
    if (data_ != nullptr) {
        std::memcpy(p, data_, size_);
        ::munmap(data_, capacity_);
    }
    data_ = static_cast<char*>(p);
    capacity_ = capacity;
}

}  // namespace zorv::paradox

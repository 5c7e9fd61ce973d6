#include "text/AtomicFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace zorv {

AtomicFile::AtomicFile(std::string target) : target_(std::move(target)) {
    std::string pattern = target_ + ".XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) fail("Nie można utworzyć pliku");
    temp_ = pattern;
    file_ = ::fdopen(fd, "wb");
    if (!file_) {
        ::close(fd);
        fail("Nie można utworzyć pliku");
    }
    // mkstemp creates the file 0600; a table or report is an ordinary file.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
}

AtomicFile::~AtomicFile() {
    if (file_) std::fclose(file_);
    if (!committed_ && !temp_.empty()) std::remove(temp_.c_str());
}

void AtomicFile::fail(const char* what) {
    const std::string reason = std::strerror(errno);
    throw std::runtime_error(std::string(what) + " " + target_ + " (" + reason + ")");
}

void AtomicFile::write(const void* data, std::size_t size) {
    if (size && std::fwrite(data, 1, size, file_) != size) fail("Błąd zapisu pliku");
}

void AtomicFile::write(std::string_view bytes) { write(bytes.data(), bytes.size()); }

void AtomicFile::commit() {
    if (std::fflush(file_) != 0 || ::fsync(::fileno(file_)) != 0) fail("Błąd zapisu pliku");
    const int rc = std::fclose(file_);
    file_ = nullptr;
    if (rc != 0) fail("Błąd zapisu pliku");
    if (std::rename(temp_.c_str(), target_.c_str()) != 0) fail("Nie można zapisać pliku");
    committed_ = true;
}

void writeFileAtomically(const std::string& path, std::string_view bytes) {
    AtomicFile f(path);
    f.write(bytes);
    f.commit();
}

}  // namespace zorv

#include "text/FileLock.h"

#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace zorv {

FileLock::FileLock(int fd) : fd_(fd) {
    if (fd_ < 0) {
        error_ = errno != 0 ? errno : EBADF;
        return;
    }
    int rc;
    do {
        rc = ::flock(fd_, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) error_ = errno;
}

FileLock::FileLock(FileLock&& o) noexcept : fd_(o.fd_), error_(o.error_) { o.fd_ = -1; }

FileLock& FileLock::operator=(FileLock&& o) noexcept {
    if (this != &o) {
        release();
        fd_ = o.fd_;
        error_ = o.error_;
        o.fd_ = -1;
    }
    return *this;
}

FileLock::~FileLock() { release(); }

void FileLock::release() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

bool FileLock::heldElsewhere() const { return error_ == EWOULDBLOCK; }

}  // namespace zorv

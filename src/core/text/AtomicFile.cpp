#include "text/AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "text/IoError.h"

namespace zorv {

namespace {

constexpr std::string_view kTempMark = ".zorv-tmp-";
constexpr int kMaxLinks = 40;  // as the kernel follows them

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a chain of symbolic links ends at (which need not exist yet);
// `path` itself when it is no link. 0 in `error` unless the chain is too long
// or unreadable.
std::string followLinks(std::string path, int& error) {
    error = 0;
    for (int hops = 0; hops < kMaxLinks; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        std::string link(PATH_MAX, '\0');
        const ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
        if (n < 0) {
            error = errno;
            return path;
        }
        link.resize(static_cast<std::size_t>(n));
        path = link.front() == '/' ? link : folderOf(path) + "/" + link;
    }
    error = ELOOP;
    return path;
}

// Removes the temporary files of `target` whose writing process is gone.
void removeStaleTemps(const std::string& target) {
    DIR* dir = ::opendir(folderOf(target).c_str());
    if (dir == nullptr) return;
    const std::string prefix = "." + nameOf(target) + std::string(kTempMark);
    while (const dirent* e = ::readdir(dir)) {
        const std::string_view name(e->d_name);
        if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix) continue;
        const std::string digits(name.substr(prefix.size()));
        if (digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 9) continue;
        const long pid = std::atol(digits.c_str());
        if (pid <= 0 || pid == ::getpid()) continue;
        // EPERM: the process lives under another user and may still be writing.
        if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) ::unlinkat(::dirfd(dir), e->d_name, 0);
    }
    ::closedir(dir);
}

// Gives the new file the owner and group of the one it replaces, as far as
// we may: without privileges the owner stays us, and the group only when we
// belong to it.
void keepOwner(int fd, const struct stat& old) {
    if (::fchown(fd, old.st_uid, old.st_gid) == 0) return;
    if (::fchown(fd, static_cast<uid_t>(-1), old.st_gid) == 0) return;
}

}  // namespace

std::string atomicTempName(const std::string& target, long pid) {
    return folderOf(target) + "/." + nameOf(target) + std::string(kTempMark) + std::to_string(pid);
}

AtomicFile::AtomicFile(std::string target) : target_(std::move(target)) {
    int error = 0;
    real_ = followLinks(target_, error);
    if (error != 0) fail(error);
    struct stat st {};
    const bool existed = ::stat(real_.c_str(), &st) == 0;
    if (existed) {
        if (S_ISDIR(st.st_mode)) fail(EISDIR);
        if (!S_ISREG(st.st_mode))
            throw FileWriteError("Nie można zapisać pliku " + target_ + ": to nie jest zwykły plik.", 0);
        // Renaming over the file would get past its missing write permission;
        // the mode is asked too, since access() lets the superuser write anything.
        if (::access(real_.c_str(), W_OK) != 0) {
            if (errno == EROFS) fail(EROFS);
            throw FileWriteError("Nie można zapisać pliku " + target_ + ": plik jest tylko do odczytu.", 0);
        }
        if ((st.st_mode & 0222) == 0)
            throw FileWriteError("Nie można zapisać pliku " + target_ + ": plik jest tylko do odczytu.", 0);
    }
    removeStaleTemps(real_);

    // An unnamed file in the target's folder, which gets its name only at
    // commit: a process killed before that leaves nothing behind. Where the
    // file system cannot make one, a named temporary that the next save of
    // the target removes.
    int fd = -1;
    if (::access("/proc/self/fd", X_OK) == 0)
        fd = ::open(folderOf(real_).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd >= 0) {
        anonymous_ = true;
    } else {
        const std::string temp = atomicTempName(real_, static_cast<long>(::getpid()));
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno == EEXIST) {
            // Left by an earlier process that had our number.
            ::unlink(temp.c_str());
            fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        }
        if (fd < 0) fail(errno);
        temp_ = temp;
    }
    if (existed) {
        keepOwner(fd, st);
        ::fchmod(fd, st.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    file_ = ::fdopen(fd, "wb");
    if (!file_) {
        const int err = errno;
        ::close(fd);
        fail(err);
    }
}

AtomicFile::~AtomicFile() {
    if (file_) std::fclose(file_);
    if (!committed_ && !temp_.empty()) ::unlink(temp_.c_str());
}

void AtomicFile::fail(int error) const {
    // The target need not exist; missing is the folder of the temporary file.
    const std::string cause = error == ENOENT ? "folder nie istnieje" : ioErrorText(error);
    throw FileWriteError("Nie można zapisać pliku " + target_ + ": " + cause + ".", error);
}

int AtomicFile::descriptor() const { return file_ ? ::fileno(file_) : -1; }

void AtomicFile::write(const void* data, std::size_t size) {
    if (size && std::fwrite(data, 1, size, file_) != size) fail(errno);
}

void AtomicFile::write(std::string_view bytes) { write(bytes.data(), bytes.size()); }

void AtomicFile::commit() {
    if (std::fflush(file_) != 0 || ::fsync(::fileno(file_)) != 0) fail(errno);
    if (anonymous_) {
        // The name it takes for the instant before the rename.
        const std::string temp = atomicTempName(real_, static_cast<long>(::getpid()));
        const std::string self = "/proc/self/fd/" + std::to_string(::fileno(file_));
        ::unlink(temp.c_str());
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temp.c_str(), AT_SYMLINK_FOLLOW) != 0) fail(errno);
        temp_ = temp;
    }
    const int rc = std::fclose(file_);
    file_ = nullptr;
    if (rc != 0) fail(errno);
    if (std::rename(temp_.c_str(), real_.c_str()) != 0) fail(errno);
    committed_ = true;
    // The file is in place; a folder that cannot be flushed (some file
    // systems refuse) only leaves the rename to the system's own timing.
    const int dir = ::open(folderOf(real_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

void writeFileAtomically(const std::string& path, std::string_view bytes) {
    AtomicFile f(path);
    f.write(bytes);
    f.commit();
}

}  // namespace zorv

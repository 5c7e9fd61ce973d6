#pragma once
// Writing a file so that it is never left half written: the bytes go to an
// unnamed file in the target's folder, which is named ".<name>.zorv-tmp-<pid>"
// only when everything was written and flushed and at once renamed over the
// target; the folder is flushed after the rename, so that the new name
// survives a power loss. A process killed while writing leaves no file.
// (Where the file system has no unnamed files, the temporary file has that
// name from the start.)
//
// A target that is a symbolic link is written through: the file it names is
// replaced and the link stays. An existing target keeps its permissions (and
// its owner and group where the system lets us); a read-only target, a
// folder or any other file that is not a regular one is refused. The
// temporary file of the same target that a killed process left behind is
// removed by the next save.

#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>

namespace zorv {

// A file that could not be written. The message, in Polish, names the file
// and the cause.
class FileWriteError : public std::runtime_error {
public:
    FileWriteError(const std::string& message, int error) : std::runtime_error(message), error_(error) {}
    // errno of the failure; 0 for a refusal of ours (a read-only target).
    int error() const { return error_; }

private:
    int error_;
};

class AtomicFile {
public:
    // Creates the temporary file; throws FileWriteError when it cannot.
    explicit AtomicFile(std::string target);
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    // Removes the temporary file unless commit() succeeded.
    ~AtomicFile();

    void write(std::string_view bytes);
    void write(const void* data, std::size_t size);
    // Flushes, closes and renames over the target; throws FileWriteError on
    // failure (the target is then untouched).
    void commit();

    // The name given, and the file that is replaced (links resolved).
    const std::string& target() const { return target_; }
    const std::string& realTarget() const { return real_; }
    // Descriptor of the temporary file until commit(), for a caller that
    // locks the new file before it takes the target's name.
    int descriptor() const;

private:
    [[noreturn]] void fail(int error) const;

    std::string target_;
    std::string real_;
    std::string temp_;
    std::FILE* file_ = nullptr;
    bool committed_ = false;
    bool anonymous_ = false;  // unnamed until commit()
};

// Writes the whole file at once through AtomicFile.
void writeFileAtomically(const std::string& path, std::string_view bytes);

// The name of the temporary file AtomicFile writes for `target` (already
// resolved) in process `pid`.
std::string atomicTempName(const std::string& target, long pid);

}  // namespace zorv

#pragma once
// An exclusive advisory lock of a file, held while a catalogue is open for
// writing, so that a second writable open (another window, another Zorv or
// zorv-batch) is refused instead of overwriting the first one's edits.
//
// The lock is flock(2), not fcntl(2): an fcntl lock belongs to the process
// and goes with ANY close of the file in it (reading the file once more
// elsewhere in the program would release it), while a flock lock belongs to
// one open of the file and lasts until that open's last descriptor closes.
// So two writable opens in one process exclude each other as well.

namespace zorv {

class FileLock {
public:
    FileLock() = default;
    // Owns `fd` (the result of open() or dup(); negative: that call failed,
    // errno tells why) and locks its file without waiting.
    explicit FileLock(int fd);
    FileLock(FileLock&& o) noexcept;
    FileLock& operator=(FileLock&& o) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock();

    bool held() const { return fd_ >= 0 && error_ == 0; }
    // Another open of the file holds the lock.
    bool heldElsewhere() const;
    // errno of the failure; 0 when held.
    int error() const { return error_; }

private:
    void release();

    int fd_ = -1;
    int error_ = 0;
};

}  // namespace zorv

#pragma once
// A whole file in memory, for the Paradox reader and pxlib, which both want
// random access to every block.
//
// The buffer is anonymous memory the kernel may back with huge pages: a
// catalogue of 1,000,000 events is a 90 MB file, and copying it into fresh
// small pages took 330 ms, a third of the load, nearly all in page faults;
// with huge pages the copy takes some 25 ms. The memory is the process's
// own, so a file cut short by another program while it is read cannot fault
// the reader (a mapping of the file itself could).

#include <cstddef>
#include <span>
#include <string>

namespace zorv::paradox {

class FileBytes {
public:
    // Reads the file at `path`; throws TableError naming it when it cannot
    // be opened or read.
    explicit FileBytes(const std::string& path);
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;
    ~FileBytes();

    std::span<char> bytes() { return {data_, size_}; }

private:
    void reserve(std::size_t capacity);

    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;  // bytes mapped
};

}  // namespace zorv::paradox

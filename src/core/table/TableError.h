#pragma once
// Errors of the table engine and its file formats. The message is the
// engine's own text, in Polish, shown to the user as it stands.

#include <stdexcept>
#include <string>

namespace zorv {

class TableError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file that cannot be read as a table: damaged, truncated or of another
// format. The message names the cause.
class FileFormatError : public TableError {
public:
    using TableError::TableError;
};

// A catalogue file another program (or another window) holds open for
// writing. It can still be opened read-only.
class FileLockedError : public TableError {
public:
    explicit FileLockedError(const std::string& path)
        : TableError("Katalog " + path +
                     " jest otwarty do zapisu w innym programie. Można go otworzyć tylko do odczytu.") {}
};

// A filter expression that does not parse or names an unknown field.
class FilterError : public TableError {
public:
    FilterError(const std::string& message, std::size_t position)
        : TableError(message), position_(position) {}
    // Offset (0-based, in bytes of the expression text) where the fault lies.
    std::size_t position() const { return position_; }

private:
    std::size_t position_;
};

}  // namespace zorv

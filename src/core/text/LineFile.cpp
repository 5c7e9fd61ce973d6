#include "text/LineFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>

#include "text/AtomicFile.h"
#include "text/Cp1250.h"

namespace zorv {

std::vector<std::string> decodeLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') continue;
        lines.push_back(cp1250ToUtf8(bytes.substr(start, i - start)));
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < bytes.size()) lines.push_back(cp1250ToUtf8(bytes.substr(start)));
    return lines;
}

std::string encodeLines(const std::vector<std::string>& utf8Lines) {
    std::string out;
    for (const std::string& line : utf8Lines) {
        const std::string bytes = utf8ToCp1250(line);
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const char c = bytes[i];
            if (c == '\r' || c == '\n') {
                out += "\r\n";
                if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
            } else {
                out += c;
            }
        }
        out += "\r\n";
    }
    return out;
}

std::vector<std::string> readLines(const std::string& path) {
    const auto fail = [&path](int err) {
        throw std::runtime_error("Nie można odczytać pliku " + path + " (" + std::strerror(err) + ")");
    };
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) fail(errno);
    std::string bytes;
    char buf[65536];
    std::size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, file.get())) > 0) bytes.append(buf, n);
    // A directory opens for reading on Linux and fails only here.
    if (std::ferror(file.get())) fail(errno ? errno : EIO);
    return decodeLines(bytes);
}

void writeLines(const std::string& path, const std::vector<std::string>& utf8Lines) {
    writeFileAtomically(path, encodeLines(utf8Lines));
}

}  // namespace zorv

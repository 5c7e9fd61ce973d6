#include "IniSettingsStore.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace zorv {

namespace {

void appendUtf8(std::string& out, unsigned cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string trimmed(const std::string& s) {
    const auto b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(" \t\r") - b + 1);
}

}  // namespace

std::string decodeIniValue(const std::string& raw) {
    std::string out;
    std::string item;
    bool quoted = false;
    bool list = false;
    const std::string v = trimmed(raw);
    for (std::size_t i = 0; i < v.size(); ++i) {
        const char c = v[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (c == '\\' && i + 1 < v.size()) {
            const char e = v[++i];
            switch (e) {
                case 'n': item += '\n'; break;
                case 't': item += '\t'; break;
                case 'r': item += '\r'; break;
                case '0': item += '\0'; break;
                case 'a': item += '\a'; break;
                case 'b': item += '\b'; break;
                case 'f': item += '\f'; break;
                case 'v': item += '\v'; break;
                case 'x': {
                    unsigned cp = 0;
                    int digits = 0;
                    while (digits < 4 && i + 1 < v.size() && hexDigit(v[i + 1]) >= 0) {
                        cp = cp * 16 + static_cast<unsigned>(hexDigit(v[++i]));
                        ++digits;
                    }
                    appendUtf8(item, cp);
                    break;
                }
                default: item += e;  // \\, \", \; and any other character as itself
            }
        } else if (c == ',' && !quoted) {
            list = true;
            out += trimmed(item) + ", ";
            item.clear();
        } else if (!quoted && (c == ' ' || c == '\t') && item.empty() && list) {
            // blanks after a list comma
        } else {
            item += c;
        }
    }
    out += list ? trimmed(item) : item;
    // "@@" stands for a leading "@"; other "@Type(...)" values are not text.
    if (out.rfind("@@", 0) == 0) out.erase(0, 1);
    return out;
}

std::string decodeIniKey(const std::string& raw) {
    std::string out;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '%' && i + 5 < raw.size() && raw[i + 1] == 'U') {
            unsigned cp = 0;
            for (int k = 2; k < 6; ++k)
                cp = cp * 16 + static_cast<unsigned>(std::max(0, hexDigit(raw[i + k])));
            appendUtf8(out, cp);
            i += 5;
        } else if (raw[i] == '%' && i + 2 < raw.size() && hexDigit(raw[i + 1]) >= 0 &&
                   hexDigit(raw[i + 2]) >= 0) {
            out += static_cast<char>(hexDigit(raw[i + 1]) * 16 + hexDigit(raw[i + 2]));
            i += 2;
        } else {
            out += raw[i];
        }
    }
    return out;
}

IniSettingsStore::IniSettingsStore(std::string path) : path_(std::move(path)) {
    std::ifstream in(path_, std::ios::binary);
    if (!in) return;
    exists_ = true;
    std::stringstream buffer;
    buffer << in.rdbuf();
    if (in.bad()) throw SettingsError("Brak dostępu do pliku ustawień " + path_);
    std::string group = "General";
    std::string line;
    std::istringstream lines(buffer.str());
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string t = trimmed(line);
        if (t.empty() || t[0] == ';' || t[0] == '#') continue;
        if (t.front() == '[') {
            const auto end = t.find(']');
            if (end == std::string::npos) throw SettingsError("Uszkodzony plik ustawień " + path_);
            group = decodeIniKey(t.substr(1, end - 1));
            groups_[group];
            continue;
        }
        const auto eq = t.find('=');
        if (eq == std::string::npos) throw SettingsError("Uszkodzony plik ustawień " + path_);
        std::string name = decodeIniKey(trimmed(t.substr(0, eq)));
        // A key below a group ("Hazard/H" in the General group) belongs to it.
        std::string key = group;
        if (const auto slash = name.find('/'); slash != std::string::npos && group == "General") {
            key = name.substr(0, slash);
            name = name.substr(slash + 1);
        }
        groups_[key][name] = decodeIniValue(t.substr(eq + 1));
    }
}

std::string IniSettingsStore::userFile() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string dir;
    if (config && *config) {
        dir = config;
    } else {
        const char* home = std::getenv("HOME");
        dir = std::string(home ? home : "") + "/.config";
    }
    return dir + "/Morvane/Zorv.conf";
}

void IniSettingsStore::deleteRoot() { throw SettingsError("Ustawienia są tu tylko do odczytu."); }
void IniSettingsStore::createKey(const std::string&) { deleteRoot(); }
void IniSettingsStore::write(const std::string&, const std::string&, const std::string&) { deleteRoot(); }

std::optional<std::string> IniSettingsStore::read(const std::string& key, const std::string& name) const {
    const auto g = groups_.find(key);
    if (g == groups_.end()) return std::nullopt;
    const auto v = g->second.find(name);
    if (v == g->second.end()) return std::nullopt;
    return v->second;
}

}  // namespace zorv

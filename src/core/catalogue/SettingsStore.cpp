#include "catalogue/SettingsStore.h"

#include <charconv>
#include <cmath>

namespace zorv {

namespace {

[[noreturn]] void wrong(const std::string& key, const std::string& name, const char* what) {
    throw SettingsError("Wartość " + key + "/" + name + " " + what);
}

std::string_view trimmed(const std::string& s) {
    std::string_view v(s);
    while (!v.empty() && v.front() == ' ') v.remove_prefix(1);
    while (!v.empty() && v.back() == ' ') v.remove_suffix(1);
    return v;
}

}  // namespace

std::string SettingsStore::readString(const std::string& key, const std::string& name) const {
    return read(key, name).value_or(std::string());
}

bool SettingsStore::readBool(const std::string& key, const std::string& name) const {
    const auto text = read(key, name);
    if (!text) wrong(key, name, "nie istnieje");
    const std::string_view v = trimmed(*text);
    if (v == "true" || v == "1") return true;
    if (v == "false" || v == "0") return false;
    wrong(key, name, "nie jest wartością logiczną");
}

int SettingsStore::readInt(const std::string& key, const std::string& name) const {
    const auto text = read(key, name);
    if (!text) wrong(key, name, "nie istnieje");
    const std::string_view v = trimmed(*text);
    int out = 0;
    const auto r = std::from_chars(v.data(), v.data() + v.size(), out);
    if (v.empty() || r.ec != std::errc() || r.ptr != v.data() + v.size())
        wrong(key, name, "nie jest liczbą całkowitą");
    return out;
}

double SettingsStore::readDouble(const std::string& key, const std::string& name) const {
    const auto text = read(key, name);
    if (!text) wrong(key, name, "nie istnieje");
    const std::string_view v = trimmed(*text);
    double out = 0;
    const auto r = std::from_chars(v.data(), v.data() + v.size(), out);
    if (v.empty() || r.ec != std::errc() || r.ptr != v.data() + v.size() || !std::isfinite(out))
        wrong(key, name, "nie jest liczbą");
    return out;
}

void SettingsStore::writeBool(const std::string& key, const std::string& name, bool v) {
    write(key, name, v ? "true" : "false");
}

void SettingsStore::writeInt(const std::string& key, const std::string& name, int v) {
    write(key, name, std::to_string(v));
}

void SettingsStore::writeDouble(const std::string& key, const std::string& name, double v) {
    // Shortest text that reads back to the same double.
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    write(key, name, std::string(buf, r.ptr));
}

void MemorySettingsStore::deleteRoot() {
    root_ = false;
    keys_.clear();
}

void MemorySettingsStore::createKey(const std::string& key) {
    root_ = true;
    keys_[key];
}

std::optional<std::string> MemorySettingsStore::read(const std::string& key, const std::string& name) const {
    if (broken_) throw SettingsError("Nie można odczytać ustawień");
    const auto k = keys_.find(key);
    if (k == keys_.end()) return std::nullopt;
    const auto v = k->second.find(name);
    if (v == k->second.end()) return std::nullopt;
    return v->second;
}

void MemorySettingsStore::write(const std::string& key, const std::string& name, const std::string& text) {
    root_ = true;
    keys_[key][name] = text;
    log_.push_back(key + "/" + name);
}

void MemorySettingsStore::erase(const std::string& key, const std::string& name) {
    const auto k = keys_.find(key);
    if (k != keys_.end()) k->second.erase(name);
}

}  // namespace zorv

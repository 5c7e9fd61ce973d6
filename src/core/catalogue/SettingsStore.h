#pragma once
// The persistent settings: a hierarchical store of typed values under one
// root (keys "Directories", "Hazard", "Application", "Graphs", "Reports").
//
// A store keeps every value as text; the typed readers parse it, so a value
// that does not parse counts as wrongly typed, exactly like a missing one.

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zorv {

// A missing or wrongly typed value, or a failure of the store itself.
class SettingsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    virtual bool rootExists() const = 0;
    // Removes the root with every key and value.
    virtual void deleteRoot() = 0;
    // Creates a key (and the root) if it does not exist.
    virtual void createKey(const std::string& key) = 0;
    virtual bool keyExists(const std::string& key) const = 0;
    // The stored text of a value; nothing when the key or value is absent.
    // Throws SettingsError when the store cannot be read.
    virtual std::optional<std::string> read(const std::string& key, const std::string& name) const = 0;
    // Stores a value's text, creating its key. Throws SettingsError when the
    // store cannot be written.
    virtual void write(const std::string& key, const std::string& name, const std::string& text) = 0;

    // Typed access. The readers throw SettingsError naming the value when it
    // is missing or does not parse; readString gives "" for a missing value.
    std::string readString(const std::string& key, const std::string& name) const;
    bool readBool(const std::string& key, const std::string& name) const;
    int readInt(const std::string& key, const std::string& name) const;
    double readDouble(const std::string& key, const std::string& name) const;

    void writeString(const std::string& key, const std::string& name, const std::string& v) {
        write(key, name, v);
    }
    void writeBool(const std::string& key, const std::string& name, bool v);
    void writeInt(const std::string& key, const std::string& name, int v);
    void writeDouble(const std::string& key, const std::string& name, double v);
};

// A store in memory, for tests and for runs that must not touch the user's
// settings. It records every write in order.
class MemorySettingsStore : public SettingsStore {
public:
    bool rootExists() const override { return root_; }
    void deleteRoot() override;
    void createKey(const std::string& key) override;
    bool keyExists(const std::string& key) const override { return keys_.count(key) != 0; }
    std::optional<std::string> read(const std::string& key, const std::string& name) const override;
    void write(const std::string& key, const std::string& name, const std::string& text) override;

    // Removes one value (to simulate a damaged store).
    void erase(const std::string& key, const std::string& name);
    // "Key/Name" of every write since construction or the last clearLog().
    const std::vector<std::string>& writeLog() const { return log_; }
    void clearLog() { log_.clear(); }
    // When set, every read throws SettingsError (a broken store).
    void setBroken(bool broken) { broken_ = broken; }

private:
    bool root_ = false;
    bool broken_ = false;
    std::map<std::string, std::map<std::string, std::string>> keys_;
    std::vector<std::string> log_;
};

}  // namespace zorv

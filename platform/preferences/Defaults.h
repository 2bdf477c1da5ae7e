// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>

// The user's preferences: a small typed key-value store kept in an INI file.
//
// Reads come from memory (loaded once when the store is opened); registered
// fallbacks live in memory only and a stored value always wins over them.
// Every write goes to the file at once (changes made in one pass of a running
// event loop together, as the pass ends), atomically, and private to the user;
// the file's folder is the store's own and is kept private too. A file that
// cannot be read reads as "nothing stored" and is set aside under the next
// free name of "<file>.bad", "<file>.bad.1", ... before the first write, never
// overwritten with what we could not parse; the fresh file then holds every
// value the store has. A write that fails keeps the
// program running and the value in memory; the change is written with the
// next one, or by a retry that backs off from one second to about a minute
// while an event loop runs, and once more when the application quits. The
// failure and the recovery each leave one line on standard error.
class Defaults {
public:
    using Value = std::variant<double, std::int64_t, bool, std::string>;

    explicit Defaults(std::string filePath);
    ~Defaults();
    Defaults(const Defaults&) = delete;
    Defaults& operator=(const Defaults&) = delete;

    // $XDG_CONFIG_HOME/tallyglow/tallyglow.conf, or ~/.config/tallyglow/tallyglow.conf.
    static std::string standardFilePath();

    const std::string& filePath() const { return path; }

    // True when a value is stored under the key or a fallback is registered for it.
    bool hasObject(const std::string& key) const;

    // Typed reads: the stored value when it reads as that type, else the
    // registered fallback, else zero, false or nothing.
    double doubleForKey(const std::string& key) const;
    std::int64_t integerForKey(const std::string& key) const;
    bool boolForKey(const std::string& key) const;
    std::optional<std::string> stringForKey(const std::string& key) const;

    void setDouble(double value, const std::string& key);
    void setInteger(std::int64_t value, const std::string& key);
    void setBool(bool value, const std::string& key);
    void setString(const std::string& value, const std::string& key);
    void removeObject(const std::string& key);

    void registerDefaults(const std::map<std::string, Value>& fallbacks);

    // Whether the last write reached the file; while it has not, some change
    // is still waiting to be written.
    bool lastSaveSucceeded() const { return saveSucceeded; }

    // Writes any change still waiting, now.
    void writePendingChanges();

private:
    struct Storage;
    void save(const std::string& key, const Value* value);
    void writeAndReport();
    bool writeUnsaved();
    void writeLater(int milliseconds);

    std::string path;
    std::unique_ptr<Storage> storage;
    std::map<std::string, Value> registered;
    bool saveSucceeded = true;
};

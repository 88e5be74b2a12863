#pragma once
// The per-user settings store shared by the editor and the encoder server.
// Values are strings addressed by key; a missing key gives the reader's default.

#include <QString>
#include <functional>
#include <memory>

namespace kelbrin {

// While it lives, calls back on this thread's event loop whenever the stored
// values may have changed: another process (or this one) wrote them.
class SettingsWatch {
public:
    virtual ~SettingsWatch() = default;
};

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored value, or defaultValue when the key is missing.
    virtual QString read(const QString& key, const QString& defaultValue = QString()) = 0;
    virtual void write(const QString& key, const QString& value) = 0;
    virtual bool contains(const QString& key) = 0;
    // Makes writes visible to the other process and picks up its writes.
    virtual void sync() = 0;
    // The folder that holds the settings file; formatex.ini lives there too.
    virtual QString folder() const = 0;
    // Calls `changed` when the values may have changed under this store, so a
    // reader can wait for that instead of syncing again and again. Null when
    // this store cannot tell: the reader then polls.
    virtual std::unique_ptr<SettingsWatch> watch(std::function<void()> changed) {
        (void)changed;
        return nullptr;
    }
};

// The store every part of the program uses. Tests swap in a MemorySettingsStore.
SettingsStore& Settings();
// Replaces the process-wide store; returns the previous one.
std::unique_ptr<SettingsStore> SetSettingsStore(std::unique_ptr<SettingsStore> store);

// A store whose file goes wrong says so here, once for each run of failures:
// the file and what went wrong. Without a handler the line goes to standard
// error (the encoder server has no window); the editor shows it as a numbered
// message.
enum class SettingsFault {
    NotWritten, // the file cannot be written: changes may be lost
    Damaged,    // lines of the file could not be read: the rest was read and is written back
};
using SettingsFailureHandler = std::function<void(const QString& file, SettingsFault fault)>;
void SetSettingsFailureHandler(SettingsFailureHandler handler);
void ReportSettingsFailure(const QString& file, SettingsFault fault);

// Shorthands for the most common calls.
inline QString GetSetting(const QString& key, const QString& defaultValue = QString()) {
    return Settings().read(key, defaultValue);
}
inline void SaveSetting(const QString& key, const QString& value) { Settings().write(key, value); }

} // namespace kelbrin

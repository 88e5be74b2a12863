#pragma once
#include "SettingsStore.h"

#include <QSettings>

namespace kelbrin {

// $XDG_CONFIG_HOME/Pelorin/Kelbrin.conf, section [Kelbrin], string values.
class QtSettingsStore final : public SettingsStore {
public:
    QtSettingsStore();
    QString read(const QString& key, const QString& defaultValue) override;
    void write(const QString& key, const QString& value) override;
    bool contains(const QString& key) override;
    void sync() override;
    QString folder() const override { return fileFolder(); }
    std::unique_ptr<SettingsWatch> watch(std::function<void()> changed) override;

    // The folder that holds Kelbrin.conf, whichever store is in use.
    static QString fileFolder();

private:
    // What identifies one version of the file: a rewrite (a new file renamed
    // over it) or a touch changes at least one of these.
    struct FileStamp {
        qint64 inode = -1;
        qint64 size = -1;
        qint64 modifiedNs = -1;
        qint64 changedNs = -1;
        bool operator==(const FileStamp&) const = default;
    };
    static FileStamp stampOf(const QString& path);

    // Reports a failure QSettings holds, once until it clears.
    void checkStatus();

    QSettings m_settings;
    bool m_failing = false;
    bool m_written = true;      // values set since the last sync (and before the first)
    FileStamp m_afterSync;      // the file as the last sync left it
    qint64 m_lastSeenMs = -1; // file timestamp after this process's last sync
    qint64 m_lastReadAtMs = 0; // when this process last read the file
};

} // namespace kelbrin

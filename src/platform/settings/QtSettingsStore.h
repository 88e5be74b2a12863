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

    // The folder that holds Kelbrin.conf; formatex.ini lives there too.
    static QString folder();

private:
    // Reports a failure QSettings holds, once until it clears.
    void checkStatus();

    QSettings m_settings;
    bool m_failing = false;
    qint64 m_lastSeenMs = -1; // file timestamp after this process's last sync
    qint64 m_lastReadAtMs = 0; // when this process last read the file
};

} // namespace kelbrin

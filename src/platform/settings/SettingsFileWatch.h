#pragma once
// A settings file watched on disk through its folder: QSettings writes a new
// file and renames it over the old one, and the other process may touch it.
// Only events that name the file count, not those of its lock and temporary
// files, so one write of the other process wakes the reader about once.

#include "SettingsStore.h"

#include <QSocketNotifier>
#include <QString>
#include <memory>

namespace kelbrin {

class SettingsFileWatch final : public SettingsWatch {
public:
    SettingsFileWatch(const QString& file, std::function<void()> changed);
    ~SettingsFileWatch() override;
    SettingsFileWatch(const SettingsFileWatch&) = delete;
    SettingsFileWatch& operator=(const SettingsFileWatch&) = delete;
    // False when the system would not watch the folder (it may not exist yet).
    bool active() const { return m_fd >= 0; }

private:
    void readEvents();

    QByteArray m_name; // the file's name in its folder
    std::function<void()> m_changed;
    int m_fd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace kelbrin

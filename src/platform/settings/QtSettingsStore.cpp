#include "QtSettingsStore.h"

#include "SettingsFileWatch.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>

namespace kelbrin {

namespace {
const QString kGroup = QStringLiteral("Kelbrin/");

qint64 ModifiedMs(const QString& path) {
    const QFileInfo info(path);
    return info.exists() ? info.lastModified().toMSecsSinceEpoch() : -1;
}
} // namespace

QtSettingsStore::QtSettingsStore()
    : m_settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Pelorin"),
                 QStringLiteral("Kelbrin")),
      m_lastReadAtMs(QDateTime::currentMSecsSinceEpoch()) {}

QString QtSettingsStore::read(const QString& key, const QString& defaultValue) {
    const QVariant v = m_settings.value(kGroup + key);
    if (!v.isValid())
        return defaultValue;
    // A hand-edited value with commas comes back as a list; keep it as the text it was.
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(QLatin1Char(','));
    return v.toString();
}

void QtSettingsStore::write(const QString& key, const QString& value) {
    if (m_settings.contains(kGroup + key) && read(key, QString()) == value)
        return; // unchanged values must not rewrite the file
    m_settings.setValue(kGroup + key, value);
    m_written = true;
    checkStatus();
}

void QtSettingsStore::checkStatus() {
    const QSettings::Status status = m_settings.status();
    if (status == QSettings::NoError) {
        m_failing = false;
        return;
    }
    if (m_failing)
        return;
    m_failing = true;
    // A format error means lines were skipped while reading; the file itself
    // was read and is written back from what was read.
    ReportSettingsFailure(m_settings.fileName(), status == QSettings::AccessError
                                                     ? SettingsFault::NotWritten
                                                     : SettingsFault::Damaged);
}

QtSettingsStore::FileStamp QtSettingsStore::stampOf(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return {static_cast<qint64>(info.st_ino), static_cast<qint64>(info.st_size),
            info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec,
            info.st_ctim.tv_sec * 1000000000LL + info.st_ctim.tv_nsec};
}

bool QtSettingsStore::contains(const QString& key) { return m_settings.contains(kGroup + key); }

void QtSettingsStore::sync() {
    // Nothing to send and nothing new to read: the file is the one the last
    // sync read. Re-reading it anyway costs a parse of the whole file, which
    // the recorder's handshake would pay fifty times a second.
    const QString path = m_settings.fileName();
    if (!m_written && m_afterSync.inode >= 0 && stampOf(path) == m_afterSync)
        return;
    // QSettings re-reads its file only when the size or the millisecond
    // timestamp changed since it last looked. The other process can rewrite the
    // file within the same millisecond as this process's last read, at the same
    // size (a counter going from 12 to 13), which would go unseen, and a write
    // merged over such a stale copy would undo the other process's value. Only
    // a file stamped no earlier than that read is at risk; moving its timestamp
    // to one this process has not seen makes the sync read it afresh. An older
    // file is left untouched, so a start that changes nothing writes nothing.
    const qint64 current = ModifiedMs(path);
    if (current >= 0 && current >= m_lastReadAtMs - 2) {
        qint64 stamp = QDateTime::currentMSecsSinceEpoch();
        while (stamp <= current || stamp == m_lastSeenMs)
            ++stamp;
        struct timespec times[2];
        times[0].tv_sec = 0;
        times[0].tv_nsec = UTIME_OMIT;
        times[1].tv_sec = static_cast<time_t>(stamp / 1000);
        times[1].tv_nsec = static_cast<long>((stamp % 1000) * 1000000);
        utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0);
    }
    // Taken before the sync: whatever it reads or writes happens at or after
    // it. A file rewritten after the stamp only makes the next sync read again;
    // a stamp taken after the read could match a version never read.
    const FileStamp before = stampOf(path);
    const qint64 readAt = QDateTime::currentMSecsSinceEpoch();
    m_settings.sync();
    m_lastSeenMs = ModifiedMs(path);
    m_lastReadAtMs = readAt;
    m_written = false;
    m_afterSync = before;
    checkStatus();
}

std::unique_ptr<SettingsWatch> QtSettingsStore::watch(std::function<void()> changed) {
    auto watch = std::make_unique<SettingsFileWatch>(m_settings.fileName(), std::move(changed));
    if (!watch->active())
        return nullptr;
    return watch;
}

QString QtSettingsStore::fileFolder() {
    QSettings probe(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Pelorin"),
                    QStringLiteral("Kelbrin"));
    return QFileInfo(probe.fileName()).absolutePath();
}

} // namespace kelbrin

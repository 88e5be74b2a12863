#include "CaptureBufferFolder.h"

#include "core/app/PathProcedures.h"
#include "RecordingConfiguration.h"
#include "RecordingHandshake.h"
#include "core/app/SettingsKeys.h"
#include "platform/settings/SettingsStore.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

namespace kelbrin {

namespace {

constexpr QFileDevice::Permissions kOwnerOnly =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;

bool SharedWithOthers(const QString& folder) {
    const QFileInfo info(folder);
    return info.exists() && ((info.permissions() & QFileDevice::WriteOther));
}

} // namespace

QString PrivateBufferFolderPath() {
    QString base = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (base.isEmpty())
        base = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (base.isEmpty())
        return QString();
    return WithTrailingSlash(QDir(base).filePath(QStringLiteral("kelbrin")));
}

QString PrivateBufferFolder() {
    const QString folder = PrivateBufferFolderPath();
    if (folder.isEmpty() || !QDir().mkpath(folder) || !QFile::setPermissions(folder, kOwnerOnly))
        return QString();
    return folder;
}

QString SettleBufferFolder(RecordingConfiguration& recording) {
    const QString configured = recording.TempRecordFolder.trimmed();
    // The runtime folder the buffer folder lives in is emptied at every
    // logout and boot: a folder gone since it was chosen is made again.
    if (!configured.isEmpty() && !SharedWithOthers(configured) &&
        (QFileInfo(configured).isDir() || (QDir().mkpath(configured) && QFile::setPermissions(configured, kOwnerOnly))))
        return recording.TempRecordFolder;
    const QString own = PrivateBufferFolder();
    if (own.isEmpty())
        return recording.TempRecordFolder;
    // The user's choice stays in the settings: the folder may be made safe,
    // or made at all, by the next run. This run says once where it buffers.
    if (!configured.isEmpty() && recording.RefusedBufferFolder.isEmpty() && !recording.RefusedBufferFolderTold)
        recording.RefusedBufferFolder = recording.TempRecordFolder;
    recording.TempRecordFolder = own;
    return own;
}

QStringList RemoveStaleBuffers(RecordingConfiguration& recording) {
    const QString folder = SettleBufferFolder(recording);
    if (folder.trimmed().isEmpty())
        return {};
    static const QRegularExpression buffer(QStringLiteral("^Bufor-?\\d+\\.tmp$"));
    const QDir dir(folder);
    // The only copy of that sound: kept rather than removed.
    const bool unencoded = UnacknowledgedBlocks() > 0;
    QStringList kept;
    for (const QString& name : dir.entryList({QStringLiteral("Bufor*.tmp")}, QDir::Files | QDir::Hidden)) {
        if (!buffer.match(name).hasMatch())
            continue;
        if (unencoded && QFileInfo(dir.filePath(name)).size() > 0)
            kept << KeepBufferFile(WithTrailingSlash(folder), name);
        else
            QFile::remove(dir.filePath(name));
    }
    return kept;
}

namespace {

// A name of its own for a kept buffer: one that is free now.
QString FreeKeptName(const QString& folder, const QString& name) {
    const QFileInfo info(folder + name);
    const QString stem = info.completeBaseName() + QStringLiteral(" kept ") +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    for (int n = 1; n < 1000; ++n) {
        const QString kept = folder + stem + (n > 1 ? QStringLiteral(" (%1)").arg(n) : QString()) + suffix;
        if (!QFileInfo::exists(kept))
            return kept;
    }
    return QString();
}

// Writes `extents` of the file at `from` one after another into the new file
// `to`; false, leaving no file at `to`, when any of it cannot be read or written.
bool CopyExtents(const QString& from, const QString& to, const BufferExtents& extents) {
    QFile source(from);
    QFile target(to);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    if (extents.isEmpty() || extents.last().first + extents.last().second > source.size())
        return false; // not the file the store tells of
    if (!target.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return false;
    bool ok = true;
    for (const auto& [offset, bytes] : extents) {
        const QByteArray data = source.seek(offset) ? source.read(bytes) : QByteArray();
        ok = ok && data.size() == bytes && target.write(data) == bytes;
    }
    ok = target.flush() && ok;
    target.close();
    if (!ok)
        QFile::remove(to);
    return ok;
}

} // namespace

// What the server encoded is in the recorded files already: only the rest is
// kept, so that the files and the kept buffer hold each moment once. When the
// store cannot tell which blocks those are, or the copy fails, the whole file
// is kept as it is, since the sound matters more than a repeat.
QString KeepBufferFile(const QString& folder, const QString& name) {
    const QString path = folder + name;
    if (name.isEmpty() || !QFileInfo(path).isFile())
        return path;
    const QString kept = FreeKeptName(folder, name);
    if (kept.isEmpty())
        return path;
    const std::optional<BufferExtents> unencoded = UnencodedExtents();
    if (unencoded && CopyExtents(path, kept, *unencoded)) {
        QFile::remove(path);
        return kept;
    }
    // A rename never replaces a file: an earlier kept buffer stays as well.
    return QFile::rename(path, kept) ? kept : path;
}

} // namespace kelbrin

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

QString PrivateBufferFolder() {
    QString base = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (base.isEmpty())
        base = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (base.isEmpty())
        return QString();
    const QString folder = QDir(base).filePath(QStringLiteral("kelbrin"));
    if (!QDir().mkpath(folder) || !QFile::setPermissions(folder, kOwnerOnly))
        return QString();
    return WithTrailingSlash(folder);
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
    recording.TempRecordFolder = own;
    SaveSetting(settingkeys::kTempRecDir, own);
    Settings().sync();
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

QString KeepBufferFile(const QString& folder, const QString& name) {
    const QString path = folder + name;
    if (name.isEmpty() || !QFileInfo(path).isFile())
        return path;
    const QFileInfo info(path);
    const QString stem = info.completeBaseName() + QStringLiteral(" kept ") +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    for (int n = 1; n < 1000; ++n) {
        const QString kept = folder + stem + (n > 1 ? QStringLiteral(" (%1)").arg(n) : QString()) + suffix;
        // A rename never replaces a file: an earlier kept buffer stays as well.
        if (!QFileInfo::exists(kept) && QFile::rename(path, kept))
            return kept;
    }
    return path;
}

} // namespace kelbrin

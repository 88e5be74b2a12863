#include "CaptureBufferFolder.h"

#include "core/app/PathProcedures.h"
#include "RecordingConfiguration.h"
#include "platform/settings/SettingsStore.h"

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
    if (!configured.isEmpty() && !SharedWithOthers(configured))
        return recording.TempRecordFolder;
    const QString own = PrivateBufferFolder();
    if (own.isEmpty())
        return recording.TempRecordFolder;
    recording.TempRecordFolder = own;
    SaveSetting(QStringLiteral("TempRecDir"), own);
    Settings().sync();
    return own;
}

void RemoveStaleBuffers(RecordingConfiguration& recording) {
    const QString folder = SettleBufferFolder(recording);
    if (folder.trimmed().isEmpty())
        return;
    static const QRegularExpression buffer(QStringLiteral("^Bufor-?\\d+\\.tmp$"));
    const QDir dir(folder);
    for (const QString& name : dir.entryList({QStringLiteral("Bufor*.tmp")}, QDir::Files | QDir::Hidden))
        if (buffer.match(name).hasMatch())
            QFile::remove(dir.filePath(name));
}

} // namespace kelbrin

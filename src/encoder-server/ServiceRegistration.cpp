#include "ServiceRegistration.h"

#include "platform/shell/ComponentActivation.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace kelbrin {

QString ActivationFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/dbus-1/services/") + DBusClassNames::service() + QStringLiteral(".service");
}

QString ActivationFileText(const QString& programPath) {
    // The bus splits Exec like a shell: quote the path, escaping what a
    // double-quoted string treats specially.
    QString quoted = programPath;
    quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    quoted.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    quoted.replace(QLatin1Char('$'), QStringLiteral("\\$"));
    quoted.replace(QLatin1Char('`'), QStringLiteral("\\`"));
    return QStringLiteral("[D-BUS Service]\nName=%1\nExec=\"%2\"\n").arg(DBusClassNames::service(), quoted);
}

bool WriteActivationFile(const QString& programPath, QString* error) {
    const QString path = ActivationFilePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    const QByteArray text = ActivationFileText(programPath).toUtf8();
    const bool ok = file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit();
    if (!ok && error)
        *error = file.errorString();
    return ok;
}

} // namespace kelbrin

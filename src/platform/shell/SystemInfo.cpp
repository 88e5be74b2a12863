#include "SystemInfo.h"
#include "SystemFolders.h"

#include <QDir>
#include <QLocale>
#include <QStandardPaths>

namespace kelbrin::SystemInfo {

int LangIdForLocale(const QString& localeName) {
    const QLocale locale(localeName);
    switch (locale.language()) {
    case QLocale::Polish: return 1045;
    case QLocale::German: return 1031;
    case QLocale::French: return 1036;
    case QLocale::Spanish: return 3082;
    case QLocale::Italian: return 1040;
    case QLocale::Czech: return 1029;
    case QLocale::Russian: return 1049;
    case QLocale::English:
        return locale.territory() == QLocale::UnitedKingdom ? 2057 : 1033;
    default: return 1033;
    }
}

int DefaultLangId() { return LangIdForLocale(QLocale::system().name()); }

QString TempFolder() {
    QString dir = QDir::tempPath();
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

QString UserMediaFolder() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    if (dir.isEmpty() || !QDir(dir).exists())
        dir = QDir::homePath();
    while (dir.size() > 1 && dir.endsWith(QLatin1Char('/')))
        dir.chop(1);
    return dir;
}

} // namespace kelbrin::SystemInfo

namespace kelbrin {

namespace {
class HostSystemFolders final : public SystemFolders {
public:
    QString tempFolder() const override { return SystemInfo::TempFolder(); }
    QString userMediaFolder() const override { return SystemInfo::UserMediaFolder(); }
};
} // namespace

const SystemFolders& HostFolders() {
    static const HostSystemFolders folders;
    return folders;
}

} // namespace kelbrin

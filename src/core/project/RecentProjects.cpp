#include "RecentProjects.h"

#include "core/app/PathProcedures.h"
#include "core/app/SettingsKeys.h"
#include "platform/settings/SettingsStore.h"

namespace kelbrin {

void PushRecentProject(const QString& path) {
    for (int k = 4; k >= 2; --k)
        SaveSetting(settingkeys::RecentProjectKey(k),
                    GetSetting(settingkeys::RecentProjectKey(k - 1), QString()));
    SaveSetting(settingkeys::RecentProjectKey(1), path);
}

QString ProjectRootName(const QString& path) {
    QString name = FileNameFromPath(path);
    name.remove(QChar(0));
    if (name.right(4).toLower() == QLatin1String(".kbe"))
        name.chop(4);
    return name;
}

} // namespace kelbrin

#include "ServerLanguage.h"

#include "core/app/Startup.h"
#include "core/app/TextCatalog.h"
#include "core/app/SettingsKeys.h"
#include "platform/settings/SettingsStore.h"
#include "platform/shell/SystemInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace kelbrin {

void LoadServerLanguage() {
    const QString beside = QCoreApplication::applicationDirPath();
    QString file = beside + QStringLiteral("/Kelbrin.ini");
    if (!QFileInfo::exists(file))
        file = QDir::cleanPath(beside + QStringLiteral("/../share/kelbrin/Kelbrin.ini"));
    if (!Catalog().load(file))
        return; // the built-in texts remain
    Settings().sync();
    const QString language = ChooseLanguage(GetSetting(settingkeys::kLangauge),
                                            Catalog().file().sectionNames(), SystemInfo::DefaultLangId());
    Catalog().setLanguage(language.isEmpty() ? QStringLiteral("ENGLISH") : language);
}

} // namespace kelbrin

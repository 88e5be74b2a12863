#include "ServerLanguage.h"

#include "core/app/Startup.h"
#include "core/app/TextCatalog.h"
#include "platform/settings/SettingsStore.h"

namespace kelbrin {

namespace {
constexpr int kPolishLangId = 1045;
}

bool LoadServerCatalog(const QString& languageFile, int systemLangId) {
    if (!Catalog().load(languageFile))
        return false;
    const QStringList sections = Catalog().file().sectionNames();
    QString language = ChooseLanguage(GetSetting(QStringLiteral("Langauge")), sections, systemLangId);
    if (language.isEmpty())
        language = ChooseLanguage(QString(), sections, systemLangId);
    if (!sections.contains(language, Qt::CaseInsensitive))
        language = systemLangId == kPolishLangId ? QStringLiteral("POLSKI") : QStringLiteral("ENGLISH");
    Catalog().setLanguage(language);
    return true;
}

} // namespace kelbrin

#include "AutoSaveTicker.h"

#include "core/app/Numbers.h"
#include "core/app/SettingsKeys.h"
#include "platform/settings/SettingsStore.h"

namespace kelbrin {

AutoSaveTicker::Outcome AutoSaveTicker::Tick(bool hasProjectFile, bool busy) {
    if (Val(GetSetting(settingkeys::kAutoSave, QStringLiteral("0"))) <= 0)
        return Outcome::Off;
    if (busy || !hasProjectFile)
        return Outcome::Skipped;
    const bool save = m_due;
    m_due = !m_due;
    return save ? Outcome::Save : Outcome::Waited;
}

} // namespace kelbrin

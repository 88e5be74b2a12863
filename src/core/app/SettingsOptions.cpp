#include "SettingsOptions.h"

#include "AppSettings.h"
#include "Numbers.h"
#include "ProgramObjects.h"
#include "SoundCards.h"
#include "core/editor/TrackGraph.h"
#include "core/app/SettingsKeys.h"
#include "platform/settings/SettingsStore.h"
#include "platform/shell/SystemFolders.h"

#include <cmath>

namespace kelbrin {

namespace {

bool Checked(const QString& key) { return Val(GetSetting(key, QStringLiteral("0"))) != 0; }
QString CheckText(bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); }
int ClampedSetting(const QString& key, const char* fallback, int low, int high) {
    return ClampTo(ValLong(GetSetting(key, QLatin1String(fallback))), low, high);
}
// Only digits make a number here: the boxes take neither sign nor comma.
bool IsWholeNumber(const QString& text) {
    if (text.isEmpty())
        return false;
    for (const QChar c : text)
        if (!c.isDigit())
            return false;
    return true;
}

} // namespace

int StoredFontSize() {
    return ClampedSetting(settingkeys::kFontSize, "8", kFontSizeMin, kFontSizeMax);
}

int StoredNodeSize() { return NodeSizeFromSetting(GetSetting(settingkeys::kNodeSize)); }

SettingsOptions LoadSettingsOptions(ProgramObjects& program) {
    SettingsOptions o;
    o.fileNaming = ClampedSetting(settingkeys::kFileNaming, "0", 0, kFileNamingCount - 1);
    const LoadSettingsEnvironment env = DefaultLoadSettingsEnvironment(HostFolders());
    ProgramObjects& s = program;
    LoadSettings(s.settings, s.recording, env);
    s.outputs.UseDefaultRenderer = UseDefaultRendererSetting();
    o.oneOutputForAll = s.outputs.UseDefaultRenderer;
    o.overTakeText = QString::number(std::lround(s.settings.OverTakeSeconds * 1000.0));
    o.askRemove = Checked(settingkeys::kAskRemove);
    if (GetSetting(settingkeys::kDestPath).isEmpty())
        SaveSetting(settingkeys::kDestPath, DefaultFolder(env));
    o.moveText = QString::number(s.settings.MoveStep);
    o.autoOpen = Checked(settingkeys::kAutoOpen);
    o.destFolder = GetSetting(settingkeys::kDestPath);
    if (GetSetting(settingkeys::kSPath).isEmpty())
        SaveSetting(settingkeys::kSPath, DefaultFolderRoot(env));
    o.sourceFolder = GetSetting(settingkeys::kSPath);
    o.fontSize = StoredFontSize();
    o.nodeSize = StoredNodeSize();
    o.mouseSensitivity = ClampedSetting(settingkeys::kMouseSens, "150", kMouseSensMin, kMouseSensMax);
    o.autoSave = Checked(settingkeys::kAutoSave);
    return o;
}

void SaveSettingsOptions(LoadedSettings& settings, AudioOutputs& outputs, const SettingsOptions& o) {
    SaveSetting(settingkeys::kFileNaming, QString::number(ClampTo(o.fileNaming, 0, kFileNamingCount - 1)));
    SaveSetting(settingkeys::kFontSize, QString::number(o.fontSize));
    SaveSetting(settingkeys::kMouseSens, QString::number(o.mouseSensitivity));
    SaveSetting(settingkeys::kNodeSize, QString::number(o.nodeSize));
    settings.MouseSensitivity = o.mouseSensitivity;
    SaveSetting(settingkeys::kAutoSave, CheckText(o.autoSave));
    SaveSetting(settingkeys::kAskRemove, CheckText(o.askRemove));
    if (!o.destFolder.isEmpty()) {
        SaveSetting(settingkeys::kDestPath, o.destFolder);
        settings.DestFolder = o.destFolder;
    }
    if (!o.sourceFolder.isEmpty()) {
        SaveSetting(settingkeys::kSPath, o.sourceFolder);
        settings.SourceFolder = o.sourceFolder;
    }
    SaveSetting(settingkeys::kOverTake,
                IsWholeNumber(o.overTakeText) ? QString::number(ValLong(o.overTakeText)) : QStringLiteral("100"));
    settings.OverTakeSeconds = static_cast<float>(Val(GetSetting(settingkeys::kOverTake, QStringLiteral("150"))) / 1000.0);
    SaveSetting(settingkeys::kAutoOpen, CheckText(o.autoOpen));
    const std::int32_t move = ValLong(o.moveText);
    SaveSetting(settingkeys::kMove, QString::number(move > 0 ? move : 1));
    settings.MoveStep = ValLong(GetSetting(settingkeys::kMove, QStringLiteral("5")));
    SaveSetting(settingkeys::kDefSoundCard, o.device);
    SaveSetting(settingkeys::kMultiDevices, o.oneOutputForAll ? QStringLiteral("0") : QStringLiteral("1"));
    outputs.UseDefaultRenderer = o.oneOutputForAll;
    settings.announceChange();
}

void RefreshSoundCards(AudioOutputs& outputs, const QString& selected, const std::function<void(bool)>& busy) {
    QStringList kept;
    for (const QString& name : outputs.SoundCards)
        if (!name.isEmpty() && name != selected)
            kept.append(name);
    SaveSetting(settingkeys::kSoundCardS, StoredSoundCardsText(kept));
    outputs.SoundCards.clear();
    EnumerateSoundCards(outputs, busy);
}

void AddSoundCard(AudioOutputs& outputs, const QString& name) {
    outputs.SoundCards.append(name);
    QString stored = GetSetting(settingkeys::kSoundCardS);
    if (stored.isEmpty()) // a list always opens with its separator
        stored = QStringLiteral("`");
    SaveSetting(settingkeys::kSoundCardS, stored + name + QLatin1Char('`'));
}

} // namespace kelbrin

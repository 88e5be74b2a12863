#include "SettingsOptions.h"

#include "AppSettings.h"
#include "Numbers.h"
#include "ProgramObjects.h"
#include "SoundCards.h"
#include "core/editor/TrackGraph.h"
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
    return ClampedSetting(QStringLiteral("FontSize"), "8", kFontSizeMin, kFontSizeMax);
}

int StoredNodeSize() { return NodeSizeFromSetting(GetSetting(QStringLiteral("NodeSize"))); }

SettingsOptions LoadSettingsOptions(ProgramObjects& program) {
    SettingsOptions o;
    o.fileNaming = ClampedSetting(QStringLiteral("FileNaming"), "0", 0, kFileNamingCount - 1);
    const LoadSettingsEnvironment env = DefaultLoadSettingsEnvironment(HostFolders());
    ProgramObjects& s = program;
    LoadSettings(s.settings, s.recording, env);
    s.outputs.UseDefaultRenderer = UseDefaultRendererSetting();
    o.oneOutputForAll = s.outputs.UseDefaultRenderer;
    o.overTakeText = QString::number(std::lround(s.settings.OverTakeSeconds * 1000.0));
    o.askRemove = Checked(QStringLiteral("AskRemove"));
    if (GetSetting(QStringLiteral("DestPath")).isEmpty())
        SaveSetting(QStringLiteral("DestPath"), DefaultFolder(env));
    o.moveText = QString::number(s.settings.MoveStep);
    o.autoOpen = Checked(QStringLiteral("AutoOpen"));
    o.destFolder = GetSetting(QStringLiteral("DestPath"));
    if (GetSetting(QStringLiteral("SPath")).isEmpty())
        SaveSetting(QStringLiteral("SPath"), DefaultFolderRoot(env));
    o.sourceFolder = GetSetting(QStringLiteral("SPath"));
    o.fontSize = StoredFontSize();
    o.nodeSize = StoredNodeSize();
    o.mouseSensitivity = ClampedSetting(QStringLiteral("MouseSens"), "150", kMouseSensMin, kMouseSensMax);
    o.autoSave = Checked(QStringLiteral("AutoSave"));
    return o;
}

void SaveSettingsOptions(LoadedSettings& settings, AudioOutputs& outputs, const SettingsOptions& o) {
    SaveSetting(QStringLiteral("FileNaming"), QString::number(ClampTo(o.fileNaming, 0, kFileNamingCount - 1)));
    SaveSetting(QStringLiteral("FontSize"), QString::number(o.fontSize));
    SaveSetting(QStringLiteral("MouseSens"), QString::number(o.mouseSensitivity));
    SaveSetting(QStringLiteral("NodeSize"), QString::number(o.nodeSize));
    settings.MouseSensitivity = o.mouseSensitivity;
    SaveSetting(QStringLiteral("AutoSave"), CheckText(o.autoSave));
    SaveSetting(QStringLiteral("AskRemove"), CheckText(o.askRemove));
    if (!o.destFolder.isEmpty()) {
        SaveSetting(QStringLiteral("DestPath"), o.destFolder);
        settings.DestFolder = o.destFolder;
    }
    if (!o.sourceFolder.isEmpty()) {
        SaveSetting(QStringLiteral("SPath"), o.sourceFolder);
        settings.SourceFolder = o.sourceFolder;
    }
    SaveSetting(QStringLiteral("OverTake"),
                IsWholeNumber(o.overTakeText) ? QString::number(ValLong(o.overTakeText)) : QStringLiteral("100"));
    settings.OverTakeSeconds = static_cast<float>(Val(GetSetting(QStringLiteral("OverTake"), QStringLiteral("150"))) / 1000.0);
    SaveSetting(QStringLiteral("AutoOpen"), CheckText(o.autoOpen));
    const std::int32_t move = ValLong(o.moveText);
    SaveSetting(QStringLiteral("Move"), QString::number(move > 0 ? move : 1));
    settings.MoveStep = ValLong(GetSetting(QStringLiteral("Move"), QStringLiteral("5")));
    SaveSetting(QStringLiteral("DefSoundCard"), o.device);
    SaveSetting(QStringLiteral("MultiDevices"), o.oneOutputForAll ? QStringLiteral("0") : QStringLiteral("1"));
    outputs.UseDefaultRenderer = o.oneOutputForAll;
    settings.announceChange();
}

void RefreshSoundCards(AudioOutputs& outputs, const QString& selected, const std::function<void(bool)>& busy) {
    QStringList kept;
    for (const QString& name : outputs.SoundCards)
        if (!name.isEmpty() && name != selected)
            kept.append(name);
    SaveSetting(QStringLiteral("SoundCardS"), StoredSoundCardsText(kept));
    outputs.SoundCards.clear();
    EnumerateSoundCards(outputs, busy);
}

void AddSoundCard(AudioOutputs& outputs, const QString& name) {
    outputs.SoundCards.append(name);
    QString stored = GetSetting(QStringLiteral("SoundCardS"));
    if (stored.isEmpty()) // a list always opens with its separator
        stored = QStringLiteral("`");
    SaveSetting(QStringLiteral("SoundCardS"), stored + name + QLatin1Char('`'));
}

} // namespace kelbrin

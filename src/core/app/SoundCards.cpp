#include "SoundCards.h"

#include "MessageService.h"
#include "Numbers.h"
#include "AudioOutputs.h"
#include "TextCatalog.h"
#include "core/document/cPozycjaMP3.h"
#include "platform/media/MediaPlatform.h"
#include "core/app/SettingsKeys.h"
#include "platform/settings/SettingsStore.h"
#include "core/app/TextNumbers.h"

namespace kelbrin {

namespace {
constexpr QChar kSeparator = QLatin1Char('`');
using texts::kNoOutputDeviceText;
} // namespace

void AppendStoredSoundCards(QStringList& names, const QString& stored) {
    qsizetype p = 0; // the first character is skipped whatever it is
    for (;;) {
        const qsizetype q = stored.indexOf(kSeparator, p + 1);
        if (q < 0)
            break;
        const QString name = stored.mid(p + 1, q - p - 1);
        if (!names.contains(name))
            names.append(name);
        p = q;
    }
}

QString StoredSoundCardsText(const QStringList& names) {
    if (names.isEmpty())
        return QString();
    QString text(kSeparator);
    for (const QString& name : names)
        text += name + kSeparator;
    return text;
}

bool UseDefaultRendererSetting() { return Val(GetSetting(settingkeys::kMultiDevices)) == 0; }

bool LoadStoredSoundCards(AudioOutputs& outputs) {
    outputs.UseDefaultRenderer = UseDefaultRendererSetting();
    const QString stored = GetSetting(settingkeys::kSoundCardS);
    outputs.DevicesPending = stored.trimmed().isEmpty();
    if (outputs.DevicesPending)
        return false;
    AppendStoredSoundCards(outputs.SoundCards, stored);
    return true;
}

void EnsureSoundCards(AudioOutputs& outputs, const std::function<void(bool)>& busy) {
    if (outputs.DevicesPending)
        EnumerateSoundCards(outputs, busy);
}

void EnumerateSoundCards(AudioOutputs& outputs, const std::function<void(bool)>& busy) {
    const bool stored = LoadStoredSoundCards(outputs);
    outputs.DevicesPending = false;
    if (!stored) {
        if (busy)
            busy(true);
        const QStringList devices = Media().outputDeviceNames();
        if (busy)
            busy(false);
        if (devices.isEmpty()) {
            ShowMessage(GetText(kNoOutputDeviceText), mb::Information, QString(), kNoOutputDeviceText);
            for (const QString& name : {kDefaultOutputName, kNullOutputName})
                if (!outputs.SoundCards.contains(name))
                    outputs.SoundCards.append(name);
        } else {
            outputs.SoundCards = QStringList{kDefaultOutputName} + devices + QStringList{kNullOutputName};
            SaveSetting(settingkeys::kDefSoundCard, outputs.SoundCards.first());
            SaveSetting(settingkeys::kSoundCardS, StoredSoundCardsText(outputs.SoundCards));
        }
    }
}

void SetTrackOutput(cPozycjaMP3& track, const QString& device) {
    track.strDevice = device;
    track.blnDeviceChanged = true;
    track.blnZmodyfikowana = true;
}

} // namespace kelbrin

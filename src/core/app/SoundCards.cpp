#include "SoundCards.h"

#include "MessageService.h"
#include "Numbers.h"
#include "ProgramObjects.h"
#include "TextCatalog.h"
#include "core/document/cPozycjaMP3.h"
#include "platform/media/MediaPlatform.h"
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

bool UseDefaultRendererSetting() { return Val(GetSetting(QStringLiteral("MultiDevices"))) == 0; }

void EnumerateSoundCards(const std::function<void(bool)>& busy) {
    ProgramObjects& shared = Program();
    const QString stored = GetSetting(QStringLiteral("SoundCardS"));
    if (!stored.trimmed().isEmpty()) {
        AppendStoredSoundCards(shared.outputs.SoundCards, stored);
    } else {
        if (busy)
            busy(true);
        const QStringList devices = Media().outputDeviceNames();
        if (busy)
            busy(false);
        if (devices.isEmpty()) {
            ShowMessage(GetText(kNoOutputDeviceText), mb::Information, QString(), kNoOutputDeviceText);
            for (const QString& name : {kDefaultOutputName, kNullOutputName})
                if (!shared.outputs.SoundCards.contains(name))
                    shared.outputs.SoundCards.append(name);
        } else {
            shared.outputs.SoundCards = QStringList{kDefaultOutputName} + devices + QStringList{kNullOutputName};
            SaveSetting(QStringLiteral("DefSoundCard"), shared.outputs.SoundCards.first());
            SaveSetting(QStringLiteral("SoundCardS"), StoredSoundCardsText(shared.outputs.SoundCards));
        }
    }
    shared.outputs.UseDefaultRenderer = UseDefaultRendererSetting();
}

void SetTrackOutput(cPozycjaMP3& track, const QString& device) {
    track.strDevice = device;
    track.blnDeviceChanged = true;
    track.blnZmodyfikowana = true;
}

} // namespace kelbrin

#include "SoundCards.h"

#include "MessageService.h"
#include "Numbers.h"
#include "SharedState.h"
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

namespace {
// Start-up found no stored list and left the devices to the first need.
bool& devicesPending() {
    static bool pending = false;
    return pending;
}
} // namespace

bool LoadStoredSoundCards() {
    SharedState& shared = Shared();
    shared.UseDefaultRenderer = UseDefaultRendererSetting();
    const QString stored = GetSetting(QStringLiteral("SoundCardS"));
    devicesPending() = stored.trimmed().isEmpty();
    if (devicesPending())
        return false;
    AppendStoredSoundCards(shared.SoundCards, stored);
    return true;
}

void EnsureSoundCards(const std::function<void(bool)>& busy) {
    if (devicesPending())
        EnumerateSoundCards(busy);
}

void EnumerateSoundCards(const std::function<void(bool)>& busy) {
    SharedState& shared = Shared();
    const bool stored = LoadStoredSoundCards();
    devicesPending() = false;
    if (!stored) {
        if (busy)
            busy(true);
        const QStringList devices = Media().outputDeviceNames();
        if (busy)
            busy(false);
        if (devices.isEmpty()) {
            ShowMessage(GetText(kNoOutputDeviceText), mb::Information, QString(), kNoOutputDeviceText);
            for (const QString& name : {kDefaultOutputName, kNullOutputName})
                if (!shared.SoundCards.contains(name))
                    shared.SoundCards.append(name);
        } else {
            shared.SoundCards = QStringList{kDefaultOutputName} + devices + QStringList{kNullOutputName};
            SaveSetting(QStringLiteral("DefSoundCard"), shared.SoundCards.first());
            SaveSetting(QStringLiteral("SoundCardS"), StoredSoundCardsText(shared.SoundCards));
        }
    }
}

void SetTrackOutput(cPozycjaMP3& track, const QString& device) {
    track.strDevice = device;
    track.blnDeviceChanged = true;
    track.blnZmodyfikowana = true;
}

} // namespace kelbrin

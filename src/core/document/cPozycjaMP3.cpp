#include "cPozycjaMP3.h"

#include "core/app/TextCatalog.h"
#include "core/app/SettingsKeys.h"
#include "platform/settings/SettingsStore.h"

namespace kelbrin {

cPozycjaMP3::cPozycjaMP3()
    : strLabel(GetText(3097)), strDevice(GetSetting(settingkeys::kDefSoundCard,
                                                    QStringLiteral("Default DirectSound Device"))) {
}

void cPozycjaMP3::AttachGraph(const std::shared_ptr<PlaybackGraph>& graph) {
    MediaControl = MediaPosition = MediaBasicAudio = graph;
}

} // namespace kelbrin

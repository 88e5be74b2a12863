#include "PreviewPlayer.h"

#include "core/app/SoundCards.h"
#include "core/document/cPozycjaMP3.h"
#include "platform/media/PlaybackGraph.h"

namespace kelbrin {

void PreviewPlayer::cboDevice_Click(const QString& device) {
    if (!Cpoz)
        return;
    SetTrackOutput(*Cpoz, device);
    if (!MediaControl)
        return;
    const double at = MediaControl->currentPosition();
    Release();
    cmdPlay2_Click();
    if (MediaControl)
        MediaControl->setCurrentPosition(at);
}

} // namespace kelbrin

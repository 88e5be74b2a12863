#include "MainTrackWindows.h"

#include "TrackPanel.h"
#include "frmDazudizi.h"

namespace kelbrin {

void MainTrackWindows::addTrack() { m_window.cmdDodaj_Click(); }

// Track > Properties, the pencil button and the double-clicks on a box, a
// list row or a tree node show their track in the panel; the split dialog
// shows its first new track there too.
void MainTrackWindows::openProperties(std::shared_ptr<cPozycjaMP3> track) {
    m_window.Panel().PokazMnie_FA(std::move(track));
}

void MainTrackWindows::playPreview() { m_window.Panel().cmdPlay2_Click(); }

bool MainTrackWindows::tracksHeld() { return m_window.ExportDialogHoldsTracks(); }

} // namespace kelbrin

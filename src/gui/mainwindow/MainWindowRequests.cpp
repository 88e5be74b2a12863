#include "MainWindowRequests.h"

#include "TrackPanel.h"
#include "frmDazudizi.h"
#include "gui/export/frmSave.h"

namespace kelbrin {

void MainWindowRequests::addTrack() { m_window.cmdDodaj_Click(); }

// Track > Properties, the pencil button and the double-clicks on a box, a
// list row or a tree node show their track in the panel; the split dialog
// shows its first new track there too.
void MainWindowRequests::openProperties(std::shared_ptr<cPozycjaMP3> track) {
    m_window.Panel().PokazMnie_FA(std::move(track));
}

void MainWindowRequests::playPreview() { m_window.Panel().cmdPlay2_Click(); }

bool MainWindowRequests::tracksHeld() { return m_window.ExportDialogHoldsTracks(); }

void MainWindowRequests::exportTracks() { frmSave::PokazMnie(m_window, false); }

void MainWindowRequests::exitProgram() { m_window.close(); }

} // namespace kelbrin

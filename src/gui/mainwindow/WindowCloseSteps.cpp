#include "WindowCloseSteps.h"

#include "MainSourceToolHost.h"
#include "ProjectCommands.h"
#include "TrackPanel.h"
#include "frmDazudizi.h"
#include "core/playback/SequencePlayer.h"
#include "gui/document/UnwrittenHeaderEdits.h"
#include "gui/playback/MainPlayer.h"

namespace kelbrin {

bool WindowCloseSteps::saveProject(const QString& projectName) {
    bool keepName = true;
    return m_window.Projects().Zapisz(true, keepName, projectName);
}

bool WindowCloseSteps::ready() const { return m_window.CanChangeProject(); }

bool WindowCloseSteps::settleHeaderEdits() { return SettleUnwrittenHeaderEdits(m_window.ToolHost()); }

cPozycjeMP3* WindowCloseSteps::tracks() const { return m_window.cPozycje().get(); }

// The panel's preview may be playing one of the sources about to be deleted.
void WindowCloseSteps::stopPreview() { m_window.Panel().cmdStop2_Click(); }

void WindowCloseSteps::stopPlayer() { m_window.Player().player().Shutdown(); }

} // namespace kelbrin

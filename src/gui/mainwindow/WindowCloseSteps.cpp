#include "WindowCloseSteps.h"

#include "ProjectCommands.h"
#include "frmDazudizi.h"
#include "core/playback/SequencePlayer.h"
#include "gui/playback/MainPlayer.h"

namespace kelbrin {

bool WindowCloseSteps::saveProject(const QString& projectName) {
    bool keepName = true;
    return m_window.Projects().Zapisz(true, keepName, projectName);
}

bool WindowCloseSteps::ready() const { return m_window.CanChangeProject(); }

cPozycjeMP3* WindowCloseSteps::tracks() const { return m_window.cPozycje().get(); }

void WindowCloseSteps::stopPlayer() { m_window.Player().player().Shutdown(); }

} // namespace kelbrin

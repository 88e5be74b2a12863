#include "MainOpenFiles.h"

#include "core/app/ProgramObjects.h"
#include "frmDazudizi.h"
#include "gui/document/frmTAG.h"
#include "gui/playback/MainPlayer.h"

namespace kelbrin {

EditorSession& MainOpenFiles::session() const {
    return m_window.Objects().session;
}

std::shared_ptr<cPozycjeMP3> MainOpenFiles::tracks() const { return m_window.cPozycje(); }

void MainOpenFiles::clearUndoHistory() { m_window.ClearUndoHistory(); }

void MainOpenFiles::openTagEditor(std::shared_ptr<cPozycjaPlikow> file) {
    frmTAG::PokazMnie(std::move(file), m_window.Player().graphs(), &m_window);
}

bool MainOpenFiles::canChangeFiles() const { return m_window.CanChangeProject(); }

} // namespace kelbrin

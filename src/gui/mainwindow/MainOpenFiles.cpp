#include "MainOpenFiles.h"

#include "core/app/ProgramObjects.h"
#include "ProjectCommands.h"
#include "frmDazudizi.h"
#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjeMP3.h"
#include "gui/document/SourceToolWindows.h"
#include "gui/document/frmTAG.h"
#include "gui/editor/EditorController.h"
#include "gui/playback/MainPlayer.h"

namespace kelbrin {

EditorSession& MainOpenFiles::session() const {
    return m_window.Objects().session;
}

std::shared_ptr<cPozycjeMP3> MainOpenFiles::tracks() const { return m_window.cPozycje(); }

void MainOpenFiles::clearUndoHistory() { m_window.ClearUndoHistory(); }

void MainOpenFiles::fileClosed(const QString& path) {
    SourceToolWindowsFollowOpenFiles();
    // The project file lists its sources: one closed is a change to save, or
    // the next opening brings it back.
    if (const auto all = tracks(); all && !m_window.Projects().ProjectFile().isEmpty())
        all->blnZmodyfikowana = true;
    // A track pasted from the clipboard takes its source: pasted from a
    // closed file, it would name a source the project no longer holds and
    // be dropped when the project is opened again. So the clipboard goes
    // with its file, as the undo history does.
    const std::shared_ptr<cPozycjaMP3>& clipboard = m_window.CpozSchowek();
    if (!clipboard || clipboard->strFileNameSource != path)
        return;
    m_window.ReleaseClipboardTrack();
    GraphEditor& editor = m_window.Editor().editor();
    if (!editor.linkMode())
        editor.Udostepniaj(editor.lngSelectedTrack);
    for (const char* paste : {"cmdPaste(1)", "mnuTrack_Wklej_Nowy"})
        m_window.Editor().setControlEnabled(QLatin1String(paste), false);
}

void MainOpenFiles::openTagEditor(std::shared_ptr<cPozycjaPlikow> file) {
    frmTAG::PokazMnie(std::move(file), m_window.Player().graphs(), &m_window);
}

bool MainOpenFiles::canChangeFiles() const { return m_window.CanChangeProject(); }

} // namespace kelbrin

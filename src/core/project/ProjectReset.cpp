#include "ProjectReset.h"

#include "ProjectRecords.h"
#include "ProjectWindow.h"
#include "core/app/LoadedSettings.h"
#include "core/document/EditorSession.h"
#include "core/document/cPozycjeMP3.h"
#include "core/document/cPozycjePlikow.h"

namespace kelbrin {

void ResetProject(ProjectWindow& w) {
    // Neither a run nor a Play waiting for its start goes on into the next
    // project.
    w.StopPlayer();
    w.SetSelectedTrack(0);
    w.Tracks() = std::make_shared<cPozycjeMP3>();
    w.Session().OpenFiles = std::make_shared<cPozycjePlikow>();
    w.ClearTrackViews();
    w.ReleasePreviewPlayer();
    w.SetProjectFile(QString());
    w.SetCheckedRecentItem(0);
    w.SetCloneEnabled(false);
    w.Session().NextTrackNo = 1;
    w.Session().NextFileId = 1;
    w.Session().ProjectCodePage = 0;
    w.SetProjectDateValue(project_format::DateValue(QDate::currentDate()));
    w.ClearUndoHistory();
    w.RebuildTree();
    w.ReleaseClipboardTrack();
    w.SetAutosave(false);
}

} // namespace kelbrin

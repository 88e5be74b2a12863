#pragma once
// The split dialog's entry points in the main window. The window calls
// InstallSplitDialog once when it is built, and runs the others from its
// handlers (the add button, the File menu's add item, the tree's numpad "+",
// the clone button, and wherever it offers the CUE import).

#include "core/export/SplitPlan.h"

#include <QDateTime>
#include <memory>

namespace kelbrin {

class SplitHost;
class cPozycjaMP3;
class frmDazudizi;

// The window as the split dialog sees it (its graph editor included).
std::shared_ptr<SplitHost> MainWindowSplitHost(frmDazudizi& window);

// The split dialog answers the graph editor's requests (the Track menu's split
// command, paste as new). Undone when the window goes.
void InstallSplitDialog(frmDazudizi& window);

// The clone command without the preview start (the caller plays it next): the
// current track is copied, the copy runs on from where the track ends to the
// end of its source, and it is pasted as a new track. Nothing while the copy
// command is disabled.
void cmdKlon_Click(frmDazudizi& window);

// The CUE import for the selected track's source.
void ImportCueSheet(frmDazudizi& window);

// The run at once into this window's project (the recorder hand-over passes
// each recorded file with openSource and SplitMode::SegmentList; without a
// ".tim" beside the file the whole file becomes one track).
void SplitAtOnce(frmDazudizi& window, std::shared_ptr<cPozycjaMP3> track, bool openSource,
                 const QDateTime& when, SplitMode mode = SplitMode::Manual);

} // namespace kelbrin

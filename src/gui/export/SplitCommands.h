#pragma once
// The commands that start new tracks through the split dialog, over any host:
// add a track, edit a track's source, import a CUE sheet, and the run at once
// that paste-as-new, the CUE import and the recorder hand-over use. The main
// window reaches them through SplitWindowCommands.

#include "core/export/SplitPlan.h"

#include <QDateTime>
#include <memory>

class QWidget;

namespace kelbrin {

class SplitHost;
struct LoadedSettings;
class cPozycjaMP3;

// The add command: the add button goes off and the dialog opens for a new track;
// with no source open, the open dialog comes first.
void AddTrackThroughSplit(const std::shared_ptr<SplitHost>& host, QWidget* parent);

// The Track menu's advanced command: the dialog in edit mode for the selected track.
void EditTrackThroughSplit(const std::shared_ptr<SplitHost>& host, QWidget* parent);

// The run at once: `track` is finished and added without showing the dialog.
// It takes no undo snapshot: the command that starts it does.
// With `openSource` its source is opened first (or taken as it is when already
// open) and the run cuts it in `mode`; the range, label and tag fields the
// caller set stay. `when` names the output (invalid = now).
void SplitAtOnce(const std::shared_ptr<SplitHost>& host, std::shared_ptr<cPozycjaMP3> track,
                 bool openSource, const QDateTime& when, SplitMode mode = SplitMode::Manual);

// The open dialog's filter for choosing a CUE sheet, in the split dialog and
// for the CUE import alike.
QString CueSheetFilter();

// The CUE import: asks for a sheet and makes one track of the selected track's
// source per entry, from the last entry to the first, after one undo snapshot.
// The sheet is looked for first in the settings' source folder.
void ImportCueSheet(const std::shared_ptr<SplitHost>& host, const LoadedSettings& settings,
                    QWidget* parent);

} // namespace kelbrin

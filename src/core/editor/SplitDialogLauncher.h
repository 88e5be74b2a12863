#pragma once
// What the track graph editor asks of the split dialog, and what it needs
// back. The split dialog's window implements SplitDialogLauncher and
// registers it with SetSplitDialogLauncher when the program starts; until
// then the requests do nothing.

#include <QList>
#include <cstdint>
#include <functional>
#include <memory>

namespace kelbrin {

class cPozycjaMP3;

struct SplitDialogRequest {
    // The track the dialog works on: an existing track (the Track menu's
    // split command) or a new, unnumbered one (add track, paste as new).
    std::shared_ptr<cPozycjaMP3> track;
    // The track is new: on OK the dialog numbers it (NextTrackNo), adds it to
    // the collection and places it.
    bool newTrack = false;
    bool secondFlag = false;
    // Paste as new: the dialog runs its OK at once with the track as given
    // (the run-at-once path), without waiting for the user.
    bool runAtOnce = false;
    // A run at once cuts by the segment list beside the source (a recording's).
    bool bySegmentList = false;
    std::int32_t number1 = 0;
    std::int32_t number2 = 0;
    double date = 0; // 0: today
    // Called by the dialog after it has added tracks to the collection, with
    // their numbers; the editor then shows their boxes, rows and nodes.
    std::function<void(const QList<std::int32_t>& numbers)> tracksAdded;
};

class SplitDialogLauncher {
public:
    virtual ~SplitDialogLauncher() = default;
    // frmPozycje::PokazMnie: shows the dialog modeless (or, with runAtOnce,
    // finishes it at once) and returns.
    virtual void PokazMnie(const SplitDialogRequest& request) = 0;
};

// The launcher in force (null until the split dialog registers itself).
SplitDialogLauncher* SplitDialog();
// Registers a launcher (null to remove it); returns the previous one.
SplitDialogLauncher* SetSplitDialogLauncher(SplitDialogLauncher* launcher);

} // namespace kelbrin

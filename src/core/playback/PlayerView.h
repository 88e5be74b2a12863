#pragma once
// What the sequence player shows through the main window: each track's look
// while it plays (box colour and tree image), its time label, the busy
// pointer while graphs are built, the play modes' check marks, and the
// deletion that a run held back. The window implements it; tests record it.

#include <QString>
#include <cstdint>

namespace kelbrin {

class cPozycjaMP3;

enum class PlayLook {
    Playing, // red box, tree image "play"
    Paused,  // yellow box, "pause"
    Idle,    // the box's resting colour, "stop" (or "blok" for a locked track)
};

class PlayerView {
public:
    virtual ~PlayerView() = default;
    virtual void showLook(const cPozycjaMP3& track, PlayLook look) = 0;
    // The time label under the box (lblTime): its text and whether it shows.
    // The window shows it only while its View menu item asks for time labels.
    virtual void setTimeText(std::int32_t number, const QString& text) = 0;
    virtual void setTimeVisible(std::int32_t number, bool visible) = 0;
    virtual void setBusyPointer(bool busy) = 0;
    // A run began or ended.
    virtual void runChanged(bool running) = 0;
    // A play mode's check mark or the marker mode's enabled state changed.
    virtual void modesChanged() = 0;
    // Delete the track with this number now, as the delete command does
    // (TrackCommandSet::cmdUsun_Click with it selected): its deletion had waited for the run.
    virtual void deleteTrack(std::int32_t number) = 0;
};

} // namespace kelbrin

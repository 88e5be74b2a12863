#pragma once
// What the track graph editor asks of the parts of the program around it:
// the windows that add, show and hold tracks, the fade editors, and the
// track tree that follows the graph.

#include <cstdint>
#include <memory>

namespace kelbrin {

class cPozycjaMP3;

// The track panel, the split dialog and the export dialog. Until the program
// hands them in, every command and double-click that would open them is
// disabled.
class TrackWindows {
public:
    virtual ~TrackWindows() = default;
    virtual void addTrack() = 0;                                        // the add command
    virtual bool canOpenProperties() const = 0;                         // a track panel is there
    virtual void openProperties(std::shared_ptr<cPozycjaMP3> track) = 0; // TrackPanel::PokazMnie_FA
    virtual void playPreview() = 0;                                     // the track panel's preview
    // True while another window lists the tracks by their places (the
    // export dialog); it has said why. Commands that remove, replace or
    // reorder tracks ask it first and then do nothing.
    virtual bool tracksHeld() = 0;
};

// The fade editor between two linked tracks.
class FadeEditorOpener {
public:
    virtual ~FadeEditorOpener() = default;
    virtual bool FadeEditorAvailable() const = 0; // OpenFadeEditor opens a window
    virtual void OpenFadeEditor(std::shared_ptr<cPozycjaMP3> ending, std::shared_ptr<cPozycjaMP3> starting) = 0;
};

// The track tree, told what changed in the graph.
class TrackTreeUpdates {
public:
    virtual ~TrackTreeUpdates() = default;
    virtual void TrackChanged(std::int32_t number) = 0;  // its text or image
    virtual void TrackRelinked(std::int32_t number) = 0; // its node moves to the new predecessor
    virtual void TrackDeleted(std::int32_t number) = 0;  // its node goes
    virtual void Refresh() = 0;                          // the whole tree again
};

} // namespace kelbrin

#pragma once
// The main window's key-up table: which player, preview or track command a
// released key runs. A key acts only when its key-down reached the window
// (a key taken by a menu shortcut or another window never sets the flag), and
// once per release however long it was held.
//
// Keys are virtual-key codes (letters as their upper-case character codes);
// modifiers are the sum of 1 (Shift), 2 (Ctrl) and 4 (Alt).

#include <cstdint>

namespace kelbrin {

namespace vk {
constexpr int Back = 8;
constexpr int Return = 13;
constexpr int Add = 107; // the number pad's "+"
constexpr int F1 = 112;
constexpr int B = 66, C = 67, V = 86, X = 88, Z = 90;
inline constexpr int F(int n) { return F1 + n - 1; }
} // namespace vk

namespace keymod {
constexpr int Shift = 1, Ctrl = 2, Alt = 4;
}

enum class KeyCommand {
    None,
    // Sequence player.
    SeqMoveBack,
    SeqMoveForward,
    PlayAllToggle,
    RepeatToggle,
    MarkerToggle,
    Previous,
    Play,
    Pause,
    Stop,
    Next,
    // Track commands.
    PasteAsNew,
    Properties,
    AddTrack,
    // Track panel and its preview.
    PreviewMoveBack,
    PreviewPlay,
    PreviewPause,
    PreviewStop,
    PreviewMoveForward,
    PreviewScanStepBack,
    PreviewScanStepForward,
    MarkBegin,
    MarkEnd,
    TapTempo,
    TestBegin,
    TestEnd,
    ScanBackward,
    ScanForward,
};

// What the conditions of the rows look at, read when the key is released.
struct KeyUpState {
    bool panelVisible = false;     // the track panel fraAudio
    bool focusInTagBox = false;    // one of the panel's five tag boxes has the focus
    bool focusInTextBox = false;   // any text box has the focus (the tag boxes too)
    bool playEnabled = false;      // the player's play button
    bool markerItemEnabled = false; // the Play menu's stop-at-marker item
    bool addEnabled = false;       // the add-track button
    bool markerMoveBusy = false;   // a preview marker move is running
};

class KeyUpTable {
public:
    // Every key-down that reaches the window.
    void KeyDown() { m_keyDown = true; }
    // The command the released key runs, or None. Clears the key-down flag.
    KeyCommand KeyUp(int keyCode, int shift, const KeyUpState& state);

    bool keyDownSeen() const { return m_keyDown; }

private:
    bool m_keyDown = false;
};

// The same rules without the key-down pairing.
KeyCommand KeyUpCommand(int keyCode, int shift, const KeyUpState& state);

} // namespace kelbrin

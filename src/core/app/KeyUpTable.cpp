#include "KeyUpTable.h"

#include <optional>

namespace kelbrin {

namespace {

enum class Condition { None, PanelVisible, PlayEnabled, MarkerItemEnabled, AddEnabled, PanelIdle, PanelNotTyping, NotTyping };

struct Row {
    int key;
    Condition condition;
    KeyCommand command;
};

// In a text box Shift with a letter types a capital and Ctrl+Z takes back
// the typing: neither moves the player nor pastes a track there.
constexpr Row kShift[] = {
    {vk::Z, Condition::NotTyping, KeyCommand::SeqMoveBack},
    {vk::B, Condition::NotTyping, KeyCommand::SeqMoveForward},
    {vk::F(8), Condition::None, KeyCommand::PlayAllToggle},
    {vk::F(3), Condition::None, KeyCommand::RepeatToggle},
    {vk::F(4), Condition::MarkerItemEnabled, KeyCommand::MarkerToggle},
};

constexpr Row kCtrl[] = {
    {vk::Z, Condition::NotTyping, KeyCommand::PasteAsNew},
};

constexpr Row kAlt[] = {
    {vk::Z, Condition::None, KeyCommand::Previous},
    {vk::X, Condition::PlayEnabled, KeyCommand::Play},
    {vk::C, Condition::None, KeyCommand::Pause},
    {vk::V, Condition::None, KeyCommand::Stop},
    {vk::B, Condition::None, KeyCommand::Next},
    {vk::Return, Condition::None, KeyCommand::Properties},
};

// The letters drive the preview; they are left alone while a tag box takes text.
constexpr Row kPlainLetters[] = {
    {vk::Z, Condition::PanelVisible, KeyCommand::PreviewMoveBack},
    {vk::X, Condition::PanelVisible, KeyCommand::PreviewPlay},
    {vk::C, Condition::PanelVisible, KeyCommand::PreviewPause},
    {vk::V, Condition::PanelVisible, KeyCommand::PreviewStop},
    {vk::B, Condition::PanelVisible, KeyCommand::PreviewMoveForward},
};

constexpr Row kPlainFunctionKeys[] = {
    {vk::F(1), Condition::PanelVisible, KeyCommand::MarkBegin},
    {vk::F(2), Condition::PanelVisible, KeyCommand::MarkEnd},
    {vk::Add, Condition::AddEnabled, KeyCommand::AddTrack},
    // Backspace in a text box takes back a character and taps nothing.
    {vk::Back, Condition::PanelNotTyping, KeyCommand::TapTempo},
    {vk::F(3), Condition::PanelVisible, KeyCommand::TestBegin},
    {vk::F(4), Condition::PanelVisible, KeyCommand::TestEnd},
    {vk::F(10), Condition::PanelVisible, KeyCommand::ScanBackward},
    {vk::F(11), Condition::PanelVisible, KeyCommand::ScanForward},
    {vk::F(6), Condition::PanelIdle, KeyCommand::PreviewScanStepBack},
    {vk::F(7), Condition::PanelIdle, KeyCommand::PreviewScanStepForward},
};

bool Holds(Condition c, const KeyUpState& s) {
    switch (c) {
    case Condition::None: return true;
    case Condition::PanelVisible: return s.panelVisible;
    case Condition::PlayEnabled: return s.playEnabled;
    case Condition::MarkerItemEnabled: return s.markerItemEnabled;
    case Condition::AddEnabled: return s.addEnabled;
    case Condition::PanelIdle: return s.panelVisible && !s.markerMoveBusy;
    case Condition::PanelNotTyping: return s.panelVisible && !s.focusInTextBox;
    case Condition::NotTyping: return !s.focusInTextBox;
    }
    return false;
}

// The first row with the key decides: its command when its condition holds,
// else nothing. No row with the key: no decision (nullopt).
template <std::size_t N>
std::optional<KeyCommand> Match(const Row (&rows)[N], int key, const KeyUpState& s) {
    for (const Row& row : rows)
        if (row.key == key)
            return Holds(row.condition, s) ? row.command : KeyCommand::None;
    return std::nullopt;
}

} // namespace

KeyCommand KeyUpCommand(int key, int shift, const KeyUpState& s) {
    switch (shift) {
    case keymod::Shift:
        return Match(kShift, key, s).value_or(KeyCommand::None);
    case keymod::Shift + keymod::Ctrl:
        return KeyCommand::None;
    case keymod::Ctrl:
        return Match(kCtrl, key, s).value_or(KeyCommand::None);
    case keymod::Alt:
        return Match(kAlt, key, s).value_or(KeyCommand::None);
    default:
        // No modifier, or Alt with Shift and/or Ctrl.
        if (!s.focusInTagBox)
            if (auto letter = Match(kPlainLetters, key, s))
                return *letter;
        return Match(kPlainFunctionKeys, key, s).value_or(KeyCommand::None);
    }
}

KeyCommand KeyUpTable::KeyUp(int key, int shift, const KeyUpState& state) {
    if (!m_keyDown)
        return KeyCommand::None;
    m_keyDown = false;
    return KeyUpCommand(key, shift, state);
}

} // namespace kelbrin

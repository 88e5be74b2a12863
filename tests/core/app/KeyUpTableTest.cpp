// The main window's key-up table: groups by modifier, the row conditions and
// the pairing with the key-down.
#include "core/app/KeyUpTable.h"

#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

KeyUpState Panel() {
    KeyUpState s;
    s.panelVisible = true;
    s.playEnabled = true;
    s.markerItemEnabled = true;
    s.addEnabled = true;
    return s;
}

} // namespace

TEST(KeyUpTable, EachGroupRunsItsRowsUnderTheirConditions) {
    const KeyUpState s = Panel();
    struct Case {
        int key, shift;
        KeyCommand expected;
    } cases[] = {
        {vk::Z, keymod::Shift, KeyCommand::SeqMoveBack},     {vk::B, keymod::Shift, KeyCommand::SeqMoveForward},
        {vk::F(8), keymod::Shift, KeyCommand::PlayAllToggle}, {vk::F(3), keymod::Shift, KeyCommand::RepeatToggle},
        {vk::F(4), keymod::Shift, KeyCommand::MarkerToggle},  {vk::Z, keymod::Ctrl, KeyCommand::PasteAsNew},
        {vk::Z, keymod::Alt, KeyCommand::Previous},           {vk::X, keymod::Alt, KeyCommand::Play},
        {vk::C, keymod::Alt, KeyCommand::Pause},              {vk::V, keymod::Alt, KeyCommand::Stop},
        {vk::B, keymod::Alt, KeyCommand::Next},               {vk::Return, keymod::Alt, KeyCommand::Properties},
        {vk::Z, 0, KeyCommand::PreviewMoveBack},              {vk::X, 0, KeyCommand::PreviewPlay},
        {vk::C, 0, KeyCommand::PreviewPause},                 {vk::V, 0, KeyCommand::PreviewStop},
        {vk::B, 0, KeyCommand::PreviewMoveForward},           {vk::F(1), 0, KeyCommand::MarkBegin},
        {vk::F(2), 0, KeyCommand::MarkEnd},                   {vk::Add, 0, KeyCommand::AddTrack},
        {vk::Back, 0, KeyCommand::TapTempo},                  {vk::F(3), 0, KeyCommand::TestBegin},
        {vk::F(4), 0, KeyCommand::TestEnd},                   {vk::F(10), 0, KeyCommand::ScanBackward},
        {vk::F(11), 0, KeyCommand::ScanForward},              {vk::F(6), 0, KeyCommand::PreviewScanStepBack},
        {vk::F(7), 0, KeyCommand::PreviewScanStepForward},
        // Alt with Shift or Ctrl reads as no modifier.
        {vk::X, keymod::Alt + keymod::Shift, KeyCommand::PreviewPlay},
        {vk::F(1), keymod::Alt + keymod::Ctrl + keymod::Shift, KeyCommand::MarkBegin},
        // Ctrl with Shift does nothing; keys without a row do nothing.
        {vk::Z, keymod::Shift + keymod::Ctrl, KeyCommand::None},
        {vk::X, keymod::Ctrl, KeyCommand::None},               {vk::F(5), 0, KeyCommand::None},
        {vk::Return, 0, KeyCommand::None},                    {0, 0, KeyCommand::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeyUpCommand(c.key, c.shift, s), c.expected) << "key " << c.key << " shift " << c.shift;

    KeyUpState off = s;
    off.panelVisible = false;
    off.playEnabled = false;
    off.markerItemEnabled = false;
    off.addEnabled = false;
    // A failing condition ends the search: Z never falls through to another row.
    for (int key : {vk::Z, vk::X, vk::C, vk::V, vk::B, vk::F(1), vk::F(2), vk::Back, vk::F(3), vk::F(4),
                    vk::F(6), vk::F(7), vk::F(10), vk::F(11), vk::Add})
        EXPECT_EQ(KeyUpCommand(key, 0, off), KeyCommand::None) << key;
    EXPECT_EQ(KeyUpCommand(vk::X, keymod::Alt, off), KeyCommand::None);
    EXPECT_EQ(KeyUpCommand(vk::F(4), keymod::Shift, off), KeyCommand::None);
    // Stop, pause and the others have no condition.
    EXPECT_EQ(KeyUpCommand(vk::V, keymod::Alt, off), KeyCommand::Stop);
    EXPECT_EQ(KeyUpCommand(vk::F(8), keymod::Shift, off), KeyCommand::PlayAllToggle);

    KeyUpState busy = s;
    busy.markerMoveBusy = true;
    EXPECT_EQ(KeyUpCommand(vk::F(7), 0, busy), KeyCommand::None);
    // A tag box keeps its letters; the function keys still act from it.
    KeyUpState typing = s;
    typing.focusInTagBox = typing.focusInTextBox = true;
    EXPECT_EQ(KeyUpCommand(vk::C, 0, typing), KeyCommand::None);
    EXPECT_EQ(KeyUpCommand(vk::F(11), 0, typing), KeyCommand::ScanForward);
    // Any text box keeps its capitals and its own Ctrl+Z.
    typing.focusInTagBox = false;
    for (int key : {vk::Z, vk::B})
        EXPECT_EQ(KeyUpCommand(key, keymod::Shift, typing), KeyCommand::None) << key;
    EXPECT_EQ(KeyUpCommand(vk::Z, keymod::Ctrl, typing), KeyCommand::None);
    EXPECT_EQ(KeyUpCommand(vk::F(8), keymod::Shift, typing), KeyCommand::PlayAllToggle);
}

TEST(KeyUpTable, AReleaseActsOnlyOnceAfterAKeyDownReachedTheWindow) {
    KeyUpTable table;
    const KeyUpState s = Panel();
    EXPECT_EQ(table.KeyUp(vk::X, 0, s), KeyCommand::None) << "pressed elsewhere";
    // Held down: repeated key-downs, one release, one action.
    table.KeyDown();
    table.KeyDown();
    table.KeyDown();
    EXPECT_EQ(table.KeyUp(vk::X, 0, s), KeyCommand::PreviewPlay);
    EXPECT_FALSE(table.keyDownSeen());
    EXPECT_EQ(table.KeyUp(vk::X, 0, s), KeyCommand::None);
    // A release without a row still uses up the key-down.
    table.KeyDown();
    EXPECT_EQ(table.KeyUp(vk::F(5), 0, s), KeyCommand::None);
    EXPECT_EQ(table.KeyUp(vk::X, 0, s), KeyCommand::None);
}

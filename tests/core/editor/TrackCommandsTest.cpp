#include "EditorTestSupport.h"

#include "core/editor/TrackCommands.h"
#include "core/editor/TrackGraph.h"

using namespace kelbrin;
using namespace kelbrin::test;

namespace {
class Commands : public EditorTest {};

std::int32_t Count(const QString& typed, LoopCountAnswer expected) {
    std::int32_t count = -7;
    EXPECT_EQ(ParseLoopCount(typed, count), expected) << typed.toStdString();
    return count;
}
} // namespace

// Fault mended: the count had no range; now any six digits, negatives refused.
TEST_F(Commands, LoopCountReadsTheLeadingNumberWithinItsRange) {
    EXPECT_EQ(Count(" 12 times", LoopCountAnswer::Accepted), 12);
    EXPECT_EQ(Count("abc", LoopCountAnswer::Accepted), 0);
    EXPECT_EQ(Count("2.5", LoopCountAnswer::Accepted), 2);
    EXPECT_EQ(Count("3.5", LoopCountAnswer::Accepted), 4);
    EXPECT_EQ(Count("999999", LoopCountAnswer::Accepted), 999999);
    EXPECT_EQ(Count("1234567", LoopCountAnswer::Accepted), 123456);
    Count("-1", LoopCountAnswer::Refused);
    Count("   ", LoopCountAnswer::Cancelled);
    auto t = add(1, 0, 0, 0);
    SetLoopCount(*t, 5);
    EXPECT_EQ(t->lngLoopCount, 5);
    EXPECT_EQ(t->lngLoopCountBackup, 5);
    EXPECT_TRUE(t->blnZmodyfikowana);
}

TEST_F(Commands, RemovingConnectionsAndLoops) {
    add(1, 0, 0, 0);
    add(2, 0, 0, 1);
    add(3, 0, 0, 1);
    RebuildAllSuccessors(tracks);
    RemoveConnection(tracks, 2);
    EXPECT_EQ(at(2)->lngTrack, 2);
    EXPECT_EQ(at(1)->colNastepnik, (L{3}));
    RemoveConnection(tracks, 1); // follows the start box
    EXPECT_EQ(at(1)->lngTrack, 1);
    auto t = at(3);
    t->lngLoopTrack = 1;
    t->lngLoopCountBackup = 4;
    t->lngLoopCount = 2;
    t->blnZablokowany = true;
    RemoveLoop(*t);
    EXPECT_EQ(t->lngLoopTrack, -1);
    EXPECT_EQ(t->lngLoopCountBackup, 0);
    EXPECT_EQ(BoxColour(*t), 0xFF0000u); // a locked track stays blue
    ToggleLock(*t);
    EXPECT_EQ(BoxColour(*t), 0x00FF00u);
}

TEST_F(Commands, FadePairIsPredecessorAndTrackOrTheTrackTwice) {
    add(1, 0, 0, 0);
    add(2, 0, 0, 1);
    auto [e1, s1] = FadePair(tracks, 2);
    EXPECT_EQ(e1->lngNrPozycji, 1);
    EXPECT_EQ(s1->lngNrPozycji, 2);
    auto [e2, s2] = FadePair(tracks, 1);
    EXPECT_EQ(e2, s2);
    EXPECT_FALSE(FadePair(tracks, 9).second);
}

TEST_F(Commands, PasteTakesThePlaySettingsNotTheLinksOrPlace) {
    auto source = add(1, 1000, 1000, 0);
    source->strFileNameSource = "/m/a.mp3";
    source->strLabel = "Song";
    source->lngVolume = -500;
    source->blnZablokowany = true;
    source->lngRamkaOd = 10;
    source->strAutor = "Artist";
    source->sngOvertake = 1.5f;
    auto target = add(2, 3000, 3000, 1);
    target->strFileNameSource = "/m/b.mp3";
    target->lngLoopTrack = 1;
    target->strFileName = "keep.mp3";
    auto clip = ClipboardCopy(*source);
    EXPECT_EQ(clip->lngNrPozycji, 1);
    source->lngVolume = 0; // later changes do not reach the clipboard
    PasteOnto(*clip, *target, tracks);
    EXPECT_EQ(target->lngVolume, -500);
    EXPECT_TRUE(target->blnZablokowany);
    EXPECT_EQ(target->lngRamkaOd, 10);
    EXPECT_EQ(target->strAutor, "Artist");
    EXPECT_EQ(target->strFileNameSource, "/m/a.mp3");
    EXPECT_EQ(target->lngNrPozycji, 2);
    EXPECT_EQ(target->lngTrack, 1);
    EXPECT_EQ(target->lngLoopTrack, 1);
    EXPECT_EQ(target->lngLeft, 3000);
    EXPECT_EQ(target->sngOvertake, 0.0f);
    EXPECT_EQ(target->strFileName, "keep.mp3");
    EXPECT_TRUE(target->blnZmodyfikowana);
    // Another track of the same source: the label is numbered.
    EXPECT_EQ(target->strLabel, "Song(2)");
    // Back onto the copied track: the label as it was.
    PasteOnto(*clip, *source, tracks);
    EXPECT_EQ(source->strLabel, "Song");

    auto fresh = PasteAsNew(*clip, tracks);
    EXPECT_EQ(fresh->lngNrPozycji, 0);
    EXPECT_EQ(fresh->lngTrack, 0);
    EXPECT_EQ(fresh->lngLoopTrack, -1);
    EXPECT_FALSE(fresh->blnLabelEdited);
    EXPECT_FALSE(fresh->blnAwlaysTop);
    EXPECT_EQ(fresh->lngVolume, -500);
    EXPECT_TRUE(fresh->strLabel.startsWith("Song"));
    // A track moved in the tree keeps its label; the next paste is numbered again.
    EXPECT_EQ(PasteAsNew(*clip, tracks, true)->strLabel, "Song");
    EXPECT_EQ(PasteAsNew(*clip, tracks)->strLabel, fresh->strLabel);
}

TEST_F(Commands, LabelsLoseTheCharactersAFileNameCannotHold) {
    EXPECT_EQ(CleanLabel("a:b/c?d"), "abcd");
    EXPECT_EQ(CleanLabel(R"(x\y*"z"<w>|v)"), "xyzwv");
    EXPECT_EQ(CleanLabel(" spaced  name "), " spaced  name ");
    EXPECT_EQ(CleanLabel(""), "");
}

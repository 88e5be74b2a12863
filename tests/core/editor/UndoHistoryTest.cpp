#include "EditorTestSupport.h"

#include "core/editor/PlayRun.h"
#include "core/editor/TrackGraph.h"
#include "core/editor/UndoHistory.h"

using namespace kelbrin;
using namespace kelbrin::test;

namespace {

class Undo : public EditorTest {
protected:
    // The label of track 1 stands for the state.
    QString state() { return at(1)->strLabel; }
    void change(const QString& label) {
        history.Take(tracks);
        at(1)->strLabel = label;
    }
    void undo() {
        if (auto s = history.Undo(tracks))
            RestoreSnapshot(tracks, *s, nullptr);
    }
    void redo() {
        if (auto s = history.Redo())
            RestoreSnapshot(tracks, *s, nullptr);
    }
};

} // namespace

TEST_F(Undo, TwoChangesWalkBackAndForth) {
    add(1, 1000, 1000, 0)->strLabel = "A";
    change("B");
    change("C");
    EXPECT_TRUE(history.CanUndo());
    EXPECT_FALSE(history.CanRedo());
    undo();
    EXPECT_EQ(state(), "B");
    undo();
    EXPECT_EQ(state(), "A");
    EXPECT_FALSE(history.CanUndo());
    undo(); // nothing below A
    EXPECT_EQ(state(), "A");
    redo();
    EXPECT_EQ(state(), "B");
    redo();
    EXPECT_EQ(state(), "C");
    EXPECT_FALSE(history.CanRedo());
    undo();
    EXPECT_EQ(state(), "B");
}

// Fault mended: an undo right after a redo that stopped short of the newest
// snapshot restored the state already shown.
TEST_F(Undo, UndoAfterAShortRedoShowsThePreviousState) {
    add(1, 1000, 1000, 0)->strLabel = "A";
    change("B");
    change("C");
    undo();
    undo();
    redo();
    ASSERT_EQ(state(), "B");
    undo();
    EXPECT_EQ(state(), "A");
    redo();
    redo();
    EXPECT_EQ(state(), "C");
}

TEST_F(Undo, AChangeAfterUndosDiscardsTheRedoPart) {
    add(1, 1000, 1000, 0)->strLabel = "A";
    change("B");
    change("C");
    undo();
    change("D");
    EXPECT_FALSE(history.CanRedo());
    undo();
    EXPECT_EQ(state(), "B");
    undo();
    EXPECT_EQ(state(), "A");
    redo();
    redo();
    EXPECT_EQ(state(), "D");
}

TEST_F(Undo, SnapshotsCopyFieldsNotRunTimeStateAndRestoreLinksAndSuccessors) {
    auto a = add(1, 1000, 1000, 0);
    add(2, 2000, 1000, 1);
    add(3, 3000, 1000, 3);
    a->lngVolume = -300;
    a->lngLoopCount = 4;
    RebuildAllSuccessors(tracks);
    history.Take(tracks);
    // Change everything a snapshot holds.
    at(2)->lngTrack = 3;
    at(3)->lngTrack = 0;
    a->lngVolume = 0;
    a->lngLeft = 5000;
    a->lngLoopCount = 9;
    RebuildAllSuccessors(tracks);
    undo();
    EXPECT_EQ(at(2)->lngTrack, 1);
    EXPECT_EQ(at(3)->lngTrack, 3);
    EXPECT_EQ(a->lngVolume, -300);
    EXPECT_EQ(a->lngLeft, 1000);
    EXPECT_EQ(a->lngLoopCount, 9); // the player's passes are not history
    EXPECT_EQ(at(1)->colNastepnik, (L{2}));
    EXPECT_TRUE(at(3)->colNastepnik.isEmpty());
}

TEST_F(Undo, ADeletedTrackComesBackWithItsNumberInItsPlaceOrAtTheEndDuringARun) {
    add(1, 1000, 1000, 0);
    add(2, 2000, 1000, 1)->strLabel = "middle";
    add(3, 3000, 1000, 2);
    history.Take(tracks);
    tracks.Remove(2);
    at(2)->lngTrack = 1;
    undo();
    EXPECT_EQ(numbers(), (L{1, 2, 3}));
    EXPECT_EQ(at(2)->strLabel, "middle");
    EXPECT_EQ(at(3)->lngTrack, 2);
    EXPECT_EQ(at(1)->colNastepnik, (L{2}));
    EXPECT_EQ(at(2)->colNastepnik, (L{3}));

    // A run of the player holds positions: the track comes back at the end.
    PlayRunState run;
    run.colPlayRun = QList<std::int32_t>{1};
    history.Take(tracks);
    tracks.Remove(2);
    at(2)->lngTrack = 1;
    auto s = history.Undo(tracks);
    ASSERT_TRUE(s);
    RestoreSnapshot(tracks, *s, &run);
    EXPECT_EQ(numbers(), (L{1, 3, 2}));
    EXPECT_EQ(at(3)->strLabel, "middle");
    EXPECT_EQ(at(2)->lngTrack, 2);
    EXPECT_EQ(at(1)->colNastepnik, (L{3})); // positions: track 2 is now at 3
    EXPECT_EQ(at(3)->colNastepnik, (L{2}));
}

// Fault mended: removing the tracks added after a snapshot could spin or stop
// after the first one; now all go, and a playing one stays.
TEST_F(Undo, UndoRemovesEveryTrackAddedAfterTheSnapshotButNotAPlayingOne) {
    add(1, 1000, 1000, 0);
    history.Take(tracks);
    add(2, 2000, 1000, 1);
    add(3, 3000, 1000, 2);
    add(4, 4000, 1000, 3);
    auto playing = add(5, 5000, 1000, 1);
    playing->blnPlayed = true;
    auto s = history.Undo(tracks);
    ASSERT_TRUE(s);
    const RestoreReport report = RestoreSnapshot(tracks, *s, nullptr);
    EXPECT_EQ(numbers(), (L{1, 5}));
    EXPECT_EQ(report.removed, (L{2, 3, 4}));
    EXPECT_EQ(report.keptPlaying, (L{5}));
    EXPECT_EQ(playing->lngTrack, 1);
    // Redo brings the three back with their numbers.
    redo();
    EXPECT_EQ(numbers(), (L{1, 5, 2, 3, 4}));
    EXPECT_EQ(at(4)->lngTrack, 2);
}

TEST_F(Undo, ClearStartsAgain) {
    add(1, 1000, 1000, 0);
    history.Take(tracks);
    history.Clear();
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.Count(), 0);
}

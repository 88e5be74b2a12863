#include "EditorTestSupport.h"

#include "core/editor/PlayRun.h"
#include "core/editor/TrackDeletion.h"
#include "core/editor/TrackGraph.h"

using namespace kelbrin;
using namespace kelbrin::test;

namespace {
class Deletion : public EditorTest {};
} // namespace

TEST_F(Deletion, SuccessorsFollowThePredecessorAndPositionsShiftNumbersStay) {
    add(1, 0, 0, 0);
    add(2, 0, 0, 1);
    add(3, 0, 0, 2);
    add(4, 0, 0, 2);
    RebuildAllSuccessors(tracks);
    EXPECT_EQ(DeleteTrack(tracks, 2, nullptr), DeletionResult::Deleted);
    EXPECT_EQ(numbers(), (L{1, 3, 4}));
    EXPECT_EQ(at(2)->lngTrack, 1);
    EXPECT_EQ(at(3)->lngTrack, 1);
    EXPECT_EQ(at(1)->colNastepnik, (L{2, 3}));
    // The first of a chain: its successors hang from the start box.
    EXPECT_EQ(DeleteTrack(tracks, 1, nullptr), DeletionResult::Deleted);
    EXPECT_EQ(at(1)->lngTrack, 0);
    EXPECT_EQ(at(2)->lngTrack, 0);
    EXPECT_EQ(DeleteTrack(tracks, 9, nullptr), DeletionResult::NotFound);
}

TEST_F(Deletion, ADetachedTracksSuccessorsBecomeDetachedAndLoopsIntoItAreCleared) {
    add(1, 0, 0, 1);
    add(2, 0, 0, 1);
    auto looper = add(3, 0, 0, 0);
    looper->lngLoopTrack = 1;
    looper->lngLoopCount = 2;
    looper->lngLoopCountBackup = 2;
    DeleteTrack(tracks, 1, nullptr);
    EXPECT_EQ(at(1)->lngTrack, 2);
    EXPECT_EQ(looper->lngLoopTrack, -1);
    EXPECT_EQ(looper->lngLoopCount, 0);
    EXPECT_EQ(looper->lngLoopCountBackup, 0);
    EXPECT_EQ(BoxColour(*looper), 0x00FF00u);
}

TEST_F(Deletion, TheRunListFollowsTheShiftAndARunEntryIsOnlyMarked) {
    for (int n = 1; n <= 4; ++n)
        add(n, 0, 0, n - 1);
    RebuildAllSuccessors(tracks);
    PlayRunState run;
    run.colPlayRun = L{1, 3, 4};
    run.lngPlayRunMark = 0;
    // Track 3 is in the run while a marker is set: only marked.
    EXPECT_EQ(DeleteTrack(tracks, 3, &run), DeletionResult::Deferred);
    EXPECT_EQ(run.lngPlayRunMark, 2);
    EXPECT_EQ(tracks.Count(), 4);
    // Without a marker it goes, and the run list shifts.
    run.lngPlayRunMark = -1;
    at(1)->lngOverTakingIndex = 3;
    EXPECT_EQ(DeleteTrack(tracks, 2, &run), DeletionResult::Deleted);
    EXPECT_EQ(*run.colPlayRun, (L{1, 2, 3}));
    EXPECT_EQ(at(1)->lngOverTakingIndex, 2);
    EXPECT_EQ(at(1)->colNastepnik, (L{2}));
    EXPECT_EQ(DeleteTrack(tracks, 1, &run), DeletionResult::Deleted);
    EXPECT_EQ(*run.colPlayRun, (L{1, 2}));
}

#include "DocumentTestSupport.h"

#include "core/document/Successors.h"
#include "core/document/cPozycjeMP3.h"

#include <stdexcept>

using namespace kelbrin;

namespace {

class DocumentSuccessors : public test::DocumentTest {
protected:
    // Tracks numbered 1..n at positions 1..n, with these overlaps.
    void make(std::initializer_list<float> overlaps) {
        std::int32_t number = 0;
        for (float overlap : overlaps) {
            auto t = std::make_shared<cPozycjaMP3>();
            t->lngNrPozycji = ++number;
            t->sngOvertake = overlap;
            tracks.Add(t);
        }
    }
    QList<std::int32_t> list(std::int32_t position) { return tracks.Item(position)->colNastepnik; }

    cPozycjeMP3 tracks;
};

using L = QList<std::int32_t>;

} // namespace

TEST_F(DocumentSuccessors, AppendKeepsTheListSortedByOverlapTiesInLinkingOrder) {
    make({0, 0.5f, 0.2f, 0.5f, 0.2f});
    for (std::int32_t position : {2, 3, 4, 5})
        UpdateSuccessors(tracks, 1, position, successors::Append);
    EXPECT_EQ(list(1), (L{3, 5, 2, 4}));
    UpdateSuccessors(tracks, 1, 3, successors::Append); // duplicates are allowed
    EXPECT_EQ(list(1), (L{3, 5, 3, 2, 4}));
}

TEST_F(DocumentSuccessors, RemoveTakesOnlyTheFirstEqualEntryAndStillSorts) {
    make({0, 0.5f, 0.2f});
    tracks.Item(1)->colNastepnik = {2, 3, 2};
    UpdateSuccessors(tracks, 1, 2, successors::RemoveFirst);
    EXPECT_EQ(list(1), (L{3, 2}));
    tracks.Item(1)->colNastepnik = {2, 3};
    UpdateSuccessors(tracks, 1, 9, successors::RemoveFirst); // not there
    EXPECT_EQ(list(1), (L{3, 2}));
}

TEST_F(DocumentSuccessors, SortOnlyReordersAfterOverlapsChanged) {
    make({0, 0.1f, 0.2f, 0.3f});
    tracks.Item(1)->colNastepnik = {2, 3, 4};
    UpdateSuccessors(tracks, 1, 0, successors::SortOnly);
    EXPECT_EQ(list(1), (L{2, 3, 4}));
    tracks.Item(4)->sngOvertake = 0.0f;
    tracks.Item(2)->sngOvertake = 0.25f;
    UpdateSuccessors(tracks, 1, 0, 42); // any other mode sorts only
    EXPECT_EQ(list(1), (L{4, 3, 2}));
}

TEST_F(DocumentSuccessors, RebuildCollectsFollowersInCollectionOrderAndSortsThem) {
    make({0, 0.5f, 0.2f, 0.5f, 0.1f});
    // Tracks 2..4 follow track 1; track 5 follows the start box.
    for (std::int32_t p : {2, 3, 4})
        tracks.Item(p)->lngTrack = 1;
    tracks.Item(1)->colNastepnik = {5};
    UpdateSuccessors(tracks, 1, 1, successors::Rebuild);
    EXPECT_EQ(list(1), (L{3, 2, 4}));
    EXPECT_TRUE(tracks.Item(1)->blnZmodyfikowana);

    UpdateSuccessors(tracks, 5, 5, successors::Rebuild); // nobody follows track 5
    EXPECT_TRUE(list(5).isEmpty());
    EXPECT_TRUE(tracks.Item(5)->blnZmodyfikowana);
}

TEST_F(DocumentSuccessors,
       RebuildUsesPositionsAfterADeletionAndNeverMakesADetachedTrackItsOwnSuccessor) {
    make({0, 0.3f, 0.1f, 0.2f});
    for (std::int32_t p = 1; p <= 4; ++p)
        tracks.Item(p)->lngNrPozycji = p * 10; // numbers 10, 20, 30, 40
    tracks.Item(1)->lngTrack = 10;             // detached: names itself
    tracks.Item(3)->lngTrack = 10;
    tracks.Item(4)->lngTrack = 10;
    tracks.Remove(2); // 30 and 40 move to positions 2 and 3
    UpdateSuccessors(tracks, 1, 10, successors::Rebuild);
    EXPECT_EQ(list(1), (L{2, 3}));
}

TEST_F(DocumentSuccessors, AnEntryNamingNoTrackFailsInsteadOfCrashing) {
    make({0, 0.5f});
    tracks.Item(1)->colNastepnik = {2, 0};
    EXPECT_THROW(UpdateSuccessors(tracks, 1, 0, successors::SortOnly), std::out_of_range);
    EXPECT_THROW(UpdateSuccessors(tracks, 3, 1, successors::Append), std::out_of_range);
}

TEST_F(DocumentSuccessors, RebuildingEveryListAtOnceMatchesRebuildingEachPosition) {
    // Links of every kind: to the start, detached, to a missing number, to a
    // track further on, several followers with mixed overlaps.
    make({0, 0.3f, 0.1f, 0.3f, 0, 0.2f, 0.1f, 0});
    const std::int32_t links[] = {0, 1, 1, 4, 3, 1, 99, 1};
    for (std::int32_t p = 1; p <= tracks.Count(); ++p)
        tracks.Item(p)->lngTrack = links[p - 1];
    tracks.Item(8)->lngNrPozycji = 3; // two tracks numbered 3

    cPozycjeMP3 expected;
    for (std::int32_t p = 1; p <= tracks.Count(); ++p) {
        auto copy = std::make_shared<cPozycjaMP3>(*tracks.Item(p));
        copy->colNastepnik = {p}; // stale lists must go
        expected.Add(copy);
        tracks.Item(p)->colNastepnik = {p};
    }
    for (std::int32_t p = 1; p <= expected.Count(); ++p)
        UpdateSuccessors(expected, p, expected.Item(p)->lngNrPozycji, successors::Rebuild);
    RebuildEverySuccessorList(tracks);
    for (std::int32_t p = 1; p <= tracks.Count(); ++p) {
        EXPECT_EQ(list(p), expected.Item(p)->colNastepnik) << "position " << p;
        EXPECT_TRUE(tracks.Item(p)->blnZmodyfikowana);
    }
    EXPECT_EQ(list(1), (L{8, 3, 6, 2})); // sorted by overlap
    EXPECT_EQ(list(3), (L{5}));
    EXPECT_EQ(list(8), (L{5})); // both tracks numbered 3 lead to it
    EXPECT_EQ(list(5), L{});
}

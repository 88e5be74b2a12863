#include "EditorTestSupport.h"

#include "core/editor/TrackGraph.h"

using namespace kelbrin;
using namespace kelbrin::test;

namespace {
class TrackGraph : public EditorTest {};
const QPoint kStart(525, 525);
} // namespace

TEST_F(TrackGraph, ItemTrackaMapsNumbersToPositionsAndZeroForNone) {
    add(4, 1000, 1000, 0);
    add(7, 2000, 1000, 4);
    EXPECT_EQ(ItemTracka(tracks, 4), 1);
    EXPECT_EQ(ItemTracka(tracks, 7), 2);
    EXPECT_EQ(ItemTracka(tracks, 0), 0);
    EXPECT_EQ(ItemTracka(tracks, 5), 0);
}

TEST_F(TrackGraph, BoxColoursFollowLockPlayAndLoop) {
    auto t = add(1, 0, 0, 0);
    EXPECT_EQ(BoxColour(*t), 0x00FF00u);
    t->lngLoopCountBackup = 1;
    EXPECT_EQ(BoxColour(*t), 0xFF00FFu);
    t->blnPlayed = true;
    EXPECT_EQ(BoxColour(*t), 0x0000FFu);
    t->blnZablokowany = true;
    EXPECT_EQ(BoxColour(*t), 0xFF0000u);
    t->blnPlayed = false;
    EXPECT_EQ(BoxColour(*t), 0xFF0000u);
}

TEST_F(TrackGraph, LinesRunBetweenCentresAndADetachedTrackHasNone) {
    add(1, 1000, 1000, 0);   // follows the start box
    add(2, 2000, 1000, 1);   // successor of 1
    add(3, 3000, 3000, 3);   // detached
    auto t4 = add(4, 4000, 1000, 2);
    t4->lngLoopTrack = 1;     // loop back to 1
    at(3)->lngLoopTrack = 3;  // a loop to itself: zero length
    const auto lines = CollectLinkLines(tracks, kStart);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], (LinkLine{1, 0, false, QPoint(1000, 1000), kStart}));
    EXPECT_EQ(lines[1], (LinkLine{2, 1, false, QPoint(2000, 1000), QPoint(1000, 1000)}));
    EXPECT_EQ(lines[2], (LinkLine{4, 2, false, QPoint(4000, 1000), QPoint(2000, 1000)}));
    EXPECT_EQ(lines[3], (LinkLine{4, 1, true, QPoint(4000, 1000), QPoint(1000, 1000)}));
}

// Fault mended: a slope-and-offset test could not hit a vertical line.
TEST_F(TrackGraph, LineHitUsesTheDistanceToTheSegmentVerticalLinesIncluded) {
    add(1, 1000, 1000, 1);
    add(2, 1000, 4000, 1); // vertical line from (1000,4000) to (1000,1000)
    const auto lines = CollectLinkLines(tracks, kStart);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(HitLinkLine(lines, QPoint(1000, 2500), 150));
    EXPECT_TRUE(HitLinkLine(lines, QPoint(1140, 2500), 150));
    EXPECT_FALSE(HitLinkLine(lines, QPoint(1160, 2500), 150));
    // Beyond the ends of the segment nothing is hit.
    EXPECT_FALSE(HitLinkLine(lines, QPoint(1000, 4300), 150));
    // A diagonal line: measured perpendicular to it.
    at(2)->lngLeft = 4000;
    const auto diagonal = CollectLinkLines(tracks, kStart);
    EXPECT_TRUE(HitLinkLine(diagonal, QPoint(2600, 2400), 150));
    EXPECT_FALSE(HitLinkLine(diagonal, QPoint(2800, 2200), 150));
    EXPECT_DOUBLE_EQ(DistanceToSegment(QPointF(0, 5), QPointF(0, 0), QPointF(0, 10)), 0.0);
    EXPECT_DOUBLE_EQ(DistanceToSegment(QPointF(3, 14), QPointF(0, 0), QPointF(0, 10)), 5.0);
}

TEST_F(TrackGraph, BoxHitWithinOneHundredOfTheCentreLowerNumberFirst) {
    add(5, 2000, 2000, 5);
    add(3, 2050, 2000, 3);
    EXPECT_EQ(HitBox(tracks, kStart, QPoint(2030, 2000)), 3); // overlap: lower number wins
    EXPECT_EQ(HitBox(tracks, kStart, QPoint(2140, 2000)), 3);
    EXPECT_EQ(HitBox(tracks, kStart, QPoint(1901, 2000)), 5);
    EXPECT_EQ(HitBox(tracks, kStart, QPoint(1900, 2000)), -1); // 100 away: no hit
    EXPECT_EQ(HitBox(tracks, kStart, QPoint(2000, 2180)), -1); // inside the drawn box, too far
    EXPECT_EQ(HitBox(tracks, kStart, kStart), 0);
}

TEST_F(TrackGraph, SuccessorsRebuiltFromLinks) {
    add(1, 0, 0, 0);
    add(2, 0, 0, 1);
    add(3, 0, 0, 1);
    add(4, 0, 0, 4);
    at(2)->sngOvertake = 0.5f;
    RebuildAllSuccessors(tracks);
    EXPECT_EQ(at(1)->colNastepnik, (L{3, 2}));
    EXPECT_TRUE(at(4)->colNastepnik.isEmpty());
    AppendSuccessorsFromLinks(tracks);
    EXPECT_EQ(at(1)->colNastepnik, (L{3, 2}));
}

// Fault mended: the hover text's fixed words come from the catalogue.
TEST_F(TrackGraph, HoverTextsComeFromTheCatalogueInBothLanguages) {
    add(1, 0, 0, 0);
    add(2, 0, 0, 1);
    auto t = at(1);
    t->lngLoopTrack = 2;
    t->lngLoopCountBackup = 3;
    t->strFileName = "song.mp3";
    RebuildAllSuccessors(tracks);
    const QString english = TrackHoverText(tracks, *t);
    EXPECT_TRUE(english.startsWith("Node no.: 1, has 1 successors (2)")) << english.toStdString();
    EXPECT_TRUE(english.contains("song.mp3"));
    EXPECT_FALSE(english.contains(QString::fromUtf8("Węzeł")));
    Catalog().setLanguage("POLSKI");
    const QString polish = TrackHoverText(tracks, *t);
    EXPECT_TRUE(polish.startsWith(QString::fromUtf8("Węzeł nr: 1, posiada 1 następników (2)")))
        << polish.toStdString();
    EXPECT_EQ(StartBoxHoverText(), GetText(3094));
    const auto lines = CollectLinkLines(tracks, kStart);
    EXPECT_TRUE(LinkHoverText(tracks, lines[1]).startsWith("T2, "));
}

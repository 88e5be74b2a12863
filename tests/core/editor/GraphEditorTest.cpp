#include "EditorTestSupport.h"

#include "core/editor/GraphEditor.h"

using namespace kelbrin;
using namespace kelbrin::test;

namespace {

class Editor : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        editor = std::make_unique<GraphEditor>([this] { return &tracks; }, host);
        // Start box centred at (525, 525).
        editor->setStartBoxTopLeft(QPoint(300, 300));
    }
    void press(QPoint p, int button = mouse::Left) { editor->mouseDown(button, 0, p); }
    void move(QPoint p, int buttons = mouse::Left) { editor->mouseMove(buttons, 0, p); }
    void release(QPoint p, int button = mouse::Left) { editor->mouseUp(button, 0, p); }
    std::unique_ptr<GraphEditor> editor;
};

} // namespace

TEST_F(Editor, DraggingABoxMovesItsCentreAndMarksItModifiedWithOneSnapshot) {
    auto t = add(1, 2000, 2000, 0);
    press(QPoint(2010, 1990));
    EXPECT_EQ(editor->lngSelectedTrack, 1);
    EXPECT_TRUE(editor->isDragging());
    move(QPoint(4000, 3000));
    EXPECT_EQ(editor->moveRect().topLeft(), QPoint(4000, 3000));
    EXPECT_TRUE(editor->visibleLines().isEmpty()); // its line goes with it
    EXPECT_EQ(t->lngLeft, 2000); // the model changes on release only
    release(QPoint(4000, 3000));
    EXPECT_FALSE(editor->isDragging());
    EXPECT_EQ(t->lngLeft, 4000 + 225);
    EXPECT_EQ(t->lngTop, 3000 + 225);
    EXPECT_TRUE(t->blnZmodyfikowana);
    EXPECT_EQ(host.snapshots, 1);
    EXPECT_EQ(editor->visibleLines().size(), 1);
    EXPECT_EQ(editor->selectionRect(), editor->boxRect(1).adjusted(-5, -5, 5, 5));
    // A click that moves nothing takes no snapshot.
    press(QPoint(4225, 3225));
    release(QPoint(4225, 3225));
    EXPECT_EQ(host.snapshots, 1);
}

// Fault mended: the box under the release point was moved too.
TEST_F(Editor, ADragReleasedOnAnotherBoxLeavesThatBoxAlone) {
    auto a = add(1, 2000, 2000, 0);
    auto b = add(2, 5000, 2000, 1);
    press(QPoint(2000, 2000));
    move(QPoint(5000, 2000));
    release(QPoint(5000, 2000));
    EXPECT_EQ(b->lngLeft, 5000);
    EXPECT_EQ(b->lngTop, 2000);
    EXPECT_EQ(a->lngLeft, 5225);
    EXPECT_FALSE(b->blnZmodyfikowana);
    // A release on a box without a drag changes nothing either.
    release(QPoint(5000, 2000), mouse::Middle);
    EXPECT_EQ(b->lngLeft, 5000);
}

TEST_F(Editor, TheStartBoxDragsWithoutTouchingATrack) {
    auto t = add(1, 2000, 2000, 0);
    press(QPoint(525, 525));
    move(QPoint(1000, 1000));
    release(QPoint(1000, 1000));
    EXPECT_EQ(editor->startCentre(), QPoint(1225, 1225));
    EXPECT_FALSE(t->blnZmodyfikowana);
    EXPECT_EQ(host.snapshots, 0);
    EXPECT_EQ(editor->visibleLines().first().b, QPoint(1225, 1225));
}

TEST_F(Editor, RelinkByClickingALineAndReleasingOnAnotherBox) {
    add(1, 2000, 2000, 0);
    add(2, 5000, 2000, 1);
    add(3, 5000, 5000, 3);
    RebuildAllSuccessors(tracks);
    press(QPoint(3500, 2030)); // on the line 2 -> 1
    EXPECT_TRUE(editor->linkMode());
    EXPECT_FALSE(editor->linkLoop());
    EXPECT_TRUE(at(1)->colNastepnik.isEmpty());
    EXPECT_EQ(editor->visibleLines().size(), 1); // the clicked line is taken away
    // In link mode a box press does nothing.
    press(QPoint(5000, 5000));
    EXPECT_EQ(editor->lngSelectedTrack, 0);
    move(QPoint(4900, 4900));
    EXPECT_EQ(editor->bandTo(), QPoint(4900, 4900));
    release(QPoint(5000, 5000));
    EXPECT_FALSE(editor->linkMode());
    EXPECT_EQ(at(2)->lngTrack, 3);
    EXPECT_EQ(at(3)->colNastepnik, (L{2}));
    EXPECT_TRUE(at(2)->blnZmodyfikowana);
    EXPECT_EQ(host.snapshots, 1);
    EXPECT_EQ(host.relinked, (L{2}));
    EXPECT_FALSE(host.states.value("cmdPolacz"));
    EXPECT_TRUE(host.states.value("cmdUsunPolaczenie"));
    // Undo puts the old link back.
    auto s = history.Undo(tracks);
    RestoreSnapshot(tracks, *s, nullptr);
    EXPECT_EQ(at(2)->lngTrack, 1);
    EXPECT_EQ(at(1)->colNastepnik, (L{2}));
}

// Fault mended: link mode could not be left, and the relinked line stayed
// erased while the model still held the link.
TEST_F(Editor, LeavingLinkModeRestoresTheLinkAndItsLine) {
    add(1, 2000, 2000, 0);
    add(2, 5000, 2000, 1);
    RebuildAllSuccessors(tracks);
    press(QPoint(3500, 2000));
    ASSERT_TRUE(editor->linkMode());
    release(QPoint(3000, 3000)); // away from every box: link mode stays
    EXPECT_TRUE(editor->linkMode());
    press(QPoint(3000, 3000), mouse::Right);
    EXPECT_FALSE(editor->linkMode());
    EXPECT_EQ(at(2)->lngTrack, 1);
    EXPECT_EQ(at(1)->colNastepnik, (L{2}));
    EXPECT_EQ(editor->visibleLines().size(), 2);
    EXPECT_EQ(host.snapshots, 0);
    // The same with the cancel call that Esc makes.
    press(QPoint(3500, 2000));
    editor->cancelLinkMode();
    EXPECT_EQ(at(1)->colNastepnik, (L{2}));
    EXPECT_EQ(editor->visibleLines().size(), 2);
}

TEST_F(Editor, LoopLinksAndTheirLimits) {
    add(1, 2000, 2000, 0);
    add(2, 5000, 2000, 2);
    editor->lngSelectedTrack = 2;
    editor->startLink(true);
    EXPECT_TRUE(host.states.value("cmdUsunPetle"));
    EXPECT_FALSE(host.states.value("cmdDodajPetle"));
    release(QPoint(525, 525)); // the start box: link mode stays
    EXPECT_TRUE(editor->linkMode());
    release(QPoint(2000, 2000));
    EXPECT_FALSE(editor->linkMode());
    EXPECT_EQ(at(2)->lngLoopTrack, 1);
    EXPECT_EQ(at(2)->lngLoopCountBackup, 1);
    EXPECT_EQ(at(2)->lngLoopCount, 1);
    EXPECT_EQ(BoxColour(*at(2)), 0xFF00FFu);
    // A loop to itself leaves link mode without a change.
    editor->startLink(true);
    release(QPoint(5000, 2000));
    EXPECT_FALSE(editor->linkMode());
    EXPECT_EQ(at(2)->lngLoopTrack, 1);
    // Right click on a loop line: the loop menu, no link mode.
    press(QPoint(3500, 2000), mouse::Right);
    EXPECT_TRUE(host.calls.contains("loopMenu"));
    EXPECT_FALSE(editor->linkMode());
}

TEST_F(Editor, RightClicksAndDoubleClicks) {
    add(1, 2000, 2000, 0);
    add(2, 5000, 2000, 1);
    press(QPoint(5000, 2000), mouse::Right);
    EXPECT_EQ(host.calls.takeLast(), "trackMenu");
    EXPECT_FALSE(editor->isDragging());
    press(QPoint(3500, 2000), mouse::Right); // a successor line: its fade editor
    EXPECT_EQ(host.calls.takeLast(), "fade 1/2");
    move(QPoint(5000, 2000), 0);
    editor->doubleClick();
    EXPECT_EQ(host.calls.takeLast(), "properties 2");
    move(QPoint(525, 525), 0);
    editor->doubleClick();
    EXPECT_EQ(host.calls.takeLast(), "addTrack");
    move(QPoint(8000, 8000), 0);
    editor->doubleClick();
    EXPECT_TRUE(host.calls.isEmpty());
}

TEST_F(Editor, SelectionEnablesTheCommandsByTheTracksLinks) {
    add(1, 2000, 2000, 1); // detached
    add(2, 5000, 2000, 0);
    editor->Udostepniaj(1);
    EXPECT_EQ(editor->lngCurrentTrack, 1);
    EXPECT_TRUE(host.states.value("cmdPolacz"));
    EXPECT_FALSE(host.states.value("mnuTrack_Con_Remove"));
    EXPECT_FALSE(host.states.value("mnuTrack_Fade"));
    EXPECT_TRUE(host.states.value("mnuTrack_Loop"));
    EXPECT_FALSE(host.states.value("cmdPaste(0)"));
    editor->Udostepniaj(2);
    EXPECT_FALSE(host.states.value("cmdPolacz"));
    EXPECT_TRUE(host.states.value("mnuTrack_Fade"));
    editor->Udostepniaj(0);
    EXPECT_EQ(editor->lngCurrentTrack, 2);
    for (auto it = host.states.cbegin(); it != host.states.cend(); ++it)
        EXPECT_FALSE(it.value()) << it.key().toStdString();
    // The 25 commands of a track, and the properties and delete buttons.
    EXPECT_EQ(host.states.size(), 27);
}

TEST_F(Editor, HoverDescribesBoxesAndLinesWhileShown) {
    add(1, 2000, 2000, 0);
    move(QPoint(2000, 2000), 0);
    EXPECT_EQ(editor->hoverBox(), 1);
    EXPECT_TRUE(host.hover.startsWith("Node no.: 1"));
    move(QPoint(1300, 1300), 0);
    EXPECT_TRUE(host.hover.startsWith("T1, ")) << host.hover.toStdString();
    move(QPoint(525, 525), 0);
    EXPECT_EQ(host.hover, GetText(3094));
    editor->hoverInfoShown = false;
    host.hover.clear();
    move(QPoint(2000, 2000), 0);
    EXPECT_TRUE(host.hover.isEmpty());
    EXPECT_EQ(editor->hoverBox(), 1);
}

// Fault mended: connect or add a loop while a relink begun on a line was
// pending dropped the taken successor entry, so the predecessor's list lost
// a link that the surface still drew.
TEST_F(Editor, ALinkCommandFirstGivesBackTheEntryOfAPendingRelink) {
    add(1, 2000, 2000, 0);
    add(2, 5000, 2000, 1);
    add(3, 8000, 2000, 3); // detached
    RebuildAllSuccessors(tracks);
    press(QPoint(5000, 2000));
    release(QPoint(5000, 2000));
    ASSERT_EQ(editor->lngSelectedTrack, 2);
    press(QPoint(3500, 2000)); // the line 2 -> 1: a relink waits
    ASSERT_TRUE(editor->linkMode());
    ASSERT_TRUE(at(1)->colNastepnik.isEmpty());
    editor->startLink(true); // add a loop
    EXPECT_TRUE(editor->linkMode());
    EXPECT_TRUE(editor->linkLoop());
    EXPECT_EQ(at(1)->colNastepnik, (L{2}));
    EXPECT_EQ(editor->visibleLines().size(), 2); // no line is taken away now
    editor->cancelLinkMode(); // Esc
    EXPECT_EQ(at(2)->lngTrack, 1);
    EXPECT_EQ(at(1)->colNastepnik, (L{2}));
    // Connect for the detached track 3 while track 2's relink waits: track 2
    // keeps its link, and track 3 gets its own.
    press(QPoint(8000, 2000));
    release(QPoint(8000, 2000));
    press(QPoint(3500, 2000));
    ASSERT_TRUE(at(1)->colNastepnik.isEmpty());
    editor->startLink(false);
    EXPECT_EQ(at(1)->colNastepnik, (L{2}));
    release(QPoint(2000, 2000));
    EXPECT_FALSE(editor->linkMode());
    EXPECT_EQ(at(2)->lngTrack, 1);
    EXPECT_EQ(at(3)->lngTrack, 1);
    EXPECT_EQ(at(1)->colNastepnik, (L{2, 3}));
}

// Fault mended: a loop line lying on its track's successor line was hit as
// the successor line, so its pop-up menu could not be reached there and a
// left click relinked the wrong link.
TEST_F(Editor, ALoopLineOnTheSuccessorLineIsHitAsTheLoop) {
    add(1, 2000, 2000, 0);
    auto b = add(2, 5000, 2000, 1);
    b->lngLoopTrack = 1;
    b->lngLoopCountBackup = 1;
    RebuildAllSuccessors(tracks);
    press(QPoint(3500, 2000), mouse::Right);
    EXPECT_EQ(host.calls, QStringList{"loopMenu"});
    EXPECT_FALSE(editor->linkMode());
    press(QPoint(3500, 2000));
    EXPECT_TRUE(editor->linkMode());
    EXPECT_TRUE(editor->linkLoop());
    EXPECT_EQ(at(1)->colNastepnik, (L{2})); // the successor entry stays
    editor->cancelLinkMode();
    // Elsewhere on the successor line of the start box's track, the
    // successor line is hit as before.
    host.calls.clear();
    press(QPoint(1300, 1300), mouse::Right);
    EXPECT_EQ(host.calls, QStringList{"fade 1/1"});
}

// Fault mended: a double-click on a track's box was enabled with no track
// panel to open, and did nothing.
TEST_F(Editor, ADoubleClickOnATrackWaitsForTheTrackPanel) {
    add(1, 2000, 2000, 0);
    host.trackPanel = false;
    EXPECT_FALSE(editor->canOpenFromBox(1));
    EXPECT_TRUE(editor->canOpenFromBox(0));
    move(QPoint(2000, 2000), 0);
    editor->doubleClick();
    EXPECT_TRUE(host.calls.isEmpty());
    move(QPoint(525, 525), 0);
    editor->doubleClick();
    EXPECT_EQ(host.calls, QStringList{"addTrack"});
    host.trackPanel = true;
    EXPECT_TRUE(editor->canOpenFromBox(1));
    EXPECT_FALSE(editor->canOpenFromBox(7)); // no such track
}

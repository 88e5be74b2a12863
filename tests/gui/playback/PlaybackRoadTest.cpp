// The main window's players on the silent "null" output, on GStreamer graphs
// and the system clock: the chain player's buttons pressed out of the usual
// order, and the track panel's preview switched between its play modes.
#include "core/app/ProgramObjects.h"
#include "core/document/cPozycjePlikow.h"
#include "core/document/cPozycjeMP3.h"
#include "core/document/cPozycjaPlikow.h"
#include "core/editor/TrackGraph.h"
#include "core/playback/PreviewPlayer.h"
#include "core/playback/SequencePlayer.h"
#include "gui/editor/EditorController.h"
#include "gui/mainwindow/FakeProgramEnd.h"
#include "gui/mainwindow/MainClose.h"
#include "gui/mainwindow/ProjectCommands.h"
#include "gui/mainwindow/TrackPanel.h"
#include "gui/mainwindow/TrackPanelFrame.h"
#include "gui/mainwindow/frmDazudizi.h"
#include "gui/playback/MainPlayer.h"
#include "platform/media/MediaPlatform.h"
#include "platform/media/PlaybackGraph.h"
#include "support/BasicServices.h"
#include "support/ProgramState.h"
#include "support/TestEnvironment.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

class PlaybackRoadTest : public ::testing::Test, protected test::BasicServices {
protected:
    PlaybackRoadTest() : BasicServices({{"WindowState", "0"}, {"Width", "15000"}, {"Height", "9000"}}) {}
    void SetUp() override {
        test::ResetProgramObjects();
        Program().settings.OverTakeSeconds = 0;
        Program().settings.UseOldAlgorithm = true; // ranges in the file's own time
        Program().outputs.UseDefaultRenderer = false;
        Program().outputs.SoundCards = {kNullOutputName};
        window = new frmDazudizi(Program());
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->PokazMnie();
        QCoreApplication::processEvents();
    }
    void TearDown() override {
        window->Panel().ReleasePreview();
        delete window;
    }
    // A track of the generated ten-second file, its range `from`..`to` seconds.
    std::shared_ptr<cPozycjaMP3> add(std::int32_t number, std::int32_t pred, int from, int toMs) {
        auto t = std::make_shared<cPozycjaMP3>();
        t->lngNrPozycji = number;
        t->lngTrack = pred;
        t->lngLeft = 1500 * number;
        t->lngTop = 1500;
        t->strLabel = QStringLiteral("T%1").arg(number);
        t->strFileNameSource = test::MediaFile("cbr_info.mp3");
        t->strDevice = kNullOutputName;
        t->dblDuration = 10;
        t->lngPoczatek_S = from;
        t->lngKoniec_S = toMs / 1000;
        t->lngKoniec_SS = toMs % 1000;
        window->cPozycje()->Add(t);
        Program().session.NextTrackNo = number + 1;
        return t;
    }
    void ready() {
        RebuildAllSuccessors(*window->cPozycje());
        window->DrawTrackGraph(true);
    }
    std::shared_ptr<cPozycjaMP3> track(std::int32_t n) { return TrackByNumber(*window->cPozycje(), n); }
    // Tracks 1 -> 2 -> 3 of three seconds, 3 starting two seconds before 2
    // ends, played from 2 until both sound.
    void playIntoTheOverlap() {
        add(1, 0, 0, 3000);
        add(2, 1, 0, 3000);
        add(3, 2, 0, 3000)->sngOvertake = -2.0f;
        playFrom(2);
        ASSERT_TRUE(waitFor([this] { return track(3)->blnPlayed; }, 20000) && track(2)->blnPlayed);
    }
    void playFrom(std::int32_t number) {
        ready();
        window->Editor().editor().lngSelectedTrack = number;
        button("cmdPlay")->click();
    }
    QPushButton* button(const char* name) { return window->fraTools()->findChild<QPushButton*>(name); }
    SequencePlayer& player() { return window->Player().player(); }
    // Real time passes with the event loop running until `done` or `ms`.
    bool waitFor(const std::function<bool()>& done, int ms) {
        QElapsedTimer waited;
        waited.start();
        while (!done() && waited.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        return done();
    }
    void stopAndWait() {
        button("cmdStop")->click();
        waitFor([this] { return !player().isRunning() && !player().timerEnabled(); }, 20000);
    }

    frmDazudizi* window = nullptr;
};

// Fault mended: a Stop pressed before the run had started (within the player
// timer's tick after Play) did not stop it: the chain played anyway. And a
// Pause pressed while nothing played stayed set, so the next run took its
// first gap for a paused one and never started the successor.
TEST_F(PlaybackRoadTest, StopOrPauseBeforeTheRunHasStartedDoNotHangOverTheRun) {
    auto a = add(1, 0, 0, 500);
    auto b = add(2, 1, 0, 500);
    b->sngOvertake = 0.2f; // a gap of 0.2 s before it
    ready();
    window->Editor().editor().lngSelectedTrack = 1;

    button("cmdPlay")->click();
    button("cmdStop")->click();
    EXPECT_FALSE(waitFor([&] { return player().isRunning() || a->blnPlayed; }, 600))
        << "the stop came first: nothing plays";
    stopAndWait();

    button("cmdPause")->click(); // nothing plays: there is nothing to pause
    button("cmdPlay")->click();
    bool secondPlayed = false;
    waitFor([&] {
        secondPlayed = secondPlayed || b->blnPlayed;
        return secondPlayed && !player().isRunning();
    }, 5000);
    EXPECT_TRUE(secondPlayed) << "the successor starts after its gap";
    EXPECT_FALSE(player().isRunning()) << "the run ends after the chain";
    EXPECT_TRUE(messages->shown.isEmpty());
    stopAndWait();
}

// Fault mended: Previous on the first track of the chain that was played
// started the first track of every other chain too.
TEST_F(PlaybackRoadTest, PreviousOnTheFirstTrackRestartsItAndNoOtherChain) {
    auto a = add(1, 0, 0, 3000);
    add(2, 1, 0, 3000);
    auto other = add(3, 0, 0, 3000); // the head of a chain of its own
    ready();
    window->Editor().editor().lngSelectedTrack = 1;
    button("cmdPlay")->click();
    ASSERT_TRUE(waitFor([&] { return a->blnPlayed; }, 20000));
    QTest::qWait(300);
    button("cmdPrev")->click();
    bool otherPlayed = false;
    waitFor([&] {
        otherPlayed = otherPlayed || other->blnPlayed;
        return otherPlayed;
    }, 600);
    EXPECT_FALSE(otherPlayed) << "the other chain was never asked for";
    EXPECT_TRUE(a->blnPlayed) << "the first track plays again";
    ASSERT_TRUE(a->MediaPosition);
    EXPECT_LT(a->MediaPosition->currentPosition(), 1.5);
    stopAndWait();
}

// Fault mended: a source rewritten between two plays into something that does
// not decode played as an empty track: the chain went on to the next track at
// once, the preview stood still, and nobody was told.
TEST_F(PlaybackRoadTest, ASourceThatNoLongerDecodesEndsTheRunWithAMessage) {
    const QString folder = test::MakeTempDir("playroad");
    auto a = add(1, 0, 0, 2000);
    auto b = add(2, 1, 0, 2000);
    a->strFileNameSource = folder + "/a.mp3";
    ASSERT_TRUE(QFile::copy(test::MediaFile("cbr_info.mp3"), a->strFileNameSource));
    ready();
    window->Editor().editor().lngSelectedTrack = 1;
    button("cmdPlay")->click();
    ASSERT_TRUE(waitFor([&] { return a->blnPlayed; }, 20000));
    stopAndWait();
    ASSERT_TRUE(messages->shown.isEmpty());

    test::WriteFile(a->strFileNameSource, QByteArray(100000, 'x'));
    bool secondPlayed = false;
    button("cmdPlay")->click();
    waitFor([&] {
        secondPlayed = secondPlayed || b->blnPlayed;
        return !messages->shown.isEmpty() && !player().isRunning();
    }, 4000);
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown.last().textNumber, 3162);
    EXPECT_FALSE(player().isRunning());
    EXPECT_FALSE(secondPlayed) << "the run ended at the track that does not play";
    EXPECT_FALSE(a->MediaControl) << "its graph is released";

    // The track panel's preview of it says so too, once, and lets it go.
    messages->shown.clear();
    window->Editor().openProperties(a);
    window->fraAudio()->cmdPlay2->click();
    PreviewPlayer& preview = window->Panel().preview();
    waitFor([&] { return !preview.MediaControl; }, 3000);
    QTest::qWait(600);
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown.last().textNumber, 3162);
    EXPECT_FALSE(preview.MediaControl);
}

// Fault mended: closing the window while the chain played left the run
// going into the window's destruction, where the player ended it through the
// editor and the tree that were already gone. The close now stops both
// players first.
TEST_F(PlaybackRoadTest, ClosingTheWindowWhileBothPlayersPlayStopsThemFirst) {
    test::FakeProgramEnd* end = test::CountProgramEnd(*window);
    auto a = add(1, 0, 0, 5000);
    add(2, 1, 0, 5000);
    ready();
    window->Editor().openProperties(a);
    window->fraAudio()->cmdPlay2->click();
    PreviewPlayer& preview = window->Panel().preview();
    ASSERT_TRUE(preview.MediaControl);
    window->Editor().editor().lngSelectedTrack = 1;
    button("cmdPlay")->click();
    ASSERT_TRUE(waitFor([&] { return a->blnPlayed; }, 20000));
    messages->answers.enqueue(mb::No); // in case the project is asked about
    EXPECT_TRUE(window->close());
    EXPECT_EQ(end->ended, 1);
    EXPECT_FALSE(player().isRunning()) << "nothing of the run is left for the window's destruction";
    EXPECT_FALSE(a->blnPlayed);
    EXPECT_FALSE(a->MediaControl) << "its output is let go";
    ASSERT_TRUE(preview.MediaControl);
    EXPECT_EQ(preview.MediaControl->state(), GraphState::Stopped);
}

// Fault mended: Next pressed in an overlap ended the track that had just
// started in it too, though that is the track Next goes to.
TEST_F(PlaybackRoadTest, NextInAnOverlapEndsTheEndingTrackAndTheNextPlaysOn) {
    ASSERT_NO_FATAL_FAILURE(playIntoTheOverlap());
    button("cmdNext")->click();
    QTest::qWait(300);
    EXPECT_FALSE(track(2)->blnPlayed);
    const auto b = track(3);
    ASSERT_TRUE(b->blnPlayed && b->MediaControl);
    EXPECT_EQ(b->MediaControl->state(), GraphState::Running);
    EXPECT_LT(b->MediaPosition->currentPosition(), 2.5);
    stopAndWait();
}

// Fault mended: Previous pressed in an overlap took both tracks back a step:
// the track before and the ending track itself started again together.
TEST_F(PlaybackRoadTest, PreviousInAnOverlapPlaysOnlyTheTrackBefore) {
    ASSERT_NO_FATAL_FAILURE(playIntoTheOverlap());
    button("cmdPrev")->click();
    ASSERT_TRUE(waitFor([this] { return track(1)->blnPlayed; }, 20000));
    EXPECT_FALSE(waitFor([this] { return track(2)->blnPlayed || track(3)->blnPlayed; }, 500));
    stopAndWait();
}

// Fault mended: Stop pressed right after Previous, before the player's next
// pass, let the pending request start the previous track.
TEST_F(PlaybackRoadTest, StopRightAfterPreviousStopsTheRun) {
    auto a = add(1, 0, 0, 3000);
    auto b = add(2, 1, 0, 3000);
    playFrom(2);
    ASSERT_TRUE(waitFor([&] { return b->blnPlayed; }, 20000));
    button("cmdPrev")->click();
    button("cmdStop")->click();
    EXPECT_FALSE(waitFor([&] { return a->blnPlayed; }, 600));
    EXPECT_FALSE(player().isRunning());
}

// Fault mended: a track without a fade-in moved back out of its fade-out
// played on at the volume the fade had reached, down to silence.
TEST_F(PlaybackRoadTest, MovedBackOutOfItsFadeOutATrackPlaysAtItsOwnVolume) {
    auto a = add(1, 0, 0, 6000);
    add(2, 1, 0, 1000);
    a->lngVolumeEnd = -10000;
    a->sngFadeOutTime = a->sngFadeOutTimeOld = 4;
    Program().settings.MoveStep = 3;
    playFrom(1);
    ASSERT_TRUE(waitFor([&] { return a->MediaPosition && a->MediaPosition->currentPosition() >= 4; }, 30000));
    button("cmdMove(0)")->click();
    QTest::qWait(100);
    ASSERT_LT(a->MediaPosition->currentPosition(), 1.9) << "before its fade-out";
    EXPECT_EQ(a->MediaBasicAudio->volume(), 0);
    stopAndWait();
}

// Fault mended: a fade-out took the lead time off the time left instead of
// adding it, so it began twice the lead early and had fallen silent by the
// successor's moment.
TEST_F(PlaybackRoadTest, AFadeOutLeavesTheBodyVolumeLateByTheLeadAndIsHeardToTheSuccessor) {
    Program().settings.OverTakeSeconds = 0.15f;
    auto a = add(1, 0, 0, 6000);
    add(2, 1, 0, 1000);
    a->lngVolumeEnd = -10000;
    a->sngFadeOutTime = a->sngFadeOutTimeOld = 5;
    playFrom(1);
    const auto position = [&] { return a->MediaPosition ? a->MediaPosition->currentPosition() : -1.0; };
    // The ramp leaves the body volume at 6 - 5 + 0.15 = 1.15 s (it began at
    // 0.85 s and stood at -400 by 1.05 s before).
    ASSERT_TRUE(waitFor([&] { return position() >= 1.0; }, 20000));
    if (const double at = position(); at < 1.15) {
        EXPECT_EQ(a->MediaBasicAudio->volume(), 0) << "at " << at << " s";
    }
    // Just before the successor's moment (6 - 0.15 s) it is still above
    // -9500 (it was at -9800 by 5.75 s before).
    ASSERT_TRUE(waitFor([&] { return position() >= 5.75 || !a->blnPlayed; }, 20000));
    if (const double at = position(); a->blnPlayed && a->MediaBasicAudio && at < 5.85) {
        EXPECT_GT(a->MediaBasicAudio->volume(), -9500) << "at " << at << " s";
        EXPECT_LT(a->MediaBasicAudio->volume(), -8500) << "at " << at << " s";
    }
    stopAndWait();
}

// Fault mended: a project opened right after Play, or during a run in
// repeat mode, was played in place of the old one.
TEST_F(PlaybackRoadTest, OpeningAProjectStopsThePlayerAndPlaysNothingOfTheNewOne) {
    auto file = std::make_shared<cPozycjaPlikow>();
    file->strFileName = test::MediaFile("cbr_info.mp3");
    file->lngNrPozycji = Program().session.NextFileId++;
    Program().session.OpenFiles = std::make_shared<cPozycjePlikow>();
    Program().session.OpenFiles->Add(file);
    add(1, 0, 0, 3000);
    bool keepName = true;
    ASSERT_TRUE(window->Projects().Zapisz(false, keepName, test::MakeTempDir("playopen") + "/p.kbe"));
    auto playsAfterOpening = [this] {
        messages->answers.enqueue(mb::No); // not saved again
        EXPECT_TRUE(window->Projects().OtworzPlik(window->Projects().ProjectFile(), false, false, false));
        return waitFor([this] { return track(1)->blnPlayed; }, 500);
    };
    playFrom(1);
    EXPECT_FALSE(playsAfterOpening()) << "the run had not started yet";
    player().mnuPlay_Repeat_Click();
    playFrom(1);
    ASSERT_TRUE(waitFor([this] { return track(1)->blnPlayed; }, 20000));
    EXPECT_FALSE(playsAfterOpening()) << "a run in repeat mode";
    stopAndWait();
}

// Fault mended: a fade-in ended where it did when it was set: after the
// range's begin was moved in the track panel, the track came in at full volume.
TEST_F(PlaybackRoadTest, AFadeInFollowsTheRangeBeginEditedInThePanel) {
    add(1, 0, 0, 1000);
    auto b = add(2, 1, 0, 9000);
    b->lngVolumeStart = -10000;
    b->sngFadeInTime = b->sngFadeInTimeOld = 2; // set while the range began at 0
    b->sngFadeInOffsetTime = b->sngFadeInOffsetTimeOld = 2;
    ready();
    window->Editor().openProperties(b);
    QTest::keyClicks(window->fraAudio()->Text1[1], QStringLiteral("5"));
    ASSERT_EQ(b->lngPoczatek_S, 5);
    playFrom(2);
    ASSERT_TRUE(waitFor([&] { return b->MediaPosition && b->MediaPosition->currentPosition() >= 5.3; }, 20000));
    EXPECT_LT(b->MediaBasicAudio->volume(), -4000) << "still in its fade-in";
    stopAndWait();
}

// Fault mended: the preview's play modes that play to the file's end took
// their start from where the previous play had stopped when that stop lay
// before the new start: after the begin test, "from the range's end" played
// from three seconds into the range.
TEST_F(PlaybackRoadTest, ThePreviewModeFromTheRangeEndStartsThereAfterTheBeginTest) {
    auto t = add(1, 0, 1, 6000);
    ready();
    window->Editor().openProperties(t);
    TrackPanelFrame& f = *window->fraAudio();
    f.cmdTest[0]->click(); // the range's first three seconds
    PreviewPlayer& preview = window->Panel().preview();
    ASSERT_TRUE(preview.MediaControl);
    EXPECT_NEAR(preview.MediaControl->stopTime(), 4.0, 0.01);
    QTest::qWait(200);
    window->Menus().item(QStringLiteral("mnuPlayZa"))->trigger();
    ASSERT_TRUE(preview.MediaControl);
    EXPECT_EQ(t->lngSpOdtw, 1);
    EXPECT_NEAR(preview.MediaControl->stopTime(), 10.0, 0.01);
    EXPECT_GE(preview.MediaControl->currentPosition(), 6.0 - 0.01) << "from the range's end on";
    QTest::qWait(300);
    EXPECT_GE(preview.MediaControl->currentPosition(), 6.0 - 0.01);
    f.cmdStop2->click();
}

} // namespace

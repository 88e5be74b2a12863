// The main window's players on the silent "null" output, on GStreamer graphs
// and the system clock: the chain player's buttons pressed out of the usual
// order, and the track panel's preview switched between its play modes.
#include "core/app/ProgramObjects.h"
#include "core/document/cPozycjeMP3.h"
#include "core/editor/TrackGraph.h"
#include "core/playback/PreviewPlayer.h"
#include "core/playback/SequencePlayer.h"
#include "gui/editor/EditorController.h"
#include "gui/mainwindow/FakeProgramEnd.h"
#include "gui/mainwindow/MainClose.h"
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
        waitFor([this] { return !player().isRunning() && !player().timerEnabled(); }, 2000);
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
    ASSERT_TRUE(waitFor([&] { return a->blnPlayed; }, 2000));
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
    ASSERT_TRUE(waitFor([&] { return a->blnPlayed; }, 2000));
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
    auto fakeEnd = std::make_unique<test::FakeProgramEnd>();
    test::FakeProgramEnd* end = fakeEnd.get();
    window->Closing().setProgramEnd(std::move(fakeEnd));
    auto a = add(1, 0, 0, 5000);
    add(2, 1, 0, 5000);
    ready();
    window->Editor().openProperties(a);
    window->fraAudio()->cmdPlay2->click();
    PreviewPlayer& preview = window->Panel().preview();
    ASSERT_TRUE(preview.MediaControl);
    window->Editor().editor().lngSelectedTrack = 1;
    button("cmdPlay")->click();
    ASSERT_TRUE(waitFor([&] { return a->blnPlayed; }, 2000));
    messages->answers.enqueue(mb::No); // in case the project is asked about
    EXPECT_TRUE(window->close());
    EXPECT_EQ(end->ended, 1);
    EXPECT_FALSE(player().isRunning()) << "nothing of the run is left for the window's destruction";
    EXPECT_FALSE(a->blnPlayed);
    EXPECT_FALSE(a->MediaControl) << "its output is let go";
    ASSERT_TRUE(preview.MediaControl);
    EXPECT_EQ(preview.MediaControl->state(), GraphState::Stopped);
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

// The fade editor window inside the main window: opening, the bars, the
// preview's buttons, closing with a deleted track and minimizing.
#include "core/app/MessageService.h"
#include "core/app/ProgramObjects.h"
#include "support/ProgramState.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjeMP3.h"
#include "core/editor/TrackGraph.h"
#include "core/playback/FadeEditorBars.h"
#include "core/playback/FadeEditorPreview.h"
#include "gui/editor/EditorController.h"
#include "gui/editor/TrackCommandSet.h"
#include "gui/mainwindow/frmDazudizi.h"
#include "gui/playback/frmFade.h"
#include "platform/media/FakeMediaPlatform.h"
#include "platform/media/VirtualClock.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/ScriptedMessages.h"
#include "support/ScrollBarArrows.h"
#include "support/TestEnvironment.h"
#include "support/TrackFactory.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <array>
#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

class FadeEditor : public ::testing::Test {
protected:
    void SetUp() override {
        test::ResetProgramObjects();
        auto* store = new MemorySettingsStore;
        SetSettingsStore(std::unique_ptr<SettingsStore>(store));
        store->values = {{"WindowState", "0"}, {"Width", "15000"}, {"Height", "9000"}, {"AdvView", "0"}};
        Catalog().load(test::SourceDir() + "/resources/Kelbrin.ini");
        Catalog().setLanguage("ENGLISH");
        previous = SetMessageService(std::make_unique<test::ScriptedMessages>());
        auto c = std::make_unique<VirtualClock>();
        clock = c.get();
        SetProgramClock(std::move(c));
        SetMediaPlatform(std::make_unique<FakeMediaPlatform>(*clock));
        Program().outputs.UseDefaultRenderer = false;
        Program().outputs.SoundCards = {kDefaultOutputName, kNullOutputName};
        window = new frmDazudizi(Program());
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->PokazMnie();
        QCoreApplication::processEvents();
        for (int n = 1; n <= 3; ++n) {
            auto t = test::MakeTrackAt(n, 1500 + 3000 * (n - 1), 1500, n - 1, QStringLiteral("Track %1").arg(n));
            t->strFileNameSource = QStringLiteral("/music/%1.mp3").arg(n);
            t->strDevice = kNullOutputName;
            t->dblDuration = 60;
            t->lngKoniec_M = 1;
            window->cPozycje()->Add(t);
        }
        track(1)->colNastepnik = {2};
        track(2)->colNastepnik = {3};
        Program().session.NextTrackNo = 4;
        window->DrawTrackGraph(true);
    }
    void TearDown() override {
        delete window;
        SetMediaPlatform(nullptr);
        SetProgramClock(nullptr);
        SetMessageService(std::move(previous));
        SetSettingsStore(nullptr);
    }
    std::shared_ptr<cPozycjaMP3> track(std::int32_t n) { return TrackByNumber(*window->cPozycje(), n); }
    frmFade* open(std::int32_t e, std::int32_t s) {
        window->Commands().OpenFadeEditor(track(e), track(s));
        return qobject_cast<frmFade*>(window->Commands().fadeEditors.Find(e, s));
    }
    frmDazudizi* window = nullptr;
    VirtualClock* clock = nullptr;
    std::unique_ptr<MessageService> previous;
};

struct Fields {
    explicit Fields(const cPozycjaMP3& t)
        : v{t.lngVolume, t.lngVolumeStart, t.lngVolumeEnd, t.lngMarkerFrom, t.lngMarkerTo},
          f{t.sngFadeInTime, t.sngFadeInOffsetTime, t.sngFadeInTimeOld, t.sngFadeInOffsetTimeOld, t.sngFadeOutTime,
            t.sngFadeOutTimeOld, t.sngOvertake},
          modified(t.blnZmodyfikowana), successors(t.colNastepnik) {}
    bool operator==(const Fields&) const = default;
    std::array<std::int32_t, 5> v;
    std::array<float, 7> f;
    bool modified;
    QList<std::int32_t> successors;
};

} // namespace

// Fault mended: loading the bars wrote them back (rounded volumes, rescaled
// fade times, overtakes out of the bars' range) into both tracks.
TEST_F(FadeEditor, OpeningChangesNoFieldAndClampsWhatTheBarsCannotShow) {
    auto e = track(1), s = track(2);
    e->lngVolume = -3750;
    e->sngFadeOutTime = 100.0f; // beyond the bar
    s->sngOvertake = -50.0f;    // beyond the bar
    s->sngFadeInTime = 0.3f;
    s->blnZmodyfikowana = true;
    const Fields before(*e), beforeS(*s);
    frmFade* w = open(1, 2);
    ASSERT_TRUE(w);
    EXPECT_TRUE(Fields(*e) == before);
    EXPECT_TRUE(Fields(*s) == beforeS);
    EXPECT_EQ(w->HScrFadeOutTime->value(), 0);
    EXPECT_EQ(w->HscrOvertake->value(), 0);
    EXPECT_EQ(w->HScrFadeInTime->value(), 300);
    EXPECT_EQ(w->VScrVolumeOut->value(), -38);
    EXPECT_EQ(w->windowTitle(), GetText(3146) + " Track 1/Track 2");
    EXPECT_EQ(w->cboDevice->currentText(), kNullOutputName);
    // Moving a bar writes its own field.
    w->VScrVolumeIn->setValue(-37);
    EXPECT_EQ(s->lngVolume, -3700);
    w->HScrFadeOutTime->setValue(30767);
    EXPECT_FLOAT_EQ(e->sngFadeOutTime, 2.0f);
    EXPECT_TRUE(e->blnZmodyfikowana);
    EXPECT_EQ(e->lngVolume, -3750);
    // The same pair finds the same window.
    EXPECT_EQ(open(1, 2), w);
}

// Fault mended: the up arrow of a volume bar lowered the volume and moved the
// handle away from the arrow.
TEST_F(FadeEditor, TheUpArrowOfAVolumeBarRaisesTheVolumeAndTheHandleFollows) {
    track(2)->lngVolume = -3000;
    frmFade* w = open(1, 2);
    ASSERT_TRUE(w);
    QScrollBar* bar = w->VScrVolumeIn;
    ASSERT_TRUE(bar->isVisible());
    ASSERT_EQ(bar->value(), -30);
    const int handle = test::HandleTop(bar);
    test::ClickUpArrow(bar);
    EXPECT_EQ(bar->value(), -29);
    EXPECT_EQ(track(2)->lngVolume, -2900);
    for (int i = 0; i < 9; ++i)
        test::ClickUpArrow(bar);
    EXPECT_EQ(track(2)->lngVolume, -2000);
    EXPECT_LT(test::HandleTop(bar), handle);
    for (int i = 0; i < 20; ++i)
        test::ClickDownArrow(bar);
    EXPECT_EQ(track(2)->lngVolume, -4000);
    EXPECT_GT(test::HandleTop(bar), handle);
}

TEST_F(FadeEditor, AHeadTrackOpensWithTheFadeInSideOnly) {
    frmFade* w = open(1, 1);
    ASSERT_TRUE(w);
    EXPECT_FALSE(w->endingShown());
    EXPECT_FALSE(w->shpTrack0->isVisible());
    EXPECT_FALSE(w->HScrFadeOutTime->isVisible());
    EXPECT_FALSE(w->HscrOvertake->isVisible());
    const Fields before(*track(1));
    w->VScrVolumeOut->setValue(-50);
    EXPECT_EQ(track(1)->lngVolume, before.v[0]);
}

// Fault mended: a second Play nested a second preview loop, and closing the
// window during a preview freed graphs the loop still used.
TEST_F(FadeEditor, PlayTwiceOrCloseDuringThePreviewIsSafe) {
    QPointer<frmFade> w = open(1, 2);
    ASSERT_TRUE(w);
    w->cmdPlay_Click();
    ASSERT_TRUE(w->preview().running());
    std::weak_ptr<PlaybackGraph> graph = w->preview().endGraph();
    w->cmdPlay_Click();
    EXPECT_EQ(w->preview().endGraph(), graph.lock());
    clock->advance(500);
    QTest::keyClick(w, Qt::Key_F3);
    EXPECT_FALSE(w->mnuPlay_Rep->isChecked());
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(w);
    EXPECT_TRUE(graph.expired());
    clock->advance(60000); // nothing left to run
    EXPECT_EQ(clock->pendingCalls(), 0);
}

// Fault mended: an editor stayed open on a deleted track.
TEST_F(FadeEditor, EditorsOfADeletedTrackCloseAndFollowTheMainWindow) {
    QPointer<frmFade> a = open(1, 2);
    QPointer<frmFade> b = open(2, 3);
    ASSERT_TRUE(a && b);
    window->showMinimized();
    QCoreApplication::processEvents();
    EXPECT_TRUE(a->isMinimized());
    window->showNormal();
    QCoreApplication::processEvents();
    EXPECT_FALSE(a->isMinimized());
    window->Commands().DeleteTrack(3);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(a);
    EXPECT_FALSE(b);
    // The overtake bar sorts the ending track's successors: track 2 moves
    // ahead of a sibling that starts half a second before the end.
    auto sibling = test::MakeTrackAt(4, 1500, 3000, 1, QStringLiteral("Track 4"));
    sibling->sngOvertake = -0.5f;
    window->cPozycje()->Add(sibling);
    const std::int32_t at2 = ItemTracka(*window->cPozycje(), 2), at4 = ItemTracka(*window->cPozycje(), 4);
    track(1)->colNastepnik = {at4, at2}; // successors are held by position
    a->HscrOvertake->setValue(16383 - 500);
    EXPECT_FLOAT_EQ(track(2)->sngOvertake, -1.0f);
    EXPECT_EQ(track(1)->colNastepnik, (QList<std::int32_t>{at2, at4}));
}

// Fault mended: the fade-in label showed the track's time, not the preview
// graph's time that the fade-in is kept and played in.
TEST_F(FadeEditor, TheFadeInLabelShowsTheGraphsTime) {
    track(2)->dblDuration = 120; // the graph plays the source in 60 s
    track(2)->sngFadeInTime = 3.0f;
    frmFade* w = open(1, 2);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->lblFadeInTime->text(), QStringLiteral("1.50"));
    QTest::mouseClick(w->HScrFadeInTime, Qt::LeftButton, {}, QPoint(w->HScrFadeInTime->width() * 3 / 4, w->HScrFadeInTime->height() / 2));
    EXPECT_FLOAT_EQ(track(2)->sngFadeInTime, 4.0f);
    EXPECT_EQ(w->lblFadeInTime->text(), QStringLiteral("2.00"));
    EXPECT_EQ(w->lblFadeInTime->text(), FadeLabelText(track(2)->sngFadeInTimeOld));
}

// Fault mended: a range beginning 40 million minutes in (a script may give it)
// overflowed the whole seconds, and the fade-in was kept as ending before the
// source began.
TEST_F(FadeEditor, AFarBeginKeepsTheFadeInAfterIt) {
    track(2)->lngPoczatek_M = 40'000'000;
    track(2)->lngKoniec_M = 40'000'001;
    frmFade* w = open(1, 2);
    ASSERT_TRUE(w);
    test::ClickDownArrow(w->HScrFadeInTime);
    ASSERT_EQ(w->HScrFadeInTime->value(), 10);
    EXPECT_FLOAT_EQ(track(2)->sngFadeInOffsetTime, 2.4e9f);
}

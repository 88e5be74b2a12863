// The fade editor's core: bar loading and writing, the envelope layout, the
// markers, the ramps, and the preview on virtual time and on the null output.
#include "core/app/ProgramObjects.h"
#include "core/document/cPozycjaMP3.h"
#include "core/playback/FadeEditorBars.h"
#include "core/playback/FadeEditorLayout.h"
#include "core/playback/FadeEditorPreview.h"
#include "core/playback/FadeEditorRamps.h"
#include "platform/media/FakeMediaPlatform.h"
#include "platform/media/MediaPlatform.h"
#include "platform/media/VirtualClock.h"
#include "support/ProgramState.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

std::shared_ptr<cPozycjaMP3> Track(int number, int pred, const QString& file, double seconds) {
    auto t = std::make_shared<cPozycjaMP3>();
    t->lngNrPozycji = number;
    t->lngTrack = pred;
    t->strFileNameSource = file;
    t->strDevice = kNullOutputName;
    t->dblDuration = seconds;
    return t;
}

} // namespace

TEST(FadeEditorRamps, AreLinearBetweenTheirVolumesAndClamped) {
    EXPECT_EQ(FadeEditorRampVolume(0, -10000, 0.5), -5000);
    EXPECT_EQ(FadeEditorRampVolume(-10000, 0, 0.25), -2500); // a quarter of the fade-in still to come
    EXPECT_EQ(FadeEditorRampVolume(-2000, -10000, 0.5), -6000);
    EXPECT_EQ(FadeEditorRampVolume(-2000, -10000, 0.1), -9200);
    EXPECT_EQ(FadeEditorRampVolume(0, -10000, 1.7), 0);
    EXPECT_EQ(FadeEditorRampVolume(0, -10000, -1), -10000);
    EXPECT_DOUBLE_EQ(FadeEditorRampShare(10, 9, 0, 2), 0.5);
    EXPECT_DOUBLE_EQ(FadeEditorRampShare(10, 9, 0.5, 2), 0.25);
    EXPECT_DOUBLE_EQ(FadeEditorRampShare(10, 0, 0, 2), 1.0);
    EXPECT_DOUBLE_EQ(FadeEditorRampShare(10, 9, 0, 0), 0.0);
}

TEST(FadeEditorBars, LoadStoredFieldsAndClampWhatTheBarsCannotShow) {
    cPozycjaMP3 e, s;
    e.sngFadeOutTime = 2.0f;
    e.lngVolume = -3700;
    e.lngVolumeEnd = -10000;
    s.sngFadeInTime = 0.3f;
    s.lngVolumeStart = -3750;
    s.lngVolume = 0;
    s.sngOvertake = 0;
    FadeEditorBars b = LoadFadeEditorBars(e, s, true);
    EXPECT_EQ(b.fadeOutTime, 30767);
    EXPECT_EQ(b.volumeOut, -37);
    EXPECT_EQ(b.volumeOutEnd, -100);
    EXPECT_EQ(b.fadeInTime, 300);
    EXPECT_EQ(b.volumeInStart, -38);
    EXPECT_EQ(b.overtake, 16385);
    // Out of range: clamped, and the fields stay as they were.
    e.sngFadeOutTime = 100.0f;
    s.sngFadeInTime = 50.0f;
    s.sngOvertake = 40.0f;
    s.lngVolume = -20000;
    b = LoadFadeEditorBars(e, s, true);
    EXPECT_EQ(b.fadeOutTime, 0);
    EXPECT_EQ(b.fadeInTime, 32767);
    EXPECT_EQ(b.overtake, 32767);
    EXPECT_EQ(b.volumeIn, -100);
    s.sngOvertake = -40.0f;
    s.sngFadeInTime = -1.0f;
    b = LoadFadeEditorBars(e, s, true);
    EXPECT_EQ(b.overtake, 0);
    EXPECT_EQ(b.fadeInTime, 0);
    EXPECT_EQ(s.sngOvertake, -40.0f);
    // Without a predecessor the overtake bar sits at its centre.
    EXPECT_EQ(LoadFadeEditorBars(e, s, false).overtake, 16385);
}

TEST(FadeEditorBars, WriteTheFieldsInThePlayersUnits) {
    EXPECT_EQ(OvertakeOfBar(16383), 0.0f);
    EXPECT_FLOAT_EQ(OvertakeOfBar(0), -32.77f);
    EXPECT_FLOAT_EQ(OvertakeOfBar(32767), 32.77f);
    EXPECT_EQ(FadeLabelText(-0.001), "0.00");
    cPozycjaMP3 s;
    s.lngPoczatek_S = 10;
    s.lngPoczatek_SS = 500;
    s.dblDuration = 100;
    WriteFadeInTime(s, 2500, 50, false);
    EXPECT_FLOAT_EQ(s.sngFadeInTime, 2.5f);
    EXPECT_FLOAT_EQ(s.sngFadeInOffsetTime, 13.0f);
    EXPECT_FLOAT_EQ(s.sngFadeInTimeOld, 1.25f);
    EXPECT_FLOAT_EQ(s.sngFadeInOffsetTimeOld, 6.5f);
    EXPECT_TRUE(s.blnZmodyfikowana);
    cPozycjaMP3 e;
    e.dblDuration = 10;
    WriteFadeOutTime(e, 30767, 10, false);
    EXPECT_FLOAT_EQ(e.sngFadeOutTime, 2.0f);
    WriteEndingVolume(e, -37);
    EXPECT_EQ(e.lngVolume, -3700);
    WriteEndingVolumeEnd(e, 0);
    EXPECT_EQ(e.lngVolumeEnd, 0);
}

TEST(FadeEditorLayout, KeepsTheMinimumAndPlacesTheEnvelope) {
    FadeEditorBars b;
    const FadeEditorLayout l = LayOutFadeEditor(1000, 1000, b, {}, true);
    EXPECT_EQ(l.width, 4575);
    EXPECT_EQ(l.height, 4410);
    EXPECT_EQ(l.fraGraf.height, 1700);
    EXPECT_EQ(l.VScrVolumeIn.height, 1700);
    EXPECT_EQ(l.VScrVolumeIn.right(), l.width - 150);
    EXPECT_EQ(l.HScrFadeInTime.left, l.width / 2);
    // Any size: every control stays inside the window.
    for (int w : {4575, 6000, 12000})
        for (int h : {4410, 8000}) {
            const FadeEditorLayout k = LayOutFadeEditor(w, h, b, {}, true);
            for (const TwipBox& box : {k.cboDevice, k.HscrOvertake, k.lblOverTake, k.VScrVolumeIn, k.shpTrack1})
                EXPECT_LE(box.right(), w);
            EXPECT_LE(k.cboDevice.bottom(), h);
            EXPECT_GE(k.graph.shpFadeIn.left, 0);
        }
    // Zero overtake: the fade-in starts where the fade-out ends (the middle).
    const FadeEnvelope g = LayOutFadeEnvelope(3000, 1700, b, {}, true);
    EXPECT_EQ(g.Line1.x1, 1500);
    EXPECT_EQ(g.shpFadeIn.right(), 3000);
    EXPECT_EQ(g.Line2.x1, 1525);
}

TEST(FadeEditorLayout, MarkersAreHitAndDraggedWithinTheirRanges) {
    FadeEditorBars b;
    const FadeEnvelope g = LayOutFadeEnvelope(3000, 1700, b, {16384, 0}, true);
    EXPECT_EQ(DragFromMarker(g, 750), 16384);
    EXPECT_EQ(DragFromMarker(g, 1500), -1);
    EXPECT_EQ(DragFromMarker(g, 0), -1);
    EXPECT_EQ(DragToMarker(g, 1000), -1);
    EXPECT_EQ(DragToMarker(g, 2250), 16384);
    // The from-marker wins when both lines are near.
    EXPECT_EQ(MarkerUnderPointer(g, g.LineFrom.x1 + 19.9, true), 1);
    EXPECT_EQ(MarkerUnderPointer(g, g.LineFrom.x1 + 20, true), 0);
    EXPECT_EQ(MarkerUnderPointer(g, g.LineTo.x1 - 5, true), 2);
    EXPECT_EQ(MarkerTimeText(65.25f), "1:5:25");
    EXPECT_EQ(MarkerTimeText(65.5f), "1:5:50");
    EXPECT_EQ(MarkerTimeText(31.767f), "0:31:76");
    cPozycjaMP3 e, s;
    e.lngKoniec_S = 10;
    float tE, tS;
    bool before;
    MarkerTimes(e, s, tE, tS, before);
    EXPECT_TRUE(before);
    EXPECT_EQ(tE, 0);
    EXPECT_EQ(e.lngMarkerFrom, 1000); // only reported
}

// Notes what the preview showed its window.
class PreviewLog : public FadePreviewObserver {
public:
    explicit PreviewLog(bool* finishedFlag, QList<bool>* delayLines = nullptr)
        : m_finished(finishedFlag), m_delays(delayLines) {}
    void PictureChanged(int, bool) override {}
    void DelayChanged(bool delayArmed) override {
        if (m_delays)
            *m_delays << delayArmed;
    }
    void PreviewFinished() override {
        if (m_finished)
            *m_finished = true;
    }

private:
    bool* m_finished;
    QList<bool>* m_delays;
};

class FadePreview : public ::testing::Test {
protected:
    void SetUp() override {
        test::FreshProgramState();
        auto c = std::make_unique<VirtualClock>();
        clock = c.get();
        oldClock = SetProgramClock(std::move(c));
        auto m = std::make_unique<FakeMediaPlatform>(*clock);
        media = m.get();
        media->durations["e.mp3"] = 10;
        media->durations["s.mp3"] = 10;
        SetMediaPlatform(std::move(m));
        e = Track(1, 0, "e.mp3", 10);
        e->lngKoniec_S = 10;
        e->lngMarkerFrom = 32767 - 3000; // three seconds before the end
        e->lngVolume = 0;
        e->lngVolumeEnd = -10000;
        e->sngFadeOutTime = 2;
        e->colNastepnik = {2};
        s = Track(2, 1, "s.mp3", 10);
        s->lngKoniec_S = 10;
        s->lngMarkerTo = 3000;
        s->lngVolume = 0;
        s->lngVolumeStart = -10000;
        s->sngFadeInTime = 1;
    }
    void TearDown() override {
        SetMediaPlatform(nullptr);
        SetProgramClock(nullptr);
    }
    // Clock time (ms) at which the starting track was run.
    qint64 startedAt(const FadeEditorPreview& p) {
        auto g = std::dynamic_pointer_cast<FakePlaybackGraph>(p.startGraph());
        const auto runs = g ? g->eventsOf(FakePlaybackGraph::Op::Run) : QList<FakePlaybackGraph::Event>{};
        return runs.isEmpty() ? -1 : runs.first().ms;
    }
    VirtualClock* clock = nullptr;
    std::unique_ptr<Clock> oldClock;
    FakeMediaPlatform* media = nullptr;
    std::shared_ptr<cPozycjaMP3> e, s;
};

TEST_F(FadePreview, OverlapStartsByPositionBeforeTheStopTime) {
    s->sngOvertake = -2;
    FadeEditorPreview p(e, s, true, *clock, Program().settings, Program().outputs);
    ASSERT_TRUE(p.OpenPreviewGraphs(kNullOutputName));
    ASSERT_TRUE(p.start());
    EXPECT_DOUBLE_EQ(p.endGraph()->currentPosition(), 7.0);
    EXPECT_FALSE(p.start()); // a second start is ignored
    clock->advance(1500);
    // 10 - 2 - 0.15 = 7.85: 0.85 s after the start, to the pass.
    EXPECT_GE(startedAt(p), 850);
    EXPECT_LE(startedAt(p), 860);
    // Both play together; the fade-out runs linearly: at 9.0 (+0.15 lead) 0.425 is left.
    clock->advance(500);
    EXPECT_EQ(p.endGraph()->volume(), FadeEditorRampVolume(0, -10000, (10 - 9.15) / 2));
    EXPECT_TRUE(std::dynamic_pointer_cast<FakePlaybackGraph>(p.endGraph())->isSounding());
    EXPECT_TRUE(std::dynamic_pointer_cast<FakePlaybackGraph>(p.startGraph())->isSounding());
    // Fade-in over: full volume.
    clock->advance(200);
    EXPECT_EQ(p.startGraph()->volume(), 0);
    EXPECT_EQ(s->lngMarkerTo, 3000); // nothing written
}

TEST_F(FadePreview, NoOvertakeStartsAtTheStopPointLessTheLead) {
    FadeEditorPreview p(e, s, true, *clock, Program().settings, Program().outputs);
    ASSERT_TRUE(p.OpenPreviewGraphs(QString()));
    std::weak_ptr<PlaybackGraph> end = p.endGraph(), start = p.startGraph();
    bool finished = false;
    PreviewLog log(&finished);
    p.setObserver(&log);
    p.repeat = [] { return false; };
    ASSERT_TRUE(p.start());
    clock->advance(2000);
    EXPECT_EQ(startedAt(p), -1);
    clock->advance(1000);
    EXPECT_GE(startedAt(p), 2850);
    EXPECT_LE(startedAt(p), 2860);
    // Without repeat the pass ends after lngMarkerTo ms less the lead, and
    // the graphs are released.
    clock->advance(3000);
    EXPECT_TRUE(finished);
    EXPECT_FALSE(p.running());
    EXPECT_TRUE(end.expired());
    EXPECT_TRUE(start.expired());
    EXPECT_EQ(clock->pendingCalls(), 0);
}

TEST_F(FadePreview, GapWaitsOnTheClockAndRepeatRestartsTheLeadIn) {
    s->sngOvertake = 1.5f;
    FadeEditorPreview p(e, s, true, *clock, Program().settings, Program().outputs);
    QList<bool> delays;
    PreviewLog log(nullptr, &delays);
    p.setObserver(&log);
    int repeats = 0;
    p.repeat = [&] { return ++repeats < 2; };
    ASSERT_TRUE(p.OpenPreviewGraphs(QString()));
    ASSERT_TRUE(p.start());
    delays.clear();
    clock->advance(2900);
    EXPECT_EQ(delays, QList<bool>{true}); // red at the stop point
    clock->advance(1440);
    EXPECT_EQ(startedAt(p), -1);
    clock->advance(40);
    // 2.85 + 1.5 = 4.35, started on the pass after the tick, line blue again.
    EXPECT_GE(startedAt(p), 4350);
    EXPECT_LE(startedAt(p), 4370);
    EXPECT_EQ(delays, (QList<bool>{true, false}));
    // Repeat: the ending track starts over from its lead-in on the same graph.
    auto endGraph = p.endGraph();
    clock->advance(3000);
    EXPECT_EQ(repeats, 1);
    EXPECT_TRUE(p.running());
    EXPECT_EQ(p.endGraph(), endGraph);
    EXPECT_LT(p.endGraph()->currentPosition(), 8.0);
    p.stop();
    EXPECT_FALSE(p.running());
    EXPECT_EQ(clock->pendingCalls(), 0);
}

TEST_F(FadePreview, WithoutAnEndingTrackOrAGraphItPlaysOnlyWhatItHas) {
    s->lngTrack = 0;
    auto p = std::make_unique<FadeEditorPreview>(e, s, false, *clock, Program().settings,
                                                 Program().outputs);
    EXPECT_FALSE(p->start()); // no graph yet
    ASSERT_TRUE(p->OpenPreviewGraphs(QString()));
    EXPECT_FALSE(p->endGraph());
    ASSERT_TRUE(p->start());
    clock->advance(20);
    EXPECT_GE(startedAt(*p), 0);
    EXPECT_LE(startedAt(*p), 10);
    // Destroying it mid-preview leaves nothing on the clock.
    ASSERT_TRUE(p->running());
    ASSERT_GT(clock->pendingCalls(), 0);
    p.reset();
    EXPECT_EQ(clock->pendingCalls(), 0);
    clock->advance(1000);
}

// Fault mended: a range shorter than the marker's window played on to the
// file's end and the preview never ended.
TEST_F(FadePreview, ARangeShorterThanTheMarkerWindowEndsAtTheTracksEnd) {
    s->lngKoniec_S = 4;
    s->lngMarkerTo = 31767; // the default window
    FadeEditorPreview p(e, s, true, *clock, Program().settings, Program().outputs);
    bool finished = false;
    PreviewLog log(&finished);
    p.setObserver(&log);
    p.repeat = [] { return false; };
    ASSERT_TRUE(p.OpenPreviewGraphs(QString()));
    auto start = std::dynamic_pointer_cast<FakePlaybackGraph>(p.startGraph());
    ASSERT_TRUE(p.start());
    clock->advance(3000); // the starting track runs from 2.85 s
    ASSERT_GE(startedAt(p), 0);
    clock->advance(4000);
    EXPECT_TRUE(finished);
    EXPECT_FALSE(p.running());
    EXPECT_DOUBLE_EQ(start->currentPosition(), 4.0) << "it played past its end";
}

TEST(FadePreviewRealTime, PlaysTheTransitionOnTheNullOutput) {
    test::FreshProgramState();
    SetProgramClock(nullptr);
    SetMediaPlatform(nullptr);
    Program().outputs.UseDefaultRenderer = false;
    const QString file = QStringLiteral(KELBRIN_TEST_MEDIA_DIR "/play_cbr.mp3");
    ASSERT_TRUE(QFileInfo::exists(file));
    auto e = Track(1, 0, file, 2.0);
    e->lngKoniec_S = 2;
    e->lngMarkerFrom = 32767 - 1000;
    e->lngVolumeEnd = -10000;
    e->sngFadeOutTime = 0.5f;
    e->colNastepnik = {2};
    auto s = Track(2, 1, file, 2.0);
    s->lngKoniec_S = 2;
    s->lngMarkerTo = 1000;
    s->sngOvertake = -0.5f;
    FadeEditorPreview p(e, s, true, ProgramClock(), Program().settings, Program().outputs);
    p.repeat = [] { return false; };
    bool finished = false;
    PreviewLog log(&finished);
    p.setObserver(&log);
    ASSERT_TRUE(p.OpenPreviewGraphs(kNullOutputName));
    EXPECT_NEAR(p.endDuration(), 2.0, 0.1);
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(p.start());
    while (!finished && timer.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_TRUE(finished);
    // About 0.5 s of the ending track, then 1 s of the starting one, less the lead.
    EXPECT_GT(timer.elapsed(), 900);
    EXPECT_LT(timer.elapsed(), 5000);
}

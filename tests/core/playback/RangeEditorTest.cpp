// The track panel's range editing on its model: frame and time boxes,
// spinners with carry and borrow, the unit switch, marks from the preview,
// the range undo and the list columns.
#include "core/app/MessageService.h"
#include "core/app/ProgramObjects.h"
#include "support/ProgramState.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjaPlikow.h"
#include "core/document/cPozycjePlikow.h"
#include "core/playback/RangeEditor.h"
#include "platform/media/FakePlaybackGraph.h"
#include "platform/media/VirtualClock.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/ScriptedMessages.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

struct Host final : RangeEditorHost {
    void UpdateTrackListRow(const cPozycjaMP3& t) override { rows << t.lngRamkaOd; }
    void FocusTimeBox(int index) override { focused << index; }
    bool RescanSource(std::shared_ptr<cPozycjaPlikow>& file) override {
        ++rescans;
        for (int i = 0; i < framesFound; ++i)
            file->Add_Naglowek(1 + i * 418, 0xFB, 0x90, 0x00);
        return framesFound > 0;
    }
    QList<std::int32_t> rows;
    QList<int> focused;
    int rescans = 0;
    int framesFound = 0;
};

class RangeEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        Program().session.OpenFiles = std::make_shared<cPozycjePlikow>();
        SetSettingsStore(std::make_unique<MemorySettingsStore>());
        Catalog().load(test::SourceDir() + "/resources/Kelbrin.ini");
        Catalog().setLanguage("ENGLISH");
        auto m = std::make_unique<test::ScriptedMessages>();
        messages = m.get();
        SetMessageService(std::move(m));
        // An MPEG-1 Layer III source at 44100 Hz with 20000 indexed frames.
        file = std::make_shared<cPozycjaPlikow>();
        file->strFileName = QStringLiteral("/music/source.mp3");
        file->btyFrame2 = 0xFB;
        file->btyFrame3 = 0x90;
        file->sngCzasTrwania = 522.45f;
        for (int i = 0; i < 20000; ++i)
            file->Add_Naglowek(1 + i * 418, 0xFB, 0x90, 0x00);
        Program().session.OpenFiles->Add(file);
        track = makeTrack(true);
        editor.visible = true;
    }
    void TearDown() override {
        SetMessageService(nullptr);
        SetSettingsStore(nullptr);
    }
    std::shared_ptr<cPozycjaMP3> makeTrack(bool seconds) {
        auto t = std::make_shared<cPozycjaMP3>();
        t->lngNrPozycji = 1;
        t->strFileNameSource = file->strFileName;
        t->dblDuration = 522.45;
        t->blnJednostka = seconds;
        t->lngPoczatek_M = 1;
        t->lngPoczatek_S = 59;
        t->lngPoczatek_SS = 990;
        t->lngKoniec_M = 3;
        t->lngRamkaOd = 100;
        t->lngRamkaDo = 5000;
        return t;
    }
    QStringList times() const {
        QStringList s;
        for (const auto& t : editor.Text1)
            s << t;
        return s;
    }
    static QList<std::int32_t> timeFields(const cPozycjaMP3& t) {
        return {t.lngPoczatek_M, t.lngPoczatek_S, t.lngPoczatek_SS, t.lngKoniec_M, t.lngKoniec_S, t.lngKoniec_SS};
    }

    Host host;
    ProgramObjects& program = test::ResetProgramObjects();
    RangeEditor editor{host, program.session};
    test::ScriptedMessages* messages = nullptr;
    std::shared_ptr<cPozycjaPlikow> file;
    std::shared_ptr<cPozycjaMP3> track;
};

TEST_F(RangeEditorTest, FramesGiveTimesAndBoxesClamp) {
    track->blnJednostka = false;
    editor.Load(track);
    ASSERT_TRUE(editor.framesShown);
    // Frame 1000 lasts until 1000 x 1152 / 44100 = 26.122449 s.
    editor.SetFrameText(0, QStringLiteral("1000"));
    EXPECT_EQ(timeFields(*track).mid(0, 3), (QList<std::int32_t>{0, 26, 122}));
    EXPECT_TRUE(track->blnAwlaysTop && track->blnZmodyfikowana);
    EXPECT_EQ(host.rows.last(), 1000);
    EXPECT_EQ(FrameAtSeconds(*file, 26.123), 1000);
    EXPECT_EQ(FrameAtSeconds(*file, 26.122), 999);

    editor.SetFrameText(1, QStringLiteral("25000"));
    EXPECT_EQ(editor.txtRamka[1], QStringLiteral("20000"));
    EXPECT_EQ(track->lngRamkaDo, 20000);
    // The refused text and its replacement each pushed the same old range.
    ASSERT_EQ(editor.RangeUndo.records(), 3);
    EXPECT_EQ(editor.RangeUndo.elements().mid(9, 8), editor.RangeUndo.elements().mid(17, 8));
    editor.SetFrameText(0, QStringLiteral("12a"));
    EXPECT_EQ(editor.txtRamka[0], QStringLiteral("12"));

    // Back in seconds the boxes show the times the frames gave.
    editor.mnuUnits_Jednostki_Click(1);
    EXPECT_EQ(times().mid(0, 3), (QStringList{"0", "0", "313"}));
    editor.SetTimeText(4, QStringLiteral("75"));
    EXPECT_EQ(editor.Text1[4], QStringLiteral("59"));
    EXPECT_EQ(track->lngKoniec_S, 59);
    EXPECT_EQ(host.focused.last(), 4);
}

TEST_F(RangeEditorTest, MillisecondSpinnersCarryAndBorrow) {
    editor.Load(track);
    auto set = [this](int first, const char* m, const char* s, const char* ms) {
        editor.SetTimeText(first, QLatin1String(m));
        editor.SetTimeText(first + 1, QLatin1String(s));
        editor.SetTimeText(first + 2, QLatin1String(ms));
    };
    // 1:59.990 up by ten milliseconds.
    editor.SetSpinner(2, 1000);
    EXPECT_EQ(times().mid(0, 3), (QStringList{"2", "0", "0"}));
    EXPECT_EQ(editor.VscrTime[2], 0);
    EXPECT_EQ(host.focused.last(), 2);
    // Minutes, seconds and milliseconds each pushed their own record.
    ASSERT_EQ(editor.RangeUndo.records(), 3);
    for (int i = 0; i < 3; ++i)
        editor.cmdUndo2_Click();
    EXPECT_EQ(timeFields(*track).mid(0, 3), (QList<std::int32_t>{1, 59, 990}));

    set(0, "2", "0", "0");
    editor.SetSpinner(2, -1);
    EXPECT_EQ(timeFields(*track).mid(0, 3), (QList<std::int32_t>{1, 59, 999}));
    // Nothing comes before 0:00.000.
    set(0, "0", "0", "0");
    editor.SetSpinner(2, -1);
    EXPECT_EQ(timeFields(*track).mid(0, 3), (QList<std::int32_t>{0, 0, 0}));
    EXPECT_EQ(editor.VscrTime[2], 0);
    // 999:59.990 carries on into minute 1000; the box's last minute stops the step.
    set(3, "999", "59", "990");
    editor.SetSpinner(5, 1000);
    EXPECT_EQ(timeFields(*track).mid(3), (QList<std::int32_t>{1000, 0, 0}));
    set(3, "9999", "59", "990");
    editor.SetSpinner(5, 1000);
    EXPECT_EQ(timeFields(*track).mid(3), (QList<std::int32_t>{9999, 59, 999}));
    editor.SetSpinner(4, 12);
    EXPECT_EQ(track->lngKoniec_S, 12);
}

TEST_F(RangeEditorTest, InFramesTheMillisecondSpinnerStepsOneFrame) {
    track->blnJednostka = false;
    track->lngRamkaOd = 2;
    editor.Load(track);
    editor.SetSpinner(2, editor.VscrTime[2] + 10);
    EXPECT_EQ(track->lngRamkaOd, 3);
    EXPECT_EQ(editor.VscrTime[2], 78); // the milliseconds of 3 x 1152 / 44100 s
    for (int i = 0; i < 5; ++i)
        editor.SetSpinner(2, editor.VscrTime[2] - 10);
    EXPECT_EQ(editor.txtRamka[0], QStringLiteral("0"));
    // The spinner never drifts to an end, so many clicks still step.
    for (int i = 0; i < 200; ++i)
        editor.SetSpinner(2, editor.VscrTime[2] + 10);
    EXPECT_EQ(track->lngRamkaOd, 200);
    editor.SetFrameText(1, QStringLiteral("20000"));
    editor.SetSpinner(5, editor.VscrTime[5] + 10);
    EXPECT_EQ(track->lngRamkaDo, 20000);
    editor.SetSpinner(5, editor.VscrTime[5] - 100);
    EXPECT_EQ(track->lngRamkaDo, 19999);
}

TEST_F(RangeEditorTest, UnitSwitchAsksToScanAnUnindexedSource) {
    auto unscanned = std::make_shared<cPozycjaPlikow>();
    unscanned->strFileName = QStringLiteral("/music/other.mp3");
    unscanned->btyFrame2 = 0xFB;
    Program().session.OpenFiles->Add(unscanned);
    track->strFileNameSource = unscanned->strFileName;
    editor.Load(track);
    const auto before = timeFields(*track);

    messages->answers.enqueue(mb::No);
    editor.mnuUnits_Jednostki_Click(0);
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].textNumber, 3098);
    EXPECT_TRUE(messages->shown[0].text.contains(QStringLiteral("/music/other.mp3")));
    EXPECT_TRUE(editor.secondsChecked && track->blnJednostka && !editor.framesShown);
    EXPECT_EQ(host.rescans, 0);

    host.framesFound = 300;
    messages->answers.enqueue(mb::Yes);
    editor.mnuUnits_Jednostki_Click(0);
    EXPECT_EQ(host.rescans, 1);
    EXPECT_TRUE(editor.framesChecked && editor.framesShown && !editor.secondsChecked);
    EXPECT_FALSE(track->blnJednostka);
    EXPECT_EQ(editor.unitCaption, 2130);
    EXPECT_EQ(editor.mnuTime, QStringLiteral("300"));
    // A range held in time takes the frames of its times, here past the
    // source's 300 frames and so its last one; the times stay, and undo
    // brings the old frames back.
    EXPECT_EQ(timeFields(*track), before);
    EXPECT_EQ(track->lngRamkaOd, 300);
    EXPECT_EQ(track->lngRamkaDo, 300);
    EXPECT_EQ(editor.txtRamka[0], QStringLiteral("300"));
    editor.cmdUndo2_Click();
    EXPECT_EQ(track->lngRamkaOd, 100);
    EXPECT_EQ(track->lngRamkaDo, 5000);
    EXPECT_TRUE(editor.RangeUndo.isEmpty());
}

TEST_F(RangeEditorTest, UndoTakesEditsBackOneByOneAndTheGuardRecordsNothing) {
    editor.Load(track);
    editor.cmdUndo2_Click(); // nothing to undo
    editor.SetTimeText(0, QStringLiteral("14"));
    editor.SetTimeText(0, QStringLiteral("145"));
    const int bound = editor.RangeUndo.upperBound();
    editor.cmdUndo2_Click();
    EXPECT_EQ(editor.RangeUndo.upperBound(), bound - 8); // the box writes pushed nothing
    EXPECT_EQ(track->lngPoczatek_M, 14);
    editor.cmdUndo2_Click();
    EXPECT_EQ(track->lngPoczatek_M, 1);
    EXPECT_EQ(editor.Text1[0], QStringLiteral("1"));
    EXPECT_TRUE(editor.RangeUndo.isEmpty());
    // Record layout: begin M, S, SS, end M, S, SS, end frame, begin frame.
    editor.PushRangeUndo();
    EXPECT_EQ(editor.RangeUndo.elements(), (QList<std::int32_t>{0, 1, 59, 990, 3, 0, 0, 5000, 100}));
    editor.Load(makeTrack(true));
    EXPECT_TRUE(editor.RangeUndo.isEmpty());

    editor.enabled = false;
    editor.SetTimeText(1, QStringLiteral("30"));
    editor.SetSpinner(1, 40); // spinners do nothing under the guard
    EXPECT_TRUE(editor.RangeUndo.isEmpty());
    EXPECT_EQ(editor.Cpoz->lngPoczatek_S, 30);
    editor.enabled = true;
    editor.tag = QStringLiteral("ustawianie");
    editor.Cpoz->blnAwlaysTop = false;
    editor.SetTimeText(1, QStringLiteral("31"));
    EXPECT_FALSE(editor.Cpoz->blnAwlaysTop);
}

class MarkTest : public RangeEditorTest {
protected:
    void SetUp() override {
        RangeEditorTest::SetUp();
        graph = std::make_unique<FakePlaybackGraph>(clock, file->strFileName, QStringLiteral("null"), 522.45);
    }
    void markAt(int index, double seconds, bool testB = false, bool testE = false) {
        graph->setCurrentPosition(seconds);
        editor.cmdMark_Click(index, graph.get(), testB, testE, false);
    }
    VirtualClock clock{0};
    std::unique_ptr<FakePlaybackGraph> graph;
};

TEST_F(MarkTest, MarksInSecondsSetTheTimesAndTheList) {
    editor.Load(track);
    editor.cmdMark_Click(0, nullptr, false, false, false);
    EXPECT_TRUE(editor.RangeUndo.isEmpty());

    markAt(0, 75.5);
    EXPECT_EQ(timeFields(*track).mid(0, 3), (QList<std::int32_t>{1, 15, 500}));
    EXPECT_EQ(times().mid(0, 3), (QStringList{"1", "15", "500"}));
    EXPECT_EQ(host.rows.size(), 3); // the two boxes that changed, then the mark itself
    EXPECT_EQ(track->lngRamkaOd, 100); // frames are left alone in seconds
    EXPECT_TRUE(track->blnAwlaysTop);
    // One record of its own; the guarded box writes pushed none.
    EXPECT_EQ(editor.RangeUndo.records(), 1);
    // A begin after the end takes the end along; a running begin test
    // plays three seconds from the mark.
    graph->run();
    markAt(0, 200.25, true);
    EXPECT_DOUBLE_EQ(graph->stopTime(), 203.25);
    EXPECT_EQ(timeFields(*track), (QList<std::int32_t>{3, 20, 250, 3, 20, 250}));
    // An end before the begin takes the begin along.
    markAt(1, 10.001);
    EXPECT_EQ(timeFields(*track), (QList<std::int32_t>{0, 10, 1, 0, 10, 1}));
    // Undo brings back the range from before each mark.
    editor.cmdUndo2_Click();
    EXPECT_EQ(timeFields(*track), (QList<std::int32_t>{3, 20, 250, 3, 20, 250}));
    editor.cmdUndo2_Click();
    editor.cmdUndo2_Click();
    EXPECT_EQ(timeFields(*track), (QList<std::int32_t>{1, 59, 990, 3, 0, 0}));
}

TEST_F(MarkTest, MarksInFramesSetFramesAndTimes) {
    track->blnJednostka = false;
    track->lngRamkaOd = 100;
    track->lngRamkaDo = 500;
    editor.Load(track);
    markAt(0, 26.123);
    EXPECT_EQ(track->lngRamkaOd, 1000);
    // The end frame was before the mark: it moved along first.
    EXPECT_EQ(track->lngRamkaDo, 1000);
    EXPECT_EQ(editor.txtRamka[0], QStringLiteral("1000"));
    EXPECT_EQ(editor.txtRamka[1], QStringLiteral("1000"));
    EXPECT_EQ(timeFields(*track).mid(0, 3), (QList<std::int32_t>{0, 26, 123}));
    // Its own record, then one from the end box written with the guard open.
    EXPECT_EQ(editor.RangeUndo.records(), 2);
    editor.cmdUndo2_Click();
    editor.cmdUndo2_Click();
    EXPECT_EQ(track->lngRamkaOd, 100);
    EXPECT_EQ(track->lngRamkaDo, 500);
    EXPECT_EQ(timeFields(*track), (QList<std::int32_t>{1, 59, 990, 3, 0, 0}));
    EXPECT_EQ(editor.txtRamka[1], QStringLiteral("500"));

    markAt(1, 26.122);
    EXPECT_EQ(track->lngRamkaDo, 999);
    EXPECT_EQ(track->lngRamkaOd, 100);
    // Past the source's last frame the box keeps the last, and so does the track.
    graph = std::make_unique<FakePlaybackGraph>(clock, file->strFileName, QStringLiteral("null"), 1000.0);
    track->dblDuration = 1000.0;
    markAt(1, 900.0);
    EXPECT_EQ(track->lngRamkaDo, 20000);
    EXPECT_EQ(editor.txtRamka[1], QStringLiteral("20000"));
}

} // namespace

// The recorder on virtual time with a fake sound card and an in-process
// encoder server: a recording runs, pauses by hand and on silence, stops by
// hand and at the time limit, and its file comes back through the split
// dialog. The buffer file stays as small as the server's backlog.
#include "FakeEncoderServer.h"
#include "RecordingTestTools.h"
#include "core/app/ProgramObjects.h"
#include "support/ProgramState.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjaMP3.h"
#include "core/editor/SplitDialogLauncher.h"
#include "core/recording/BlockSizes.h"
#include "core/recording/CaptureEngine.h"
#include "core/recording/FormatFile.h"
#include "core/recording/RecordProjectName.h"
#include "core/recording/RecorderClient.h"
#include "core/recording/RecorderControl.h"
#include "platform/capture/FakeCaptureDevice.h"
#include "platform/codecs/WaveFormat.h"
#include "platform/lame/FakeLameLibrary.h"
#include "platform/media/VirtualClock.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/ScriptedMessages.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <sys/resource.h>

using namespace kelbrin;

namespace {

constexpr int kBlock = 512;   // RecBufor 1: one 64 ms block of 8-bit mono at 8000 Hz
constexpr int kBlockMs = 64;

class FakeView final : public RecorderView {
public:
    bool enabled[3] = {true, false, false};
    int icon[3] = {0, 0, 0};
    QString caption;
    QList<int> beeps;
    int settingsShown = 0;

    void setButtonEnabled(Button b, bool on) override { enabled[b] = on; }
    bool buttonEnabled(Button b) const override { return enabled[b]; }
    void setButtonIcon(Button b, int i) override { icon[b] = i; }
    void focusButton(Button) override {}
    bool isShownAndEnabled() const override { return true; }
    void setCaption(const QString& c) override { caption = c; }
    void beep(int hz, int) override { beeps << hz; }
    void yield() override {}
    void showRecordingSettings() override { ++settingsShown; }
};

class FakeSplit final : public SplitDialogLauncher {
public:
    QList<SplitDialogRequest> requests;
    void PokazMnie(const SplitDialogRequest& request) override { requests << request; }
};

// Each request the split dialog is given makes a track of its file.
class FakeHost final : public RecorderHost {
public:
    explicit FakeHost(const FakeSplit& split) : m_split(split) {}
    QStringList saved;
    QList<int> ended;
    QString folder;
    bool saveProject(const QString& name) override {
        saved << name;
        folder = Program().settings.DestFolder;
        QFile f(folder + "/" + name + ".kbe");
        return f.open(QIODevice::WriteOnly);
    }
    int tracksUsingSource(const QString& path) override {
        return int(std::count_if(m_split.requests.begin(), m_split.requests.end(),
                                 [&](const SplitDialogRequest& r) { return r.track->strFileNameSource == path; }));
    }
    void endProgram(int status) override { ended << status; }
    void dropUnsavedChanges() override {}

private:
    const FakeSplit& m_split;
};

class FakeTray final : public RecorderTray {
public:
    QList<RecorderTrayState> states;
    int ticks = 0;
    void Komunikat(const QString&, bool) override { ++ticks; }
    void setState(RecorderTrayState s) override { states << s; }
    void mnuTurnMonitor_Click() override {}
    bool unloadWithRecorder() const override { return true; }
    void unload() override {}
};

class RecorderControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::ResetProgramObjects();
        Program().capture = CaptureStatus();
        Catalog().load(test::SourceDir() + "/resources/Kelbrin.ini");
        Catalog().setLanguage("ENGLISH");
        clock = new VirtualClock(1000000);
        previousClock = SetProgramClock(std::unique_ptr<Clock>(clock));
        store = new MemorySettingsStore;
        previousStore = SetSettingsStore(std::unique_ptr<SettingsStore>(store));
        messages = new test::ScriptedMessages;
        previousMessages = SetMessageService(std::unique_ptr<MessageService>(messages));
        previousSplit = SetSplitDialogLauncher(&split);
        lame = new FakeLameLibrary;
        previousLame = SetLameLibrary(std::unique_ptr<LameLibrary>(lame));

        temp = test::MakeTempDir("buffer") + "/";
        records = test::MakeTempDir("records") + "/";
        Program().recording.TempRecordFolder = temp;
        Program().recording.RecordFolder = records;
        Program().recording.CaptureDevice = -1;
        store->values.insert("EngineType", "0");
        store->values.insert("RecBufor", "1");
        store->values.insert("RecDir", records);
        const QByteArray record = WaveFormatEx::pcm(1, 8000, 16).toRecord();
        Program().recording.RecordFormat = record;
        ASSERT_TRUE(SaveFormatFile(FormatFilePath(), record));

        server = std::make_shared<test::FakeServerState>();
        server->outputFolder = records;
        Program().server.Recorder = std::make_shared<RecorderClient>(std::make_unique<test::FakeServerObject>(server));
        control = std::make_unique<RecorderControl>(view, host, capture, *clock, Program().recording, Program().server,
                                                   Program().settings, Program().capture);
        control->setTray(&tray);
        control->Form_Load();
    }
    void TearDown() override {
        control.reset();
        Program().server.Recorder.reset();
        SetSplitDialogLauncher(previousSplit);
        SetLameLibrary(std::move(previousLame));
        SetMessageService(std::move(previousMessages));
        SetSettingsStore(std::move(previousStore));
        SetProgramClock(std::move(previousClock));
    }

    // The sound card for `ms`: one block every 64 ms, loud or silent.
    void play(int ms, bool loud = true) {
        for (int t = 0; t < ms; t += kBlockMs) {
            clock->advance(kBlockMs);
            if (capture.last() && capture.last()->running()) {
                QByteArray block(kBlock, char(128));
                if (loud)
                    for (int i = 0; i < kBlock; ++i)
                        block[i] = char(128 + ((i % 16) < 8 ? 60 : -60));
                delivered += block;
                capture.last()->deliver(block);
            }
        }
    }
    void start() {
        control->cmdRecord_Click();
        ASSERT_EQ(Program().capture.recordingFlag, 1);
    }
    // Lets the server finish and the recorder hand over.
    void waitForHandOver(int maxSeconds = 10) {
        for (int i = 0; i < maxSeconds * 10 && view.enabled[RecorderView::Stop]; ++i)
            clock->advance(100);
    }
    QList<int> messageNumbers() const {
        QList<int> n;
        for (const auto& m : messages->shown)
            n << m.textNumber;
        return n;
    }

    VirtualClock* clock = nullptr;
    std::unique_ptr<Clock> previousClock;
    MemorySettingsStore* store = nullptr;
    std::unique_ptr<SettingsStore> previousStore;
    test::ScriptedMessages* messages = nullptr;
    std::unique_ptr<MessageService> previousMessages;
    SplitDialogLauncher* previousSplit = nullptr;
    FakeLameLibrary* lame = nullptr;
    std::unique_ptr<LameLibrary> previousLame;
    FakeSplit split;
    FakeView view;
    FakeHost host{split};
    FakeTray tray;
    FakeCapturePlatform capture;
    std::shared_ptr<test::FakeServerState> server;
    std::unique_ptr<RecorderControl> control;
    QString temp, records;
    QByteArray delivered;
};

TEST_F(RecorderControlTest, ARecordingRunsStopsByHandAndComesBackThroughTheSplitDialog) {
    start();
    EXPECT_EQ(capture.log->lastFormat.bitsPerSample, 8); // the codec's mono capture
    EXPECT_EQ(capture.log->lastDevice, -1);
    EXPECT_EQ(capture.log->lastBlockBytes, kBlock);
    EXPECT_EQ(store->values.value("RecStop"), "2");
    EXPECT_TRUE(view.enabled[RecorderView::Pause]);
    EXPECT_EQ(tray.states.value(0), RecorderTrayState::Recording);

    play(125000);
    EXPECT_EQ(control->elapsedSeconds, 125);
    EXPECT_TRUE(view.caption.startsWith("2 : 5 (")) << view.caption.toStdString();
    EXPECT_EQ(store->values.value("RecTime").toInt(), 125);
    EXPECT_GT(tray.ticks, 200);
    // The server keeps up, so the buffer file never holds more than its
    // start-up backlog, however long the recording runs.
    EXPECT_GT(server->blocksEncoded, 1900);
    EXPECT_LE(server->largestBuffer, 8 * kBlock);

    control->cmdStopRec_Click();
    EXPECT_EQ(store->values.value("RecEndRequest"), "0");
    EXPECT_FALSE(Program().capture.fileOpen);
    waitForHandOver();
    EXPECT_FALSE(view.enabled[RecorderView::Stop]);
    EXPECT_TRUE(view.enabled[RecorderView::Record]);
    EXPECT_EQ(Program().capture.recordingFlag, 0);
    EXPECT_EQ(capture.log->closed, 1);
    EXPECT_EQ(server->uninits, 1);
    // Every captured byte reached the server once, in order.
    EXPECT_EQ(server->encoded, delivered);

    ASSERT_EQ(split.requests.size(), 1);
    const SplitDialogRequest& r = split.requests[0];
    EXPECT_EQ(r.track->strFileNameSource, records + "R0101__00_00_00.mp3");
    EXPECT_EQ(r.track->strLabel, "R0101__00_00_00");
    EXPECT_EQ(r.track->lngTrack, 3); // not MPEG Layer-3
    EXPECT_TRUE(r.track->blnZmodyfikowana);
    EXPECT_FALSE(r.track->blnAwlaysTop);
    EXPECT_TRUE(r.newTrack && r.secondFlag && r.runAtOnce);
    EXPECT_FALSE(r.bySegmentList);
    EXPECT_EQ(control->handedOver(), QStringList{records + "R0101__00_00_00.mp3"});
    EXPECT_EQ(store->values.value("RecStop"), "-1");
    EXPECT_TRUE(host.ended.isEmpty()); // a recording stopped by hand leaves the editor open
    EXPECT_EQ(tray.states.last(), RecorderTrayState::Stopped);
    EXPECT_TRUE(messages->shown.isEmpty());
}

TEST_F(RecorderControlTest, ARecordingWithSpeechMarksIsCutByThemAndOneWithoutAPieceIsTakenWhole) {
    test::WriteFile(records + "R0101__00_00_00.tim", "\r\n12\r\n-95");
    start();
    play(1000);
    control->cmdStopRec_Click();
    waitForHandOver();
    // The next recording of the test server is R0101__00_00_01, its list empty.
    test::WriteFile(records + "R0101__00_00_01.tim", "");
    start();
    play(1000);
    control->cmdStopRec_Click();
    waitForHandOver();
    // A later file of a split recording, whose talk starts in it and runs on past its end.
    test::WriteFile(records + "R0101__00_00_02.tim", "\r\n1");
    start();
    play(1000);
    control->cmdStopRec_Click();
    waitForHandOver();
    ASSERT_EQ(split.requests.size(), 3);
    EXPECT_TRUE(split.requests[0].bySegmentList);
    EXPECT_FALSE(split.requests[1].bySegmentList);
    EXPECT_FALSE(split.requests[2].bySegmentList);
    EXPECT_TRUE(messages->shown.isEmpty());
}

TEST_F(RecorderControlTest, APauseByHandWritesNothingAndTheFirstStopResumes) {
    start();
    play(2000);
    control->cmdPauza_Click();
    EXPECT_TRUE(control->paused);
    EXPECT_FALSE(Program().capture.fileOpen);
    const QByteArray before = delivered;
    play(3000);
    const int pausedBytes = delivered.size() - before.size();
    EXPECT_GT(pausedBytes, 0);
    EXPECT_NE(view.icon[RecorderView::Pause], 0); // blinks while paused
    play(500);

    control->cmdStopRec_Click(); // resumes
    EXPECT_FALSE(control->paused);
    EXPECT_TRUE(Program().capture.fileOpen);
    EXPECT_EQ(control->elapsedSeconds, 2);
    const int atResume = delivered.size();
    play(2000);
    control->cmdStopRec_Click(); // stops
    waitForHandOver();
    ASSERT_EQ(split.requests.size(), 1);
    // What was captured during the pause never reached the server.
    EXPECT_EQ(server->encoded, before + delivered.mid(atResume));
}

TEST_F(RecorderControlTest, ThePartOfABlockBeforeAPauseOrAStopIsRecordedToo) {
    start();
    play(640);
    // The sound card holds the start of the next block when Pause is pressed.
    const QByteArray beforePause(300, 'a');
    capture.last()->part = beforePause;
    control->cmdPauza_Click();
    const QByteArray recorded = delivered + beforePause;
    play(1000);
    capture.last()->part = QByteArray(200, 'x'); // captured during the pause
    control->cmdStopRec_Click();                 // resumes
    const int atResume = delivered.size();
    play(640);
    const QByteArray beforeStop(100, 'b');
    capture.last()->part = beforeStop;
    control->cmdStopRec_Click();
    waitForHandOver();
    ASSERT_EQ(split.requests.size(), 1);
    EXPECT_EQ(server->encoded, recorded + delivered.mid(atResume) + beforeStop);
}

TEST_F(RecorderControlTest, ACallToABusyServerThatTimesOutIsNoEndOfTheRecording) {
    start();
    play(1000);
    server->callsTimeOut = true;
    play(3000);
    EXPECT_TRUE(Program().capture.fileOpen);
    EXPECT_TRUE(view.enabled[RecorderView::Stop]);
    EXPECT_TRUE(messages->shown.isEmpty());
    server->callsTimeOut = false;
    play(1000);
    control->cmdStopRec_Click();
    waitForHandOver();
    ASSERT_EQ(split.requests.size(), 1);
    EXPECT_EQ(server->encoded, delivered);
}

TEST_F(RecorderControlTest, SilencePausesTheRecordingAndSoundResumesIt) {
    store->values.insert("AutoPauseRec", "2");
    control->Form_Load();
    start();
    play(5000);
    EXPECT_TRUE(view.beeps.isEmpty());
    play(1500, false);
    EXPECT_FALSE(control->paused);
    EXPECT_EQ(view.beeps, QList<int>{500});
    play(1500, false);
    EXPECT_TRUE(control->paused);
    EXPECT_TRUE(control->tmPause.enabled()); // paused minutes are counted
    EXPECT_EQ(control->tmrPause.Tag, "1");
    play(61000, false);
    EXPECT_EQ(control->pausedMinutes, 1);
    const int encodedWhilePaused = server->encoded.size();
    play(1000, true);
    EXPECT_FALSE(control->paused);
    EXPECT_TRUE(Program().capture.fileOpen);
    EXPECT_EQ(view.beeps, (QList<int>{500, 50}));
    play(1000, true);
    EXPECT_GT(server->encoded.size(), encodedWhilePaused);
}

TEST_F(RecorderControlTest, TheTimeLimitStopsSavesTheProjectAndEndsTheRun) {
    Program().recording.RecTimeLimit = 1;
    start();
    play(59000);
    EXPECT_TRUE(Program().capture.fileOpen);
    play(2000);
    EXPECT_FALSE(Program().capture.fileOpen);
    EXPECT_EQ(Program().recording.RecTimeLimit, 0);
    waitForHandOver();
    ASSERT_EQ(split.requests.size(), 1);
    const QString name = RecordProjectName(QDate::currentDate());
    EXPECT_EQ(host.saved, QStringList{name});
    EXPECT_EQ(host.folder + "/", records);
    EXPECT_EQ(host.ended, QList<int>{0});
    EXPECT_EQ(store->values.value("RecStop"), "-1");

    // A second time-limited recording the same day keeps the first project.
    Program().recording.RecTimeLimit = 1;
    start();
    play(61000);
    waitForHandOver();
    EXPECT_EQ(host.saved, (QStringList{name, name + " (2)"}));
}

TEST_F(RecorderControlTest, ATimedRecordingHoldsItsMinutesToTheSampleAndEndsWithoutADevice) {
    // The clock starts late in its second and sees the end late; the
    // recording still holds one minute of 8000 samples a second.
    clock->advance(900);
    Program().recording.RecTimeLimit = 1;
    start();
    play(62000);
    waitForHandOver();
    EXPECT_EQ(server->encoded.size(), 60 * 8000);
    EXPECT_EQ(server->encoded, delivered.left(60 * 8000));

    // A device that delivers nothing does not keep an unattended run alive.
    Program().recording.RecTimeLimit = 1;
    start();
    for (int i = 0; i < 70 && Program().capture.fileOpen; ++i)
        clock->advance(1000);
    EXPECT_FALSE(Program().capture.fileOpen);
}

TEST_F(RecorderControlTest, AMissingStopKeyIsNoStopRequestButAnOutsideRequestIs) {
    start();
    store->values.remove("RecStop");
    play(3000);
    EXPECT_TRUE(Program().capture.fileOpen);
    store->values.insert("RecStop", "1");
    play(600);
    EXPECT_FALSE(Program().capture.fileOpen);
    EXPECT_EQ(store->values.value("RecStop"), "0");
}

TEST_F(RecorderControlTest, WhenTheServerEndsByItselfTheRecorderStopsAndHandsOverAtOnce) {
    control->setUnattended(true);
    control->StartAutomatically();
    ASSERT_EQ(Program().capture.recordingFlag, 1);
    play(3000);
    server->endOnItsOwn = true;
    play(1000);
    EXPECT_FALSE(Program().capture.fileOpen);
    // The part captured after its end is kept for the user.
    EXPECT_EQ(messageNumbers(), (QList<int>{6702, 7350}));
    waitForHandOver();
    EXPECT_EQ(Program().capture.recordingFlag, 0);
    EXPECT_EQ(capture.log->closed, 1);
    ASSERT_EQ(split.requests.size(), 1);
    // Nobody watches a scheduled run: it saves what it has and ends, reporting the failure.
    EXPECT_EQ(host.saved.size(), 1);
    EXPECT_EQ(host.ended, QList<int>{1});
}

TEST_F(RecorderControlTest, AScheduledRunThatCannotRecordEndsAndOneStoppedByHandGoesOn) {
    control->setUnattended(true);
    capture.log->failOpen = true;
    control->StartAutomatically();
    EXPECT_EQ(host.ended, QList<int>{1});

    capture.log->failOpen = false;
    host.ended.clear();
    control->StartAutomatically();
    play(2000);
    control->cmdStopRec_Click();
    waitForHandOver();
    EXPECT_EQ(split.requests.size(), 1);
    EXPECT_TRUE(host.ended.isEmpty());
}

TEST_F(RecorderControlTest, StopAgainWhileTheServerEncodesOffersToAbandonTheBacklog) {
    start();
    play(2000);
    server->stalled = true;
    play(2000);
    control->cmdStopRec_Click();
    clock->advance(3000);
    EXPECT_TRUE(view.enabled[RecorderView::Stop]); // still waiting
    messages->answers.enqueue(mb::No);
    control->cmdStopRec_Click();
    EXPECT_EQ(messageNumbers(), QList<int>{3180});
    clock->advance(2000);
    EXPECT_TRUE(view.enabled[RecorderView::Stop]);
    messages->answers.enqueue(mb::Yes);
    control->cmdStopRec_Click();
    EXPECT_EQ(store->values.value("RecEndRequest"), "-1");
    EXPECT_FALSE(view.enabled[RecorderView::Stop]);
    clock->advance(2000);
    EXPECT_EQ(split.requests.size(), 1);
    EXPECT_EQ(Program().capture.recordingFlag, 0);
}

TEST_F(RecorderControlTest, WithoutAServerNothingStartsAndTheUserIsTold) {
    Program().server.Recorder.reset();
    control->cmdRecord_Click();
    EXPECT_EQ(capture.log->opened, 0);
    EXPECT_EQ(messageNumbers(), QList<int>{6700});
    EXPECT_TRUE(view.enabled[RecorderView::Record]);
}

TEST_F(RecorderControlTest, AMissingFormatFileOpensTheSettingsAndAFailedDeviceCanBeRetried) {
    QFile::remove(FormatFilePath());
    control->cmdRecord_Click();
    EXPECT_EQ(view.settingsShown, 1);
    EXPECT_EQ(capture.log->opened, 0);

    ASSERT_TRUE(SaveFormatFile(FormatFilePath(), Program().recording.RecordFormat));
    capture.log->failOpen = true;
    control->cmdRecord_Click();
    EXPECT_EQ(messageNumbers(), QList<int>{3018});
    EXPECT_EQ(Program().capture.recordingFlag, 0);
    EXPECT_TRUE(view.enabled[RecorderView::Record]);
    capture.log->failOpen = false;
    start();
}

TEST_F(RecorderControlTest, TheWindowStaysWhileTheServerHoldsTheRecording) {
    start();
    play(1000);
    EXPECT_FALSE(control->Form_Unload());
    control->cmdStopRec_Click();
    waitForHandOver();
    server->state = -1;
    server->fileOpen = false;
    EXPECT_TRUE(control->Form_Unload());
}

TEST_F(RecorderControlTest, ALameRecordingLeavesTheCodecFormatForTheNextCodecRecording) {
    const QByteArray chosen = test::ImaAdpcm22050(1).toRecord(); // mono
    Program().recording.RecordFormat = chosen;
    ASSERT_TRUE(SaveFormatFile(FormatFilePath(), chosen));

    store->values.insert("EngineType", "1");
    start();
    EXPECT_EQ(capture.log->lastFormat.bitsPerSample, 16);
    EXPECT_EQ(capture.log->lastFormat.sampleRate, 44100);
    play(2000);
    control->cmdStopRec_Click();
    waitForHandOver();
    EXPECT_EQ(Program().recording.RecordFormat, chosen);
    EXPECT_EQ(ReadFormatFile(FormatFilePath()).record, chosen);

    store->values.insert("EngineType", "0");
    start();
    EXPECT_EQ(capture.log->lastFormat.channels, 1);
    EXPECT_EQ(capture.log->lastFormat.sampleRate, 22050);
    EXPECT_EQ(capture.log->lastFormat.bitsPerSample, 8);
    play(2000);
    control->cmdStopRec_Click();
    waitForHandOver();
    ASSERT_EQ(split.requests.size(), 2);
    EXPECT_EQ(split.requests[0].track->lngTrack, 1); // MPEG Layer-3
    EXPECT_EQ(split.requests[1].track->lngTrack, 3);
    EXPECT_EQ(server->encoded, delivered.right(server->encoded.size()));
    EXPECT_TRUE(messages->shown.isEmpty());
}

TEST_F(RecorderControlTest, BufferMultipliersKeepABlockToAFewSecondsAndNeverStopTheRecording) {
    constexpr qint64 kChunk = 4608; // the encoder's input chunk, 16-bit stereo
    store->values.insert("EngineType", "1");
    store->values.insert("LameBufLen", "32767"); // the settings window's own maximum
    start();
    EXPECT_GT(capture.log->lastBlockBytes, 25 * kChunk);
    EXPECT_LE(capture.log->lastBlockBytes, 5 * 44100 * 4);
    EXPECT_EQ(capture.log->lastBlockBytes % kChunk, 0);
    EXPECT_EQ(store->values.value("RecBufor2").toLongLong(), capture.log->lastBlockBytes);
    play(2000);
    control->cmdStopRec_Click();
    waitForHandOver();
    EXPECT_EQ(server->blockBytes, capture.log->lastBlockBytes);

    store->values.insert("LameBufLen", "-5");
    start();
    EXPECT_EQ(capture.log->lastBlockBytes, 25 * kChunk); // the default
    control->cmdStopRec_Click();
    waitForHandOver();

    // A codec: 8000 bytes a second; the default block (32 s here) stays allowed.
    store->values.insert("EngineType", "0");
    for (const char* stored : {"32767", "-3"}) {
        store->values.insert("RecBufor", stored);
        start();
        EXPECT_EQ(capture.log->lastBlockBytes, 500 * 512) << stored;
        play(1000);
        control->cmdStopRec_Click();
        waitForHandOver();
        EXPECT_EQ(server->blockBytes, capture.log->lastBlockBytes);
    }
    EXPECT_EQ(split.requests.size(), 4);
    EXPECT_TRUE(messages->shown.isEmpty());
}

TEST_F(RecorderControlTest, AServerThatDiesMidRecordingStillHandsOverTheFileItAnnounced) {
    start();
    play(3000);
    server->gone = true; // its process was killed
    play(1000);
    EXPECT_EQ(messageNumbers(), (QList<int>{6702, 7350}));
    waitForHandOver();
    EXPECT_EQ(Program().capture.recordingFlag, 0);
    EXPECT_EQ(capture.log->closed, 1);
    ASSERT_EQ(split.requests.size(), 1);
    EXPECT_EQ(split.requests[0].track->strFileNameSource, records + "R0101__00_00_00.mp3");
}

TEST_F(RecorderControlTest, AServerThatStopsAnsweringEndsTheRunAsFailedAndTheBufferIsKept) {
    control->setUnattended(true);
    control->StartAutomatically();
    ASSERT_EQ(Program().capture.recordingFlag, 1);
    play(3000);
    server->stalled = true;      // it encodes nothing
    server->callsTimeOut = true; // and answers no call
    play(170000);
    // A long silence is not yet the end: a slow server may come back.
    EXPECT_TRUE(Program().capture.fileOpen);
    EXPECT_TRUE(messages->shown.isEmpty());
    play(15000);
    EXPECT_FALSE(Program().capture.fileOpen);
    EXPECT_EQ(capture.log->closed, 1);
    EXPECT_EQ(Program().capture.recordingFlag, 0);
    EXPECT_EQ(messageNumbers(), QList<int>{6704});
    EXPECT_EQ(host.ended, QList<int>{1});

    // Every block the server never read is in the kept buffer, which the
    // next recording leaves alone; the message names it.
    const QStringList kept = QDir(temp).entryList({"Bufor*kept*.tmp"}, QDir::Files);
    ASSERT_EQ(kept.size(), 1) << QDir(temp).entryList().join(", ").toStdString();
    QFile file(temp + kept[0]);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray held = file.readAll();
    EXPECT_TRUE(delivered.endsWith(held));
    EXPECT_GE(server->encoded.size() + held.size(), delivered.size());
    EXPECT_TRUE(messages->shown[0].text.contains(temp + kept[0])) << messages->shown[0].text.toStdString();
    server->stalled = server->callsTimeOut = false;
    start();
    play(1000);
    EXPECT_TRUE(QFile::exists(temp + kept[0]));
}

TEST_F(RecorderControlTest, TheBufferLiesInTheUsersOwnFolderReadableByTheUserAlone) {
    // A folder every user may write in, as the system's temporary folder.
    const QString shared = test::MakeTempDir("shared");
    ASSERT_TRUE(QFile::setPermissions(shared, QFileDevice::Permissions(0x7777)));
    Program().recording.TempRecordFolder = shared + "/";
    store->values.insert("TempRecDir", shared + "/");
    start();
    const QString own = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    ASSERT_FALSE(own.isEmpty());
    const QFileInfo buffer(server->buffer); // the path the server was given
    EXPECT_TRUE(buffer.isFile());
    EXPECT_TRUE(buffer.absoluteFilePath().startsWith(own + "/")) << buffer.absoluteFilePath().toStdString();
    const auto others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                        QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    EXPECT_EQ(buffer.permissions() & others, 0);
    EXPECT_EQ(QFileInfo(buffer.absolutePath()).permissions() & others, 0);
    play(2000);
    control->cmdStopRec_Click();
    waitForHandOver();
    EXPECT_EQ(server->encoded, delivered);
    // The user's choice stays as it was; the run says once where the sound goes instead.
    EXPECT_EQ(store->values.value("TempRecDir"), shared + "/");
    ASSERT_EQ(messageNumbers().count(7470), 1) << messageNumbers().size();
    const QString told = messages->shown[messageNumbers().indexOf(7470)].text;
    EXPECT_TRUE(told.contains(shared + "/") && told.contains(own + "/kelbrin/")) << told.toStdString();
    Program().recording.TempRecordFolder = shared + "/";
    start();
    play(1000);
    control->cmdStopRec_Click();
    waitForHandOver();
    EXPECT_EQ(messageNumbers().count(7470), 1);
}

// Message boxes whose own event loop runs the program's timers, as a modal
// box does, and which note whether a device was handing over a block.
class NestedLoopMessages final : public MessageService {
public:
    explicit NestedLoopMessages(const FakeCaptureLog& log) : m_log(log) {}
    int showMessage(const MessageRequest& request) override {
        numbers << request.textNumber;
        shownWhileDelivering += m_log.delivering ? 1 : 0;
        if (whileShown)
            std::exchange(whileShown, nullptr)();
        return mb::Ok;
    }
    std::optional<QString> inputBox(const InputRequest&) override { return std::nullopt; }

    std::function<void()> whileShown; // runs once, inside the first box
    QList<int> numbers;
    int shownWhileDelivering = 0;

private:
    const FakeCaptureLog& m_log;
};

TEST_F(RecorderControlTest, AFailedBufferWriteIsShownAfterTheDeliveryAndTheDeviceOutlivesIt) {
    auto* boxes = new NestedLoopMessages(*capture.log);
    std::unique_ptr<MessageService> scripted = SetMessageService(std::unique_ptr<MessageService>(boxes));
    start();
    play(1000);
    // The disk fills up: no file may grow any more.
    const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    rlimit full = before;
    full.rlim_cur = 1;
    setrlimit(RLIMIT_FSIZE, &full);
    // While the box is up the server ends, and the recorder stops and tears the device down.
    boxes->whileShown = [this, before] {
        setrlimit(RLIMIT_FSIZE, &before);
        server->endOnItsOwn = true;
        clock->advance(3000);
    };
    play(1000);
    setrlimit(RLIMIT_FSIZE, &before);
    signal(SIGXFSZ, previousHandler);
    waitForHandOver();
    ASSERT_FALSE(boxes->numbers.isEmpty());
    EXPECT_EQ(boxes->numbers.first(), 6701);
    EXPECT_EQ(boxes->shownWhileDelivering, 0);
    EXPECT_EQ(capture.log->destroyedWhileDelivering, 0);
    EXPECT_EQ(capture.log->closed, 1);
    EXPECT_EQ(Program().capture.recordingFlag, 0);
    EXPECT_EQ(split.requests.size(), 1);
}

TEST_F(RecorderControlTest, AServerThatDiesWhileFinishingFailsTheRunAndKeepsWhatItNeverEncoded) {
    auto* boxes = new NestedLoopMessages(*capture.log);
    std::unique_ptr<MessageService> scripted = SetMessageService(std::unique_ptr<MessageService>(boxes));
    control->setUnattended(true);
    control->StartAutomatically();
    play(2000);
    server->stalled = true; // it falls behind
    play(2000);
    store->values.insert("RecStop", "1"); // the run's planned end
    play(600);
    server->gone = true;
    boxes->whileShown = [this] { clock->advance(6000); }; // time goes on while the box is up
    waitForHandOver();
    EXPECT_EQ(host.ended, QList<int>{1});
    EXPECT_EQ(boxes->numbers, (QList<int>{6702, 7350}));
    const QStringList kept = QDir(temp).entryList({"Bufor*kept*.tmp"}, QDir::Files);
    ASSERT_EQ(kept.size(), 1) << QDir(temp).entryList().join(", ").toStdString();
    // Every block since it fell behind.
    EXPECT_GE(QFileInfo(temp + kept[0]).size(), 2000 / kBlockMs * kBlock);
}

TEST(RecordProjectName, ASecondProjectOfTheSameDayGetsACounter) {
    const QString folder = test::MakeTempDir("projects");
    const QDate day(2026, 3, 7);
    EXPECT_EQ(UniqueRecordProjectName(folder, day), "Record 03_07");
    test::WriteFile(folder + "/Record 03_07.kbe", "x");
    EXPECT_EQ(UniqueRecordProjectName(folder, day), "Record 03_07 (2)");
    test::WriteFile(folder + "/Record 03_07 (2).kbe", "x");
    EXPECT_EQ(UniqueRecordProjectName(folder + "/", day), "Record 03_07 (3)");
}

} // namespace

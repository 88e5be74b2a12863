// The recorder window's buttons drive the recorder: record, pause, resume
// and stop follow each other with the right buttons enabled and icons shown,
// and the window stays open while the server holds the recording.
#include "core/recording/FakeEncoderServer.h"
#include "core/app/SharedState.h"
#include "core/app/TextCatalog.h"
#include "core/editor/SplitDialogSeam.h"
#include "core/recording/CaptureEngine.h"
#include "core/recording/FormatFile.h"
#include "core/recording/RecorderClient.h"
#include "gui/recording/frmRecord.h"
#include "platform/capture/FakeCaptureDevice.h"
#include "platform/codecs/WaveFormat.h"
#include "platform/media/VirtualClock.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/ScriptedMessages.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

class CountingSplit final : public SplitDialogLauncher {
public:
    int shown = 0;
    void PokazMnie(const SplitDialogRequest&) override { ++shown; }
};

class RecorderWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSharedState();
        CaptureState() = CaptureStatus();
        Catalog().load(test::SourceDir() + "/resources/Kelbrin.ini");
        Catalog().setLanguage("ENGLISH");
        clock = new VirtualClock(5000000);
        previousClock = SetProgramClock(std::unique_ptr<Clock>(clock));
        store = new MemorySettingsStore;
        previousStore = SetSettingsStore(std::unique_ptr<SettingsStore>(store));
        previousMessages = SetMessageService(std::make_unique<test::ScriptedMessages>());
        capture = new FakeCapturePlatform;
        previousCapture = SetCapturePlatform(std::unique_ptr<CapturePlatform>(capture));
        previousSplit = SetSplitDialogLauncher(&split);
        Shared().TempRecordFolder = test::MakeTempDir("buffer") + "/";
        Shared().RecordFolder = test::MakeTempDir("records") + "/";
        Shared().CaptureDevice = 0;
        store->values.insert("EngineType", "0");
        store->values.insert("RecBufor", "1");
        Shared().RecordFormat = WaveFormatEx::pcm(2, 8000, 16).toRecord();
        ASSERT_TRUE(SaveFormatFile(FormatFilePath(), Shared().RecordFormat));
        server = std::make_shared<test::FakeServerState>();
        server->outputFolder = Shared().RecordFolder;
        Shared().Recorder = std::make_shared<RecorderClient>(std::make_unique<test::FakeServerObject>(server));
    }
    void TearDown() override {
        if (frmRecord* w = frmRecord::Instance())
            delete w;
        Shared().Recorder.reset();
        SetSplitDialogLauncher(previousSplit);
        SetCapturePlatform(std::move(previousCapture));
        SetMessageService(std::move(previousMessages));
        SetSettingsStore(std::move(previousStore));
        SetProgramClock(std::move(previousClock));
    }
    void play(int ms) {
        for (int t = 0; t < ms; t += 128) {
            clock->advance(128);
            if (capture->last && capture->last->running())
                capture->last->deliver(QByteArray(512, char(40)));
        }
    }

    VirtualClock* clock = nullptr;
    std::unique_ptr<Clock> previousClock;
    MemorySettingsStore* store = nullptr;
    std::unique_ptr<SettingsStore> previousStore;
    std::unique_ptr<MessageService> previousMessages;
    FakeCapturePlatform* capture = nullptr;
    std::unique_ptr<CapturePlatform> previousCapture;
    SplitDialogLauncher* previousSplit = nullptr;
    CountingSplit split;
    std::shared_ptr<test::FakeServerState> server;
};

TEST_F(RecorderWindowTest, TheButtonsFollowARecordingFromStartToHandOver) {
    frmRecord* w = frmRecord::PokazMnie(false);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(frmRecord::PokazMnie(false), w); // one window
    EXPECT_TRUE(w->cmdRecord->isEnabled());
    EXPECT_FALSE(w->cmdPauza->isEnabled());
    EXPECT_FALSE(w->cmdStopRec->isEnabled());
    EXPECT_EQ(w->cmdSetting->text(), "...");
    EXPECT_EQ(w->cmdMikser->text(), "M");
    EXPECT_EQ(w->windowTitle(), GetText(6705));

    w->cmdRecord->click();
    EXPECT_EQ(capture->log->lastFormat.channels, 2);
    EXPECT_EQ(capture->log->lastFormat.bitsPerSample, 16);
    EXPECT_EQ(capture->log->lastDevice, 0);
    EXPECT_EQ(CaptureState().bufferName, "Bufor0.tmp");
    EXPECT_TRUE(w->cmdPauza->isEnabled());
    EXPECT_TRUE(w->cmdStopRec->isEnabled());
    play(3000);
    EXPECT_TRUE(w->windowTitle().startsWith("0 : 3 (")) << w->windowTitle().toStdString();

    w->cmdRecord->click(); // pauses while recording
    EXPECT_TRUE(w->control().paused);
    w->cmdPauza->click(); // resumes
    EXPECT_FALSE(w->control().paused);
    play(1000);

    w->close(); // refused: the server holds the recording
    EXPECT_TRUE(w->isVisible());

    w->cmdStopRec->click();
    EXPECT_FALSE(w->cmdRecord->isEnabled());
    EXPECT_TRUE(w->cmdStopRec->isEnabled()); // until the hand-over
    for (int i = 0; i < 50 && w->cmdStopRec->isEnabled(); ++i)
        clock->advance(200);
    EXPECT_FALSE(w->cmdStopRec->isEnabled());
    EXPECT_TRUE(w->cmdRecord->isEnabled());
    EXPECT_EQ(split.shown, 1);
}

TEST_F(RecorderWindowTest, AnAutomaticStartNeedsAServer) {
    Shared().Recorder.reset();
    EXPECT_EQ(frmRecord::PokazMnie(true), nullptr);
    EXPECT_EQ(frmRecord::Instance(), nullptr);
    EXPECT_EQ(capture->log->opened, 0);
}

} // namespace

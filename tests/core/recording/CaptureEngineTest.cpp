// The capture side of a recording: the silence test in both sample widths,
// and the buffer file as blocks arrive, the server catches up and the user
// pauses.
#include "core/app/ProgramObjects.h"
#include "support/ProgramState.h"
#include "core/recording/CaptureEngine.h"
#include "core/recording/RecordingHandshake.h"
#include "platform/capture/FakeCaptureDevice.h"
#include "platform/media/VirtualClock.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

QByteArray Samples16(std::initializer_list<int> values, int total = 200) {
    QByteArray bytes;
    for (int v : values)
        bytes.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF));
    while (bytes.size() < total * 2)
        bytes.append('\0').append('\0');
    return bytes;
}

TEST(CaptureSilence, SixteenBitSamplesAboveTenAmongTheFirst101AreSound) {
    EXPECT_FALSE(CaptureEngine::BlockHasSound(Samples16({10, -10, 5, 0}), 16));
    EXPECT_TRUE(CaptureEngine::BlockHasSound(Samples16({0, 0, 11}), 16));
    EXPECT_TRUE(CaptureEngine::BlockHasSound(Samples16({0, -11}), 16));
    // Only the first 101 values count.
    QByteArray late = Samples16({});
    late[2 * 101] = char(0x00);
    late[2 * 101 + 1] = char(0x40);
    EXPECT_FALSE(CaptureEngine::BlockHasSound(late, 16));
    late[2 * 100 + 1] = char(0x40);
    EXPECT_TRUE(CaptureEngine::BlockHasSound(late, 16));
}

TEST(CaptureSilence, EightBitSilenceSitsAt128) {
    EXPECT_FALSE(CaptureEngine::BlockHasSound(QByteArray(400, char(128)), 8));
    QByteArray one(400, char(128));
    one[50] = char(129);
    EXPECT_TRUE(CaptureEngine::BlockHasSound(one, 8));
    // Read as 16-bit values, 8-bit silence would look loud.
    EXPECT_TRUE(CaptureEngine::BlockHasSound(QByteArray(400, char(128)), 16));
}

class CaptureEngineTest : public ::testing::Test, public CaptureFailures {
protected:
    void SetUp() override {
        test::ResetProgramObjects();
        Program().capture = CaptureStatus();
        store = new MemorySettingsStore;
        previous = SetSettingsStore(std::unique_ptr<SettingsStore>(store));
        folder = test::MakeTempDir("capture") + "/";
        Program().recording.TempRecordFolder = folder;
        Program().recording.CaptureDevice = -1;
        engine = std::make_unique<CaptureEngine>(platform, clock, Program().recording, Program().capture);
        engine->freeBytes = [this](const QString&) { return free; };
        engine->setFailures(this);
        QString error, function;
        ASSERT_TRUE(engine->StartDevice(-1, {1, 8000, 8}, 512, &error, &function));
        ASSERT_TRUE(engine->OpenBufferFile(-1, &error)) << error.toStdString();
        Program().capture.recordingFlag = 1;
    }
    void TearDown() override {
        engine.reset();
        SetSettingsStore(std::move(previous));
    }
    void block(char fill) { platform.last()->deliver(QByteArray(512, fill)); }
    qint64 bufferSize() const { return QFileInfo(folder + "Bufor-1.tmp").size(); }
    int written() { return store->values.value("RecSW", "-9").toInt(); }
    // The server's acknowledgement of every block written so far.
    void serverCaughtUp() {
        store->values.insert("RecConvSession", store->values.value("RecSession"));
        store->values.insert("RecConv", store->values.value("RecSW"));
    }

    FakeCapturePlatform platform;
    VirtualClock clock;
    MemorySettingsStore* store = nullptr;
    std::unique_ptr<SettingsStore> previous;
    std::unique_ptr<CaptureEngine> engine;
    QString folder;
    std::int64_t free = 1LL << 40;
    int nearlyFull = 0;
    std::function<void()> whenNearlyFull;
    void DiskNearlyFull() override {
        ++nearlyFull;
        if (whenNearlyFull)
            whenNearlyFull();
    }
    QStringList deviceFailures;
    std::function<void()> whenDeviceFailed;
    void WriteFailed(const QString&) override {}
    void DeviceFailed(const QString& error) override {
        deviceFailures << error;
        if (whenDeviceFailed)
            whenDeviceFailed();
    }
};

TEST_F(CaptureEngineTest, BlocksGrowTheBufferFileUntilTheServerCatchesUp) {
    EXPECT_EQ(Program().capture.bufferName, "Bufor-1.tmp");
    EXPECT_EQ(platform.log->lastFormat.bitsPerSample, 8);
    EXPECT_EQ(written(), 0);
    block(1);
    block(2);
    block(3);
    EXPECT_EQ(bufferSize(), 3 * 512);
    EXPECT_EQ(written(), 3);
    EXPECT_EQ(store->values.value("RecCall"), "0");

    // The server has acknowledged every block: the next block starts the file again.
    serverCaughtUp();
    block(4);
    EXPECT_EQ(bufferSize(), 512);
    EXPECT_EQ(written(), 4);
    EXPECT_EQ(store->values.value("RecRingBase"), "3");
    QFile f(folder + "Bufor-1.tmp");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray(512, char(4)));
}

TEST_F(CaptureEngineTest, APauseWritesNothingAndResumeWritesOnAtTheEnd) {
    block(1);
    engine->CloseBufferFile();
    EXPECT_FALSE(Program().capture.fileOpen);
    const int writesBefore = store->writes.size();
    block(2);
    EXPECT_EQ(bufferSize(), 512);
    EXPECT_EQ(store->writes.size(), writesBefore); // the handshake is left alone

    QString error;
    ASSERT_TRUE(engine->OpenBufferFile(0, &error));
    block(3);
    EXPECT_EQ(bufferSize(), 1024);
    EXPECT_EQ(written(), 2);
}

TEST_F(CaptureEngineTest, TheSilenceTestRunsOnEverySecondBlockAndDuringAPause) {
    block(char(128)); // first block: not tested
    EXPECT_TRUE(engine->SoundPresent);
    block(char(128));
    EXPECT_FALSE(engine->SoundPresent);
    engine->CloseBufferFile();
    block(char(0));
    EXPECT_FALSE(engine->SoundPresent);
    block(char(0));
    EXPECT_TRUE(engine->SoundPresent);
}

TEST_F(CaptureEngineTest, ANearlyFullDiskIsNoticedOnTheEleventhBlock) {
    free = 19 * 512;
    for (int i = 0; i < 10; ++i)
        block(1);
    EXPECT_EQ(nearlyFull, 0);
    block(1);
    EXPECT_EQ(nearlyFull, 1);
    for (int i = 0; i < 9; ++i)
        block(1);
    EXPECT_EQ(nearlyFull, 1);
    block(1);
    EXPECT_EQ(nearlyFull, 2);
}

TEST_F(CaptureEngineTest, ADeviceFailureIsReportedAndTheDeviceFreedOnlyAfterTheReport) {
    whenDeviceFailed = [this] { engine->TearDownDevice(); };
    platform.last()->fail("unplugged");
    EXPECT_EQ(deviceFailures, QStringList{"unplugged"});
    EXPECT_EQ(platform.log->destroyedWhileDelivering, 0);
    clock.advance(100);
    EXPECT_EQ(platform.last(), nullptr);
}

TEST_F(CaptureEngineTest, ADeviceTornDownFromInsideItsOwnDeliveryIsFreedOnlyAfterwards) {
    free = 0;
    whenNearlyFull = [this] { engine->TearDownDevice(); };
    for (int i = 0; i < 11; ++i)
        block(1);
    EXPECT_EQ(platform.log->destroyedWhileDelivering, 0);
    EXPECT_EQ(platform.log->closed, 1);
    clock.advance(100);
    EXPECT_EQ(platform.last(), nullptr); // gone once the delivery had returned
}

TEST_F(CaptureEngineTest, NoBlockIsWrittenOnceTheRecordingFlagIsDown) {
    Program().capture.recordingFlag = 0;
    block(1);
    EXPECT_EQ(bufferSize(), 0);
}

} // namespace

// The GStreamer capture device with a test source in place of a sound card:
// blocks of the asked size arrive in order on the Qt thread, in both sample
// widths, and the silence test tells a sine from silence.
#include "core/recording/CaptureEngine.h"
#include "platform/capture/GstCaptureDevice.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

class GstCaptureTest : public ::testing::Test {
protected:
    void TearDown() override { qunsetenv("KELBRIN_CAPTURE_SOURCE"); }

    QList<QByteArray> capture(const QString& source, const CapturePcmFormat& format, qint64 blockBytes,
                              int blocks) {
        qputenv("KELBRIN_CAPTURE_SOURCE", source.toUtf8());
        GstCaptureDevice device;
        struct Blocks : CaptureReceiver {
            QList<QByteArray> got;
            QList<Qt::HANDLE> threads;
            void BlockCaptured(const QByteArray& block) override {
                got << block;
                threads << QThread::currentThreadId();
            }
            void CaptureFailed(const QString&) override {}
        } receiver;
        QList<QByteArray>& got = receiver.got;
        const QList<Qt::HANDLE>& threads = receiver.threads;
        device.setReceiver(&receiver);
        QString error;
        EXPECT_TRUE(device.open(-1, format, blockBytes, &error)) << error.toStdString();
        EXPECT_TRUE(device.start(&error)) << error.toStdString();
        QElapsedTimer t;
        t.start();
        while (got.size() < blocks && t.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        device.stop();
        device.close();
        for (Qt::HANDLE h : threads)
            EXPECT_EQ(h, QThread::currentThreadId());
        return got;
    }
};

TEST_F(GstCaptureTest, SixteenBitStereoBlocksOfASineArriveWhole) {
    // 4410 bytes hold 1102.5 frames: blocks need not end on a frame.
    const auto blocks = capture("audiotestsrc is-live=true wave=sine freq=440 samplesperbuffer=441",
                                {2, 44100, 16}, 4410, 4);
    ASSERT_GE(blocks.size(), 4);
    for (const QByteArray& b : blocks)
        EXPECT_EQ(b.size(), 4410);
    // Consecutive blocks continue each other: the stream is the sine, not a repeat.
    EXPECT_NE(blocks[0], blocks[1]);
    EXPECT_TRUE(CaptureEngine::BlockHasSound(blocks[1], 16) || CaptureEngine::BlockHasSound(blocks[2], 16));
}

TEST_F(GstCaptureTest, EightBitMonoSilenceIsSilence) {
    const auto silent = capture("audiotestsrc is-live=true wave=silence", {1, 8000, 8}, 800, 2);
    ASSERT_GE(silent.size(), 2);
    EXPECT_EQ(silent[0].size(), 800);
    EXPECT_FALSE(CaptureEngine::BlockHasSound(silent[1], 8));
    const auto loud = capture("audiotestsrc is-live=true wave=square volume=0.5", {1, 8000, 8}, 800, 2);
    ASSERT_GE(loud.size(), 2);
    EXPECT_TRUE(CaptureEngine::BlockHasSound(loud[1], 8));
}

TEST_F(GstCaptureTest, ABrokenSourceDescriptionIsReportedNotStarted) {
    qputenv("KELBRIN_CAPTURE_SOURCE", "nosuchelement-xyz");
    GstCaptureDevice device;
    QString error;
    EXPECT_FALSE(device.open(-1, {2, 44100, 16}, 4096, &error));
    EXPECT_TRUE(error.contains("KELBRIN_CAPTURE_SOURCE")) << error.toStdString();
    EXPECT_FALSE(device.isOpen());
}

} // namespace

TEST_F(GstCaptureTest, TakePartHandsOverWhatCameSinceTheLastWholeBlock) {
    qputenv("KELBRIN_CAPTURE_SOURCE", "audiotestsrc is-live=true wave=sine freq=440 samplesperbuffer=80");
    GstCaptureDevice device;
    struct Bytes : CaptureReceiver {
        qint64 whole = 0;
        void BlockCaptured(const QByteArray& block) override { whole += block.size(); }
        void CaptureFailed(const QString&) override {}
    } receiver;
    qint64& wholeBytes = receiver.whole;
    device.setReceiver(&receiver);
    QString error;
    ASSERT_TRUE(device.open(-1, {1, 8000, 8}, 8000, &error)) << error.toStdString(); // one second a block
    ASSERT_TRUE(device.start(&error)) << error.toStdString();
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 1500)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    const QByteArray part = device.takePart();
    const qint64 elapsedBytes = t.elapsed() * 8;
    EXPECT_EQ(wholeBytes, 8000);
    EXPECT_GT(part.size(), 0);
    EXPECT_LT(part.size(), 8000);
    // Everything captured so far, give or take the source's start-up.
    EXPECT_GT(wholeBytes + part.size(), elapsedBytes - 4000);
    EXPECT_LE(device.takePart().size(), 800); // taken once
    device.stop();
    device.close();
}

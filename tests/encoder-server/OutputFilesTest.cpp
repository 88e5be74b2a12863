// Output names, the WAVE layout, segment lists and the activation file.
#include "encoder-server/OutputNames.h"
#include "encoder-server/RecorderOutput.h"
#include "core/export/SegmentList.h"
#include "encoder-server/ServiceRegistration.h"
#include "encoder-server/WaveFileLayout.h"

#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QtEndian>
#include <gtest/gtest.h>
#include <csignal>
#include <sys/resource.h>

using namespace kelbrin;
using namespace kelbrin::test;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

quint32 Le32At(const QByteArray& bytes, int at) { return qFromLittleEndian<quint32>(bytes.constData() + at); }

// Starts a recording of plain PCM WAVE files in a folder of its own.
void StartWaveRecording(RecorderOutput& output, const char* folder, const WaveFormatEx& format) {
    OutputOptions options;
    options.folder = MakeTempDir(folder);
    options.wave = true;
    options.format = format;
    output.startRecording(options);
}

} // namespace

TEST(OutputNames, MonthDayAndTimeAndACounterInsteadOfOverwriting) {
    const QDateTime when(QDate(2026, 12, 8), QTime(14, 5, 33));
    EXPECT_EQ(OutputBaseName("R", when), "R1208__14_05_33");
    const QString folder = MakeTempDir("names");
    EXPECT_EQ(FreeOutputBaseName(folder, "R1208__14_05_33", ".mp3", false), "R1208__14_05_33");
    WriteFile(folder + "/R1208__14_05_33.mp3", "x");
    EXPECT_EQ(FreeOutputBaseName(folder, "R1208__14_05_33", ".mp3", false), "R1208__14_05_33_2");
    // A list of that name counts as taken when lists are written.
    WriteFile(folder + "/R1208__14_05_33_2.tim", "x");
    EXPECT_EQ(FreeOutputBaseName(folder, "R1208__14_05_33", ".mp3", true), "R1208__14_05_33_3");
    EXPECT_EQ(FreeOutputBaseName(folder, "R1208__14_05_33", ".mp3", false), "R1208__14_05_33_2");
}

TEST(OutputFiles, CodecWaveHeaderCarriesTheFormatsOwnSizeAndEvenChunks) {
    WaveFormatEx ima;
    ima.wFormatTag = wave::kImaAdpcm;
    ima.nChannels = 1;
    ima.nSamplesPerSec = 8000;
    ima.nAvgBytesPerSec = 4055;
    ima.nBlockAlign = 256;
    ima.wBitsPerSample = 4;
    ima.cbSize = 2;
    ima.extra = QByteArray("\xf9\x01", 2);
    EXPECT_EQ(WaveFmtChunkSize(ima), 20);
    EXPECT_EQ(WaveFmtChunkSize(WaveFormatEx::pcm(2, 44100, 16)), 16);

    const QString folder = MakeTempDir("wave");
    RecorderOutput output([] { return QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)); });
    OutputOptions options;
    options.folder = folder;
    options.wave = true;
    options.format = ima;
    output.startRecording(options);
    ASSERT_TRUE(output.openFile());
    EXPECT_EQ(output.name(), "R0102__03_04_05.wav");
    ASSERT_TRUE(output.write(QByteArray(255, 7), 505));
    ASSERT_TRUE(output.closeFile());

    const QByteArray wav = ReadAll(folder + "/R0102__03_04_05.wav");
    ASSERT_EQ(wav.size(), 60 + 256); // odd data gets a pad byte
    EXPECT_EQ(Le32At(wav, 4), quint32(wav.size() - 8));
    EXPECT_EQ(Le32At(wav, 16), 20u);
    EXPECT_EQ(wav.mid(38, 2), QByteArray("\xf9\x01", 2));
    EXPECT_EQ(wav.mid(40, 4), "fact");
    EXPECT_EQ(Le32At(wav, 48), 505u);
    EXPECT_EQ(wav.mid(52, 4), "data");
    EXPECT_EQ(Le32At(wav, 56), 255u);

    // The next file of the same second gets a name of its own.
    ASSERT_TRUE(output.openFile());
    EXPECT_EQ(output.name(), "R0102__03_04_05_2.wav");
    output.closeFile();
    EXPECT_EQ(output.names(), QStringList({"R0102__03_04_05.wav", "R0102__03_04_05_2.wav"}));
}

TEST(OutputFiles, FilesStayBelowTheSizeARiffFieldHolds) {
    RecorderOutput output;
    StartWaveRecording(output, "riff", WaveFormatEx::pcm(2, 44100, 16));
    ASSERT_TRUE(output.openFile());
    EXPECT_TRUE(output.fits(1LL << 31));
    EXPECT_FALSE(output.fits(kMaxRiffFileSize));
    output.closeFile();
}

TEST(OutputFiles, AWriteTheDiskTakesOnlyInPartKeepsWhatTheBlocksCountedAsEncodedNeed) {
    RecorderOutput output;
    StartWaveRecording(output, "cut", WaveFormatEx::pcm(1, 8000, 16));
    ASSERT_TRUE(output.openFile());
    // The codec keeps the last 100 of the block's 600 samples back.
    ASSERT_TRUE(output.write(QByteArray(1000, 1), 600, 500));
    output.setSamplesToKeep(600);
    const QString path = output.path();
    // Mid-recording, the sizes already tell a reader what the file holds.
    QByteArray wav = ReadAll(path);
    const int data = int(wav.indexOf("data")) + 8;
    ASSERT_GT(data, 8);
    EXPECT_EQ(Le32At(wav, 4), quint32(wav.size() - 8));
    EXPECT_EQ(Le32At(wav, data - 4), 1000u);
    EXPECT_EQ(Le32At(wav, data - 12), 500u);

    // Room for half the next block's output only (and an odd byte), as on a
    // disk that has just filled: its first 100 samples end the block before.
    rlimit before{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = before;
    small.rlim_cur = wav.size() + 501;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = output.write(QByteArray(1000, 2), 500, 1000);
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);
    EXPECT_FALSE(output.lastError().isEmpty());
    // What follows a gap is no part of the file either.
    EXPECT_FALSE(output.write(QByteArray(100, 3), 50));
    output.closeFile(9999);

    wav = ReadAll(path);
    EXPECT_EQ(wav.size(), data + 1200);
    EXPECT_EQ(wav.mid(data), QByteArray(1000, 1) + QByteArray(200, 2));
    EXPECT_EQ(Le32At(wav, data - 4), 1200u);
    EXPECT_EQ(Le32At(wav, data - 12), 600u); // the samples the data holds, not the codec's count
}

TEST(SegmentList, EntriesAreCrLfAndSignedSecondsWithoutAFinalBreak) {
    const QString path = MakeTempDir("tim") + "/a.tim";
    SegmentList list;
    ASSERT_TRUE(list.open(path));
    list.writeStart(0); // not after the first second: nothing
    list.writeEnd(95);
    list.writeStart(130);
    list.close();
    EXPECT_EQ(ReadAll(path), "\r\n-95\r\n130");
    ASSERT_TRUE(list.open(path)); // a list of the same name starts empty
    list.close();
    EXPECT_EQ(ReadAll(path), "");
}

TEST(ServiceRegistration, ActivationFileNamesTheServerAndQuotesItsPath) {
    EXPECT_EQ(ActivationFileText("/opt/My \"K\" $bin/capturon"),
              "[D-BUS Service]\nName=org.pelorin.Capturon\nExec=\"/opt/My \\\"K\\\" \\$bin/capturon\"\n");
    ASSERT_TRUE(WriteActivationFile("/usr/bin/capturon"));
    EXPECT_TRUE(ActivationFilePath().startsWith(qEnvironmentVariable("XDG_DATA_HOME")));
    EXPECT_TRUE(ReadAll(ActivationFilePath()).contains("Exec=\"/usr/bin/capturon\""));
}

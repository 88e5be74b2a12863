// Real encodes through LAME's stream interface over libmp3lame, checked by the
// decoders: length, rate, channels, bit rate and the VBR frame.
#include "RecordingTestTools.h"
#include "core/app/ProgramObjects.h"
#include "support/ProgramState.h"
#include "core/recording/LameConfiguration.h"
#include "platform/lame/Mp3LameLibrary.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

constexpr int kRate = 44100;
constexpr double kSeconds = 2.0;

struct Encoded {
    std::uint32_t samplesPerChunk = 0;
    std::uint32_t outputSize = 0;
    int chunks = 0;
};

// Encodes the samples chunk by chunk as the encoder server does, closes the
// stream and writes the VBR header into the file.
Encoded EncodeSamples(Mp3LameLibrary& lame, const BE_CONFIG& config, const QString& path,
                      const std::vector<std::int16_t>& pcm, bool writeHeader) {
    Encoded e;
    HBE_STREAM stream = 0;
    EXPECT_EQ(lame.beInitStream(config, &e.samplesPerChunk, &e.outputSize, &stream), BE_ERR_SUCCESSFUL);
    std::vector<unsigned char> out(e.outputSize);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    for (size_t at = 0; at < pcm.size(); at += e.samplesPerChunk) {
        const auto n = static_cast<std::uint32_t>(std::min<size_t>(e.samplesPerChunk, pcm.size() - at));
        std::uint32_t bytes = 0;
        EXPECT_EQ(lame.beEncodeChunk(stream, n, pcm.data() + at, out.data(), &bytes), BE_ERR_SUCCESSFUL);
        EXPECT_LE(bytes, e.outputSize);
        file.write(reinterpret_cast<const char*>(out.data()), bytes);
        ++e.chunks;
    }
    std::uint32_t bytes = 0;
    EXPECT_EQ(lame.beDeinitStream(stream, out.data(), &bytes), BE_ERR_SUCCESSFUL);
    file.write(reinterpret_cast<const char*>(out.data()), bytes);
    file.close();
    EXPECT_EQ(lame.beCloseStream(stream), BE_ERR_SUCCESSFUL);
    if (writeHeader) {
        EXPECT_EQ(lame.beWriteVBRHeader(path), BE_ERR_SUCCESSFUL);
    }
    return e;
}

int Channels(const BE_CONFIG& config) { return config.nMode == BE_MP3_MODE_MONO ? 1 : 2; }

// A 2 s sine of 440 Hz.
Encoded EncodeSine(Mp3LameLibrary& lame, const BE_CONFIG& config, const QString& path, bool writeHeader = true) {
    return EncodeSamples(lame, config, path,
                         test::SineS16(440, static_cast<int>(config.dwSampleRate), Channels(config), kSeconds),
                         writeHeader);
}

// Samples per channel that mpg123 decodes.
qint64 DecodedSamples(const QString& path, int channels) {
    int exit = -1;
    const QByteArray pcm = test::RunOracle("mpg123", {"-q", "-s", path}, &exit);
    EXPECT_EQ(exit, 0);
    return pcm.size() / (2 * channels);
}

class LameEncodeTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::ResetProgramObjects();
        store = new MemorySettingsStore;
        SetSettingsStore(std::unique_ptr<SettingsStore>(store));
        dir = test::MakeTempDir("lame");
    }
    void TearDown() override { SetSettingsStore(nullptr); }
    BE_CONFIG configFromSettings(const QMap<QString, QString>& values) {
        store->values = values;
        return BuildLameConfig(ReadLameSettings());
    }
    MemorySettingsStore* store = nullptr;
    QString dir;
    Mp3LameLibrary lame;
};

} // namespace

TEST_F(LameEncodeTest, CbrStereoDecodesToTheSineLength) {
    const BE_CONFIG c = configFromSettings({{"LameBitRate", "8"}, {"LameChanMode", "1"}});
    const QString path = dir + "/cbr.mp3";
    const Encoded e = EncodeSine(lame, c, path);
    EXPECT_EQ(e.samplesPerChunk, 2304u); // 1152 per channel
    const auto probe = test::ProbeStream(path);
    EXPECT_EQ(probe.value("codec_name"), "mp3");
    EXPECT_EQ(probe.value("sample_rate"), "44100");
    EXPECT_EQ(probe.value("channels"), "2");
    EXPECT_EQ(probe.value("bit_rate"), "128000");
    // Without a LAME frame the decoder keeps the encoder's delay (576 + 529).
    const qint64 decoded = DecodedSamples(path, 2);
    EXPECT_NEAR(static_cast<double>(decoded), kRate * kSeconds + 1105, 1152);
    // CBR gets no VBR frame, so nothing was written over the audio.
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    const QByteArray head = f.read(1000);
    EXPECT_FALSE(head.contains("Xing") || head.contains("Info"));
}

TEST_F(LameEncodeTest, CbrMonoMpeg2) {
    const BE_CONFIG c = configFromSettings(
        {{"LameMPEGver", "1"}, {"LameSampleRate", "1"}, {"LameBitRate", "7"}, {"LameChanMode", "3"}});
    ASSERT_EQ(c.dwSampleRate, 22050u);
    const QString path = dir + "/mono22.mp3";
    const Encoded e = EncodeSine(lame, c, path);
    EXPECT_EQ(e.samplesPerChunk, 576u);
    const auto probe = test::ProbeStream(path);
    EXPECT_EQ(probe.value("sample_rate"), "22050");
    EXPECT_EQ(probe.value("channels"), "1");
    EXPECT_EQ(probe.value("bit_rate"), "64000");
    EXPECT_NEAR(static_cast<double>(DecodedSamples(path, 1)), 22050 * kSeconds + 1105, 576);
}

TEST_F(LameEncodeTest, VbrGetsItsXingFrameAndTheRightDuration) {
    const BE_CONFIG c = configFromSettings({{"LameVBR", "1"}, {"LameQual", "4"}, {"LameQualLow", "0"},
                                            {"LameQualHigh", "13"}, {"LameVBXing", "1"}});
    const QString path = dir + "/vbr.mp3";
    EncodeSine(lame, c, path);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray head = f.read(600);
    f.close();
    EXPECT_TRUE(head.contains("Xing")) << "VBR frame missing";
    EXPECT_TRUE(head.contains("LAME"));
    const auto probe = test::ProbeStream(path);
    EXPECT_EQ(probe.value("sample_rate"), "44100");
    EXPECT_EQ(probe.value("channels"), "2");
    const QString out = QString::fromUtf8(test::RunOracle(
        "ffprobe", {"-v", "error", "-show_entries", "format=duration,start_time", "-of", "default=nw=1", path}));
    double duration = 0, start = 0;
    for (const QString& line : out.split('\n', Qt::SkipEmptyParts)) {
        if (line.startsWith("duration="))
            duration = line.mid(9).toDouble();
        if (line.startsWith("start_time="))
            start = line.mid(11).toDouble();
    }
    EXPECT_NEAR(duration - start, kSeconds, 1152.0 / kRate);
    // The LAME frame tells the decoder the exact length.
    EXPECT_NEAR(static_cast<double>(DecodedSamples(path, 2)), kRate * kSeconds, 1152);
}

TEST_F(LameEncodeTest, VbrWithoutTheHeaderCallKeepsThePlaceholderAndHeaderOffWritesNone) {
    BE_CONFIG c = configFromSettings({{"LameVBR", "1"}, {"LameVBXing", "1"}});
    const QString placeholder = dir + "/placeholder.mp3";
    EncodeSine(lame, c, placeholder, false);
    QFile f(placeholder);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_FALSE(f.read(600).contains("Xing"));
    f.close();

    c = configFromSettings({{"LameVBR", "1"}, {"LameVBXing", "0"}});
    const QString plain = dir + "/plain.mp3";
    EncodeSine(lame, c, plain);
    QFile g(plain);
    ASSERT_TRUE(g.open(QIODevice::ReadOnly));
    const QByteArray head = g.read(600);
    EXPECT_FALSE(head.contains("Xing") || head.contains("Info"));
}

TEST_F(LameEncodeTest, AbrEncodesNearItsMeanBitRate) {
    const BE_CONFIG c = configFromSettings({{"LameVBR", "1"}, {"LameABR", "1"}, {"LameBitRate", "6"},
                                            {"LameQualLow", "0"}, {"LameQualHigh", "13"}});
    ASSERT_EQ(c.dwVbrAbr_bps, 96000u);
    const QString path = dir + "/abr.mp3";
    // Noise, not a sine: a plain tone needs far less than any mean.
    std::vector<std::int16_t> noise(static_cast<size_t>(kRate * kSeconds * 2));
    std::uint32_t seed = 1;
    for (auto& v : noise) {
        seed = seed * 1664525u + 1013904223u;
        v = static_cast<std::int16_t>(static_cast<std::int32_t>(seed >> 16) - 32768) / 4;
    }
    EncodeSamples(lame, c, path, noise, true);
    const double bitRate = test::ProbeStream(path).value("bit_rate").toDouble();
    EXPECT_NEAR(bitRate, 96000, 24000);
}

TEST_F(LameEncodeTest, AVbrRangeTheWrongWayRoundStillEncodesBetweenItsEnds) {
    // The settings window stores the two ends of the range separately, and a
    // settings file may hold them reversed: the configuration orders them...
    for (const char* abr : {"1", "0"}) {
        BE_CONFIG c = configFromSettings({{"LameVBR", "1"}, {"LameABR", abr}, {"LameBitRate", "6"},
                                          {"LameQualLow", "13"}, {"LameQualHigh", "0"}});
        EXPECT_EQ(c.dwBitrate, 32u);
        EXPECT_EQ(c.dwMaxBitrate, 320u);
        const QString path = dir + "/reversed" + abr + ".mp3";
        EncodeSine(lame, c, path);
        EXPECT_NEAR(static_cast<double>(DecodedSamples(path, 2)), kRate * kSeconds, 1152) << "ABR " << abr;
        // ...and the encoder itself never hands LAME a reversed pair.
        std::swap(c.dwBitrate, c.dwMaxBitrate);
        const QString raw = dir + "/raw" + abr + ".mp3";
        EncodeSine(lame, c, raw);
        EXPECT_NEAR(static_cast<double>(DecodedSamples(raw, 2)), kRate * kSeconds, 1152) << "ABR " << abr;
    }
}

TEST_F(LameEncodeTest, VbrHeaderNeverOverwritesAFileThatDoesNotStartWithThePlaceholder) {
    const BE_CONFIG c = configFromSettings({{"LameVBR", "1"}});
    EncodeSine(lame, c, dir + "/first.mp3", false);
    const QByteArray other(5000, 'x');
    const QString path = test::WriteFile(dir + "/other.mp3", other);
    EXPECT_NE(lame.beWriteVBRHeader(path), BE_ERR_SUCCESSFUL);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), other);
    EXPECT_NE(lame.beWriteVBRHeader(dir + "/missing.mp3"), BE_ERR_SUCCESSFUL);
    EXPECT_FALSE(QFile::exists(dir + "/missing.mp3"));
}

TEST_F(LameEncodeTest, BadRecordsAndHandlesAreRefused) {
    BE_CONFIG c;
    c.dwSampleRate = 0;
    std::uint32_t samples = 0, size = 0;
    HBE_STREAM stream = 0;
    EXPECT_EQ(lame.beInitStream(c, &samples, &size, &stream), BE_ERR_INVALID_FORMAT_PARAMETERS);
    std::int16_t pcm[4] = {};
    unsigned char out[8000];
    std::uint32_t bytes = 7;
    EXPECT_EQ(lame.beEncodeChunk(99, 4, pcm, out, &bytes), BE_ERR_INVALID_HANDLE);
    EXPECT_EQ(bytes, 0u);
    EXPECT_EQ(lame.beCloseStream(99), BE_ERR_INVALID_HANDLE);
}

TEST_F(LameEncodeTest, VersionNamesTheEngine) {
    BE_VERSION v;
    lame.beVersion(&v);
    EXPECT_EQ(v.byMajorVersion, 3);
    EXPECT_GE(v.byMinorVersion, 99);
    EXPECT_GT(v.wYear, 2000);
    EXPECT_GT(qstrlen(v.zHomepage), 0u);
    const QString text = LameVersionText(v);
    EXPECT_TRUE(text.contains(QStringLiteral("Lame Engine Version 3.%1").arg(v.byMinorVersion)));
}

TEST_F(LameEncodeTest, ConfigurationLearnsTheRealEncodersChunk) {
    auto previous = SetLameLibrary(std::make_unique<Mp3LameLibrary>());
    EXPECT_EQ(ConfigureLameEncoder(Program().recording, true), 9216); // 1152 samples per channel, stereo
    store->values["LameChanMode"] = "3";
    EXPECT_EQ(ConfigureLameEncoder(Program().recording, true), 2304);
    store->values = {{"LameMPEGver", "1"}, {"LameSampleRate", "2"}, {"LameBitRate", "5"}};
    EXPECT_EQ(ConfigureLameEncoder(Program().recording, true), 4608); // 576 per channel at MPEG-2 rates
    EXPECT_EQ(Program().recording.EncoderSampleRate, 24000u);
    SetLameLibrary(std::move(previous));
}

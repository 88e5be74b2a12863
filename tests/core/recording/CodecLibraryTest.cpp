// Every codec the layer offers writes a WAVE file that ffprobe reads with the
// right codec, rate and channels, and whose audio is still the sine.
#include "RecordingTestTools.h"
#include "core/recording/CaptureFormats.h"
#include "platform/codecs/AvCodecLibrary.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

struct Case {
    std::uint16_t tag;
    const char* codecName; // ffprobe's name
    std::uint16_t channels;
    std::uint32_t rate;
    std::uint16_t bits; // 0: the tag's first format at that rate and channels
};

const Case kCases[] = {
    {wave::kPcm, "pcm_s16le", 2, 44100, 16},     {wave::kPcm, "pcm_u8", 1, 22050, 8},
    {wave::kPcm, "pcm_s24le", 2, 48000, 24},     {wave::kIeeeFloat, "pcm_f32le", 2, 44100, 32},
    {wave::kALaw, "pcm_alaw", 1, 8000, 8},        {wave::kMuLaw, "pcm_mulaw", 2, 16000, 8},
    {wave::kImaAdpcm, "adpcm_ima_wav", 2, 44100, 0}, {wave::kImaAdpcm, "adpcm_ima_wav", 1, 11025, 0},
    {wave::kMsAdpcm, "adpcm_ms", 2, 22050, 0},    {wave::kMsAdpcm, "adpcm_ms", 1, 8000, 0},
    {wave::kGsm610, "gsm_ms", 1, 8000, 0},        {wave::kMpegLayer3, "mp3", 2, 44100, 0},
    {wave::kMpegLayer3, "mp3", 1, 22050, 0},
};

std::optional<WaveFormatEx> Find(AvCodecLibrary& codecs, const Case& c) {
    for (const CodecFormat& f : codecs.formats(c.tag))
        if (f.format.nChannels == c.channels && f.format.nSamplesPerSec == c.rate &&
            (c.bits == 0 || f.format.wBitsPerSample == c.bits))
            return f.format;
    return std::nullopt;
}

} // namespace

TEST(CodecLibrary, OffersTheCommonWaveCodecs) {
    AvCodecLibrary codecs;
    QList<std::uint16_t> tags;
    for (const CodecFormatTag& t : codecs.formatTags()) {
        tags.append(t.tag);
        EXPECT_FALSE(codecs.formats(t.tag).isEmpty()) << t.name.toStdString();
        EXPECT_GE(t.formatSize, 16u);
        EXPECT_LE(t.formatSize, 68u);
    }
    for (std::uint16_t tag : {wave::kPcm, wave::kIeeeFloat, wave::kALaw, wave::kMuLaw, wave::kImaAdpcm,
                              wave::kMsAdpcm, wave::kGsm610, wave::kMpegLayer3})
        EXPECT_TRUE(tags.contains(tag)) << tag;
    EXPECT_EQ(codecs.formatSize(wave::kPcm), 16u);
    EXPECT_EQ(codecs.formatSize(wave::kMsAdpcm), 50u);
    EXPECT_EQ(codecs.formatSize(0x7777), 0u);
    EXPECT_EQ(codecs.tagName(wave::kImaAdpcm), "IMA ADPCM");
}

TEST(CodecLibrary, EachCodecWritesAWaveFileOfTheSine) {
    AvCodecLibrary codecs;
    const QString dir = test::MakeTempDir("codecs");
    for (const Case& c : kCases) {
        const auto found = Find(codecs, c);
        ASSERT_TRUE(found) << c.codecName << " " << c.rate;
        const WaveFormatEx destination = *found;
        const std::string label = std::string(c.codecName) + " " + std::to_string(c.rate) + "/" + std::to_string(c.channels);
        EXPECT_EQ(WaveFormatEx::fromRecord(destination.toRecord()).toRecord(), destination.toRecord());
        const WaveFormatEx source = CodecSourceFormat(destination);
        int error = -1;
        auto stream = codecs.openStream(source, destination, &error);
        ASSERT_TRUE(stream) << label << " error " << error;
        EXPECT_EQ(error, 0);

        // Blocks of an uneven size, as the capture side hands them over.
        const QByteArray pcm = test::SinePcm(source, 440, 2.0);
        QByteArray data;
        const qsizetype block = source.nBlockAlign * 3001;
        for (qsizetype at = 0; at < pcm.size(); at += block) {
            const QByteArray part = pcm.mid(at, block);
            QByteArray out;
            ASSERT_EQ(stream->convert(part, out), 0) << label;
            EXPECT_LE(out.size(), stream->destinationSize(part.size()) + stream->destinationSize(0)) << label;
            data += out;
        }
        QByteArray tail;
        ASSERT_EQ(stream->convert({}, tail, true), 0) << label;
        data += tail;
        if (destination.wFormatTag != wave::kMpegLayer3) {
            EXPECT_EQ(data.size() % destination.nBlockAlign, 0) << label;
        }
        QByteArray after;
        EXPECT_NE(stream->convert(pcm.left(100), after), 0) << "an ended stream takes more";

        const QString path = dir + QStringLiteral("/%1-%2-%3.wav").arg(c.codecName).arg(c.rate).arg(c.channels);
        test::WriteWave(path, destination, static_cast<int>(codecs.formatSize(destination.wFormatTag)), data);
        const auto probe = test::ProbeStream(path);
        EXPECT_EQ(probe.value("codec_name").toStdString(), c.codecName) << label;
        EXPECT_EQ(probe.value("sample_rate").toUInt(), c.rate) << label;
        EXPECT_EQ(probe.value("channels").toUInt(), c.channels) << label;
        const auto decoded = test::DecodeMono(path);
        EXPECT_NEAR(static_cast<double>(decoded.size()) / c.rate, 2.0, 0.1) << label;
        EXPECT_NEAR(test::SineFrequency(decoded, static_cast<int>(c.rate)), 440.0, 4.0) << label;
    }
}

TEST(CodecLibrary, RefusesConversionsItCannotMake) {
    AvCodecLibrary codecs;
    const WaveFormatEx pcm16 = WaveFormatEx::pcm(2, 44100, 16);
    int error = 0;
    // Different rate or channels between source and destination.
    EXPECT_FALSE(codecs.openStream(WaveFormatEx::pcm(1, 44100, 8), pcm16, &error));
    EXPECT_EQ(error, codec::kNotPossible);
    EXPECT_FALSE(codecs.openStream(WaveFormatEx::pcm(2, 22050, 16), pcm16, &error));
    // An unknown tag, and a PCM width no encoder writes.
    WaveFormatEx unknown = pcm16;
    unknown.wFormatTag = 0x7777;
    EXPECT_FALSE(codecs.openStream(pcm16, unknown, &error));
    EXPECT_FALSE(codecs.openStream(pcm16, WaveFormatEx::pcm(2, 44100, 12), &error));
    // An ADPCM record whose block does not match the samples it claims.
    WaveFormatEx ima = codecs.formats(wave::kImaAdpcm).first().format;
    ima.nBlockAlign = 300;
    EXPECT_FALSE(codecs.openStream(CodecSourceFormat(ima), ima, &error));
    EXPECT_EQ(error, codec::kNotPossible);
}

TEST(CodecLibrary, SourceFormatIsEightBitsPerChannel) {
    const WaveFormatEx mono = CodecSourceFormat(WaveFormatEx::pcm(1, 8000, 16));
    EXPECT_EQ(mono.wBitsPerSample, 8);
    EXPECT_EQ(mono.nBlockAlign, 1);
    EXPECT_EQ(mono.nAvgBytesPerSec, 8000u);
    const WaveFormatEx stereo = CodecSourceFormat(WaveFormatEx::pcm(2, 44100, 8));
    EXPECT_EQ(stereo.wBitsPerSample, 16);
    EXPECT_EQ(stereo.nBlockAlign, 4);
    EXPECT_EQ(stereo.nAvgBytesPerSec, 176400u);
    EXPECT_EQ(stereo.cbSize, 0);
}

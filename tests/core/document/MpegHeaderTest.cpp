#include "core/document/MpegHeader.h"
#include "core/document/cPozycjaPlikow.h"
#include "support/SyntheticMpeg.h"

#include <gtest/gtest.h>
#include <stdexcept>

using namespace kelbrin;

namespace {
cPozycjaPlikow withHeader(std::uint8_t byte2, std::uint8_t byte3) {
    cPozycjaPlikow file;
    file.btyFrame2 = byte2;
    file.btyFrame3 = byte3;
    return file;
}
} // namespace

TEST(DocumentMpegHeader, SampleRateForTimingMakesEachFrameLastItsRealTime) {
    EXPECT_EQ(HeaderSampleRate(withHeader(0xFB, 0x90)), 44100); // MPEG-1 Layer III
    EXPECT_EQ(HeaderSampleRate(withHeader(0xF5, 0x94)), 24000); // MPEG-2 Layer II
    EXPECT_EQ(HeaderSampleRate(withHeader(0xF3, 0x80)), 44100); // MPEG-2 Layer III
    EXPECT_EQ(HeaderSampleRate(withHeader(0xF7, 0x84)), 24000); // MPEG-2 Layer I
    EXPECT_EQ(HeaderSampleRate(withHeader(0xFB, 0x9C)), 0);     // no such rate
    // MPEG-2.5 Layer III at 8000 Hz: 576 samples last 72 ms = 1152 at 16000.
    const auto m25 = withHeader(0xE3, 0x28);
    EXPECT_EQ(HeaderSampleRate(m25), 16000);
    EXPECT_FLOAT_EQ(FramesToSeconds(m25, 1), 0.072f);
    EXPECT_EQ(HeaderSampleRate(withHeader(0xE5, 0x28)), 8000); // MPEG-2.5 Layer II
}

TEST(DocumentMpegHeader, FramesToSecondsUsesTheLayersSampleCount) {
    EXPECT_NEAR(FramesToSeconds(withHeader(0xFB, 0x90), 1000), 26.122, 0.001);
    EXPECT_FLOAT_EQ(FramesToSeconds(withHeader(0xFF, 0x94), 1000), 8.0f);
    EXPECT_THROW(FramesToSeconds(withHeader(0xFB, 0x9C), 10), std::domain_error);
}

TEST(DocumentMpegHeader, FrameLengthsOfTheCommonStreams) {
    using namespace mpeg;
    EXPECT_EQ(NominalFrameLength(0xFB, 0x90), 418); // 417.96 rounded
    EXPECT_EQ(FrameLength(0xFB, 0x92), 419);
    EXPECT_EQ(FrameLength(0xFD, 0xA4), 576); // MPEG-1 Layer II 192k 48 kHz
    EXPECT_EQ(FrameLength(0xFD, 0xA6), 577);
    EXPECT_EQ(FrameLength(0xF5, 0x80), 418); // MPEG-2 Layer II 64k 22.05 kHz
    EXPECT_EQ(FrameLength(0xFF, 0xC4), 384); // Layer I 384k 48 kHz
    EXPECT_EQ(FrameLength(0xFF, 0xC6), 388);
    EXPECT_EQ(FrameLength(0xF7, 0x44), 128); // MPEG-2 Layer I 64k 24 kHz
    EXPECT_EQ(FrameLength(0xF7, 0x46), 132);
    EXPECT_EQ(Bitrate(0xFB, 0x90), 128000);
    EXPECT_EQ(Bitrate(0xF3, 0x80), 64000);
}

TEST(DocumentMpegHeader, LayerOneWalksByItsRealLengthAndKeepsTheRoundedFigure) {
    using namespace mpeg;
    // 32 kbit/s at 44.1 kHz: 12 x 32000 / 44100 = 8.7 slots of 4 bytes.
    EXPECT_EQ(FrameLength(0xFF, 0x10), 32);
    EXPECT_EQ(FrameLength(0xFF, 0x12), 36);
    EXPECT_EQ(NominalFrameLength(0xFF, 0x10), 35); // the shown reference figure
    for (std::uint8_t index = 1; index < 15; ++index)
        for (std::uint8_t pad : {0, 2}) {
            const std::uint8_t byte3 = std::uint8_t(index << 4 | pad);
            EXPECT_EQ(FrameLength(0xFF, byte3), test::IsoFrameLength(0xFF, byte3)) << int(byte3);
        }
}

TEST(DocumentMpegHeader, MpegTwoPointFiveLengthsComeFromTheRealRate) {
    using namespace mpeg;
    EXPECT_EQ(RealRate(0xE3, 0x28), 8000);
    EXPECT_EQ(FrameLength(0xE3, 0x28), 144); // 16k at 8 kHz: 72 x 16000 / 8000
    EXPECT_EQ(FrameLength(0xE3, 0x80), 418); // 64k at 11.025 kHz: 417.96 rounded
    EXPECT_EQ(FrameLength(0xE3, 0x82), 419);
    EXPECT_EQ(NominalFrameLength(0xE3, 0x28), 144);
}

TEST(DocumentMpegHeader, FreeFormatAndReservedFieldsAreNoCandidates) {
    const std::uint8_t good[4] = {0xFF, 0xFB, 0x90, 0x64};
    EXPECT_TRUE(mpeg::IsCandidate(good));
    const std::uint8_t bad[][4] = {
        {0xFF, 0xFB, 0x00, 0x64}, // free format: no length to walk by
        {0xFF, 0xFB, 0xF0, 0x64}, // bit-rate index 15
        {0xFF, 0xFB, 0x9C, 0x64}, // sampling index 3
        {0xFF, 0xF9, 0x90, 0x64}, // layer 0
        {0xFF, 0xEB, 0x90, 0x64}, // version reserved
        {0xFE, 0xFB, 0x90, 0x64}, {0xFF, 0xDB, 0x90, 0x64},
    };
    for (const auto& h : bad)
        EXPECT_FALSE(mpeg::IsCandidate(h)) << int(h[1]) << " " << int(h[2]);
}

TEST(DocumentMpegHeader, GenreNames) {
    EXPECT_EQ(GenreName(0), "Blues");
    EXPECT_EQ(GenreName(12), "Inny");
    EXPECT_EQ(GenreName(147), "Synth Pop");
    EXPECT_EQ(GenreName(255), "None");
    EXPECT_EQ(GenreName(148), "");
    EXPECT_EQ(GenreName(-1), "");
}

// The encoder settings mapped into LAME's record, the chunk size learned from a
// test stream, the version box, and the capture format derived for LAME.
#include "core/app/ProgramObjects.h"
#include "support/ProgramState.h"
#include "core/app/TextCatalog.h"
#include "core/recording/CaptureFormats.h"
#include "core/recording/LameConfiguration.h"
#include "core/recording/LameTables.h"
#include "platform/lame/FakeLameLibrary.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/ScriptedMessages.h"

#include <QtEndian>
#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

std::uint32_t At(const QByteArray& b, int offset) { return qFromLittleEndian<quint32>(b.constData() + offset); }

class LameConfigurationTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::ResetProgramObjects();
        store = new MemorySettingsStore;
        SetSettingsStore(std::unique_ptr<SettingsStore>(store));
        lame = new FakeLameLibrary;
        previousLame = SetLameLibrary(std::unique_ptr<LameLibrary>(lame));
        messages = new test::ScriptedMessages;
        previousMessages = SetMessageService(std::unique_ptr<MessageService>(messages));
    }
    void TearDown() override {
        SetLameLibrary(std::move(previousLame));
        SetMessageService(std::move(previousMessages));
        SetSettingsStore(nullptr);
    }
    QByteArray record() { return Program().recording.LameConfig.toBytes(); }

    MemorySettingsStore* store = nullptr;
    FakeLameLibrary* lame = nullptr;
    test::ScriptedMessages* messages = nullptr;
    std::unique_ptr<LameLibrary> previousLame;
    std::unique_ptr<MessageService> previousMessages;
};

} // namespace

TEST_F(LameConfigurationTest, DefaultsGiveACbrRecordWithTheMaximumAt320) {
    EXPECT_EQ(ConfigureLameEncoder(Program().recording, true), 4608);
    const QByteArray b = record();
    ASSERT_EQ(b.size(), 86);
    EXPECT_EQ(At(b, 0), 256u);
    EXPECT_EQ(At(b, 4), 1u);
    EXPECT_EQ(At(b, 8), 86u);
    EXPECT_EQ(At(b, 12), 44100u);
    EXPECT_EQ(At(b, 16), 0u);
    EXPECT_EQ(At(b, 20), 1u);   // joint stereo
    EXPECT_EQ(At(b, 24), 128u);
    EXPECT_EQ(At(b, 28), 320u); // LameQualHigh's one default, 13
    EXPECT_EQ(At(b, 32), 2u);
    EXPECT_EQ(At(b, 36), 1u);   // MPEG-1
    EXPECT_EQ(At(b, 48), 1u);
    EXPECT_EQ(At(b, 52), 0u);
    EXPECT_EQ(At(b, 56), 1u);
    EXPECT_EQ(At(b, 60), 1u);
    for (int offset : {40, 44, 64, 68, 72, 76, 80})
        EXPECT_EQ(At(b, offset), 0u) << offset;
    EXPECT_EQ(b.mid(84), QByteArray(2, '\0'));
    EXPECT_EQ(Program().recording.EncoderSampleRate, 44100u);
    EXPECT_EQ(Program().recording.EncoderChannelMode, 1);
    ASSERT_EQ(lame->initConfigs.size(), 1);
    EXPECT_EQ(lame->initConfigs[0], Program().recording.LameConfig);
    EXPECT_EQ(lame->openStreams(), 0); // the test stream is closed again
    EXPECT_TRUE(messages->shown.isEmpty());
}

TEST_F(LameConfigurationTest, VbrRecordCarriesRangeQualityAndHeaderButNoPaddingInTheMethod) {
    store->values = {{"LameVBR", "1"},     {"LameQualLow", "3"}, {"LameQualHigh", "11"},
                     {"LameQual", "4"},    {"LameVBXing", "1"},  {"LamePad", "1"},
                     {"LameBitRate", "2"}, {"LameChanMode", "3"}};
    EXPECT_EQ(ConfigureLameEncoder(Program().recording, false), 2304); // 1152 samples, mono
    const QByteArray b = record();
    EXPECT_EQ(At(b, 20), 3u);
    EXPECT_EQ(At(b, 24), 56u);
    EXPECT_EQ(At(b, 28), 224u);
    EXPECT_EQ(At(b, 64), 1u);
    EXPECT_EQ(At(b, 68), 1u);
    EXPECT_EQ(qFromLittleEndian<qint16>(b.constData() + 72), 4);
    EXPECT_EQ(qFromLittleEndian<quint16>(b.constData() + 74), 0u);
    EXPECT_EQ(At(b, 76), 0u);                           // no ABR
    EXPECT_EQ(At(b, 80), std::uint32_t(VBR_METHOD_DEFAULT)); // padding does not pick a VBR method
}

TEST_F(LameConfigurationTest, AbrSelectsLamesAbrMethodWithItsMeanBitRate) {
    store->values = {{"LameVBR", "1"}, {"LameABR", "1"}, {"LameQualLow", "3"}, {"LameQualHigh", "11"},
                     {"LameBitRate", "8"}, {"LameQual", "4"}};
    ConfigureLameEncoder(Program().recording, false);
    BE_CONFIG c = Program().recording.LameConfig;
    EXPECT_EQ(c.nVbrMethod, VBR_METHOD_ABR);
    EXPECT_EQ(c.dwVbrAbr_bps, 128000u);
    EXPECT_EQ(c.dwBitrate, 56u);
    EXPECT_EQ(c.dwMaxBitrate, 224u);
    EXPECT_EQ(At(record(), 76), 128000u);
    EXPECT_EQ(At(record(), 80), 4u);

    // A mean outside the range is kept inside it.
    store->values["LameBitRate"] = "13";
    ConfigureLameEncoder(Program().recording, false);
    EXPECT_EQ(Program().recording.LameConfig.dwVbrAbr_bps, 224000u);
}

TEST_F(LameConfigurationTest, CbrIgnoresTheVbrOnlyKeys) {
    store->values = {{"LameVBR", "0"}, {"LameVBXing", "1"}, {"LameQual", "7"}, {"LameABR", "1"},
                     {"LameBitRate", "13"}, {"LameQualLow", "2"}, {"LamePad", "1"}};
    ConfigureLameEncoder(Program().recording, false);
    const BE_CONFIG c = Program().recording.LameConfig;
    EXPECT_EQ(c.dwBitrate, 320u);
    EXPECT_EQ(c.bWriteVBRHeader, 0);
    EXPECT_EQ(c.nVBRQuality, 0);
    EXPECT_EQ(c.dwVbrAbr_bps, 0u);
    EXPECT_EQ(c.nVbrMethod, 0);
    EXPECT_EQ(c.bEnableVBR, 0);
}

TEST_F(LameConfigurationTest, IndicesOutsideTheirRowsFallBack) {
    store->values = {{"LameSampleRate", "7"}, {"LameBitRate", "14"}, {"LameQualHigh", "13.5"}};
    ConfigureLameEncoder(Program().recording, false);
    EXPECT_EQ(Program().recording.LameConfig.dwSampleRate, 44100u);
    EXPECT_EQ(Program().recording.LameConfig.dwBitrate, 128u);
    EXPECT_EQ(Program().recording.LameConfig.dwMaxBitrate, 128u);
    store->values = {{"LameSampleRate", "abc"}, {"LameBitRate", "-1"}};
    ConfigureLameEncoder(Program().recording, false);
    EXPECT_EQ(Program().recording.LameConfig.dwSampleRate, 32000u); // non-numeric text counts as 0
    EXPECT_EQ(Program().recording.LameConfig.dwBitrate, 128u);
}

TEST_F(LameConfigurationTest, Mpeg2AndMpeg25IndicesUseTheirOwnRows) {
    store->values = {{"LameMPEGver", "1"}, {"LameSampleRate", "1"}, {"LameBitRate", "3"}, {"LameQualHigh", "13"}};
    ConfigureLameEncoder(Program().recording, false);
    BE_CONFIG c = Program().recording.LameConfig;
    EXPECT_EQ(c.dwSampleRate, 22050u);
    EXPECT_EQ(c.dwBitrate, 32u);
    EXPECT_EQ(c.dwMaxBitrate, 160u);
    EXPECT_EQ(c.dwMpegVersion, MPEG2);
    EXPECT_EQ(Program().recording.EncoderSampleRate, 22050u);

    store->values = {{"LameMPEGver", "2"}, {"LameSampleRate", "0"}, {"LameBitRate", "7"}, {"LameQualHigh", "13"}};
    ConfigureLameEncoder(Program().recording, false);
    c = Program().recording.LameConfig;
    EXPECT_EQ(c.dwSampleRate, 8000u);
    EXPECT_EQ(c.dwBitrate, 64u);
    EXPECT_EQ(c.dwMaxBitrate, 64u); // MPEG-2.5 stops at 64 kbit/s
    EXPECT_EQ(LameBitRates(LameMpegVersion::Mpeg25).last(), 64u);
    EXPECT_EQ(LameSampleRates(LameMpegVersion::Mpeg2), (QList<std::uint32_t>{16000, 22050, 24000}));
}

TEST_F(LameConfigurationTest, ChunkBytesFollowTheChannelMode) {
    lame->samplesPerChunk = 1152;
    for (const char* mode : {"0", "1", "2"}) {
        store->values["LameChanMode"] = mode;
        EXPECT_EQ(ConfigureLameEncoder(Program().recording, false), 4608) << mode;
    }
    store->values["LameChanMode"] = "3";
    EXPECT_EQ(ConfigureLameEncoder(Program().recording, false), 2304);
    lame->samplesPerChunk = 2304; // what the library reports for stereo
    store->values["LameChanMode"] = "1";
    EXPECT_EQ(ConfigureLameEncoder(Program().recording, false), 9216);
}

TEST_F(LameConfigurationTest, EncoderErrorIsShownEvenWithoutMessagesAndLeavesNoStreamOpen) {
    lame->initResult = 2;
    EXPECT_EQ(ConfigureLameEncoder(Program().recording, false), 0);
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].text, "ERR 2");
    EXPECT_EQ(messages->shown[0].style, mb::Critical);
    EXPECT_TRUE(messages->shown[0].title.isEmpty());
}

TEST_F(LameConfigurationTest, LibraryThatWillNotLoadIsReportedOnlyWhenAsked) {
    lame->libraryState = {false, true, "cannot open shared object"};
    EXPECT_EQ(ConfigureLameEncoder(Program().recording, false), 0);
    EXPECT_TRUE(messages->shown.isEmpty());
    EXPECT_EQ(Program().recording.EncoderSampleRate, 44100u); // the record is built all the same
    EXPECT_EQ(ConfigureLameEncoder(Program().recording, true), 0);
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].text, "cannot open shared object");
    lame->libraryState = {false, false, "missing entry point"};
    EXPECT_EQ(ConfigureLameEncoder(Program().recording, true), 0);
    EXPECT_EQ(messages->shown.size(), 1);
    EXPECT_TRUE(lame->initConfigs.isEmpty());
}

TEST_F(LameConfigurationTest, LameCaptureFormatFollowsTheEncoderSettings) {
    QByteArray chosen(68, '\0');
    chosen[0] = 1;
    chosen[2] = 1;
    Program().recording.RecordFormat = chosen;
    store->values = {{"LameChanMode", "3"}, {"LameSampleRate", "2"}};
    ASSERT_GT(ConfigureLameEncoder(Program().recording, true), 0);
    const WaveFormatEx capture = LameCaptureFormat(Program().recording);
    EXPECT_EQ(capture.nChannels, 1);
    EXPECT_EQ(capture.nSamplesPerSec, 48000u);
    EXPECT_EQ(capture.wBitsPerSample, 16);
    EXPECT_EQ(capture.nBlockAlign, 2);
    EXPECT_EQ(capture.nAvgBytesPerSec, 96000u);
    EXPECT_EQ(Program().recording.RecordFormat, chosen);
    EXPECT_EQ(RecordedFormatTag(Program().recording, true), wave::kMpegLayer3);
    EXPECT_EQ(RecordedFormatTag(Program().recording, false), wave::kPcm);
}

TEST_F(LameConfigurationTest, VersionBoxHasFourLines) {
    BE_VERSION& v = lame->version;
    v.byDLLMajorVersion = 1;
    v.byDLLMinorVersion = 32;
    v.byMajorVersion = 3;
    v.byMinorVersion = 100;
    v.wYear = 2026;
    v.byMonth = 12;
    v.byDay = 8;
    qstrcpy(v.zHomepage, "https://lame.example/");
    ShowLameVersion();
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].text, "Lame DLL Version 1.32\rLame Engine Version 3.100\r"
                                       "DLL Release Date 2026-12-8\rLame Homepage URL https://lame.example/");
    EXPECT_EQ(messages->shown[0].style, mb::Information);

    lame->libraryState = {false, false, ""};
    ShowLameVersion(); // unreachable library: zeros and no home page
    EXPECT_EQ(messages->shown[1].text,
              "Lame DLL Version 0.0\rLame Engine Version 0.0\rDLL Release Date 0-0-0\rLame Homepage URL ");
}

TEST(BeConfigRecord, BytesReadBackIntoTheSameRecord) {
    BE_CONFIG c;
    c.dwSampleRate = 22050;
    c.nMode = 3;
    c.nVBRQuality = -1;
    c.dwVbrAbr_bps = 96000;
    c.nVbrMethod = VBR_METHOD_ABR;
    const QByteArray b = c.toBytes();
    EXPECT_EQ(qFromLittleEndian<quint16>(b.constData() + 72), 0xFFFFu);
    EXPECT_EQ(qFromLittleEndian<quint16>(b.constData() + 74), 0u);
    EXPECT_EQ(BE_CONFIG::fromBytes(b), c);
}

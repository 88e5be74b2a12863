// The recording settings as the settings window reads and stores them, the
// tray's time-limit answer, and the encoder reading back what was stored.
#include "core/app/AppSettings.h"
#include "core/app/ProgramObjects.h"
#include "support/ProgramState.h"
#include "core/recording/LameConfiguration.h"
#include "core/recording/RecorderTray.h"
#include "core/recording/RecordingOptions.h"
#include "platform/lame/FakeLameLibrary.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/ScriptedMessages.h"

#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

class RecordingOptionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::ResetProgramObjects();
        store = new MemorySettingsStore;
        SetSettingsStore(std::unique_ptr<SettingsStore>(store));
    }
    void TearDown() override { SetSettingsStore(nullptr); }
    QString stored(const char* key) { return store->values.value(QLatin1String(key)); }

    MemorySettingsStore* store = nullptr;
};

} // namespace

TEST_F(RecordingOptionsTest, FirstUseShowsTheDefaults) {
    const RecordingOptions o = LoadRecordingOptions(2);
    EXPECT_TRUE(o.lameEngine);
    EXPECT_EQ(o.mpegVersion, 0);
    EXPECT_EQ(o.sampleRate, 1);  // 44100 Hz
    EXPECT_EQ(o.bitRate, 8);     // 128 kbit/s
    EXPECT_EQ(o.qualLow, 0);     // 32
    EXPECT_EQ(o.qualHigh, 13);   // 320
    EXPECT_EQ(o.chanMode, 1);
    EXPECT_EQ(o.qualCBR, 2);
    EXPECT_EQ(o.vbrQuality, 5);
    EXPECT_TRUE(o.privateFlag && o.copyright && o.original && o.vbrHeader);
    EXPECT_FALSE(o.crc || o.padding || o.vbr || o.abr || o.speech);
    EXPECT_EQ(o.lameBufLen, 25);
    EXPECT_EQ(o.recBufor, 500);
    EXPECT_EQ(o.deviceIn, 0);
    EXPECT_EQ(o.prefix, "R");
    EXPECT_EQ(o.autoPauseText, "0");
    EXPECT_EQ(o.splitSizeText, "0");
    EXPECT_EQ(o.recordFolder, DefaultRecordingFolder());
    EXPECT_EQ(o.bufferFolder, DefaultRecordingFolder());
}

TEST_F(RecordingOptionsTest, ValuesTheControlsCannotShowReadAsTheirDefaults) {
    store->values = {{"LameBufLen", "0"},    {"RecBufor", "40000"}, {"LameCRC", "2"},
                     {"LamePriv", "abc"},    {"LameChanMode", "7"}, {"LameQualCBR", "1.5"},
                     {"LameQual", "12"},     {"DeviceIn", "3"},     {"LameMPEGver", "5"},
                     {"RecPrefix", "abcdefghijklmnopqrstuvwxyz"}};
    const RecordingOptions o = LoadRecordingOptions(2);
    EXPECT_EQ(o.lameBufLen, 25);
    EXPECT_EQ(o.recBufor, 500);
    EXPECT_FALSE(o.crc);
    EXPECT_FALSE(o.privateFlag); // text without a number counts as 0
    EXPECT_EQ(o.chanMode, 1);
    EXPECT_EQ(o.qualCBR, 2);
    EXPECT_EQ(o.vbrQuality, 5);
    EXPECT_EQ(o.deviceIn, 0); // a device no longer present: the default input
    EXPECT_EQ(o.mpegVersion, 0);
    EXPECT_EQ(o.prefix, "abcdefghijklmnopqrst");
    store->values = {{"DeviceIn", "2"}};
    EXPECT_EQ(LoadRecordingOptions(2).deviceIn, 2);
}

TEST_F(RecordingOptionsTest, RateListsOfAVersionShowTheRatesTheEncoderWillUse) {
    // MPEG-2.5 offers eight bit rates; the stored 128 kbit/s index stands for
    // its highest, 64.
    const LameListSelection s = StoredLameListSelection(2);
    EXPECT_EQ(s.bitRate, 7);
    EXPECT_EQ(s.qualHigh, 7);
    EXPECT_EQ(s.qualLow, 0);
    EXPECT_EQ(s.sampleRate, 1);
    store->values = {{"LameSampleRate", "9"}, {"LameBitRate", "3"}};
    const LameListSelection m2 = StoredLameListSelection(1);
    EXPECT_EQ(m2.sampleRate, 1); // 22050 Hz, the row's middle
    EXPECT_EQ(m2.bitRate, 3);
}

TEST_F(RecordingOptionsTest, SavingStoresEveryKeyAndTheSharedValues) {
    RecordingOptions o = LoadRecordingOptions(3);
    o.lameEngine = false;
    o.mpegVersion = 1;
    o.sampleRate = 2;
    o.vbr = true;
    o.deviceIn = 2;
    o.recordFolder = "/music/rec";
    o.bufferFolder = "/tmp/buf";
    o.prefix = "a:b?c|d<e>\"f*/g\\h";
    o.splitSizeText = "1440";
    SaveRecordingOptions(Program().recording, o);
    EXPECT_EQ(stored("EngineType"), "0");
    EXPECT_EQ(stored("LameMPEGver"), "1");
    EXPECT_EQ(stored("LameSampleRate"), "2");
    EXPECT_EQ(stored("LameQualHigh"), "13"); // the encoder's maximum becomes 320 kbit/s
    EXPECT_EQ(stored("LameVBR"), "1");
    EXPECT_EQ(stored("LameVBXing"), "1");
    EXPECT_EQ(stored("LameBufLen"), "25");
    EXPECT_EQ(stored("RecBufor"), "500");
    EXPECT_EQ(stored("DeviceIn"), "2");
    EXPECT_EQ(Program().recording.CaptureDevice, 1);
    EXPECT_EQ(stored("RecDir"), "/music/rec");
    EXPECT_EQ(Program().recording.RecordFolder, "/music/rec/");
    EXPECT_EQ(stored("TempRecDir"), "/tmp/buf/");
    EXPECT_EQ(Program().recording.TempRecordFolder, "/tmp/buf/");
    EXPECT_EQ(stored("RecPrefix"), "abcdefgh");
    EXPECT_EQ(stored("NewFileRec"), "1440");
    EXPECT_FALSE(store->values.contains("DestFormat"));
}

TEST_F(RecordingOptionsTest, AutomaticPauseIsKeptWithinZeroTo65Seconds) {
    EXPECT_EQ(AutoPauseSeconds("90"), 65);
    EXPECT_EQ(AutoPauseSeconds("-5"), 0);
    EXPECT_EQ(AutoPauseSeconds(""), 0);
    EXPECT_EQ(AutoPauseSeconds("10"), 10);
    RecordingOptions o = LoadRecordingOptions(0);
    o.autoPauseText = "90";
    SaveRecordingOptions(Program().recording, o);
    EXPECT_EQ(stored("AutoPauseRec"), "65");
}

TEST_F(RecordingOptionsTest, AnEmptyFolderKeepsTheOneStoredBeforeNeverTheRoot) {
    store->values = {{"TempRecDir", "/var/tmp/kelbrin/"}, {"RecDir", "/music/"}};
    Program().recording.RecordFolder = "/music/";
    RecordingOptions o = LoadRecordingOptions(0);
    o.bufferFolder.clear();
    o.recordFolder = "  ";
    SaveRecordingOptions(Program().recording, o);
    EXPECT_EQ(stored("TempRecDir"), "/var/tmp/kelbrin/");
    EXPECT_EQ(Program().recording.TempRecordFolder, "/var/tmp/kelbrin/");
    EXPECT_EQ(stored("RecDir"), "/music/");
    EXPECT_EQ(Program().recording.RecordFolder, "/music/");

    store->values.clear();
    o.bufferFolder.clear();
    SaveRecordingOptions(Program().recording, o);
    EXPECT_EQ(stored("TempRecDir"), DefaultRecordingFolder());
    EXPECT_NE(stored("TempRecDir"), "/");
}

TEST_F(RecordingOptionsTest, BufferTooltipCountsWholeKilobytes) {
    EXPECT_EQ(LameBlockSizeText(4608, 25), "112 KB"); // 115200 bytes
    EXPECT_EQ(LameBlockSizeText(2304, 1), "2 KB");
    EXPECT_EQ(LameBlockSizeText(0, 25), "0 KB");      // no encoder
}

TEST_F(RecordingOptionsTest, TheEncoderReadsWhatTheWindowStored) {
    auto* lame = new FakeLameLibrary;
    auto previousLame = SetLameLibrary(std::unique_ptr<LameLibrary>(lame));
    RecordingOptions o = LoadRecordingOptions(0);
    o.mpegVersion = 1;
    o.sampleRate = 1; // 22050 Hz in the MPEG-2 row
    o.bitRate = 3;    // 32 kbit/s there
    o.chanMode = 3;
    SaveRecordingOptions(Program().recording, o);
    EXPECT_EQ(ConfigureLameEncoder(Program().recording, false), 2304);
    EXPECT_EQ(Program().recording.EncoderSampleRate, 22050u);
    EXPECT_EQ(Program().recording.LameConfig.dwBitrate, 32u);
    EXPECT_EQ(Program().recording.EncoderChannelMode, 3);
    SetLameLibrary(std::move(previousLame));
}

TEST(RecorderTrayRules, TimeLimitAnswers) {
    EXPECT_EQ(ApplyTimeLimitAnswer(30, "+15"), 45);
    EXPECT_EQ(ApplyTimeLimitAnswer(30, "-20"), 20);
    EXPECT_EQ(ApplyTimeLimitAnswer(30, ""), 30);
    EXPECT_EQ(ApplyTimeLimitAnswer(30, "abc"), 0);
    EXPECT_EQ(ApplyTimeLimitAnswer(30, "+-7"), 37);
    EXPECT_EQ(ApplyTimeLimitAnswer(0, "90"), 90);
    EXPECT_EQ(ApplyTimeLimitAnswer(2147483000, "+99999"), 2147483647);
}

TEST(RecorderTrayRules, TooltipHoldsAtMost63Characters) {
    EXPECT_EQ(TrayTooltip(QString(70, 'x')).size(), 63);
    EXPECT_EQ(TrayTooltip("2 : 5 (2)"), "2 : 5 (2)");
}

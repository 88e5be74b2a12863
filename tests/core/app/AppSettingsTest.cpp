#include "core/app/AppSettings.h"
#include "core/app/SharedState.h"
#include "core/app/TextCatalog.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/ScriptedMessages.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

class RecordingFirstRun : public FirstRunIntegration {
public:
    void createDesktopShortcut(const QString& title, const QString& program,
                               const QString& folder) override {
        shortcuts.append(title + "|" + program + "|" + folder);
    }
    void registerProjectFileType() override { ++registrations; }
    QStringList shortcuts;
    int registrations = 0;
};

class LoadSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSharedState();
        store = new MemorySettingsStore;
        SetSettingsStore(std::unique_ptr<SettingsStore>(store));
        Catalog().setLanguage("ENGLISH");
        dir = test::MakeTempDir("settings");
        env.programFolder = dir + "/bin/";
        env.programFile = "/nonexistent/kelbrin"; // no program file: no shortcut
        env.tempFolder = "/var/tmp";
        env.mediaFolder = "/home/user/Music";
        env.formatFile = dir + "/formatex.ini";
        env.firstRun = &firstRun;
    }
    void TearDown() override { SetSettingsStore(nullptr); }

    MemorySettingsStore* store = nullptr;
    QString dir;
    LoadSettingsEnvironment env;
    RecordingFirstRun firstRun;
};

} // namespace

TEST_F(LoadSettingsTest, FirstStartSeedsTheDefaultsAndSecondStartWritesNothing) {
    LoadSettings(env);
    const QMap<QString, QString> expected = {
        {"TempRecDir", "/var/tmp/"}, {"ExactSave", "1"},       {"RecBufor", "500"},
        {"S_Buf", "100000"},         {"EngineType", "1"},      {"DestPath", "/home/user/Music"},
        {"RecDir", "/home/user/Music/"}, {"ViewNode", "1"},    {"SPath", "/home/user/Music/"},
        {"OverTake", "150"}};
    EXPECT_EQ(store->values, expected);
    EXPECT_EQ(firstRun.registrations, 1);

    const SharedState& s = Shared();
    EXPECT_EQ(s.TempRecordFolder, "/var/tmp/");
    EXPECT_EQ(s.RecordFolder, "/home/user/Music/");
    EXPECT_EQ(s.DestFolder, "/home/user/Music");
    EXPECT_EQ(s.SourceFolder, "/home/user/Music/");
    EXPECT_EQ(s.MoveStep, 5);
    EXPECT_EQ(s.MouseSensitivity, 150);
    EXPECT_FLOAT_EQ(s.OverTakeSeconds, 0.15f);
    EXPECT_EQ(s.CaptureDevice, -1);
    EXPECT_FALSE(s.UseOldAlgorithm);

    store->writes.clear();
    LoadSettings(env);
    EXPECT_TRUE(store->writes.isEmpty());
    EXPECT_EQ(firstRun.registrations, 1);
}

TEST_F(LoadSettingsTest, ShortcutIsMadeOnlyWhenTheProgramFileExists) {
    QFile program(dir + "/kelbrin");
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.close();
    env.programFile = program.fileName();
    env.programFolder = dir + "/";
    LoadSettings(env);
    ASSERT_EQ(firstRun.shortcuts.size(), 1);
    EXPECT_EQ(firstRun.shortcuts[0], "MP3 Dravon |" + program.fileName() + "|" + dir);
}

TEST_F(LoadSettingsTest, StoredValuesAreReadNumericallyAndClamped) {
    store->values = {{"TempRecDir", "/t/"}, {"RecDir", "/rec"},    {"OverTake", "250"},
                     {"OldAlg", "1.0"},     {"DeviceIn", "3"},     {"Move", "2.5"},
                     {"MouseSens", "5000"}, {"SPath", "/src/"},    {"DestPath", "/dst"}};
    LoadSettings(env);
    const SharedState& s = Shared();
    EXPECT_EQ(s.RecordFolder, "/rec/");
    EXPECT_FLOAT_EQ(s.OverTakeSeconds, 0.25f);
    EXPECT_TRUE(s.UseOldAlgorithm);
    EXPECT_EQ(s.CaptureDevice, 2);
    EXPECT_EQ(s.MoveStep, 2);
    EXPECT_EQ(s.MouseSensitivity, kMouseSensMax);
    EXPECT_EQ(s.DestFolder, "/dst");
    EXPECT_EQ(firstRun.registrations, 0);
    EXPECT_EQ(store->values.value("RecDir"), "/rec"); // stored as it was

    store->values["MouseSens"] = "-4";
    store->values["Move"] = "0";
    store->values["DeviceIn"] = "";
    LoadSettings(env);
    EXPECT_EQ(s.MouseSensitivity, kMouseSensMin);
    EXPECT_EQ(s.MoveStep, 1);
    EXPECT_EQ(store->values.value("DeviceIn"), "0");
    EXPECT_EQ(s.CaptureDevice, -1);
}

TEST_F(LoadSettingsTest, FormatFileFillsTheFormatRecord) {
    QByteArray whole(68, '\0');
    whole.replace(0, 18, QByteArray("\x01\x00\x02\x00\x44\xac\x00\x00\x10\xb1\x02\x00\x04\x00\x10\x00\x00\x00", 18));
    test::WriteFile(env.formatFile, whole);
    LoadSettings(env);
    EXPECT_EQ(Shared().RecordFormat, whole);
}

TEST_F(LoadSettingsTest, DamagedFormatFileIsRefusedWithAMessage) {
    auto* messages = new test::ScriptedMessages;
    auto previous = SetMessageService(std::unique_ptr<MessageService>(messages));
    test::WriteFile(env.formatFile, QByteArray("\x55\x00\x02\x00", 4)); // shorter than a whole record
    LoadSettings(env);
    const QByteArray& r = Shared().RecordFormat;
    ASSERT_EQ(r.size(), 68);
    EXPECT_EQ(r, QByteArray(68, '\0'));
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].textNumber, 6402);
    SetMessageService(std::move(previous));
}

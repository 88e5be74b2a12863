#include "core/app/AppSettings.h"
#include "core/app/ProgramObjects.h"
#include "support/ProgramState.h"
#include "core/app/TextCatalog.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/ScriptedMessages.h"
#include "platform/shell/FakeDesktopIntegration.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

class LoadSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::ResetProgramObjects();
        store = new MemorySettingsStore;
        SetSettingsStore(std::unique_ptr<SettingsStore>(store));
        Catalog().load(test::SourceDir() + "/resources/Kelbrin.ini");
        Catalog().setLanguage("ENGLISH");
        dir = test::MakeTempDir("settings");
        env.programFolder = dir + "/bin/";
        env.programFile = test::WriteFile(dir + "/bin/kelbrin", "program");
        env.tempFolder = "/var/tmp";
        env.mediaFolder = "/home/user/Music";
        env.formatFile = dir + "/formatex.ini";
        env.desktop = &desktop;
    }
    void TearDown() override { SetSettingsStore(nullptr); }

    MemorySettingsStore* store = nullptr;
    QString dir;
    LoadSettingsEnvironment env;
    FakeDesktopIntegration desktop;
};

} // namespace

TEST_F(LoadSettingsTest, FirstStartSeedsTheDefaultsAndSecondStartWritesNothing) {
    LoadSettings(Program().settings, Program().recording, env);
    const QMap<QString, QString> expected = {
        {"TempRecDir", "/var/tmp/"}, {"ExactSave", "1"},       {"RecBufor", "500"},
        {"S_Buf", "100000"},         {"EngineType", "1"},      {"DestPath", "/home/user/Music"},
        {"RecDir", "/home/user/Music/"}, {"ViewNode", "1"},    {"SPath", "/home/user/Music/"},
        {"OverTake", "150"},         {"DesktopIntegration", "1"}};
    EXPECT_EQ(store->values, expected);
    EXPECT_EQ(desktop.shortcuts, QStringList{"MP3 Dravon|" + env.programFile + "|" + dir + "/bin"});
    EXPECT_EQ(desktop.registrations, QStringList{"MP3 Dravon|MP3 Dravon batch script"});

    const ProgramObjects& s = Program();
    EXPECT_EQ(s.recording.TempRecordFolder, "/var/tmp/");
    EXPECT_EQ(s.recording.RecordFolder, "/home/user/Music/");
    EXPECT_EQ(s.settings.DestFolder, "/home/user/Music");
    EXPECT_EQ(s.settings.SourceFolder, "/home/user/Music/");
    EXPECT_EQ(s.settings.MoveStep, 5);
    EXPECT_EQ(s.settings.MouseSensitivity, 150);
    EXPECT_FLOAT_EQ(s.settings.OverTakeSeconds, 0.15f);
    EXPECT_EQ(s.recording.CaptureDevice, -1);
    EXPECT_FALSE(s.settings.UseOldAlgorithm);

    store->writes.clear();
    LoadSettings(Program().settings, Program().recording, env);
    EXPECT_TRUE(store->writes.isEmpty());
    EXPECT_EQ(desktop.registrations.size(), 1);
}

TEST_F(LoadSettingsTest, WithoutTheProgramFileNoLauncherIsWrittenAndTheMarkStaysUnspent) {
    env.programFile = dir + "/nonexistent/kelbrin";
    LoadSettings(Program().settings, Program().recording, env);
    EXPECT_TRUE(desktop.shortcuts.isEmpty());
    EXPECT_EQ(desktop.registrations.size(), 1);
    EXPECT_FALSE(store->values.contains("DesktopIntegration"));
    EXPECT_EQ(store->values.value("SPath"), "/home/user/Music/");
}

TEST_F(LoadSettingsTest, TheFirstRunMarkIsSpentOnlyWhenTheIntegrationWasWritten) {
    desktop.failTypes = true;
    LoadSettings(Program().settings, Program().recording, env);
    EXPECT_EQ(desktop.registrations.size(), 1);
    EXPECT_FALSE(store->values.contains("DesktopIntegration"));
    EXPECT_TRUE(store->values.contains("SPath")); // the source folder is seeded all the same

    // The next start tries again, and succeeds.
    desktop.failTypes = false;
    LoadSettings(Program().settings, Program().recording, env);
    EXPECT_EQ(desktop.registrations.size(), 2);
    EXPECT_EQ(store->values.value("DesktopIntegration"), "1");

    store->writes.clear();
    LoadSettings(Program().settings, Program().recording, env);
    EXPECT_EQ(desktop.registrations.size(), 2);
    EXPECT_TRUE(store->writes.isEmpty());

    // A failed launcher keeps the mark unspent too.
    store->values.remove("DesktopIntegration");
    store->values.remove("SPath");
    desktop = FakeDesktopIntegration();
    desktop.failShortcut = true;
    LoadSettings(Program().settings, Program().recording, env);
    EXPECT_EQ(desktop.shortcuts.size(), 1);
    EXPECT_FALSE(store->values.contains("DesktopIntegration"));
}

TEST_F(LoadSettingsTest, EarlierUsersGetTheLauncherOnceOnTheirNextStart) {
    // Started before the integration existed: SPath is set, no launcher.
    store->values = {{"TempRecDir", "/t/"}, {"RecDir", "/rec/"}, {"SPath", "/src/"},
                     {"DestPath", "/dst"},  {"OverTake", "150"}};
    LoadSettings(Program().settings, Program().recording, env);
    EXPECT_EQ(desktop.shortcuts.size(), 1);
    EXPECT_EQ(desktop.registrations.size(), 1);
    EXPECT_EQ(store->values.value("DesktopIntegration"), "1");
    EXPECT_EQ(store->values.value("SPath"), "/src/");

    // Once: a launcher the user removed later is not put back.
    desktop.shortcutWritten = false;
    LoadSettings(Program().settings, Program().recording, env);
    EXPECT_EQ(desktop.shortcuts.size(), 1);

    // Users whose launcher is already there are left alone, and nothing is written.
    store->values.remove("DesktopIntegration");
    desktop.shortcutWritten = true;
    store->writes.clear();
    LoadSettings(Program().settings, Program().recording, env);
    EXPECT_EQ(desktop.shortcuts.size(), 1);
    EXPECT_TRUE(store->writes.isEmpty());
}

TEST_F(LoadSettingsTest, StoredValuesAreReadNumericallyAndClamped) {
    store->values = {{"TempRecDir", "/t/"}, {"RecDir", "/rec"},    {"OverTake", "250"},
                     {"OldAlg", "1.0"},     {"DeviceIn", "3"},     {"Move", "2.5"},
                     {"MouseSens", "5000"}, {"SPath", "/src/"},    {"DestPath", "/dst"},
                     {"DesktopIntegration", "1"}};
    LoadSettings(Program().settings, Program().recording, env);
    const ProgramObjects& s = Program();
    EXPECT_EQ(s.recording.RecordFolder, "/rec/");
    EXPECT_FLOAT_EQ(s.settings.OverTakeSeconds, 0.25f);
    EXPECT_TRUE(s.settings.UseOldAlgorithm);
    EXPECT_EQ(s.recording.CaptureDevice, 2);
    EXPECT_EQ(s.settings.MoveStep, 2);
    EXPECT_EQ(s.settings.MouseSensitivity, kMouseSensMax);
    EXPECT_EQ(s.settings.DestFolder, "/dst");
    EXPECT_TRUE(desktop.registrations.isEmpty());
    EXPECT_EQ(store->values.value("RecDir"), "/rec"); // stored as it was

    store->values["MouseSens"] = "-4";
    store->values["Move"] = "0";
    store->values["DeviceIn"] = "";
    LoadSettings(Program().settings, Program().recording, env);
    EXPECT_EQ(s.settings.MouseSensitivity, kMouseSensMin);
    EXPECT_EQ(s.settings.MoveStep, 1);
    EXPECT_EQ(store->values.value("DeviceIn"), "0");
    EXPECT_EQ(s.recording.CaptureDevice, -1);
}

TEST_F(LoadSettingsTest, FormatFileFillsTheFormatRecord) {
    QByteArray whole(68, '\0');
    whole.replace(0, 18, QByteArray("\x01\x00\x02\x00\x44\xac\x00\x00\x10\xb1\x02\x00\x04\x00\x10\x00\x00\x00", 18));
    test::WriteFile(env.formatFile, whole);
    LoadSettings(Program().settings, Program().recording, env);
    EXPECT_EQ(Program().recording.RecordFormat, whole);
}

TEST_F(LoadSettingsTest, DamagedFormatFileIsRefusedWithAMessage) {
    auto* messages = new test::ScriptedMessages;
    auto previous = SetMessageService(std::unique_ptr<MessageService>(messages));
    test::WriteFile(env.formatFile, QByteArray("\x55\x00\x02\x00", 4)); // shorter than a whole record
    LoadSettings(Program().settings, Program().recording, env);
    const QByteArray& r = Program().recording.RecordFormat;
    ASSERT_EQ(r.size(), 68);
    EXPECT_EQ(r, QByteArray(68, '\0'));
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].textNumber, 6402);
    SetMessageService(std::move(previous));
}

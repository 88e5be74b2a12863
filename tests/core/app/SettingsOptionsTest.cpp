#include "core/app/AppSettings.h"
#include "core/app/SettingsOptions.h"
#include "core/app/SoundCards.h"
#include "platform/media/FakeMediaPlatform.h"
#include "platform/media/VirtualClock.h"
#include "support/ProgramState.h"
#include "support/ScriptedMessages.h"

#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

class SettingsOptionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        store = test::FreshProgramState();
        auto owned = std::make_unique<FakeMediaPlatform>(clock);
        media = owned.get();
        previousMedia = SetMediaPlatform(std::move(owned));
        previousMessages = SetMessageService(std::make_unique<test::ScriptedMessages>());
    }
    void TearDown() override {
        SetMediaPlatform(std::move(previousMedia));
        SetMessageService(std::move(previousMessages));
    }
    // What closing the dialog stores when nothing was touched.
    void openAndClose(const QString& device = QString()) {
        SettingsOptions o = LoadSettingsOptions(Program());
        o.device = device;
        SaveSettingsOptions(Program().settings, Program().outputs, o);
    }

    VirtualClock clock;
    MemorySettingsStore* store = nullptr;
    FakeMediaPlatform* media = nullptr;
    std::unique_ptr<MediaPlatform> previousMedia;
    std::unique_ptr<MessageService> previousMessages;
};

TEST_F(SettingsOptionsTest, MissingKeysShowAndStoreTheProgramsOwnDefaults) {
    LoadSettings(Program().settings, Program().recording); // as start-up does
    const LoadedSettings before = Program().settings;
    const SettingsOptions o = LoadSettingsOptions(Program());
    EXPECT_EQ(o.moveText, "5");
    EXPECT_EQ(o.overTakeText, "150");
    EXPECT_EQ(o.fontSize, 8);
    EXPECT_EQ(o.nodeSize, 450);
    EXPECT_EQ(o.mouseSensitivity, 150);
    EXPECT_EQ(o.fileNaming, 0);
    EXPECT_FALSE(o.askRemove || o.autoOpen || o.autoSave);
    EXPECT_TRUE(o.oneOutputForAll);
    EXPECT_FALSE(o.destFolder.isEmpty());
    EXPECT_TRUE(o.sourceFolder.endsWith('/'));

    openAndClose("Default DirectSound Device");
    EXPECT_EQ(store->values["Move"], "5");
    EXPECT_EQ(store->values["FontSize"], "8");
    EXPECT_EQ(store->values["NodeSize"], "450");
    EXPECT_EQ(store->values["OverTake"], "150");
    EXPECT_EQ(store->values["MouseSens"], "150");
    EXPECT_EQ(store->values["MultiDevices"], "0");
    EXPECT_EQ(Program().settings.MoveStep, before.MoveStep);
    EXPECT_EQ(Program().settings.OverTakeSeconds, before.OverTakeSeconds);
    EXPECT_EQ(Program().settings.MouseSensitivity, before.MouseSensitivity);
    EXPECT_EQ(Program().settings.DestFolder, before.DestFolder);
    EXPECT_EQ(Program().settings.SourceFolder, before.SourceFolder);

    // From then on, opening and closing changes nothing at all.
    const auto stored = store->values;
    openAndClose("Default DirectSound Device");
    EXPECT_EQ(store->values, stored);
}

TEST_F(SettingsOptionsTest, StoredValuesSurviveOpeningAndClosing) {
    store->values = {{"Move", "12"},        {"FontSize", "14"},  {"NodeSize", "600"},
                     {"MouseSens", "300"},  {"OverTake", "250"}, {"FileNaming", "2"},
                     {"AskRemove", "1"},    {"AutoOpen", "1"},   {"AutoSave", "1"},
                     {"MultiDevices", "1"}, {"DestPath", "/music/out"}, {"SPath", "/music/in/"},
                     {"DefSoundCard", "USB Headset"}};
    LoadSettings(Program().settings, Program().recording);
    const auto stored = store->values;
    openAndClose("USB Headset");
    EXPECT_EQ(store->values, stored);
    EXPECT_FALSE(Program().outputs.UseDefaultRenderer);
    EXPECT_FLOAT_EQ(Program().settings.OverTakeSeconds, 0.25f);
    EXPECT_EQ(Program().settings.MoveStep, 12);
}

TEST_F(SettingsOptionsTest, ValuesOutsideAControlsRangeAreClampedWhenShown) {
    struct Case {
        const char* key;
        const char* stored;
        std::function<QString(const SettingsOptions&)> shown;
        const char* expected;
    } cases[] = {
        {"FontSize", "3", [](auto& o) { return QString::number(o.fontSize); }, "6"},
        {"FontSize", "99", [](auto& o) { return QString::number(o.fontSize); }, "30"},
        // A node size outside 200..1000 is the main window's default, as it draws it.
        {"NodeSize", "150", [](auto& o) { return QString::number(o.nodeSize); }, "450"},
        {"NodeSize", "5000", [](auto& o) { return QString::number(o.nodeSize); }, "450"},
        {"NodeSize", "200", [](auto& o) { return QString::number(o.nodeSize); }, "200"},
        {"MouseSens", "900", [](auto& o) { return QString::number(o.mouseSensitivity); }, "600"},
        {"MouseSens", "20", [](auto& o) { return QString::number(o.mouseSensitivity); }, "100"},
        {"FileNaming", "7", [](auto& o) { return QString::number(o.fileNaming); }, "3"},
        {"FileNaming", "-1", [](auto& o) { return QString::number(o.fileNaming); }, "0"},
        {"Move", "0", [](auto& o) { return o.moveText; }, "1"},
        {"Move", "2.5", [](auto& o) { return o.moveText; }, "2"},
        {"Move", "abc", [](auto& o) { return o.moveText; }, "1"},
        {"OverTake", "150.6", [](auto& o) { return o.overTakeText; }, "151"},
    };
    for (const Case& c : cases) {
        store->values.clear();
        store->values[c.key] = c.stored;
        EXPECT_EQ(c.shown(LoadSettingsOptions(Program())), c.expected) << c.key << "=" << c.stored;
    }
}

TEST_F(SettingsOptionsTest, ClosingStoresWhatTheBoxesHoldByTheirRules) {
    SettingsOptions o = LoadSettingsOptions(Program());
    o.overTakeText = "";
    o.moveText = "0";
    o.destFolder.clear();
    o.sourceFolder.clear();
    o.oneOutputForAll = false;
    o.device = "";
    const QString dest = store->values["DestPath"];
    SaveSettingsOptions(Program().settings, Program().outputs, o);
    EXPECT_EQ(store->values["OverTake"], "100");
    EXPECT_FLOAT_EQ(Program().settings.OverTakeSeconds, 0.1f);
    EXPECT_EQ(store->values["Move"], "1");
    EXPECT_EQ(Program().settings.MoveStep, 1);
    EXPECT_EQ(store->values["DestPath"], dest) << "an empty folder is not stored";
    EXPECT_EQ(store->values["MultiDevices"], "1");
    EXPECT_FALSE(Program().outputs.UseDefaultRenderer);
    EXPECT_EQ(store->values["DefSoundCard"], "");
    o.overTakeText = "40";
    o.moveText = "7";
    SaveSettingsOptions(Program().settings, Program().outputs, o);
    EXPECT_EQ(store->values["OverTake"], "40");
    EXPECT_EQ(store->values["Move"], "7");
}

TEST_F(SettingsOptionsTest, RefreshDropsTheSelectedDeviceAndKeepsTheRest) {
    Program().outputs.SoundCards = {"Default DirectSound Device", "Old Card", "", "null"};
    RefreshSoundCards(Program().outputs, "Old Card");
    EXPECT_EQ(store->values["SoundCardS"], "`Default DirectSound Device`null`");
    EXPECT_EQ(Program().outputs.SoundCards, (QStringList{"Default DirectSound Device", "null"}));
    EXPECT_EQ(media->deviceListings, 0);
}

TEST_F(SettingsOptionsTest, RefreshOfTheOnlyDeviceEnumeratesAfresh) {
    Program().outputs.SoundCards = {"Old Card"};
    store->values["SoundCardS"] = "`Old Card`";
    media->devices = {"New Card"};
    RefreshSoundCards(Program().outputs, "Old Card");
    EXPECT_EQ(media->deviceListings, 1);
    EXPECT_EQ(Program().outputs.SoundCards, (QStringList{"Default DirectSound Device", "New Card", "null"}));
    EXPECT_EQ(store->values["SoundCardS"], "`Default DirectSound Device`New Card`null`");
}

TEST_F(SettingsOptionsTest, ADeviceAddedByHandJoinsTheListAndTheCache) {
    AddSoundCard(Program().outputs, "Hand Made");
    EXPECT_EQ(store->values["SoundCardS"], "`Hand Made`");
    store->values["SoundCardS"] = ""; // emptied by a refresh
    AddSoundCard(Program().outputs, "Second");
    EXPECT_EQ(store->values["SoundCardS"], "`Second`");
    QStringList names;
    AppendStoredSoundCards(names, store->values["SoundCardS"]);
    EXPECT_EQ(names, QStringList{"Second"});
    EXPECT_EQ(Program().outputs.SoundCards, (QStringList{"Hand Made", "Second"}));
}

} // namespace

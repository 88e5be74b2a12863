#include "core/app/PlaybackGraphs.h"
#include "core/app/SoundCards.h"
#include "core/app/TextCatalog.h"
#include "platform/media/FakeMediaPlatform.h"
#include "platform/media/VirtualClock.h"
#include "support/ProgramState.h"
#include "support/ScriptedMessages.h"

#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

class SoundCardList : public ::testing::Test {
protected:
    void SetUp() override {
        store = test::FreshProgramState();
        auto owned = std::make_unique<FakeMediaPlatform>(clock);
        media = owned.get();
        previousMedia = SetMediaPlatform(std::move(owned));
        auto scripted = std::make_unique<test::ScriptedMessages>();
        messages = scripted.get();
        previousMessages = SetMessageService(std::move(scripted));
    }
    void TearDown() override {
        SetMediaPlatform(std::move(previousMedia));
        SetMessageService(std::move(previousMessages));
    }
    QList<int> shownTexts() const {
        QList<int> numbers;
        for (const auto& m : messages->shown)
            numbers.append(m.textNumber);
        return numbers;
    }

    VirtualClock clock;
    MemorySettingsStore* store = nullptr;
    FakeMediaPlatform* media = nullptr;
    test::ScriptedMessages* messages = nullptr;
    std::unique_ptr<MediaPlatform> previousMedia;
    std::unique_ptr<MessageService> previousMessages;
};

TEST_F(SoundCardList, AStoredListIsReadBackWithoutRepeatsAndNothingIsAsked) {
    store->values["SoundCardS"] = "`A`B`A`";
    store->values["DefSoundCard"] = "B";
    EnumerateSoundCards(Program().outputs);
    EXPECT_EQ(Program().outputs.SoundCards, (QStringList{"A", "B"}));
    EXPECT_EQ(store->values["DefSoundCard"], "B");
    EXPECT_EQ(store->values["SoundCardS"], "`A`B`A`");
    EXPECT_EQ(media->deviceListings, 0);
}

TEST_F(SoundCardList, StoredListRules) {
    struct Case {
        const char* stored;
        QStringList names;
    } cases[] = {
        {"`A``B`", {"A", "", "B"}},     // an empty name counts once, like any other
        {"``x``", {"", "x"}},
        {"`A`B`tail", {"A", "B"}},      // text after the last separator is ignored
        {"XA`B`", {"A", "B"}},          // the first character always counts as a separator
        {"`Speakers (USB)`Line Out`", {"Speakers (USB)", "Line Out"}},
    };
    for (const Case& c : cases) {
        QStringList names;
        AppendStoredSoundCards(names, c.stored);
        EXPECT_EQ(names, c.names) << c.stored;
    }
    EXPECT_EQ(StoredSoundCardsText({"A", "B"}), "`A`B`");
    EXPECT_EQ(StoredSoundCardsText({}), "");
}

TEST_F(SoundCardList, AFirstRunListsTheDefaultTheDevicesAndNullAndStoresThem) {
    media->devices = {"Built-in Audio Analog Stereo", "USB Headset"};
    EnumerateSoundCards(Program().outputs);
    const QStringList expected{kDefaultOutputName, "Built-in Audio Analog Stereo", "USB Headset", "null"};
    EXPECT_EQ(Program().outputs.SoundCards, expected);
    EXPECT_EQ(store->values["DefSoundCard"], "Default DirectSound Device");
    EXPECT_EQ(store->values["SoundCardS"],
              "`Default DirectSound Device`Built-in Audio Analog Stereo`USB Headset`null`");
    EXPECT_TRUE(messages->shown.isEmpty());

    // The next start reads the cache and asks the devices no more.
    Program().outputs.SoundCards.clear();
    media->devices.clear();
    EnumerateSoundCards(Program().outputs);
    EXPECT_EQ(Program().outputs.SoundCards, expected);
    EXPECT_EQ(media->deviceListings, 1);
}

TEST_F(SoundCardList, WithoutAnyDeviceTheDefaultAndNullStayAvailableAndNothingIsStored) {
    EnumerateSoundCards(Program().outputs);
    EXPECT_EQ(Program().outputs.SoundCards, (QStringList{kDefaultOutputName, "null"}));
    EXPECT_EQ(shownTexts(), QList<int>{3170});
    EXPECT_EQ(messages->shown.first().style, 64);
    EXPECT_FALSE(store->values.contains("SoundCardS"));
    EXPECT_FALSE(store->values.contains("DefSoundCard"));
}

TEST_F(SoundCardList, StartUpAsksNoDeviceAndTheFirstWindowToShowTheListDoes) {
    media->devices = {"USB Headset"};
    store->values["MultiDevices"] = "1";
    EXPECT_FALSE(LoadStoredSoundCards(Program().outputs));
    EXPECT_FALSE(Program().outputs.UseDefaultRenderer);
    EXPECT_TRUE(Program().outputs.SoundCards.isEmpty());
    EXPECT_EQ(media->deviceListings, 0);

    EnsureSoundCards(Program().outputs);
    EnsureSoundCards(Program().outputs);
    EXPECT_EQ(Program().outputs.SoundCards, (QStringList{kDefaultOutputName, "USB Headset", "null"}));
    EXPECT_EQ(media->deviceListings, 1);
}

TEST_F(SoundCardList, UseDefaultRendererFollowsMultiDevices) {
    store->values["SoundCardS"] = "`A`";
    for (auto [value, expected] : {std::pair{"", true}, {"0", true}, {"0.0", true}, {"1", false}, {"2", false}}) {
        if (*value)
            store->values["MultiDevices"] = value;
        else
            store->values.remove("MultiDevices");
        Program().outputs.UseDefaultRenderer = !expected;
        EnumerateSoundCards(Program().outputs);
        EXPECT_EQ(Program().outputs.UseDefaultRenderer, expected) << value;
    }
}

TEST_F(SoundCardList, GraphsUseTheDefaultOutputUnlessTracksHaveTheirOwn) {
    Program().outputs.UseDefaultRenderer = true;
    auto graph = BuildPlaybackGraph(Program().outputs, "/m/a.mp3", "USB Headset", false);
    ASSERT_NE(graph, nullptr);
    EXPECT_EQ(media->built.last().device, kDefaultOutputName);

    Program().outputs.UseDefaultRenderer = false;
    media->devices = {"USB Headset"};
    ASSERT_NE(BuildPlaybackGraph(Program().outputs, "/m/a.mp3", "USB Headset", false), nullptr);
    EXPECT_EQ(media->built.last().device, "USB Headset");
    ASSERT_NE(BuildPlaybackGraph(Program().outputs, "/m/a.mp3", "USB Headset", true), nullptr);
    EXPECT_EQ(media->built.last().device, kDefaultOutputName) << "the caller's flag wins";
    EXPECT_TRUE(messages->shown.isEmpty());
}

TEST_F(SoundCardList, AGraphThatCannotBeBuiltIsText3162AndNoGraph) {
    Program().outputs.UseDefaultRenderer = false;
    media->unplayable = {"/m/broken.mp3"};
    EXPECT_EQ(BuildPlaybackGraph(Program().outputs, "/m/a.mp3", "  ", false), nullptr);
    EXPECT_TRUE(media->built.isEmpty() && media->failed.isEmpty()) << "a blank name asks nothing";
    EXPECT_EQ(BuildPlaybackGraph(Program().outputs, "/m/a.mp3", "Unplugged Card", false), nullptr);
    EXPECT_EQ(BuildPlaybackGraph(Program().outputs, "/m/broken.mp3", "null", false), nullptr);
    Program().outputs.UseDefaultRenderer = true;
    EXPECT_EQ(BuildPlaybackGraph(Program().outputs, "/m/broken.mp3", "", false), nullptr);
    EXPECT_EQ(shownTexts(), (QList<int>{3162, 3162, 3162, 3162}));
    for (const auto& m : messages->shown) {
        EXPECT_EQ(m.style, 64);
        EXPECT_TRUE(m.title.isEmpty());
    }
    EXPECT_TRUE(media->built.isEmpty());
}

} // namespace

// The mixer diagnostics: the boxes they show for what the mixers report, and
// the real ALSA layer on whatever this machine has (often no sound card).
#include "core/app/MessageService.h"
#include "core/app/TextCatalog.h"
#include "encoder-server/mixer/Mikser.h"
#include "platform/mixer/AlsaMixerSystem.h"
#include "platform/mixer/FakeMixerSystem.h"
#include "support/ScriptedMessages.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace kelbrin;
using namespace kelbrin::test;

namespace {

class MixerListingTest : public ::testing::Test {
protected:
    void SetUp() override {
        Catalog().load(SourceDir() + "/resources/Kelbrin.ini");
        Catalog().setLanguage("ENGLISH");
        auto scripted = std::make_unique<ScriptedMessages>();
        messages = scripted.get();
        previous = SetMessageService(std::move(scripted));
    }
    void TearDown() override { SetMessageService(std::move(previous)); }

    QStringList texts() const {
        QStringList out;
        for (const MessageRequest& r : messages->shown) {
            EXPECT_EQ(r.style, mb::OkOnly);
            EXPECT_TRUE(r.title.isEmpty());
            out << r.text;
        }
        return out;
    }

    ScriptedMessages* messages = nullptr;
    std::unique_ptr<MessageService> previous;
};

FakeMixerDeviceData CardWithCapture() {
    FakeMixerDeviceData card;
    card.destinations.insert(0, MixerLine{"Out", "Out", 0x0, mixer::PlaybackDestination, 2, 1, 1});
    card.destinations.insert(1, MixerLine{QStringLiteral("Mic In") + QChar(0) + "junk", "Mic", 0x10001,
                                          mixer::CaptureDestination, 2, 2, 2});
    card.controls.insert(0x10001, {{4, "Mic Capture Volume", "Mic"}, {5, "Mic Capture Switch", "Mic"}});
    card.values.insert(4, {42, 43});
    return card;
}

} // namespace

TEST_F(MixerListingTest, ListsTheCaptureLineAndEachControlWithItsFirstValue) {
    FakeMixerSystem mixers;
    mixers.devices << CardWithCapture();
    ListMixers(mixers);
    EXPECT_EQ(texts(), (QStringList{
                           "Mic In",
                           "Source name: Mic In  (Mic)\rLine ID: 10001\rComponent type: 2\rControl count: 2\r"
                           "Connnections: 2",
                           "Mic Capture Volume,Mic",
                           "42",
                           "Mic Capture Switch,Mic", // its value cannot be read: no box
                       }));
    EXPECT_EQ(mixers.opened, 1);
    EXPECT_EQ(mixers.closed, 1);
}

TEST_F(MixerListingTest, SkipsDevicesThatDoNotOpenAndLinesWithoutSources) {
    FakeMixerSystem mixers;
    FakeMixerDeviceData broken = CardWithCapture();
    broken.opens = false;
    FakeMixerDeviceData lonely;
    lonely.destinations.insert(1, MixerLine{"Rec", "Rec", 0x20001, mixer::CaptureDestination, 1, 0, 0});
    FakeMixerDeviceData noCapture;
    mixers.devices << broken << lonely << noCapture;
    ListMixers(mixers);
    EXPECT_EQ(texts(), QStringList{"Rec"});
    EXPECT_EQ(mixers.opened, 2);
    EXPECT_EQ(mixers.closed, 2);
}

TEST_F(MixerListingTest, AlsaLayerListsThisMachinesCardsWithoutFailing) {
    AlsaMixerSystem alsa;
    const int cards = alsa.deviceCount();
    EXPECT_GE(cards, 0);
    EXPECT_EQ(alsa.open(cards), nullptr);
    EXPECT_EQ(alsa.open(-1), nullptr);
    ListMixers(alsa);
    if (cards == 0) {
        EXPECT_TRUE(messages->shown.isEmpty());
        return;
    }
    // With sound cards every opened one names its capture line first.
    EXPECT_FALSE(messages->shown.isEmpty());
    auto device = alsa.open(0);
    ASSERT_NE(device, nullptr);
    const auto line = device->destinationLine(mixer::kCaptureDestination);
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(device->lineControls(line->lineId).size(), line->controls);
}

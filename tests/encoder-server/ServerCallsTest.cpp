// Calls from the editor while the server shows a box: the box's event loop
// serves them, so they must neither wait on the box nor pull the loop away
// under it.
#include "ServerFixture.h"

#include "encoder-server/ServerTexts.h"
#include "platform/mixer/FakeMixerSystem.h"

#include <functional>

using namespace kelbrin;
using namespace kelbrin::test;

namespace {

// Boxes that, while open, let the test act as the event loop would.
class BoxWithEvents final : public MessageService {
public:
    int showMessage(const MessageRequest& request) override {
        shown.append(request.textNumber);
        if (whileOpen) {
            auto once = std::move(whileOpen);
            whileOpen = nullptr;
            once();
        }
        return mb::Ok;
    }
    std::optional<QString> inputBox(const InputRequest&) override { return std::nullopt; }

    QList<int> shown;
    std::function<void()> whileOpen;
};

class ServerCallsTest : public ServerFixture {
protected:
    void SetUp() override {
        ServerFixture::SetUp();
        auto owned = std::make_unique<BoxWithEvents>();
        boxes = owned.get();
        scripted = SetMessageService(std::move(owned));
        auto mixerSystem = std::make_unique<FakeMixerSystem>();
        FakeMixerDeviceData card;
        card.destinations.insert(1, MixerLine{"Capture", "Cap", 0x10001, mixer::CaptureDestination, 2, 0, 0});
        mixerSystem->devices.append(card);
        oldMixers = SetMixers(std::move(mixerSystem));
    }
    void TearDown() override {
        server.reset();
        SetMixers(std::move(oldMixers));
        SetMessageService(std::move(scripted));
        ServerFixture::TearDown();
    }
    BoxWithEvents* boxes = nullptr;

private:
    std::unique_ptr<MessageService> scripted;
    std::unique_ptr<MixerSystem> oldMixers;
};

} // namespace

TEST_F(ServerCallsTest, TheEditorLeavingWhileADiagnosticsBoxIsOpenEndsTheLoopAfterItsPass) {
    settings->values.insert("RecHeight", "1"); // the mixer listing opens boxes inside the loop
    for (const bool release : {true, false}) {
        SCOPED_TRACE(release ? "released" : "UNINIT");
        ASSERT_TRUE(init());
        append(3, 4608);
        boxes->whileOpen = [&] {
            if (release)
                server->shutdown(); // the client released the object, or left the bus
            else
                server->UNINIT();
        };
        const int encodedBefore = lame->encodedSamples.size();
        server->Start(0);
        clock->advance(0);
        // The pass that held the box went no further, and the files are finished.
        EXPECT_EQ(lame->encodedSamples.size(), encodedBefore);
        EXPECT_TRUE(editor->serverEnded());
        EXPECT_EQ(server->DajStanPliku(), 0);
        EXPECT_EQ(lame->vbrHeaderPaths.size(), release ? 1 : 2);
        clock->advance(100); // the loop is let go once its pass has returned
        EXPECT_FALSE(server->loopRunning());
        editor->reset();
        buffer.resize(0);
    }
}

TEST_F(ServerCallsTest, ALongBacklogIsDrainedInTurnsSoTheEditorsCallsAreAnswered) {
    ASSERT_TRUE(init());
    append(40, 4608);
    editor->requestFinish();
    server->Start(0);
    // A call from the editor waiting behind the loop's first pass.
    qint64 convertedWhenAnswered = -1;
    int stateWhenAnswered = 0;
    clock->callAfter(0, [&] {
        convertedWhenAnswered = settings->values.value(handshake::kConverted).toLongLong();
        stateWhenAnswered = server->DajStan();
    });
    clock->advance(0);
    EXPECT_GT(convertedWhenAnswered, 0);
    EXPECT_LT(convertedWhenAnswered, 40);
    EXPECT_EQ(stateWhenAnswered, 1);
    // The backlog is still encoded whole and in order.
    EXPECT_EQ(lame->encodedSamples.size(), 80);
    EXPECT_TRUE(editor->serverEnded());
}

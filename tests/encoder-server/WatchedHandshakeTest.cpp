// The conversion loop on the real settings file, shared with an editor that
// writes it through a store of its own as the other process would: the
// editor's writes start the server's next pass at once, and while nothing
// happens the server leaves the file alone instead of looking every 20 ms.
#include "ServerFixture.h"

#include "platform/settings/QtSettingsStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>

using namespace kelbrin;
using namespace kelbrin::test;

namespace {

// The server process's store, counting its syncs (each one a look at the file).
class CountingStore final : public SettingsStore {
public:
    QString read(const QString& key, const QString& defaultValue) override {
        return inner.read(key, defaultValue);
    }
    void write(const QString& key, const QString& value) override { inner.write(key, value); }
    bool contains(const QString& key) override { return inner.contains(key); }
    void sync() override {
        ++syncs;
        inner.sync();
    }
    std::unique_ptr<SettingsWatch> watch(std::function<void()> changed) override {
        return inner.watch(std::move(changed));
    }
    QString folder() const override { return inner.folder(); }
    QtSettingsStore inner;
    int syncs = 0;
};

class WatchedHandshake : public ServerFixture {
protected:
    void SetUp() override {
        ServerFixture::SetUp();
        auto store = std::make_unique<CountingStore>();
        serverStore = store.get();
        memoryStore = SetSettingsStore(std::move(store));
        editorStore.write("RecDir", folder + "/");
        editorStore.write("EngineType", "1");
        editorStore.write("RecBufor2", "4608");
        editor = std::make_unique<CaptureHandshake>(editorStore);
        editor->reset();
        ASSERT_TRUE(init());
        server->Start(0);
        clock->advance(0); // the first pass: nothing written yet
    }
    void TearDown() override {
        server.reset();
        editor.reset();
        SetSettingsStore(std::move(memoryStore));
        ServerFixture::TearDown();
    }
    // Lets the notices of the file arrive, and the calls due now run, until
    // `done` or `ms` (five seconds); no time passes on the program clock.
    template <typename Done> bool settle(Done done, int ms = 5000) {
        QElapsedTimer waited;
        waited.start();
        while (!done() && waited.elapsed() < ms) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            clock->advance(0);
        }
        return done();
    }

    QtSettingsStore editorStore;
    CountingStore* serverStore = nullptr;

private:
    std::unique_ptr<SettingsStore> memoryStore;
};

} // namespace

TEST_F(WatchedHandshake, TheEditorsWritesWakeTheServerWhichOtherwiseStaysIdle) {
    const QByteArray block(4608, 1);
    ASSERT_TRUE(editor->appendBlock(buffer, block.constData(), block.size()));
    EXPECT_TRUE(settle([&] { return lame->encodedSamples.size() == 2; }))
        << "the block waits for a poll";
    EXPECT_TRUE(settle([&] { return editor->blocksAcknowledged() == 1; }));

    // Two quiet seconds: a look or two at the file, not one every 20 ms.
    settle([] { return false; }, 300);
    const int before = serverStore->syncs;
    for (int ms = 0; ms < 2000; ms += 20)
        clock->advance(20);
    EXPECT_LE(serverStore->syncs - before, 6);

    // The next block and the end come as soon as the editor writes them.
    ASSERT_TRUE(editor->appendBlock(buffer, block.constData(), block.size()));
    editor->requestFinish();
    EXPECT_TRUE(settle([&] { return editor->serverEnded(); })) << "the end waits for a poll";
    EXPECT_EQ(lame->encodedSamples.size(), 4);
    EXPECT_EQ(editor->endReason(), handshake::kEndedAsAsked);
}

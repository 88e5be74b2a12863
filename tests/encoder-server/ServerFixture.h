#pragma once
// The encoder server's class in this process, on virtual time, with the
// settings, codecs, encoder and messages replaced; the test plays the editor
// through its own handshake object on the same store.
#include "encoder-server/StreamServer.h"

#include "core/recording/RecordingHandshake.h"
#include "platform/codecs/FakeCodecLibrary.h"
#include "platform/lame/FakeLameLibrary.h"
#include "platform/media/VirtualClock.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/ScriptedMessages.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace kelbrin::test {

class ServerFixture : public ::testing::Test {
protected:
    void SetUp() override {
        auto store = std::make_unique<MemorySettingsStore>();
        settings = store.get();
        oldStore = SetSettingsStore(std::move(store));
        auto clockPtr = std::make_unique<VirtualClock>();
        clock = clockPtr.get();
        oldClock = SetProgramClock(std::move(clockPtr));
        auto lamePtr = std::make_unique<FakeLameLibrary>();
        lame = lamePtr.get();
        oldLame = SetLameLibrary(std::move(lamePtr));
        auto codecPtr = std::make_unique<FakeCodecLibrary>();
        codecs = codecPtr.get();
        oldCodecs = SetCodecLibrary(std::move(codecPtr));
        auto messagesPtr = std::make_unique<ScriptedMessages>();
        messages = messagesPtr.get();
        oldMessages = SetMessageService(std::move(messagesPtr));

        base = MakeTempDir("case");
        folder = base + "/rec";
        QDir().mkpath(folder);
        settings->values.insert("RecDir", folder + "/");
        settings->values.insert("EngineType", "1");
        settings->values.insert("RecBufor2", "4608");
        bufferPath = base + "/Bufor-1.tmp";
        buffer.setFileName(bufferPath);
        ASSERT_TRUE(buffer.open(QIODevice::WriteOnly | QIODevice::Truncate));
        editor = std::make_unique<CaptureHandshake>(*settings);
        editor->reset();
    }
    void TearDown() override {
        server.reset();
        editor.reset();
        SetMessageService(std::move(oldMessages));
        SetCodecLibrary(std::move(oldCodecs));
        SetLameLibrary(std::move(oldLame));
        SetProgramClock(std::move(oldClock));
        SetSettingsStore(std::move(oldStore));
    }

    // The editor's part: INIT with the buffer file, then Start.
    bool init(int speech = 0) {
        server = std::make_unique<StreamServer>(*clock);
        server->UstawStanZapisu(speech);
        return server->INIT(base + "/formatex.ini", bufferPath);
    }
    void append(int count, qint64 size, char fill = 1) {
        const QByteArray block(size, fill);
        for (int i = 0; i < count; ++i)
            ASSERT_TRUE(editor->appendBlock(buffer, block.constData(), block.size()));
    }
    // The codec format the editor chose, as its "formatex.ini".
    void writeFormatFile(const WaveFormatEx& format) {
        QFile file(base + "/formatex.ini");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(format.toRecord());
    }
    QStringList outputs() const {
        return QDir(folder).entryList(QDir::Files, QDir::Name);
    }
    QByteArray read(const QString& name) const {
        QFile f(folder + "/" + name);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }

    MemorySettingsStore* settings = nullptr;
    VirtualClock* clock = nullptr;
    FakeLameLibrary* lame = nullptr;
    FakeCodecLibrary* codecs = nullptr;
    ScriptedMessages* messages = nullptr;
    QString base;
    QString folder;
    QString bufferPath;
    QFile buffer;
    std::unique_ptr<CaptureHandshake> editor;
    std::unique_ptr<StreamServer> server;

private:
    std::unique_ptr<SettingsStore> oldStore;
    std::unique_ptr<Clock> oldClock;
    std::unique_ptr<LameLibrary> oldLame;
    std::unique_ptr<CodecLibrary> oldCodecs;
    std::unique_ptr<MessageService> oldMessages;
};

} // namespace kelbrin::test

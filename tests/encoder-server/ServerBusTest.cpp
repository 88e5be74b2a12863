// capturon as the editor meets it: a private session bus from dbus-run-session
// with this test's own XDG folders, the server registered by "/RegServer" and
// started by the bus, and the test in the editor's role writing the buffer
// file and driving the handshake against the real encoders.
#include "support/RecorderClientAnswers.h"
#include "core/recording/RecorderClient.h"
#include "core/recording/RecordingHandshake.h"
#include "core/recording/FormatFile.h"
#include "core/recording/LameConfiguration.h"
#include "encoder-server/ServiceRegistration.h"
#include "platform/codecs/CodecLibrary.h"
#include "platform/lame/LameLibrary.h"
#include "platform/settings/SettingsStore.h"
#include "platform/shell/ComponentActivation.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDeadlineTimer>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QThread>
#include <QtEndian>
#include <cmath>
#include <gtest/gtest.h>
#include <optional>
#include <signal.h>

using namespace kelbrin;
using namespace kelbrin::test;

namespace {

class SessionBus : public ::testing::Environment {
public:
    void SetUp() override {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("KELBRIN_AUTO_ANSWER", "ok");    // the server's boxes answer themselves
        env.insert("KELBRIN_SERVER_JITTER_MS", "1"); // and its pace is uneven
        session.setProcessEnvironment(env);
        session.start("dbus-run-session",
                      {"--", "sh", "-c", "echo \"$DBUS_SESSION_BUS_ADDRESS\"; exec cat >/dev/null"});
        if (session.waitForStarted(5000) && session.waitForReadyRead(10000))
            qputenv("DBUS_SESSION_BUS_ADDRESS", session.readLine().trimmed());
    }
    void TearDown() override {
        session.closeWriteChannel(); // the shell ends, and with it the bus
        if (!session.waitForFinished(10000))
            session.kill();
    }
    QProcess session;
};
const auto* const kBus = ::testing::AddGlobalTestEnvironment(new SessionBus);

QString Server() { return RuntimeDir() + "/capturon"; }

bool ServiceRunning() {
    return QDBusConnection::sessionBus().interface()->isServiceRegistered(DBusClassNames::service()).value();
}

template <typename Pred> bool WaitFor(Pred pred, int ms) {
    for (int waited = 0; waited < ms; waited += 10) {
        if (pred())
            return true;
        QThread::msleep(10);
    }
    return pred();
}


QByteArray ReadAll(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

QString RunProgram(const QString& program, const QStringList& args, int* exitCode = nullptr) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    if (exitCode)
        *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromUtf8(p.readAllStandardOutput());
}

std::unique_ptr<RecorderClient> Activate() {
    int code = -1;
    RunProgram(Server(), {"/RegServer"}, &code);
    if (code != 0)
        return nullptr;
    DBusComponentActivator activator;
    auto object = activator.create(RecorderClassName());
    return object ? std::make_unique<RecorderClient>(std::move(object)) : nullptr;
}

// 16-bit stereo sine blocks.
QByteArray SineBlock(qint64 bytes, qint64 firstFrame, int rate) {
    QByteArray block(bytes, '\0');
    auto* s = reinterpret_cast<qint16*>(block.data());
    for (qint64 i = 0; i < bytes / 4; ++i) {
        const double v = 12000 * std::sin(2 * M_PI * 440 * double(firstFrame + i) / rate);
        s[2 * i] = s[2 * i + 1] = static_cast<qint16>(std::lround(v));
    }
    return block;
}

// The editor's part of one recording.
struct EditorRecording {
    QString folder = MakeTempDir("rec");
    QString bufferPath = folder + "/../Bufor-1.tmp";
    QFile buffer{bufferPath};
    CaptureHandshake handshake;
    RecorderClient& client;

    explicit EditorRecording(RecorderClient& c, int speech = 0) : client(c) {
        SaveSetting("RecDir", folder + "/");
        Settings().sync();
        buffer.open(QIODevice::WriteOnly | QIODevice::Truncate);
        handshake.reset();
        client.UstawStanZapisu(speech);
    }
    bool start() {
        if (!Opened(client, FormatFilePath(), bufferPath))
            return false;
        client.Start(200);
        return true;
    }
    bool append(const QByteArray& block) { return handshake.appendBlock(buffer, block.constData(), block.size()); }
    // The part of a block of `blockSize` captured before a stop or a pause.
    bool appendPart(const QByteArray& part, qint64 blockSize) {
        return handshake.appendBlock(buffer, part.constData(), part.size(), blockSize);
    }
    // Stop as the recorder window does, and take the files.
    QStringList finish() {
        buffer.close();
        handshake.requestFinish();
        if (!WaitFor([&] { return handshake.serverEnded(); }, 120000))
            return {};
        client.UNINIT();
        QStringList paths;
        for (const QString& name : client.strFileRec())
            paths.append(folder + "/" + name);
        return paths;
    }
};

} // namespace

TEST(ServerBus, RegisteredServerIsStartedByTheBusServesTheClassAndEndsWhenReleased) {
    ASSERT_FALSE(qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"));
    ASSERT_FALSE(ServiceRunning());
    // As at the editor's first start: the class cannot be created until the
    // server has registered itself, and then the bus starts it.
    QFile::remove(ActivationFilePath());
    EXPECT_EQ(DBusComponentActivator().create(RecorderClassName()), nullptr);
    int code = -1;
    RunProgram(Server(), {"/RegServer"}, &code);
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(ReadAll(ActivationFilePath()).contains(("Exec=\"" + QDir(RuntimeDir()).absoluteFilePath("capturon") + "\"").toUtf8()));
    EXPECT_FALSE(ServiceRunning()); // registering starts nothing

    DBusComponentActivator activator;
    auto object = activator.create(RecorderClassName());
    ASSERT_NE(object, nullptr);
    const uint pid = QDBusConnection::sessionBus().interface()->servicePid(DBusClassNames::service()).value();
    ASSERT_GT(pid, 0u);
    {
        RecorderClient client(std::move(object));
        client.UstawStanZapisu(7);
        EXPECT_EQ(Answered(client, &RecorderClient::DajStan), 7);
        EXPECT_EQ(Answered(client, &RecorderClient::DajStanPliku), 0);
        EXPECT_TRUE(client.strFileRec().isEmpty());

        const QString introspection = RunProgram("gdbus", {"introspect", "--session", "--dest", DBusClassNames::service(),
                                                    "--object-path", DBusClassNames::path(RecorderClassName())});
        for (const char* member : {"UstawStanZapisu", "INIT", "Start", "DajStan", "DajStanPliku", "UNINIT",
                                   "strFileRec"})
            EXPECT_TRUE(introspection.contains(QString(member) + "(")) << member;
    }
    EXPECT_TRUE(WaitFor([] { return !ServiceRunning(); }, 10000));
    EXPECT_TRUE(WaitFor([pid] { return ::kill(static_cast<pid_t>(pid), 0) != 0; }, 10000));
}

TEST(ServerBus, TheServerEndsWhenItsClientLeavesTheBus) {
    ASSERT_TRUE(WriteActivationFile(QDir(RuntimeDir()).absoluteFilePath("capturon")));
    int code = -1;
    // gdbus is the client here: it calls once and leaves.
    const QString reply = RunProgram("gdbus", {"call", "--session", "--dest", DBusClassNames::service(), "--object-path",
                                               DBusClassNames::path(RecorderClassName()), "--method",
                                               DBusClassNames::interface(RecorderClassName()) + ".DajStan"},
                                     &code);
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(reply.startsWith("(0,)")) << reply.toStdString();
    EXPECT_TRUE(WaitFor([] { return !ServiceRunning(); }, 10000));
}

TEST(ServerBus, LameRecordingDecodesToTheWrittenLength) {
    auto client = Activate();
    ASSERT_NE(client, nullptr);
    SaveSetting("EngineType", "1");
    SaveSetting("LameSampleRate", "1"); // 44100 Hz
    SaveSetting("LameChanMode", "1");
    SaveSetting("NewFileRec", "0");
    std::uint32_t chunk = 0, outSize = 0;
    HBE_STREAM stream = 0;
    ASSERT_EQ(Lame().beInitStream(BuildLameConfig(ReadLameSettings()), &chunk, &outSize, &stream), 0u);
    Lame().beCloseStream(stream);
    const qint64 blockBytes = qint64(chunk) * 2 * 25;
    SaveSetting("RecBufor2", QString::number(blockBytes));

    EditorRecording rec(*client);
    ASSERT_TRUE(rec.start());
    qint64 frames = 0;
    for (int i = 0; i < 12; ++i) {
        ASSERT_TRUE(rec.append(SineBlock(blockBytes, frames, 44100)));
        frames += blockBytes / 4;
    }
    const QStringList files = rec.finish();
    ASSERT_EQ(files.size(), 1);
    EXPECT_TRUE(files[0].endsWith(".mp3"));
    int code = -1;
    QProcess mpg;
    mpg.start("mpg123", {"-q", "-s", files[0]});
    ASSERT_TRUE(mpg.waitForFinished(60000));
    const qint64 decoded = mpg.readAllStandardOutput().size() / 4;
    code = mpg.exitCode();
    EXPECT_EQ(code, 0);
    EXPECT_LE(std::llabs(decoded - frames), 1152) << decoded << " decoded, " << frames << " written";
    client.reset();
    EXPECT_TRUE(WaitFor([] { return !ServiceRunning(); }, 10000));
}

TEST(ServerBus, CodecWaveFilesSplitBySizeWithListsAndSoundHeaders) {
    const QList<CodecFormat> formats = Codecs().formats(wave::kImaAdpcm);
    WaveFormatEx chosen;
    for (const CodecFormat& f : formats)
        if (f.format.nChannels == 2 && f.format.nSamplesPerSec == 22050)
            chosen = f.format;
    ASSERT_EQ(chosen.wFormatTag, wave::kImaAdpcm);
    ASSERT_TRUE(SaveFormatFile(FormatFilePath(), chosen.toRecord()));
    SaveSetting("EngineType", "0");
    SaveSetting("RecBufor", "100"); // 51200-byte blocks
    SaveSetting("NewFileRec", "60"); // KB per file

    auto client = Activate();
    ASSERT_NE(client, nullptr);
    EditorRecording rec(*client, 1);
    ASSERT_TRUE(rec.start());
    qint64 frames = 0;
    for (int i = 0; i < 16; ++i) {
        ASSERT_TRUE(rec.append(SineBlock(51200, frames, 22050)));
        frames += 51200 / 4;
    }
    // Stopped 10000 bytes into the next block: that part is recorded too.
    ASSERT_TRUE(rec.appendPart(SineBlock(10000, frames, 22050), 51200));
    frames += 10000 / 4;
    const QStringList files = rec.finish();
    ASSERT_GE(files.size(), 3);
    const int samplesPerBlock = qFromLittleEndian<quint16>(chosen.extra.constData());
    ASSERT_GT(samplesPerBlock, 0);
    const QRegularExpression pattern("/R\\d{4}__\\d\\d_\\d\\d_\\d\\d(_\\d+)?\\.wav$");
    qint64 factTotal = 0;
    for (const QString& path : files) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_TRUE(pattern.match(path).hasMatch());
        EXPECT_TRUE(QFile::exists(QString(path).replace(".wav", ".tim")));
        const QByteArray wav = ReadAll(path);
        ASSERT_GT(wav.size(), 60);
        auto le32 = [&](int at) { return qFromLittleEndian<quint32>(wav.constData() + at); };
        EXPECT_EQ(wav.left(4), "RIFF");
        EXPECT_EQ(le32(4), quint32(wav.size() - 8));
        EXPECT_EQ(le32(16), quint32(18 + chosen.cbSize));
        const int fact = 20 + int(le32(16));
        EXPECT_EQ(wav.mid(fact, 4), "fact");
        factTotal += le32(fact + 8);
        EXPECT_EQ(wav.mid(fact + 12, 4), "data");
        const quint32 data = le32(fact + 16);
        EXPECT_EQ(qint64(data) + fact + 20 + (data % 2), wav.size());
        // The count is what this file's codec blocks hold; only the last
        // block of the recording is filled up with silence.
        const qint64 held = qint64(data / chosen.nBlockAlign) * samplesPerBlock;
        if (path != files.last())
            EXPECT_EQ(le32(fact + 8), held);
        else
            EXPECT_TRUE(le32(fact + 8) <= held && le32(fact + 8) > held - samplesPerBlock) << le32(fact + 8);
        int code = -1;
        const QString probe = RunProgram("ffprobe", {"-v", "error", "-show_entries", "stream=codec_name,channels",
                                              "-of", "default=nw=1", path}, &code);
        EXPECT_EQ(code, 0);
        EXPECT_TRUE(probe.contains("codec_name=adpcm_ima_wav")) << probe.toStdString();
    }
    EXPECT_EQ(factTotal, frames);
}

TEST(ServerBus, TenThousandBlocksWithUnevenPaceArriveOnceAndInOrder) {
    WaveFormatEx pcm = WaveFormatEx::pcm(2, 8000, 16);
    ASSERT_TRUE(SaveFormatFile(FormatFilePath(), pcm.toRecord()));
    SaveSetting("EngineType", "0");
    SaveSetting("RecBufor", "1"); // 512-byte blocks
    SaveSetting("NewFileRec", "0");
    auto client = Activate();
    ASSERT_NE(client, nullptr);
    EditorRecording rec(*client);
    ASSERT_TRUE(rec.start());

    constexpr int kBlocks = 10000;
    QByteArray block(512, '\0');
    auto* s = reinterpret_cast<qint16*>(block.data());
    qint64 largestBuffer = 0;
    int restarts = 0;
    int burst = 0;
    auto* random = QRandomGenerator::global();
    for (int seq = 0; seq < kBlocks; ++seq) {
        for (int i = 0; i < 256; ++i)
            s[i] = static_cast<qint16>(i % 2 ? seq >> 8 : seq & 0xff) ^ static_cast<qint16>(i << 4);
        const qint64 base = rec.handshake.ringBase();
        ASSERT_TRUE(rec.append(block)) << seq;
        restarts += rec.handshake.ringBase() != base;
        largestBuffer = std::max(largestBuffer, rec.buffer.size());
        if (random->bounded(2))
            QThread::usleep(random->bounded(1000));
        // Now and then the capture pauses long enough for the server to catch up.
        if (++burst >= 200 + int(random->bounded(200))) {
            burst = 0;
            WaitFor([&] { return rec.handshake.backlog() == 0; }, 30000);
        }
    }
    const QStringList files = rec.finish();
    ASSERT_EQ(files.size(), 1);
    const QByteArray wav = ReadAll(files[0]);
    ASSERT_EQ(wav.size(), 56 + qint64(kBlocks) * 512);
    for (int seq = 0; seq < kBlocks; ++seq) {
        const auto* out = reinterpret_cast<const qint16*>(wav.constData() + 56 + qint64(seq) * 512);
        for (int i = 0; i < 256; ++i) {
            const qint16 expected = static_cast<qint16>(i % 2 ? seq >> 8 : seq & 0xff) ^ static_cast<qint16>(i << 4);
            ASSERT_EQ(out[i], expected) << "block " << seq << " value " << i;
        }
    }
    // The file restarted whenever the server had caught up, and so stayed short.
    EXPECT_GE(restarts, 20);
    EXPECT_LE(largestBuffer, 400 * 512);
}

TEST(ServerBus, TheServerEndsWithItsBusAndWhenNoClientEverCalls) {
    // A bus of its own for each run, so ending it spares the other tests'.
    auto run = [](bool endTheBus, int idleMs) {
        QProcess daemon;
        daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        EXPECT_TRUE(daemon.waitForStarted(5000) && daemon.waitForReadyRead(5000));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DBUS_SESSION_BUS_ADDRESS", QString::fromUtf8(daemon.readLine().trimmed()));
        env.insert("KELBRIN_SERVER_IDLE_MS", QString::number(idleMs));
        QProcess server;
        server.setProcessEnvironment(env);
        server.start(Server(), {});
        EXPECT_TRUE(server.waitForStarted(5000));
        EXPECT_FALSE(server.waitForFinished(1000)); // it serves
        if (endTheBus) {
            daemon.kill();
            daemon.waitForFinished(5000);
        }
        const bool ended = server.waitForFinished(10000);
        if (!ended)
            server.kill();
        server.waitForFinished(5000);
        daemon.kill();
        daemon.waitForFinished(5000);
        return ended;
    };
    EXPECT_TRUE(run(true, 600000)) << "still running after its bus ended";
    EXPECT_TRUE(run(false, 2000)) << "still running with no client";
}

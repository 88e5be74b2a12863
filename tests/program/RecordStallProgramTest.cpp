// A recording whose encoder server stops answering goes on capturing: the
// window's thread, which writes the captured blocks to the buffer file, does
// not wait for the frozen server, so the file grows at the sound card's pace
// and an editor killed meanwhile leaves all it captured.
#include "RecordProgramFixture.h"

#include <QRegularExpression>
#include <QSettings>

namespace {

using RecordStallProgramTest = kelbrin::test::RecordProgramFixture;

constexpr qint64 kBytesPerSecond = 44100 * 2 * 2; // the test source as the recorder captures it
constexpr int kFrozenSamples = 40;                // 0.2 s apart: eight seconds of a frozen server

struct Sample {
    qint64 ms = 0;
    qint64 bytes = 0;
};

QList<Sample> ReadSamples(const QString& path) {
    QList<Sample> samples;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return samples;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QList<QByteArray> fields = line.trimmed().split(' ');
        if (fields.size() == 2)
            samples.append({fields[0].toLongLong() / 1000000, fields[1].toLongLong()});
    }
    return samples;
}

// The longest time the file's size stood still between the first and last samples.
qint64 LongestStandstill(const QList<Sample>& samples) {
    qint64 longest = 0;
    qint64 since = samples.isEmpty() ? 0 : samples.first().ms;
    for (qsizetype i = 1; i < samples.size(); ++i) {
        if (samples[i].bytes != samples[i - 1].bytes)
            since = samples[i].ms;
        longest = std::max(longest, samples[i].ms - since);
    }
    return longest;
}

} // namespace

TEST_F(RecordStallProgramTest, CapturedBlocksReachTheBufferFileWhileTheServerIsFrozen) {
    if (!needsServer())
        GTEST_SKIP() << "no encoder server (capturon) in " << kelbrin::test::RuntimeDir().toStdString();
    // Two seconds into the recording the server is stopped: it keeps its name
    // on the bus and answers nothing. The buffer file is looked at for eight
    // seconds, then the editor is killed as a crash would end it, and the
    // file is looked at once more. Both processes are killed in the end,
    // whatever happens (a stopped server outlives its bus).
    const QString pids = home + "/pids";
    const QString sizes = home + "/sizes";
    const QString buffer = quoted(home + "/buffer/Bufor-1.tmp");
    const QString sample = "echo \"$(date +%s%N) $(stat -c %s " + buffer + ")\" >> " + quoted(sizes);
    const QString freezeAndWatch =
        "echo $k > " + quoted(pids) + "; until ls " + quoted(records) + " | grep -q mp3; do sleep 0.2; done; sleep 2; "
        "s=" + serverPid() + "; echo $s >> " + quoted(pids) + "; kill -STOP $s; i=0; while [ $i -lt " +
        QString::number(kFrozenSamples) + " ]; do " + sample + "; sleep 0.2; i=$((i+1)); done; kill -9 $k; " +
        sample + "; kill -9 $s";
    const QString line = quoted(capturon) + " /RegServer && { " + quoted(kelbrin) + " -rec 1 & k=$!; " +
                         freezeAndWatch + "; wait $k; }";
    const bool ended = runOnSessionBus(line, 120000);
    if (!ended)
        killListed(pids);
    ASSERT_TRUE(ended) << stderrText.toStdString();

    const QList<Sample> samples = ReadSamples(sizes);
    ASSERT_EQ(samples.size(), kFrozenSamples + 1) << stderrText.toStdString();
    const QList<Sample> frozen = samples.mid(0, kFrozenSamples);
    const QSettings conf(home + "/config/Pelorin/Kelbrin.conf", QSettings::IniFormat);
    const qint64 block = conf.value("Kelbrin/RecBufor2").toLongLong();
    ASSERT_GT(block, 0);
    const qint64 blockMs = block * 1000 / kBytesPerSecond;

    // Block by block, at the capture's pace: no block waits for the server.
    EXPECT_LE(LongestStandstill(frozen), 2 * blockMs + 1000) << "one block lasts " << blockMs << " ms";
    // And what the editor captured while the server was frozen was in the
    // file when it was killed, but for the blocks still being filled.
    const qint64 frozenMs = samples.last().ms - samples.first().ms;
    const qint64 grown = samples.last().bytes - samples.first().bytes;
    EXPECT_GE(grown, frozenMs * kBytesPerSecond / 1000 - 2 * block)
        << grown << " bytes in " << frozenMs << " ms, blocks of " << block;
}

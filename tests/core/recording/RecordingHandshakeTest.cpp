// The block protocol between the editor's capture side and the encoder server:
// both sides share one store here, each through its own handshake object.
#include "core/recording/RecordingHandshake.h"
#include "platform/settings/MemorySettingsStore.h"
#include "platform/settings/QtSettingsStore.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

using namespace kelbrin;
using namespace kelbrin::handshake;

namespace {

constexpr qint64 kBlock = 8;

QByteArray Block(char fill) { return QByteArray(kBlock, fill); }

struct Recording {
    MemorySettingsStore store;
    CaptureHandshake editor{store};
    ServerHandshake server{store};
    QFile buffer{test::MakeTempDir("hs") + "/Bufor-1.tmp"};

    Recording() {
        editor.reset();
        server.begin();
        buffer.open(QIODevice::WriteOnly);
    }
    void append(char fill) {
        const QByteArray b = Block(fill);
        ASSERT_TRUE(editor.appendBlock(buffer, b.constData(), b.size()));
    }
    // What the server reads for its next block.
    QByteArray serverRead() {
        const auto state = server.poll();
        if (server.nextBlock() >= state.written)
            return {};
        QFile in(buffer.fileName());
        in.open(QIODevice::ReadOnly);
        in.seek(BufferBlockOffset(server.nextBlock(), state.ringBase, kBlock));
        return in.read(kBlock);
    }
};

} // namespace

TEST(RecordingHandshake, BlocksReachTheServerInOrderAndTheFileEmptiesOnlyWhenAllAreDone) {
    Recording r;
    r.append('a');
    r.append('b');
    r.append('c');
    EXPECT_EQ(r.store.values.value(kWritten), "3");
    EXPECT_EQ(r.serverRead(), Block('a'));
    r.server.acknowledge();
    EXPECT_EQ(r.serverRead(), Block('b'));
    r.server.acknowledge();
    EXPECT_EQ(r.editor.backlog(), 1);

    // One block still waits: the next block goes behind it.
    r.append('d');
    EXPECT_EQ(r.buffer.size(), 4 * kBlock);
    EXPECT_EQ(r.serverRead(), Block('c'));
    r.server.acknowledge();
    EXPECT_EQ(r.serverRead(), Block('d'));
    r.server.acknowledge();
    EXPECT_EQ(r.serverRead(), QByteArray());

    // All acknowledged: the file starts over with the next block.
    r.append('e');
    EXPECT_EQ(r.buffer.size(), kBlock);
    EXPECT_EQ(r.editor.ringBase(), 4);
    EXPECT_EQ(r.serverRead(), Block('e'));
    EXPECT_EQ(r.store.values.value(kConverted), "4");
}

TEST(RecordingHandshake, MissingOrForeignKeysNeverReadAsAStopOrAnEnd) {
    MemorySettingsStore empty;
    ServerHandshake server(empty);
    EXPECT_EQ(server.poll().endRequest, kGoOn);
    EXPECT_EQ(server.poll().written, 0);

    MemorySettingsStore store;
    CaptureHandshake editor(store);
    editor.reset();
    EXPECT_FALSE(editor.serverEnded());
    // A previous recording's server values do not count for this one.
    store.values.insert(kConvertedSession, "17");
    store.values.insert(kLoop, "-1");
    store.values.insert(kConverted, "5");
    EXPECT_FALSE(editor.serverEnded());
    EXPECT_EQ(editor.blocksAcknowledged(), 0);

    // A server of another session sees nothing written and no request.
    store.values.insert(kEndRequest, "0");
    store.values.insert(kWritten, "9");
    ServerHandshake stale(store);
    stale.begin();
    store.values.insert(kSession, "12345");
    EXPECT_EQ(stale.poll().written, 0);
    EXPECT_EQ(stale.poll().endRequest, kGoOn);
}

TEST(RecordingHandshake, EndRequestsAndTheServersEnd) {
    Recording r;
    r.append('a');
    r.editor.requestFinish();
    EXPECT_EQ(r.server.poll().endRequest, kFinish);
    EXPECT_FALSE(r.editor.serverEnded());
    r.server.finish(6650);
    EXPECT_TRUE(r.editor.serverEnded());
    EXPECT_EQ(r.editor.endReason(), 6650);
    r.editor.requestAbandon();
    EXPECT_EQ(r.server.poll().endRequest, kAbandon);

    // The next recording starts afresh.
    r.editor.reset();
    r.server.begin();
    EXPECT_FALSE(r.editor.serverEnded());
    EXPECT_EQ(r.server.poll().endRequest, kGoOn);
    EXPECT_EQ(r.editor.blocksWritten(), 0);
}

TEST(RecordingHandshake, EachSideRestoresItsValuesWhenTheStoreLostThem) {
    Recording r;
    r.append('a');
    r.append('b');
    r.server.poll();
    r.server.acknowledge();
    // A concurrent rewrite put back older values of both sides.
    r.store.values.insert(kWritten, "1");
    r.store.values.insert(kConverted, "0");
    r.store.writes.clear();
    EXPECT_EQ(r.server.poll().written, 1); // a late value only delays
    EXPECT_EQ(r.store.values.value(kConverted), "1");
    EXPECT_EQ(r.editor.blocksAcknowledged(), 1);
    EXPECT_EQ(r.store.values.value(kWritten), "2");
    EXPECT_TRUE(r.store.writes.contains(kWritten));
    EXPECT_TRUE(r.store.writes.contains(kConverted));
}

TEST(RecordingHandshake, AFailedWriteCountsNothing) {
    MemorySettingsStore store;
    CaptureHandshake editor(store);
    editor.reset();
    QFile closed(test::MakeTempDir("hs") + "/none.tmp");
    const QByteArray b = Block('x');
    EXPECT_FALSE(editor.appendBlock(closed, b.constData(), b.size()));
    EXPECT_EQ(editor.blocksWritten(), 0);
    EXPECT_EQ(store.values.value(kWritten), "0");
    EXPECT_EQ(store.values.value(kWriting), "0");
}

TEST(RecordingHandshake, SyncSeesARewriteOfTheSameSizeWithinTheSameMillisecond) {
    QtSettingsStore store;
    store.write("RecSW", "12");
    store.sync();
    EXPECT_EQ(store.read("RecSW", ""), "12");
    const QString path = QSettings(QSettings::NativeFormat, QSettings::UserScope, "Pelorin", "Kelbrin").fileName();
    struct stat before {};
    ASSERT_EQ(stat(QFile::encodeName(path).constData(), &before), 0);

    // Another process writes the same number of bytes and the timestamp does
    // not move (as within one millisecond).
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray text = file.readAll();
    file.close();
    text.replace("RecSW=12", "RecSW=13");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
    file.close();
    struct timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);

    store.sync();
    EXPECT_EQ(store.read("RecSW", ""), "13");
}

TEST(RecordingHandshake, ABlockWrittenButNotCountedIsToldByTheFileGrowingPastWhatTheCountedOnesMake) {
    Recording r;
    const QString output = test::MakeTempDir("hs-out") + "/Nagranie.mp3";
    test::WriteFile(output, QByteArray(100, 'h'));
    r.server.setOutputFile("Nagranie.mp3", output, 100);
    for (char fill : {'a', 'b', 'c'})
        r.append(fill);
    r.server.acknowledge(150); // block 0: 150 bytes at most without block 1's own sound
    test::WriteFile(output, QByteArray(150, 'f'));
    ASSERT_EQ(UnencodedExtents(r.store)->size(), 2);

    // Killed after block 1's write, before its count: only block 2 is unencoded.
    test::WriteFile(output, QByteArray(151, 'f'));
    EXPECT_EQ(UnacknowledgedBlocks(r.store), 1);
    const BufferExtents left = *UnencodedExtents(r.store);
    ASSERT_EQ(left.size(), 1);
    EXPECT_EQ(left[0].first, 2 * kBlock);
    // A server that ended by itself counted every block it wrote.
    r.server.finish();
    EXPECT_EQ(UnacknowledgedBlocks(r.store), 2);
}

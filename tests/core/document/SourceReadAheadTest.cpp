// A long file is read ahead on other threads while the frames are walked (as
// many as there are idle processors, none on a busy machine): the walk must see
// the file's own bytes, end where a file that got shorter ends, and leave no
// thread behind however it ends.
#include "DocumentTestSupport.h"
#include "support/SyntheticMpeg.h"
#include "support/TestEnvironment.h"

#include "core/document/SourceReader.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <random>

using namespace kelbrin;
using namespace kelbrin::test;

namespace {

int listedThreads() {
    return int(QDir(QStringLiteral("/proc/self/task"))
                   .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
                   .size());
}

// The threads of the process. A thread already joined can stay listed for a
// moment while the system finishes its exit (on a busy machine, a while):
// a count above the one expected is read again for up to two seconds.
int threadCount(int expected) {
    QElapsedTimer waited;
    waited.start();
    int count = listedThreads();
    while (count > expected && waited.elapsed() < 2000) {
        QThread::msleep(5);
        count = listedThreads();
    }
    return count;
}

bool shorten(const QString& path, qint64 size) {
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && file.resize(size);
}

class DocumentReadAhead : public DocumentTest {};

} // namespace

// Fills go forward by steps from a byte to past a block, some asking for more
// than is left in the block; a mebibyte in, the file is cut to half its size.
TEST_F(DocumentReadAhead, ForwardFillsGiveTheFilesBytesUpToWhereItWasCut) {
    constexpr std::int64_t kSize = 6 << 20;
    constexpr std::int64_t kCut = (3 << 20) + 777;
    QByteArray bytes(kSize, '\0');
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = char((i * 7 + i / 251) & 0xFF);
    const QString path = WriteFile(MakeTempDir("ahead") + "/bytes.bin", bytes);
    const int threadsBefore = listedThreads();
    SourceReader reader(path);
    ASSERT_TRUE(reader.isOpen());
    reader.readAhead(true);
    std::mt19937 random(11);
    std::int64_t offset = 0;
    bool cut = false;
    for (int fills = 0; fills < 100000; ++fills) {
        const std::int64_t wanted = std::int64_t(4) << (random() % 12);
        const std::int64_t got = reader.fill(offset, wanted);
        ASSERT_FALSE(reader.failed());
        if (got == 0)
            break;
        if (offset + wanted <= kCut) {
            ASSERT_GE(got, wanted) << offset;
        }
        ASSERT_EQ(QByteArray(reinterpret_cast<const char*>(reader.data(offset)), got),
                  bytes.mid(offset, got))
            << offset << " " << wanted;
        if (!cut && offset > (1 << 20)) {
            // Turned off, the read-ahead waits for its threads; turned on, it reads on.
            reader.readAhead(false);
            EXPECT_EQ(threadCount(threadsBefore), threadsBefore);
            reader.readAhead(true);
            ASSERT_TRUE(shorten(path, kCut));
            cut = true;
        }
        offset += 1 + std::int64_t(random() % 300 == 0 ? 700000 : random() % 9000);
    }
    EXPECT_TRUE(cut);
    EXPECT_GE(offset, kCut);
    EXPECT_LT(offset, kSize);
    reader.readAhead(false);
    EXPECT_EQ(threadCount(threadsBefore), threadsBefore);
}

// A scan the user stops, and one whose file gets shorter under it: each ends
// as it would reading block by block, and the read-ahead's threads are gone.
TEST_F(DocumentReadAhead, AScanStoppedOrCutShortLeavesNoThreadBehind) {
    SyntheticMpeg stream;
    for (int i = 0; i < 4000; ++i)
        stream.constantRate(2 + i % 3, kMpeg1Layer3, std::uint8_t((1 + i % 14) << 4));
    const QString dir = MakeTempDir("ahead-scan");
    for (const bool stop : {true, false}) {
        SCOPED_TRACE(stop ? "stopped" : "cut short");
        const QString path = dir + (stop ? "/stopped.mp3" : "/cut.mp3");
        ASSERT_TRUE(stream.write(path));
        host.values.clear();
        const qint64 cutAt = stream.bytes().size() / 2;
        const int threadsBefore = listedThreads();
        host.onProgress = [&](RecordingHost& h) {
            if (h.values.size() != 4)
                return;
            if (stop)
                h.blnScanFailed = true;
            else
                ASSERT_TRUE(shorten(path, cutAt));
        };
        const Opened opened = open(path, true);
        EXPECT_EQ(threadCount(threadsBefore), threadsBefore);
        if (stop) {
            EXPECT_TRUE(opened.path.isEmpty());
            continue;
        }
        // Not opened: the frames walked lie wholly before the cut, and perhaps
        // some read before it that the file no longer holds.
        EXPECT_TRUE(opened.path.isEmpty());
        EXPECT_EQ(messageNumbers().last(), 7346);
        const QList<std::int64_t> positions = IndexPositions(*opened.file);
        EXPECT_EQ(positions, stream.positions().mid(0, positions.size()));
        EXPECT_LT(positions.size(), stream.positions().size());
        int before = 0;
        while (stream.positions()[before + 1] - 1 <= cutAt)
            ++before;
        EXPECT_GE(positions.size(), before);
    }
}

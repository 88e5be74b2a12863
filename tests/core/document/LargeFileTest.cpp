// Positions past 4 GiB, in a sparse file so the test costs no disk space.
#include "DocumentTestSupport.h"
#include "support/SyntheticMpeg.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>

using namespace kelbrin;
using namespace kelbrin::test;

using DocumentLargeFile = DocumentTest;

TEST_F(DocumentLargeFile, PositionsAboveFourGibibytesStayExact) {
    const QString dir = MakeTempDir("sparse");
    const QString path = dir + "/large.mp3";
    SyntheticMpeg head;
    head.constantRate(20, kMpeg1Layer3, 0x90);
    SyntheticMpeg tail;
    tail.constantRate(20, kMpeg1Layer3, 0x90);
    const std::int64_t tailStart = (std::int64_t{1} << 32) + 12345;
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(head.bytes()), head.bytes().size());
        ASSERT_TRUE(file.seek(tailStart)); // the gap stays a hole
        ASSERT_EQ(file.write(tail.bytes()), tail.bytes().size());
    }
    QList<std::int64_t> expected = head.positions();
    for (std::int64_t position : tail.positions())
        expected.append(tailStart + position);

    const Opened opened = open(path, true);
    EXPECT_EQ(opened.path, path);
    EXPECT_EQ(IndexPositions(*opened.file), expected);
    EXPECT_GT(expected.last(), std::int64_t{1} << 32);
    EXPECT_EQ(host.maxima, QList<std::int64_t>{tailStart + tail.bytes().size()});
    EXPECT_TRUE(QDir(dir).removeRecursively());
}

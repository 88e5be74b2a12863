// The copy itself: chunk sizes, and positions past 4 GiB.
#include "ExportTestSupport.h"
#include "core/export/SaveCopy.h"
#include "core/export/SaveTarget.h"

using namespace kelbrin;
using namespace kelbrin::test;

TEST_F(ExportTest, AChunkIsAtMost65535BytesAndOnlyTheBytesReadAreWritten) {
    QByteArray data(200000, '\0');
    for (int i = 0; i < data.size(); ++i)
        data[i] = char(i * 7);
    const QString path = WriteFile(dest + "/plain.bin", data);
    SaveSource source(path);
    ASSERT_TRUE(source.isOpen());
    for (const auto& [length, chunks] : {std::pair{65535, 1}, std::pair{65536, 2}, std::pair{131071, 3}}) {
        SaveTarget target(dest + "/out.bin");
        ASSERT_TRUE(target.open());
        HeadlessSaveHost host;
        ChunkCopier copier(source, target, 65535, host);
        ASSERT_EQ(copier.copy(100, 100 + length), CopyResult::Done);
        EXPECT_EQ(copier.chunks(), chunks) << length;
        ASSERT_TRUE(target.commit());
        EXPECT_EQ(ReadAll(dest + "/out.bin"), data.mid(100, length));
    }
    // Past the source's end nothing is invented.
    SaveTarget target(dest + "/short.bin");
    ASSERT_TRUE(target.open());
    HeadlessSaveHost host;
    EXPECT_EQ(ChunkCopier(source, target, 65535, host).copy(150000, 250000), CopyResult::ReadFailed);
}

TEST_F(ExportTest, APiecePastFourGibibytesIsCopiedFromItsPlace) {
    const QString folder = MakeTempDir("sparse");
    const QString path = folder + "/large.mp3";
    const QByteArray audio = ReadAll(MediaFile("cbr_noinfo.mp3"));
    const QList<std::int64_t> starts = PacketPositions(MediaFile("cbr_noinfo.mp3"));
    ASSERT_GT(starts.size(), 100);
    const std::int64_t tail = (std::int64_t{1} << 32) + 4321;
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(audio), audio.size());
        ASSERT_TRUE(f.seek(tail)); // the gap stays a hole
        ASSERT_EQ(f.write(audio), audio.size());
    }
    // The index as a scan would leave it: the frames of both copies.
    auto file = std::make_shared<cPozycjaPlikow>();
    file->strFileName = path;
    file->btyFrame2 = 0xFB;
    file->btyFrame3 = 0x90;
    file->lngD1Ramki = 418;
    for (std::int64_t base : {std::int64_t{0}, tail})
        for (std::int64_t p : starts)
            file->Add_Naglowek(base + p + 1, 0xFB, 0x90, 0x64);
    file->blnLoadedFull = true;
    file->lngNrPozycji = 1;
    Shared().OpenFiles->Add(file);
    const int n = starts.size();
    ASSERT_EQ(RunExport(request({frames(path, n + 10, n + 100, "far.mp3")})).status, SaveStatus::Finished);
    const QByteArray out = ReadAll(dest + "/far.mp3");
    EXPECT_EQ(out.left(out.size() - 128), audio.mid(starts[9], starts[99] - starts[9]));
    EXPECT_TRUE(QDir(folder).removeRecursively());
}

// The copy itself: chunk sizes, odd positions, failures, and positions past 4 GiB.
#include "ExportTestSupport.h"
#include "support/ProgramState.h"
#include "core/export/SaveCopy.h"
#include "core/export/SaveTarget.h"

#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>

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
        TransferBuffer buffer;
        ChunkCopier copier(source, target, 65535, host, buffer);
        ASSERT_EQ(copier.copy(100, 100 + length), CopyResult::Done);
        EXPECT_EQ(copier.chunks(), chunks) << length;
        ASSERT_TRUE(target.commit());
        EXPECT_EQ(ReadAll(dest + "/out.bin"), data.mid(100, length));
    }
    // Past the source's end nothing is invented.
    SaveTarget target(dest + "/short.bin");
    ASSERT_TRUE(target.open());
    HeadlessSaveHost host;
    TransferBuffer buffer;
    EXPECT_EQ(ChunkCopier(source, target, 65535, host, buffer).copy(150000, 250000),
              CopyResult::ReadFailed);
}

// Bytes with no period a misplaced block could hide behind.
static QByteArray Patterned(int size) {
    QByteArray data(size, Qt::Uninitialized);
    std::uint32_t x = 12345;
    for (char& c : data)
        c = char((x = x * 1103515245u + 12345u) >> 16);
    return data;
}

TEST_F(ExportTest, RangesAtOddPlacesAreCopiedExactlyAndAFailedWriteIsReported) {
    constexpr std::int64_t T = TransferBuffer::kTransferBytes;
    const QByteArray data = Patterned(int(2 * T + 3 * 4096 + 777));
    const std::int64_t n = data.size();
    SaveSource source(WriteFile(dest + "/source.bin", data));
    ASSERT_TRUE(source.isOpen());
    TransferBuffer buffer; // shared by every copy, as in a run
    // {bytes already in the output, from, length}: empty, shorter than a page,
    // across page and transfer boundaries, up to the end of the file.
    const std::int64_t cases[][3] = {{0, 0, 0},          {0, 417, 0},         {1, 1, 1},
                                     {4095, 4097, 100},  {417, 4095, 4098},   {0, 4096, T},
                                     {3, 4093, T + 1},   {2000, 417, 2 * T},  {7, n - 100, 100},
                                     {4096, 0, n},       {1, n - T - 5, T + 5}};
    for (const auto& [lead, from, length] : cases) {
        SCOPED_TRACE(testing::Message() << lead << " " << from << " " << length);
        SaveTarget target(dest + "/out.bin");
        ASSERT_TRUE(target.open());
        ASSERT_TRUE(target.write(QByteArray(int(lead), 'L')));
        HeadlessSaveHost host;
        ChunkCopier copier(source, target, 65535, host, buffer);
        ASSERT_EQ(copier.copy(from, from + length), CopyResult::Done);
        EXPECT_EQ(copier.chunks(), (length + 65534) / 65535);
        ASSERT_TRUE(target.commit());
        const QByteArray expected = QByteArray(int(lead), 'L') + data.mid(int(from), int(length));
        EXPECT_TRUE(ReadAll(dest + "/out.bin") == expected);
    }

    // A file size limit makes the write fail part-way (EFBIG).
    SaveTarget target(dest + "/full.bin");
    ASSERT_TRUE(target.open());
    rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 1500000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    HeadlessSaveHost host;
    const CopyResult result = ChunkCopier(source, target, 65535, host, buffer).copy(333, n);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldSignal);
    EXPECT_EQ(result, CopyResult::WriteFailed);
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
    Program().session.OpenFiles->Add(file);
    const int n = starts.size();
    ASSERT_EQ(RunExport(request({frames(path, n + 10, n + 100, "far.mp3")})).status, SaveStatus::Finished);
    const QByteArray out = ReadAll(dest + "/far.mp3");
    EXPECT_EQ(out.left(out.size() - 128), audio.mid(starts[9], starts[99] - starts[9]));
    EXPECT_TRUE(QDir(folder).removeRecursively());
}

TEST_F(ExportTest, AFileThatAppearsWhileAnOutputIsWrittenIsReplacedWhole) {
    SaveTarget target(dest + "/late.mp3");
    ASSERT_TRUE(target.open());
    ASSERT_TRUE(target.write(QByteArray("the new contents")));
    WriteFile(dest + "/late.mp3", "another program's");
    QFile::setPermissions(dest + "/late.mp3", QFile::ReadOwner | QFile::WriteOwner);
    ASSERT_TRUE(target.commit()) << target.errorText().toStdString();
    EXPECT_EQ(ReadAll(dest + "/late.mp3"), "the new contents");
    EXPECT_FALSE(QFile::permissions(dest + "/late.mp3") & (QFile::ReadGroup | QFile::ReadOther));
    EXPECT_EQ(QDir(dest).entryList(QDir::Files | QDir::Hidden), QStringList{"late.mp3"});
}

TEST_F(ExportTest, TheKernelAppendsAfterWhatWasWrittenAndSaysWhenItCannotCopy) {
    const QByteArray data = Patterned(300000);
    SaveSource source(WriteFile(dest + "/source.bin", data));
    ASSERT_TRUE(source.isOpen());
    SaveTarget target(dest + "/out.bin");
    ASSERT_TRUE(target.open());
    ASSERT_TRUE(target.write(QByteArray("lead")));
    SaveTarget::Appended a = target.appendFrom(source.file().handle(), 4093, 70000);
    EXPECT_EQ(a.bytes, 70000);
    EXPECT_FALSE(a.unsupported);
    // At the source's end it copies what there is.
    a = target.appendFrom(source.file().handle(), data.size() - 100, 500);
    EXPECT_EQ(a.bytes, 100);
    EXPECT_FALSE(a.unsupported);
    EXPECT_EQ(target.size(), 4 + 70000 + 100);
    // From something that is not a file it copies nothing and says so.
    int pipe[2];
    ASSERT_EQ(::pipe(pipe), 0);
    a = target.appendFrom(pipe[0], 0, 10);
    ::close(pipe[0]);
    ::close(pipe[1]);
    EXPECT_EQ(a.bytes, 0);
    EXPECT_TRUE(a.unsupported);
    ASSERT_TRUE(target.commit());
    EXPECT_TRUE(ReadAll(dest + "/out.bin") == "lead" + data.mid(4093, 70000) + data.right(100));
}

TEST_F(ExportTest, ARangeOfSeveralKernelTransfersCountsTheSameChunksEitherWay) {
    // The kernel copies large ranges into memory only.
    QTemporaryDir memory(QStringLiteral("/dev/shm/kelbrin-copy-XXXXXX"));
    if (!memory.isValid())
        GTEST_SKIP() << "no /dev/shm";
    constexpr std::int64_t K = TransferBuffer::kKernelTransferBytes;
    const QByteArray data = Patterned(int(K + 3 * TransferBuffer::kTransferBytes));
    SaveSource source(WriteFile(dest + "/source.bin", data));
    ASSERT_TRUE(source.isOpen());
    const std::int64_t from = 417, length = K + 2 * TransferBuffer::kTransferBytes + 5;
    for (const bool kernel : {true, false}) {
        SCOPED_TRACE(kernel);
        TransferBuffer buffer;
        if (!kernel)
            buffer.noKernelCopies();
        SaveTarget target(memory.path() + "/out.bin");
        ASSERT_TRUE(target.open());
        EXPECT_TRUE(target.inMemory());
        HeadlessSaveHost host;
        ChunkCopier copier(source, target, 65535, host, buffer);
        ASSERT_EQ(copier.copy(from, from + length), CopyResult::Done);
        EXPECT_EQ(copier.chunks(), (length + 65534) / 65535);
        ASSERT_TRUE(target.commit());
        EXPECT_TRUE(ReadAll(memory.path() + "/out.bin") == data.mid(int(from), int(length)));
    }
}

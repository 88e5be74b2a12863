#include "core/document/HiddenText.h"
#include "DocumentTestSupport.h"
#include "SourceToolsSupport.h"
#include "core/document/MpegHeader.h"
#include "core/document/cPozycjaPlikow.h"
#include "platform/text/AnsiCodec.h"
#include "support/SyntheticMpeg.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QFileInfo>

using namespace kelbrin;
using namespace kelbrin::test;

namespace {

const AnsiCodec kWestern(1252);

class HiddenTextTest : public DocumentTest {
protected:
    QString read(const cPozycjaPlikow& file) { return kWestern.toUnicode(ReadHiddenCodes(file)); }
};

// Every differing byte is header byte 3 of a frame and differs in bit 0 alone.
void ExpectOnlyPrivateBitsDiffer(const QByteArray& before, const QByteArray& after,
                                 const cPozycjaPlikow& file) {
    QSet<std::int64_t> byte3;
    for (std::int32_t k = 1; k <= file.Daj_Naglowek_Ilosc(); ++k)
        byte3.insert(file.Daj_Naglowek_Offset(k) + 1);
    for (std::int64_t at : DifferingBytes(before, after)) {
        EXPECT_TRUE(byte3.contains(at)) << "byte " << at;
        EXPECT_EQ(before.at(at) ^ after.at(at), 1) << "byte " << at;
    }
}

} // namespace

TEST(HiddenTextCodes, FollowTheBitOrderAndRefuseWhatTheCodePageCannotHold) {
    const QByteArray codes = *EncodeHiddenText(QStringLiteral("Hi"), kWestern);
    QList<int> bits;
    for (int frame = 1; frame <= 18; ++frame)
        bits.append(HiddenTextBit(codes, frame));
    EXPECT_EQ(bits, (QList<int>{0, 0, 0, 1, 0, 0, 1, 0, 1, 0, 0, 1, 0, 1, 1, 0, 0, 0}));

    QString refused;
    EXPECT_FALSE(EncodeHiddenText(QStringLiteral("Zażółć żółw"), kWestern, &refused));
    EXPECT_EQ(refused, QStringLiteral("żłć"));
    EXPECT_TRUE(EncodeHiddenText(QStringLiteral("Zażółć"), AnsiCodec(1250)));
    EXPECT_FALSE(EncodeHiddenText(QString(QChar(0)) + "a", kWestern, &refused));
}

TEST_F(HiddenTextTest, WritesOnlyPrivateBitsAndTheSoundStaysTheSame) {
    const QString path = CopyOfMedia(QStringLiteral("cbr_noinfo.mp3"));
    const QByteArray before = ReadWholeFile(path);
    const Decoded soundBefore = DecodeWithFfmpeg(path);
    auto file = scanned(path);
    ASSERT_GT(file->Daj_Naglowek_Ilosc(), 300);
    EXPECT_EQ(read(*file), QString());

    RecordingWriteHost progress;
    const QString text = QStringLiteral("Hidden: ¼ café");
    const SourceWriteResult result =
        WriteHiddenCodes(*file, *EncodeHiddenText(text, kWestern), progress);
    ASSERT_TRUE(result.finished());
    EXPECT_GT(result.framesWritten, 0);
    EXPECT_EQ(progress.maxima, QList<std::int64_t>{file->Daj_Naglowek_Ilosc()});
    EXPECT_EQ(progress.values.size(), file->Daj_Naglowek_Ilosc() / 10);
    EXPECT_EQ(progress.ends, 1);
    EXPECT_EQ(read(*file), text); // the index learnt the bits

    const QByteArray after = ReadWholeFile(path);
    ASSERT_EQ(after.size(), before.size());
    ExpectOnlyPrivateBitsDiffer(before, after, *file);
    EXPECT_FALSE(DifferingBytes(before, after).isEmpty());
    const Decoded soundAfter = DecodeWithFfmpeg(path);
    EXPECT_EQ(soundAfter.samples, soundBefore.samples);
    EXPECT_FALSE(soundAfter.samples.isEmpty());

    // Scanned afresh from the disk, and a shorter text clears the rest.
    EXPECT_EQ(read(*scanned(path)), text);
    ASSERT_TRUE(WriteHiddenCodes(*file, *EncodeHiddenText("ok", kWestern), progress).finished());
    EXPECT_EQ(read(*scanned(path)), "ok");
    ExpectOnlyPrivateBitsDiffer(before, ReadWholeFile(path), *file);
}

TEST_F(HiddenTextTest, ProtectedLayerThreeFramesGetTheirCrcAnew) {
    const QString path = CopyOfMedia(QStringLiteral("crc.mp3"));
    const Decoded soundBefore = DecodeWithFfmpeg(path, true);
    ASSERT_TRUE(soundBefore.errors.isEmpty()) << soundBefore.errors.toStdString();
    auto file = scanned(path);
    RecordingWriteHost progress;
    const SourceWriteResult result =
        WriteHiddenCodes(*file, *EncodeHiddenText(QStringLiteral("checksum"), kWestern), progress);
    ASSERT_TRUE(result.finished());
    EXPECT_EQ(result.skippedProtected, 0);
    const Decoded soundAfter = DecodeWithFfmpeg(path, true);
    EXPECT_TRUE(soundAfter.errors.isEmpty()) << soundAfter.errors.toStdString();
    EXPECT_EQ(soundAfter.samples, soundBefore.samples);
    EXPECT_EQ(read(*scanned(path)), "checksum");
}

TEST_F(HiddenTextTest, ProtectedLayerTwoFramesAreLeftAloneAndCounted) {
    SyntheticMpeg mpeg;
    const std::uint8_t protectedLayer2 = 0xFC; // MPEG-1 Layer II, CRC follows
    mpeg.constantRate(40, protectedLayer2, 0x94);
    const QString path = WriteTempFile(QStringLiteral("l2crc.mp2"), mpeg.bytes());
    auto file = scanned(path);
    ASSERT_EQ(file->Daj_Naglowek_Ilosc(), 40);
    RecordingWriteHost progress;
    const SourceWriteResult result =
        WriteHiddenCodes(*file, *EncodeHiddenText(QStringLiteral("\xFF"), kWestern), progress);
    EXPECT_TRUE(result.finished());
    EXPECT_EQ(result.skippedProtected, 8); // the eight bits of one character
    EXPECT_EQ(ReadWholeFile(path), mpeg.bytes());
    EXPECT_EQ(read(*file), QString()); // the index holds what the file holds
}

TEST_F(HiddenTextTest, NeverCreatesAFileAndStopsWhereTheFileChangedOrWhenAsked) {
    const QString path = CopyOfMedia(QStringLiteral("cbr_noinfo.mp3"));
    auto file = scanned(path);
    const QByteArray codes = *EncodeHiddenText(QStringLiteral("abcdefghijklmnop"), kWestern);
    RecordingWriteHost progress;

    QFile::remove(path);
    EXPECT_EQ(WriteHiddenCodes(*file, codes, progress).status, SourceWriteStatus::Missing);
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_EQ(read(*file), QString());

    // Frame 20's header overwritten behind the program's back.
    QByteArray changed = ReadWholeFile(CopyOfMedia(QStringLiteral("cbr_noinfo.mp3")));
    changed[qsizetype(file->Daj_Naglowek_Offset(20) - 1)] = 0x00;
    WriteFile(path, changed);
    const SourceWriteResult broken = WriteHiddenCodes(*file, codes, progress);
    EXPECT_EQ(broken.status, SourceWriteStatus::FramesMoved);
    EXPECT_EQ(broken.failedFrame, 20);
    // Not one bit went in, to the file or the index.
    EXPECT_EQ(ReadWholeFile(path), changed);
    for (std::int32_t k = 1; k <= 64; ++k)
        EXPECT_EQ(file->Daj_Naglowek_Header3(k) & 1, 0) << k;

    WriteFile(path, ReadWholeFile(CopyOfMedia(QStringLiteral("cbr_noinfo.mp3"))));
    auto fresh = scanned(path);
    progress.onProgress = [&](std::int64_t value) { progress.stop = value >= 30; };
    const SourceWriteResult stopped = WriteHiddenCodes(*fresh, codes, progress);
    EXPECT_EQ(stopped.status, SourceWriteStatus::Stopped);
    EXPECT_EQ(progress.values.last(), 30);
    for (std::int32_t k = 30; k <= 64; ++k)
        EXPECT_EQ(fresh->Daj_Naglowek_Header3(k) & 1, 0) << k;
    // 29 frames: three whole characters and five bits of the fourth.
    EXPECT_TRUE(read(*scanned(path)).startsWith("abc"));
}

TEST_F(HiddenTextTest, AFileCutShortWhileWrittenGetsItsOldBitsBack) {
    const QString path = CopyOfMedia(QStringLiteral("cbr_noinfo.mp3"));
    const QByteArray before = ReadWholeFile(path);
    auto file = scanned(path);
    const QByteArray codes = *EncodeHiddenText(QStringLiteral("abcdefghijklmnop"), kWestern);
    RecordingWriteHost progress;
    // Another program cuts the file to its first half after frame 30.
    progress.onProgress = [&](std::int64_t value) {
        if (value == 30) {
            ASSERT_TRUE(QFile::resize(path, before.size() / 2));
        }
    };
    const SourceWriteResult result = WriteHiddenCodes(*file, codes, progress);
    EXPECT_EQ(result.status, SourceWriteStatus::OutsideFile);
    EXPECT_TRUE(result.putBack);
    EXPECT_GT(result.framesWritten, 0);
    // Not a bit of the text stays, in the file or the index.
    EXPECT_EQ(ReadWholeFile(path), before.left(before.size() / 2));
    EXPECT_EQ(read(*file), QString());
}

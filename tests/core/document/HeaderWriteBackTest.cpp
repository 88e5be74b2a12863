#include "core/document/HeaderWriteBack.h"
#include "DocumentTestSupport.h"
#include "SourceToolsSupport.h"
#include "core/document/FrameCrc.h"
#include "core/document/FrameHeaderFields.h"
#include "core/document/MpegHeader.h"
#include "core/document/SourceWriteReport.h"
#include "core/document/cPozycjaPlikow.h"
#include "support/SyntheticMpeg.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QFileInfo>
#include <cstdio>

using namespace kelbrin;
using namespace kelbrin::test;

namespace {

class HeaderWriteBackTest : public DocumentTest {
protected:
    // What the editor does on a user's choice in a field list.
    static void edit(cPozycjaPlikow& file, std::int32_t n, HeaderField field, std::uint8_t value) {
        const int byte = FieldBits(field).byte;
        const std::uint8_t old = byte == 2   ? file.Daj_Naglowek_Header2(n)
                                 : byte == 3 ? file.Daj_Naglowek_Header3(n)
                                             : file.Daj_Naglowek_Header4(n);
        file.Naglowek_Przypisz(byte, n, ApplyFieldValue(old, field, value));
        file.Naglowek_Przypisz(2, n, file.Daj_Naglowek_Header2(n) & ~0x40);
    }
};

QList<QString> Names(const QList<HeaderFieldEntry>& entries) {
    QList<QString> names;
    for (const auto& e : entries)
        names.append(e.textNumber ? QString::number(e.textNumber) : e.text);
    return names;
}

} // namespace

TEST(FrameHeaderFields, ListsAndRefillRulesFollowVersionAndLayer) {
    const auto mpeg2Layer2 = BitrateEntries(mpeg::kVersionMpeg2, mpeg::kLayer2);
    EXPECT_EQ(Names(mpeg2Layer2), (QList<QString>{"3072", "8", "16", "24", "32", "40", "48", "56",
                                                  "64", "80", "96", "112", "128", "144", "160"}));
    EXPECT_EQ(BitrateSelection(mpeg2Layer2, "128"), 12);
    EXPECT_EQ(mpeg2Layer2[12].value, 12 * 16);
    // 320 kbit/s does not exist in MPEG-2: the free entry.
    EXPECT_EQ(BitrateSelection(BitrateEntries(mpeg::kVersionMpeg2, mpeg::kLayer3), "320"), 0);
    EXPECT_EQ(Names(BitrateEntries(mpeg::kVersionMpeg1, std::nullopt)), QList<QString>{"3072"});
    EXPECT_EQ(Names(BitrateEntries(mpeg::kVersionMpeg1, mpeg::kLayer1)).last(), "448");
    // Only entries whose index fits the 4-bit field: 15 at most.
    const auto fallback = BitrateEntries(mpeg::kVersionReserved, mpeg::kLayer3);
    EXPECT_EQ(fallback.size(), 16);
    EXPECT_EQ(fallback.last().value, 0xF0);
    EXPECT_EQ(FallbackBitrates()[20], 448);

    EXPECT_EQ(Names(SamplingRateEntries(mpeg::kVersionMpeg2)),
              (QList<QString>{"22,05 kHz", "24 kHz", "16 kHz", "3069"}));
    EXPECT_EQ(SamplingRateEntries(0x08).first().text, "11,025 kHz");
    EXPECT_EQ(ExtensionEntries(mpeg::kLayer2).first().textNumber, 3079);
    EXPECT_EQ(ExtensionEntries(mpeg::kLayer3).first().textNumber, 3083);
    EXPECT_EQ(FixedFieldEntries(HeaderField::Emphasis)[2].textNumber, 3062);
    EXPECT_EQ(FirstFieldSelection(HeaderField::Version), 3);

    EXPECT_EQ(ApplyFieldValue(0xFB, HeaderField::Layer, mpeg::kLayer2), 0xFD);
    EXPECT_EQ(ApplyFieldValue(0x92, HeaderField::Bitrate, 0xB0), 0xB2);
    // The last byte is F + L - 1: 418 bytes from byte 1.
    EXPECT_EQ(FrameLastByte(1, 0xFB, 0x90), 418);
    EXPECT_EQ(FrameLastByte(1, 0xFB, 0x92), 419);
    EXPECT_EQ(FrameLastByte(100, 0xFB, 0xF0), std::nullopt);
    EXPECT_EQ(FrameLastByte(100, 0xFB, 0x9C), std::nullopt);
}

TEST_F(HeaderWriteBackTest, CrcMatchesTheChecksumAnEncoderWrote) {
    const QString path = MediaFile(QStringLiteral("crc.mp3"));
    const QByteArray bytes = ReadWholeFile(path);
    auto file = scanned(path);
    for (std::int32_t n : {2, 10, 100}) {
        const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.constData()) +
                        file->Daj_Naglowek_Offset(n) - 1;
        const int side = Layer3SideInfoSize(p[1], p[3]);
        EXPECT_EQ(side, 32);
        const std::uint16_t stored = static_cast<std::uint16_t>(p[4] << 8 | p[5]);
        EXPECT_EQ(Layer3Crc(p[2], p[3], p + 6, side), stored) << n;
    }
    EXPECT_EQ(Layer3SideInfoSize(0xF3, 0xC0), 9);
    EXPECT_EQ(Layer3SideInfoSize(0xFB, 0xC0), 17);
}

TEST_F(HeaderWriteBackTest, WritesOnlyTheEditedHeaderBytes) {
    const QString path = CopyOfMedia(QStringLiteral("cbr_noinfo.mp3"));
    const QByteArray before = ReadWholeFile(path);
    auto file = scanned(path);
    RecordingWriteHost progress;

    // Nothing edited: not one byte changes.
    ASSERT_TRUE(WriteBackHeaders(*file, progress).finished());
    EXPECT_EQ(ReadWholeFile(path), before);

    edit(*file, 5, HeaderField::Copyright, 0x08);
    edit(*file, 9, HeaderField::Emphasis, 0x01);
    edit(*file, 9, HeaderField::Private, 0x01);
    const SourceWriteResult result = WriteBackHeaders(*file, progress);
    ASSERT_TRUE(result.finished());
    EXPECT_EQ(result.framesWritten, 2);
    const QByteArray after = ReadWholeFile(path);
    const std::int64_t f5 = file->Daj_Naglowek_Offset(5) - 1, f9 = file->Daj_Naglowek_Offset(9) - 1;
    EXPECT_EQ(DifferingBytes(before, after), (QList<std::int64_t>{f5 + 3, f9 + 2, f9 + 3}));
    EXPECT_EQ(after.at(f5 + 3) ^ before.at(f5 + 3), 0x08);
    // The marks stay: saving again writes the same bytes.
    ASSERT_TRUE(WriteBackHeaders(*file, progress).finished());
    EXPECT_EQ(ReadWholeFile(path), after);

    // A moved header goes to its new place; the old one stays as it was.
    const std::int64_t old = file->Daj_Naglowek_Offset(20);
    file->Naglowek_Przypisz(0, 20, old + 10);
    edit(*file, 20, HeaderField::Copyright, 0x00);
    ASSERT_TRUE(WriteBackHeaders(*file, progress).finished());
    const QByteArray moved = ReadWholeFile(path);
    for (std::int64_t at : DifferingBytes(after, moved))
        EXPECT_TRUE(at >= old + 9 && at < old + 13) << at;
    EXPECT_EQ(static_cast<std::uint8_t>(moved.at(old + 9)), 0xFF);
    EXPECT_EQ(moved.mid(old - 1, 4), after.mid(old - 1, 4));
}

TEST_F(HeaderWriteBackTest, ProtectedLayerThreeFileStillDecodesWithItsChecksumsChecked) {
    const QString path = CopyOfMedia(QStringLiteral("crc.mp3"));
    const QByteArray before = ReadWholeFile(path);
    auto file = scanned(path);
    // Frames past the first few, whose headers ffmpeg compares to find the start.
    for (std::int32_t n : {40, 41, 100})
        edit(*file, n, HeaderField::Copyright, 0x08);
    edit(*file, 50, HeaderField::Original, 0x00);
    RecordingWriteHost progress;
    ASSERT_TRUE(WriteBackHeaders(*file, progress).finished());
    const QByteArray after = ReadWholeFile(path);
    // Header byte 4 and the two CRC bytes of each edited frame, nothing else.
    for (std::int64_t at : DifferingBytes(before, after)) {
        bool inEdited = false;
        for (std::int32_t n : {40, 41, 50, 100}) {
            const std::int64_t start = file->Daj_Naglowek_Offset(n) - 1;
            inEdited = inEdited || (at >= start + 3 && at <= start + 5);
        }
        EXPECT_TRUE(inEdited) << at;
    }
    const Decoded decoded = DecodeWithFfmpeg(path, true);
    EXPECT_TRUE(decoded.errors.isEmpty()) << decoded.errors.toStdString();
    EXPECT_EQ(decoded.samples,
              DecodeWithFfmpeg(MediaFile(QStringLiteral("crc.mp3")), true).samples);

    // The oracle does see a stale checksum.
    QByteArray stale = before;
    const qsizetype byte4 = qsizetype(file->Daj_Naglowek_Offset(40) + 2);
    stale[byte4] = static_cast<char>(stale[byte4] ^ 0x08);
    const Decoded staleDecoded =
        DecodeWithFfmpeg(WriteTempFile(QStringLiteral("stale.mp3"), stale), true);
    EXPECT_TRUE(staleDecoded.errors.contains(QStringLiteral("CRC")))
        << staleDecoded.errors.toStdString();
}

TEST_F(HeaderWriteBackTest, ReportsMissingFilesAndHeadersOutsideTheFile) {
    const QString path = CopyOfMedia(QStringLiteral("cbr_noinfo.mp3"));
    auto file = scanned(path);
    edit(*file, 2, HeaderField::Copyright, 0x08);
    RecordingWriteHost progress;
    const QByteArray bytes = ReadWholeFile(path);
    QFile::remove(path);
    EXPECT_EQ(WriteBackHeaders(*file, progress).status, SourceWriteStatus::Missing);
    EXPECT_FALSE(QFileInfo::exists(path));

    WriteFile(path, bytes);
    const std::int64_t second = file->Daj_Naglowek_Offset(2);
    file->Naglowek_Przypisz(0, 2, bytes.size() - 1);
    const SourceWriteResult outside = WriteBackHeaders(*file, progress);
    EXPECT_EQ(outside.status, SourceWriteStatus::OutsideFile);
    EXPECT_EQ(outside.failedFrame, 2);
    EXPECT_EQ(ReadWholeFile(path), bytes);

    // Stopped on request after the first pause.
    file->Naglowek_Przypisz(0, 2, second);
    edit(*file, 25, HeaderField::Copyright, 0x08);
    progress.stop = true;
    EXPECT_EQ(WriteBackHeaders(*file, progress).status, SourceWriteStatus::Stopped);
    const QByteArray now = ReadWholeFile(path);
    EXPECT_EQ(now.mid(file->Daj_Naglowek_Offset(25) - 1, 4),
              bytes.mid(file->Daj_Naglowek_Offset(25) - 1, 4));
}

TEST_F(HeaderWriteBackTest, AWriteThatCannotGoOnPutsBackWhatItWroteAndAReplacedFileIsNamed) {
    const QString path = CopyOfMedia(QStringLiteral("cbr_noinfo.mp3"));
    const QByteArray bytes = ReadWholeFile(path);
    auto file = scanned(path);
    // Frame 2 is written before frame 30, which the user moved past the end.
    edit(*file, 2, HeaderField::Copyright, 0x08);
    edit(*file, 30, HeaderField::Copyright, 0x08);
    const std::int64_t thirtieth = file->Daj_Naglowek_Offset(30);
    file->Naglowek_Przypisz(0, 30, bytes.size() - 1);
    RecordingWriteHost progress;
    const SourceWriteResult outside = WriteBackHeaders(*file, progress);
    EXPECT_EQ(outside.status, SourceWriteStatus::OutsideFile);
    EXPECT_TRUE(outside.putBack);
    EXPECT_EQ(ReadWholeFile(path), bytes) << "frame 2 kept its new header";
    ReportSourceWrite(outside, path);
    EXPECT_EQ(messageNumbers(), QList<int>{7402});

    // Another program saves the file anew (a new file renamed over it) while
    // the headers are written: they went into the old file, which is gone.
    file->Naglowek_Przypisz(0, 30, thirtieth);
    progress.onProgress = [&](std::int64_t value) {
        if (value == 10) {
            WriteFile(path + ".new", bytes);
            ASSERT_EQ(::rename(QFile::encodeName(path + ".new"), QFile::encodeName(path)), 0);
        }
    };
    const SourceWriteResult replaced = WriteBackHeaders(*file, progress);
    EXPECT_EQ(replaced.status, SourceWriteStatus::Replaced);
    EXPECT_EQ(ReadWholeFile(path), bytes);
    ReportSourceWrite(replaced, path);
    EXPECT_EQ(messageNumbers().last(), 7404);
}

// The frame index and durations against ffprobe, over encoder-made media and
// synthetic streams.
#include "DocumentTestSupport.h"
#include "Ffprobe.h"
#include "support/SyntheticMpeg.h"
#include "support/TestEnvironment.h"

#include "core/document/MpegHeader.h"

#include <QFile>
#include <ostream>

using namespace kelbrin;
using namespace kelbrin::test;

namespace {

// ffprobe hides a leading Xing/Info frame; it is a real frame to the editor.
bool isInfoFrame(const QByteArray& bytes, std::int64_t position) {
    const QByteArray head = bytes.mid(position - 1, 64);
    return head.contains("Xing") || head.contains("Info");
}

class DocumentScannerOracle : public DocumentTest {
protected:
    // `expected` replaces ffprobe's positions where junk precedes frames
    // (ffprobe then reports where the junk began).
    void expectMatchesFfprobe(const QString& path, bool variable,
                              const QList<std::int64_t>& expected = {}) {
        SCOPED_TRACE(path.toStdString());
        const QList<FfprobePacket> packets = FfprobePackets(path);
        ASSERT_GT(packets.size(), 10);
        const double ffprobeSeconds = TotalDuration(packets);

        // ffprobe prints each packet's time to the microsecond.
        const double slack = packets.size() * 1e-6;

        const Opened indexed = open(path, true);
        ASSERT_EQ(indexed.path, path);
        const QList<std::int64_t> ours = IndexPositions(*indexed.file);
        ASSERT_FALSE(ours.isEmpty());
        QList<std::int64_t> oracle;
        std::int64_t junkBytes = 0;
        if (!expected.isEmpty()) {
            oracle = expected;
            // Each frame still lies inside the packet ffprobe made of it.
            ASSERT_EQ(ours.size(), packets.size());
            for (qsizetype i = 0; i < ours.size(); ++i) {
                EXPECT_GT(ours[i], packets[i].pos);
                EXPECT_LE(ours[i], packets[i].pos + packets[i].size);
                junkBytes += ours[i] - (packets[i].pos + 1);
            }
        } else {
            for (const auto& p : packets)
                oracle.append(p.pos + 1);
            if (ours.first() != oracle.first() && isInfoFrame(ReadWholeFile(path), ours.first()))
                oracle.prepend(ours.first());
        }
        EXPECT_EQ(ours, oracle);
        EXPECT_TRUE(indexed.file->blnLoadedFull);
        EXPECT_EQ(indexed.file->blnVBR, variable);

        const double frame = FramesToSeconds(*indexed.file, 1);
        EXPECT_NEAR(indexed.file->sngCzasTrwania, ffprobeSeconds, frame + slack);

        // A plain open checks the bit rate only, unless it varies.
        const Opened plain = open(path, false);
        ASSERT_EQ(plain.path, path);
        EXPECT_EQ(plain.file->blnVBR, variable);
        EXPECT_EQ(plain.buildIndex, variable);
        EXPECT_EQ(plain.file->Daj_Naglowek_Ilosc(), variable ? ours.size() : 0);
        // Without an index the length comes from the file size, so junk
        // counts as audio there.
        const double junkFrames = frame * junkBytes / indexed.file->lngD1Ramki;
        EXPECT_NEAR(plain.file->sngCzasTrwania, ffprobeSeconds, frame + slack + junkFrames);
        EXPECT_TRUE(messageNumbers().isEmpty());
    }
};

struct Media {
    const char* name;
    bool variable;
};
void PrintTo(const Media& media, std::ostream* out) {
    *out << media.name;
}

class DocumentEncodedMedia : public DocumentScannerOracle,
                             public ::testing::WithParamInterface<Media> {};

} // namespace

TEST_P(DocumentEncodedMedia, IndexEqualsFfprobePacketsAndDurationsAgree) {
    expectMatchesFfprobe(MediaFile(GetParam().name), GetParam().variable);
}

INSTANTIATE_TEST_SUITE_P(
    Media, DocumentEncodedMedia,
    ::testing::Values(Media{"cbr_info.mp3", false}, Media{"cbr_noinfo.mp3", false},
                      Media{"vbr_xing.mp3", true}, Media{"vbr_noinfo.mp3", true},
                      Media{"crc.mp3", false}, Media{"mpeg2_l3.mp3", false},
                      Media{"mpeg25_l3.mp3", false}, Media{"layer2.mp2", false},
                      Media{"id3v2_100k.mp3", false}, Media{"id3v2_100k_vbr.mp3", true},
                      Media{"id3v1.mp3", false}),
    [](const auto& testInfo) {
        QString name = QString::fromLatin1(testInfo.param.name);
        name.replace('.', '_');
        return name.toStdString();
    });

TEST_F(DocumentScannerOracle, JunkBetweenFramesCostsNoFrame) {
    QList<std::int64_t> expected;
    QFile list(MediaFile("garbage.pos"));
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    for (const QByteArray& line : list.readAll().split('\n'))
        if (!line.trimmed().isEmpty())
            expected.append(line.trimmed().toLongLong() + 1);
    expectMatchesFfprobe(MediaFile("garbage.mp3"), false, expected);
}

TEST_F(DocumentScannerOracle, LayerOneAtFortyFourKilohertz) {
    // 384 kbit/s: 104.49 slots a frame, so frames of 416 and 420 bytes.
    for (std::uint8_t byte3 : {std::uint8_t(0xC0), std::uint8_t(0x10)}) {
        SyntheticMpeg stream;
        stream.constantRate(400, kMpeg1Layer1, byte3);
        const QString path = WriteTempFile("layer1.mp1", stream.bytes());
        expectMatchesFfprobe(path, false);
        EXPECT_EQ(IndexPositions(*open(path, true).file), stream.positions());
    }
}

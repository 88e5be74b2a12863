// What kind of source a file is, decided before anything is derived from it:
// a bit rate that varies only late in the file, a format that changes midway,
// a last frame cut short, a FIFO given as a source; and the busy pointer of an
// open of several files.
#include "DocumentTestSupport.h"
#include "support/ProgramState.h"
#include "Ffprobe.h"
#include "support/SyntheticMpeg.h"
#include "support/TestEnvironment.h"

#include "core/app/ProgramObjects.h"
#include "core/app/TextCatalog.h"
#include "core/document/MpegHeader.h"
#include "core/document/PlikOpen.h"
#include "core/document/SourceReader.h"
#include "core/document/cPozycjePlikow.h"

#include <sys/stat.h>

using namespace kelbrin;
using namespace kelbrin::test;

using DocumentSourceKind = DocumentTest;

namespace {
constexpr std::uint8_t k128k = 0x90; // MPEG-1 Layer III, 44100 Hz
constexpr std::uint8_t k64k = 0x50;
constexpr std::uint8_t kMpeg2_64k = 0x80; // MPEG-2 Layer III, 22050 Hz
constexpr double kFrameSeconds = 1152.0 / 44100.0;
} // namespace

TEST_F(DocumentSourceKind, ALateBitRateChangeMakesTheSourceVariable) {
    // Silence first: the first hundreds of frames share the lowest rate.
    const QString quiet = MediaFile("vbr_quiet_start.mp3");
    const QList<FfprobePacket> packets = FfprobePackets(quiet);
    ASSERT_GT(packets.size(), 1000);
    for (int i = 1; i < 20; ++i)
        ASSERT_EQ(packets[i].size, packets[0].size) << "the media no longer starts quietly";
    const Opened q = open(quiet);
    EXPECT_EQ(q.path, quiet);
    EXPECT_TRUE(q.file->blnVBR);
    EXPECT_TRUE(q.buildIndex);
    EXPECT_EQ(q.file->Daj_Naglowek_Ilosc(), packets.size());
    EXPECT_NEAR(q.file->sngCzasTrwania, TotalDuration(packets), 0.03);
    EXPECT_NEAR(q.file->sngCzasTrwania, 30.0, 0.1);

    // Two constant-rate files joined, each far longer than the first check.
    SyntheticMpeg joined;
    joined.constantRate(400, kMpeg1Layer3, k128k).constantRate(300, kMpeg1Layer3, k64k);
    const QString path = WriteTempFile("joined.mp3", joined.bytes());
    const Opened j = open(path);
    EXPECT_TRUE(j.file->blnVBR);
    EXPECT_EQ(IndexPositions(*j.file), joined.positions());
    EXPECT_NEAR(j.file->sngCzasTrwania, 700 * kFrameSeconds, 0.001);

    // A constant rate stays constant: no index, duration from the size.
    SyntheticMpeg plain;
    plain.constantRate(700, kMpeg1Layer3, k128k);
    const Opened p = open(WriteTempFile("plain.mp3", plain.bytes()));
    EXPECT_FALSE(p.file->blnVBR);
    EXPECT_FALSE(p.buildIndex);
    EXPECT_EQ(p.file->Daj_Naglowek_Ilosc(), 0);
    EXPECT_NEAR(p.file->sngCzasTrwania, 700 * kFrameSeconds, 0.03);
    EXPECT_TRUE(messageNumbers().isEmpty());
}

TEST_F(DocumentSourceKind, AnXingOrVbriHeaderMarksTheSourceVariable) {
    SyntheticMpeg stream;
    stream.constantRate(300, kMpeg1Layer3, k128k); // mono: side information of 17 bytes
    QByteArray xing = stream.bytes();
    xing.replace(4 + 17, 4, "Xing");
    QByteArray vbri = stream.bytes();
    vbri.replace(36, 4, "VBRI");
    QByteArray info = stream.bytes();
    info.replace(4 + 17, 4, "Info");
    EXPECT_TRUE(open(WriteTempFile("xing.mp3", xing)).file->blnVBR);
    EXPECT_TRUE(open(WriteTempFile("vbri.mp3", vbri)).file->blnVBR);
    EXPECT_FALSE(open(WriteTempFile("info.mp3", info)).file->blnVBR); // Info: a constant rate
}

TEST_F(DocumentSourceKind, AFormatChangeEndsTheIndexWithAMessageNamingTheTime) {
    SyntheticMpeg stream;
    stream.constantRate(300, kMpeg1Layer3, k128k).constantRate(200, kMpeg2Layer3, kMpeg2_64k);
    const QString path = WriteTempFile("changes.mp3", stream.bytes());
    // Whether the caller asked for the index or not, and whether or not the
    // rate varies before the change.
    for (const bool buildIndex : {false, true}) {
        SCOPED_TRACE(buildIndex);
        const qsizetype before = messages().size();
        const Opened opened = open(path, buildIndex);
        EXPECT_EQ(opened.path, path);
        EXPECT_FALSE(opened.file->blnVBR);
        EXPECT_EQ(IndexPositions(*opened.file), stream.positions().mid(0, 300));
        EXPECT_NEAR(opened.file->sngCzasTrwania, 300 * kFrameSeconds, 0.001);
        ASSERT_EQ(messages().size(), before + 1);
        EXPECT_EQ(messageNumbers().last(), 6040);
        EXPECT_EQ(messages().last().text, GetText(6040, "|1", path, "|2", "0:07.837"));
    }

    // A change within the first frames, after a varying rate.
    SyntheticMpeg early;
    early.frame(kMpeg1Layer3, k128k).frame(kMpeg1Layer3, k128k).frame(kMpeg1Layer3, k128k);
    early.frame(kMpeg1Layer3, k64k).frame(kMpeg1Layer3, k64k);
    early.constantRate(100, kMpeg2Layer3, kMpeg2_64k);
    const QString earlyPath = WriteTempFile("early.mp3", early.bytes());
    const Opened e = open(earlyPath);
    EXPECT_TRUE(e.file->blnVBR);
    EXPECT_EQ(IndexPositions(*e.file), early.positions().mid(0, 5));
    EXPECT_EQ(messages().last().text, GetText(6040, "|1", earlyPath, "|2", "0:00.131"));
}

TEST_F(DocumentSourceKind, OnlyWholeFramesAreIndexed) {
    SyntheticMpeg stream;
    stream.constantRate(50, kMpeg1Layer3, k128k);
    const QByteArray whole = stream.bytes();
    const QByteArray cut = whole.left(whole.size() - 200);
    const QByteArray tag = QByteArray("TAG") + QByteArray(125, ' ');
    const QList<std::int64_t> all = stream.positions();
    struct Case {
        const char* name;
        QByteArray bytes;
        qsizetype frames;
    };
    const Case cases[] = {{"whole.mp3", whole, 50},
                          {"whole-tag.mp3", whole + tag, 50},
                          {"cut.mp3", cut, 49},
                          {"cut-tag.mp3", cut + tag, 49}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Opened opened = open(WriteTempFile(c.name, c.bytes), true);
        EXPECT_EQ(IndexPositions(*opened.file), all.mid(0, c.frames));
        EXPECT_TRUE(opened.file->blnLoadedFull);
    }
    // Layer I lengths are exact: a frame one byte short is cut.
    SyntheticMpeg layer1;
    layer1.constantRate(40, kMpeg1Layer1, 0x44); // 128 kbit/s, 48000 Hz: 128 bytes
    const Opened l1 =
        open(WriteTempFile("l1.mp2", layer1.bytes().left(layer1.bytes().size() - 1)), true);
    EXPECT_EQ(IndexPositions(*l1.file), layer1.positions().mid(0, 39));
    EXPECT_TRUE(messageNumbers().isEmpty());
}

TEST_F(DocumentSourceKind, AFifoIsRefusedBeforeItIsOpened) {
    const QString fifo = MakeTempDir("fifo") + "/pipe.mp3";
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    Program().session.NextFileId = 1;
    // Opening it would wait for a writer for ever: each of these returns.
    EXPECT_EQ(open(fifo).path, "");
    EXPECT_EQ(openAsNew(fifo).path, "");
    EXPECT_EQ(openAsNew(fifo, false, source_filter::Media).path, "");
    EXPECT_EQ(messageNumbers(), (QList<int>{3301, 3301, 3301}));
    EXPECT_EQ(messages().first().text, GetText(3301, "|1", fifo));
    EXPECT_EQ(Program().session.OpenFiles->Count(), 0);
    EXPECT_EQ(Program().session.NextFileId, 1);
    EXPECT_FALSE(SourceReader(fifo).isOpen());
}

TEST_F(DocumentSourceKind, SeveralFilesAtOnceTurnTheBusyPointerOnAndOffOnce) {
    SourceFileChoice choice;
    choice.paths = {MediaFile("cbr_noinfo.mp3"), MediaFile("vbr_xing.mp3"),
                    MediaFile("layer2.mp2")};
    choice.filterIndex = 1;
    choice.folder = MediaDir();
    host.choice = choice;
    Program().session.NextFileId = 1;
    const Opened opened = openAsNew(QString());
    EXPECT_EQ(opened.path, MediaFile("layer2.mp2"));
    EXPECT_EQ(Program().session.OpenFiles->Count(), 3);
    EXPECT_EQ(host.busyChanges, (QList<bool>{true, false}));

    // A failing file among them changes nothing in that.
    host.busyChanges.clear();
    choice.paths = {MediaFile("cbr_noinfo.mp3"), MediaDir() + "/missing.mp3",
                    MediaFile("cbr_info.mp3")};
    host.choice = choice;
    openAsNew(QString());
    EXPECT_EQ(host.busyChanges, (QList<bool>{true, false}));
}

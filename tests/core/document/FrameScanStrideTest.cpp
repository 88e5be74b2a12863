// The frame walk strides through runs of regular frames; taken frame by frame
// through the general checks, every input must give the same index, the same
// flags and the same calls to the host.
#include "DocumentTestSupport.h"
#include "support/SyntheticMpeg.h"
#include "support/TestEnvironment.h"

#include "core/document/FrameProbe.h"
#include "core/document/FrameScan.h"
#include "core/document/SourceReader.h"

#include <functional>
#include <random>

using namespace kelbrin;
using namespace kelbrin::test;

namespace {

struct Walk {
    bool probed = false;
    FrameScanOutcome outcome = FrameScanOutcome::Complete;
    bool padded = false;
    std::int64_t formatChangeAt = 0;
    bool buildIndex = false;
    bool variable = false;
    QList<std::int64_t> positions;
    std::int32_t upperBound = 0;
    std::int64_t maxOffsetLoaded = 0;
    std::int32_t maxFrameLoaded = 0;
    QList<std::int64_t> progress;
    QList<std::uint32_t> colours;
};

struct Options {
    bool buildIndex = true;
    bool keepHeaderBytes = false;
    std::int32_t neededFrame = 0; // a track's range, when not 0
    int stopAtProgress = 0;       // the host stops the walk at this progress call
};

// Walks `path` the way opening it does: the probe, the audio's end, the walk.
Walk walk(const QString& path, bool frameByFrame, const Options& options) {
    Walk result;
    SourceReader reader(path);
    cPozycjaPlikow file;
    file.blnExtraArray = options.keepHeaderBytes;
    const ProbeResult probe = FrameProbe::Run(reader, file);
    if (!probe.found)
        return result;
    result.probed = true;
    FrameScanRequest request;
    request.firstFrame = probe.firstFramePosition;
    request.reference2 = probe.byte2;
    request.reference3 = probe.byte3;
    request.audioEnd = reader.size();
    char tag[3] = {};
    if (reader.size() >= 128 && reader.readAt(reader.size() - 128, tag, 3) == 3 &&
        QByteArray(tag, 3) == "TAG")
        request.audioEnd -= 128;
    request.trackGiven = options.neededFrame > 0;
    request.neededFrame = options.neededFrame;
    request.frameByFrame = frameByFrame;
    RecordingHost host;
    host.blnScanFailed = false;
    if (options.stopAtProgress > 0)
        host.onProgress = [&options](RecordingHost& h) {
            if (h.values.size() == options.stopAtProgress)
                h.blnScanFailed = true;
        };
    result.buildIndex = options.buildIndex;
    const FrameScanResult scan = FrameScan(reader, file, host, request).Run(result.buildIndex);
    result.outcome = scan.outcome;
    result.padded = scan.paddedFrameSeen;
    result.formatChangeAt = scan.formatChangeAt;
    result.variable = file.blnVBR;
    result.positions = IndexPositions(file);
    result.upperBound = file.IndexUpperBound();
    result.maxOffsetLoaded = file.dblMaxOffsetLoaded;
    result.maxFrameLoaded = file.lngMaxFrameLoaded;
    result.progress = host.values;
    result.colours = host.colours;
    return result;
}

void expectSameWalk(const QString& path, const Options& options = {}) {
    SCOPED_TRACE(path.toStdString());
    const Walk striding = walk(path, false, options);
    const Walk stepping = walk(path, true, options);
    ASSERT_EQ(striding.probed, stepping.probed);
    EXPECT_EQ(striding.outcome, stepping.outcome);
    EXPECT_EQ(striding.padded, stepping.padded);
    EXPECT_EQ(striding.formatChangeAt, stepping.formatChangeAt);
    EXPECT_EQ(striding.buildIndex, stepping.buildIndex);
    EXPECT_EQ(striding.variable, stepping.variable);
    EXPECT_EQ(striding.positions, stepping.positions);
    EXPECT_EQ(striding.upperBound, stepping.upperBound);
    EXPECT_EQ(striding.maxOffsetLoaded, stepping.maxOffsetLoaded);
    EXPECT_EQ(striding.maxFrameLoaded, stepping.maxFrameLoaded);
    EXPECT_EQ(striding.progress, stepping.progress);
    EXPECT_EQ(striding.colours, stepping.colours);
}

void expectSameWalkAllWays(const QString& path) {
    expectSameWalk(path);
    expectSameWalk(path, {false});
    expectSameWalk(path, {true, true});
    expectSameWalk(path, {true, false, 1500});
    expectSameWalk(path, {true, false, 0, 1});
}

// The bit rate and the padding change from one frame to the next, as a
// variable-rate encoder writes them; long enough to cross the read block and
// many progress steps. `sampling` is the sampling index bits of byte 3.
SyntheticMpeg variableRate(int frames, std::uint8_t byte2, std::uint8_t sampling, unsigned seed) {
    std::mt19937 random(seed);
    SyntheticMpeg stream;
    for (int i = 0; i < frames; ++i) {
        const auto index = static_cast<std::uint8_t>(1 + random() % 14);
        const auto padding = static_cast<std::uint8_t>(random() % 3 == 0 ? 0x02 : 0);
        stream.frame(byte2, std::uint8_t(index << 4 | sampling | padding));
    }
    return stream;
}

class DocumentFrameStride : public DocumentTest {};

} // namespace

TEST_F(DocumentFrameStride, EncodedMediaWalksAlikeEitherWay) {
    for (const char* name :
         {"cbr_info.mp3", "cbr_noinfo.mp3", "crc.mp3", "garbage.mp3", "id3v1.mp3", "id3v2_100k.mp3",
          "id3v2_100k_vbr.mp3", "layer2.mp2", "mpeg25_l3.mp3", "mpeg2_l3.mp3", "play.mp2",
          "play_cbr.mp3", "play_vbr.mp3", "vbr_noinfo.mp3", "vbr_quiet_start.mp3", "vbr_xing.mp3"})
        expectSameWalkAllWays(MediaFile(name));
}

TEST_F(DocumentFrameStride, TrickyStreamsWalkAlikeEitherWay) {
    const QString dir = MakeTempDir("stride");
    // Lengths rounded one byte up and exact ones alternate at 44.1 kHz; all
    // are exact at 48 kHz; Layer II; MPEG-2 Layer III.
    const QList<SyntheticMpeg> variable = {
        variableRate(6000, kMpeg1Layer3, 0x00, 1), variableRate(6000, kMpeg1Layer3, 0x04, 2),
        variableRate(4000, kMpeg1Layer2, 0x00, 3), variableRate(6000, kMpeg2Layer3, 0x00, 4)};
    QList<SyntheticMpeg> streams = variable;
    // Long enough to cross the read block and many progress steps.
    streams.append(SyntheticMpeg().constantRate(4000, kMpeg1Layer3, 0x90));
    // 48 kHz: lengths are exact, so every header is one byte past where the
    // walk first looks.
    streams.append(SyntheticMpeg().constantRate(3000, kMpeg1Layer3, 0x94));
    // Protected frames, and protection switching on and off.
    streams.append(
        SyntheticMpeg().constantRate(1500, 0xFA, 0x90).constantRate(1500, kMpeg1Layer3, 0x90));
    streams.append(SyntheticMpeg().constantRate(2500, kMpeg1Layer2, 0x94));
    streams.append(SyntheticMpeg().constantRate(2500, kMpeg1Layer1, 0x90));
    streams.append(SyntheticMpeg().constantRate(2500, kMpeg2Layer3, 0x80));
    streams.append(SyntheticMpeg().constantRate(2500, kMpeg25Layer3, 0x80));
    {
        // The bit rate changes now and then.
        SyntheticMpeg vbr;
        for (int i = 0; i < 60; ++i)
            vbr.constantRate(40 + i % 7, kMpeg1Layer3, std::uint8_t((1 + i % 14) << 4));
        streams.append(vbr);
    }
    {
        // Junk with sync patterns, free-format frames and lost bit-rate indexes
        // between runs; a frame cut short at the end.
        SyntheticMpeg junk;
        junk.constantRate(700, kMpeg1Layer3, 0x90);
        junk.junk(QByteArray("ab\xFF\xFB\x90\x64"
                             "cdefgh",
                             12));
        junk.constantRate(900, kMpeg1Layer3, 0x90);
        junk.frame(kMpeg1Layer3, 0x00, 0xC4, 300).frame(kMpeg1Layer3, 0x00, 0xC4, 300);
        junk.constantRate(900, kMpeg1Layer3, 0x90);
        junk.junk(QByteArray(9, char(0xFF)));
        junk.constantRate(900, kMpeg1Layer3, 0x90);
        junk.frame(kMpeg1Layer3, 0xF0, 0xC4, 0);
        junk.constantRate(500, kMpeg1Layer3, 0x90);
        QByteArray bytes = junk.bytes();
        bytes.chop(200);
        streams.append(SyntheticMpeg().junk(bytes));
    }
    // Another format takes over half way; then an ID3v1 tag.
    streams.append(SyntheticMpeg()
                       .constantRate(2000, kMpeg1Layer3, 0x90)
                       .constantRate(2000, kMpeg2Layer3, 0x80)
                       .id3v1());
    streams.append(SyntheticMpeg().id3v2(5000).constantRate(3000, kMpeg1Layer3, 0x94).id3v1());
    for (int i = 0; i < streams.size(); ++i) {
        const QString path = dir + QStringLiteral("/s%1.mp3").arg(i);
        ASSERT_TRUE(streams[i].write(path));
        expectSameWalkAllWays(path);
        // Every frame of a clean variable-rate stream is indexed, once.
        if (i < variable.size()) {
            const Walk striding = walk(path, false, {});
            EXPECT_TRUE(striding.variable);
            EXPECT_EQ(striding.positions, streams[i].positions());
        }
    }
}

TEST_F(DocumentFrameStride, DamagedCopiesWalkAlikeEitherWay) {
    std::mt19937 random(4711);
    const QString dir = MakeTempDir("stride-damaged");
    const QByteArray long128 = SyntheticMpeg().constantRate(3500, kMpeg1Layer3, 0x90).bytes();
    const QByteArray long48 = SyntheticMpeg().constantRate(3500, kMpeg1Layer3, 0x94).bytes();
    const QByteArray longVariable = variableRate(5000, kMpeg1Layer3, 0x00, 5).bytes();
    int variant = 0;
    for (const QByteArray& original :
         {long128, long48, longVariable, ReadWholeFile(MediaFile("play_vbr.mp3")),
          ReadWholeFile(MediaFile("crc.mp3"))}) {
        ASSERT_FALSE(original.isEmpty());
        for (int round = 0; round < 8; ++round) {
            QByteArray bytes = original;
            std::uniform_int_distribution<qsizetype> anywhere(0, bytes.size() - 8);
            for (int i = 0; i < 25; ++i) {
                const qsizetype at = anywhere(random);
                switch ((round + i) % 4) {
                case 0:
                    bytes[at] = char(random());
                    break;
                case 1:
                    bytes.replace(at, 4, QByteArray("\xFF\xFB\x90\x64", 4));
                    break;
                case 2:
                    bytes.insert(at, QByteArray(int(random() % 5) + 1, char(0xFF)));
                    break;
                case 3:
                    bytes.remove(at, int(random() % 3) + 1);
                    break;
                }
            }
            bytes.truncate(bytes.size() - int(random() % 500));
            const QString path = dir + QStringLiteral("/d%1.mp3").arg(variant++);
            ASSERT_FALSE(WriteFile(path, bytes).isEmpty());
            expectSameWalk(path);
            expectSameWalk(path, {true, false, 2});
        }
    }
}

// A frame's last byte may be 0xFF. Before an MPEG-1 header it starts nothing
// and is passed over; before an MPEG-2.5 header it reads as an MPEG-1 Layer I
// header, and when two more of those follow at their lengths, that format
// takes over there.
TEST_F(DocumentFrameStride, ASyncByteBeforeAHeaderWalksAlikeEitherWay) {
    const QString dir = MakeTempDir("stride-sync");
    struct Case {
        SyntheticMpeg stream;
        bool layerOneRun;
    };
    // 48 and 12 kHz: exact lengths, so the walk reads the byte before each header.
    const QList<Case> cases = {{variableRate(3000, kMpeg1Layer3, 0x04, 7), false},
                               {SyntheticMpeg().constantRate(3000, kMpeg25Layer3, 0xE4), false},
                               {SyntheticMpeg().constantRate(3000, kMpeg25Layer3, 0xE4), true}};
    for (int i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        QByteArray bytes = c.stream.bytes();
        for (const int frame : {1203, 1777, 2222, 2601})
            bytes[qsizetype(c.stream.positions()[frame] - 2)] = char(0xFF);
        // Layer I frames at 448 kbit/s: 488 bytes with padding, 484 without.
        const qsizetype change = c.stream.positions()[2222] - 2;
        if (c.layerOneRun) {
            bytes.replace(change + 488, 4, QByteArray("\xFF\xFF\xE0\x00", 4));
            bytes.replace(change + 488 + 484, 4, QByteArray("\xFF\xFF\xE0\x00", 4));
        }
        const QString path = WriteFile(dir + QStringLiteral("/s%1.mp3").arg(i), bytes);
        ASSERT_FALSE(path.isEmpty());
        expectSameWalk(path);
        const Walk striding = walk(path, false, {});
        if (c.layerOneRun) {
            EXPECT_EQ(striding.formatChangeAt, change + 1);
        } else {
            EXPECT_EQ(striding.formatChangeAt, 0);
            EXPECT_EQ(striding.positions, c.stream.positions());
        }
    }
}

// The reader's block starts on a page boundary before the offset asked for:
// what it hands out must still be the file's bytes from that offset, as many
// as asked for or up to the end.
TEST_F(DocumentFrameStride, BufferedBytesAreTheFilesWhereverTheBlockStarts) {
    QByteArray bytes(3 * SourceReader::kBlockSize + 777, '\0');
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = char((i * 7 + i / 251) & 0xFF);
    const QString path = WriteFile(MakeTempDir("reader") + "/bytes.bin", bytes);
    SourceReader reader(path);
    ASSERT_TRUE(reader.isOpen());
    const std::int64_t size = bytes.size();
    for (const std::int64_t offset :
         {std::int64_t(0), std::int64_t(1), std::int64_t(4095), std::int64_t(4097),
          SourceReader::kBlockSize - 2, SourceReader::kBlockSize + 4096, size - 4100, size - 3}) {
        for (const std::int64_t wanted :
             {std::int64_t(4), std::int64_t(9000), SourceReader::kBlockSize,
              2 * SourceReader::kBlockSize + 5}) {
            SCOPED_TRACE(testing::Message() << offset << " " << wanted);
            const std::int64_t got = reader.fill(offset, wanted);
            EXPECT_EQ(got >= wanted, offset + wanted <= size);
            ASSERT_GE(got, std::min(wanted, size - offset));
            ASSERT_LE(got, size - offset);
            EXPECT_EQ(reader.buffered(offset), got);
            EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(reader.data(offset)), got),
                      bytes.mid(offset, got));
        }
    }
    EXPECT_EQ(reader.buffered(size + 10), 0);
    EXPECT_FALSE(reader.failed());
}

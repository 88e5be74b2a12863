// Outputs of the save engine against outside oracles: every output is a run of
// whole source frames (ffprobe's packet positions), followed by one ID3v1
// block, and mp3val and mpg123 accept it; joined outputs of pieces that follow
// each other are the same runs one after the other. An output of a
// variable bit rate starts with a Xing frame that counts it (its source's own
// one rewritten, or one made for it), so players show its true length.
#include "ExportTestSupport.h"
#include "core/document/MpegHeader.h"
#include "core/export/SaveFrameMath.h"
#include "core/export/SaveInfoFrame.h"

#include <QFileInfo>
#include <set>

using namespace kelbrin;
using namespace kelbrin::test;

namespace {

struct SourceFacts {
    QByteArray bytes;
    std::set<std::int64_t> starts; // frame starts, the Info frame's included
    std::int64_t infoLength = 0;   // the Info frame's length at the first frame, or 0
    std::int64_t audioEnd = 0;
};

SourceFacts Facts(const QString& path) {
    SourceFacts f;
    f.bytes = ReadAll(path);
    for (std::int64_t p : PacketPositions(path))
        f.starts.insert(p);
    const std::int64_t first = *f.starts.begin();
    if (first > 0 && first < 4096 && (f.bytes.left(first).contains("Info") || f.bytes.left(first).contains("Xing"))) {
        f.starts.insert(0);
        f.infoLength = first;
    }
    f.audioEnd = f.bytes.size();
    if (f.bytes.size() >= 128 && f.bytes.mid(f.bytes.size() - 128, 3) == "TAG")
        f.audioEnd -= 128;
    f.starts.insert(f.audioEnd);
    return f;
}

// Where in the source the output's audio comes from; -1 when it is not a run
// of whole frames.
std::int64_t SourceStartOf(const QByteArray& audio, const SourceFacts& src) {
    for (std::int64_t start : src.starts) {
        if (start + audio.size() > src.audioEnd || !src.starts.count(start + audio.size()))
            continue;
        // A copied Info frame was rewritten to describe the output.
        const std::int64_t skip = (start == 0 && src.infoLength > 0) ? src.infoLength : 0;
        if (skip > 0 && audio.left(4) != src.bytes.left(4))
            continue;
        if (audio.mid(skip) == src.bytes.mid(start + skip, audio.size() - skip))
            return start;
    }
    return -1;
}

QByteArray AudioOf(const QString& output) {
    const QByteArray bytes = ReadAll(output);
    EXPECT_GE(bytes.size(), 128);
    EXPECT_EQ(bytes.mid(bytes.size() - 128, 3), QByteArray("TAG"));
    return bytes.left(bytes.size() - 128);
}

std::uint32_t Big32(const QByteArray& b, int at) {
    return (std::uint32_t(std::uint8_t(b[at])) << 24) | (std::uint32_t(std::uint8_t(b[at + 1])) << 16) |
           (std::uint32_t(std::uint8_t(b[at + 2])) << 8) | std::uint8_t(b[at + 3]);
}

std::uint16_t Big16(const QByteArray& b, int at) {
    return static_cast<std::uint16_t>((std::uint8_t(b[at]) << 8) | std::uint8_t(b[at + 1]));
}

// The CRC-16 of the encoder tag (reflected polynomial 0x8005, start 0), bit by bit.
std::uint16_t EncoderTagCrc(const QByteArray& bytes) {
    std::uint16_t crc = 0;
    for (char byte : bytes) {
        crc ^= std::uint8_t(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? std::uint16_t((crc >> 1) ^ 0xA001) : std::uint16_t(crc >> 1);
    }
    return crc;
}

// An Info frame at the start of an output counts that output's frames and
// bytes, and the encoder's tag in it sums the frames behind it as decoders
// check them. True when the output has such a tag.
bool ExpectInfoFrameDescribes(const QString& output) {
    const QByteArray audio = AudioOf(output);
    int at = audio.left(64).indexOf("Info");
    if (at < 0)
        at = audio.left(64).indexOf("Xing");
    if (at < 0)
        return false;
    const std::uint32_t flags = Big32(audio, at + 4);
    EXPECT_EQ(flags & 3u, 3u);
    if ((flags & 3u) != 3u)
        return false;
    EXPECT_EQ(Big32(audio, at + 8), std::uint32_t(PacketPositions(output).size()));
    EXPECT_EQ(Big32(audio, at + 12), std::uint32_t(audio.size()));
    const int lame = at + 16 + ((flags & 4u) ? 100 : 0) + ((flags & 8u) ? 4 : 0);
    if (audio.mid(lame, 4) != "LAME")
        return false;
    const auto* h = reinterpret_cast<const std::uint8_t*>(audio.constData());
    const int infoLength = save_frame::ExactLength(h[1], h[2]);
    EXPECT_EQ(Big32(audio, lame + 28), std::uint32_t(audio.size()));
    EXPECT_EQ(Big16(audio, lame + 32), EncoderTagCrc(audio.mid(infoLength)))
        << output.toStdString() << ": the music CRC";
    EXPECT_EQ(Big16(audio, lame + 34), EncoderTagCrc(audio.left(lame + 34)))
        << output.toStdString() << ": the tag CRC";
    return true;
}

// The length of a Xing frame made for the output, in front of a run of
// source frames; 0 when the output has none.
std::int64_t MadeHeaderLength(const QByteArray& audio, const SourceFacts& src) {
    if (audio.size() < 4 || SourceStartOf(audio, src) >= 0)
        return 0;
    const auto* h = reinterpret_cast<const std::uint8_t*>(audio.constData());
    const std::int64_t length = save_frame::ExactLength(h[1], h[2]);
    if (length <= 0 || !audio.left(length).contains("Xing") ||
        SourceStartOf(audio.mid(length), src) < 0)
        return 0;
    return length;
}

double ToolSeconds(const QStringList& args) {
    double total = 0;
    for (const QString& line : RunTool("ffprobe", args).split('\n', Qt::SkipEmptyParts))
        total += line.trimmed().toDouble();
    return total;
}

// Players see the output's true length: mp3val finds a VBR header wherever the
// rate varies, and ffprobe's duration is the sum of its frames.
void ExpectTrueLength(const QString& output) {
    EXPECT_FALSE(RunTool("mp3val", {output}).contains("no VBR header")) << output.toStdString();
    const double frames = ToolSeconds({"-v", "error", "-select_streams", "a:0", "-show_entries",
                                       "packet=duration_time", "-of", "csv=p=0", output});
    const double shown =
        ToolSeconds({"-v", "error", "-show_entries", "format=duration", "-of", "csv=p=0", output});
    EXPECT_NEAR(shown, frames, 0.08) << output.toStdString(); // within one frame
}

struct Case {
    const char* source;
    bool turbo;
};

class EverySource : public ExportTest, public ::testing::WithParamInterface<Case> {};

} // namespace

TEST_P(EverySource, PiecesAreWholeSourceFramesAndJoinedOnesGoOnAsTheSource) {
    const QString path = MediaFile(GetParam().source);
    const auto file = open(path);
    ASSERT_TRUE(file);
    const SourceFacts src = Facts(path);
    const double duration = file->sngCzasTrwania;
    SaveRequest r = request({seconds(path, 0, 3.1, "a.mp3"), seconds(path, 3.1, 6.5, "b.mp3"),
                             seconds(path, 6.5, duration, "c.mp3")});
    r.turbo = GetParam().turbo;
    ASSERT_EQ(SavePieces(r, *std::make_unique<HeadlessSaveHost>()).status, SaveStatus::Finished);

    QList<QByteArray> parts;
    std::int64_t expectedStart = -2;
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3"}) {
        const QString output = dest + "/" + name;
        const QByteArray whole = AudioOf(output);
        const std::int64_t made = MadeHeaderLength(whole, src);
        EXPECT_TRUE(made == 0 || file->blnVBR) << name << " of a constant rate got a Xing frame";
        if (file->blnVBR && !IsInfoFrame(whole)) {
            EXPECT_GT(made, 0) << name << " of a variable rate has no Xing frame";
        }
        const QByteArray audio = whole.mid(made);
        const std::int64_t start = SourceStartOf(audio, src);
        ASSERT_GE(start, 0) << name << " is not a run of whole frames";
        if (expectedStart != -2) {
            EXPECT_EQ(start, expectedStart) << name << " does not go on where the last one ended";
        }
        expectedStart = start + audio.size();
        ExpectPlayable(output);
        // The first piece keeps its source's encoder tag.
        EXPECT_EQ(ExpectInfoFrameDescribes(output),
                  start == 0 && src.bytes.left(src.infoLength).contains("LAME"))
            << name;
        ExpectTrueLength(output);
        parts.append(audio);
    }
    EXPECT_EQ(expectedStart, src.audioEnd) << "a piece to the end keeps the last frame";
    if (!GetParam().turbo) {
        // The frames-from-seconds rule, also for a variable bit rate.
        const std::int64_t second = static_cast<std::int64_t>(
            3.1 * HeaderSampleRate(*file) / mpeg::SamplesPerFrame(file->btyFrame2));
        EXPECT_EQ(SourceStartOf(parts[1], src), file->Daj_Naglowek_Offset(second) - 1);
    }

    r.joined = true;
    r.joinedName = "joined";
    ASSERT_EQ(SavePieces(r, *std::make_unique<HeadlessSaveHost>()).status, SaveStatus::Finished);
    const QString joinedPath = dest + "/joined.mp3";
    const QByteArray joinedWhole = AudioOf(joinedPath);
    std::int64_t joinedMade = 0;
    if (file->blnVBR && !IsInfoFrame(parts[0])) {
        const auto* h = reinterpret_cast<const std::uint8_t*>(joinedWhole.constData());
        joinedMade = save_frame::ExactLength(h[1], h[2]);
        EXPECT_TRUE(joinedWhole.left(joinedMade).contains("Xing"));
    }
    const QByteArray joined = joinedWhole.mid(joinedMade);
    ASSERT_EQ(joined.size(), parts[0].size() + parts[1].size() + parts[2].size());
    const std::int64_t info = IsInfoFrame(parts[0]) ? src.infoLength : 0;
    EXPECT_EQ(joined.mid(info, parts[0].size() - info), parts[0].mid(info));
    // The pieces follow each other in their source: the joined file goes on
    // as the source does, without a silent frame at the joins.
    EXPECT_EQ(joined.mid(parts[0].size()), parts[1] + parts[2]);
    ExpectPlayable(joinedPath);
    EXPECT_EQ(ExpectInfoFrameDescribes(joinedPath),
              src.bytes.left(src.infoLength).contains("LAME"));
    ExpectTrueLength(joinedPath);
}

INSTANTIATE_TEST_SUITE_P(
    Export, EverySource,
    ::testing::Values(Case{"cbr_noinfo.mp3", false}, Case{"cbr_noinfo.mp3", true},
                      Case{"cbr_info.mp3", false}, Case{"cbr_info.mp3", true},
                      Case{"vbr_xing.mp3", false}, Case{"vbr_xing.mp3", true},
                      Case{"vbr_noinfo.mp3", false}, Case{"crc.mp3", false}, Case{"crc.mp3", true},
                      Case{"mpeg2_l3.mp3", false}, Case{"mpeg2_l3.mp3", true},
                      Case{"mpeg25_l3.mp3", false}, Case{"layer2.mp2", false},
                      Case{"layer2.mp2", true}, Case{"id3v2_100k.mp3", false},
                      Case{"id3v2_100k.mp3", true}, Case{"id3v2_100k_vbr.mp3", false},
                      Case{"id3v2_100k_vbr.mp3", true}, Case{"id3v1.mp3", false}),
    [](const auto& testInfo) {
        QString name = QString(testInfo.param.source).section('.', 0, 0);
        return (name + (testInfo.param.turbo ? "_turbo" : "_exact")).toStdString();
    });

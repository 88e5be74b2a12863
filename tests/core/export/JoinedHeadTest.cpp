// A joined output holds one Info frame, at its head: the Info or Xing frame a
// later piece's source starts with is left out, the head counts the frames
// written, and it says "Xing" over frames of several bit rates and "Info"
// over frames of one.
#include "ExportTestSupport.h"
#include "core/document/Ffprobe.h"
#include "core/export/SaveFrameMath.h"

using namespace kelbrin;
using namespace kelbrin::test;

namespace {

struct Frame {
    std::int64_t pos = 0;
    QByteArray bytes;
};

// The output's frames, walked header by header up to its ID3v1 block.
QList<Frame> WalkFrames(const QString& path) {
    const QByteArray file = ReadAll(path);
    const std::int64_t end = file.size() - 128;
    EXPECT_EQ(file.mid(end, 3), QByteArray("TAG"));
    QList<Frame> frames;
    for (std::int64_t at = 0; at + 4 <= end;) {
        const auto* h = reinterpret_cast<const std::uint8_t*>(file.constData() + at);
        const std::int32_t length = h[0] == 0xFF ? save_frame::ExactLength(h[1], h[2]) : 0;
        if (length <= 0) {
            ADD_FAILURE() << "no frame at " << at << " of " << path.toStdString();
            break;
        }
        frames.append({at, file.mid(at, length)});
        at += length;
    }
    return frames;
}

// The Info, Xing or VBRI header a frame carries; empty for an audio frame.
QByteArray HeaderTag(const QByteArray& frame) {
    if (frame.mid(36, 4) == "VBRI")
        return "VBRI";
    for (const char* tag : {"Xing", "Info"})
        if (frame.left(48).contains(tag))
            return tag;
    return {};
}

std::uint32_t Big32(const QByteArray& b, qsizetype at) {
    std::uint32_t value = 0;
    for (qsizetype i = at; i < at + 4; ++i)
        value = (value << 8) | std::uint8_t(b[i]);
    return value;
}

class JoinedHead : public ExportTest {
protected:
    // Every frame after the head is one ffprobe plays, none of them carries
    // an Info header, and the head counts them and their bytes.
    static void ExpectOneHeadCounting(const QList<Frame>& frames, const QString& path) {
        ASSERT_GT(frames.size(), 1);
        QList<std::int64_t> audio;
        for (qsizetype i = 1; i < frames.size(); ++i) {
            EXPECT_EQ(HeaderTag(frames[i].bytes), QByteArray()) << "frame " << i;
            audio.append(frames[i].pos);
        }
        QList<std::int64_t> played;
        for (const FfprobePacket& packet : FfprobePackets(path))
            played.append(packet.pos);
        EXPECT_EQ(played, audio);

        ExpectPlayable(path);
        const QByteArray head = frames.first().bytes;
        const qsizetype at = head.indexOf(HeaderTag(head));
        ASSERT_EQ(Big32(head, at + 4) & 3u, 3u) << "frame and byte counts";
        EXPECT_EQ(Big32(head, at + 8), std::uint32_t(audio.size()));
        EXPECT_EQ(Big32(head, at + 12), std::uint32_t(frames.last().pos + frames.last().bytes.size()));
    }
};

} // namespace

TEST_F(JoinedHead, LaterPiecesLeaveTheirInfoFramesOutAndTheHeadNamesTheRate) {
    // A constant rate with its Info frame, then a variable one from its Xing frame on.
    const QString cbr = MediaFile("cbr_info.mp3");
    const QString vbr = MediaFile("vbr_xing.mp3");
    ASSERT_TRUE(open(cbr) && open(vbr));
    ASSERT_EQ(HeaderTag(ReadAll(vbr).left(64)), QByteArray("Xing"));
    const QList<Frame> mixed =
        WalkFrames(joinAll({frames(cbr, 1, 200, "cbr"), frames(vbr, 1, 200, "vbr")}));
    EXPECT_EQ(mixed.size(), 199 + 198) << "the second piece's Xing frame is left out";
    ExpectOneHeadCounting(mixed, dest + "/joined.mp3");
    EXPECT_EQ(HeaderTag(mixed.first().bytes), QByteArray("Xing"));

    // Twenty seconds of silence open this variable-rate file: every frame of
    // its first ones has the lowest rate, and the head made for them says so.
    const QString quiet = MediaFile("vbr_quiet_start.mp3");
    ASSERT_TRUE(open(quiet));
    const QList<Frame> steady =
        WalkFrames(joinAll({frames(quiet, 1, 101, "a"), frames(quiet, 301, 401, "b")}));
    EXPECT_EQ(steady.size(), 1 + 200);
    ExpectOneHeadCounting(steady, dest + "/joined.mp3");
    EXPECT_EQ(HeaderTag(steady.first().bytes), QByteArray("Info"));
}

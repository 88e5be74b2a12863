// Joined files decoded by real decoders: pieces that follow each other in
// their source decode as the source does over that range, and pieces from
// elsewhere join without a decoder error, each playing as its source from its
// third frame after the silence at the join (the frames after the silence
// find the bits they borrow). Those later pieces start at frames whose main
// data begins in the frames before them: copied as they stand, they would be
// decoded from the bits of the piece in front, which the decoder fails on
// there.
#include "ExportTestSupport.h"

#include <QDir>

using namespace kelbrin;
using namespace kelbrin::test;

namespace {

struct Stream {
    QString path;
    int samplesPerFrame; // per channel
    int channels;
    bool reservoir = true; // Layer III: frames borrow bytes from the ones before
};

// The sources carry no Info frame, so a decoder trims nothing from either file.
QList<Stream> Streams(const QString& folder) {
    const QString wav = MediaFile("source.wav");
    QList<Stream> streams{{MediaFile("cbr_noinfo.mp3"), 1152, 2}};
    const QList<std::pair<QStringList, Stream>> made{
        {{"lame", "--quiet", "-b", "128", "-p", "-t"}, {folder + "/crc.mp3", 1152, 2}},
        {{"lame", "--quiet", "--resample", "22.05", "-b", "64", "-t"}, {folder + "/lsf.mp3", 576, 2}},
        {{"twolame", "--quiet", "-p", "-b", "192"}, {folder + "/crc.mp2", 1152, 2, false}}};
    for (const auto& [command, stream] : made) {
        int code = -1;
        RunTool(command.first(), command.mid(1) + QStringList{wav, stream.path}, &code);
        EXPECT_EQ(code, 0) << stream.path.toStdString();
        streams.append(stream);
    }
    return streams;
}

QByteArray Pcm(const QString& path) {
    QProcess p;
    // mpg123 decodes alike whatever came before; ffmpeg's Layer II decoder
    // may differ in the last bit.
    p.start("mpg123", {"-q", "-s", path});
    p.waitForFinished(120000);
    return p.readAllStandardOutput();
}

QString DecoderErrors(const QString& path) {
    QString errors = RunTool("ffmpeg", {"-v", "error", "-err_detect", "crccheck", "-i", path, "-f",
                                        "null", "-"});
    for (const QString& line : RunTool("mpg123", {"-t", path}).split('\n'))
        if (line.contains("error", Qt::CaseInsensitive) || line.contains("failed"))
            errors += line + '\n';
    return errors.trimmed();
}

// Frame bytes of a file without tags, from ffprobe's packet positions.
QList<QByteArray> FramesOf(const QString& path) {
    const QByteArray bytes = ReadAll(path);
    QList<std::int64_t> starts = PacketPositions(path);
    std::int64_t end = bytes.size();
    if (bytes.size() >= 128 && bytes.mid(bytes.size() - 128, 3) == "TAG")
        end -= 128;
    starts.append(end);
    QList<QByteArray> frames;
    for (int i = 0; i + 1 < starts.size(); ++i)
        frames.append(bytes.mid(starts[i], starts[i + 1] - starts[i]));
    return frames;
}

// How many bytes back, into the frames before it, a Layer III frame's main
// data begins (main_data_begin).
int MainDataBegin(const QByteArray& frame) {
    const auto* h = reinterpret_cast<const std::uint8_t*>(frame.constData());
    const int at = (h[1] & 0x01) ? 4 : 6; // after the CRC, when there is one
    const int bits = (h[at] << 8) | h[at + 1];
    const bool mpeg1 = (h[1] & 0x18) == 0x18;
    return mpeg1 ? bits >> 7 : bits >> 8;
}

struct Range {
    int from; // 1-based first frame
    int to;   // first frame not written
};

class JoinDecode : public ExportTest {
protected:
    QString join(const QString& source, const QList<Range>& ranges) {
        QList<ExportPiece> pieces;
        for (const Range& r : ranges)
            pieces.append(frames(source, r.from, r.to, QString::number(r.from)));
        return joinAll(pieces);
    }
    // The joined file's samples from its frame `at` on, `count` frames of
    // them, are the source's from its frame `sourceAt` (0-based frames).
    static bool SameSamples(const QByteArray& joined, const QByteArray& source, const Stream& s,
                            int at, int sourceAt, int count) {
        const qsizetype frameBytes = qsizetype(s.samplesPerFrame) * s.channels * 2;
        const QByteArray mine = joined.mid(at * frameBytes, count * frameBytes);
        return mine.size() == count * frameBytes && mine == source.mid(sourceAt * frameBytes, mine.size());
    }
};

} // namespace

TEST_F(JoinDecode, ContiguousPiecesDecodeAsTheirSource) {
    for (const Stream& s : Streams(MakeTempDir("join"))) {
        ASSERT_TRUE(open(s.path)) << s.path.toStdString();
        const QString joined = join(s.path, {{21, 61}, {61, 101}, {101, 141}});
        EXPECT_EQ(DecoderErrors(joined), QString()) << s.path.toStdString();
        // After three frames the decoder has what the source gave it there.
        EXPECT_TRUE(SameSamples(Pcm(joined), Pcm(s.path), s, 3, 20 + 3, 117)) << s.path.toStdString();
    }
}

TEST_F(JoinDecode, SeparatePiecesJoinWithoutDecoderErrors) {
    for (const Stream& s : Streams(MakeTempDir("join"))) {
        ASSERT_TRUE(open(s.path)) << s.path.toStdString();
        const QList<Range> ranges{{11, 51}, {203, 243}, {115, 155}};
        const QString joined = join(s.path, ranges);
        EXPECT_EQ(DecoderErrors(joined).toStdString(), "") << s.path.toStdString();
        const QList<QByteArray> out = FramesOf(joined);
        const QList<QByteArray> src = FramesOf(s.path);
        ASSERT_EQ(out.size(), 120) << s.path.toStdString();
        const QByteArray pcm = Pcm(joined);
        const QByteArray sourcePcm = Pcm(s.path);
        for (int k = 1; k < ranges.size(); ++k) {
            const int first = ranges[k].from - 1;
            if (s.reservoir) {
                EXPECT_GT(MainDataBegin(src[first]), 0)
                    << s.path.toStdString() << " piece " << k << " borrows no bits";
            }
            // The silenced frames at the join: same header and length as the
            // source's, then no more than the bits of one or two frames differ.
            int silenced = 0;
            while (silenced < 40 && out[40 * k + silenced] != src[first + silenced]) {
                EXPECT_EQ(out[40 * k + silenced].left(4), src[first + silenced].left(4));
                ++silenced;
            }
            EXPECT_GE(silenced, 1) << "a join of separate places starts with silence";
            EXPECT_LE(silenced, 3);
            EXPECT_TRUE(SameSamples(pcm, sourcePcm, s, 40 * k + silenced + 2, first + silenced + 2,
                                    40 - silenced - 2))
                << s.path.toStdString() << " piece " << k;
        }
    }
}

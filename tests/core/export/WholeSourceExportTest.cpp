// A whole source exported as it stands keeps every frame a decoder reads in
// it: low-rate speech as lame makes it (stuffing bytes 0xFF just before its
// headers), a stray header between two frames, MPEG-2.5 silence.
#include "ExportTestSupport.h"

#include <QDir>

using namespace kelbrin;
using namespace kelbrin::test;

namespace {

int decodedFrames(const QString& path) {
    return RunTool("ffprobe", {"-v", "error", "-count_frames", "-select_streams", "a:0",
                               "-show_entries", "stream=nb_read_frames", "-of", "csv=p=0", path})
        .section(',', 0, 0)
        .trimmed()
        .toInt();
}

class WholeSourceExport : public ExportTest {
protected:
    // sox makes `seconds` of a tone (0 Hz: silence) in the `format`, lame encodes it.
    QString encode(const QString& name, const QStringList& format, int seconds, int hertz,
                   const QStringList& lame) {
        const QString wav = dest + "/" + name + ".wav";
        const QString mp3 = media + "/" + name;
        int code = -1;
        RunTool("sox",
                QStringList{"-R", "-n"} + format +
                    QStringList{wav, "synth", QString::number(seconds), "sine", QString::number(hertz)},
                &code);
        EXPECT_EQ(code, 0) << name.toStdString();
        RunTool("lame", QStringList{"--quiet"} + lame + QStringList{wav, mp3}, &code);
        EXPECT_EQ(code, 0) << name.toStdString();
        QFile::remove(wav);
        return mp3;
    }

    void expectExportedWhole(const QString& source) {
        SCOPED_TRACE(source.toStdString());
        const int frames = decodedFrames(source);
        ASSERT_GT(frames, 20);
        ASSERT_TRUE(open(source));
        const QString name = QFileInfo(source).fileName();
        const SaveOutcome outcome = RunExport(request({seconds(source, 0, 0, name)}));
        EXPECT_TRUE(outcome.whole());
        EXPECT_EQ(shownNumbers(), QList<int>{});
        EXPECT_EQ(decodedFrames(dest + "/" + name), frames);
        messages->shown.clear();
        Program().session.OpenFiles = std::make_shared<cPozycjePlikow>();
    }

    void SetUp() override {
        ExportTest::SetUp();
        media = MakeTempDir("whole-source");
    }
    void TearDown() override {
        QDir(media).removeRecursively();
        ExportTest::TearDown();
    }
    QString media;
};

} // namespace

TEST_F(WholeSourceExport, EveryFrameADecoderReadsIsExported) {
    const QStringList speech{"-r", "8000", "-c", "1", "-b", "16"};
    expectExportedWhole(encode("speech16.mp3", speech, 10, 450, {"-b", "16"}));
    expectExportedWhole(encode("speech16-noinfo.mp3", speech, 10, 450, {"-t", "-b", "16"}));
    expectExportedWhole(encode("whistle16.mp3", speech, 10, 2000, {"-b", "16"}));
    expectExportedWhole(encode("silence-mpeg25.mp3", {"-r", "11025", "-c", "2", "-b", "16"}, 5, 0,
                               {"-s", "11.025"}));

    // 23 equal frames with four stray bytes, a header of another kind, after
    // the third: they must not become what every frame is measured against.
    const QByteArray frame = QByteArray::fromHex("fffb9064") + QByteArray(413, '\0');
    expectExportedWhole(WriteFile(media + "/stray.mp3", frame.repeated(3) +
                                                            QByteArray::fromHex("fff522aa") +
                                                            frame.repeated(20)));
}

namespace {

QByteArray little32(std::uint32_t value) {
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = char((value >> (8 * i)) & 0xFF);
    return bytes;
}

// An APEv2 tag with a header, one item and a footer.
QByteArray apeTag() {
    const QByteArray value("Cut Off");
    const QByteArray item = little32(value.size()) + little32(0) + "Title" + '\0' + value;
    const auto frame = [&](std::uint32_t flags) {
        return "APETAGEX" + little32(2000) + little32(item.size() + 32) + little32(1) +
               little32(flags) + QByteArray(8, '\0');
    };
    return frame(0xA0000000u) + item + frame(0x80000000u);
}

QByteArray id3v1Tag() {
    QByteArray tag = "TAG" + QByteArray("Title").leftJustified(30, '\0');
    return tag.leftJustified(128, '\0');
}

// A Lyrics3 block of the second version, which an ID3v1 tag must follow.
QByteArray lyrics3Block() {
    const QByteArray fields = "IND00003110LYR00005Words";
    const QByteArray block = "LYRICSBEGIN" + fields;
    return block + QByteArray::number(block.size()).rightJustified(6, '0') + "LYRICS200";
}

// An ID3v2.3 tag with a title frame.
QByteArray id3v2Tag() {
    const QByteArray text = QByteArray(1, '\0') + "Title";
    const QByteArray body =
        "TIT2" + QByteArray::fromHex("000000") + char(text.size()) + QByteArray(2, '\0') + text;
    return "ID3" + QByteArray::fromHex("0300000000") + QByteArray(1, '\0') + char(body.size()) +
           body;
}

} // namespace

// The test files of tag libraries cut the last frame to a stub and put an
// APEv2 tag behind it (an ID3v1 tag after that, or an ID3v2 one in front):
// the stub's length reaches into the tag, so it is no frame, and the tag is
// no audio. A Lyrics3 block in front of an ID3v1 tag is no audio either.
TEST_F(WholeSourceExport, ATagBehindACutOffLastFrameIsNeitherFrameNorAudio) {
    // 32 kbit/s mono frames are about 105 bytes long: shorter than the tag.
    const QString lame =
        encode("low.mp3", {"-r", "44100", "-c", "1", "-b", "16"}, 3, 440, {"-t", "-b", "32"});
    const QByteArray frames = ReadAll(lame);
    const QList<std::int64_t> starts = PacketPositions(lame);
    ASSERT_GT(starts.size(), 20);
    const std::int64_t stub = starts.last();
    ASSERT_GT(frames.size() - stub, 58);
    const QByteArray audio = frames.left(stub + 58);

    struct Layout {
        const char* name;
        QByteArray head, tail;
    };
    for (const Layout& layout :
         {Layout{"ape.mp3", {}, apeTag()}, Layout{"ape-id3v1.mp3", {}, apeTag() + id3v1Tag()},
          Layout{"ape-id3v2.mp3", id3v2Tag(), apeTag()},
          Layout{"lyrics3.mp3", {}, lyrics3Block() + id3v1Tag()}}) {
        SCOPED_TRACE(layout.name);
        const QString source =
            WriteFile(media + "/" + layout.name, layout.head + audio + layout.tail);
        const auto file = open(source);
        ASSERT_TRUE(file);
        EXPECT_EQ(file->Daj_Naglowek_Ilosc(), starts.size() - 1);
        const SaveOutcome outcome = RunExport(request({seconds(source, 0, 0, layout.name)}));
        EXPECT_TRUE(outcome.whole());
        const QByteArray output = ReadAll(dest + "/" + layout.name);
        EXPECT_FALSE(output.contains("APETAGEX"));
        EXPECT_FALSE(output.contains("LYRICS"));
        // The whole frames and the ID3v1 block the export adds.
        EXPECT_EQ(output.left(output.size() - 128), frames.left(stub));
        ExpectPlayable(dest + "/" + layout.name);
        messages->shown.clear();
        Program().session.OpenFiles = std::make_shared<cPozycjePlikow>();
    }
}

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

// Silent frames put at the joins of protected streams carry the CRC that a
// decoder checks: for Layer III, and for Layer II in every allocation table.
#include "ExportTestSupport.h"
#include "core/export/SaveFrameMath.h"

using namespace kelbrin;
using namespace kelbrin::test;

namespace {

QString CrcErrors(const QString& path) {
    return RunTool("ffmpeg", {"-v", "error", "-err_detect", "crccheck", "-i", path, "-f", "null", "-"})
        .trimmed();
}

} // namespace

TEST_F(ExportTest, JoinedProtectedStreamsPassTheDecodersCrcCheck) {
    QStringList sources{MediaFile("crc.mp3")};
    // Layer II tables B.2a to B.2d: 192 stereo, 64 and 32 mono, 96 joint stereo.
    const QList<QStringList> encodings{{"-b", "192"}, {"-b", "64", "-a", "-m", "m"},
                                       {"-b", "32", "-a", "-m", "m"}, {"-b", "96", "-m", "j"}};
    for (int i = 0; i < encodings.size(); ++i) {
        const QString mp2 = MakeTempDir("mp2") + QString("/protected%1.mp2").arg(i);
        int code = -1;
        RunTool("twolame", QStringList{"--quiet", "-p"} + encodings[i] +
                               QStringList{MediaFile("source.wav"), mp2},
                &code);
        ASSERT_EQ(code, 0);
        sources.append(mp2);
    }
    for (const QString& path : sources) {
        ASSERT_TRUE(open(path)) << path.toStdString();
        ASSERT_TRUE(CrcErrors(path).isEmpty());
        // Out of order: every join starts with a silent frame.
        const QString joined =
            joinAll({seconds(path, 0, 3, "a"), seconds(path, 6, 9, "c"), seconds(path, 3, 6, "b")});
        EXPECT_EQ(CrcErrors(joined), QString()) << path.toStdString();
    }
}

TEST(SilentFrame, KeepsHeaderAndLengthAndZeroesTheRest) {
    const std::uint8_t header[4] = {0xFF, 0xFB, 0x92, 0x64};
    const QByteArray frame = save_frame::SilentFrame(header, 418);
    ASSERT_EQ(frame.size(), 418);
    EXPECT_EQ(frame.left(4), QByteArray(reinterpret_cast<const char*>(header), 4));
    EXPECT_EQ(frame.mid(4), QByteArray(414, '\0'));
    EXPECT_EQ(save_frame::ExactLength(0xFB, 0x92), 418);
    EXPECT_EQ(save_frame::ExactLength(0xF3, 0x80), 208); // MPEG-2 Layer III 64 kbit/s 22.05 kHz
    EXPECT_EQ(save_frame::ExactLength(0xFF, 0x40), 136); // Layer I 128 kbit/s 44.1 kHz
}

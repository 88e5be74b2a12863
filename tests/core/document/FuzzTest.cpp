// Truncated and corrupted copies of the test media through the scanner: each
// must end in a numbered message or a sound index, never a crash or a hang.
#include "DocumentTestSupport.h"
#include "support/SyntheticMpeg.h"
#include "support/TestEnvironment.h"

#include "core/document/cPozycjaMP3.h"

#include <QDir>
#include <QFile>
#include <random>

using namespace kelbrin;
using namespace kelbrin::test;

namespace {

class DocumentFuzz : public DocumentTest {
protected:
    int opened = 0;
    int refused = 0;

    void scanAllWays(const QString& path, std::int64_t size) {
        SCOPED_TRACE(path.toStdString());
        cPozycjaMP3 track;
        track.blnJednostka = false;
        track.lngRamkaDo = 7;
        for (int way = 0; way < 3; ++way) {
            const int messagesBefore = static_cast<int>(messages().size());
            const Opened result = open(path, way != 0, way == 2 ? &track : nullptr, nullptr);
            if (result.path.isEmpty()) {
                ASSERT_EQ(messages().size(), messagesBefore + 1);
                const int nr = messages().last().textNumber;
                EXPECT_TRUE(nr == 3026 || nr == 3140 || nr == 3301) << nr;
                ++refused;
                continue;
            }
            ++opened;
            const QList<std::int64_t> positions = IndexPositions(*result.file);
            for (qsizetype i = 0; i < positions.size(); ++i) {
                ASSERT_GE(positions[i], 1);
                ASSERT_LE(positions[i], size);
                if (i > 0) {
                    ASSERT_GT(positions[i], positions[i - 1]);
                }
            }
            EXPECT_GE(result.file->sngCzasTrwania, 0.0f);
        }
    }
};

} // namespace

TEST_F(DocumentFuzz, TruncatedAndCorruptedMediaNeverBreakTheScanner) {
    std::mt19937 random(20240611);
    const QString dir = MakeTempDir("fuzz");
    SyntheticMpeg layer1;
    layer1.constantRate(60, kMpeg1Layer1, 0x10);
    const QString layer1Path = dir + "/layer1.mp1";
    ASSERT_TRUE(layer1.write(layer1Path));
    const QStringList sources{MediaFile("cbr_info.mp3"),
                              MediaFile("vbr_noinfo.mp3"),
                              MediaFile("mpeg25_l3.mp3"),
                              MediaFile("layer2.mp2"),
                              MediaFile("id3v2_100k.mp3"),
                              MediaFile("id3v1.mp3"),
                              layer1Path};
    int variant = 0;
    for (const QString& source : sources) {
        const QByteArray original = ReadWholeFile(source);
        ASSERT_FALSE(original.isEmpty());
        for (int round = 0; round < 12; ++round) {
            QByteArray bytes = original;
            std::uniform_int_distribution<qsizetype> anywhere(0, bytes.size() - 1);
            switch (round % 6) {
            case 0: // cut anywhere, including to almost nothing
                bytes.truncate(round < 6 ? random() % 8 : anywhere(random));
                break;
            case 1: // random bytes changed
                for (int i = 0; i < 40; ++i)
                    bytes[anywhere(random)] = char(random());
                break;
            case 2: // sync patterns planted
                for (int i = 0; i < 30; ++i)
                    bytes.replace(anywhere(random), 4, QByteArray("\xFF\xFB\x90\x64", 4));
                bytes.truncate(bytes.size() - 1);
                break;
            case 3: // a run of 0xFF and a stretch of zeros
                bytes.replace(anywhere(random), 500, QByteArray(500, char(0xFF)));
                bytes.replace(anywhere(random), 700, QByteArray(700, '\0'));
                break;
            case 4: // a lying ID3v2 header in front
                bytes.prepend(QByteArray("ID3\x03\x00\x00\x7F\x7F\x7F\x7F", 10));
                break;
            case 5: // "TAG" where an ID3v1 tag would start, and a frame cut short
                if (bytes.size() > 128)
                    bytes.replace(bytes.size() - 128, 3, "TAG");
                bytes.truncate(bytes.size() - int(random() % 300));
                break;
            }
            const QString path = dir + QStringLiteral("/v%1.mp3").arg(variant++);
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(bytes);
            file.close();
            scanAllWays(path, bytes.size());
        }
    }
    // Both kinds of outcome were exercised.
    EXPECT_GT(opened, 100);
    EXPECT_GT(refused, 10);
    QDir(dir).removeRecursively();
}

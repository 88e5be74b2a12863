#include "core/document/Id3v1Tag.h"
#include "DocumentTestSupport.h"
#include "SourceToolsSupport.h"
#include "platform/text/AnsiCodec.h"
#include "support/SyntheticMpeg.h"
#include "support/TestEnvironment.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <csignal>
#include <sys/resource.h>

using namespace kelbrin;
using namespace kelbrin::test;

namespace {

const AnsiCodec kWestern(1252);

// What id3v2 -l says of the file's ID3v1 block, field by field.
QMap<QString, QString> ListedByTool(const QString& path) {
    QProcess tool;
    tool.start(QStringLiteral("id3v2"), {QStringLiteral("-l"), path});
    EXPECT_TRUE(tool.waitForFinished(30000));
    const QString out = QString::fromLatin1(tool.readAllStandardOutput());
    QMap<QString, QString> fields;
    static const QRegularExpression line(
        QStringLiteral("^(Title  |Album  |Comment): (.{30})\\s+(Artist|Year|Track): ?(.*)$"),
        QRegularExpression::MultilineOption);
    for (auto it = line.globalMatch(out); it.hasNext();) {
        const auto m = it.next();
        fields[m.captured(1).trimmed()] = m.captured(2).trimmed();
        QString rest = m.captured(4).trimmed();
        if (m.captured(3) == QLatin1String("Year")) {
            const QStringList parts = rest.split(QStringLiteral(", Genre: "));
            fields[QStringLiteral("Year")] = parts.value(0);
            fields[QStringLiteral("Genre")] = parts.value(1);
        } else {
            fields[m.captured(3)] = rest;
        }
    }
    // An ID3v1 comment of 30 characters leaves no track number to print.
    static const QRegularExpression comment(QStringLiteral("^Comment: (.*)$"),
                                            QRegularExpression::MultilineOption);
    const auto m = comment.match(out);
    if (!fields.contains(QStringLiteral("Comment")) && m.hasMatch())
        fields[QStringLiteral("Comment")] = m.captured(1).trimmed();
    return fields;
}

Id3v1Tag SampleTag() {
    Id3v1Tag tag;
    tag.title = QStringLiteral("A title of exactly thirty char");
    tag.artist = QStringLiteral("Artist");
    tag.album = QStringLiteral("Album");
    tag.year = QStringLiteral("2024");
    tag.comment = QStringLiteral("Short comment");
    tag.v11 = true;
    tag.track = 7;
    tag.genre = 17;
    return tag;
}

} // namespace

TEST(Id3v1TagBlock, BuildsBothFormsWithBlankFillAndReadsThemBack) {
    Id3v1Tag tag = SampleTag();
    const QByteArray v11 = *BuildId3v1(tag, kWestern);
    ASSERT_EQ(v11.size(), 128);
    EXPECT_TRUE(v11.startsWith("TAG"));
    EXPECT_EQ(v11.mid(33, 30), QByteArray("Artist").leftJustified(30, ' '));
    EXPECT_EQ(v11.mid(97, 28), QByteArray("Short comment").leftJustified(28, ' '));
    EXPECT_EQ(v11.at(125), '\0');
    EXPECT_EQ(v11.at(126), 7);
    EXPECT_EQ(static_cast<std::uint8_t>(v11.at(127)), 17);
    EXPECT_FALSE(v11.mid(3, 122).contains('\0'));
    const Id3v1Tag back = *ParseId3v1(v11, kWestern);
    EXPECT_EQ(back.title, tag.title);
    EXPECT_TRUE(back.v11);
    EXPECT_EQ(back.track, 7);
    EXPECT_EQ(back.comment, tag.comment);

    // A 30-character comment with a blank before its last two characters
    // comes back whole and is written back byte for byte.
    tag.v11 = false;
    tag.comment = QStringLiteral("twenty-eight characters.... x");
    ASSERT_EQ(tag.comment.size(), 29);
    tag.comment += QLatin1Char('y');
    const QByteArray v1 = *BuildId3v1(tag, kWestern);
    const Id3v1Tag plain = *ParseId3v1(v1, kWestern);
    EXPECT_FALSE(plain.v11);
    EXPECT_EQ(plain.comment, tag.comment);
    EXPECT_EQ(*BuildId3v1(plain, kWestern), v1);
}

TEST(Id3v1TagBlock, ZeroFilledFieldsTrackZeroAndUnmappableCharacters) {
    QByteArray block("TAG");
    block += QByteArray("Title").leftJustified(30, '\0');
    block += QByteArray(60, '\0');
    block += QByteArray("1999");
    block += QByteArray("note").leftJustified(28, '\0');
    block += '\0';
    block += '\0';
    block += static_cast<char>(200);
    const Id3v1Tag tag = *ParseId3v1(block, kWestern);
    EXPECT_EQ(tag.title, "Title");
    EXPECT_FALSE(tag.v11); // a track of 0 shows as ID3v1
    EXPECT_EQ(tag.track, 0);
    EXPECT_EQ(tag.comment, "note");
    EXPECT_EQ(tag.genre, 200); // kept, though it has no name
    const QByteArray rebuilt = *BuildId3v1(tag, kWestern);
    EXPECT_EQ(rebuilt.mid(125, 2), QByteArray("  "));
    EXPECT_EQ(static_cast<std::uint8_t>(rebuilt.at(127)), 200);

    Id3v1Tag polish;
    polish.title = QStringLiteral("Łódź");
    EXPECT_EQ(BuildId3v1(polish, kWestern)->mid(3, 4), QByteArray("?\xF3"
                                                                  "d?"));
    EXPECT_EQ(BuildId3v1(polish, AnsiCodec(1250))->mid(3, 4), QByteArray("\xA3\xF3"
                                                                         "d\x9F"));

    Id3v1Tag bad = SampleTag();
    bad.track = 256;
    EXPECT_FALSE(BuildId3v1(bad, kWestern));
    bad.track = -1;
    EXPECT_FALSE(BuildId3v1(bad, kWestern));
}

TEST(Id3v1File, AppendsToFilesWithoutABlockAndKeepsEveryByteBeforeIt) {
    for (int size : {1000, 50, 0}) {
        const QByteArray original(size, 'x');
        const QString path = WriteTempFile(QStringLiteral("plain.mp3"), original);
        EXPECT_FALSE(ReadId3v1(path, kWestern).tag);
        const Id3v1WriteResult written = WriteId3v1(path, SampleTag(), kWestern);
        EXPECT_EQ(written.status, Id3v1WriteStatus::Appended) << size;
        const QByteArray now = ReadWholeFile(path);
        ASSERT_EQ(now.size(), size + 128);
        EXPECT_EQ(now.left(size), original);
        EXPECT_EQ(now.mid(size, 3), QByteArray("TAG"));
        EXPECT_EQ(ReadId3v1(path, kWestern).tag->artist, "Artist");
    }
}

TEST(Id3v1File, RewritesInPlaceAndTheTagToolReadsEveryField) {
    const QString path = CopyOfMedia(QStringLiteral("id3v1.mp3"));
    const QByteArray before = ReadWholeFile(path);
    const Id3v1Tag old = *ReadId3v1(path, kWestern).tag;
    EXPECT_EQ(old.title, "Test Title");
    EXPECT_EQ(old.artist, "Test Artist");

    Id3v1Tag tag = SampleTag();
    tag.artist = QStringLiteral("Änne");
    ASSERT_EQ(WriteId3v1(path, tag, kWestern).status, Id3v1WriteStatus::Written);
    const QByteArray after = ReadWholeFile(path);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after.left(after.size() - 128), before.left(before.size() - 128));

    const auto listed = ListedByTool(path);
    EXPECT_EQ(listed.value("Title"), tag.title);
    EXPECT_EQ(listed.value("Artist"), QStringLiteral("Änne"));
    EXPECT_EQ(listed.value("Album"), "Album");
    EXPECT_EQ(listed.value("Year"), "2024");
    EXPECT_EQ(listed.value("Comment"), "Short comment");
    EXPECT_EQ(listed.value("Track"), "7");
    EXPECT_EQ(listed.value("Genre"), "Rock (17)");

    // The ID3v1 form with a full 30-character comment.
    tag.v11 = false;
    tag.comment = QStringLiteral("A comment of thirty characters");
    tag.genre = 255;
    ASSERT_TRUE(WriteId3v1(path, tag, kWestern).ok());
    const auto plain = ListedByTool(path);
    EXPECT_EQ(plain.value("Comment"), tag.comment);
    EXPECT_EQ(ReadWholeFile(path).size(), before.size());
}

TEST(Id3v1File, NeverCreatesAMissingFileAndWritesNothingForABadTrack) {
    const QString folder = MakeTempDir(QStringLiteral("tag"));
    const QString missing = folder + QStringLiteral("/gone.mp3");
    EXPECT_FALSE(ReadId3v1(missing, kWestern).fileFound);
    const Id3v1WriteResult result = WriteId3v1(missing, SampleTag(), kWestern);
    EXPECT_EQ(result.status, Id3v1WriteStatus::Missing);
    EXPECT_FALSE(QFileInfo::exists(missing));

    const QString path = WriteTempFile(QStringLiteral("short.mp3"), QByteArray(10, 'a'));
    Id3v1Tag bad = SampleTag();
    bad.track = 300;
    EXPECT_EQ(WriteId3v1(path, bad, kWestern).status, Id3v1WriteStatus::BadTrack);
    EXPECT_EQ(ReadWholeFile(path), QByteArray(10, 'a'));

    const QString locked = WriteTempFile(QStringLiteral("locked.mp3"), QByteArray(200, 'b'));
    QFile::setPermissions(locked, QFileDevice::ReadOwner);
    if (!QFile(locked).open(QIODevice::ReadWrite)) { // root may write anyway
        EXPECT_EQ(WriteId3v1(locked, SampleTag(), kWestern).status, Id3v1WriteStatus::CannotOpen);
        EXPECT_EQ(ReadWholeFile(locked), QByteArray(200, 'b'));
    }
}

TEST(Id3v1File, AnAppendTheDiskCannotHoldLeavesTheFileAsItWas) {
    const QByteArray original(1000, 'x');
    const QString path = WriteTempFile(QStringLiteral("full.mp3"), original);
    // Room for 50 more bytes, as on a nearly full disk.
    const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit full = old;
    full.rlim_cur = 1050;
    setrlimit(RLIMIT_FSIZE, &full);
    const Id3v1WriteStatus status = WriteId3v1(path, SampleTag(), kWestern).status;
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldSignal);
    EXPECT_EQ(status, Id3v1WriteStatus::WriteFailed);
    EXPECT_EQ(ReadWholeFile(path), original);
    // With room again the block goes right after the audio.
    ASSERT_EQ(WriteId3v1(path, SampleTag(), kWestern).status, Id3v1WriteStatus::Appended);
    EXPECT_EQ(ReadWholeFile(path).size(), 1128);
}

// The files beside the outputs: the ID3v1 block, "cdr.cue" for one file per
// track and for a joined file, and the playlist handed to the desktop.
#include "ExportTestSupport.h"
#include "core/export/CueReader.h"
#include "core/export/CueSheetWriter.h"
#include "core/export/ExportSideFiles.h"
#include "core/export/Id3v1Block.h"
#include "platform/text/AnsiCodec.h"

#include <QRegularExpression>

using namespace kelbrin;
using namespace kelbrin::test;

TEST(Id3v1Block, FieldsAreCutPaddedAndTheGenreKeptInItsByte) {
    Id3v1Fields f;
    f.title = QString(35, 'T');
    f.artist = "Artist";
    f.year = "99";
    f.comment = QString(30, 'c');
    f.genre = 300;
    const QByteArray block = Id3v1Block(f, AnsiCodec(1252));
    ASSERT_EQ(block.size(), 128);
    EXPECT_EQ(block.left(3), QByteArray("TAG"));
    EXPECT_EQ(block.mid(3, 30), QByteArray(30, 'T'));
    EXPECT_EQ(block.mid(33, 30), QByteArray("Artist") + QByteArray(24, ' '));
    EXPECT_EQ(block.mid(63, 30), QByteArray(30, ' '));
    EXPECT_EQ(block.mid(93, 4), QByteArray("99  "));
    EXPECT_EQ(block.mid(97, 30), QByteArray(30, 'c'));
    EXPECT_EQ(std::uint8_t(block[127]), 255);
    f.genre = 17;
    f.title = QString::fromUtf8("Zażółć");
    const QByteArray polish = Id3v1Block(f, AnsiCodec(1250));
    EXPECT_EQ(std::uint8_t(polish[127]), 17);
    EXPECT_EQ(polish.mid(3, 6), QByteArray("Za\xBF\xF3\xB3\xE6"));
}

TEST(CueSheetWriter, OneFileLineForAJoinedFileAndStartsInCdFrames) {
    CueSheetWriter perTrack(false);
    perTrack.AddPiece("/m/a.mp3", "", "");
    perTrack.AddPiece("/m/b.mp3", "Band", "Song");
    EXPECT_EQ(perTrack.Text(), "FILE \"/m/a.mp3\" MP3\r\n"
                               "     TRACK 01 AUDIO\r\n"
                               "              INDEX 01 00:00:00\r\n"
                               "FILE \"/m/b.mp3\" MP3\r\n"
                               "     TRACK 02 AUDIO\r\n"
                               "              PERFORMER \"Band\"\r\n"
                               "              INDEX 01 00:00:00\r\n"
                               "              TITLE \"Song\"\r\n");
    CueSheetWriter joined(true);
    joined.AddPiece("/m/j.mp3", "", "One", 0, 44100);
    joined.AddPiece("/m/j.mp3", "", "Two", 44100 * 61 + 44100 / 2, 44100);
    EXPECT_EQ(joined.Text().count("FILE"), 1);
    EXPECT_TRUE(joined.Text().contains("TRACK 02 AUDIO\r\n              INDEX 01 01:01:37\r\n"));
}

TEST_F(ExportTest, JoinedRunWritesOneSheetOneTagAndThePlaylistInTheFolder) {
    const QString path = MediaFile("cbr_noinfo.mp3");
    const auto file = open(path);
    SaveRequest r = request({seconds(path, 0, 2, "a"), seconds(path, 2, 5, "b")});
    r.pieces[1].tag.artist = "Band";
    r.joined = true;
    r.joinedName = "all";
    r.writeCue = true;
    r.writePlaylist = true;
    const SaveOutcome outcome = RunExport(r);
    ASSERT_EQ(outcome.status, SaveStatus::Finished);
    const QString joined = dest + "/all.mp3";
    const QByteArray bytes = ReadAll(joined);
    EXPECT_EQ(bytes.mid(bytes.size() - 128, 4), QByteArray("TAGb")); // the last track's fields
    EXPECT_EQ(bytes.count("TAG"), 1 + QByteArray(bytes.left(bytes.size() - 128)).count("TAG"));
    // The second piece starts at frame 76 of 1152 samples: 75 frames = 1.959 s.
    const QString cue = ReadAll(dest + "/cdr.cue");
    EXPECT_EQ(cue, "FILE \"" + joined + "\" MP3\r\n"
                   "     TRACK 01 AUDIO\r\n"
                   "              INDEX 01 00:00:00\r\n"
                   "              TITLE \"a\"\r\n"
                   "     TRACK 02 AUDIO\r\n"
                   "              PERFORMER \"Band\"\r\n"
                   "              INDEX 01 00:01:71\r\n"
                   "              TITLE \"b\"\r\n");
    EXPECT_EQ(outcome.playlist, dest + "/" + PlaylistFileName());
    EXPECT_EQ(ReadAll(outcome.playlist), (joined + "\r\n").toUtf8());
    EXPECT_EQ(desktop->opened, QStringList{outcome.playlist});
}

TEST_F(ExportTest, AJoinedSheetCountsNoSoundInTheHeadsInfoFrame) {
    // Frames 1-50 of a file whose first frame is its Info frame: 49 frames of
    // 1152 samples at 44.1 kHz lie before the second track, 1.280 s.
    const QString path = MediaFile("cbr_info.mp3");
    ASSERT_TRUE(open(path));
    SaveRequest r = request({frames(path, 1, 51, "a"), frames(path, 51, 101, "b")});
    r.joined = true;
    r.joinedName = "all";
    r.writeCue = true;
    ASSERT_EQ(RunExport(r).status, SaveStatus::Finished);
    EXPECT_TRUE(ReadAll(dest + "/cdr.cue").contains("INDEX 01 00:01:21\r\n              TITLE \"b\""))
        << ReadAll(dest + "/cdr.cue").toStdString();
}

// Fault mended: a title or artist pasted into the track's fields with a line
// break went into cdr.cue as it was, so its line ended early and the rest
// stood on a line of its own: the artist read back cut, and other readers
// refused the sheet.
TEST_F(ExportTest, TheSheetKeepsEachTitleAndArtistOnItsOwnLine) {
    const QString path = MediaFile("cbr_noinfo.mp3");
    ASSERT_TRUE(open(path));
    SaveRequest r = request({seconds(path, 0, 2, "a"), seconds(path, 2, 4, "b")});
    r.pieces[0].tag.title = "Song\r\n";
    r.pieces[0].tag.artist = "Band\nand Guest";
    r.pieces[1].tag.title = "Second\rPart";
    r.writeCue = true;
    ASSERT_EQ(RunExport(r).status, SaveStatus::Finished);
    const QString cue = QString::fromUtf8(ReadAll(dest + "/cdr.cue"));
    static const QRegularExpression known(QStringLiteral("^\\s*(FILE|TRACK|PERFORMER|INDEX|TITLE) "));
    for (const QString& line : cue.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        EXPECT_TRUE(known.match(line).hasMatch()) << line.toStdString();
    const auto back = ReadCueSheet(dest + "/cdr.cue");
    ASSERT_TRUE(back);
    ASSERT_EQ(back->entries.size(), 2);
    EXPECT_EQ(back->entries[0].title, "Song");
    EXPECT_EQ(back->entries[0].performer, "Band and Guest");
    EXPECT_EQ(back->entries[1].title, "Second Part");
}

TEST_F(ExportTest, NoPlaylistWithoutAnOutput) {
    const QString path = MediaFile("cbr_noinfo.mp3");
    ASSERT_TRUE(open(path));
    SaveRequest r = request({frames(path, 5, 5, "empty.mp3")});
    r.writePlaylist = true;
    r.writeCue = true;
    EXPECT_EQ(RunExport(r).status, SaveStatus::Finished);
    EXPECT_TRUE(destFiles().isEmpty());
    EXPECT_TRUE(desktop->opened.isEmpty());
}

TEST_F(ExportTest, SideFilesNameEveryOutputAsTheFileSystemNamesIt) {
    const QString name = QString::fromUtf8("Żółw – koncert ☃");
    const QString cafe = QString::fromUtf8("Café");
    for (const int codePage : {1252, 1250}) {
        SCOPED_TRACE(codePage);
        AnsiCodec::OverrideSystemCodePage(codePage);
        const QString folder = MakeTempDir("names");
        const QString snowman = folder + "/" + name + ".mp3";
        const QString plain = folder + "/" + cafe + ".mp3";
        WriteFile(snowman, "x");
        WriteFile(plain, "x");

        CueSheetWriter sheet(false);
        sheet.AddPiece(snowman, "Band", name);
        sheet.AddPiece(plain, "Band", cafe);
        const QString cuePath = WriteCueSheet(folder, sheet);
        const QByteArray cue = ReadAll(cuePath);
        // Also a name the code page could hold is the file system's bytes,
        // or the line would point at a file that does not exist.
        EXPECT_TRUE(cue.contains("FILE \"" + QFile::encodeName(snowman) + "\" MP3\r\n"));
        EXPECT_TRUE(cue.contains("FILE \"" + QFile::encodeName(plain) + "\" MP3\r\n"));
        EXPECT_TRUE(cue.contains("TITLE \"" + name.toUtf8() + "\"\r\n"));
        EXPECT_TRUE(cue.contains("TITLE \"" + cafe.toUtf8() + "\"\r\n"));
        EXPECT_FALSE(cue.contains('?'));
        const auto back = ReadCueSheet(cuePath);
        ASSERT_TRUE(back);
        ASSERT_EQ(back->entries.size(), 2);
        EXPECT_EQ(back->entries[0].title, name);
        EXPECT_EQ(back->entries[1].title, cafe);

        const QString playlist = WritePlaylist(folder, {snowman, plain});
        EXPECT_EQ(ReadAll(playlist),
                  QFile::encodeName(snowman) + "\r\n" + QFile::encodeName(plain) + "\r\n");
    }
    AnsiCodec::OverrideSystemCodePage(0);
}

TEST_F(ExportTest, ASideFileThatCannotBeWrittenSaysWhyAndTheRunIsNotWhole) {
    const QString path = MediaFile("cbr_noinfo.mp3");
    ASSERT_TRUE(open(path));
    // A folder took the sheet's name.
    ASSERT_TRUE(QDir().mkpath(dest + "/cdr.cue"));
    SaveRequest r = request({seconds(path, 0, 2, "a.mp3")});
    r.writeCue = true;
    const SaveOutcome outcome = RunExport(r);
    EXPECT_EQ(outcome.status, SaveStatus::Finished);
    EXPECT_EQ(outcome.written, QStringList{dest + "/a.mp3"});
    EXPECT_TRUE(outcome.sideFileFailed);
    EXPECT_FALSE(outcome.whole());
    EXPECT_EQ(shownNumbers(), QList<int>{7406});
    const QString text = messages->shown.last().text;
    EXPECT_TRUE(text.contains(dest + "/cdr.cue") && text.contains("(") && !text.contains("()"))
        << text.toStdString();
    EXPECT_TRUE(QFileInfo(dest + "/cdr.cue").isDir());
}

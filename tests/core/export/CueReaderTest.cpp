#include "SplitTestSupport.h"

#include "core/export/CueImport.h"
#include "core/export/CueReader.h"
#include "core/export/CueSheetWriter.h"

using namespace kelbrin;
using kelbrin::test::SplitTest;

namespace {

QString sheet(const char* lineEnd, bool finalBreak) {
    const QStringList lines = {
        "REM GENRE Rock",
        "PERFORMER \"Album Artist\"",
        "TITLE \"The Album\"",
        "FILE \"TITLE TRACK.wav\" WAVE",
        "  TRACK 01 AUDIO",
        "    TITLE \"Opening \"Night\"\"",
        "    PERFORMER Band",
        "    INDEX 00 00:00:00",
        "    INDEX 01 00:00:00",
        "",
        "  track 02 audio",
        "\ttitle   Second  ",
        "    REM TITLE not this",
        "    index 1 02:30:10",
        "  TRACK 03 AUDIO",
        "    TITLE \"Long\"",
        "    PERFORMER \"Guest\"",
        "    INDEX 01 120:00:74"};
    QString text = lines.join(QLatin1String(lineEnd));
    if (finalBreak)
        text += QLatin1String(lineEnd);
    return text;
}

} // namespace

TEST(CueReader, ReadsRealWorldSheetsWhateverTheLineEnds) {
    for (const char* end : {"\r\n", "\n", "\r"}) {
        for (const bool finalBreak : {true, false}) {
            SCOPED_TRACE(QByteArray(end).toHex().toStdString() + (finalBreak ? " final" : " none"));
            const CueSheet s = ParseCueSheet(sheet(end, finalBreak));
            ASSERT_EQ(s.entries.size(), 3);
            EXPECT_TRUE(s.skipped.isEmpty());
            EXPECT_EQ(s.entries[0].title, "Opening Night");
            EXPECT_EQ(s.entries[0].performer, "Band");
            EXPECT_EQ(s.entries[0].start, (TrackTime{0, 0, 0}));
            // Lower case, a tab, INDEX 1, a REM naming a keyword; the performer carries over.
            EXPECT_EQ(s.entries[1].number, "02");
            EXPECT_EQ(s.entries[1].title, "Second");
            EXPECT_EQ(s.entries[1].performer, "Band");
            EXPECT_EQ(s.entries[1].indexText, "02:30:10");
            EXPECT_EQ(s.entries[1].start, (TrackTime{2, 30, 133}));
            // Minutes above 99, the last frame of a second, no blank line after the block.
            EXPECT_EQ(s.entries[2].start, (TrackTime{120, 0, 987}));
            EXPECT_EQ(s.entries[2].performer, "Guest");
        }
    }
}

TEST(CueReader, SkipsMalformedEntriesAndReadsNothingOutsideTracks) {
    const CueSheet s = ParseCueSheet(
        "TITLE \"Album\"\n"
        "TRACK 1 AUDIO\n INDEX 01 00:60:00\n"   // seconds above 59
        "TRACK 2 AUDIO\n INDEX 01 01:00:75\n"   // frames above 74
        "TRACK 3 AUDIO\n INDEX 00 01:00:00\n"   // no INDEX 01 at all
        "TRACK 4 AUDIO\n INDEX 01 1:2\n"        // two fields
        "TRACK 5 AUDIO\n INDEX 01 0a:00:00\n"
        "TRACK 6 AUDIO\n INDEX 01 \" 03 : 04 : 05 \"\n");
    ASSERT_EQ(s.entries.size(), 1);
    EXPECT_EQ(s.entries[0].number, "6");
    EXPECT_EQ(s.entries[0].start, (TrackTime{3, 4, 67}));
    EXPECT_EQ(s.skipped, (QStringList{"1", "2", "3", "4", "5"}));

    EXPECT_TRUE(ParseCueSheet("PERFORMER x\r\nTITLE y\r\n").entries.isEmpty());
    EXPECT_TRUE(ParseCueSheet("").entries.isEmpty());
}

TEST_F(SplitTest, CueFilesAreReadInTheAnsiCodePageAndFailuresAreReported) {
    const QString dir = test::MakeTempDir("cue");
    const QString path =
        test::WriteFile(dir + "/a.cue", QByteArray("TRACK 01 AUDIO\r\nTITLE \"Caf\xE9\"\r\nINDEX 01 00:00:00"));
    const auto read = ReadCueSheet(path);
    ASSERT_TRUE(read);
    ASSERT_EQ(read->entries.size(), 1);
    EXPECT_EQ(read->entries[0].title, QString::fromUtf8("Café"));

    EXPECT_FALSE(ReadCueSheet(dir + "/missing.cue"));
    EXPECT_EQ(shownNumbers(), QList<int>{3301});

    EXPECT_EQ(CueSheetPathFor("/a.b/song.v1.mp3"), "/a.b/song.v1.cue");
    EXPECT_EQ(CueSheetPathFor("/a.b/song"), "/a.b/song.cue");
}

TEST(CueReader, RangesRunBackwardsAndDropEntriesThatDoNotEndAfterTheyStart) {
    const CueSheet s = ParseCueSheet("TRACK 1\nINDEX 01 00:00:00\nTRACK 2\nINDEX 01 03:00:00\n"
                                     "TRACK 3\nINDEX 01 03:00:00\nTRACK 4\nINDEX 01 09:00:00\n");
    QStringList skipped;
    const QList<CueRange> r = CueRangesBackwards(s.entries, TrackTime{7, 0, 0}, &skipped);
    // Entry 4 starts after the end; entry 2 would end where it starts.
    EXPECT_EQ(skipped, (QStringList{"2", "4"}));
    ASSERT_EQ(r.size(), 2);
    EXPECT_EQ(r[0].entry, 2);
    EXPECT_EQ(r[0].start, (TrackTime{3, 0, 0}));
    EXPECT_EQ(r[0].end, (TrackTime{7, 0, 0}));
    EXPECT_EQ(r[1].end, (TrackTime{3, 0, 0}));
}

TEST_F(SplitTest, CueImportMakesOneTrackPerEntryOfTheSelectedSource) {
    const CueSheet s = ParseCueSheet("TRACK 01 AUDIO\nTITLE \"A\"\nPERFORMER X\nINDEX 01 00:00:00\n"
                                     "TRACK 02 AUDIO\nTITLE B\nINDEX 01 03:10:12\n"
                                     "TRACK 03 AUDIO\nTITLE C\nINDEX 01 07:02:40\n");
    cPozycjaMP3 selected;
    selected.strFileNameSource = "/music/long.mp3";
    const QDateTime base(QDate(2026, 12, 8), QTime(2, 43, 37));
    QStringList skipped;
    const auto made = PlanCueImport(s.entries, selected, 600.0, base, &skipped);
    ASSERT_EQ(made.size(), 3);
    EXPECT_TRUE(skipped.isEmpty());
    // Handed over last entry first; frames become milliseconds.
    EXPECT_EQ(made[0].track->strTitle, "C");
    EXPECT_EQ(StartTime(*made[0].track), (TrackTime{7, 2, 533}));
    EXPECT_EQ(EndTime(*made[0].track), (TrackTime{10, 0, 0}));
    EXPECT_EQ(made[0].date, base.addSecs(2));
    EXPECT_EQ(StartTime(*made[1].track), (TrackTime{3, 10, 160}));
    EXPECT_EQ(EndTime(*made[1].track), (TrackTime{7, 2, 533}));
    EXPECT_EQ(made[2].track->strAutor, "X");
    EXPECT_EQ(made[2].track->strTitle, "A");
    EXPECT_EQ(EndTime(*made[2].track), (TrackTime{3, 10, 160}));
    EXPECT_EQ(made[2].date, base);
    for (const auto& m : made) {
        EXPECT_EQ(m.track->strFileNameSource, "/music/long.mp3");
        EXPECT_TRUE(m.track->blnZmodyfikowana);
        EXPECT_FALSE(m.track->blnAwlaysTop);
    }
}

TEST(CueReader, TheExportsSheetReadsBackWithAllItsTracks) {
    for (const bool joined : {false, true}) {
        SCOPED_TRACE(joined);
        CueSheetWriter writer(joined);
        writer.AddPiece("/out/a.mp3", "Artist", "First", 0, 44100);
        writer.AddPiece("/out/b.mp3", "", "", 44100 * 65, 44100);
        writer.AddPiece("/out/c.mp3", "Other", "Third \"TITLE\"", 44100 * 6001, 44100);
        const CueSheet s = ParseCueSheet(writer.Text());
        ASSERT_EQ(s.entries.size(), writer.TrackCount());
        EXPECT_TRUE(s.skipped.isEmpty());
        EXPECT_EQ(s.entries[0].title, "First");
        EXPECT_EQ(s.entries[2].title, "Third TITLE");
        EXPECT_EQ(s.entries[2].performer, "Other");
        EXPECT_EQ(s.entries[2].number, "03");
        if (joined) {
            EXPECT_EQ(s.entries[2].start, (TrackTime{100, 1, 0}));
        }
    }
}

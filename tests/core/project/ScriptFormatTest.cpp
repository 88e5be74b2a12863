// Batch script text: the written layout, the reading rules and the faults
// that a hand-edited script can hold.
#include "ProjectTestSupport.h"

#include "core/project/ScriptReader.h"
#include "core/project/ScriptWriter.h"

using namespace kelbrin;
using namespace kelbrin::test;

namespace {

class ScriptFormat : public ProjectTest {
protected:
    static ScriptTrackLine onlyTrack(const QString& line) {
        const ScriptReadResult r = ParseScript(
            "[Source Files]\r\n\r\n1:/m/x.mp3\r\n\r\n[Destination files]\r\n\r\n" + line + "\r\n");
        EXPECT_EQ(r.status, ScriptReadStatus::Ok) << line.toStdString();
        return r.script.tracks.value(0);
    }
    static void expectTime(const ScriptTime& t, int m, int s, int ms) {
        EXPECT_EQ(t.minutes, m);
        EXPECT_EQ(t.seconds, s);
        EXPECT_EQ(t.milliseconds, ms);
    }
};

} // namespace

TEST_F(ScriptFormat, WritesSourcesThenTracksWithExactSeconds) {
    cPozycjePlikow files;
    auto source = std::make_shared<cPozycjaPlikow>();
    source->lngNrPozycji = 1;
    source->strFileName = "/music/concert.mp3";
    files.Add(source);
    cPozycjeMP3 tracks;
    auto timed = std::make_shared<cPozycjaMP3>();
    timed->strFileName = "part1.mp3";
    timed->strFileNameSource = source->strFileName;
    timed->lngKoniec_M = 1;
    timed->lngKoniec_S = 15;
    timed->lngKoniec_SS = 600;
    tracks.Add(timed);
    auto framed = std::make_shared<cPozycjaMP3>();
    framed->strFileName = "part2.mp3";
    framed->strFileNameSource = source->strFileName;
    framed->blnJednostka = false;
    framed->lngRamkaOd = 2884;
    framed->lngRamkaDo = 5120;
    tracks.Add(framed);
    auto sourceless = std::make_shared<cPozycjaMP3>();
    sourceless->strFileNameSource = "/music/gone.mp3";
    tracks.Add(sourceless);

    EXPECT_EQ(BuildScriptText(files, tracks),
              "[Source Files]\r\n\r\n1:/music/concert.mp3\r\n\r\n[Destination files]\r\n\r\n"
              "1:part1.mp3:1:0:75.6\r\n1:part2.mp3:0:2884:5120\r\n");

    EXPECT_EQ(ScriptSecondsText(1, 15, 600), "75.6");
    EXPECT_EQ(ScriptSecondsText(1, 15, 0), "75");
    EXPECT_EQ(ScriptSecondsText(1, 15, 65), "75.065");
    EXPECT_EQ(ScriptSecondsText(0, 0, 5), "0.005");
    EXPECT_EQ(ScriptSecondsText(0, 59, 1999), "60.999");
}

TEST_F(ScriptFormat, ReadsEveryRangeFormAndSkipsWhatItShould) {
    const ScriptReadResult r = ParseScript(
        "junk before\r\n[source files]\r\n\r\n7:D:\\a:b.mp3\r\n\r\n1:/m/x.mp3\r\n"
        "  [DESTINATION FILES]  \r\n\r\n\r\n1:x.mp3:1:62,5:70\r\n1:y.mp3:0:100:200\r\n\r\n"
        "1:ignored.mp3:0:1:2\r\n");
    ASSERT_EQ(r.status, ScriptReadStatus::Ok);
    ASSERT_EQ(r.script.sources.size(), 2);
    EXPECT_EQ(r.script.sources[0].id, 7);
    EXPECT_EQ(r.script.sources[0].path, "D:\\a:b.mp3");
    ASSERT_EQ(r.script.tracks.size(), 2); // the empty line ends the section
    const ScriptTrackLine& t = r.script.tracks[0];
    EXPECT_EQ(t.sourceId, 1);
    EXPECT_EQ(t.name, "x.mp3");
    EXPECT_TRUE(t.inTime);
    expectTime(t.start, 1, 2, 500);
    expectTime(t.end, 1, 10, 0);
    EXPECT_FALSE(r.script.tracks[1].inTime);
    EXPECT_EQ(r.script.tracks[1].frameFrom, 100);
    EXPECT_EQ(r.script.tracks[1].frameTo, 200);

    const ScriptTrackLine a = onlyTrack("1:x.mp3:1:75.6:80.65");
    expectTime(a.start, 1, 15, 600);
    expectTime(a.end, 1, 20, 650);
    const ScriptTrackLine b = onlyTrack("1:x.mp3:2:1:15.25:2:0.5");
    expectTime(b.start, 1, 15, 250);
    expectTime(b.end, 2, 0, 500);
    const ScriptTrackLine c = onlyTrack("1:x.mp3:3:0.6555:1.655");
    expectTime(c.start, 0, 0, 655);
    expectTime(c.end, 0, 1, 655);
}

TEST_F(ScriptFormat, AnyLineEndWorksAndTheLastLineNeedsNone) {
    for (const char* end : {"\r\n", "\n", "\r", "\r\r\n"}) {
        const QString e = QString::fromLatin1(end);
        const ScriptReadResult r =
            ParseScript("[Source Files]" + e + "1:/m/x.mp3" + e + "[Destination Files]" + e +
                        "1:a.mp3:0:1:2" + e + "1:b.mp3:0:3:4");
        ASSERT_EQ(r.status, ScriptReadStatus::Ok) << end;
        ASSERT_EQ(r.script.tracks.size(), 2) << end;
        EXPECT_EQ(r.script.tracks[1].name, "b.mp3");
        EXPECT_EQ(r.script.tracks[1].frameTo, 4);
    }
}

TEST_F(ScriptFormat, FaultyScriptsStopWithTheirLine) {
    EXPECT_EQ(ParseScript("").status, ScriptReadStatus::NoSourceSection);
    EXPECT_EQ(ParseScript("1:/m/x.mp3\r\n[Destination Files]\r\n1:a:0:1:2").status,
              ScriptReadStatus::NoSourceSection);
    // Without its header the destination line reads as one more source line.
    EXPECT_EQ(ParseScript("[Source Files]\r\n1:/m/x.mp3\r\n1:a:0:1:2\r\n").status,
              ScriptReadStatus::NoDestinationSection);

    const QString head = "[Source Files]\r\n1:/m/x.mp3\r\n[Destination Files]\r\n";
    const ScriptReadResult badSource = ParseScript("[Source Files]\r\nx:/m/y.mp3\r\n");
    EXPECT_EQ(badSource.status, ScriptReadStatus::BadLine);
    EXPECT_EQ(badSource.line, 2);
    for (const char* line :
         {"1:a.mp3:1:75.:80", "1:a.mp3:1:75.6x:80", "1:a.mp3:1:7a:80", "a:a.mp3:0:1:2",
          "1:a.mp3:0:1", "1:a.mp3:2:1:15:2", "1:a.mp3:z:1:2", "1:a.mp3:0:1:2:3"}) {
        const ScriptReadResult r = ParseScript(head + "\r\n1:ok.mp3:0:1:2\r\n" + line);
        EXPECT_EQ(r.status, ScriptReadStatus::BadLine) << line;
        EXPECT_EQ(r.line, 6) << line;
        EXPECT_EQ(r.lineText, line);
    }
}

TEST_F(ScriptFormat, ARangeWithANegativeBoundOrItsEndBeforeItsStartStopsWithItsLine) {
    const QString head = "[Source Files]\r\n1:/m/x.mp3\r\n[Destination Files]\r\n";
    for (const char* line : {"1:a.mp3:0:10:-5", "1:a.mp3:0:-1:5", "1:a.mp3:0:100:10",
                             "1:a.mp3:1:5:2,5", "1:a.mp3:1:-0.5:2", "1:a.mp3:2:1:0:0:30",
                             "1:a.mp3:2:0:-30:1:0"}) {
        const ScriptReadResult r = ParseScript(head + "1:ok.mp3:0:1:2\r\n" + line);
        EXPECT_EQ(r.status, ScriptReadStatus::BadRange) << line;
        EXPECT_EQ(r.line, 5) << line;
        EXPECT_EQ(r.lineText, line);
    }
    // An end of 0 runs to the end of the source, and an empty range stays one.
    for (const char* line : {"1:a.mp3:0:10:0", "1:a.mp3:1:5:0", "1:a.mp3:0:10:10", "1:a.mp3:1:2:2.0"})
        EXPECT_EQ(ParseScript(head + line).status, ScriptReadStatus::Ok) << line;
}

TEST_F(ScriptFormat, OutputNamesStayInsideTheDestinationFolder) {
    EXPECT_EQ(onlyTrack(QString("1:..\\..\\evil/x\x01y.mp3:0:1:2")).name, "....evilxy.mp3");
    for (const char* name : {".", "..", "", "/", "\\..\\"}) {
        const ScriptReadResult r = ParseScript(
            "[Source Files]\n1:/m/x.mp3\n[Destination Files]\n1:" + QString(name) + ":0:1:2\n");
        EXPECT_EQ(r.status, ScriptReadStatus::BadName) << name;
        EXPECT_EQ(r.lineText, name);
    }
}

TEST_F(ScriptFormat, AWrittenScriptReadsBackToTheSameTracks) {
    cPozycjePlikow files;
    for (int id : {4, 9}) {
        auto f = std::make_shared<cPozycjaPlikow>();
        f->lngNrPozycji = id;
        f->strFileName = QStringLiteral("/m/s%1.mp3").arg(id);
        files.Add(f);
    }
    cPozycjeMP3 tracks;
    for (int i = 0; i < 6; ++i) {
        auto t = std::make_shared<cPozycjaMP3>();
        t->strFileName = QStringLiteral("piece %1.mp3").arg(i);
        t->strFileNameSource = files.Item(1 + i % 2)->strFileName;
        t->blnJednostka = i % 3 != 0;
        t->lngRamkaOd = 100 * i;
        t->lngRamkaDo = 100 * i + 77;
        t->lngPoczatek_M = i;
        t->lngPoczatek_S = 59 - i;
        t->lngPoczatek_SS = 7 * i * i;
        t->lngKoniec_M = 10 + i;
        t->lngKoniec_S = i;
        t->lngKoniec_SS = 990 + i;
        tracks.Add(t);
    }
    const ScriptReadResult r = ParseScript(BuildScriptText(files, tracks));
    ASSERT_EQ(r.status, ScriptReadStatus::Ok);
    ASSERT_EQ(r.script.sources.size(), 2);
    EXPECT_EQ(r.script.sources[1].id, 9);
    EXPECT_EQ(r.script.sources[1].path, "/m/s9.mp3");
    ASSERT_EQ(r.script.tracks.size(), 6);
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        const cPozycjaMP3& t = *tracks.Item(i + 1);
        const ScriptTrackLine& back = r.script.tracks[i];
        EXPECT_EQ(back.sourceId, i % 2 ? 9 : 4);
        EXPECT_EQ(back.name, t.strFileName);
        EXPECT_EQ(back.inTime, t.blnJednostka);
        if (t.blnJednostka) {
            expectTime(back.start, t.lngPoczatek_M, t.lngPoczatek_S, t.lngPoczatek_SS);
            expectTime(back.end, t.lngKoniec_M, t.lngKoniec_S, t.lngKoniec_SS);
        } else {
            EXPECT_EQ(back.frameFrom, t.lngRamkaOd);
            EXPECT_EQ(back.frameTo, t.lngRamkaDo);
        }
    }
}

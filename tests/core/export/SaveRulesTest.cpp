// The engine's rules: which frames a range names, what happens to existing
// outputs and missing sources, and that no failure or cancel leaves a partial
// file behind or reports success.
#include "ExportTestSupport.h"
#include "core/document/MpegHeader.h"

#include <QFileInfo>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <unistd.h>

using namespace kelbrin;
using namespace kelbrin::test;

namespace {

// The ten-second source played `times` over, as one long stream.
QString LongSource(const QString& folder, int times) {
    const QByteArray piece = ReadAll(MediaFile("cbr_noinfo.mp3"));
    QByteArray all;
    for (int i = 0; i < times; ++i)
        all += piece;
    return WriteFile(folder + "/long.mp3", all);
}

QByteArray Audio(const QString& output) {
    const QByteArray bytes = ReadAll(output);
    return bytes.left(bytes.size() - 128);
}

QByteArray Frames(const cPozycjaPlikow& file, const QByteArray& source, int from, int to) {
    const std::int64_t a = file.Daj_Naglowek_Offset(from) - 1;
    const std::int64_t b = to > file.Daj_Naglowek_Ilosc() ? source.size() : file.Daj_Naglowek_Offset(to) - 1;
    return source.mid(a, b - a);
}

} // namespace

TEST_F(ExportTest, AFrameRangeEndsBeforeItsEndFrameAndAnEmptyRangeMakesNoFile) {
    const QString path = MediaFile("cbr_noinfo.mp3");
    const auto file = open(path);
    const QByteArray src = ReadAll(path);
    const int count = file->Daj_Naglowek_Ilosc();
    SaveRequest r = request({frames(path, 10, 20, "a.mp3"), frames(path, 0, 5, "b.mp3"),
                             frames(path, 30, 30, "empty.mp3"), frames(path, count - 3, count + 50, "c.mp3"),
                             frames(path, count - 1, 0, "d.mp3")});
    r.writeCue = true;
    ASSERT_EQ(RunExport(r).status, SaveStatus::Finished);
    EXPECT_EQ(Audio(dest + "/a.mp3"), Frames(*file, src, 10, 20));
    EXPECT_EQ(Audio(dest + "/b.mp3"), Frames(*file, src, 1, 5));
    EXPECT_FALSE(QFileInfo::exists(dest + "/empty.mp3"));
    EXPECT_EQ(Audio(dest + "/c.mp3"), Frames(*file, src, count - 3, count + 1));
    EXPECT_EQ(Audio(dest + "/d.mp3"), Frames(*file, src, count - 1, count + 1));
    const QString cue = ReadAll(dest + "/cdr.cue");
    EXPECT_EQ(cue.count("TRACK"), 4);
    EXPECT_TRUE(cue.contains("TRACK 04 AUDIO")); // skipped pieces leave no gap
}

TEST_F(ExportTest, TurboCountsFromTheFirstFramesRealPlace) {
    const QString path = MediaFile("id3v2_100k.mp3"); // the audio starts after 100 KB
    ASSERT_TRUE(open(path));
    SaveRequest exact = request({frames(path, 1, 20, "exact.mp3"), seconds(path, 2, 4, "exact2.mp3")});
    ASSERT_EQ(RunExport(exact).status, SaveStatus::Finished);
    SaveRequest turbo = request({frames(path, 1, 20, "turbo.mp3"), seconds(path, 2, 4, "turbo2.mp3")});
    turbo.turbo = true;
    ASSERT_EQ(RunExport(turbo).status, SaveStatus::Finished);
    EXPECT_EQ(Audio(dest + "/turbo.mp3"), Audio(dest + "/exact.mp3"));
    EXPECT_EQ(Audio(dest + "/turbo2.mp3"), Audio(dest + "/exact2.mp3"));
}

TEST_F(ExportTest, ExistingOutputsAreAskedAboutAndKeptOnNo) {
    const QString path = MediaFile("cbr_noinfo.mp3");
    ASSERT_TRUE(open(path));
    WriteFile(dest + "/a.mp3", "old a");
    WriteFile(dest + "/b.mp3", "old b");
    messages->answers << mb::No << mb::Yes;
    SaveRequest r = request({seconds(path, 0, 2, "a.mp3"), seconds(path, 2, 4, "b.mp3")});
    r.writeCue = true;
    ASSERT_EQ(RunExport(r).status, SaveStatus::Finished);
    EXPECT_EQ(shownNumbers(), (QList<int>{3011, 3011}));
    EXPECT_EQ(ReadAll(dest + "/a.mp3"), QByteArray("old a"));
    EXPECT_GT(ReadAll(dest + "/b.mp3").size(), 10000);
    EXPECT_TRUE(QString(ReadAll(dest + "/cdr.cue")).contains("TRACK 01 AUDIO"));

    // The joined file is asked about once; No ends the run with nothing written.
    WriteFile(dest + "/joined.mp3", "old joined");
    QFile::remove(dest + "/cdr.cue");
    messages->shown.clear();
    messages->answers << mb::No;
    r.joined = true;
    r.joinedName = "joined";
    EXPECT_EQ(RunExport(r).status, SaveStatus::Declined);
    EXPECT_EQ(shownNumbers(), QList<int>{3011});
    EXPECT_EQ(ReadAll(dest + "/joined.mp3"), QByteArray("old joined"));
    EXPECT_FALSE(QFileInfo::exists(dest + "/cdr.cue"));
}

TEST_F(ExportTest, AnOutputOverASourceIsRefusedAndAMissingSourceIsSkipped) {
    const QString copy = WriteFile(dest + "/source.mp3", ReadAll(MediaFile("cbr_noinfo.mp3")));
    ASSERT_TRUE(open(copy));
    const QByteArray before = ReadAll(copy);
    SaveOutcome outcome = RunExport(request({seconds(copy, 0, 2, "source.mp3")}));
    EXPECT_EQ(outcome.status, SaveStatus::Refused);
    EXPECT_EQ(outcome.messageNumber, 3362);
    EXPECT_EQ(ReadAll(copy), before);

    messages->shown.clear();
    outcome = RunExport(request({seconds(dest + "/gone.mp3", 0, 2, "x.mp3"), seconds(copy, 0, 2, "y.mp3")}));
    EXPECT_EQ(outcome.status, SaveStatus::Finished);
    EXPECT_EQ(shownNumbers(), QList<int>{3361});
    EXPECT_EQ(outcome.written, QStringList{dest + "/y.mp3"});
}

TEST_F(ExportTest, AnOutputThatLeadsToASourceIsRefusedWhateverItsName) {
    const QString elsewhere = MakeTempDir("elsewhere");
    const QString source = WriteFile(elsewhere + "/source.mp3", ReadAll(MediaFile("cbr_noinfo.mp3")));
    ASSERT_TRUE(open(source));
    const QByteArray before = ReadAll(source);
    ASSERT_TRUE(QFile::link(source, dest + "/link.mp3"));
    ASSERT_TRUE(QDir(dest).mkdir("sub"));
    // Another name of the same file, as a case-blind file system gives
    // "Source.MP3" for "source.mp3".
    ASSERT_EQ(::link(QFile::encodeName(source).constData(),
                     QFile::encodeName(dest + "/other name.mp3").constData()), 0);
    for (const char* name : {"link.mp3", "sub/../link.mp3", "other name.mp3"}) {
        SCOPED_TRACE(name);
        const SaveOutcome outcome =
            RunExport(request({seconds(source, 0, 2, "fine.mp3"), seconds(source, 0, 2, name)}));
        EXPECT_EQ(outcome.status, SaveStatus::Refused);
        EXPECT_EQ(outcome.messageNumber, 3362);
        EXPECT_FALSE(QFileInfo::exists(dest + "/fine.mp3"));
    }
    EXPECT_EQ(ReadAll(source), before);
    EXPECT_TRUE(QDir(elsewhere).removeRecursively());
}

TEST_F(ExportTest, FailuresAndCancelsLeaveNoPartialFile) {
    const QString path = LongSource(MakeTempDir("long"), 10);
    const auto file = open(path);
    ASSERT_TRUE(file);
    WriteFile(dest + "/a.mp3", "old a");
    messages->answers << mb::Yes;

    // A disk that fills up: writes past the limit fail.
    struct rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    struct rlimit small = old;
    small.rlim_cur = 500000;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    SaveOutcome outcome = RunExport(request({seconds(path, 0, 60, "a.mp3")}));
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(outcome.status, SaveStatus::Failed);
    EXPECT_EQ(shownNumbers(), (QList<int>{3011, 7405}));
    EXPECT_TRUE(messages->shown.last().text.contains(QString::fromLocal8Bit(std::strerror(EFBIG))))
        << messages->shown.last().text.toStdString();
    EXPECT_EQ(destFiles(), QStringList{"a.mp3"});
    EXPECT_EQ(ReadAll(dest + "/a.mp3"), QByteArray("old a"));

    // A stop asked for while the bytes are copied.
    CountingHost host;
    host.onProgress = [](CountingHost& h) { h.stop = h.progressCalls == 2; };
    outcome = SavePieces(request({seconds(path, 0, 60, "b.mp3")}), host);
    EXPECT_EQ(outcome.status, SaveStatus::Cancelled);
    EXPECT_EQ(destFiles(), QStringList{"a.mp3"});

    // A source that holds fewer bytes than its index says. (A file that
    // changed since its scan is scanned again; here the index claims to be
    // as new as the file.)
    messages->shown.clear();
    QFile(path).resize(ReadAll(path).size() / 2);
    file->stampRead = SourceStamp::Of(path);
    outcome = RunExport(request({seconds(path, 0, 60, "c.mp3")}));
    EXPECT_EQ(outcome.status, SaveStatus::Failed);
    EXPECT_EQ(shownNumbers(), QList<int>{3363});
    EXPECT_EQ(destFiles(), QStringList{"a.mp3"});
}

TEST_F(ExportTest, PreviewKeepsWholeFramesOfTheHeadAndTheTail) {
    const QString path = LongSource(MakeTempDir("long"), 2);
    const auto file = open(path);
    const QByteArray src = ReadAll(path);
    SaveRequest r = request({seconds(path, 1, 15, "long.mp3"), seconds(path, 1, 2, "short.mp3")});
    r.preview = true;
    ASSERT_EQ(RunExport(r).status, SaveStatus::Finished);
    const QByteArray preview = Audio(dest + "/long.mp3");
    const QList<std::int64_t> starts = PacketPositions(path);
    const std::int64_t a = file->Daj_Naglowek_Offset(38) - 1; // trunc(1 s x 44100 / 1152)
    const std::int64_t b = file->Daj_Naglowek_Offset(574) - 1;
    const auto firstAtOrAfter = [&](std::int64_t p) { return *std::lower_bound(starts.begin(), starts.end(), p); };
    const std::int64_t headEnd = firstAtOrAfter(a + 65535);
    const std::int64_t tailStart = firstAtOrAfter(b - 51200);
    EXPECT_EQ(preview, src.mid(a, headEnd - a) + src.mid(tailStart, b - tailStart));
    ExpectPlayable(dest + "/long.mp3");
    EXPECT_EQ(Audio(dest + "/short.mp3"), src.mid(a, file->Daj_Naglowek_Offset(76) - 1 - a));
}

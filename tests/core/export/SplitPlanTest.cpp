#include "SplitTestSupport.h"
#include "support/ProgramState.h"

#include "core/export/SplitApply.h"
#include "core/export/SplitPlan.h"
#include "core/export/SplitTime.h"

using namespace kelbrin;

namespace {

class SplitPlanTest : public test::SplitTest {
protected:
    void SetUp() override {
        SplitTest::SetUp();
        file = openCopy("cbr_noinfo.mp3", "song.mp3");
        ASSERT_TRUE(file);
        D = SourceDuration(*file);
        request.sourcePath = file->strFileName;
        request.duration = D;
        request.sourceLength = file->sngCzasTrwania;
        request.outputName = "out.mp3";
        request.runStart = QDateTime(QDate(2026, 12, 8), QTime(2, 43, 37));
    }
    SplitPlan plan() { return PlanSplit(request, SplitContextFrom(*host)); }
    // Plans and applies, as the dialog's OK does.
    SplitPlan run() {
        SplitPlan p = plan();
        ApplySplitPlan(p, *host, true);
        return p;
    }
    std::shared_ptr<cPozycjaMP3> existing(std::int32_t number, const QString& source = "/other.mp3") {
        auto t = std::make_shared<cPozycjaMP3>();
        t->lngNrPozycji = number;
        t->strFileNameSource = source;
        t->lngLeft = 2000;
        t->lngTop = 2000;
        host->tracks->Add(t);
        return t;
    }

    std::shared_ptr<cPozycjaPlikow> file;
    double D = 0;
    SplitRequest request;
};

} // namespace

TEST(SplitTime, SecondsBecomeMinutesSecondsAndMilliseconds) {
    EXPECT_EQ(SecondsToTrackTime(125.6), (TrackTime{2, 5, 600}));
    EXPECT_EQ(SecondsToTrackTime(59.9996), (TrackTime{1, 0, 0}));
    EXPECT_EQ(SecondsToTrackTime(7261.0004), (TrackTime{121, 1, 0}));
    EXPECT_EQ(SecondsToTrackTime(-3), (TrackTime{0, 0, 0}));
    EXPECT_DOUBLE_EQ(TrackTimeSeconds({2, 5, 600}), 125.6);
}

TEST_F(SplitPlanTest, ManualMakesOneNumberedNamedPlacedTrack) {
    settings->values["TAG_Def"] = "made here";
    Program().session.NextTrackNo = 7;
    const SplitPlan p = run();
    ASSERT_EQ(p.tracks.size(), 1);
    const cPozycjaMP3& t = *p.tracks[0];
    EXPECT_EQ(t.lngNrPozycji, 7);
    EXPECT_EQ(Program().session.NextTrackNo, 8);
    EXPECT_EQ(StartTime(t), (TrackTime{0, 0, 0}));
    EXPECT_EQ(EndTime(t), SecondsToTrackTime(D));
    EXPECT_TRUE(t.blnJednostka);
    EXPECT_EQ(t.strFileNameSource, file->strFileName);
    EXPECT_EQ(t.strLabel, "song");
    EXPECT_EQ(t.strFileName, "out.mp3");
    EXPECT_EQ(t.strTitle, "out");
    EXPECT_EQ(t.strComment, "made here");
    EXPECT_FLOAT_EQ(float(t.dblDuration), file->sngCzasTrwania);
    EXPECT_FALSE(t.blnAwlaysTop);
    EXPECT_TRUE(t.blnZmodyfikowana);
    // Follows the start box; placed 500 right and 800 below it, centre held.
    EXPECT_EQ(t.lngTrack, 0);
    EXPECT_EQ(t.lngLeft, 800 + 225);
    EXPECT_EQ(t.lngTop, 1100 + 225);
    EXPECT_EQ(host->tracks->Count(), 1);
    EXPECT_EQ(host->viewsAdded, QList<std::int32_t>{7});
    EXPECT_EQ(host->selected, 7);
    EXPECT_EQ(host->copyEnabled, 0); // only the project's first track (number 1) enables them
}

// Fault mended: the title taken from the output name was cut after 30 UTF-16
// units, so a character outside the basic plane there (an emoji) was cut in
// half and the track's title, tag and CUE entry ended in a broken character.
TEST_F(SplitPlanTest, ATitleFromTheOutputNameIsNeverCutInsideACharacter) {
    const QString note = QString::fromUtf8("\xF0\x9F\x8E\xB5"); // one character, two units
    request.outputName = QString(29, QLatin1Char('a')) + note + "b.mp3";
    const SplitPlan cut = plan();
    ASSERT_EQ(cut.tracks.size(), 1);
    EXPECT_EQ(cut.tracks[0]->strTitle, QString(29, QLatin1Char('a')));

    request.outputName = QString(28, QLatin1Char('a')) + note + "b.mp3";
    const SplitPlan whole = plan();
    ASSERT_EQ(whole.tracks.size(), 1);
    EXPECT_EQ(whole.tracks[0]->strTitle, QString(28, QLatin1Char('a')) + note);
}

TEST_F(SplitPlanTest, EveryNMinutesOverlapsAndLinksThePieces) {
    auto before = existing(1, file->strFileName);
    host->selected = 1;
    request.mode = SplitMode::EveryMinutes;
    request.minutes = 0.05; // 3 s
    request.overlap = 0.5;
    Program().session.NextTrackNo = 2;
    const SplitPlan p = run();
    ASSERT_EQ(p.tracks.size(), 4);
    const QList<std::pair<TrackTime, TrackTime>> expected = {
        {{0, 0, 0}, {0, 3, 0}}, {{0, 2, 500}, {0, 6, 0}}, {{0, 5, 500}, {0, 9, 0}},
        {{0, 8, 500}, SecondsToTrackTime(D)}};
    for (int i = 0; i < 4; ++i) {
        const cPozycjaMP3& t = *p.tracks[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(StartTime(t), expected[i].first);
        EXPECT_EQ(EndTime(t), expected[i].second);
        EXPECT_EQ(t.lngNrPozycji, 2 + i);
        EXPECT_EQ(t.lngTrack, i == 0 ? 1 : 1 + i);
        // Each piece is a file of its own when the pieces are exported one by one.
        EXPECT_EQ(t.strFileName, i == 0 ? QString("out.mp3") : QString("out-%1.mp3").arg(i + 1));
        EXPECT_TRUE(t.blnAwlaysTop);
        // Each box stands beside the one made before it.
        EXPECT_EQ(t.lngLeft, 2000 + 500 * (i + 1));
        EXPECT_EQ(t.lngTop, 2000 + 800 * (i + 1));
    }
    // One track of this source existed: the pieces are numbered on from it.
    EXPECT_EQ(p.tracks[0]->strLabel, "song(2)");
    EXPECT_EQ(p.tracks[3]->strLabel, "song(5)");
    EXPECT_EQ(before->colNastepnik, QList<std::int32_t>{2});
    EXPECT_EQ(host->tracks->Item(2)->colNastepnik, QList<std::int32_t>{3});
    EXPECT_EQ(Program().session.NextTrackNo, 6);
}

TEST(SplitPieces, TheLastPieceEndsAtTheSourceAndIsNeverEmpty) {
    EXPECT_EQ(EveryMinutesPieceCount(600, 300), 2);
    EXPECT_EQ(EveryMinutesPieceCount(600.001, 300), 3);
    EXPECT_EQ(EveryMinutesPieceCount(100, 300), 1);
    EXPECT_EQ(EveryMinutesPieceCount(0, 300), 1);
    EXPECT_EQ(EveryMinutesPieceCount(100, 0), 1);
}

TEST_F(SplitPlanTest, EveryNMinutesNumbersAreBounded) {
    EXPECT_EQ(CheckEveryMinutesNumbers(0, 0, D), SplitNumberFault::Minutes);
    EXPECT_EQ(CheckEveryMinutesNumbers(-5, 0, D), SplitNumberFault::Minutes);
    EXPECT_EQ(CheckEveryMinutesNumbers(0.01, 0, D), SplitNumberFault::Minutes); // 0.6 s
    EXPECT_EQ(CheckEveryMinutesNumbers(1, -1, D), SplitNumberFault::Overlap);
    EXPECT_EQ(CheckEveryMinutesNumbers(1, 60, D), SplitNumberFault::Overlap);
    EXPECT_EQ(CheckEveryMinutesNumbers(0.02, 0, 3600), SplitNumberFault::Minutes); // 3000 pieces
    EXPECT_EQ(shownNumbers(), (QList<int>{3681, 3681, 3681, 3689, 3689, 3683}));
    EXPECT_EQ(messages->shown.last().text, GetText(3683, "|1", "3000"));
    EXPECT_EQ(CheckEveryMinutesNumbers(1, 59.5, D), SplitNumberFault::None);
    EXPECT_EQ(CheckEveryMinutesNumbers(1.0 / 60, 0, 999), SplitNumberFault::None);
}

TEST_F(SplitPlanTest, SegmentListPiecesAreNamedOneFileEach) {
    request.mode = SplitMode::SegmentList;
    request.segments = {{1, 2.5}, {4, 7}};
    const SplitPlan p = run();
    ASSERT_EQ(p.tracks.size(), 2);
    EXPECT_EQ(StartTime(*p.tracks[0]), (TrackTime{0, 1, 0}));
    EXPECT_EQ(EndTime(*p.tracks[0]), (TrackTime{0, 2, 500}));
    EXPECT_EQ(StartTime(*p.tracks[1]), (TrackTime{0, 4, 0}));
    EXPECT_EQ(p.tracks[0]->strFileName, "out.mp3");
    EXPECT_EQ(p.tracks[1]->strFileName, "out-2.mp3");
    EXPECT_FALSE(p.tracks[1]->blnAwlaysTop);
    EXPECT_EQ(p.tracks[1]->lngTrack, p.tracks[0]->lngNrPozycji);
}

TEST_F(SplitPlanTest, CuePiecesAreMadeLastFirstButComeInTheSheetsOrder) {
    existing(1);
    settings->values["FileNaming"] = "2";
    request.mode = SplitMode::CueSheet;
    request.cueEntries = ParseCueSheet("TRACK 01\nTITLE Intro\nPERFORMER P\nINDEX 01 00:00:00\n"
                                       "TRACK 02\nTITLE \" \"\nINDEX 01 00:03:00\n"
                                       "TRACK 03\nTITLE Outro\nINDEX 01 00:05:38\n"
                                       "TRACK 04\nTITLE Beyond\nINDEX 01 00:50:00\n")
                             .entries;
    Program().session.NextTrackNo = 2;
    const SplitPlan p = run();
    EXPECT_EQ(p.skippedCue, QStringList{"04"}); // starts after the source has ended
    ASSERT_EQ(p.tracks.size(), 3);
    const cPozycjaMP3& intro = *p.tracks[0];
    EXPECT_EQ(intro.lngNrPozycji, 2);
    EXPECT_EQ(intro.strFileName, "2.mp3");
    EXPECT_EQ(EndTime(intro), (TrackTime{0, 3, 0}));
    const cPozycjaMP3& blank = *p.tracks[1];
    EXPECT_EQ(blank.lngNrPozycji, 3);
    EXPECT_EQ(blank.lngTrack, 2);
    EXPECT_EQ(EndTime(blank), (TrackTime{0, 5, 507}));
    // Made second, after the last entry: a blank title is named after the source, numbered.
    EXPECT_EQ(blank.strLabel, "song(2)");
    EXPECT_EQ(blank.strFileName, "3.mp3");
    const cPozycjaMP3& outro = *p.tracks[2];
    EXPECT_EQ(outro.lngNrPozycji, 4);
    EXPECT_EQ(outro.lngTrack, 3);
    EXPECT_EQ(StartTime(outro), (TrackTime{0, 5, 507}));
    EXPECT_EQ(EndTime(outro), SecondsToTrackTime(D));
    EXPECT_EQ(outro.strLabel, "Outro");
    EXPECT_EQ(outro.strTitle, "Outro");
    EXPECT_EQ(outro.strAutor, "P");
    EXPECT_EQ(outro.strFileName, "4.mp3"); // third entry after the one existing track
    EXPECT_TRUE(outro.blnAwlaysTop);

    settings->values["FileNaming"] = "0";
    host->tracks = std::make_shared<cPozycjeMP3>();
    const SplitPlan stamped = plan();
    EXPECT_EQ(stamped.tracks[0]->strFileName, "20261208__02_43_38.mp3");
    EXPECT_EQ(stamped.tracks[1]->strTitle, "20261208__02_43_39");
    EXPECT_EQ(stamped.tracks[2]->strFileName, "20261208__02_43_40.mp3");
}

TEST_F(SplitPlanTest, RunAtOnceKeepsWhatTheCallerSet) {
    settings->values["TAG_Def"] = "default comment";
    auto cue = std::make_shared<cPozycjaMP3>();
    cue->strFileNameSource = file->strFileName;
    SetStartTime(*cue, {0, 2, 0});
    SetEndTime(*cue, {0, 4, 500});
    cue->strTitle = "Imported";
    cue->strAutor = "Someone";
    cue->strComment = "kept";
    request.given = cue;
    request.keepCallerFields = true;
    SplitPlan p = run();
    ASSERT_EQ(p.tracks.size(), 1);
    EXPECT_EQ(p.tracks[0], cue);
    EXPECT_EQ(StartTime(*cue), (TrackTime{0, 2, 0}));
    EXPECT_EQ(EndTime(*cue), (TrackTime{0, 4, 500}));
    EXPECT_EQ(cue->strTitle, "Imported");
    EXPECT_EQ(cue->strAutor, "Someone");
    EXPECT_EQ(cue->strComment, "kept");
    EXPECT_EQ(cue->strLabel, "Imported");

    // A recording comes without a range: it gets the whole source, keeps its label.
    auto recording = std::make_shared<cPozycjaMP3>();
    recording->strLabel = "take";
    recording->lngTrack = 3; // the file type travels here
    request.given = recording;
    p = run();
    EXPECT_EQ(EndTime(*recording), SecondsToTrackTime(D));
    EXPECT_EQ(recording->strLabel, "take");
    EXPECT_EQ(recording->strComment, "default comment");
    EXPECT_EQ(recording->lngTrack, 1); // follows the track made before it

    // Paste as new: the track is complete and only numbered, named, linked and placed.
    auto pasted = std::make_shared<cPozycjaMP3>();
    pasted->blnJednostka = false;
    pasted->lngRamkaOd = 10;
    pasted->lngRamkaDo = 90;
    pasted->strTitle = "Clip";
    pasted->strFileNameSource = "/elsewhere.mp3";
    request.given = pasted;
    request.givenIsComplete = true;
    p = run();
    EXPECT_EQ(pasted->lngRamkaDo, 90);
    EXPECT_FALSE(pasted->blnJednostka);
    EXPECT_EQ(pasted->strFileNameSource, "/elsewhere.mp3");
    EXPECT_EQ(pasted->strTitle, "Clip");
    EXPECT_EQ(pasted->strFileName, "out.mp3");
    EXPECT_EQ(pasted->lngNrPozycji, 3);
    EXPECT_EQ(host->tracks->Count(), 3);
}

TEST_F(SplitPlanTest, LinksGoToTracksThatExist) {
    auto listed = existing(4);
    existing(5);
    host->selected = 9; // deleted meanwhile
    Program().session.NextTrackNo = 10;
    EXPECT_EQ(plan().tracks[0]->lngTrack, 0);
    host->lastListRow = 4; // the advanced view's last row leads
    run();
    EXPECT_EQ(host->tracks->Item(3)->lngTrack, 4);
    EXPECT_EQ(listed->colNastepnik, QList<std::int32_t>{3});
    EXPECT_EQ(host->positions, QList<std::int32_t>{3});
}

TEST_F(SplitPlanTest, BoxesStayInsideTheWorkArea) {
    existing(1)->lngLeft = 11800; // near the right and bottom edges
    host->tracks->Item(1)->lngTop = 7800;
    host->selected = 1;
    host->start = {0, 0, 450, 450};
    const auto t = plan().tracks[0];
    EXPECT_EQ(t->lngLeft, 11800 - 225 - 500 + 225);
    EXPECT_EQ(t->lngTop, 7800 - 225 - 800 + 225);
    host->selected = 0;
    host->workWidth = 200; // a surface smaller than a box
    host->workHeight = 200;
    const auto cornered = plan().tracks[0];
    EXPECT_EQ(cornered->lngLeft, 225);
    EXPECT_EQ(cornered->lngTop, 225);
}

TEST_F(SplitPlanTest, EditRepointsATrackUnlessItIsGone) {
    auto track = existing(3);
    file->sngCzasTrwania = 42;
    ASSERT_TRUE(ApplySplitEdit(*host, 3, "new.mp3", *file, true));
    EXPECT_EQ(track->strFileNameSource, file->strFileName);
    EXPECT_EQ(track->strFileName, "new.mp3");
    EXPECT_DOUBLE_EQ(track->dblDuration, 42);
    EXPECT_TRUE(file->blnVBR);
    EXPECT_EQ(host->rowsRefreshed, QList<std::int32_t>{3});
    EXPECT_EQ(Program().session.NextTrackNo, 1);

    EXPECT_FALSE(ApplySplitEdit(*host, 8, "x.mp3", *file, false));
    EXPECT_EQ(shownNumbers(), QList<int>{3685});
}

TEST(SplitTree, ANewTracksNodeGoesUnderTheRootTheStartOrItsPredecessor) {
    EXPECT_EQ(TreeParentForNewTrack(std::nullopt, 0), SplitTreeParent::None);
    EXPECT_EQ(TreeParentForNewTrack(-1, 4), SplitTreeParent::Root);
    EXPECT_EQ(TreeParentForNewTrack(0, 0), SplitTreeParent::Start);
    EXPECT_EQ(TreeParentForNewTrack(4, 4), SplitTreeParent::Selected);
    EXPECT_EQ(TreeParentForNewTrack(4, 5), SplitTreeParent::None);
}

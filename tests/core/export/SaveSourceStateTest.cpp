// What the engine trusts of a source: a record as a project load leaves it
// (nothing read from the file yet), an index of a file that changed since,
// pieces that yield nothing, and the temporary files of runs that were killed.
#include "ExportTestSupport.h"
#include "support/ProgramState.h"
#include "../project/ProjectTestSupport.h"

#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjeMP3.h"
#include "core/export/SaveTarget.h"
#include "core/project/ProjectController.h"
#include "core/project/ProjectFileWriter.h"
#include "core/project/ScriptExport.h"
#include "platform/settings/SettingsStore.h"
#include "platform/text/AnsiCodec.h"

#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <map>
#include <unistd.h>

using namespace kelbrin;
using namespace kelbrin::test;

namespace {

struct Mode {
    bool turbo;
    bool joined;
    bool preview;
};

std::shared_ptr<cPozycjaMP3> TimeTrack(const QString& source, const QString& name, int fromMs,
                                      int toMs) {
    auto t = std::make_shared<cPozycjaMP3>();
    t->strFileNameSource = source;
    t->strFileName = name;
    t->strLabel = name;
    t->blnJednostka = true;
    t->lngPoczatek_S = fromMs / 1000;
    t->lngPoczatek_SS = fromMs % 1000;
    t->lngKoniec_S = toMs / 1000;
    t->lngKoniec_SS = toMs % 1000;
    return t;
}

std::shared_ptr<cPozycjaMP3> FrameTrack(const QString& source, const QString& name, int from, int to) {
    auto t = TimeTrack(source, name, 0, 0);
    t->blnJednostka = false;
    t->lngRamkaOd = from;
    t->lngRamkaDo = to;
    return t;
}

class SourceState : public ExportTest {
protected:
    // The tracks with their numbers, as a project holds them.
    void addTracks(const QList<std::shared_ptr<cPozycjaMP3>>& list) {
        tracks = list;
        for (int i = 0; i < tracks.size(); ++i)
            tracks[i]->lngNrPozycji = i + 1;
    }
    QList<ExportPiece> piecesOf(const QList<std::shared_ptr<cPozycjaMP3>>& list) const {
        QList<ExportPiece> pieces;
        for (const auto& t : list)
            pieces.append(ExportPieceFromTrack(*t));
        return pieces;
    }
    // Saves the open sources and the tracks as a project and opens it again:
    // the sources are then in the state a load leaves them in.
    QList<ExportPiece> reload() {
        cPozycjeMP3 collection;
        for (const auto& t : tracks)
            collection.Add(t);
        const auto bytes =
            BuildProjectBytes(ProjectHeader{}, *Program().session.OpenFiles, collection, AnsiCodec());
        EXPECT_TRUE(bytes.has_value());
        const QString project = WriteFile(MakeTempDir("project") + "/p.kbe", *bytes);
        Program().session.OpenFiles = std::make_shared<cPozycjePlikow>();
        FakeProjectWindow window;
        ProjectController controller(window);
        EXPECT_TRUE(controller.OtworzPlik(project, false, false, true));
        QList<std::shared_ptr<cPozycjaMP3>> loaded;
        for (int i = 1; i <= window.tracks->Count(); ++i)
            loaded.append(window.tracks->Item(i));
        for (int i = 1; i <= Program().session.OpenFiles->Count(); ++i)
            EXPECT_EQ(Program().session.OpenFiles->Item(i)->Daj_Naglowek_Ilosc(), 0);
        return piecesOf(loaded);
    }
    SaveOutcome runMode(const QList<ExportPiece>& pieces, const Mode& mode) {
        SaveRequest r = request(pieces);
        r.turbo = mode.turbo;
        r.joined = mode.joined;
        r.joinedName = "joined";
        r.preview = mode.preview;
        return RunExport(r);
    }
    // Every output of the folder by name, emptied afterwards.
    std::map<QString, QByteArray> takeOutputs() {
        std::map<QString, QByteArray> outputs;
        for (const QString& name : destFiles()) {
            outputs[name] = ReadAll(dest + "/" + name);
            QFile::remove(dest + "/" + name);
        }
        return outputs;
    }

    QList<std::shared_ptr<cPozycjaMP3>> tracks;
};

} // namespace

TEST_F(SourceState, EveryModeWritesAfterAProjectLoadWhatItWritesAfterAScan) {
    const QString vbr = MediaFile("vbr_xing.mp3");
    const QString cbr = MediaFile("cbr_noinfo.mp3");
    ASSERT_TRUE(open(vbr));
    ASSERT_TRUE(open(cbr));
    addTracks({TimeTrack(vbr, "a.mp3", 0, 3100), TimeTrack(vbr, "b.mp3", 3100, 6500),
               FrameTrack(cbr, "c.mp3", 100, 200), TimeTrack(cbr, "d.mp3", 2000, 9000)});
    const QList<Mode> modes = {{false, false, false}, {true, false, false}, {false, true, false},
                               {true, true, false},   {false, false, true}, {true, false, true},
                               {false, true, true},   {true, true, true}};
    std::vector<std::map<QString, QByteArray>> scanned;
    for (const Mode& mode : modes) {
        ASSERT_EQ(runMode(piecesOf(tracks), mode).status, SaveStatus::Finished);
        scanned.push_back(takeOutputs());
    }
    for (int m = 0; m < modes.size(); ++m) {
        SCOPED_TRACE(::testing::Message() << "turbo " << modes[m].turbo << " joined "
                                          << modes[m].joined << " preview " << modes[m].preview);
        const QList<ExportPiece> pieces = reload();
        messages->shown.clear();
        const SaveOutcome outcome = runMode(pieces, modes[m]);
        EXPECT_EQ(outcome.status, SaveStatus::Finished);
        EXPECT_TRUE(outcome.unwritten.isEmpty());
        EXPECT_TRUE(shownNumbers().isEmpty());
        EXPECT_EQ(outcome.written.size(), modes[m].joined ? 1 : 4);
        const auto outputs = takeOutputs();
        ASSERT_EQ(outputs.size(), scanned[m].size());
        for (const auto& [name, bytes] : scanned[m]) {
            ASSERT_TRUE(outputs.count(name)) << name.toStdString();
            EXPECT_GT(outputs.at(name).size(), 1000) << name.toStdString();
            EXPECT_TRUE(outputs.at(name) == bytes) << name.toStdString();
        }
    }
}

TEST_F(SourceState, AJoinOfDifferentFormatsIsRefusedAfterAProjectLoadToo) {
    const QString mpeg1 = MediaFile("cbr_noinfo.mp3");
    const QString mpeg2 = MediaFile("mpeg2_l3.mp3");
    ASSERT_TRUE(open(mpeg1));
    ASSERT_TRUE(open(mpeg2));
    addTracks({TimeTrack(mpeg1, "a.mp3", 0, 2000), TimeTrack(mpeg2, "b.mp3", 0, 2000)});
    for (const bool turbo : {false, true}) {
        const QList<ExportPiece> pieces = reload();
        messages->shown.clear();
        const SaveOutcome outcome = runMode(pieces, {turbo, true, false});
        EXPECT_EQ(outcome.status, SaveStatus::Refused);
        EXPECT_EQ(outcome.messageNumber, 3007);
        EXPECT_EQ(shownNumbers(), QList<int>{3007});
        EXPECT_TRUE(destFiles().isEmpty());
    }
}

TEST_F(SourceState, APieceThatYieldsNothingIsReportedAndAnEmptyRangeIsNot) {
    const QString path = MediaFile("cbr_noinfo.mp3");
    ASSERT_TRUE(open(path));
    for (const bool turbo : {false, true}) {
        messages->shown.clear();
        SaveRequest r = request({frames(path, 50000, 50100, "past.mp3"), frames(path, 30, 30, "empty.mp3"),
                                 frames(path, 1, 10, "ok.mp3")});
        r.turbo = turbo;
        const SaveOutcome outcome = RunExport(r);
        EXPECT_EQ(outcome.status, SaveStatus::Finished);
        EXPECT_EQ(shownNumbers(), QList<int>{6000});
        EXPECT_EQ(outcome.unwritten, QStringList{"past.mp3"});
        EXPECT_EQ(outcome.written, QStringList{dest + "/ok.mp3"});
        QFile::remove(dest + "/ok.mp3");
    }
    // A record whose file holds no frame at all: Turbo cannot read a header.
    const QString junk = WriteFile(MakeTempDir("junk") + "/junk.mp3", QByteArray(50000, 'x'));
    auto record = std::make_shared<cPozycjaPlikow>();
    record->strFileName = junk;
    record->sngCzasTrwania = 5;
    Program().session.OpenFiles->Add(record);
    messages->shown.clear();
    SaveRequest r = request({seconds(junk, 0, 2, "junk.mp3")});
    r.turbo = true;
    const SaveOutcome outcome = RunExport(r);
    EXPECT_EQ(shownNumbers(), QList<int>{6000});
    EXPECT_TRUE(outcome.written.isEmpty());
    EXPECT_TRUE(destFiles().isEmpty());
}

TEST_F(SourceState, ASourceChangedSinceItsScanIsReadAgainOrRefusedByTurbo) {
    const QString folder = MakeTempDir("changed");
    const QByteArray original = ReadAll(MediaFile("cbr_noinfo.mp3"));
    const QString path = WriteFile(folder + "/s.mp3", original);
    ASSERT_TRUE(open(path));
    const QList<ExportPiece> pieces = {seconds(path, 1, 3, "a.mp3"), frames(path, 40, 90, "b.mp3")};

    // Retagged elsewhere: a tag in front moves every frame.
    QByteArray tag("ID3\x03\x00\x00\x00\x00\x07\x76", 10);
    tag += QByteArray(1014, '\0');
    QFile::remove(path);
    WriteFile(path, tag + original);
    SaveRequest turbo = request(pieces);
    turbo.turbo = true;
    SaveOutcome outcome = RunExport(turbo);
    EXPECT_EQ(outcome.status, SaveStatus::Refused);
    EXPECT_EQ(shownNumbers(), QList<int>{6001});
    EXPECT_TRUE(destFiles().isEmpty());

    // Read again, and said so: the outputs are not what the tracks were made from.
    messages->shown.clear();
    ASSERT_EQ(RunExport(request(pieces)).status, SaveStatus::Finished);
    EXPECT_EQ(shownNumbers(), QList<int>{7120});
    EXPECT_TRUE(messages->shown.value(0).text.contains(path));
    const auto afterChange = takeOutputs();
    // The same pieces cut from a fresh scan of the changed file.
    Program().session.OpenFiles = std::make_shared<cPozycjePlikow>();
    ASSERT_TRUE(open(path));
    ASSERT_EQ(RunExport(request(pieces)).status, SaveStatus::Finished);
    const auto fresh = takeOutputs();
    ASSERT_EQ(afterChange.size(), 2u);
    EXPECT_TRUE(afterChange == fresh);

    // Cut short elsewhere: the tracks that now reach past its end are named.
    const QList<ExportPiece> longer = {seconds(path, 1, 3, "early"), seconds(path, 2, 9, "whole"),
                                       frames(path, 100, 300, "framed"), seconds(path, 8, 9, "late")};
    QFile(path).resize(ReadAll(path).size() / 2); // about 5 of its 10 s
    messages->shown.clear();
    ASSERT_EQ(RunExport(request(longer)).status, SaveStatus::Finished);
    ASSERT_EQ(shownNumbers(), (QList<int>{7121, 6000}));
    const QString told = messages->shown[0].text;
    EXPECT_TRUE(told.contains(path)) << told.toStdString();
    EXPECT_TRUE(told.endsWith("whole, framed, late")) << told.toStdString();
    EXPECT_TRUE(messages->shown[1].text.startsWith("Nothing could be read from the source file " + path))
        << messages->shown[1].text.toStdString();
    EXPECT_EQ(destFiles().size(), 3); // "late" starts after the new end
    takeOutputs();

    // An index that promises more than the file holds fails and leaves nothing.
    const auto file = Program().session.OpenFiles->Item(1);
    QFile(path).resize(ReadAll(path).size() / 3);
    file->stampRead = SourceStamp::Of(path); // as if the index had been made now
    messages->shown.clear();
    outcome = RunExport(request({seconds(path, 0, 9, "c.mp3")}));
    EXPECT_EQ(outcome.status, SaveStatus::Failed);
    EXPECT_EQ(shownNumbers(), QList<int>{3363});
    EXPECT_TRUE(destFiles().isEmpty());
}

TEST_F(SourceState, LeftoversOfKilledRunsAreRemovedAndOthersKept) {
    const QString path = MediaFile("cbr_noinfo.mp3");
    ASSERT_TRUE(open(path));
    const QString dead = WriteFile(dest + "/.x.mp3.kelbrin-999999999-0.part", "left");
    const QString mine = WriteFile(dest + QStringLiteral("/.y.mp3.kelbrin-%1-3.part").arg(::getpid()), "left");
    const QString living =
        WriteFile(dest + QStringLiteral("/.z.mp3.kelbrin-%1-0.part").arg(::getppid()), "busy");
    const QString foreign = WriteFile(dest + "/.notes.part", "someone else's");

    // a.mp3 is replaced, b.mp3 is new.
    WriteFile(dest + "/a.mp3", "old");
    messages->answers << mb::Yes;
    CountingHost host;
    QList<QStringList> during; // the folder as each piece's writing begins
    host.onProgress = [&](CountingHost&) { during.append(destFiles()); };
    SaveRequest r = request({seconds(path, 0, 9, "a.mp3"), seconds(path, 0, 4, "b.mp3")});
    ASSERT_EQ(SavePieces(r, host).status, SaveStatus::Finished);
    EXPECT_FALSE(QFileInfo::exists(dead));
    EXPECT_FALSE(QFileInfo::exists(mine));
    EXPECT_TRUE(QFileInfo::exists(living));
    EXPECT_TRUE(QFileInfo::exists(foreign));
    // The run's own temporary file carries the mark the next run looks for.
    ASSERT_EQ(during.size(), 2);
    EXPECT_TRUE(during[0].filter(QStringLiteral(".a.mp3.kelbrin-%1-").arg(::getpid())).size() == 1)
        << during[0].join(' ').toStdString();
    // A new output shows in the folder only once it is whole, and a run
    // killed while writing it leaves nothing behind.
    EXPECT_TRUE(during[1].filter(QStringLiteral("b.mp3")).isEmpty())
        << during[1].join(' ').toStdString();
    EXPECT_EQ(during[1].size(), 3) << during[1].join(' ').toStdString();
    EXPECT_GT(QFileInfo(dest + "/b.mp3").size(), 128);
}

TEST_F(SourceState, TheReplaceQuestionIsOneSentenceThenTheQuestion) {
    const QString path = MediaFile("cbr_noinfo.mp3");
    ASSERT_TRUE(open(path));
    WriteFile(dest + "/a.mp3", "old");
    messages->answers << mb::No;
    RunExport(request({seconds(path, 0, 2, "a.mp3")}));
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].text, "The file " + dest + "/a.mp3 already exists.\rDo you want to replace it?");
    Catalog().setLanguage("POLSKI");
    messages->shown.clear();
    messages->answers << mb::No;
    RunExport(request({seconds(path, 0, 2, "a.mp3")}));
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].text,
              QString::fromUtf8("Plik ") + dest + QString::fromUtf8("/a.mp3 już istnieje.\rCzy chcesz go zastąpić?"));
}

TEST_F(SourceState, AScriptsExportStoresTheOptionsItForced) {
    const QString path = MediaFile("cbr_noinfo.mp3");
    ASSERT_TRUE(open(path));
    SaveSetting("DestPath", dest);
    SaveSetting("ExactSave", "0");
    SaveSetting("Turbo", "1");
    SaveSetting("FileNameSame", "1");
    SaveSetting("FileNameSave", "1");
    SaveSetting("T_Set", "9");
    auto scriptTracks = std::make_shared<cPozycjeMP3>();
    auto t = TimeTrack(path, "one.mp3", 0, 2000);
    t->blnAwlaysTop = true;
    scriptTracks->Add(t);
    ScriptExportRequest r;
    r.tracks = scriptTracks;
    r.files = Program().session.OpenFiles;
    HeadlessSaveHost host;
    EXPECT_EQ(RunScriptExport(r, host).written, QStringList{dest + "/one.mp3"});
    EXPECT_EQ(GetSetting("ExactSave"), "1");
    EXPECT_EQ(GetSetting("Turbo"), "0");
    EXPECT_EQ(GetSetting("FileNameSame"), "0");
    EXPECT_EQ(GetSetting("FileNameSave"), "0");
    EXPECT_EQ(GetSetting("T_Set"), "2");
}

TEST_F(SourceState, AnOutputThatCannotBeCreatedIsNamedWithTheSystemsReason) {
    const QString path = MediaFile("cbr_noinfo.mp3");
    ASSERT_TRUE(open(path));
    WriteFile(dest + "/taken", "a file, not a folder");
    const QString longest = QString(240, 'n') + ".mp3"; // near the 255 bytes a name may have
    messages->answers << mb::Yes;
    const SaveOutcome outcome = RunExport(
        request({seconds(path, 0, 2, "taken/a.mp3"), seconds(path, 0, 2, longest)}));
    EXPECT_EQ(outcome.status, SaveStatus::Finished);
    ASSERT_EQ(shownNumbers(), QList<int>{3024});
    EXPECT_EQ(messages->shown[0].text, "The file " + dest + "/taken/a.mp3 cannot be created (" +
                                           QString::fromLocal8Bit(strerror(ENOTDIR)) +
                                           "). Skip it and go on with the next track?");
    EXPECT_EQ(outcome.written, QStringList{dest + "/" + longest});
}

// Running a batch script without a window: its sources are opened and
// scanned, its tracks handed to the export, and nothing is left behind.
#include "ProjectTestSupport.h"
#include "support/ProgramState.h"

#include "core/project/ProjectController.h"
#include "core/project/ScriptExport.h"

#include <QFile>

using namespace kelbrin;
using namespace kelbrin::test;

namespace {

struct ExportCall {
    QList<std::shared_ptr<cPozycjaMP3>> tracks;
    QStringList sources;
    QList<std::int32_t> sourceIds;
    QList<bool> scanned;
};

class RecordingExport : public ScriptExport {
public:
    explicit RecordingExport(QList<ExportCall>& calls) : m_calls(calls) {}
    void Run(const ScriptExportRequest& r) override {
        ExportCall call;
        for (int i = 1; i <= r.tracks->Count(); ++i)
            call.tracks << r.tracks->Item(i);
        for (int i = 1; i <= r.files->Count(); ++i) {
            call.sources << r.files->Item(i)->strFileName;
            call.sourceIds << r.files->Item(i)->lngNrPozycji;
            call.scanned << (r.files->Item(i)->Daj_Naglowek_Ilosc() > 0);
        }
        m_calls.append(call);
    }

private:
    QList<ExportCall>& m_calls;
};

class ScriptRun : public ProjectTest {
protected:
    void SetUp() override {
        ProjectTest::SetUp();
        controller = std::make_unique<ProjectController>(window);
        window.exporter = std::make_unique<RecordingExport>(calls);
        store->values["F1"] = "/recent.kbe";
    }
    QString script(const QString& text) { return WriteFile(dir + "/run.kbs", text.toLatin1()); }

    FakeProjectWindow window;
    std::unique_ptr<ProjectController> controller;
    QList<ExportCall> calls;
};

} // namespace

TEST_F(ScriptRun, BuildsTheTracksHandsThemToTheExportAndLeavesNothingBehind) {
    QFile::copy(MediaFile("vbr_xing.mp3"), dir + "/beside.mp3");
    const QString path = script("[Source Files]\n\n12:" + MediaFile("cbr_noinfo.mp3") +
                                "\n3:beside.mp3\n\n[Destination Files]\n\n"
                                "12:one.mp3:1:1.5:4,25\n3:two.mp3:0:10:200\n99:three.mp3:0:1:2");
    messages->answers.enqueue(mb::Yes);
    EXPECT_FALSE(controller->OtworzPlik(path, true, true, false));
    EXPECT_EQ(shownNumbers(), QList<int>{3148});

    ASSERT_EQ(calls.size(), 1);
    const ExportCall& call = calls[0];
    EXPECT_EQ(call.sources, (QStringList{MediaFile("cbr_noinfo.mp3"), dir + "/beside.mp3"}));
    EXPECT_EQ(call.sourceIds, (QList<std::int32_t>{12, 3}));
    EXPECT_EQ(call.scanned, (QList<bool>{true, true}));
    ASSERT_EQ(call.tracks.size(), 3);
    const cPozycjaMP3& one = *call.tracks[0];
    EXPECT_EQ(one.lngNrPozycji, 1);
    EXPECT_EQ(one.strFileName, "one.mp3");
    EXPECT_EQ(one.strFileNameSource, MediaFile("cbr_noinfo.mp3"));
    EXPECT_EQ(one.strLabel, "cbr_noinfo.mp3");
    EXPECT_GT(one.dblDuration, 9.0);
    EXPECT_TRUE(one.blnJednostka);
    EXPECT_EQ(one.lngPoczatek_S, 1);
    EXPECT_EQ(one.lngPoczatek_SS, 500);
    EXPECT_EQ(one.lngKoniec_S, 4);
    EXPECT_EQ(one.lngKoniec_SS, 250);
    EXPECT_TRUE(one.blnAwlaysTop);
    EXPECT_FALSE(one.blnZmodyfikowana);
    const cPozycjaMP3& two = *call.tracks[1];
    EXPECT_EQ(two.lngNrPozycji, 2);
    EXPECT_FALSE(two.blnJednostka);
    EXPECT_EQ(two.lngRamkaOd, 10);
    EXPECT_EQ(two.lngRamkaDo, 200);
    EXPECT_EQ(call.tracks[2]->strFileNameSource, ""); // no source 99: the export decides
    EXPECT_EQ(call.tracks[2]->lngNrPozycji, 3);

    EXPECT_EQ(window.tracks->Count(), 0);
    EXPECT_EQ(Program().session.OpenFiles->Count(), 0);
    EXPECT_EQ(Program().session.NextTrackNo, 1);
    EXPECT_FALSE(window.autosave);
    EXPECT_TRUE(window.inputEnabled);
    EXPECT_TRUE(window.ready);
    EXPECT_EQ(store->values.value("F1"), "/recent.kbe");
    EXPECT_FALSE(store->values.contains("F2"));
}

TEST_F(ScriptRun, AMissingSourceEndsTheRunBeforeTheExport) {
    const QString path =
        script("[Source Files]\r\n1:" + MediaFile("cbr_noinfo.mp3") +
               "\r\n2:/nowhere/gone.mp3\r\n[Destination Files]\r\n1:a.mp3:0:1:9\r\n");
    messages->answers.enqueue(mb::Yes);
    EXPECT_FALSE(controller->OtworzPlik(path, false, true, false));
    EXPECT_EQ(shownNumbers(), (QList<int>{3148, 3025}));
    EXPECT_TRUE(calls.isEmpty());
    EXPECT_EQ(window.tracks->Count(), 0);
    EXPECT_EQ(Program().session.OpenFiles->Count(), 0);
}

TEST_F(ScriptRun, AFaultyOrDeclinedScriptLeavesTheOpenProjectAlone) {
    addSource(MediaFile("cbr_noinfo.mp3"), 1);
    window.tracks->Add(std::make_shared<cPozycjaMP3>());
    const QList<std::pair<QString, int>> cases = {
        {"no header at all\n", 3343},
        {"[Source Files]\n1:/x.mp3\n", 3343},
        {"[Source Files]\n1:/x.mp3\n[Destination Files]\n1:a.mp3:1:5.:6\n", 3030},
        {"[Source Files]\n1:/x.mp3\n[Destination Files]\n1:..:1:5:6\n", 3344},
    };
    for (const auto& [text, number] : cases) {
        messages->shown.clear();
        messages->answers.enqueue(mb::Yes);
        EXPECT_FALSE(controller->OtworzPlik(script(text), false, true, false));
        EXPECT_EQ(shownNumbers(), (QList<int>{3148, number})) << text.toStdString();
        EXPECT_EQ(window.tracks->Count(), 1);
        EXPECT_EQ(Program().session.OpenFiles->Count(), 1);
    }
    messages->shown.clear();
    messages->answers.enqueue(mb::No);
    EXPECT_FALSE(controller->OtworzPlik(script("[Source Files]\n"), false, true, false));
    EXPECT_EQ(shownNumbers(), QList<int>{3148});
    EXPECT_TRUE(calls.isEmpty());
    EXPECT_EQ(window.tracks->Count(), 1);
}

TEST_F(ScriptRun, ADrivePathFromAnotherSystemFindsTheFileBesideTheScript) {
    QFile::copy(MediaFile("cbr_noinfo.mp3"), dir + "/okno.mp3");
    const QString path = script("[Source Files]\r\n1:C:\\muzyka\\okno.mp3\r\n"
                                "[Destination Files]\r\n1:a.mp3:0:1:9\r\n");
    messages->answers.enqueue(mb::Yes);
    EXPECT_FALSE(controller->OtworzPlik(path, false, true, false));
    EXPECT_EQ(shownNumbers(), QList<int>{3148});
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].sources, QStringList{dir + "/okno.mp3"});
    EXPECT_EQ(calls[0].tracks.size(), 1);
}

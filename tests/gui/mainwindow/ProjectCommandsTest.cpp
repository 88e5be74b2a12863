// The project commands on the real main window: the recent menu names the
// project's file, an opening holds the window busy, and a reset empties
// what the window shows.
#include "gui/mainwindow/ProjectCommands.h"
#include "core/app/ProgramObjects.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjeMP3.h"
#include "core/document/cPozycjePlikow.h"
#include "core/project/ScriptExport.h"
#include "gui/editor/EditorController.h"
#include "gui/editor/TrackSurface.h"
#include "gui/mainwindow/TrackPanelFrame.h"
#include "gui/mainwindow/frmDazudizi.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/ScriptedMessages.h"
#include "support/TestEnvironment.h"
#include "support/ProgramState.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

class ProjectCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        store = test::FreshProgramState();
        store->values["WindowState"] = "0";
        store->values["AdvView"] = "1";
        Catalog().load(test::SourceDir() + "/resources/Kelbrin.ini");
        Catalog().setLanguage("ENGLISH");
        auto scripted = std::make_unique<test::ScriptedMessages>();
        messages = scripted.get();
        previousMessages = SetMessageService(std::move(scripted));
        window = new frmDazudizi(Program());
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->PokazMnie();
        commands = std::make_unique<ProjectCommands>(*window);
        Program().settings.DestFolder = test::MakeTempDir("dest");
    }
    void TearDown() override {
        commands.reset();
        delete window;
        SetMessageService(std::move(previousMessages));
        SetSettingsStore(nullptr);
    }
    // The test source, open as file 1.
    QString openTestSource() {
        auto file = std::make_shared<cPozycjaPlikow>();
        file->strFileName = test::MediaFile("cbr_noinfo.mp3");
        file->lngNrPozycji = 1;
        Program().session.OpenFiles->Add(file);
        return file->strFileName;
    }
    void addTrack(std::int32_t number, const QString& source) {
        auto t = std::make_shared<cPozycjaMP3>();
        t->lngNrPozycji = number;
        t->strFileNameSource = source;
        t->strLabel = QStringLiteral("Track %1").arg(number);
        window->cPozycje()->Add(t);
    }
    QAction* recent(int k) const {
        return window->Menus().item(QStringLiteral("mnuPlik_End(%1)").arg(k));
    }

    MemorySettingsStore* store = nullptr;
    test::ScriptedMessages* messages = nullptr;
    std::unique_ptr<MessageService> previousMessages;
    frmDazudizi* window = nullptr;
    std::unique_ptr<ProjectCommands> commands;
};

} // namespace

TEST_F(ProjectCommandsTest, SaveWritesToTheProjectsOwnFileAndTheRecentMenuShowsIt) {
    const QString source = openTestSource();
    addTrack(1, source);

    bool keepName = true;
    ASSERT_TRUE(commands->Zapisz(true, keepName, "first"));
    const QString path = Program().settings.DestFolder + "/first.kbe";
    EXPECT_EQ(recent(2)->text(), path);
    EXPECT_TRUE(recent(2)->isVisible());
    EXPECT_TRUE(recent(2)->isChecked());
    EXPECT_TRUE(recent(1)->isVisible());
    EXPECT_EQ(commands->ProjectFile(), path);

    // Save writes to the checked item's file, with no dialog.
    QFile::remove(path);
    commands->mnuFile_S_Click();
    EXPECT_TRUE(QFile::exists(path));

    commands->ResetProject();
    EXPECT_FALSE(recent(2)->isChecked());
    EXPECT_TRUE(commands->ProjectFile().isEmpty());
    EXPECT_EQ(window->cPozycje()->Count(), 0);
    EXPECT_EQ(window->lvwNodes()->topLevelItemCount(), 0);
    EXPECT_FALSE(window->fraAudio()->isVisible());

    ASSERT_TRUE(commands->OtworzPlik(path, true, false, false));
    EXPECT_TRUE(messages->shown.isEmpty());
    ASSERT_EQ(window->cPozycje()->Count(), 1);
    EXPECT_EQ(window->cPozycje()->Item(1)->strLabel, "Track 1");
    EXPECT_EQ(window->lvwNodes()->topLevelItemCount(), 1);
    EXPECT_TRUE(window->CanChangeProject());
    EXPECT_EQ(store->values.value("F2"), path);
    EXPECT_EQ(commands->ProjectFile(), path);
}

TEST_F(ProjectCommandsTest, ALoadedTrackWhoseSourceIsGoneKeepsNoListRow) {
    const QString folder = test::MakeTempDir("gone");
    const QString kept = folder + "/kept.mp3";
    const QString gone = folder + "/gone.mp3";
    ASSERT_TRUE(QFile::copy(test::MediaFile("cbr_noinfo.mp3"), kept));
    ASSERT_TRUE(QFile::copy(test::MediaFile("cbr_noinfo.mp3"), gone));
    for (const QString& source : {kept, gone}) {
        auto file = std::make_shared<cPozycjaPlikow>();
        file->strFileName = source;
        file->lngNrPozycji = Program().session.NextFileId++;
        Program().session.OpenFiles->Add(file);
    }
    addTrack(1, kept);
    addTrack(2, gone);
    window->cPozycje()->Item(1)->lngPoczatek_S = 5;
    window->cPozycje()->Item(1)->lngKoniec_M = 1;
    window->cPozycje()->Item(1)->lngKoniec_SS = 250;
    bool keepName = true;
    ASSERT_TRUE(commands->Zapisz(true, keepName, "rows"));
    const QString path = Program().settings.DestFolder + "/rows.kbe";
    commands->ResetProject();
    ASSERT_TRUE(QFile::remove(gone));

    // Asked no questions, the track of the missing source stays, without a row.
    ASSERT_TRUE(commands->OtworzPlik(path, false, false, true));
    EXPECT_EQ(window->cPozycje()->Count(), 2);
    ASSERT_EQ(window->lvwNodes()->topLevelItemCount(), 1);
    const QTreeWidgetItem* row = window->lvwNodes()->topLevelItem(0);
    EXPECT_EQ(row->data(0, Qt::UserRole).toInt(), 1);
    EXPECT_EQ(row->text(1), "0:5:0");
    EXPECT_EQ(row->text(2), "1:0:250");
    EXPECT_EQ(row->text(3), "0 : 55");
    EXPECT_EQ(row->text(4), "kept.mp3");
}

TEST_F(ProjectCommandsTest, AScriptRunHoldsTheWindowBusyAndEndsEmpty) {
    struct Probe : ScriptExport {
        frmDazudizi* window;
        int tracks = -1;
        bool enabled = true, ready = true;
        void Run(const ScriptExportRequest& r) override {
            tracks = r.tracks->Count();
            enabled = window->isEnabled();
            ready = window->CanChangeProject();
        }
    };
    auto probe = std::make_unique<Probe>();
    probe->window = window;
    Probe* seen = probe.get();
    auto previous = window->SetScriptExporter(std::move(probe));

    const QString script =
        test::WriteFile(test::MakeTempDir("script") + "/s.kbs",
                        "[Source Files]\n1:" + test::MediaFile("cbr_noinfo.mp3").toUtf8() +
                            "\n[Destination Files]\n1:a.mp3:0:1:20\n");
    messages->answers.enqueue(mb::Yes);
    EXPECT_FALSE(commands->OtworzPlik(script, true, true, false));
    const auto used = window->SetScriptExporter(std::move(previous)); // keeps `seen` alive

    EXPECT_EQ(seen->tracks, 1);
    EXPECT_FALSE(seen->enabled);
    EXPECT_FALSE(seen->ready);
    EXPECT_TRUE(window->isEnabled());
    EXPECT_TRUE(window->CanChangeProject());
    EXPECT_EQ(window->cPozycje()->Count(), 0);
    EXPECT_FALSE(store->values.contains("F1"));
}

TEST_F(ProjectCommandsTest, ANewOrOpenedProjectEndsALinkThatWasWaiting) {
    const QString source = openTestSource();
    for (std::int32_t n = 1; n <= 3; ++n) {
        addTrack(n, source);
        window->cPozycje()->Item(n)->lngLeft = 3000 * n;
        window->cPozycje()->Item(n)->lngTop = 1500;
        window->cPozycje()->Item(n)->lngTrack = n == 3 ? 3 : n - 1; // 3 detached
    }
    window->DrawTrackGraph(true);
    bool keepName = true;
    ASSERT_TRUE(window->Projects().Zapisz(true, keepName, "chain"));
    const QString path = window->Projects().ProjectFile();
    GraphEditor& graph = window->Editor().editor();
    TrackSurface* surface = window->Editor().surface();
    const auto click = [&](QPoint twips) {
        QTest::mouseClick(surface, Qt::LeftButton, {}, TrackSurface::toPixels(twips));
    };

    // A click on the line 1 -> 2 waits for its new predecessor; File > New.
    click(QPoint(4500, 1500));
    ASSERT_TRUE(graph.linkMode());
    messages->answers.enqueue(mb::No); // 3008: do not save first
    window->Menus().item("mnuFile_Nowy")->trigger();
    ASSERT_EQ(window->cPozycje()->Count(), 0);
    EXPECT_FALSE(graph.linkMode());
    click(graph.startCentre()); // the program used to end here
    EXPECT_FALSE(graph.linkMode());

    // Link mode from the menu's Connect, then the project reopened from the
    // recent list: the next click selects, it links nothing.
    ASSERT_TRUE(window->OtworzPlik(path, 1, false, false));
    click(QPoint(9000, 1500));
    window->Menus().item("mnuTrack_Con_Connect")->trigger();
    ASSERT_TRUE(graph.linkMode());
    messages->answers.enqueue(mb::No);
    window->Menus().item("mnuPlik_End(2)")->trigger();
    ASSERT_EQ(window->cPozycje()->Count(), 3);
    EXPECT_FALSE(graph.linkMode());
    click(QPoint(6000, 1500));
    EXPECT_EQ(window->cPozycje()->Item(2)->lngTrack, 1);
    EXPECT_TRUE(window->cPozycje()->Item(3)->colNastepnik.isEmpty());
    EXPECT_EQ(graph.lngSelectedTrack, 2);
}

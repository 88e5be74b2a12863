// Closing the main window: the question about unsaved changes, the window's
// placement, the other windows, a recording still running, and the source
// files a start with an argument may leave behind.
#include "core/app/ProgramObjects.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjaPlikow.h"
#include "core/document/cPozycjeMP3.h"
#include "core/document/cPozycjePlikow.h"
#include "core/recording/CaptureBufferFolder.h"
#include "gui/app/Twips.h"
#include "gui/editor/EditorController.h"
#include "gui/editor/TrackCommandSet.h"
#include "gui/editor/TrackSurface.h"
#include "gui/mainwindow/FakeProgramEnd.h"
#include "gui/mainwindow/MainClose.h"
#include "gui/mainwindow/WindowCloseSteps.h"
#include "gui/mainwindow/ProjectCommands.h"
#include "gui/mainwindow/frmDazudizi.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/ScriptedMessages.h"
#include "support/TestEnvironment.h"
#include "support/ProgramState.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

class MainCloseTest : public ::testing::Test {
protected:
    void SetUp() override {
        store = test::FreshProgramState();
        store->values = {{"WindowState", "0"}, {"Width", "12000"}, {"Height", "8000"},
                         {"Left", "300"},      {"Top", "450"},     {"AdvView", "0"}};
        Catalog().load(test::SourceDir() + "/resources/Kelbrin.ini");
        Catalog().setLanguage("ENGLISH");
        auto scripted = std::make_unique<test::ScriptedMessages>();
        messages = scripted.get();
        previous = SetMessageService(std::move(scripted));
        Program().settings.DestFolder = test::MakeTempDir("dest");
        window = new frmDazudizi(Program());
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->PokazMnie();
        end = test::CountProgramEnd(*window);
    }
    void TearDown() override {
        delete window;
        SetMessageService(std::move(previous));
        SetSettingsStore(nullptr);
    }
    // One track from a copy of a test file, so that it may be deleted.
    std::shared_ptr<cPozycjaMP3> fillProject(bool modified) {
        source = test::MakeTempDir("src") + "/source.mp3";
        QFile::copy(test::MediaFile("cbr_noinfo.mp3"), source);
        auto file = std::make_shared<cPozycjaPlikow>();
        file->strFileName = source;
        file->lngNrPozycji = 1;
        Program().session.OpenFiles->Add(file);
        auto t = std::make_shared<cPozycjaMP3>();
        t->lngNrPozycji = 1;
        t->strFileNameSource = source;
        t->blnZmodyfikowana = modified;
        window->cPozycje()->Add(t);
        return t;
    }
    bool close() { return window->close(); }
    // A project saved into its own file (removed again, to see it written
    // anew) and changed since; its file's path.
    QString savedThenChanged() {
        fillProject(false);
        bool keepName = true;
        if (!window->Projects().Zapisz(true, keepName, "kept"))
            return QString();
        const QString path = window->Projects().ProjectFile();
        QFile::remove(path);
        window->cPozycje()->Item(1)->blnZmodyfikowana = true;
        return path;
    }

    MemorySettingsStore* store = nullptr;
    test::ScriptedMessages* messages = nullptr;
    std::unique_ptr<MessageService> previous;
    frmDazudizi* window = nullptr;
    test::FakeProgramEnd* end = nullptr;
    QString source;
};

// A recording the test drives: it runs until the close, and its hand-over
// lasts as long as handingOver answers true.
class FakeRecordingClose final : public RecordingClose {
public:
    int stopped = 0;
    std::function<bool()> handing = [] { return false; };
    qint64 timeoutMs = MainClose::kHandOverTimeoutMs;
    QString bufferName;
    QList<int> progress;

    bool recording() const override { return true; }
    void stopRecording() override { ++stopped; }
    bool handingOver() const override { return handing(); }
    void waitProgress(int percent) override { progress << percent; }
    qint64 handOverTimeoutMs() const override { return timeoutMs; }
    void closeTrayIcon() override {}
    QString captureBufferName() const override { return bufferName; }
};

// The window's own steps, with the players' stops counted.
class CountedStops final : public WindowCloseSteps {
public:
    CountedStops(frmDazudizi& window, int& stops) : WindowCloseSteps(window), m_stops(stops) {}
    void stopPreview() override { ++m_stops; }
    void stopPlayer() override { ++m_stops; }

private:
    int& m_stops;
};

} // namespace

TEST_F(MainCloseTest, CancelKeepsTheWindowAndWritesNoSetting) {
    fillProject(true);
    window->resize(TwipsToPx(9000), TwipsToPx(6000));
    const auto before = store->values;
    messages->answers.enqueue(mb::Cancel);
    EXPECT_FALSE(close());
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].textNumber, 3023);
    EXPECT_EQ(messages->shown[0].style, mb::YesNoCancel);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(store->values, before);
    EXPECT_EQ(end->ended, 0);
}

TEST_F(MainCloseTest, YesSavesIntoTheProjectsFileThenTheWindowGoes) {
    const QString path = savedThenChanged();
    ASSERT_FALSE(path.isEmpty());

    QWidget other;
    other.show();
    window->Menus().item("mnuHelp")->setChecked(false);
    window->setWindowState(Qt::WindowNoState);
    window->resize(TwipsToPx(11000), TwipsToPx(7500));

    messages->answers.enqueue(mb::Yes);
    EXPECT_TRUE(close());
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_FALSE(other.isVisible());
    EXPECT_EQ(end->ended, 1);
    EXPECT_EQ(store->values.value("Help"), "0");
    EXPECT_EQ(store->values.value("WindowState"), "0");
    EXPECT_EQ(store->values.value("Width"), QString::number(PxToTwips(TwipsToPx(11000))));
    EXPECT_EQ(store->values.value("Height"), QString::number(PxToTwips(TwipsToPx(7500))));
}

// Asked to end a second time, nobody is there to answer: the close neither
// stops at its questions nor loses what the project's own file can keep.
TEST_F(MainCloseTest, AskedToEndAgainItSavesIntoTheProjectsFileAndClosesEvenWithoutOne) {
    struct Unanswered {
        Unanswered() { AnswerEveryBoxWithCancel(); }
        ~Unanswered() { AnswerEveryBoxWithCancel(false); }
    } unanswered;
    const QString path = savedThenChanged();
    ASSERT_FALSE(path.isEmpty());
    EXPECT_TRUE(close());
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_TRUE(messages->shown.isEmpty()); // written to standard error, never shown
    EXPECT_EQ(end->ended, 1);

    // A project never saved has no file to go into: the close goes on all the same.
    window->show();
    window->Projects().ResetProject();
    ASSERT_TRUE(window->Projects().ProjectFile().isEmpty());
    fillProject(true);
    EXPECT_TRUE(close());
    EXPECT_EQ(end->ended, 2);
}

TEST_F(MainCloseTest, NothingIsAskedWithoutChangesAndNoBlocksNothing) {
    fillProject(false);
    EXPECT_TRUE(close());
    EXPECT_TRUE(messages->shown.isEmpty());
    EXPECT_EQ(end->ended, 1);

    window->show();
    window->cPozycje()->Item(1)->blnZmodyfikowana = true;
    messages->answers.enqueue(mb::No);
    EXPECT_TRUE(close());
    EXPECT_EQ(end->ended, 2);

    // A change in a source file's headers counts too.
    window->show();
    window->cPozycje()->Item(1)->blnZmodyfikowana = false;
    Program().session.OpenFiles->Item(1)->blnZmodyfikowana = true;
    messages->answers.enqueue(mb::Cancel);
    EXPECT_FALSE(close());
}

TEST_F(MainCloseTest, DeletingTheLastTrackOrRedoingToAnEmptyProjectIsAChangeToSave) {
    auto t = fillProject(false);
    t->lngLeft = 3000;
    t->lngTop = 1500;
    t->lngTrack = 0;
    window->DrawTrackGraph(true);
    bool keepName = true;
    ASSERT_TRUE(window->Projects().Zapisz(true, keepName, "one"));
    const auto click = [](QWidget* w, QPoint at = {}) {
        QTest::mouseClick(w, Qt::LeftButton, {}, at.isNull() ? w->rect().center() : at);
    };
    click(window->Editor().surface(), TrackSurface::toPixels(QPoint(3000, 1500)));
    click(window->Commands().button("cmdUsun"));
    ASSERT_EQ(window->cPozycje()->Count(), 0);
    messages->answers.enqueue(mb::Cancel);
    EXPECT_FALSE(close());
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].textNumber, 3023);

    // Undo brings the track back and a save keeps it; redo deletes it again.
    click(window->Editor().cmdUndo);
    ASSERT_EQ(window->cPozycje()->Count(), 1);
    ASSERT_TRUE(window->Projects().Zapisz(true, keepName, "one"));
    click(window->Editor().cmdRedo);
    ASSERT_EQ(window->cPozycje()->Count(), 0);
    messages->answers.enqueue(mb::Cancel);
    EXPECT_FALSE(close());
    ASSERT_EQ(messages->shown.size(), 2);
    EXPECT_EQ(messages->shown[1].textNumber, 3023);
}

TEST_F(MainCloseTest, AMinimizedWindowKeepsTheLastPlacement) {
    window->setWindowState(Qt::WindowMinimized);
    EXPECT_TRUE(close());
    EXPECT_EQ(store->values.value("Width"), "12000");
    EXPECT_EQ(store->values.value("Left"), "300");
    EXPECT_EQ(store->values.value("Help"), window->Menus().item("mnuHelp")->isChecked() ? "1" : "0");
}

TEST_F(MainCloseTest, AWindowThatTakesAnotherWithItLeavesTheCloseGoingOn) {
    // Like the recorder, which deletes its tray window as it closes: whichever
    // of the two is closed first takes the other with it.
    struct Partner : QWidget {
        QPointer<QWidget> other;
        void closeEvent(QCloseEvent* event) override {
            delete other.data();
            QWidget::closeEvent(event);
        }
    };
    auto* first = new Partner;
    auto* second = new Partner;
    first->other = second;
    second->other = first;
    first->show();
    second->show();
    QPointer<QWidget> a(first), b(second);
    EXPECT_TRUE(close());
    EXPECT_EQ(end->ended, 1);
    EXPECT_NE(a.isNull(), b.isNull());
    for (QWidget* left : {a.data(), b.data()}) {
        if (left) {
            EXPECT_FALSE(left->isVisible());
            delete left;
        }
    }
}

TEST_F(MainCloseTest, NoCloseUnderALongOperation) {
    fillProject(true);
    window->SetReady(false);
    EXPECT_FALSE(close());
    EXPECT_TRUE(messages->shown.isEmpty());
    EXPECT_EQ(end->ended, 0);
    window->SetReady(true);
}

TEST_F(MainCloseTest, ARunningRecordingIsFinishedAndKeptAsAProject) {
    fillProject(true);
    int waits = 0;
    auto recording = std::make_unique<FakeRecordingClose>();
    FakeRecordingClose& r = *recording;
    window->Closing().setRecording(std::move(recording));
    r.handing = [&] { return ++waits < 3; };
    end->date = QDate(2024, 3, 7);
    EXPECT_TRUE(close());
    EXPECT_EQ(r.stopped, 1);
    EXPECT_EQ(waits, 3);
    EXPECT_TRUE(QFile::exists(Program().settings.DestFolder + "/Record 03_07.kbe"));
    EXPECT_TRUE(messages->shown.isEmpty()); // the save left nothing unsaved
    EXPECT_TRUE(QFile::exists(source)); // saved in this close: sources stay
}

TEST_F(MainCloseTest, TheBufferFileGoesOnlyAfterTheServerFinishedAndASecondCloseKeepsTheFirstProject) {
    Program().recording.TempRecordFolder = test::MakeTempDir("buffer") + "/";
    const QString buffer = Program().recording.TempRecordFolder + "Bufor-1.tmp";
    test::WriteFile(buffer, QByteArray(1024, 'x'));
    test::WriteFile(Program().settings.DestFolder + "/Record 03_07.kbe", "first");
    int waits = 0;
    auto recording = std::make_unique<FakeRecordingClose>();
    FakeRecordingClose& r = *recording;
    window->Closing().setRecording(std::move(recording));
    r.handing = [&] {
        // The buffer stays while the server still reads it.
        EXPECT_TRUE(QFile::exists(buffer));
        return ++waits < 5;
    };
    r.bufferName = QStringLiteral("Bufor-1.tmp");
    const QList<int>& progress = r.progress;
    end->date = QDate(2024, 3, 7);
    EXPECT_TRUE(close());
    EXPECT_FALSE(QFile::exists(buffer));
    EXPECT_FALSE(progress.isEmpty());
    EXPECT_EQ(progress.last(), 100);
    QFile first(Program().settings.DestFolder + "/Record 03_07.kbe");
    ASSERT_TRUE(first.open(QIODevice::ReadOnly));
    EXPECT_EQ(first.readAll(), "first");
    EXPECT_TRUE(QFile::exists(Program().settings.DestFolder + "/Record 03_07 (2).kbe"));
}

TEST_F(MainCloseTest, AServerThatDoesNotFinishInTimeKeepsItsBufferAndTheCloseGoesOn) {
    Program().recording.TempRecordFolder = test::MakeTempDir("buffer") + "/";
    const QString buffer = Program().recording.TempRecordFolder + "Bufor-1.tmp";
    test::WriteFile(buffer, QByteArray(1024, 'x'));
    auto recording = std::make_unique<FakeRecordingClose>();
    recording->handing = [] { return true; }; // never finishes
    recording->timeoutMs = 200;
    recording->bufferName = QStringLiteral("Bufor-1.tmp");
    window->Closing().setRecording(std::move(recording));
    EXPECT_TRUE(close());
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].textNumber, 6704);
    // Kept under a name that neither the next start nor the next recording
    // removes, and the message says which.
    const QStringList kept = QDir(Program().recording.TempRecordFolder)
                                 .entryList({QStringLiteral("Bufor-1 kept *.tmp")}, QDir::Files);
    ASSERT_EQ(kept.size(), 1);
    EXPECT_FALSE(QFile::exists(buffer));
    EXPECT_TRUE(messages->shown[0].text.contains(kept[0]));
    RemoveStaleBuffers(Program().recording);
    QFile file(Program().recording.TempRecordFolder + kept[0]);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray(1024, 'x'));
    EXPECT_EQ(end->ended, 1);
}

TEST_F(MainCloseTest, SourcesAreOfferedForDeletionOnlyAfterAStartWithAnArgument) {
    auto t = fillProject(false);
    t->blnAwlaysTop = true;
    store->values["AskRemove"] = "1";
    window->Menus().item("mnulvw")->setChecked(true);
    EXPECT_TRUE(close());
    EXPECT_TRUE(messages->shown.isEmpty()); // no argument: never asked
    EXPECT_TRUE(QFile::exists(source));

    end->arguments = "  ";
    window->show();
    EXPECT_TRUE(close());
    EXPECT_TRUE(messages->shown.isEmpty());

    end->arguments = "/x/a.kbe";
    window->show();
    messages->answers.enqueue(mb::No);
    EXPECT_TRUE(close());
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].textNumber, 3241);
    EXPECT_EQ(messages->shown[0].style, mb::YesNo | mb::Question | mb::DefaultButton2);
    EXPECT_TRUE(QFile::exists(source));

    int stops = 0;
    window->Closing().setSteps(std::make_unique<CountedStops>(*window, stops));
    window->show();
    messages->answers.enqueue(mb::Yes);
    EXPECT_TRUE(close());
    EXPECT_EQ(stops, 2);
    EXPECT_FALSE(QFile::exists(source));
}

TEST_F(MainCloseTest, ASourceThatCannotBeDeletedIsNamed) {
    auto t = fillProject(false);
    t->blnAwlaysTop = true;
    // A second source whose path is a folder now: it cannot be removed.
    const QString stuck = test::MakeTempDir("stuck") + "/stuck.mp3";
    ASSERT_TRUE(QDir().mkpath(stuck + "/inside"));
    auto file = std::make_shared<cPozycjaPlikow>();
    file->strFileName = stuck;
    file->lngNrPozycji = 2;
    Program().session.OpenFiles->Add(file);
    store->values["AskRemove"] = "1";
    window->Menus().item("mnulvw")->setChecked(true);
    end->arguments = "/x/a.kbe";
    messages->answers.enqueue(mb::Yes);
    EXPECT_TRUE(close());
    EXPECT_FALSE(QFile::exists(source));
    ASSERT_EQ(messages->shown.size(), 2);
    EXPECT_EQ(messages->shown[1].textNumber, 7101);
    EXPECT_TRUE(messages->shown[1].text.contains(stuck));
    EXPECT_FALSE(messages->shown[1].text.contains(source));
}

// Recording from the main window: its record button opens the recorder, the
// file being recorded counts as open for capture, and the finished recording
// comes back as a track through the split dialog; a time-limited recording
// saves its project in the recording folder and closes the editor.
#include "core/recording/FakeEncoderServer.h"
#include "core/app/ProgramObjects.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjeMP3.h"
#include "core/recording/CaptureEngine.h"
#include "core/recording/FormatFile.h"
#include "core/recording/RecorderClient.h"
#include "gui/export/frmPozycje.h"
#include "gui/mainwindow/FakeProgramEnd.h"
#include "gui/mainwindow/MainClose.h"
#include "gui/mainwindow/frmDazudizi.h"
#include "gui/recording/frmRecord.h"
#include "platform/capture/FakeCaptureDevice.h"
#include "platform/codecs/WaveFormat.h"
#include "platform/media/VirtualClock.h"
#include "support/ProgramState.h"
#include "support/ScriptedMessages.h"
#include "support/TestEnvironment.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QDate>
#include <QFile>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

class MainRecorderTest : public ::testing::Test {
protected:
    void SetUp() override {
        store = test::FreshProgramState();
        Catalog().load(test::SourceDir() + "/resources/Kelbrin.ini");
        Catalog().setLanguage("ENGLISH");
        previousMessages = SetMessageService(std::make_unique<test::ScriptedMessages>());
        clock = new VirtualClock(9000000);
        previousClock = SetProgramClock(std::unique_ptr<Clock>(clock));
        capture = new FakeCapturePlatform;
        previousCapture = SetCapturePlatform(std::unique_ptr<CapturePlatform>(capture));
        Program().capture = CaptureStatus();

        records = test::MakeTempDir("records") + "/";
        Program().recording.TempRecordFolder = test::MakeTempDir("buffer") + "/";
        Program().recording.RecordFolder = records;
        Program().settings.DestFolder = test::MakeTempDir("dest");
        Program().recording.CaptureDevice = -1;
        store->values.insert("EngineType", "0");
        store->values.insert("RecBufor", "1");
        store->values.insert("RecDir", records);
        Program().recording.RecordFormat = WaveFormatEx::pcm(2, 8000, 16).toRecord();
        ASSERT_TRUE(SaveFormatFile(FormatFilePath(), Program().recording.RecordFormat));
        server = std::make_shared<test::FakeServerState>();
        server->outputFolder = records;
        server->outputCopiedFrom = test::MediaFile("cbr_noinfo.mp3");
        Program().server.Recorder = std::make_shared<RecorderClient>(std::make_unique<test::FakeServerObject>(server));

        window = new frmDazudizi(Program());
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->PokazMnie();
        end = test::CountProgramEnd(*window);
    }
    void TearDown() override {
        if (frmRecord* r = frmRecord::Instance())
            delete r;
        delete window;
        Program().server.Recorder.reset();
        SetCapturePlatform(std::move(previousCapture));
        SetProgramClock(std::move(previousClock));
        SetMessageService(std::move(previousMessages));
        SetSettingsStore(nullptr);
    }
    void play(int ms) {
        for (int t = 0; t < ms; t += 128) {
            clock->advance(128);
            if (capture->last() && capture->last()->running())
                capture->last()->deliver(QByteArray(512, char(40)));
        }
    }
    frmRecord* openRecorder() {
        auto* button = window->findChild<QPushButton*>("cmdRecord");
        EXPECT_NE(button, nullptr);
        if (button)
            button->click();
        return frmRecord::Instance();
    }
    void waitForHandOver(frmRecord* r) {
        for (int i = 0; i < 100 && r->cmdStopRec->isEnabled(); ++i)
            clock->advance(100);
    }

    MemorySettingsStore* store = nullptr;
    std::unique_ptr<MessageService> previousMessages;
    VirtualClock* clock = nullptr;
    std::unique_ptr<Clock> previousClock;
    FakeCapturePlatform* capture = nullptr;
    std::unique_ptr<CapturePlatform> previousCapture;
    std::shared_ptr<test::FakeServerState> server;
    frmDazudizi* window = nullptr;
    QString records;
    test::FakeProgramEnd* end = nullptr;
};

TEST_F(MainRecorderTest, WithoutAServerAnAutomaticStartOpensNothing) {
    Program().server.Recorder.reset();
    EXPECT_EQ(frmRecord::PokazMnie(Program(), true), nullptr);
    EXPECT_EQ(frmRecord::Instance(), nullptr);
    EXPECT_EQ(capture->log->opened, 0);
}

TEST_F(MainRecorderTest, ARecordingComesBackAsATrackOfTheProject) {
    frmRecord* r = openRecorder();
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(frmRecord::PokazMnie(Program(), false), r); // one recorder window
    EXPECT_EQ(capture->log->opened, 0); // the button only shows the window
    EXPECT_FALSE(window->IsCaptureFileOpen());

    r->cmdRecord->click();
    EXPECT_TRUE(window->IsCaptureFileOpen());
    play(2000);
    r->cmdPauza->click();
    EXPECT_FALSE(window->IsCaptureFileOpen());
    r->cmdPauza->click();
    play(1000);
    r->cmdStopRec->click();
    waitForHandOver(r);

    ASSERT_EQ(window->cPozycje()->Count(), 1);
    const auto track = window->cPozycje()->Item(1);
    EXPECT_EQ(track->strFileNameSource, records + "R0101__00_00_00.mp3");
    EXPECT_EQ(end->ended, 0); // stopped by hand: the editor stays
    EXPECT_TRUE(r->cmdRecord->isEnabled());
}

TEST_F(MainRecorderTest, ATimeLimitedRecordingSavesItsProjectAndClosesTheEditor) {
    Program().recording.RecTimeLimit = 1;
    frmRecord* r = openRecorder();
    r->cmdRecord->click();
    play(61000);
    waitForHandOver(r);
    EXPECT_EQ(window->cPozycje()->Count(), 1);
    const QString project = records + "Record " + QDate::currentDate().toString("MM_dd") + ".kbe";
    EXPECT_TRUE(QFile::exists(project));
    EXPECT_EQ(end->ended, 1);
}

TEST_F(MainRecorderTest, ClosingTheEditorDuringARecordingFinishesAndKeepsIt) {
    frmRecord* r = openRecorder();
    r->cmdRecord->click();
    play(3000);
    r->cmdPauza->click(); // a pause by hand does not hold the close up
    play(1000);
    // The close waits on real time; the server's loop runs on the test's clock.
    end->onYield = [this] { clock->advance(100); };
    EXPECT_TRUE(window->close());
    EXPECT_EQ(window->cPozycje()->Count(), 1);
    EXPECT_TRUE(QFile::exists(Program().settings.DestFolder + "/Record " + QDate::currentDate().toString("MM_dd") + ".kbe"));
    EXPECT_EQ(end->ended, 1);
}

TEST_F(MainRecorderTest, AStopAskedFromOutsideDuringAPauseByHandEndsTheRecording) {
    frmRecord* r = openRecorder();
    r->cmdRecord->click();
    play(2000);
    r->cmdPauza->click(); // by hand: the stop button would resume it first
    store->values.insert("RecStop", "1");
    play(1000);
    // Stopped, not resumed: the sound before the pause is handed over and the run ends.
    EXPECT_FALSE(window->IsCaptureFileOpen());
    waitForHandOver(r);
    EXPECT_EQ(server->encoded, QByteArray(16 * 512, char(40)));
    ASSERT_EQ(window->cPozycje()->Count(), 1);
    EXPECT_TRUE(QFile::exists(records + "Record " + QDate::currentDate().toString("MM_dd") + ".kbe"));
    EXPECT_EQ(end->ended, 1);
}

TEST_F(MainRecorderTest, TheSplitDialogNeverOffersTheFileBeingRecorded) {
    frmRecord* r = openRecorder();
    r->cmdRecord->click();
    play(1000);
    r->cmdStopRec->click();
    waitForHandOver(r);
    ASSERT_EQ(window->cPozycje()->Count(), 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    r->cmdRecord->click(); // the server writes R0101__00_00_01.mp3 now, named without its folder
    play(1000);
    const QString recording = records + "R0101__00_00_01.mp3";
    ASSERT_TRUE(QFile::exists(recording));
    window->findChild<QPushButton*>("cmdDodaj")->click();
    frmPozycje* split = frmPozycje::Instance();
    ASSERT_NE(split, nullptr);
    QStringList offered;
    for (int i = 0; i < split->cboPlikZ->count(); ++i)
        offered << split->cboPlikZ->itemText(i);
    EXPECT_TRUE(offered.contains(records + "R0101__00_00_00.mp3")) << offered.join(", ").toStdString();
    EXPECT_FALSE(offered.contains(recording)) << offered.join(", ").toStdString();
    delete split;
    r->cmdStopRec->click();
    waitForHandOver(r);
}

TEST_F(MainRecorderTest, ABufferLeftByAKilledEditorIsRemovedAtTheNextStart) {
    const QString folder = Program().recording.TempRecordFolder;
    test::WriteFile(folder + "Bufor-1.tmp", "left behind");
    test::WriteFile(folder + "Bufor2.tmp", "left behind");
    test::WriteFile(folder + "Notes.tmp", "not a buffer");
    delete window;
    window = new frmDazudizi(Program());
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    EXPECT_FALSE(QFile::exists(folder + "Bufor-1.tmp"));
    EXPECT_FALSE(QFile::exists(folder + "Bufor2.tmp"));
    EXPECT_TRUE(QFile::exists(folder + "Notes.tmp"));
}

} // namespace

// A long source scanned through the main window: the bar moves, a handler
// running inside the scan can stop it, and nothing is left busy afterwards.
#include "core/app/ProgramObjects.h"
#include "support/ProgramState.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjaPlikow.h"
#include "core/document/cPozycjePlikow.h"
#include "core/project/ProjectController.h"
#include "core/project/ProjectFileReader.h"
#include "gui/mainwindow/MainMenus.h"
#include "gui/mainwindow/ProjectCommands.h"
#include "gui/mainwindow/frmDazudizi.h"
#include "platform/settings/MemorySettingsStore.h"
#include "platform/text/AnsiCodec.h"
#include "support/ScriptedMessages.h"
#include "support/TestEnvironment.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFrame>
#include <functional>
#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

// An hour of audio: the ten-second test recording played 360 times over.
QString HourLongFile() {
    const QString path = test::MakeTempDir("long") + "/hour.mp3";
    QFile in(test::MediaFile("vbr_noinfo.mp3"));
    if (!in.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray piece = in.readAll();
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return QString();
    for (int i = 0; i < 360; ++i)
        out.write(piece);
    return path;
}

// Counts the bar's moves and runs `onFifth` from inside the fifth one, the
// way a click handled during the scan's progress step would run.
class BarWatcher : public QObject {
public:
    int resizes = 0;
    std::function<void()> onFifth;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Resize && ++resizes == 5 && onFifth)
            onFifth();
        return false;
    }
};

class LongScanTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::ResetProgramObjects();
        auto* store = new MemorySettingsStore;
        store->values = {{"WindowState", "0"}};
        SetSettingsStore(std::unique_ptr<SettingsStore>(store));
        auto scripted = std::make_unique<test::ScriptedMessages>();
        messages = scripted.get();
        SetMessageService(std::move(scripted));
        Catalog().load(test::SourceDir() + "/resources/Kelbrin.ini");
        Catalog().setLanguage("ENGLISH");
        Program().session.OpenFiles = std::make_shared<cPozycjePlikow>();
        window = new frmDazudizi(Program());
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->PokazMnie();
        path = HourLongFile();
        ASSERT_FALSE(path.isEmpty());
    }
    void TearDown() override {
        delete window;
        SetMessageService(nullptr);
        SetSettingsStore(nullptr);
    }
    QString scan(std::shared_ptr<cPozycjaPlikow>& file) {
        file = std::make_shared<cPozycjaPlikow>();
        file->strFileName = path;
        bool build = true;
        QString folder;
        return window->OpenSourceFile(file, build, true, QString(), nullptr, false, false, folder, 1);
    }
    frmDazudizi* window = nullptr;
    test::ScriptedMessages* messages = nullptr;
    QString path;
};

} // namespace

TEST_F(LongScanTest, TheBarMovesWhileAnHourIsIndexed) {
    BarWatcher watcher;
    window->shpPostep()->installEventFilter(&watcher);
    bool closedDuringScan = true;
    watcher.onFifth = [&] { closedDuringScan = window->close(); };
    std::shared_ptr<cPozycjaPlikow> file;
    EXPECT_EQ(scan(file), path);
    EXPECT_GT(watcher.resizes, 10);
    EXPECT_FALSE(closedDuringScan);
    EXPECT_TRUE(file->blnLoadedFull);
    EXPECT_NEAR(file->sngCzasTrwania, 3600, 15); // each piece carries the encoder's padding
    EXPECT_TRUE(window->CanChangeProject());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(LongScanTest, AStopInsideTheScanEndsIt) {
    BarWatcher watcher;
    window->shpPostep()->installEventFilter(&watcher);
    watcher.onFifth = [&] { window->blnScanFailed = true; };
    std::shared_ptr<cPozycjaPlikow> file;
    scan(file);
    EXPECT_FALSE(file->blnLoadedFull);
    EXPECT_LT(file->Daj_Naglowek_Ilosc(), 100000);
    EXPECT_TRUE(window->CanChangeProject());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// Fault mended: a file cut short by another program while it was indexed
// opened as complete, its index holding frames read before the cut that the
// file no longer had.
TEST_F(LongScanTest, AFileCutShortDuringTheScanIsNotOpened) {
    BarWatcher watcher;
    window->shpPostep()->installEventFilter(&watcher);
    watcher.onFifth = [&] { QFile::resize(path, 1000); };
    std::shared_ptr<cPozycjaPlikow> file;
    EXPECT_EQ(scan(file), QString());
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown.first().textNumber, 7346);
    EXPECT_EQ(Program().session.OpenFiles->Count(), 0);
    EXPECT_TRUE(window->CanChangeProject());
}

// Fault mended: Save pressed while a new source was still being scanned wrote
// a source without a path, which the next opening could only ask after.
TEST_F(LongScanTest, ASaveDuringTheScanLeavesTheHalfOpenedSourceOut) {
    Program().settings.DestFolder = test::MakeTempDir("scanproject");
    bool keepName = true;
    ASSERT_TRUE(window->Projects().Zapisz(true, keepName, "p"));
    BarWatcher watcher;
    window->shpPostep()->installEventFilter(&watcher);
    watcher.onFifth = [&] { window->Menus().item("mnuFile_S")->trigger(); };
    std::shared_ptr<cPozycjaPlikow> file;
    EXPECT_EQ(scan(file), path);
    const ProjectReadResult saved =
        ReadProjectFile(Program().settings.DestFolder + "/p.kbe", AnsiCodec());
    ASSERT_EQ(saved.status, ProjectReadStatus::Ok);
    EXPECT_TRUE(saved.contents.sources.isEmpty());
}

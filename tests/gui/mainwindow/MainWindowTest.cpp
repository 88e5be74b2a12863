#include "core/app/ProgramObjects.h"
#include "support/ProgramState.h"
#include "support/ScrollBarArrows.h"
#include "core/app/TextCatalog.h"
#include "core/app/Numbers.h"
#include "core/document/cPozycjeMP3.h"
#include "core/editor/GraphEditor.h"
#include "gui/app/Twips.h"
#include "gui/editor/EditorController.h"
#include "gui/editor/TrackSurface.h"
#include "gui/app/frmSettings.h"
#include "gui/recording/frmRecording.h"
#include "platform/capture/FakeCaptureDevices.h"
#include "gui/mainwindow/DelayTimers.h"
#include "gui/mainwindow/MainLayout.h"
#include "core/document/cPozycjaPlikow.h"
#include "gui/document/frmFrame.h"
#include "gui/document/frmHidden.h"
#include "gui/export/frmPozycje.h"
#include "gui/app/ModalDriver.h"
#include "gui/mainwindow/MainSourceToolHost.h"
#include "gui/mainwindow/TrackPanelFrame.h"
#include "gui/mainwindow/frmDazudizi.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/LocalHttpServer.h"
#include "support/ScriptedMessages.h"
#include "support/TestEnvironment.h"
#include "support/TrackFactory.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEnterEvent>
#include <QFileDialog>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace kelbrin;

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::ResetProgramObjects();
        store = new MemorySettingsStore;
        SetSettingsStore(std::unique_ptr<SettingsStore>(store));
        Catalog().load(test::SourceDir() + "/resources/Kelbrin.ini");
        Catalog().setLanguage("ENGLISH");
        QCoreApplication::setApplicationVersion("3.2.15");
    }
    void TearDown() override {
        delete window;
        SetSettingsStore(nullptr);
    }
    frmDazudizi* open() {
        window = new frmDazudizi(Program());
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->PokazMnie();
        QCoreApplication::processEvents();
        return window;
    }
    void normalPlacement(int widthTwips = 12000, int heightTwips = 9000) {
        store->values["WindowState"] = "0";
        store->values["Width"] = QString::number(widthTwips);
        store->values["Height"] = QString::number(heightTwips);
    }

    MemorySettingsStore* store = nullptr;
    frmDazudizi* window = nullptr;
};

} // namespace

TEST_F(MainWindowTest, LoadTranslatesTheWindowAndFillsItsLists) {
    normalPlacement();
    open();
    EXPECT_EQ(window->windowTitle(), "MP3 Dravon  (Linux)   Version 3.2.15" + GetText(102));
    EXPECT_EQ(window->Menus().item("mnuFile")->text(), CatalogText(2000));
    EXPECT_EQ(window->Menus().item("mnuPLoop")->text(), window->Menus().item("mnuPlay_Repeat")->text());
    for (const char* name : {"mnuFile_Nowy", "mnuTrack_Blok", "mnulvw", "mnu_Inform", "mnuEdytor"}) {
        const QString caption = window->Menus().item(name)->text();
        EXPECT_FALSE(caption.isEmpty()) << name;
        EXPECT_NE(caption, name);
    }
    EXPECT_EQ(window->fraHelp()->title(), CatalogText(2559));
    EXPECT_EQ(window->findChild<QLabel*>("lblSync")->text(), CatalogText(3194));
    EXPECT_EQ(window->findChild<QGroupBox*>("fraDevice")->title(), CatalogText(3156));
    EXPECT_EQ(window->cmdKlon()->text(), GetText(2192));
    EXPECT_GE(window->cmdKlon()->width(), window->cmdKlon()->sizeHint().width());

    ASSERT_EQ(window->lvwNodes()->columnCount(), 6);
    EXPECT_EQ(window->lvwNodes()->headerItem()->text(3), GetText(3234));
    EXPECT_EQ(window->lvwNodes()->columnWidth(0), TwipsToPx(1740));

    QComboBox* genres = window->fraAudio()->cboGenre;
    ASSERT_EQ(genres->count(), 149); // 0..147 and 255
    EXPECT_EQ(genres->itemData(148).toInt(), 255);
    for (int i = 0; i < genres->count(); ++i)
        EXPECT_FALSE(genres->itemText(i).isEmpty());

    EXPECT_TRUE(window->CanChangeProject());
    EXPECT_EQ(Program().session.NextTrackNo, 1);
    EXPECT_EQ(store->values.value("AppLastVersion"), "3215");
}

TEST_F(MainWindowTest, StoredValuesAreBroughtIntoRange) {
    store->values["NodeSize"] = "199";
    store->values["FontSize"] = "-3";
    open();
    EXPECT_EQ(window->NodeSize(), 450);
    EXPECT_EQ(window->FontSize(), 6);
    EXPECT_EQ(store->values.value("FontSize"), "6");
    delete window;
    window = nullptr;

    store->values["NodeSize"] = "1000";
    store->values["FontSize"] = "99";
    open();
    EXPECT_EQ(window->NodeSize(), 1000);
    EXPECT_EQ(window->FontSize(), 30);
}

TEST_F(MainWindowTest, FontSizeSetsTheBoxLabelsFont) {
    // Dark pixels of a track's name label: the box's column down to its
    // bottom, with the label less without it.
    auto ink = [this](const char* fontSize, const QString& label) {
        store->values["FontSize"] = fontSize;
        normalPlacement();
        open();
        EXPECT_EQ(window->Editor().surface()->labelFontSize(), ValLong(fontSize));
        auto t = test::MakeTrackAt(1, 4500, 2400, 1, label); // detached: no line
        window->cPozycje()->Add(t);
        window->DrawTrackGraph(true);
        QCoreApplication::processEvents();
        const QImage image = window->picWork()->grab().toImage();
        const QRect box = window->Editor().editor().boxRect(1);
        int dark = 0;
        for (int y = 0; y <= TwipsToPx(box.bottom()); ++y)
            for (int x = TwipsToPx(box.left()); x < image.width(); ++x)
                dark += qGray(image.pixel(x, y)) < 100 ? 1 : 0;
        delete window;
        window = nullptr;
        return dark;
    };
    const int small = ink("6", "WWWWWW") - ink("6", "");
    const int large = ink("20", "WWWWWW") - ink("20", "");
    EXPECT_GT(small, 0);
    EXPECT_GT(large, small * 3);
}

TEST_F(MainWindowTest, PlacementIsUsedOnlyForANormalWindow) {
    normalPlacement(12000, 7500);
    store->values["AdvView"] = "0";
    open();
    EXPECT_EQ(window->width(), TwipsToPx(12000));
    EXPECT_EQ(window->height(), TwipsToPx(7500));
    EXPECT_FALSE(window->lvwNodes()->isVisible());
    delete window;
    window = nullptr;

    store->values["WindowState"] = "0";
    store->values["Width"] = "100"; // narrower than the window may be
    store->values["AdvView"] = "1";
    open();
    EXPECT_GE(window->width(), TwipsToPx(10300) - 1);
    EXPECT_TRUE(window->lvwNodes()->isVisible());
    EXPECT_TRUE(window->Menus().item("mnulvw")->isChecked());
}

TEST_F(MainWindowTest, AFreshMaximizedWindowComesBackToAUsableSize) {
    open(); // nothing stored: maximized
    EXPECT_TRUE(window->isMaximized());
    window->showNormal();
    QCoreApplication::processEvents();
    const QRect screen = QApplication::primaryScreen()->availableGeometry();
    EXPECT_GE(window->width(), std::min(screen.width(), TwipsToPx(kMainMinOuterWidth)) - 1);
    EXPECT_GE(window->height(), std::min(screen.height(), TwipsToPx(kMainMinNormalHeight)) - 1);
    EXPECT_LE(window->width(), screen.width());
    EXPECT_LE(window->height(), screen.height());
    // The surface has room in the restored window.
    EXPECT_GT(window->picWork()->height(), 50);
}

TEST_F(MainWindowTest, GeometryFollowsTheLayoutAtSmallAndLargeSizes) {
    normalPlacement();
    store->values["AdvView"] = "0";
    open();
    for (QSize size : {QSize(700, 420), QSize(1600, 1000)}) {
        window->resize(size);
        QCoreApplication::processEvents();
        QWidget* client = window->centralWidget();
        const int bottom = client->height();
        EXPECT_NEAR(window->lblProgress()->geometry().bottom() + 1, bottom - TwipsToPx(10), 1);
        EXPECT_NEAR(window->fraTools()->width(), client->width() - TwipsToPx(10), 1);
        EXPECT_LE(window->fraTools()->geometry().bottom(), window->lblProgress()->y());
        EXPECT_NEAR(window->picWork()->x(), window->tvwNodes()->width() + 1, 1);
        // The surface ends above the help box while that is shown.
        EXPECT_NEAR(window->picWork()->height(),
                    window->fraHelp()->isVisible() ? window->fraHelp()->y() : window->fraTools()->y() + TwipsToPx(40), 2);
        EXPECT_NEAR(window->cmdSave()->geometry().right() + 1,
                    window->fraTools()->width() - TwipsToPx(100), 2);
        if (window->fraHelp()->isVisible()) {
            EXPECT_NEAR(window->fraHelp()->geometry().bottom() + 1,
                        window->fraTools()->y() + TwipsToPx(40), 2);
        }
    }

    // Showing the track panel moves the surface's bottom up by its height.
    const int before = window->picWork()->height();
    window->fraAudio()->show();
    window->Form_Resize();
    EXPECT_NEAR(window->picWork()->height(), before - window->fraAudio()->height(), 2);

    // The advanced view puts the list over tree and surface from the left edge.
    window->Menus().item("mnulvw")->trigger();
    EXPECT_TRUE(window->lvwNodes()->isVisible());
    EXPECT_EQ(window->lvwNodes()->x(), 0);
    EXPECT_EQ(window->fraAudio()->x(), 0);
    EXPECT_NEAR(window->fraAudio()->width(), window->lvwNodes()->width(), 1);
    EXPECT_EQ(store->values.value("AdvView"), "1");
}

TEST_F(MainWindowTest, ProgressBarFillsTheInnerWidth) {
    normalPlacement();
    open();
    const int inner = window->centralWidget()->width();
    window->MaxProgress(0);
    window->ZerujProgress();
    const int untouched = window->shpPostep()->width();
    window->UstawProgress(10);
    EXPECT_EQ(window->shpPostep()->width(), untouched); // no maximum yet

    window->MaxProgress(200);
    EXPECT_EQ(QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : Qt::ArrowCursor,
              Qt::WaitCursor);
    window->UstawProgress(100);
    EXPECT_NEAR(window->shpPostep()->width(), inner / 2, 1);
    window->UstawProgress(200);
    EXPECT_NEAR(window->shpPostep()->width(), inner, 1);
    window->UstawProgress(201); // above the maximum: the bar stays
    EXPECT_NEAR(window->shpPostep()->width(), inner, 1);
    window->ZerujProgress();
    EXPECT_EQ(window->shpPostep()->width(), 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(MainWindowTest, NothingClosesTheWindowUnderALongOperation) {
    normalPlacement();
    open();
    window->SetReady(false);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    // Esc asks the running operation to stop.
    window->blnScanFailed = false;
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_TRUE(window->blnScanFailed);
    // Commands that change the project are refused meanwhile.
    store->values.remove("AdvView");
    window->Menus().item("mnulvw")->trigger();
    EXPECT_FALSE(store->values.contains("AdvView"));
    window->SetReady(true);
    EXPECT_TRUE(window->close());
}

TEST_F(MainWindowTest, DelayTimersOnlyClearTheirOwnTag) {
    DelayTimers timers;
    timers.Arm(3, 20, "1");
    timers.Arm(4, 10000, "1");
    EXPECT_EQ(timers.Tag(3), "1");
    QTest::qWait(80);
    EXPECT_EQ(timers.Tag(3), "0");
    EXPECT_EQ(timers.Tag(4), "1");
    EXPECT_TRUE(timers.IsActive(3)); // it keeps ticking until the player stops it
    timers.Stop(3);
    EXPECT_FALSE(timers.IsActive(3));
}

TEST_F(MainWindowTest, HoveringShowsHintsAndButtonsCarryCatalogueTooltips) {
    normalPlacement();
    open();
    EXPECT_TRUE(window->cmdSave()->text().isEmpty());
    EXPECT_FALSE(window->cmdSave()->icon().isNull());
    EXPECT_EQ(window->cmdSave()->toolTip(), GetText(1153));
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(window->cmdSave(), &enter);
    EXPECT_EQ(window->lblHelp()->text(), GetText(5023));
    QEnterEvent enterSync(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(window->fraAudio()->lblSync, &enterSync);
    EXPECT_EQ(window->lblHelp()->text(), GetText(5034));
}

TEST_F(MainWindowTest, CheckForUpdatesAsksTheAddressInTheSettingsAndWaitsAsALongOperation) {
    test::LocalHttpServer server;
    ASSERT_TRUE(server.listening());
    server.serve("/version.txt", "3.2.16,1\n");
    store->values["UpgAdres"] = server.url("/version.txt");
    auto* messages = new test::ScriptedMessages;
    auto previous = SetMessageService(std::unique_ptr<MessageService>(messages));
    open();
    QAction* update = window->Menus().item("mnuUpdate");
    ASSERT_TRUE(update->isEnabled());
    EXPECT_EQ(update->text(), "Check for &updates...");

    // The window cannot close while the check waits for its answer.
    bool closedMeanwhile = true;
    QTimer::singleShot(0, window, [&] { closedMeanwhile = window->close(); });
    update->trigger();
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].textNumber, 3230);
    EXPECT_EQ(server.requests.size(), 1);
    EXPECT_FALSE(closedMeanwhile);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->CanChangeProject());

    // Under a long operation the command does nothing.
    window->SetReady(false);
    update->trigger();
    EXPECT_EQ(server.requests.size(), 1);
    window->SetReady(true);
    SetMessageService(std::move(previous));
}

// Fault mended: an error thrown through a long operation (the event loop
// shows it and the program goes on) left the window busy for good, and from
// then on File > Add source, the split dialog's folder button and the frame
// header editor's file did nothing, without a word.
TEST_F(MainWindowTest, AnErrorThrownThroughALongOperationLeavesTheSourceCommandsWorking) {
    test::LocalHttpServer server;
    ASSERT_TRUE(server.listening());
    server.serve("/version.txt", "3.2.16,1\n");
    store->values["UpgAdres"] = server.url("/version.txt");
    // The answer's box fails as a handler can fail in use.
    struct FailingBox final : MessageService {
        int showMessage(const MessageRequest& request) override {
            if (request.textNumber == 3230)
                throw std::runtime_error("the box failed");
            shown.append(request);
            return mb::Ok;
        }
        std::optional<QString> inputBox(const InputRequest&) override { return std::nullopt; }
        QList<MessageRequest> shown;
    };
    auto* messages = new FailingBox;
    auto previous = SetMessageService(std::unique_ptr<MessageService>(messages));
    normalPlacement();
    open();
    EXPECT_THROW(window->Menus().item("mnuUpdate")->trigger(), std::runtime_error);
    EXPECT_TRUE(window->CanChangeProject());

    // File > Add source with no source open asks for one at once.
    int dialogs = 0;
    test::WhileOpen<QFileDialog>(window, [&](QFileDialog* dialog) {
        ++dialogs;
        dialog->reject();
    });
    window->Menus().item("mnuFile_Add")->trigger();
    EXPECT_EQ(dialogs, 1);
    EXPECT_TRUE(messages->shown.isEmpty());
    ASSERT_TRUE(frmPozycje::Instance());
    delete frmPozycje::Instance();

    // A tool's write ended by an error gives the window back too.
    MainSourceToolHost host(*window);
    EXPECT_THROW(
        {
            const LongWorkScope work(host);
            ASSERT_TRUE(work.held());
            throw std::runtime_error("write failed");
        },
        std::runtime_error);
    EXPECT_TRUE(window->CanChangeProject());

    // Under a running operation a refused command says why, and asks nothing.
    const LongWorkScope running(host);
    ASSERT_TRUE(running.held());
    for (const char* name : {"mnuFile_Add", "mnuUpdate", "mnuFile_Nowy", "mnuFile_Save"}) {
        messages->shown.clear();
        window->Menus().item(name)->trigger();
        ASSERT_EQ(messages->shown.size(), 1) << name;
        EXPECT_EQ(messages->shown[0].textNumber, 7180) << name;
    }
    std::shared_ptr<cPozycjaPlikow> file = std::make_shared<cPozycjaPlikow>();
    messages->shown.clear();
    EXPECT_EQ(host.OpenSource(file, false), QString());
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].textNumber, 7180);
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(server.requests.size(), 1);
    SetMessageService(std::move(previous));
}

TEST_F(MainWindowTest, ToolsMenuOpensTheSourceFileToolsAndAWriteHoldsTheWindow) {
    normalPlacement();
    open();
    for (const char* name : {"mnuEdytor", "mnuHidden", "mnuFile_Lista"})
        EXPECT_TRUE(window->Menus().item(name)->isEnabled()) << name;
    window->Menus().item("mnuEdytor")->trigger();
    window->Menus().item("mnuHidden")->trigger();
    ASSERT_TRUE(window->findChild<frmFrame*>());
    ASSERT_TRUE(window->findChild<frmHidden*>());
    EXPECT_EQ(window->findChild<frmFrame*>()->windowTitle(), "Frame header editor");

    // A tool's write holds the program: no second write, no close.
    MainSourceToolHost host(*window);
    ASSERT_TRUE(host.TryBeginLongWork());
    EXPECT_FALSE(host.TryBeginLongWork());
    EXPECT_FALSE(window->close());
    std::shared_ptr<cPozycjaPlikow> file = std::make_shared<cPozycjaPlikow>();
    file->strFileName = test::MediaFile("cbr_noinfo.mp3");
    EXPECT_EQ(host.OpenSource(file, false), QString()); // no scan meanwhile
    host.EndLongWork();
    EXPECT_TRUE(window->CanChangeProject());
    EXPECT_EQ(host.OpenSource(file, false), file->strFileName);
    EXPECT_GT(file->Daj_Naglowek_Ilosc(), 0);
}

TEST_F(MainWindowTest, TheSettingsItemOpensTheSettingsDialog) {
    normalPlacement();
    open();
    QAction* settings = nullptr;
    for (QAction* a : window->findChildren<QAction*>())
        if (a->objectName() == "mnuSetting")
            settings = a;
    ASSERT_NE(settings, nullptr);
    EXPECT_TRUE(settings->isEnabled());
    settings->trigger();
    QPointer<frmSettings> dialog = frmSettings::Instance();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->isModal());
    // The drawing surface follows the mouse setting while the dialog is open.
    const int before = dialog->VScrMouse->value();
    test::ClickDownArrow(dialog->VScrMouse);
    ASSERT_NE(dialog->VScrMouse->value(), before);
    EXPECT_EQ(window->Editor().editor().mouseSensitivity, dialog->VScrMouse->value());
    dialog->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(dialog, nullptr);
}

TEST_F(MainWindowTest, TheRecordingItemOpensTheRecordingSettings) {
    auto previousDevices = SetCaptureDevices(std::make_unique<FakeCaptureDevices>());
    normalPlacement();
    open();
    QAction* recording = window->Menus().item("mnuOptions_Rec");
    ASSERT_NE(recording, nullptr);
    EXPECT_TRUE(recording->isEnabled());
    recording->trigger();
    QPointer<frmRecording> settings = frmRecording::Instance();
    ASSERT_NE(settings, nullptr);
    EXPECT_TRUE(settings->isVisible());
    EXPECT_EQ(settings->parentWidget(), nullptr);
    settings->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(settings, nullptr);
    EXPECT_EQ(store->values.value("LameQualHigh"), "13"); // stored on close
    SetCaptureDevices(std::move(previousDevices));
}

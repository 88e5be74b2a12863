// Every window the editor and its encoder server open, opened the way the
// user opens it (a menu item, a button), lies with its whole frame, title
// bar included, on the screen where the window manager put it. (The tray
// icon's menu is a popup, not a window.)
#include "core/app/ProgramObjects.h"
#include "support/ProgramState.h"
#include "core/document/cPozycjeMP3.h"
#include "encoder-server/speech/SpeechMarkerDetector.h"
#include "gui/app/QtMessageService.h"
#include "gui/app/frmLang.h"
#include "gui/app/frmSettings.h"
#include "gui/document/frmPliki.h"
#include "gui/editor/EditorController.h"
#include "gui/editor/TrackCommandSet.h"
#include "gui/export/frmPozycje.h"
#include "gui/mainwindow/frmDazudizi.h"
#include "gui/recording/codecChooser.h"
#include "gui/recording/frmRecording.h"
#include "platform/capture/FakeCaptureDevices.h"
#include "platform/lame/FakeLameLibrary.h"
#include "support/FakeServices.h"
#include "support/TrackFactory.h"
#include "WindowManagerSession.h"
#include "../app/ModalDriver.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <functional>

using namespace kelbrin;
using namespace kelbrin::test;

namespace {

class EditorWindowsPlacement : public ::testing::Test, protected FakeServices {
protected:
    // A first start: nothing stored yet.
    EditorWindowsPlacement() : FakeServices({}) {}
    void SetUp() override {
        KELBRIN_NEED_WINDOW_MANAGER();
        test::ResetProgramObjects();
        SetLameLibrary(std::make_unique<FakeLameLibrary>());
        SetCaptureDevices(std::make_unique<FakeCaptureDevices>(QStringList{"Built-in Audio"}));
        folder = MakeTempDir("placement");
        window = new frmDazudizi(Program());
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->PokazMnie();
    }
    void TearDown() override { delete window; }

    // The window the step opens: the visible top-level one that was not there before.
    static QWidget* Opened(const std::function<void()>& step) {
        QWidgetList before;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible())
                before << w;
        step();
        QCoreApplication::processEvents();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && !before.contains(w) && w->windowType() != Qt::Popup && w->windowType() != Qt::ToolTip)
                return w;
        return nullptr;
    }
    // Opens a window by the step, checks its frame and closes it.
    static void Check(const char* name, const std::function<void()>& step) {
        QPointer<QWidget> w = Opened(step);
        ExpectFrameOnScreen(w, name);
        if (w)
            w->close();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // A modal dialog the step opens: checked, then closed by `done`.
    template <typename Dialog>
    static void CheckModal(const char* name, const std::function<void()>& step,
                           std::function<void(Dialog*)> done = [](Dialog* d) { d->reject(); }) {
        WhenModal<Dialog>([name, done](Dialog* d) {
            ExpectFrameOnScreen(d, name);
            done(d);
        });
        step();
        QCoreApplication::processEvents();
    }
    QAction* item(const char* name) const { return window->Menus().item(QLatin1String(name)); }
    std::function<void()> trigger(const char* name) const {
        return [this, name] {
            ASSERT_TRUE(item(name)->isEnabled()) << name;
            item(name)->trigger();
        };
    }
    std::function<void()> click(QWidget* parent, const char* name) const {
        return [parent, name] {
            auto* button = parent ? parent->findChild<QPushButton*>(name) : nullptr;
            ASSERT_TRUE(button) << name;
            button->click();
        };
    }

    frmDazudizi* window = nullptr;
    QString folder;
};

} // namespace

TEST_F(EditorWindowsPlacement, EveryWindowOpensWithItsTitleBarOnTheScreen) {
    ExpectFrameOnScreen(window, "frmDazudizi");

    // The list of open files, with none open, says so in a message box.
    auto scripted = SetMessageService(std::make_unique<QtMessageService>());
    CheckModal<QMessageBox>("QMessageBox", trigger("mnuFile_Lista"));
    SetMessageService(std::move(scripted));

    // File > Add track asks for a source first, then shows the split dialog.
    const QString source = folder + "/source.mp3";
    ASSERT_TRUE(QFile::copy(MediaFile("cbr_noinfo.mp3"), source));
    CheckModal<QFileDialog>("QFileDialog", trigger("mnuFile_Add"), [&](QFileDialog* d) {
        auto* name = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_TRUE(name);
        name->setText(source);
        QTest::keyClick(name, Qt::Key_Return);
    });
    QPointer<QWidget> split = frmPozycje::Instance();
    ExpectFrameOnScreen(split, "frmPozycje");
    if (split)
        split->close();
    QCoreApplication::processEvents();

    Check("frmPliki", trigger("mnuFile_Lista"));
    Check("frmTAG", [&] {
        QWidget* list = Opened(trigger("mnuFile_Lista"));
        click(list, "cmdTAG")();
        if (list)
            list->close();
    });
    Check("frmFrame", trigger("mnuEdytor"));
    Check("frmHidden", trigger("mnuHidden"));
    Check("frmInfo", trigger("mnu_Inform"));
    Check("frmRecording", trigger("mnuOptions_Rec"));
    CheckModal<codecChooser>("codecChooser", [&] {
        frmRecording* options = frmRecording::PokazMnie(Program().recording);
        options->cmdFormat->click();
        options->close();
    });
    Check("frmRecord", click(window, "cmdRecord"));
    Check("frmSettings", trigger("mnuSetting"));
    CheckModal<frmLang>("frmLang", [&] {
        frmSettings* settings =
            frmSettings::PokazMnie(window->Objects(), window, window->cPozycje());
        settings->Command1->click();
        settings->close();
    });

    // Two tracks of the source, the first followed by the second.
    for (int n = 1; n <= 2; ++n) {
        auto t = MakeTrackAt(n, 1500 + 3000 * (n - 1), 1500, n - 1, QStringLiteral("Track %1").arg(n));
        t->strFileNameSource = source;
        t->dblDuration = 5;
        t->lngKoniec_S = 5;
        media->durations[source] = 5;
        window->cPozycje()->Add(t);
    }
    window->cPozycje()->Item(1)->colNastepnik = {2};
    Program().session.NextTrackNo = 3;
    window->DrawTrackGraph(true);
    window->Editor().editor().SelectTrackBox(1, 1, 0, QPoint());
    Check("frmLabel", trigger("mnuTrack_Label"));
    trigger("mnulvw")(); // the simple view shows the graph's items, the legend among them
    Check("frmLegend", trigger("mnu_Info_Legend"));
    Check("frmFade", [&] { window->Commands().OpenFadeEditor(window->cPozycje()->Item(1), window->cPozycje()->Item(2)); });
    Check("frmSave", trigger("mnuFile_Save"));

    // The encoder server's window, shown when a recording that marks speech starts.
    SpeechMarkerDetector detector(true);
    Check("frmStream", [&] { detector.recordingStarted(PcmLayout{}); });
    detector.recordingEnded();
}

// The place stored when the window closed is the frame's: a window closed in
// the top left corner opens there again with its title bar on the screen.
TEST_F(EditorWindowsPlacement, TheMainWindowOpensAgainWithItsTitleBarOnTheScreen) {
    delete window;
    store->values = {{"WindowState", "0"}, {"Left", "0"}, {"Top", "0"}};
    window = new frmDazudizi(Program());
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->PokazMnie();
    ExpectFrameOnScreen(window, "frmDazudizi");
    EXPECT_EQ(window->windowHandle()->frameGeometry().topLeft(), QPoint(0, 0));
}

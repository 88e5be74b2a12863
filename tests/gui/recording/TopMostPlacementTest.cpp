// The windows that stay on top open where a window manager places them, with
// their whole frame (title bar and close box) on the screen.
#include "core/app/ProgramObjects.h"
#include "support/ProgramState.h"
#include "core/app/TextCatalog.h"
#include "gui/editor/frmLegend.h"
#include "gui/recording/frmRecord.h"
#include "gui/recording/frmRecording.h"
#include "platform/capture/FakeCaptureDevices.h"
#include "platform/lame/FakeLameLibrary.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/TestEnvironment.h"
#include "WindowManagerSession.h"

#include <QGuiApplication>
#include <QPointer>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

class TopMostPlacement : public ::testing::Test {
protected:
    void SetUp() override {
        KELBRIN_NEED_WINDOW_MANAGER();
        test::ResetProgramObjects();
        SetSettingsStore(std::make_unique<MemorySettingsStore>());
        Catalog().load(test::SourceDir() + "/resources/Kelbrin.ini");
        Catalog().setLanguage("ENGLISH");
        SetLameLibrary(std::make_unique<FakeLameLibrary>());
        SetCaptureDevices(std::make_unique<FakeCaptureDevices>(QStringList{"Built-in Audio"}));
    }
    void TearDown() override { SetSettingsStore(nullptr); }

    // The frame lies on the screen and the window stays on top.
    static void ExpectPlacedOnScreen(QWidget* window) {
        test::ExpectFrameOnScreen(window, window ? window->metaObject()->className() : "window");
        if (window) {
            EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        }
    }
    static void Close(QWidget* window) {
        window->close();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

// Fault mended: the recording options window and the recorder pinned the
// place they reported before they were shown (0,0), so their title bar,
// with its close box, lay above the screen.
TEST_F(TopMostPlacement, TheRecordingWindowsOpenWithTheirFrameOnTheScreen) {
    QPointer<frmRecording> options = frmRecording::PokazMnie(Program().recording);
    ExpectPlacedOnScreen(options);
    Close(options);
    QPointer<frmRecord> recorder = frmRecord::PokazMnie(Program(), false);
    ExpectPlacedOnScreen(recorder);
    Close(recorder);
}

TEST_F(TopMostPlacement, TheLegendOpensWithItsFrameOnTheScreen) {
    QPointer<frmLegend> legend = frmLegend::PokazMnie();
    ExpectPlacedOnScreen(legend);
    Close(legend);
}

} // namespace

// The windows that stay on top open where a window manager places them, with
// their whole frame (title bar and close box) on the screen. Runs on a virtual
// X display with a small window manager that frames every window.
#include "core/app/SharedState.h"
#include "core/app/TextCatalog.h"
#include "gui/editor/frmLegend.h"
#include "gui/recording/frmRecord.h"
#include "gui/recording/frmRecording.h"
#include "platform/capture/FakeCaptureDevices.h"
#include "platform/lame/FakeLameLibrary.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/TestEnvironment.h"

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
    static void SetUpTestSuite() {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            return;
        wm = new QProcess;
        // Its border is drawn outside the window, so a frame off the screen
        // shows in any corner; the core font "fixed" is built into every
        // X server.
        wm->start(QStringLiteral(KELBRIN_WINDOW_MANAGER),
                  {QStringLiteral("--fn"), QStringLiteral("fixed"), QStringLiteral("--bw"), QStringLiteral("4")});
        if (!wm->waitForStarted(5000))
            return;
        // The manager runs once it frames a new window.
        for (int attempt = 0; attempt < 20 && !framing; ++attempt) {
            QWidget probe;
            probe.resize(100, 60);
            probe.show();
            framing = QTest::qWaitFor([&] { return probe.frameGeometry() != probe.geometry(); }, 500);
        }
    }
    static void TearDownTestSuite() {
        if (!wm)
            return;
        wm->terminate();
        wm->waitForFinished(3000);
        delete wm;
        wm = nullptr;
    }
    void SetUp() override {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            GTEST_SKIP() << "runs on an X display (ctest starts one)";
        ASSERT_TRUE(framing) << KELBRIN_WINDOW_MANAGER << " frames no window";
        ResetSharedState();
        SetSettingsStore(std::make_unique<MemorySettingsStore>());
        Catalog().load(test::SourceDir() + "/resources/Kelbrin.ini");
        Catalog().setLanguage("ENGLISH");
        SetLameLibrary(std::make_unique<FakeLameLibrary>());
        SetCaptureDevices(std::make_unique<FakeCaptureDevices>(QStringList{"Built-in Audio"}));
    }
    void TearDown() override { SetSettingsStore(nullptr); }

    // Waits until the manager has framed and placed the window, then checks
    // that the frame lies on the screen and the window stays on top.
    static void ExpectPlacedOnScreen(QWidget* window) {
        ASSERT_TRUE(window);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window, 5000));
        QTest::qWaitFor([&] { return window->frameGeometry() != window->geometry(); }, 3000);
        QTest::qWait(200);
        const QRect screen = window->screen()->geometry();
        const QRect frame = window->frameGeometry();
        EXPECT_NE(frame, window->geometry()) << "framed by the window manager";
        EXPECT_TRUE(screen.contains(frame))
            << window->objectName().toStdString() << " frame " << frame.x() << "," << frame.y() << " "
            << frame.width() << "x" << frame.height() << " off the screen";
        EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    }
    static void Close(QWidget* window) {
        window->close();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    static inline QProcess* wm = nullptr;
    static inline bool framing = false;
};

// Fault mended: the recording options window and the recorder pinned the
// place they reported before they were shown (0,0), so their title bar,
// with its close box, lay above the screen.
TEST_F(TopMostPlacement, TheRecordingWindowsOpenWithTheirFrameOnTheScreen) {
    QPointer<frmRecording> options = frmRecording::PokazMnie();
    ExpectPlacedOnScreen(options);
    Close(options);
    QPointer<frmRecord> recorder = frmRecord::PokazMnie(false);
    ExpectPlacedOnScreen(recorder);
    Close(recorder);
}

TEST_F(TopMostPlacement, TheLegendOpensWithItsFrameOnTheScreen) {
    QPointer<frmLegend> legend = frmLegend::PokazMnie();
    ExpectPlacedOnScreen(legend);
    Close(legend);
}

} // namespace

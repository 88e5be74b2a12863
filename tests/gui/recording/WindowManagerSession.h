#pragma once
// A small window manager on the virtual X display, started once for the whole
// test program, and the check that a window it placed shows its whole frame,
// title bar and close box included, on the screen.
#include <QCoreApplication>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>

namespace kelbrin::test {

class WindowManagerSession : public ::testing::Environment {
public:
    void SetUp() override {
        if (!OnX())
            return;
        s_wm = new QProcess;
        // Its border is drawn outside the window, so a frame off the screen
        // shows in any corner; the core font "fixed" is built into every
        // X server.
        s_wm->start(QStringLiteral(KELBRIN_WINDOW_MANAGER),
                    {QStringLiteral("--fn"), QStringLiteral("fixed"), QStringLiteral("--bw"), QStringLiteral("4")});
        if (!s_wm->waitForStarted(5000))
            return;
        // The manager runs once it frames a new window.
        for (int attempt = 0; attempt < 20 && !s_framing; ++attempt) {
            QWidget probe;
            probe.resize(100, 60);
            probe.show();
            s_framing = QTest::qWaitFor([&] { return probe.frameGeometry() != probe.geometry(); }, 500);
        }
    }
    void TearDown() override {
        if (!s_wm)
            return;
        s_wm->terminate();
        s_wm->waitForFinished(3000);
        delete s_wm;
        s_wm = nullptr;
    }
    static bool OnX() { return QGuiApplication::platformName() == QLatin1String("xcb"); }
    static bool Framing() { return s_framing; }

private:
    static inline QProcess* s_wm = nullptr;
    static inline bool s_framing = false;
};

inline ::testing::Environment* const kWindowManagerSession =
    ::testing::AddGlobalTestEnvironment(new WindowManagerSession);

// For a fixture's SetUp: skips the test off X, fails it when no manager frames.
#define KELBRIN_NEED_WINDOW_MANAGER()                                                                  \
    do {                                                                                               \
        if (!::kelbrin::test::WindowManagerSession::OnX())                                            \
            GTEST_SKIP() << "runs on an X display (ctest starts one)";                                 \
        ASSERT_TRUE(::kelbrin::test::WindowManagerSession::Framing())                                 \
            << KELBRIN_WINDOW_MANAGER << " frames no window";                                          \
    } while (false)

// Waits until the manager has framed and placed the window, then checks that
// the frame, as the manager reports it, lies on the screen. The window's own
// frame is asked (not the widget's copy, which may be from before framing).
inline void ExpectFrameOnScreen(QWidget* window, const char* name) {
    ASSERT_TRUE(window) << name << " did not open";
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window, 5000)) << name;
    QWindow* native = window->windowHandle();
    ASSERT_TRUE(native) << name;
    (void)QTest::qWaitFor([&] { return native->frameGeometry() != native->geometry(); }, 3000);
    QTest::qWait(200);
    const QRect screen = native->screen()->geometry();
    const QRect frame = native->frameGeometry();
    EXPECT_NE(frame, native->geometry()) << name << " framed by the window manager";
    EXPECT_TRUE(screen.contains(frame)) << name << " frame " << frame.x() << "," << frame.y() << " "
                                        << frame.width() << "x" << frame.height() << " off the screen";
}

} // namespace kelbrin::test

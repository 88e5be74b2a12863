// The real editor started together with a window manager, as a desktop
// session starts it from its autostart: its main window must reach the screen
// even when the manager, still setting itself up, leaves the window's first
// map request unanswered (a manager that takes over the display while the
// request is on its way may do just that).
#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <gtest/gtest.h>

#include <poll.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <map>

#include "ProgramHome.h"

using namespace kelbrin;

namespace {

// A window manager of the smallest kind on the test's X display: it holds the
// root's redirection, so every map of a top-level window comes to it as a
// request, and it maps what it is asked to, except that it drops the first
// request of every window.
class ForgetfulWindowManager {
public:
    ForgetfulWindowManager() : m_connection(xcb_connect(nullptr, nullptr)) {}
    ~ForgetfulWindowManager() { xcb_disconnect(m_connection); }

    bool takeOver() {
        if (xcb_connection_has_error(m_connection))
            return false;
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_generic_error_t* error = xcb_request_check(
            m_connection, xcb_change_window_attributes_checked(m_connection, m_root, XCB_CW_EVENT_MASK, &mask));
        std::free(error);
        return !error;
    }

    // Answers requests until a window whose title holds `title` is mapped or
    // `ms` have passed; true when it was mapped.
    bool serveUntilMapped(const QByteArray& title, int ms) {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < ms) {
            QCoreApplication::processEvents();
            pollfd fd{xcb_get_file_descriptor(m_connection), POLLIN, 0};
            ::poll(&fd, 1, 100);
            while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
                const bool mapped = handle(event, title);
                std::free(event);
                if (mapped)
                    return true;
            }
            if (xcb_connection_has_error(m_connection))
                return false;
        }
        return false;
    }

private:
    bool handle(xcb_generic_event_t* event, const QByteArray& title) {
        switch (event->response_type & 0x7f) {
        case XCB_MAP_REQUEST: {
            const xcb_window_t window = reinterpret_cast<xcb_map_request_event_t*>(event)->window;
            if (++m_requests[window] > 1) {
                xcb_map_window(m_connection, window);
                xcb_flush(m_connection);
            }
            return false;
        }
        case XCB_MAP_NOTIFY:
            return titleOf(reinterpret_cast<xcb_map_notify_event_t*>(event)->window).contains(title);
        default:
            return false;
        }
    }

    QByteArray titleOf(xcb_window_t window) const {
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            m_connection,
            xcb_get_property(m_connection, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
            nullptr);
        QByteArray name;
        if (reply)
            name = QByteArray(static_cast<const char*>(xcb_get_property_value(reply)),
                              xcb_get_property_value_length(reply));
        std::free(reply);
        return name;
    }

    xcb_connection_t* m_connection;
    xcb_window_t m_root = 0;
    std::map<xcb_window_t, int> m_requests;
};

TEST(WindowManagerStartProgramTest, TheMainWindowShowsThoughItsFirstMapRequestIsLost) {
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        GTEST_SKIP() << "runs on an X display (ctest starts one)";
    ForgetfulWindowManager manager;
    ASSERT_TRUE(manager.takeOver()) << "another window manager holds the display";

    // A first start, with nothing stored: the window opens maximized.
    const QString home = test::MakeTempDir("wm-home");
    QProcessEnvironment env = test::ProgramHome(home);
    env.insert("QT_QPA_PLATFORM", "xcb");
    QProcess editor;
    editor.setProcessEnvironment(env);
    editor.setWorkingDirectory(home);
    editor.start(test::RuntimeDir() + "/kelbrin", {});
    ASSERT_TRUE(editor.waitForStarted(5000));

    const QByteArray title = "MP3 Dravon";
    const bool shown = manager.serveUntilMapped(title, 90000);
    editor.kill();
    editor.waitForFinished(10000);
    EXPECT_TRUE(shown) << "the main window was never mapped\n"
                       << editor.readAllStandardError().constData();
}

} // namespace

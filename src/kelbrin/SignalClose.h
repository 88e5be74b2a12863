#pragma once
// A request to end from outside (SIGTERM from a service manager or a
// session's end, SIGHUP from a closed terminal, Ctrl+C) closes the main
// window as its close box does: a recording is finished, handed over and
// saved, unsaved changes are offered for saving, and the run ends with the
// status it would have had. A box already open or a long operation is let
// finish first; a close the user cancels leaves the editor running.
//
// A second request means nobody is there to answer: every open box and
// dialog is answered with its Cancel (or its only button), so is every one
// shown after it, and the close goes on, saving what it saves.

#include "platform/shell/TerminationSignals.h"

#include <QPointer>
#include <QTimer>
#include <functional>

class QWidget;

namespace kelbrin {

class SignalClose {
public:
    // `mainWindow` gives the window to close (null when it could not be
    // made: the run then simply ends); `ready` says no long operation holds it.
    // `endUnseenWork` asks work that nobody watches (an unattended batch
    // script) to end soon: it has no window to close.
    SignalClose(std::function<QWidget*()> mainWindow, std::function<bool()> ready,
                std::function<void()> endUnseenWork);

private:
    void request(int signalNumber);
    void tryClose();
    static void answerOpenBoxes();

    std::function<QWidget*()> m_mainWindow;
    std::function<bool()> m_ready;
    std::function<void()> m_endUnseenWork;
    QTimer m_retry;
    bool m_pending = false;
    bool m_closing = false; // our close is on the stack, under the boxes it shows
    bool m_forced = false;  // asked more than once: nothing waits for an answer
    int m_requests = 0;
    TerminationSignals m_signals;
};

} // namespace kelbrin

#include "SignalClose.h"

#include "core/app/MessageService.h"
#include "core/app/TextCatalog.h"
#include "core/app/TextNumbers.h"

#include <QApplication>
#include <QThread>
#include <QWidget>

namespace kelbrin {

namespace {
// How often a close that has to wait looks again.
constexpr int kRetryMs = 200;
} // namespace

SignalClose::SignalClose(std::function<QWidget*()> mainWindow, std::function<bool()> ready)
    : m_mainWindow(std::move(mainWindow)), m_ready(std::move(ready)),
      m_signals([this](int signalNumber) { request(signalNumber); }) {
    m_retry.setSingleShot(true);
    QObject::connect(&m_retry, &QTimer::timeout, [this] { tryClose(); });
}

void SignalClose::request(int signalNumber) {
    // One close at a time; a request while it runs asks for nothing new.
    if (m_pending)
        return;
    m_pending = true;
    WriteNotice(texts::kEndRequested,
                GetText(texts::kEndRequested, QStringLiteral("|1"), TerminationSignals::Name(signalNumber)));
    // Not from inside the notifier's call: the close waits for the recording.
    m_retry.start(0);
}

void SignalClose::tryClose() {
    QWidget* window = m_mainWindow();
    if (!window) {
        // Start-up has not shown it yet, or could not: the run ends once its
        // event loop runs.
        if (QThread::currentThread()->loopLevel() > 0)
            QCoreApplication::quit();
        else
            m_retry.start(kRetryMs);
        return;
    }
    // A box waits for its answer and a long operation for its end: the close
    // comes after them, as the user's own close would.
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget() || !m_ready()) {
        m_retry.start(kRetryMs);
        return;
    }
    window->close();
    m_pending = false;
}

} // namespace kelbrin

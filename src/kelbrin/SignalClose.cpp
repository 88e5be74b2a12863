#include "SignalClose.h"

#include "core/app/MessageService.h"
#include "core/app/TextCatalog.h"
#include "core/app/TextNumbers.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QThread>
#include <QWidget>

namespace kelbrin {

namespace {
// How often a close that has to wait looks again.
constexpr int kRetryMs = 200;
// How soon a close looks again after answering the boxes: their loops return first.
constexpr int kAnsweredRetryMs = 20;
} // namespace

SignalClose::SignalClose(std::function<QWidget*()> mainWindow, std::function<bool()> ready,
                         std::function<void()> endUnseenWork)
    : m_mainWindow(std::move(mainWindow)), m_ready(std::move(ready)),
      m_endUnseenWork(std::move(endUnseenWork)),
      m_signals([this](int signalNumber) { request(signalNumber); }) {
    m_retry.setSingleShot(true);
    QObject::connect(&m_retry, &QTimer::timeout, [this] { tryClose(); });
}

void SignalClose::request(int signalNumber) {
    const QString name = TerminationSignals::Name(signalNumber);
    if (m_endUnseenWork)
        m_endUnseenWork();
    if (++m_requests > 1) {
        // Asked again: whoever asks will not wait for an answer nobody gives.
        if (!m_forced)
            WriteNotice(texts::kEndRequestedAgain, GetText(texts::kEndRequestedAgain, QStringLiteral("|1"), name));
        m_forced = true;
        AnswerEveryBoxWithCancel();
        m_pending = true;
        m_retry.start(0);
        return;
    }
    m_pending = true;
    WriteNotice(texts::kEndRequested, GetText(texts::kEndRequested, QStringLiteral("|1"), name));
    // Not from inside the notifier's call: the close waits for the recording.
    m_retry.start(0);
}

void SignalClose::answerOpenBoxes() {
    // A menu's popup first: it holds the input the boxes would need.
    for (int i = 0; i < 8 && QApplication::activePopupWidget(); ++i)
        QApplication::activePopupWidget()->close();
    // Each box's own loop returns once control is back in it; a box answers
    // its rejection with its Cancel, or with its only button.
    QList<QPointer<QDialog>> boxes;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<QDialog*>(w); dialog && dialog->isVisible() && dialog->isModal())
            boxes.append(dialog);
    for (const QPointer<QDialog>& box : boxes)
        if (box)
            box->reject();
}

void SignalClose::tryClose() {
    // Our own close still waits under a box: it goes on once the box has
    // been answered and its loop has returned.
    if (m_closing) {
        if (m_forced)
            answerOpenBoxes();
        m_retry.start(kRetryMs);
        return;
    }
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
    const bool boxOpen = QApplication::activeModalWidget() || QApplication::activePopupWidget();
    if (boxOpen && m_forced)
        answerOpenBoxes();
    if (boxOpen || !m_ready()) {
        m_retry.start(boxOpen && m_forced ? kAnsweredRetryMs : kRetryMs);
        return;
    }
    const QPointer<QWidget> closing(window);
    m_closing = true;
    const bool closed = window->close();
    m_closing = false;
    // Asked twice, the editor ends: a close that could not finish yet (a
    // long operation took its turn) is tried again.
    m_pending = m_forced && !closed && closing && closing->isVisible();
    if (m_pending)
        m_retry.start(kRetryMs);
}

} // namespace kelbrin

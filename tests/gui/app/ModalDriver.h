#pragma once
// Drives modal dialogs in tests: waits until a dialog of the wanted type is the
// active modal widget, then runs the test's steps on it; the steps must close
// it. A dialog that does not turn up in time, or that the steps leave open,
// fails the test and is closed, so no test hangs in a dialog's event loop.

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace kelbrin::test {

template <typename Dialog>
void WhenModal(std::function<void(Dialog*)> steps, int timeoutMs = 30000) {
    auto* timer = new QTimer(QCoreApplication::instance()); // goes with the application at the latest
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, steps, clock, timeoutMs] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            QPointer<Dialog> guard(dialog);
            steps(dialog);
            if (guard && guard->isVisible()) {
                ADD_FAILURE() << "the dialog stayed open";
                guard->reject();
            }
            return;
        }
        if (clock->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "the expected dialog did not appear";
            if (auto* other = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                other->reject();
        }
    });
    timer->start();
}

// Runs the steps on every dialog of the wanted type that opens while owner
// lives; for boxes that should not appear, so that one that does is answered
// instead of blocking the test.
template <typename Dialog> void WhileOpen(QObject* owner, std::function<void(Dialog*)> steps) {
    auto* timer = new QTimer(owner);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [steps] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget()))
            steps(dialog);
    });
    timer->start();
}

// The release of a key whose press answered a box reaches the window once the
// box is gone: it must leave the window open, while the same key pressed and
// released in the window still closes it.
inline void ExpectOnlyItsOwnKeyCloses(QPointer<QWidget> window, Qt::Key key) {
    QTest::keyRelease(window->windowHandle(), key);
    QCoreApplication::processEvents();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isVisible());
    QTest::keyClick(window->windowHandle(), key);
    QCoreApplication::processEvents();
    EXPECT_TRUE(!window || !window->isVisible());
}

} // namespace kelbrin::test

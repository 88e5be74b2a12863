#include "platform/media/Clock.h"
#include "platform/media/VirtualClock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>
#include <thread>

using namespace kelbrin;

TEST(VirtualClockTest, RunsDueCallsInTimeOrderEachAtItsOwnMoment) {
    VirtualClock clock(1000);
    QList<std::pair<QString, qint64>> seen;
    clock.callAfter(300, [&] { seen.append({"late", clock.milliseconds()}); });
    clock.callAfter(100, [&] { seen.append({"early", clock.milliseconds()}); });
    clock.callAfter(100, [&] { seen.append({"early too", clock.milliseconds()}); });
    clock.advance(99);
    EXPECT_TRUE(seen.isEmpty());
    EXPECT_EQ(clock.milliseconds(), 1099);
    clock.advance(500);
    ASSERT_EQ(seen.size(), 3);
    EXPECT_EQ(seen[0], std::make_pair(QString("early"), qint64(1100)));
    EXPECT_EQ(seen[1], std::make_pair(QString("early too"), qint64(1100)));
    EXPECT_EQ(seen[2], std::make_pair(QString("late"), qint64(1300)));
    EXPECT_EQ(clock.milliseconds(), 1599);
    EXPECT_EQ(clock.pendingCalls(), 0);
}

TEST(VirtualClockTest, CallsMayRescheduleAndCancel) {
    VirtualClock clock;
    int ticks = 0;
    std::function<void()> tick = [&] {
        if (++ticks < 5)
            clock.callAfter(100, tick);
    };
    clock.callAfter(100, tick);
    const int doomed = clock.callAfter(250, [&] { ADD_FAILURE() << "a cancelled call ran"; });
    clock.callAfter(50, [&] { clock.cancel(doomed); });
    clock.cancel(12345); // unknown ids are ignored
    clock.advance(1000);
    EXPECT_EQ(ticks, 5);
    EXPECT_EQ(clock.pendingCalls(), 0);
}

TEST(SystemClockTest, CountsRealTimeAndCallsBackOnTheEventLoop) {
    SystemClock clock;
    const qint64 start = clock.milliseconds();
    bool called = false, cancelledRan = false;
    clock.callAfter(30, [&] { called = true; });
    const int cancelled = clock.callAfter(10, [&] { cancelledRan = true; });
    clock.cancel(cancelled);
    QElapsedTimer wait;
    wait.start();
    while (!called && wait.elapsed() < 2000) {
        QCoreApplication::processEvents();
        QThread::msleep(2);
    }
    EXPECT_TRUE(called);
    EXPECT_FALSE(cancelledRan);
    EXPECT_GE(clock.milliseconds() - start, 30);

    // A call that has run is cancelled late, when a later call may hold the
    // event loop's timer it had: the later call still comes.
    const int ran = clock.callAfter(0, [&] { called = false; });
    while (called && wait.elapsed() < 4000) {
        QCoreApplication::processEvents();
        QThread::msleep(2);
    }
    ASSERT_FALSE(called);
    clock.callAfter(5, [&] { called = true; });
    clock.cancel(ran);
    while (!called && wait.elapsed() < 6000) {
        QCoreApplication::processEvents();
        QThread::msleep(2);
    }
    EXPECT_TRUE(called);
}

// Asked on a thread where its timers cannot run, the clock used to hand out
// an id for a call that never came: the caller waited for ever, unwarned.
TEST(SystemClockTest, ACallThatCanNeverRunIsReportedNotSilentlyDropped) {
    SystemClock clock;
    const auto askFromAnotherThread = [&clock] {
        int id = -1;
        std::thread other([&] { id = clock.callAfter(10, [] {}); });
        other.join();
        return id;
    };
#ifdef QT_NO_DEBUG
    static QString logged;
    const QtMessageHandler before =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            if (type == QtCriticalMsg)
                logged += text;
        });
    EXPECT_EQ(askFromAnotherThread(), 0);
    qInstallMessageHandler(before);
    EXPECT_TRUE(logged.contains("no timer could be started")) << logged.toStdString();
#else
    EXPECT_DEATH(askFromAnotherThread(), "no timer could be started");
#endif
}

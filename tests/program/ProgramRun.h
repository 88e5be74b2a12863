#pragma once
// A test that starts the built editor as separate processes, each in the
// test's own home (ProgramHome), offscreen, and reads what they write on
// standard error; every process still running at the end is killed.

#include "support/TestEnvironment.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>
#include <csignal>
#include <functional>

#include "ProgramHome.h"

namespace kelbrin::test {

class ProgramRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        home = test::MakeTempDir("home");
        env = test::ProgramHome(home);
        conf = home + "/config/Pelorin/Kelbrin.conf";
    }
    void TearDown() override {
        for (QProcess* p : running) {
            p->kill();
            p->waitForFinished(5000);
            delete p;
        }
    }
    QProcess* start(const QString& binary, const QStringList& args = {}) {
        auto* p = new QProcess;
        p->setProcessEnvironment(env);
        // Started as from a desktop: whatever started the tests may have made
        // them ignore SIGINT or SIGHUP (a background job, nohup), and the
        // editor keeps a signal it was started to ignore ignored.
        p->setChildProcessModifier([] {
            for (const int s : {SIGTERM, SIGINT, SIGHUP})
                ::signal(s, SIG_DFL);
        });
        p->start(binary, args);
        running.append(p);
        EXPECT_TRUE(p->waitForStarted(5000));
        return p;
    }
    // Collects what the editor writes on standard error into `said` until it
    // has said `text`.
    static bool waitToSay(QProcess* editor, QByteArray& said, const QByteArray& text, int ms) {
        return waitFor(
            [&] {
                editor->waitForReadyRead(20);
                said += editor->readAllStandardError();
                return said.contains(text);
            },
            ms);
    }
    static bool waitFor(const std::function<bool()>& condition, int ms) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms) {
            if (condition())
                return true;
            QThread::msleep(20);
        }
        return condition();
    }
    static QByteArray read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QString home, conf;
    QProcessEnvironment env;
    QList<QProcess*> running;
    const QString program = test::RuntimeDir() + "/kelbrin";
};

} // namespace kelbrin::test

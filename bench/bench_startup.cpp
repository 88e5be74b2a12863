// Start-up of the editor against a minimal Qt Widgets program (built by the
// project with the same flags): the time from launch until the X server maps
// the program's first top-level window, on a private Xvfb display, each
// program started five times after one warm-up run (median printed).
//
//   bench_startup [editor-program]   (default: kelbrin beside it)
//
// Target: the editor at most 1.5x the minimal program. It also prints how
// many shared objects each maps once its window shows.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <X11/Xlib.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRuns = 5;
constexpr double kTarget = 1.5;
constexpr const char* kDisplay = ":77";

int SharedObjects(qint64 pid) {
    QFile maps(QStringLiteral("/proc/%1/maps").arg(pid));
    if (!maps.open(QIODevice::ReadOnly))
        return -1;
    QStringList seen;
    for (const QByteArray& line : maps.readAll().split('\n')) {
        const int at = line.indexOf('/');
        if (at >= 0 && line.contains(".so"))
            if (const QString path = QString::fromUtf8(line.mid(at)); !seen.contains(path))
                seen << path;
    }
    return seen.size();
}

// Seconds from the start to the first mapped top-level window, or -1.
double Launch(Display* x, const QString& program, const QProcessEnvironment& env, int* objects) {
    XSync(x, True); // forget earlier events
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProgram(program);
    QElapsedTimer clock;
    clock.start();
    process.start();
    double seconds = -1;
    while (clock.elapsed() < 20000 && seconds < 0) {
        while (XPending(x)) {
            XEvent event;
            XNextEvent(x, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect && seconds < 0)
                seconds = clock.nsecsElapsed() / 1e9;
        }
        if (seconds < 0)
            QThread::usleep(200);
    }
    QThread::msleep(200);
    *objects = SharedObjects(process.processId());
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
    return seconds;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QProcess xvfb;
    xvfb.start("Xvfb", {kDisplay, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
    Display* x = nullptr;
    for (int i = 0; i < 100 && !x; ++i) {
        QThread::msleep(50);
        x = XOpenDisplay(kDisplay);
    }
    if (!x) {
        std::fprintf(stderr, "Xvfb did not start\n");
        return 1;
    }
    XSelectInput(x, DefaultRootWindow(x), SubstructureNotifyMask);

    QTemporaryDir home;
    for (const char* d : {"config", "runtime", "data", "cache"})
        QDir().mkpath(home.path() + "/" + d);
    QFile::setPermissions(home.path() + "/runtime", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* d : {"CONFIG", "RUNTIME", "DATA", "CACHE"})
        env.insert(QStringLiteral("XDG_%1_%2").arg(d, d == QByteArray("RUNTIME") ? "DIR" : "HOME"),
                   home.path() + "/" + QString::fromLatin1(d).toLower());
    env.insert("HOME", home.path());
    env.insert("DISPLAY", kDisplay);
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("LANG", "en_US.UTF-8");
    env.remove("DBUS_SESSION_BUS_ADDRESS");
    env.remove("KELBRIN_AUTO_ANSWER");

    const QString folder = QCoreApplication::applicationDirPath();
    struct Program {
        const char* name;
        QString path;
        std::vector<double> times;
        int objects = 0;
    } programs[] = {{"minimal Qt Widgets", folder + "/startup_minimal", {}, 0},
                    {"kelbrin", argc > 1 ? QString::fromLocal8Bit(argv[1]) : folder + "/kelbrin", {}, 0}};
    // The first start of the editor writes its settings: a warm-up for both.
    for (Program& p : programs) {
        int objects = 0;
        Launch(x, p.path, env, &objects);
    }
    for (int run = 0; run < kRuns; ++run)
        for (Program& p : programs)
            p.times.push_back(Launch(x, p.path, env, &p.objects));
    for (const Program& p : programs) {
        std::printf("%-20s launch to window shown: median %.3f s (", p.name, Median(p.times));
        for (double t : p.times)
            std::printf(" %.3f", t);
        std::printf(" ), %d shared objects mapped\n", p.objects);
    }
    const double ratio = Median(programs[1].times) / Median(programs[0].times);
    std::printf("editor / minimal: %.2fx   (target <= %.1fx)\n", ratio, kTarget);
    XCloseDisplay(x);
    xvfb.terminate();
    xvfb.waitForFinished(5000);
    return 0;
}

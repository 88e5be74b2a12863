// Start-up of the editor against a minimal Qt Widgets program (built by the
// project with the same flags), on a private Xvfb display; beside it the same
// program showing one line of text, which tells how much of the difference any
// window with text pays (reading the font configuration). Each program started
// eleven times after one warm-up run (medians printed):
//   - launch to the first top-level window the X server maps: wall time, and
//     the processor time the process had used by then (all its threads);
//   - how many shared objects it maps once the window shows;
//   - the batch-script road: `kelbrin <script>.kbs` from launch until the
//     script has answered (a script naming a missing source says so at once,
//     so the figure is the start-up a script run pays).
// Boxes are answered on standard error (KELBRIN_AUTO_ANSWER), so the window
// measured is the main window, never a message box.
//
//   bench_startup [editor-program]   (default: kelbrin beside it)
//
// Target: the editor at most 1.5x the minimal program showing one line of
// text, the least any window with text pays; the bare window is printed
// beside it.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <X11/Xlib.h>

#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kRuns = 11;
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

// Seconds of processor time the process has used so far, the threads that
// have already ended included (the process's clock counts them; the threads
// still listed are the fallback).
double CpuSeconds(qint64 pid) {
    clockid_t clock;
    timespec used;
    if (clock_getcpuclockid(static_cast<pid_t>(pid), &clock) == 0 && clock_gettime(clock, &used) == 0)
        return used.tv_sec + used.tv_nsec / 1e9;
    double total = 0;
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile stat(tasks.filePath(task) + QStringLiteral("/schedstat"));
        if (stat.open(QIODevice::ReadOnly))
            total += stat.readAll().split(' ').value(0).toDouble() / 1e9;
    }
    return total;
}

struct Sample {
    double wall = -1;
    double cpu = -1;
    int objects = 0;
};

// Starts `program` and waits until `reached` holds; then samples it and ends it.
Sample Measure(const QString& program, const QStringList& args, const QProcessEnvironment& env,
               const std::function<bool(QProcess&)>& reached) {
    QProcess process;
    process.setProcessEnvironment(env);
    QElapsedTimer clock;
    clock.start();
    process.start(program, args);
    Sample s;
    while (clock.elapsed() < 20000 && process.state() != QProcess::NotRunning) {
        if (reached(process)) {
            s.wall = clock.nsecsElapsed() / 1e9;
            s.cpu = CpuSeconds(process.processId());
            break;
        }
        QThread::usleep(200);
    }
    QThread::msleep(200);
    s.objects = SharedObjects(process.processId());
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
    return s;
}

Sample LaunchToWindow(Display* x, const QString& program, const QProcessEnvironment& env,
                      const QStringList& args = {}) {
    XSync(x, True); // forget earlier events
    return Measure(program, args, env, [x](QProcess&) {
        while (XPending(x)) {
            XEvent event;
            XNextEvent(x, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect)
                return true;
        }
        return false;
    });
}

Sample LaunchScript(const QString& program, const QString& script, const QProcessEnvironment& env) {
    QByteArray said;
    return Measure(program, {script}, env, [&said](QProcess& p) {
        p.waitForReadyRead(1);
        said += p.readAllStandardError();
        return said.contains("[3025]");
    });
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

struct Program {
    const char* name;
    std::vector<double> wall, cpu;
    int objects = 0;
    void add(const Sample& s) {
        wall.push_back(s.wall);
        cpu.push_back(s.cpu);
        objects = s.objects;
    }
    void print(const char* what) const {
        std::printf("%-20s %s: median %.1f ms wall (", name, what, Median(wall) * 1e3);
        for (double t : wall)
            std::printf(" %.1f", t * 1e3);
        std::printf(" ), %.1f ms processor, %d shared objects mapped\n", Median(cpu) * 1e3, objects);
    }
};

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
    env.insert("KELBRIN_AUTO_ANSWER", "yes");

    const QString folder = QCoreApplication::applicationDirPath();
    const QString minimal = folder + "/startup_minimal";
    const QString editor = argc > 1 ? QString::fromLocal8Bit(argv[1]) : folder + "/kelbrin";
    const QString script = home.path() + "/missing.kbs";
    QFile file(script);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write("[Source Files]\r\n1:" + home.path().toUtf8() +
                   "/gone.mp3\r\n[Destination files]\r\n1:out.mp3:0:1:50\r\n") < 0)
        return 1;
    file.close();

    Program programs[] = {{"minimal Qt Widgets", {}, {}, 0}, {"kelbrin", {}, {}, 0}};
    Program texted{"minimal with text", {}, {}, 0};
    Program scripted{"kelbrin script.kbs", {}, {}, 0};
    // The first start of the editor writes its settings: a warm-up for all.
    LaunchToWindow(x, minimal, env);
    LaunchToWindow(x, editor, env);
    LaunchScript(editor, script, env);
    for (int run = 0; run < kRuns; ++run) {
        programs[0].add(LaunchToWindow(x, minimal, env));
        texted.add(LaunchToWindow(x, minimal, env, {QStringLiteral("--text")}));
        programs[1].add(LaunchToWindow(x, editor, env));
        scripted.add(LaunchScript(editor, script, env));
    }
    for (const Program& p : programs)
        p.print("launch to window shown");
    texted.print("launch to window shown");
    scripted.print("launch to script answered");
    const auto ratio = [&](const std::vector<double>& a) { return Median(a) / Median(texted.cpu); };
    const double judged = ratio(programs[1].cpu);
    std::printf("editor / minimal with text: %.2fx processor, %.2fx wall   (target <= %.1fx)\n", judged,
                Median(programs[1].wall) / Median(texted.wall), kTarget);
    std::printf("editor / bare minimal: %.2fx processor, %.2fx wall\n",
                Median(programs[1].cpu) / Median(programs[0].cpu), Median(programs[1].wall) / Median(programs[0].wall));
    std::printf("script run / minimal with text: %.2fx processor\n", ratio(scripted.cpu));
    std::printf("shared objects mapped: editor %d, minimal %d\n", programs[1].objects, programs[0].objects);
    std::printf("%s\n", judged <= kTarget ? "target met" : "target missed");
    XCloseDisplay(x);
    xvfb.terminate();
    xvfb.waitForFinished(5000);
    return 0;
}

// What a recording costs the machine, against the encoder alone.
//
//   bench_recording [minutes]        (default 1)
//
// Runs "kelbrin -rec <minutes>" the way a scheduled job does: unattended, in a
// home of its own, on a private session bus (dbus-run-session) that starts
// the encoder server, with the live sine test source in place of the sound
// card. It prints the CPU time (user + system) of the processes of the run
// (the editor, the server, the bus daemon and the shell around them, as last
// seen) and the exact sum of all of them, beside the CPU time of the lame
// command line tool encoding the same length of the same sine with the
// settings the run used.
// Target: the whole run at most 2x lame.

#include "core/recording/LameConfiguration.h"
#include "platform/lame/BeConfig.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <vector>

using namespace kelbrin;

namespace {

constexpr double kTarget = 2.0;

double CpuOfChildren() {
    rusage use{};
    getrusage(RUSAGE_CHILDREN, &use);
    return double(use.ru_utime.tv_sec + use.ru_stime.tv_sec) +
           double(use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e6;
}

// The name, parent and own CPU seconds of a process from /proc (also of one
// that has ended and waits to be reaped).
struct ProcessUse {
    QString name;
    pid_t parent = 0;
    double seconds = 0;
};
bool ReadProcess(pid_t pid, ProcessUse& use) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const qsizetype open = line.indexOf('(');
    const qsizetype close = line.lastIndexOf(')');
    if (open < 0 || close < open)
        return false;
    use.name = QString::fromLocal8Bit(line.mid(open + 1, close - open - 1));
    // Fields after the name: state, parent, ..., utime (the 14th), stime.
    const QList<QByteArray> fields = line.mid(close + 2).split(' ');
    if (fields.size() < 13)
        return false;
    use.parent = static_cast<pid_t>(fields[1].toInt());
    use.seconds =
        double(fields[11].toLongLong() + fields[12].toLongLong()) / double(sysconf(_SC_CLK_TCK));
    return true;
}

struct RunFigures {
    bool ok = false;
    double total = 0;             // every process of the run, to its end
    QMap<pid_t, ProcessUse> seen; // each process as last seen (a breakdown)
};

// Notes every process below this one as it stands now.
void LookAtDescendants(QMap<pid_t, ProcessUse>& seen) {
    QMap<pid_t, ProcessUse> all;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool number = false;
        const pid_t pid = static_cast<pid_t>(entry.toInt(&number));
        ProcessUse use;
        if (number && ReadProcess(pid, use))
            all.insert(pid, use);
    }
    const pid_t self = getpid();
    for (auto it = all.cbegin(); it != all.cend(); ++it) {
        for (pid_t up = it.value().parent; up > 1 && all.contains(up); up = all.value(up).parent) {
            if (up == self) {
                seen.insert(it.key(), it.value());
                break;
            }
        }
        if (it.value().parent == self)
            seen.insert(it.key(), it.value());
    }
}

// Runs the program with its arguments and reaps it and every process it leaves
// behind (this process adopts them); the CPU time they all used.
RunFigures RunAll(const QStringList& command) {
    RunFigures figures;
    prctl(PR_SET_CHILD_SUBREAPER, 1);
    const double before = CpuOfChildren();
    const pid_t child = fork();
    if (child < 0)
        return figures;
    if (child == 0) {
        QList<QByteArray> words;
        for (const QString& word : command)
            words << QFile::encodeName(word);
        std::vector<char*> argv;
        for (QByteArray& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    for (;;) {
        siginfo_t info{};
        if (waitid(P_ALL, 0, &info, WEXITED | WNOWAIT | WNOHANG) != 0 && errno != EINTR)
            break; // no process of the run is left
        if (info.si_pid == 0) {
            LookAtDescendants(figures.seen);
            usleep(50000);
            continue;
        }
        // What an ended process used, read before it goes.
        ProcessUse use;
        if (ReadProcess(info.si_pid, use))
            figures.seen.insert(info.si_pid, use);
        int ended = 0;
        waitpid(info.si_pid, &ended, 0);
        if (info.si_pid == child)
            status = ended;
    }
    figures.total = CpuOfChildren() - before;
    figures.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return figures;
}

bool Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// The lame command line for the encoder record the run built.
QStringList LameArguments(const BE_CONFIG& c) {
    static const char* const modes[] = {"s", "j", "d", "m"};
    // The quality the encoder library gives each preset.
    const int quality = c.nPreset == LQP_LOW_QUALITY ? 7 : c.nPreset == LQP_HIGH_QUALITY ? 2 : 5;
    QStringList a{"--quiet", "--noreplaygain",
                  "-s",      QString::number(c.dwSampleRate / 1000.0),
                  "-m",      modes[std::clamp(c.nMode, 0, 3)],
                  "-q",      QString::number(quality)};
    if (!c.bEnableVBR)
        return a << "-b" << QString::number(c.dwBitrate) << "-t";
    a << "-b" << QString::number(std::min(c.dwBitrate, c.dwMaxBitrate)) << "-B"
      << QString::number(std::max(c.dwBitrate, c.dwMaxBitrate));
    if (c.nVbrMethod == VBR_METHOD_ABR)
        a << "--abr" << QString::number(c.dwVbrAbr_bps / 1000);
    else
        a << "-V" << QString::number(c.nVBRQuality);
    if (!c.bWriteVBRHeader)
        a << "-t";
    return a;
}

} // namespace

int main(int argc, char** argv) {
    const int minutes = argc > 1 ? std::max(1, atoi(argv[1])) : 1;
    QTemporaryDir home;
    const QString h = home.path();
    for (const char* folder : {"config/Pelorin", "runtime", "data", "cache", "records", "buffer"})
        QDir().mkpath(h + "/" + folder);
    QFile::setPermissions(h + "/runtime", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile conf(h + "/config/Pelorin/Kelbrin.conf");
    if (!conf.open(QIODevice::WriteOnly))
        return 1;
    conf.write(("[Kelbrin]\nRecDir=" + h + "/records/\nTempRecDir=" + h +
                "/buffer/\nDestPath=" + h + "\nEngineType=1\n")
                   .toUtf8());
    conf.close();
    for (const auto& [name, value] : {std::pair{"XDG_CONFIG_HOME", "/config"},
                                      {"XDG_RUNTIME_DIR", "/runtime"},
                                      {"XDG_DATA_HOME", "/data"},
                                      {"XDG_CACHE_HOME", "/cache"},
                                      {"HOME", ""}})
        qputenv(name, (h + value).toUtf8());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("KELBRIN_AUTO_ANSWER", "yes");
    qputenv("KELBRIN_CAPTURE_SOURCE", "audiotestsrc is-live=true wave=sine freq=440");
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    // GStreamer's plug-in registry is built once beforehand, not counted.
    qputenv("GST_REGISTRY", (QDir::tempPath() + "/kelbrin-bench-gst-registry.bin").toUtf8());
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Pelorin"));
    QCoreApplication::setApplicationName(QStringLiteral("Kelbrin"));
    QDir::setCurrent(h);
    Run("gst-inspect-1.0", {"audiotestsrc"});

    const QString bin = QCoreApplication::applicationDirPath();
    const QString line =
        QStringLiteral("'%1/capturon' /RegServer && '%1/kelbrin' -rec %2").arg(bin).arg(minutes);
    std::printf("recording %d minute(s) with kelbrin -rec on a private session bus...\n", minutes);
    std::fflush(stdout);
    const RunFigures run = RunAll({"dbus-run-session", "--", "sh", "-c", line});
    if (!run.ok)
        std::printf("the run failed\n");

    // The same length of the same sine (audiotestsrc: amplitude 0.8) through
    // lame with the settings the run used.
    const BE_CONFIG config = BuildLameConfig(ReadLameSettings());
    const QString raw = h + "/sine.raw";
    const int channels = config.nMode == BE_MP3_MODE_MONO ? 1 : 2;
    if (!Run("sox", {"-q", "-n", "-r", QString::number(config.dwSampleRate), "-c",
                     QString::number(channels), "-b", "16", "-e", "signed", raw, "synth",
                     QString::number(minutes * 60), "sine", "440", "vol", "0.8"}))
        return 1;
    const QStringList lameArguments =
        LameArguments(config) +
        QStringList{"-r", "--bitwidth", "16", "--signed", "--little-endian", raw, h + "/lame.mp3"};
    const RunFigures lame = RunAll(QStringList{"lame"} + lameArguments);
    if (!lame.ok)
        return 1;

    QMap<QString, double> byName;
    for (const ProcessUse& use : run.seen)
        byName[use.name] += use.seconds;
    for (auto it = byName.cbegin(); it != byName.cend(); ++it)
        std::printf("  %-20s %7.2f s\n", qPrintable(it.key()), it.value());
    std::printf("kelbrin -rec %d, every process:  %7.2f s CPU\n", minutes, run.total);
    std::printf("lame %s:  %7.2f s CPU\n",
                qPrintable(lameArguments.mid(0, lameArguments.size() - 7).join(' ')), lame.total);
    std::printf("ratio %.2fx (target at most %.1fx)\n",
                lame.total > 0 ? run.total / lame.total : 0.0, kTarget);
    return 0;
}

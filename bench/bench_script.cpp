// A batch script run as the user runs one, "kelbrin cut.kbs", from launch to
// the last piece in place, beside mp3splt -f making the same pieces of the
// same generated 60-minute 128 kbit/s MP3:
//
//   1. 600 six-second pieces (against mp3splt -f -t 0.06);
//   2. 3,000 pieces of 1.2 seconds (against mp3splt -f -t 0.01.20).
//
// The editor runs offscreen with a home of its own and every box answered; it
// stays open after a script, so it is ended once its last piece is there.
// The timed runs find the home as a user's is on any day: made by one earlier
// run. That first start (settings seeded, the desktop told about the editor)
// is timed once beside them.
// Wall time and CPU time (user + system, of the process and its children)
// are the best of five runs each, the two programs in turns; the editor's
// time is also split at its first piece (start-up, script and source read)
// and from there to the last. A folder on a tmpfs (/dev/shm/...) leaves out
// the disk: what stays is the programs' own work.
//
//   bench_script [folder] [editor-program]
//       (default: a new folder under the temp folder, removed afterwards;
//        kelbrin beside this program)
//
// mp3splt is not part of the product: install it for the comparison with
// apt-get install -y --no-install-recommends mp3splt
//
// Target: both cases at most 1.0x the mp3splt time.

#include "BenchSupport.h"
#include "ProgramHome.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr int kRuns = 5;
constexpr double kHourSeconds = 3600.0;

struct Timing {
    double wall = -1; // seconds; -1 when the run failed
    double cpu = 0;
    int files = 0;
    double pieces = -1; // seconds from the first piece in place to the last
};

double childrenCpu() {
    rusage usage {};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// User + system seconds a running process has used so far, its waited
// children included; -1 when it cannot be read.
double processCpu(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    // The fields after the command name, which may hold spaces, in brackets.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 15)
        return -1;
    double ticks = 0;
    for (int i = 11; i <= 14; ++i) // utime stime cutime cstime
        ticks += fields[i].toDouble();
    return ticks / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

int filesIn(const QString& folder) {
    return static_cast<int>(QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot).size());
}

void emptyFolder(const QString& folder) {
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
}

QString pieceName(int i) { return QStringLiteral("piece%1.mp3").arg(i + 1, 4, 10, QChar('0')); }

// The script cutting the hour into `count` equal pieces.
QByteArray scriptOf(const QString& source, int count) {
    QByteArray text = "[Source Files]\r\n1:" + QFile::encodeName(source) +
                      "\r\n\r\n[Destination Files]\r\n";
    const double length = kHourSeconds / count;
    for (int i = 0; i < count; ++i)
        text += "1:" + pieceName(i).toUtf8() + ":1:" + QByteArray::number(i * length, 'f', 3) +
                ":" + QByteArray::number((i + 1) * length, 'f', 3) + "\r\n";
    return text;
}

// A home of the editor's own (its folders, no bus, an offscreen display) that
// exports into `out` and answers every box. A new home holds only the
// destination; one the editor has run in keeps what it wrote there.
QProcessEnvironment editorHome(const QString& home, const QString& out) {
    QProcessEnvironment env = kelbrin::test::ProgramHome(home, {"config/Pelorin"});
    QFile conf(home + "/config/Pelorin/Kelbrin.conf");
    if (!conf.exists() && conf.open(QIODevice::WriteOnly))
        conf.write("[Kelbrin]\nDestPath=" + QFile::encodeName(out) + "\n");
    env.insert("KELBRIN_AUTO_ANSWER", "yes");
    return env;
}

// One run of the editor on the script, up to the last piece in place.
Timing runEditor(const QString& editor, const QString& script, const QString& home,
                 const QString& out, int count) {
    emptyFolder(out);
    const QByteArray last = QFile::encodeName(out + "/" + pieceName(count - 1));
    QProcess process;
    process.setProcessEnvironment(editorHome(home, out));
    process.setWorkingDirectory(home);
    process.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    process.setStandardErrorFile(QProcess::nullDevice());
    Timing t;
    QElapsedTimer clock;
    clock.start();
    process.start(editor, {script});
    if (!process.waitForStarted(10000))
        return t;
    while (::access(last.constData(), F_OK) != 0) {
        if (process.state() != QProcess::Running || clock.elapsed() > 600000) {
            process.kill();
            process.waitForFinished(10000);
            return t;
        }
        QThread::usleep(500);
    }
    t.wall = clock.nsecsElapsed() / 1e9;
    t.cpu = processCpu(process.processId());
    process.kill();
    process.waitForFinished(10000);
    t.files = filesIn(out);
    const QDateTime first = QFileInfo(out + "/" + pieceName(0)).metadataChangeTime();
    const QDateTime lastIn = QFileInfo(QFile::decodeName(last)).metadataChangeTime();
    if (first.isValid() && lastIn.isValid())
        t.pieces = first.msecsTo(lastIn) / 1e3;
    return t;
}

Timing runSplitter(const QString& splitter, const QString& source, const QString& out,
                   const QString& length) {
    emptyFolder(out);
    Timing t;
    const double before = childrenCpu();
    QElapsedTimer clock;
    clock.start();
    if (!kelbrin::bench::RunProgram(splitter, {"-q", "-f", "-t", length, "-d", out, source}))
        return t;
    t.wall = clock.nsecsElapsed() / 1e9;
    t.cpu = childrenCpu() - before;
    t.files = filesIn(out);
    return t;
}

// The faster of two timings; a failed one stays failed.
void keepFaster(Timing& fastest, const Timing& t, bool& failed) {
    if (t.wall < 0)
        failed = true;
    else if (fastest.wall < 0 || t.wall < fastest.wall)
        fastest = t;
}

void line(const char* name, const Timing& t) {
    if (t.wall < 0)
        std::printf("%-24s   failed or not available\n", name);
    else
        std::printf("%-24s %9.1f ms wall %9.1f ms CPU  %5d files\n", name, t.wall * 1e3,
                    t.cpu * 1e3, t.files);
    if (t.pieces >= 0)
        std::printf("%-24s %9.1f ms to the first piece, %.1f ms from it to the last\n", "",
                    (t.wall - t.pieces) * 1e3, t.pieces * 1e3);
}

void ratio(const Timing& editor, const Timing& splitter) {
    if (editor.wall < 0 || splitter.wall <= 0) {
        std::printf("%-24s   no figure\n", "kelbrin / mp3splt");
        return;
    }
    const double r = editor.wall / splitter.wall;
    std::printf("%-24s %9.2fx wall %8.2fx CPU   (target <= 1.00) %s\n", "kelbrin / mp3splt", r,
                splitter.cpu > 0 ? editor.cpu / splitter.cpu : 0.0, r <= 1.0 ? "met" : "MISSED");
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir temporary;
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporary.path();
    // Absolute: the editor runs in its home folder.
    const QString editor = QFileInfo(argc > 2 ? QString::fromLocal8Bit(argv[2])
                                              : QCoreApplication::applicationDirPath() + "/kelbrin")
                               .absoluteFilePath();
    QDir().mkpath(folder);
    const QString source = folder + "/hour_128k.mp3";
    const QString out = folder + "/out";
    const QString home = folder + "/home";
    if (!QFileInfo::exists(editor)) {
        std::fprintf(stderr, "no editor at %s\n", qPrintable(editor));
        return 2;
    }
    std::printf("generating a 60-minute 128 kbit/s MP3 ...\n");
    std::fflush(stdout);
    if (!kelbrin::bench::MakeHourLongMp3(folder, source)) {
        std::fprintf(stderr, "could not make the test file\n");
        return 2;
    }
    const QString splitter = QStandardPaths::findExecutable("mp3splt");
    if (splitter.isEmpty())
        std::printf("mp3splt is not installed: no comparison\n");

    struct Case {
        int pieces;
        const char* splitLength;
    };
    bool failed = false;
    for (const Case& c : {Case{600, "0.06"}, Case{3000, "0.01.20"}}) {
        const QString script = folder + QStringLiteral("/cut%1.kbs").arg(c.pieces);
        QFile file(script);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(scriptOf(source, c.pieces)) < 0)
            return 2;
        file.close();
        // Taken in turns: a folder that has just lost many files makes the
        // next ones slower to create, for both programs alike.
        // A new home each case: its first run is the first start.
        QDir(home).removeRecursively();
        const Timing first = runEditor(editor, script, home, out, c.pieces);
        Timing mine, theirs;
        bool mineFailed = first.wall < 0, theirsFailed = splitter.isEmpty();
        for (int i = 0; i < kRuns; ++i) {
            keepFaster(mine, runEditor(editor, script, home, out, c.pieces), mineFailed);
            if (!theirsFailed)
                keepFaster(theirs, runSplitter(splitter, source, out, c.splitLength), theirsFailed);
        }
        if (mineFailed)
            mine = Timing();
        if (theirsFailed)
            theirs = Timing();
        std::printf("\n%d pieces of %.1f s, from launch to the last piece, best of %d\n",
                    c.pieces, kHourSeconds / c.pieces, kRuns);
        line("kelbrin cut.kbs", mine);
        line("  first start (one run)", first);
        line("mp3splt -f", theirs);
        ratio(mine, theirs);
        std::fflush(stdout);
        failed = failed || mine.wall < 0 || mine.files != c.pieces;
    }
    QDir(out).removeRecursively();
    QDir(home).removeRecursively();
    return failed ? 2 : 0;
}

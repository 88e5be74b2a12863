// A batch script run as the user runs one, "kelbrin cut.kbs", beside mp3splt
// -f making the same pieces of the same generated 60-minute 128 kbit/s MP3:
//
//   1. 600 six-second pieces (against mp3splt -f -t 0.06);
//   2. 3,000 pieces of 1.2 seconds (against mp3splt -f -t 0.01.20).
//
// Each program is timed twice in one run: from its launch to its last piece
// in place, and from its launch to its exit, which is what a batch job that
// waits for it sees. The editor runs offscreen with a home of its own and
// every box answered, so it ends by itself once the script has run; a run
// that does not end well (or not within ten minutes) counts as failed.
// The timed runs find the home as a user's is on any day: made by one earlier
// run. That first start (settings seeded, the desktop told about the editor)
// is timed once beside them; mp3splt has one untimed run too, which also
// tells the name of its last piece.
// Wall times are the best and the median of seven runs each, the two programs
// in turns; CPU time (user + system, of the process and its children) is the
// median to the exit. The editor's time is also split at its first piece
// (start-up, script and source read). A folder on a tmpfs (/dev/shm/...)
// leaves out the disk: what stays is the programs' own work.
//
//   bench_script [folder] [editor-program]
//       (default: a new folder under the temp folder, removed afterwards;
//        kelbrin beside this program)
//
// mp3splt is not part of the product: install it for the comparison with
// apt-get install -y --no-install-recommends mp3splt
//
// Target: for the 600 pieces, the editor's launch-to-exit at most 1.0x mp3splt's;
// the 3,000 pieces show what each piece costs beyond that.

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

constexpr int kRuns = 7;
constexpr double kHourSeconds = 3600.0;
constexpr qint64 kRunLimitMs = 600000;

struct Timing {
    double last = -1; // seconds from the launch to the last piece in place; -1 when the run failed
    double exit = -1; // seconds from the launch to the exit
    double cpu = 0;   // to the exit
    int files = 0;
    double pieces = -1; // seconds from the first piece in place to the last
    double first = -1;  // seconds from the launch to the first piece in place
};

// The figures of one program over its runs: the best and the median of each.
struct Timings {
    QList<Timing> runs;
    bool failed = false;

    void add(const Timing& t) {
        if (t.last < 0 || t.exit < 0)
            failed = true;
        else
            runs.append(t);
    }
    bool ok() const { return !failed && !runs.isEmpty(); }
    double best(double Timing::*field) const {
        double b = -1;
        for (const Timing& t : runs)
            if (b < 0 || t.*field < b)
                b = t.*field;
        return b;
    }
    double median(double Timing::*field) const {
        QList<double> values;
        for (const Timing& t : runs)
            values.append(t.*field);
        std::sort(values.begin(), values.end());
        if (values.isEmpty())
            return -1;
        const qsizetype n = values.size();
        return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    }
};

double childrenCpu() {
    rusage usage {};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot);
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

// One run of `program` that writes its pieces into `out`, the last of them
// named `last`: timed to that piece in place and to the program's exit, which
// must be a clean one.
Timing runOnce(QProcess& process, const QString& program, const QStringList& arguments,
               const QString& out, const QString& last) {
    emptyFolder(out);
    const QByteArray lastPath = QFile::encodeName(out + "/" + last);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    Timing t;
    const double cpuBefore = childrenCpu();
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    if (!process.waitForStarted(10000))
        return t;
    const auto giveUp = [&process] {
        process.kill();
        process.waitForFinished(10000);
    };
    while (::access(lastPath.constData(), F_OK) != 0) {
        // It may have ended right after its last piece.
        if (process.state() != QProcess::Running && ::access(lastPath.constData(), F_OK) != 0)
            return t;
        if (clock.elapsed() > kRunLimitMs) {
            giveUp();
            return t;
        }
        QThread::usleep(500);
    }
    const double lastIn = clock.nsecsElapsed() / 1e9;
    if (!process.waitForFinished(int(std::max<qint64>(kRunLimitMs - clock.elapsed(), 1)))) {
        giveUp();
        return t;
    }
    const double exited = clock.nsecsElapsed() / 1e9;
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return t;
    t.last = lastIn;
    t.exit = exited;
    t.cpu = childrenCpu() - cpuBefore;
    t.files = static_cast<int>(filesIn(out).size());
    return t;
}

Timing runEditor(const QString& editor, const QString& script, const QString& home,
                 const QString& out, int count) {
    QProcess process;
    process.setProcessEnvironment(editorHome(home, out));
    process.setWorkingDirectory(home);
    Timing t = runOnce(process, editor, {script}, out, pieceName(count - 1));
    const QDateTime first = QFileInfo(out + "/" + pieceName(0)).metadataChangeTime();
    const QDateTime lastIn = QFileInfo(out + "/" + pieceName(count - 1)).metadataChangeTime();
    if (t.last >= 0 && first.isValid() && lastIn.isValid()) {
        t.pieces = first.msecsTo(lastIn) / 1e3;
        t.first = std::max(t.last - t.pieces, 0.0);
    }
    return t;
}

QStringList splitterArguments(const QString& source, const QString& out, const QString& length) {
    return {"-q", "-f", "-t", length, "-d", out, source};
}

// The name of the piece mp3splt writes last, learnt from a run of its own:
// the newest file it left.
QString splitterLastPiece(const QString& splitter, const QString& source, const QString& out,
                          const QString& length) {
    emptyFolder(out);
    if (!kelbrin::bench::RunProgram(splitter, splitterArguments(source, out, length)))
        return QString();
    QString newest;
    QDateTime newestTime;
    for (const QString& name : filesIn(out)) {
        const QDateTime time = QFileInfo(out + "/" + name).lastModified();
        if (newest.isEmpty() || time > newestTime || (time == newestTime && name > newest)) {
            newest = name;
            newestTime = time;
        }
    }
    return newest;
}

Timing runSplitter(const QString& splitter, const QString& source, const QString& out,
                   const QString& length, const QString& last) {
    QProcess process;
    return runOnce(process, splitter, splitterArguments(source, out, length), out, last);
}

void line(const char* name, const Timings& t) {
    if (!t.ok()) {
        std::printf("%-24s   failed or not available\n", name);
        return;
    }
    std::printf("%-24s %7.1f / %7.1f ms   %7.1f / %7.1f ms  %7.1f ms  %5d\n", name,
                t.best(&Timing::last) * 1e3, t.median(&Timing::last) * 1e3,
                t.best(&Timing::exit) * 1e3, t.median(&Timing::exit) * 1e3,
                t.median(&Timing::cpu) * 1e3, t.runs.first().files);
    if (t.runs.first().pieces >= 0)
        std::printf("%-24s %7.1f / %7.1f ms to the first piece (best / median)\n", "",
                    t.best(&Timing::first) * 1e3, t.median(&Timing::first) * 1e3);
}

// `target`: the case the editor must not be slower than mp3splt in, to its exit.
void ratio(const Timings& editor, const Timings& splitter, bool target) {
    if (!editor.ok() || !splitter.ok()) {
        std::printf("%-24s   no figure\n", "kelbrin / mp3splt");
        return;
    }
    const double lastBest = editor.best(&Timing::last) / splitter.best(&Timing::last);
    const double lastMedian = editor.median(&Timing::last) / splitter.median(&Timing::last);
    const double exitBest = editor.best(&Timing::exit) / splitter.best(&Timing::exit);
    const double exitMedian = editor.median(&Timing::exit) / splitter.median(&Timing::exit);
    const double cpu = splitter.median(&Timing::cpu) > 0
                           ? editor.median(&Timing::cpu) / splitter.median(&Timing::cpu)
                           : 0.0;
    std::printf("%-24s %7.2fx / %6.2fx     %7.2fx / %6.2fx  %7.2fx     %s\n", "kelbrin / mp3splt",
                lastBest, lastMedian, exitBest, exitMedian, cpu,
                !target               ? ""
                : exitMedian <= 1.0 ? "(target: to exit <= 1.00) met"
                                      : "(target: to exit <= 1.00) MISSED");
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
        Timings first, mine, theirs;
        first.add(runEditor(editor, script, home, out, c.pieces));
        const QString splitterLast =
            splitter.isEmpty() ? QString() : splitterLastPiece(splitter, source, out, c.splitLength);
        theirs.failed = splitterLast.isEmpty();
        for (int i = 0; i < kRuns; ++i) {
            mine.add(runEditor(editor, script, home, out, c.pieces));
            if (!theirs.failed)
                theirs.add(runSplitter(splitter, source, out, c.splitLength, splitterLast));
        }
        std::printf("\n%d pieces of %.1f s, %d runs each (best / median)\n", c.pieces,
                    kHourSeconds / c.pieces, kRuns);
        std::printf("%-24s %21s   %21s  %10s  %5s\n", "", "launch to last piece", "launch to exit",
                    "CPU", "files");
        line("kelbrin cut.kbs", mine);
        line("  first start (one run)", first);
        line("mp3splt -f", theirs);
        ratio(mine, theirs, c.pieces == 600);
        std::fflush(stdout);
        failed = failed || !mine.ok() || mine.runs.first().files != c.pieces;
    }
    QDir(out).removeRecursively();
    QDir(home).removeRecursively();
    return failed ? 2 : 0;
}

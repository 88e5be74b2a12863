// Playing on the real main window (offscreen) with real GStreamer graphs on
// the silent real-time output "null", then again through the null sink of a
// sound server of the bench's own (PulseAudio, as a desktop plays), when one
// can start here.
//
//   bench_playback [play-seconds [start|cpu]]   (the second word runs one part)
//
// 1. Time to first sound: projects of 30 chained MP2 tracks and of 30 chained
//    MP3 tracks without an Info frame; Play is clicked three times in a row
//    (stopping after the first track sounds), and the time from the click to
//    the moment the first track's position starts to move is printed.
//    Target: at most 0.3 s every time.
// 2. CPU of playing: a chain of four tracks with 0.5 s overlaps lasting about
//    20 s (or play-seconds), the process's CPU time from the click to the end
//    of the run (median of five rounds), against gst-launch-1.0 playing the same four files one
//    after another through the same elements (the parser and decoder that
//    decodebin picks, named so the order is fixed, into the same kind of
//    output). Target: at most 2x. The window thread's own share is printed
//    beside (the rest is GStreamer's streaming threads).

#include "BenchSupport.h"
#include "support/PrivateSoundServer.h"
#include "support/ProgramState.h"

#include "core/app/ProgramObjects.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjeMP3.h"
#include "core/editor/TrackGraph.h"
#include "core/playback/SequencePlayer.h"
#include "gui/mainwindow/frmDazudizi.h"
#include "gui/playback/MainPlayer.h"
#include "platform/media/MediaPlatform.h"
#include "platform/media/PlaybackGraph.h"
#include "platform/settings/MemorySettingsStore.h"
#include "platform/settings/SettingsStore.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFrame>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QEventLoop>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

using namespace kelbrin;
using namespace kelbrin::bench;

namespace {

constexpr double kFirstSoundTarget = 0.3;
constexpr double kCpuTarget = 2.0;
constexpr int kCpuRounds = 5;

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double CpuSeconds(int who) {
    rusage use{};
    getrusage(who, &use);
    return use.ru_utime.tv_sec + use.ru_stime.tv_sec + (use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e6;
}

// Runs the event loop until `done` (looked at every `pollMs`) or `limitMs`;
// false on the time limit. The loop sleeps in between, as the program's does.
template <typename Done> bool Spin(Done done, int limitMs, int pollMs = 2) {
    QElapsedTimer waited;
    waited.start();
    QEventLoop loop;
    QTimer poll;
    bool met = done();
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        met = done();
        if (met || waited.elapsed() > limitMs)
            loop.quit();
    });
    if (!met) {
        poll.start(pollMs);
        loop.exec();
    }
    return met;
}

bool MakeTone(const QString& wav, double seconds, int frequency) {
    return RunProgram("sox", {"-q", "-n", "-r", "44100", "-c", "2", "-b", "16", wav, "synth",
                              QString::number(seconds), "sine", QString::number(frequency), "vol", "0.5"});
}

// `count` files of `seconds` each; MP2 by twolame, or MP3 by lame without an
// Info frame (-t).
QStringList MakeFiles(const QString& folder, const QString& kind, int count, double seconds) {
    QStringList files;
    const QString wav = folder + "/tone-" + kind + ".wav";
    if (!MakeTone(wav, seconds, 440))
        return {};
    const QString first = folder + "/" + kind + "-1." + kind;
    const bool made = kind == "mp2" ? RunProgram("twolame", {"--quiet", "-b", "192", wav, first})
                                    : RunProgram("lame", {"--quiet", "-b", "128", "-t", wav, first});
    if (!made)
        return {};
    files << first;
    for (int i = 2; i <= count; ++i) {
        const QString name = folder + QStringLiteral("/%1-%2.%1").arg(kind).arg(i);
        if (!QFile::copy(first, name))
            return {};
        files << name;
    }
    return files;
}

class Editor {
public:
    Editor() {
        test::ResetProgramObjects(); // a fresh program state for each run
        store = new MemorySettingsStore;
        // The graph view, where the boxes and their time labels show.
        store->values = {{"WindowState", "0"}, {"Width", "15000"}, {"Height", "9000"}, {"AdvView", "0"}};
        SetSettingsStore(std::unique_ptr<SettingsStore>(store));
        Catalog().load(QStringLiteral(KELBRIN_SOURCE_DIR) + "/resources/Kelbrin.ini");
        Catalog().setLanguage("ENGLISH");
        Program().outputs.UseDefaultRenderer = false;
        window = new frmDazudizi(Program());
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->PokazMnie();
        QCoreApplication::processEvents();
    }
    ~Editor() {
        delete window;
        SetSettingsStore(nullptr);
    }
    // A chain: every track follows the one before, `overtake` seconds
    // against its end; each plays `seconds` of its file, whose length the
    // frame index gave as `seconds`.
    void load(const QStringList& files, double seconds, float overtake, const QString& device) {
        for (int i = 0; i < files.size(); ++i) {
            auto t = std::make_shared<cPozycjaMP3>();
            t->lngNrPozycji = i + 1;
            t->lngTrack = i;
            t->lngLeft = 1500 * (i % 8 + 1);
            t->lngTop = 1500 * (i / 8 + 1);
            t->strLabel = QStringLiteral("T%1").arg(i + 1);
            t->strFileNameSource = files[i];
            t->strDevice = device;
            t->dblDuration = seconds;
            const int ms = static_cast<int>(seconds * 1000 + 0.5);
            t->lngKoniec_M = ms / 60000;
            t->lngKoniec_S = ms / 1000 % 60;
            t->lngKoniec_SS = ms % 1000;
            t->sngOvertake = i == 0 ? 0 : overtake;
            window->cPozycje()->Add(t);
        }
        Program().session.NextTrackNo = files.size() + 1;
        RebuildAllSuccessors(*window->cPozycje());
        window->DrawTrackGraph(true);
    }
    QPushButton* button(const char* name) { return window->fraTools()->findChild<QPushButton*>(name); }
    SequencePlayer& player() { return window->Player().player(); }
    bool idle() { return !player().isRunning() && !player().timerEnabled(); }

    MemorySettingsStore* store = nullptr;
    frmDazudizi* window = nullptr;
};

// Seconds from the Play click to the first track's position moving, or -1.
double FirstSound(Editor& editor) {
    const auto first = editor.window->cPozycje()->Item(1);
    QElapsedTimer clock;
    clock.start();
    editor.button("cmdPlay")->click();
    constexpr double kMoved = 0.02;
    if (!Spin([&] { return first->MediaPosition && first->blnPlayed && first->MediaPosition->currentPosition() >= kMoved; },
              90000)) {
        std::fprintf(stderr, "no sound: running %d timer %d graph %d played %d position %.3f\n",
                     editor.player().isRunning(), editor.player().timerEnabled(), bool(first->MediaPosition),
                     first->blnPlayed, first->MediaPosition ? first->MediaPosition->currentPosition() : -1.0);
        return -1;
    }
    const double seconds = clock.nsecsElapsed() / 1e9 - kMoved;
    editor.button("cmdStop")->click();
    Spin([&] { return editor.idle(); }, 20000);
    return seconds;
}

// Where the tracks play: the output's name for the tracks, the sink the
// reference pipeline ends in, and the words the figures are printed with.
struct Output {
    QString device;
    QStringList referenceSink;
    const char* label;
};

bool FirstSoundPart(const QString& folder, const Output& output) {
    bool met = true;
    for (const char* kind : {"mp2", "mp3"}) {
        const QStringList files = MakeFiles(folder, kind, 30, 3.0);
        if (files.isEmpty())
            return false;
        Editor editor;
        editor.load(files, 3.0, 0, output.device);
        std::printf("%s: 30 %s tracks%s, Play to first sound:", output.label, kind,
                    QString(kind) == "mp3" ? " (no Info frame)" : "");
        for (int run = 0; run < 3; ++run) {
            const double s = FirstSound(editor);
            std::printf("  %.3f s", s);
            met = met && s >= 0 && s <= kFirstSoundTarget;
        }
        std::printf("   (target <= %.1f s)\n", kFirstSoundTarget);
        std::fflush(stdout);
    }
    return met;
}

bool CpuPart(const QString& folder, double playSeconds, const Output& output) {
    constexpr double kOverlap = 0.5;
    const double each = (playSeconds + 3 * kOverlap) / 4;
    QStringList files;
    for (int i = 1; i <= 4; ++i) {
        const QString wav = folder + QStringLiteral("/chain-%1.wav").arg(i);
        const QString mp3 = folder + QStringLiteral("/chain-%1.mp3").arg(i);
        if (!MakeTone(wav, each, 220 * i) || !RunProgram("lame", {"--quiet", "-b", "128", wav, mp3}))
            return false;
        files << mp3;
    }
    // The same files one after another through the same elements.
    QStringList pipeline{"-q", "concat", "name=c", "!", "audioconvert", "!", "audiopanorama", "method=simple",
                         "!", "volume", "!", "audioconvert", "!", "audioresample", "!"};
    pipeline << output.referenceSink;
    for (const QString& file : files)
        pipeline << "filesrc" << ("location=" + file) << "!" << "mpegaudioparse" << "!" << "mpg123audiodec" << "!" << "c.";
    // The machine is shared: five rounds of both, in turn, medians compared.
    std::vector<double> editorCpu, windowCpu, gstCpu;
    for (int round = 0; round < kCpuRounds; ++round) {
        Editor editor;
        editor.load(files, each, static_cast<float>(-kOverlap), output.device);
        Program().settings.OverTakeSeconds = 0;
        const double cpu = CpuSeconds(RUSAGE_SELF);
        const double windowThread = CpuSeconds(RUSAGE_THREAD);
        editor.button("cmdPlay")->click();
        Spin([&] { return !editor.idle(); }, 5000);
        if (!Spin([&] { return editor.idle(); }, int(playSeconds * 1000) + 20000, 200))
            return false;
        editorCpu.push_back(CpuSeconds(RUSAGE_SELF) - cpu);
        windowCpu.push_back(CpuSeconds(RUSAGE_THREAD) - windowThread);

        const double childCpu = CpuSeconds(RUSAGE_CHILDREN);
        if (!RunProgram("gst-launch-1.0", pipeline)) {
            std::printf("%s: four-track chain: gst-launch-1.0 did not run\n", output.label);
            return false;
        }
        gstCpu.push_back(CpuSeconds(RUSAGE_CHILDREN) - childCpu);
    }
    auto print = [](const std::vector<double>& v) {
        for (double x : v)
            std::printf(" %.3f", x);
    };
    const double ratio = Median(editorCpu) / std::max(Median(gstCpu), 1e-3);
    std::printf("%s: four-track chain, %.1f s, CPU seconds: editor", output.label, playSeconds);
    print(editorCpu);
    std::printf(", gst-launch-1.0");
    print(gstCpu);
    std::printf("; medians %.3f / %.3f = %.2fx   (target <= %.1fx)\n", Median(editorCpu), Median(gstCpu), ratio,
                kCpuTarget);
    std::printf("%s: four-track chain, the editor's window thread:", output.label);
    print(windowCpu);
    std::printf("; median %.3f\n", Median(windowCpu));
    return ratio <= kCpuTarget;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("KELBRIN_AUTO_ANSWER", "ok");
    QApplication app(argc, argv);
    const double playSeconds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toDouble() : 20.0;
    QTemporaryDir folder;
    if (!folder.isValid())
        return 1;
    const QString only = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    const double seconds = playSeconds > 0 ? playSeconds : 20.0;
    int outputs = 0;
    const auto both = [&](const Output& output) {
        // Files of their own for each output: the parts make them afresh.
        const QString files = folder.path() + QStringLiteral("/%1").arg(++outputs);
        QDir().mkpath(files);
        const bool first = only == "cpu" || FirstSoundPart(files, output);
        const bool cpu = only == "start" || CpuPart(files, seconds, output);
        return first && cpu;
    };
    bool met = both({kNullOutputName, {"fakesink", "sync=true"}, "null"});
    test::PrivateSoundServer server;
    if (server.running()) {
        // The default output is the server's own sink, as on a desktop.
        const QByteArray label = "sound server (" + server.serverName().toUtf8() + ", null sink)";
        met = both({kDefaultOutputName, {"pulsesink"}, label.constData()}) && met;
    } else {
        std::printf("sound server: not measured, %s\n", qPrintable(server.whyNot()));
    }
    std::printf("%s\n", met ? "targets met" : "targets missed");
    return 0;
}

// What the encoder server's handshake costs while a recording runs: the loop
// looks at the shared settings store when the file changed and once a second
// besides, so an idle poll (nothing new from the editor) is paid for each
// change the server itself or a touch caused, and a poll after the editor
// wrote once per write. (A store without change notices polls every 20 ms.)
//
//   bench_recording_handshake
//
// Runs in a temporary XDG_CONFIG_HOME with a settings file of a size a real
// one reaches. Target: an idle poll well under 1% of one core at 20 ms.

#include "core/recording/RecordingHandshake.h"
#include "platform/settings/QtSettingsStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

using namespace kelbrin;

namespace {

constexpr int kPolls = 2000;
constexpr double kPollMs = 20.0;

double MicrosecondsPerPoll(ServerHandshake& server, const std::function<void()>& between) {
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < kPolls; ++i) {
        if (between)
            between();
        server.poll();
    }
    return double(timer.nsecsElapsed()) / 1000.0 / kPolls;
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Pelorin"));
    QCoreApplication::setApplicationName(QStringLiteral("Kelbrin"));

    QtSettingsStore editorStore;
    QtSettingsStore serverStore;
    for (int i = 0; i < 300; ++i) // the editor's other settings
        editorStore.write(QStringLiteral("Setting%1").arg(i), QStringLiteral("value number %1").arg(i));
    editorStore.sync();

    CaptureHandshake editor(editorStore);
    editor.reset();
    ServerHandshake server(serverStore);
    server.begin();

    const double idle = MicrosecondsPerPoll(server, nullptr);
    int tick = 0;
    const double afterWrite = MicrosecondsPerPoll(server, [&] {
        editorStore.write(QStringLiteral("RecTime"), QString::number(++tick));
        editorStore.sync();
    });
    std::printf("idle handshake poll: %.1f us (%.3f%% of a core at one poll per %.0f ms)\n", idle,
                idle / (kPollMs * 10.0), kPollMs);
    std::printf("poll after the editor wrote: %.1f us (editor's write and sync included)\n", afterWrite);
    return 0;
}

#pragma once
// A PulseAudio server of the test's own, with one null sink, in a private
// runtime folder and on a private session bus, so a test hears what a
// desktop's sound server makes of the player without touching the user's.
// While it runs, this process's sound clients reach it (PULSE_SERVER).
//
// The server is the real one a Debian desktop runs, PulseAudio. To check
// another by hand (PipeWire's PulseAudio service, say), start it with a null
// sink named kelbrin_test as its default sink and set
// KELBRIN_TEST_PULSE_SERVER to its address: that server is used instead.

#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace kelbrin::test {

class PrivateSoundServer {
public:
    // Starts the bus and the server; on failure running() is false and
    // whyNot() says why (a missing program is a reason to skip, not a fault).
    PrivateSoundServer();
    ~PrivateSoundServer();
    PrivateSoundServer(const PrivateSoundServer&) = delete;
    PrivateSoundServer& operator=(const PrivateSoundServer&) = delete;

    bool running() const { return m_running; }
    QString whyNot() const { return m_why; }
    // The null sink, and the source that hears what it plays.
    static QString sinkName() { return QStringLiteral("kelbrin_test"); }
    static QString monitorName() { return sinkName() + QStringLiteral(".monitor"); }
    // "pulseaudio 16.1", say: what answered.
    QString serverName() const { return m_serverName; }

private:
    bool start();
    bool startBus();
    bool startServer();

    QTemporaryDir m_dir;
    QProcess m_bus;
    QProcess m_server;
    QByteArray m_previousServer;
    QByteArray m_previousClientConfig;
    bool m_running = false;
    QString m_why;
    QString m_serverName;
};

} // namespace kelbrin::test

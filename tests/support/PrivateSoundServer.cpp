#include "PrivateSoundServer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

#include <signal.h>
#include <sys/prctl.h>

namespace kelbrin::test {

namespace {
constexpr int kStartMs = 10000;

QProcessEnvironment PrivateEnvironment(const QString& root, const QString& bus) {
    QProcessEnvironment env;
    // Only what the programs need: nothing of the caller's desktop (its
    // runtime folder, bus or sound server) reaches them.
    env.insert(QStringLiteral("PATH"), qEnvironmentVariable("PATH", QStringLiteral("/usr/bin:/bin")));
    env.insert(QStringLiteral("HOME"), root);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), root + QStringLiteral("/run"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), root + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_STATE_HOME"), root + QStringLiteral("/state"));
    env.insert(QStringLiteral("PULSE_RUNTIME_PATH"), root + QStringLiteral("/run/pulse"));
    env.insert(QStringLiteral("PULSE_STATE_PATH"), root + QStringLiteral("/state/pulse"));
    env.insert(QStringLiteral("LANG"), QStringLiteral("C"));
    if (!bus.isEmpty())
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus);
    return env;
}
// A test that dies leaves no server or bus behind it.
void DieWithTheTest(QProcess& process) {
    process.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
}
} // namespace

PrivateSoundServer::PrivateSoundServer() {
    DieWithTheTest(m_bus);
    DieWithTheTest(m_server);
    m_previousServer = qgetenv("PULSE_SERVER");
    m_previousClientConfig = qgetenv("PULSE_CLIENTCONFIG");
    const QString given = qEnvironmentVariable("KELBRIN_TEST_PULSE_SERVER");
    if (!given.isEmpty()) {
        qputenv("PULSE_SERVER", given.toLocal8Bit());
        m_serverName = QStringLiteral("the server at ") + given;
        m_running = true;
        return;
    }
    m_running = start();
    if (!m_running) {
        m_server.kill();
        m_server.waitForFinished(3000);
        m_bus.kill();
        m_bus.waitForFinished(3000);
    }
}

PrivateSoundServer::~PrivateSoundServer() {
    if (m_server.state() != QProcess::NotRunning) {
        m_server.terminate();
        if (!m_server.waitForFinished(5000)) {
            m_server.kill();
            m_server.waitForFinished(3000);
        }
    }
    if (m_bus.state() != QProcess::NotRunning) {
        m_bus.terminate();
        if (!m_bus.waitForFinished(3000)) {
            m_bus.kill();
            m_bus.waitForFinished(3000);
        }
    }
    const auto restore = [](const char* name, const QByteArray& value) {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    };
    restore("PULSE_SERVER", m_previousServer);
    restore("PULSE_CLIENTCONFIG", m_previousClientConfig);
}

bool PrivateSoundServer::start() {
    if (!m_dir.isValid()) {
        m_why = QStringLiteral("no temporary folder");
        return false;
    }
    const QString root = m_dir.path();
    for (const char* sub : {"run", "run/pulse", "config", "state"})
        QDir().mkpath(root + QLatin1Char('/') + QLatin1String(sub));
    QFile::setPermissions(root + QStringLiteral("/run"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return startBus() && startServer();
}

bool PrivateSoundServer::startBus() {
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (daemon.isEmpty()) {
        m_why = QStringLiteral("dbus-daemon is not installed");
        return false;
    }
    const QString address = QStringLiteral("unix:path=") + m_dir.path() + QStringLiteral("/run/bus");
    m_bus.setProcessEnvironment(PrivateEnvironment(m_dir.path(), QString()));
    m_bus.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_bus.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
                         QStringLiteral("--address=") + address, QStringLiteral("--print-address")});
    if (!m_bus.waitForStarted(kStartMs) || !m_bus.waitForReadyRead(kStartMs)) {
        m_why = QStringLiteral("the private session bus did not start");
        return false;
    }
    m_bus.readAll();
    return true;
}

bool PrivateSoundServer::startServer() {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
    if (program.isEmpty()) {
        m_why = QStringLiteral("no sound server is installed (pulseaudio)");
        return false;
    }
    const QString root = m_dir.path();
    const QString socket = root + QStringLiteral("/run/native");
    m_server.setProcessEnvironment(PrivateEnvironment(root, QStringLiteral("unix:path=") + root + QStringLiteral("/run/bus")));
    m_server.setProcessChannelMode(QProcess::MergedChannels);
    m_server.setStandardOutputFile(root + QStringLiteral("/server.log"));
    // No start-up script: only the modules named here, so nothing reaches for
    // a sound card, the user's settings or the system's services.
    m_server.start(program, {QStringLiteral("-n"), QStringLiteral("--daemonize=no"),
                             QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--use-pid-file=no"),
                             QStringLiteral("--realtime=no"), QStringLiteral("--high-priority=no"),
                             QStringLiteral("--log-target=stderr"),
                             QStringLiteral("-L"),
                             QStringLiteral("module-native-protocol-unix auth-anonymous=1 socket=") + socket,
                             QStringLiteral("-L"),
                             QStringLiteral("module-null-sink sink_name=") + sinkName() +
                                 QStringLiteral(" rate=44100 channels=2")});
    if (!m_server.waitForStarted(kStartMs)) {
        m_why = QStringLiteral("pulseaudio did not start: ") + m_server.errorString();
        return false;
    }
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        if (m_server.state() == QProcess::NotRunning) {
            QFile log(root + QStringLiteral("/server.log"));
            log.open(QIODevice::ReadOnly);
            m_why = QStringLiteral("pulseaudio stopped at its start: ") + QString::fromLocal8Bit(log.readAll()).right(600);
            return false;
        }
        if (QFileInfo::exists(socket)) {
            QLocalSocket probe;
            probe.connectToServer(socket);
            if (probe.waitForConnected(500))
                break;
        }
        if (waited.elapsed() > kStartMs) {
            m_why = QStringLiteral("pulseaudio did not open its socket");
            return false;
        }
        QThread::msleep(20);
    }
    // The clients of this process: this server and nothing else, never one
    // they would start themselves.
    const QString clientConfig = root + QStringLiteral("/client.conf");
    QFile conf(clientConfig);
    if (conf.open(QIODevice::WriteOnly))
        conf.write("autospawn = no\n");
    conf.close();
    qputenv("PULSE_CLIENTCONFIG", QFile::encodeName(clientConfig));
    qputenv("PULSE_SERVER", QByteArray("unix:") + QFile::encodeName(socket));
    QProcess version;
    version.start(program, {QStringLiteral("--version")});
    version.waitForFinished(5000);
    m_serverName = QString::fromLocal8Bit(version.readAllStandardOutput()).trimmed();
    return true;
}

} // namespace kelbrin::test

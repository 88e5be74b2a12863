// capturon: the encoder server. Started by the session bus when the editor
// asks for clsStreamMP3; "/RegServer" writes the bus's activation file for this
// program and ends.
#include "ServerLanguage.h"
#include "ServiceRegistration.h"
#include "StreamServer.h"
#include "StreamServerAdaptor.h"
#include "speech/SpeechMarkerDetector.h"

#include "core/app/MessageService.h"
#include "gui/app/QtMessageService.h"
#include "platform/media/Clock.h"
#include "platform/shell/ComponentActivation.h"
#include "platform/shell/DisplayPlatform.h"
#include "platform/shell/TerminationSignals.h"

#include <QApplication>
#include <QDBusConnection>
#include <QTimer>
#include <cstdio>
#include <memory>

using namespace kelbrin;

int main(int argc, char** argv) {
    // The bus may start the server where no display is reachable (none named,
    // or one named that does not answer); it then works without windows and
    // answers its message boxes with their default buttons.
    const bool windows = DisplayReachable();
    std::unique_ptr<QCoreApplication> application;
    if (windows) {
        application = std::make_unique<QApplication>(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication& app = *application;
    QCoreApplication::setOrganizationName(QStringLiteral("Pelorin"));
    QCoreApplication::setApplicationName(QStringLiteral("Kelbrin"));

    const QStringList args = QCoreApplication::arguments().mid(1);
    for (const QString& arg : args) {
        const QString word = arg.mid(1).toLower();
        if ((arg.startsWith(QLatin1Char('/')) || arg.startsWith(QLatin1Char('-'))) && word == QLatin1String("regserver")) {
            QString error;
            if (WriteActivationFile(QCoreApplication::applicationFilePath(), &error))
                return 0;
            std::fprintf(stderr, "capturon: %s: %s\n", qPrintable(ActivationFilePath()), qPrintable(error));
            return 1;
        }
    }

    if (windows)
        SetMessageService(std::make_unique<QtMessageService>());
    LoadServerLanguage();
    // Speech-marker mode shows the detector's window when there are windows.
    InstallSpeechMarkerDetector(windows);

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        std::fprintf(stderr, "capturon: no session bus\n");
        return 1;
    }
    StreamServer server(ProgramClock());
    const int idleMs = qEnvironmentVariableIsSet("KELBRIN_SERVER_IDLE_MS")
                           ? qEnvironmentVariableIntValue("KELBRIN_SERVER_IDLE_MS")
                           : 15000;
    StreamServerAdaptor adaptor(server, idleMs);
    QObject::connect(&adaptor, &StreamServerAdaptor::released, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    // Without its bus no client can reach the server or release it.
    QTimer busWatch;
    QObject::connect(&busWatch, &QTimer::timeout, &app, [&server] {
        if (!QDBusConnection::sessionBus().isConnected()) {
            server.shutdown();
            QCoreApplication::quit();
        }
    });
    busWatch.start(1000);
    // A session that ends (or anyone) asking the server to end: the files it
    // writes are finished first, as when its editor goes away.
    TerminationSignals endRequests([&server](int) {
        server.shutdown(servertext::kServerAskedToEnd);
        QCoreApplication::quit();
    });
    const QString className = QStringLiteral("clsStreamMP3");
    if (!bus.registerObject(DBusClassNames::path(className), &adaptor, QDBusConnection::ExportAllSlots) ||
        !bus.registerService(DBusClassNames::service())) {
        std::fprintf(stderr, "capturon: %s is already served\n", qPrintable(DBusClassNames::service()));
        return 1;
    }
    const int result = app.exec();
    server.shutdown();
    bus.unregisterService(DBusClassNames::service());
    return result;
}

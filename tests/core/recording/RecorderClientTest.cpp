// The editor creates the encoder server's class over the session bus. A stand-in
// object registered under the server's names shows that creation and calls
// cross the bus; without the server, creation fails and start-up goes on.
#include "core/recording/RecorderClient.h"
#include "platform/shell/ComponentActivation.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QObject>
#include <QProcess>
#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

// A private session bus for this test program, so no test touches the user's.
class PrivateBus : public ::testing::Environment {
public:
    void SetUp() override {
        daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        if (daemon.waitForStarted(5000) && daemon.waitForReadyRead(5000))
            qputenv("DBUS_SESSION_BUS_ADDRESS", daemon.readLine().trimmed());
    }
    void TearDown() override {
        daemon.kill();
        daemon.waitForFinished(5000);
    }
    QProcess daemon;
};
const auto* const kBus = ::testing::AddGlobalTestEnvironment(new PrivateBus);

class StandInServer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.pelorin.Capturon.clsStreamMP3")
public:
    QString seen;
public slots:
    bool INIT(const QString& format, const QString& buffer) {
        seen = format + "|" + buffer;
        return true;
    }
    int DajStan() { return 3; }
    QStringList strFileRec() { return {"R1.mp3", "R2.mp3"}; }
};

} // namespace

TEST(RecorderClient, CreationFailsWithoutTheServer) {
    DBusComponentActivator activator;
    EXPECT_EQ(activator.create(RecorderClassName()), nullptr);
}

TEST(RecorderClient, CallsCrossTheSessionBus) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    ASSERT_TRUE(bus.isConnected());
    StandInServer server;
    ASSERT_TRUE(bus.registerObject(DBusClassNames::path(RecorderClassName()), &server,
                                   QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(bus.registerService(DBusClassNames::service()));

    DBusComponentActivator activator;
    auto object = activator.create(RecorderClassName());
    ASSERT_NE(object, nullptr);
    RecorderClient client(std::move(object));
    EXPECT_TRUE(client.INIT("/cfg/formatex.ini", "/tmp/Bufor-1.tmp"));
    EXPECT_EQ(server.seen, "/cfg/formatex.ini|/tmp/Bufor-1.tmp");
    EXPECT_EQ(client.DajStan(), 3);
    EXPECT_EQ(client.strFileRec(), QStringList({"R1.mp3", "R2.mp3"}));
    EXPECT_EQ(client.DajStanPliku(), 0); // a method the object lacks reads as 0

    bus.unregisterService(DBusClassNames::service());
    bus.unregisterObject(DBusClassNames::path(RecorderClassName()));
}

#include "RecorderClientTest.moc"

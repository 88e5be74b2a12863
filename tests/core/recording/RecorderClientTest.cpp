// The editor creates the encoder server's class over the session bus. A stand-in
// object registered under the server's names shows that creation and calls
// cross the bus; without the server, creation fails and start-up goes on.
#include "support/RecorderClientAnswers.h"
#include "core/recording/RecorderClient.h"
#include "platform/shell/ComponentActivation.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDeadlineTimer>
#include <QDBusConnectionInterface>
#include <QObject>
#include <QProcess>
#include <gtest/gtest.h>
#include <optional>

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


using test::Answered;
using test::Opened;

// A server whose state answers come when the test delivers them, as they
// come through the event loop on the bus; the calls that wait are answered.
class LaterObject final : public RemoteObject {
public:
    struct Query {
        QString method;
        Answer answer;
    };
    std::shared_ptr<QList<Query>> queries = std::make_shared<QList<Query>>();
    std::shared_ptr<QStringList> waited = std::make_shared<QStringList>();

    QVariant call(const QString& method, const QVariantList&, bool* ok) override {
        *waited << method;
        if (ok)
            *ok = true;
        return true;
    }
    void callAsync(const QString& method, const QVariantList&, int, Answer answer) override {
        queries->append({method, std::move(answer)});
    }
};

} // namespace

TEST(RecorderClient, StateQueriesReadTheLastAnswerOfThisRecordingAndNeverWait) {
    auto object = std::make_unique<LaterObject>();
    const auto queries = object->queries;
    const auto waited = object->waited;
    auto client = std::make_unique<RecorderClient>(std::move(object));
    bool ok = true;
    EXPECT_EQ(client->DajStan(&ok), 0);
    EXPECT_FALSE(ok) << "no answer yet";
    EXPECT_FALSE(client->holdsNoRecording()) << "a server not heard from yet still holds its recording";
    EXPECT_EQ(queries->size(), 1) << "one query on its way at a time";

    // The answer to a query sent before the recording opened tells of the
    // server before it: it is a sign of life, but not the new recording's state.
    bool opened = false;
    client->INIT("formatex.ini", "Bufor-1.tmp", [&opened](bool answer) { opened = answer; });
    client->DajStan(&ok);
    ASSERT_EQ(queries->size(), 3);
    EXPECT_EQ(queries->at(1).method, "INIT");
    queries->at(1).answer(true, true);
    EXPECT_TRUE(opened);
    const qint64 answers = client->answers();
    queries->at(0).answer(true, -1);
    EXPECT_EQ(client->answers(), answers + 1);
    EXPECT_EQ(client->DajStan(&ok), 0);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(client->holdsNoRecording());
    queries->at(2).answer(true, 1);
    EXPECT_EQ(client->DajStan(&ok), 1);
    EXPECT_TRUE(ok);

    // A query that times out leaves the server not answering: the calls
    // that would wait for it are not made.
    ASSERT_EQ(queries->size(), 4);
    queries->at(3).answer(false, {});
    EXPECT_FALSE(client->answering());
    EXPECT_TRUE(client->strFileRec().isEmpty());
    EXPECT_TRUE(waited->isEmpty());

    // An answer that comes after the client has gone finds nobody.
    client->DajStanPliku();
    client.reset();
    queries->last().answer(true, 5);
}

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
    EXPECT_TRUE(Opened(client, "/cfg/formatex.ini", "/tmp/Bufor-1.tmp"));
    EXPECT_EQ(server.seen, "/cfg/formatex.ini|/tmp/Bufor-1.tmp");
    EXPECT_EQ(Answered(client, &RecorderClient::DajStan), 3);
    EXPECT_EQ(client.strFileRec(), QStringList({"R1.mp3", "R2.mp3"}));
    EXPECT_EQ(Answered(client, &RecorderClient::DajStanPliku), 0); // a method the object lacks reads as 0

    bus.unregisterService(DBusClassNames::service());
    bus.unregisterObject(DBusClassNames::path(RecorderClassName()));
}

#include "RecorderClientTest.moc"

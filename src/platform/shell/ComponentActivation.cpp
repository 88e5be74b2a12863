#include "ComponentActivation.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QEventLoop>
#include <QTimer>
#include <QObject>
#include <algorithm>

namespace kelbrin {

QString DBusClassNames::service() { return QStringLiteral("org.pelorin.Capturon"); }
QString DBusClassNames::path(const QString& className) { return QLatin1Char('/') + className; }
QString DBusClassNames::interface(const QString& className) {
    return service() + QLatin1Char('.') + className;
}

namespace {

// The bus itself answers at once; only a bus that is gone lets this pass.
constexpr int kBusAnswerMs = 1000;
// The bus answers a start when the started server holds its name: a process
// start and the server's own set-up. Made once per run, before anything is
// captured, and only when no server runs yet.
constexpr int kServerStartMs = 5000;

QDBusMessage BusCall(const QString& method, const QVariantList& args) {
    QDBusMessage message = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), method);
    message.setArguments(args);
    return message;
}

bool Answered(const QDBusMessage& reply) { return reply.type() == QDBusMessage::ReplyMessage; }

bool ServiceOwned(QDBusConnection& bus, int timeoutMs) {
    const QDBusMessage reply =
        bus.call(BusCall(QStringLiteral("NameHasOwner"), {DBusClassNames::service()}), QDBus::Block, timeoutMs);
    return Answered(reply) && reply.arguments().value(0).toBool();
}

// Calls go out as plain messages to the class's names: an interface object
// would first ask the server to describe itself, and wait for it.
class DBusRemoteObject final : public RemoteObject {
public:
    explicit DBusRemoteObject(const QString& className)
        : m_path(DBusClassNames::path(className)), m_interface(DBusClassNames::interface(className)) {}

    // Releasing the object ends the server (it finishes its files first);
    // the editor does not wait for it. Answers still on their way go with
    // their watchers, unheard.
    ~DBusRemoteObject() override {
        QDBusMessage release = message(QStringLiteral("Release"), {});
        release.setAutoStartService(false); // a server already gone is not started to be released
        bus().send(release);
    }

    QVariant call(const QString& method, const QVariantList& args, bool* ok) override {
        const QDBusMessage reply = bus().call(message(method, args), QDBus::Block, m_timeoutMs);
        const bool good = Answered(reply);
        if (ok)
            *ok = good;
        if (!good || reply.arguments().isEmpty())
            return {};
        return reply.arguments().first();
    }

    void callAsync(const QString& method, const QVariantList& args, int timeoutMs, Answer answer) override {
        auto* watcher = new QDBusPendingCallWatcher(bus().asyncCall(message(method, args), timeoutMs), &m_pending);
        QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                         [answer = std::move(answer)](QDBusPendingCallWatcher* done) {
                             done->deleteLater(); // not inside its own signal
                             const QDBusMessage reply = done->reply();
                             const bool good = Answered(reply);
                             answer(good, good ? reply.arguments().value(0) : QVariant());
                         });
    }

    void send(const QString& method, const QVariantList& args) override { bus().send(message(method, args)); }

    void setCallTimeout(int ms) override { m_timeoutMs = ms; }

    bool busLost() override { return !bus().isConnected(); }

    bool alive() override {
        QDBusConnection connection = bus();
        return ServiceOwned(connection, std::min(m_timeoutMs, kBusAnswerMs));
    }

private:
    static QDBusConnection bus() { return QDBusConnection::sessionBus(); }
    QDBusMessage message(const QString& method, const QVariantList& args) const {
        QDBusMessage call = QDBusMessage::createMethodCall(DBusClassNames::service(), m_path, m_interface, method);
        call.setArguments(args);
        return call;
    }

    QString m_path;
    QString m_interface;
    int m_timeoutMs = kBusAnswerMs;
    QObject m_pending; // the watchers of the answers still awaited
};

} // namespace

bool DBusComponentActivator::awaitEarlierServer(int ms) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !ServiceOwned(bus, kBusAnswerMs))
        return true;
    QEventLoop wait;
    QDBusServiceWatcher watcher(DBusClassNames::service(), bus, QDBusServiceWatcher::WatchForUnregistration);
    QObject::connect(&watcher, &QDBusServiceWatcher::serviceUnregistered, &wait, &QEventLoop::quit);
    QTimer::singleShot(ms, &wait, &QEventLoop::quit);
    // The bus has the watch before it answers this: a name that went
    // meanwhile is seen here, one that goes later by the watch.
    if (ServiceOwned(bus, kBusAnswerMs))
        wait.exec();
    return !ServiceOwned(bus, kBusAnswerMs);
}

std::unique_ptr<RemoteObject> DBusComponentActivator::create(const QString& className) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return nullptr;
    if (!ServiceOwned(bus, kBusAnswerMs)) {
        const QDBusMessage started = bus.call(
            BusCall(QStringLiteral("StartServiceByName"), {DBusClassNames::service(), 0u}), QDBus::Block,
            kServerStartMs);
        if (!Answered(started))
            return nullptr;
    }
    return std::make_unique<DBusRemoteObject>(className);
}

} // namespace kelbrin
